#pragma once
// What an asynchronous connection tells its delegate, on the main run loop. Every operation is
// optional.
class NSData;
class NSError;
class NSHTTPURLResponse;
class NSURLConnection;
class NSURLRequest;

class NSURLConnectionDelegate {
public:
    virtual ~NSURLConnectionDelegate() = default;
    // Before the first request is sent (redirectResponse nullptr) and before every redirect is
    // followed (the 3xx answer). Returns the request to send: the one given, another, or
    // nullptr to stop there (the redirect answer then becomes the connection's response).
    virtual NSURLRequest* connectionWillSendRequestRedirectResponse(NSURLConnection* connection, NSURLRequest* request,
                                                                    NSHTTPURLResponse* redirectResponse) {
        (void)connection, (void)redirectResponse;
        return request;
    }
    virtual void connectionDidReceiveResponse(NSURLConnection* connection, NSHTTPURLResponse* response) {
        (void)connection, (void)response;
    }
    virtual void connectionDidReceiveData(NSURLConnection* connection, NSData* data) { (void)connection, (void)data; }
    virtual void connectionDidFinishLoading(NSURLConnection* connection) { (void)connection; }
    virtual void connectionDidFailWithError(NSURLConnection* connection, NSError* error) {
        (void)connection, (void)error;
    }
};
