#pragma once
// One HTTP exchange over libcurl with plain values only, so it may run on any thread: no
// redirects are followed (the caller sees each hop), only http and https are spoken, and every
// transfer has a connect time-out, a total time-out and a cap on the body it accepts.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CCHTTPTransfer {
public:
    // Error kinds, with the platform's URL-loading codes.
    enum ErrorCode : int {
        kNoError = 0,
        kCancelled = -999,
        kBadURL = -1000,
        kTimedOut = -1001,
        kUnsupportedURL = -1002,
        kCannotFindHost = -1003,
        kCannotConnectToHost = -1004,
        kConnectionLost = -1005,
        kTooManyRedirects = -1007,
        kBadServerResponse = -1011,
        kDataLengthExceedsMaximum = -1103,
        kUnknown = -1,
    };

    struct Request {
        std::string url;
        std::string method = "GET";
        std::vector<std::pair<std::string, std::string>> headers;
        double connectTimeout = 10.0; // seconds
        double timeout = 30.0;        // seconds, the whole exchange
        std::size_t maxBodyBytes = 8u << 20;
        // Polled while the transfer runs; true aborts it with kCancelled.
        std::function<bool()> isCancelled;
    };

    struct Result {
        int error = kNoError;
        std::string errorDescription; // readable, set with an error
        long statusCode = 0;          // 0 when no response arrived
        std::string url;              // the address answered
        std::vector<std::pair<std::string, std::string>> headers; // as received, last response
        std::vector<std::uint8_t> body;
        std::string redirectURL;      // absolute Location of a 3xx answer, else empty

        bool ok() const { return error == kNoError; }
        bool isRedirect() const { return ok() && statusCode >= 300 && statusCode < 400 && !redirectURL.empty(); }
        // First header of that name, compared without case; empty when absent.
        std::string header(const std::string& name) const;
    };

    static Result perform(const Request& request);

    // Most hops a request follows before failing with kTooManyRedirects.
    static constexpr int kMaxRedirects = 16;
    // Follows redirects hop by hop (each still a separate exchange) and returns the last answer.
    static Result performFollowingRedirects(Request request);

    // The platform's wording for an error code.
    static std::string describe(int error);
};
