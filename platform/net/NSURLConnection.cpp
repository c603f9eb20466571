#include "NSURLConnection.h"

#include <utility>

#include "CCAssert.h"
#include "CCBackgroundTransfer.h"
#include "NSData.h"
#include "NSError.h"
#include "NSHTTPURLResponse.h"
#include "NSRunLoop.h"

NSError* NSURLConnection::errorForTransfer(const CCHTTPTransfer::Result& result) {
    std::string text = result.errorDescription.empty() ? CCHTTPTransfer::describe(result.error) : result.errorDescription;
    return NSError::errorWithDomain(NSURLErrorDomain, result.error, text);
}

NSHTTPURLResponse* NSURLConnection::responseForTransfer(const CCHTTPTransfer::Result& result) {
    return NSHTTPURLResponse::responseWithURL(NSURL::URLWithString(result.url), result.statusCode, result.headers);
}

NSData* NSURLConnection::sendSynchronousRequest(NSURLRequest* request, NSHTTPURLResponse** response, NSError** error) {
    if (response) *response = nullptr;
    if (error) *error = nullptr;
    if (!request) {
        if (error) *error = NSError::errorWithDomain(NSURLErrorDomain, CCHTTPTransfer::kBadURL, "bad URL (no request)");
        return nullptr;
    }
    CCHTTPTransfer::Result result = CCHTTPTransfer::performFollowingRedirects(request->transferRequest());
    if (response && result.statusCode > 0) *response = responseForTransfer(result);
    if (!result.ok()) {
        if (error) *error = errorForTransfer(result);
        return nullptr;
    }
    return NSData::dataWithVector(std::move(result.body));
}

NSURLConnection* NSURLConnection::connectionWithRequest(NSURLRequest* request, NSURLConnectionDelegate* delegate) {
    return ccCreate<NSURLConnection>([&](NSURLConnection* c) { return c->initWithRequest(request, delegate); });
}

bool NSURLConnection::initWithRequest(NSURLRequest* request, NSURLConnectionDelegate* delegate) {
    CCAssert(NSRunLoop::isMainThread(), "NSURLConnection: asynchronous connections are made on the main thread");
    if (!request) return false;
    delegate_ = delegate;
    originalRequest_ = request;
    loading_ = true;
    keepAlive_ = this;
    // The delegate first hears of the request at the next pass, as with every later step.
    CCPtr<NSURLConnection> self(this);
    uint64_t hop = hop_;
    NSRunLoop::mainRunLoop()->performAfterDelay(0, [self, hop] {
        if (self->loading_ && self->hop_ == hop) self->sendRequest(self->originalRequest_, nullptr);
    });
    return true;
}

void NSURLConnection::cancel() {
    ++hop_;
    stop();
}

void NSURLConnection::stop() {
    loading_ = false;
    keepAlive_ = nullptr; // may be the last reference: callers hold their own
}

void NSURLConnection::sendRequest(NSURLRequest* request, NSHTTPURLResponse* redirectResponse) {
    CCPtr<NSURLConnection> guard(this);
    CCPtr<NSURLRequest> asked(request);
    NSURLRequest* next = delegate_ ? delegate_->connectionWillSendRequestRedirectResponse(this, request, redirectResponse)
                                   : request;
    if (!loading_) return; // cancelled from the delegate
    if (!next) {
        if (redirectResponse) {
            // Not followed: the redirect answer is the response.
            if (delegate_) delegate_->connectionDidReceiveResponse(this, redirectResponse);
            stop();
            if (delegate_) delegate_->connectionDidFinishLoading(this);
        } else {
            fail(NSError::errorWithDomain(NSURLErrorDomain, CCHTTPTransfer::kCancelled, "cancelled"));
        }
        return;
    }
    currentRequest_ = next;
    uint64_t hop = ++hop_;
    CCHTTPTransfer::Request transfer = next->transferRequest();
    ccBackgroundTransfer(std::move(transfer), [guard, hop](CCHTTPTransfer::Result result) {
        if (guard->loading_ && guard->hop_ == hop) guard->received(std::move(result));
    });
}

void NSURLConnection::received(CCHTTPTransfer::Result result) {
    if (!result.ok()) {
        fail(errorForTransfer(result));
        return;
    }
    if (!result.isRedirect()) {
        finishWithResponse(result);
        return;
    }
    if (++redirects_ > CCHTTPTransfer::kMaxRedirects) {
        fail(NSError::errorWithDomain(NSURLErrorDomain, CCHTTPTransfer::kTooManyRedirects,
                                      CCHTTPTransfer::describe(CCHTTPTransfer::kTooManyRedirects)));
        return;
    }
    NSURLRequest* redirected = nullptr;
    if (NSURL* url = NSURL::URLWithString(result.redirectURL)) {
        redirected = NSURLRequest::requestWithURL(url, currentRequest_->timeoutInterval());
        redirected->setConnectTimeout(currentRequest_->connectTimeout());
        redirected->setMaxBodyBytes(currentRequest_->maxBodyBytes());
    }
    if (!redirected) {
        fail(NSError::errorWithDomain(NSURLErrorDomain, CCHTTPTransfer::kBadServerResponse,
                                      "bad server response (unusable redirect address)"));
        return;
    }
    sendRequest(redirected, responseForTransfer(result));
}

void NSURLConnection::finishWithResponse(const CCHTTPTransfer::Result& result) {
    CCPtr<NSURLConnection> guard(this);
    if (delegate_) delegate_->connectionDidReceiveResponse(this, responseForTransfer(result));
    if (loading_ && !result.body.empty() && delegate_)
        delegate_->connectionDidReceiveData(this, NSData::dataWithBytes(result.body.data(), result.body.size()));
    if (!loading_) return;
    stop();
    if (delegate_) delegate_->connectionDidFinishLoading(this);
}

void NSURLConnection::fail(NSError* error) {
    CCPtr<NSURLConnection> guard(this);
    CCPtr<NSError> keep(error);
    stop();
    if (delegate_) delegate_->connectionDidFailWithError(this, error);
}
