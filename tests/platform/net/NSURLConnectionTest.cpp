#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCBackgroundWork.h"
#include "NSData.h"
#include "NSError.h"
#include "NSHTTPURLResponse.h"
#include "NSURLConnection.h"
#include "PropertyListURL.h"
#include "support/RunLoopWait.h"
#include "support/TestHTTPServer.h"

namespace {

std::string text(NSData* data) { return data ? std::string(data->bytes(), data->bytes() + data->length()) : "<nil>"; }

NSURLRequest* requestFor(const std::string& url) { return NSURLRequest::requestWithURL(NSURL::URLWithString(url)); }

// A server with the usual answers: a body, a 404, a chain of redirects, a stall and a flood.
class NetTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& s = server.server();
        s.Get("/hello", [](const httplib::Request&, httplib::Response& r) { r.set_content("hello", "text/plain"); });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& r) {
            r.status = 404;
            r.set_content("no such thing", "text/plain");
        });
        s.Get(R"(/hop/(\d+))", [this](const httplib::Request& q, httplib::Response& r) {
            int n = std::stoi(q.matches[1]);
            if (n > 0) r.set_redirect(n == 2 ? "/hop/1" : server.url("/hop/" + std::to_string(n - 1)), 302);
            else r.set_content("landed", "text/plain");
        });
        s.Get("/to-file", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("file:///etc/passwd"); });
        s.Get("/stall", [this](const httplib::Request&, httplib::Response& r) {
            for (int i = 0; i < 300 && !released; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            r.set_content("late", "text/plain");
        });
        s.Get("/huge", [](const httplib::Request&, httplib::Response& r) {
            r.set_content(std::string(NSURLRequest::kDefaultMaxBodyBytes + 1, 'x'), "text/plain");
        });
        s.Get("/plist", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>a</key><string>b</string></dict>"
                          "</plist>",
                          "application/xml");
        });
        s.Get("/array", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("<plist version=\"1.0\"><array><string>b</string></array></plist>", "application/xml");
        });
        ASSERT_GT(server.start(), 0);
    }
    void TearDown() override {
        released = true;
        // Work a test left behind (a cancelled connection's transfer) ends and its thread is
        // joined before the server goes: nothing outlives the test.
        ccCancelBackgroundWork();
        ccWaitForBackgroundWork();
        server.stop();
    }

    CCAutoreleaseScope pool;
    TestHTTPServer server;
    std::atomic<bool> released{false};
};

class Recorder : public NSURLConnectionDelegate {
public:
    NSURLRequest* connectionWillSendRequestRedirectResponse(NSURLConnection*, NSURLRequest* request,
                                                            NSHTTPURLResponse* redirect) override {
        asked.push_back(request->URL()->absoluteString());
        redirectStatus.push_back(redirect ? redirect->statusCode() : 0);
        return stopAtRedirect && redirect ? nullptr : request;
    }
    void connectionDidReceiveResponse(NSURLConnection*, NSHTTPURLResponse* response) override {
        status = response->statusCode();
    }
    void connectionDidReceiveData(NSURLConnection*, NSData* data) override { body += text(data); }
    void connectionDidFinishLoading(NSURLConnection*) override { finished = true; }
    void connectionDidFailWithError(NSURLConnection*, NSError* e) override {
        failed = true;
        errorCode = e->code();
        errorText = e->localizedDescription();
    }
    bool done() const { return finished || failed; }

    std::vector<std::string> asked;
    std::vector<long> redirectStatus;
    long status = 0;
    std::string body, errorText;
    long errorCode = 0;
    bool finished = false, failed = false, stopAtRedirect = false;
};

} // namespace

TEST_F(NetTest, SynchronousRequestGivesBodyAndStatusAndFollowsRedirects) {
    NSHTTPURLResponse* response = nullptr;
    NSError* error = nullptr;
    EXPECT_EQ(text(NSURLConnection::sendSynchronousRequest(requestFor(server.url("/hello")), &response, &error)), "hello");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->statusCode(), 200);
    EXPECT_EQ(response->valueForHTTPHeaderField("content-type"), "text/plain");
    EXPECT_FALSE(error);

    // A 404 is an answer, not an error.
    EXPECT_EQ(text(NSURLConnection::sendSynchronousRequest(requestFor(server.url("/missing")), &response, &error)),
              "no such thing");
    EXPECT_EQ(response->statusCode(), 404);
    EXPECT_FALSE(error);

    EXPECT_EQ(text(NSURLConnection::sendSynchronousRequest(requestFor(server.url("/hop/3")), &response, &error)), "landed");
    EXPECT_EQ(response->URL()->absoluteString(), server.url("/hop/0"));
}

TEST_F(NetTest, SynchronousFailuresAreErrorsWithReadableDescriptions) {
    struct Case {
        std::string url;
        double timeout;
        long code;
        const char* words;
    };
    std::vector<Case> cases = {
        {"http://127.0.0.1:" + std::to_string(ccClosedLocalPort()) + "/x", 5, CCHTTPTransfer::kCannotConnectToHost,
         "Could not connect to the server."},
        {server.url("/stall"), 0.3, CCHTTPTransfer::kTimedOut, "The request timed out."},
        {server.url("/huge"), 10, CCHTTPTransfer::kDataLengthExceedsMaximum, "resource exceeds maximum size"},
        // Only http and https are spoken, even when a server points elsewhere.
        {server.url("/to-file"), 5, CCHTTPTransfer::kUnsupportedURL, "unsupported URL"},
        {"ftp://127.0.0.1/x", 5, CCHTTPTransfer::kUnsupportedURL, "unsupported URL"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.url);
        NSHTTPURLResponse* response = nullptr;
        NSError* error = nullptr;
        auto before = std::chrono::steady_clock::now();
        NSData* body = NSURLConnection::sendSynchronousRequest(NSURLRequest::requestWithURL(NSURL::URLWithString(c.url), c.timeout),
                                                               &response, &error);
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(4));
        EXPECT_FALSE(body);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), c.code);
        EXPECT_EQ(error->domain(), NSURLErrorDomain);
        EXPECT_EQ(error->localizedDescription().rfind(c.words, 0), 0u) << error->localizedDescription();
    }
    EXPECT_FALSE(NSURL::URLWithString(""));
    EXPECT_FALSE(NSURL::URLWithString("http://a b/"));
}

TEST_F(NetTest, ConnectionSeesTheFirstRequestAndEveryRedirectThenFinishes) {
    Recorder r;
    CCPtr<NSURLConnection> c = NSURLConnection::connectionWithRequest(requestFor(server.url("/hop/3")), &r);
    EXPECT_TRUE(r.asked.empty()); // nothing is heard before the run loop turns
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return r.done(); }));
    EXPECT_EQ(r.asked, (std::vector<std::string>{server.url("/hop/3"), server.url("/hop/2"), server.url("/hop/1"),
                                                 server.url("/hop/0")}));
    EXPECT_EQ(r.redirectStatus, (std::vector<long>{0, 302, 302, 302}));
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "landed");
    EXPECT_FALSE(c->isLoading());
    EXPECT_EQ(c->retainCount(), 1u); // no longer keeps itself
}

TEST_F(NetTest, ConnectionFailuresAndRefusedRedirectsAndCancel) {
    Recorder refused;
    NSURLConnection::connectionWithRequest(
        requestFor("http://127.0.0.1:" + std::to_string(ccClosedLocalPort()) + "/"), &refused);
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return refused.done(); }));
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(refused.errorCode, CCHTTPTransfer::kCannotConnectToHost);

    // A delegate that declines the redirect gets the redirect answer as the response.
    Recorder declines;
    declines.stopAtRedirect = true;
    NSURLConnection::connectionWithRequest(requestFor(server.url("/hop/2")), &declines);
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return declines.done(); }));
    EXPECT_TRUE(declines.finished);
    EXPECT_EQ(declines.status, 302);
    EXPECT_EQ(declines.asked.size(), 2u);

    // A cancelled connection says nothing more, even when its answer arrives.
    Recorder cancelled;
    CCPtr<NSURLConnection> c = NSURLConnection::connectionWithRequest(requestFor(server.url("/hello")), &cancelled);
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return !cancelled.asked.empty(); }));
    c->cancel();
    Recorder after;
    NSURLConnection::connectionWithRequest(requestFor(server.url("/hello")), &after);
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return after.done(); }));
    EXPECT_FALSE(cancelled.done());
    EXPECT_EQ(cancelled.status, 0);
}

TEST_F(NetTest, DictionaryFromURL) {
    std::string error;
    PropertyList list = ccDictionaryWithContentsOfURL(server.url("/plist"), &error);
    EXPECT_EQ(list.stringForKey("a"), "b");
    EXPECT_TRUE(error.empty());
    EXPECT_TRUE(ccDictionaryWithContentsOfURL(server.url("/array"), &error).isNil());
    EXPECT_EQ(error, "not a dictionary");
    EXPECT_TRUE(ccDictionaryWithContentsOfURL(server.url("/missing"), &error).isNil());
    EXPECT_EQ(error, "status 404");
    EXPECT_TRUE(ccDictionaryWithContentsOfURL(server.url("/hello"), &error).isNil());
    EXPECT_EQ(error, "not a property list");
}
