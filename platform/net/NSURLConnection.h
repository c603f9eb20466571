#pragma once
// URL loading. A synchronous request blocks the calling thread until the answer (redirects
// followed) is in. An asynchronous connection is made and driven on the main thread: each hop
// of the exchange is fetched on a worker and its answer comes back to the main run loop, where
// the delegate hears of the first request, of every redirect, and then of the response, its
// data and the end (or of the failure). A connection keeps itself alive until it has finished,
// failed or been cancelled; its delegate is not retained.
#include <cstdint>
#include <string>

#include "CCHTTPTransfer.h"
#include "CCObject.h"
#include "CCPtr.h"
#include "NSURLConnectionDelegate.h"
#include "NSURLRequest.h"

class NSData;
class NSError;
class NSHTTPURLResponse;

class NSURLConnection : public CCObject {
public:
    // The body of the last answer (autoreleased, possibly empty), or nullptr on an error. The
    // response (any status) and the error are autoreleased too; either pointer may be nullptr.
    static NSData* sendSynchronousRequest(NSURLRequest* request, NSHTTPURLResponse** response, NSError** error);

    // Autoreleased; starts at once.
    static NSURLConnection* connectionWithRequest(NSURLRequest* request, NSURLConnectionDelegate* delegate);
    // Starts loading (main thread only); false without a request.
    bool initWithRequest(NSURLRequest* request, NSURLConnectionDelegate* delegate);
    // The delegate hears nothing more; a hop on its way is dropped.
    void cancel();

    NSURLRequest* originalRequest() const { return originalRequest_; }
    NSURLRequest* currentRequest() const { return currentRequest_; }
    bool isLoading() const { return loading_; }

    // The error object of a failed transfer (autoreleased).
    static NSError* errorForTransfer(const CCHTTPTransfer::Result& result);
    // The response head of a transfer (autoreleased).
    static NSHTTPURLResponse* responseForTransfer(const CCHTTPTransfer::Result& result);

private:
    void sendRequest(NSURLRequest* request, NSHTTPURLResponse* redirectResponse);
    void received(CCHTTPTransfer::Result result);
    void finishWithResponse(const CCHTTPTransfer::Result& result);
    void fail(NSError* error);
    void stop();

    NSURLConnectionDelegate* delegate_ = nullptr;
    CCPtr<NSURLRequest> originalRequest_;
    CCPtr<NSURLRequest> currentRequest_;
    CCPtr<NSURLConnection> keepAlive_; // set while loading
    bool loading_ = false;
    int redirects_ = 0;
    uint64_t hop_ = 0; // counts hops so that an answer for a cancelled one is ignored
};
