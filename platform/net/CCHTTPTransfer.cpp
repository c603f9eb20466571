#include "CCHTTPTransfer.h"

#include <algorithm>
#include <cctype>
#include <curl/curl.h>
#include <mutex>
#include <strings.h>

namespace {

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer {
    const CCHTTPTransfer::Request* request;
    CCHTTPTransfer::Result* result;
    bool tooLarge = false;
    bool cancelled = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    size_t n = size * count;
    auto& body = t->result->body;
    if (body.size() + n > t->request->maxBodyBytes) {
        t->tooLarge = true;
        return 0; // aborts the transfer
    }
    body.insert(body.end(), data, data + n);
    return n;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    size_t n = size * count;
    std::string line(data, n);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (line.rfind("HTTP/", 0) == 0) {
        t->result->headers.clear(); // a new response (after 100 Continue, say)
    } else if (auto colon = line.find(':'); colon != std::string::npos && colon > 0) {
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        t->result->headers.emplace_back(line.substr(0, colon), value);
    }
    return n;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (t->request->isCancelled && t->request->isCancelled()) {
        t->cancelled = true;
        return 1;
    }
    return 0;
}

int errorFor(CURLcode code) {
    switch (code) {
    case CURLE_URL_MALFORMAT: return CCHTTPTransfer::kBadURL;
    case CURLE_UNSUPPORTED_PROTOCOL: return CCHTTPTransfer::kUnsupportedURL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return CCHTTPTransfer::kCannotFindHost;
    case CURLE_COULDNT_CONNECT: return CCHTTPTransfer::kCannotConnectToHost;
    case CURLE_OPERATION_TIMEDOUT: return CCHTTPTransfer::kTimedOut;
    case CURLE_FILESIZE_EXCEEDED: return CCHTTPTransfer::kDataLengthExceedsMaximum;
    case CURLE_ABORTED_BY_CALLBACK: return CCHTTPTransfer::kCancelled;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE: return CCHTTPTransfer::kConnectionLost;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING: return CCHTTPTransfer::kBadServerResponse;
    default: return CCHTTPTransfer::kUnknown;
    }
}

long millis(double seconds) { return std::max(1L, static_cast<long>(seconds * 1000.0)); }

} // namespace

std::string CCHTTPTransfer::Result::header(const std::string& name) const {
    for (auto& [key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    return {};
}

std::string CCHTTPTransfer::describe(int error) {
    switch (error) {
    case kNoError: return "";
    case kCancelled: return "cancelled";
    case kBadURL: return "bad URL";
    case kTimedOut: return "The request timed out.";
    case kUnsupportedURL: return "unsupported URL";
    case kCannotFindHost: return "A server with the specified hostname could not be found.";
    case kCannotConnectToHost: return "Could not connect to the server.";
    case kConnectionLost: return "The network connection was lost.";
    case kTooManyRedirects: return "too many HTTP redirects";
    case kBadServerResponse: return "bad server response";
    case kDataLengthExceedsMaximum: return "resource exceeds maximum size";
    default: return "unknown error";
    }
}

CCHTTPTransfer::Result CCHTTPTransfer::perform(const Request& request) {
    Result result;
    result.url = request.url;
    auto fail = [&](int error, const std::string& detail) {
        result.error = error;
        result.errorDescription = describe(error);
        if (!detail.empty()) result.errorDescription += " (" + detail + ")";
        return result;
    };
    if (request.url.empty()) return fail(kBadURL, "empty address");
    globalInit();
    CURL* curl = curl_easy_init();
    if (!curl) return fail(kUnknown, "no transfer handle");

    Transfer transfer{&request, &result};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_slist* headers = nullptr;
    for (auto& [key, value] : request.headers) headers = curl_slist_append(headers, (key + ": " + value).c_str());

    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, millis(request.connectTimeout));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, millis(request.timeout));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBodyBytes));
    // The local house server and test servers are never reached through a proxy.
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Zorvik/1.0");
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    if (headers) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    if (request.method == "HEAD") curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    else if (request.method != "GET") curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());

    CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result.statusCode = status;
    char* redirect = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &redirect) == CURLE_OK && redirect) result.redirectURL = redirect;
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);

    if (code == CURLE_OK) return result;
    result.body.clear();
    result.redirectURL.clear();
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return fail(kDataLengthExceedsMaximum, "more than " + std::to_string(request.maxBodyBytes) + " bytes");
    if (transfer.cancelled) return fail(kCancelled, "");
    return fail(errorFor(code), errorBuffer[0] ? errorBuffer : curl_easy_strerror(code));
}

CCHTTPTransfer::Result CCHTTPTransfer::performFollowingRedirects(Request request) {
    for (int hop = 0;; ++hop) {
        Result result = perform(request);
        if (!result.isRedirect()) return result;
        if (hop == kMaxRedirects) {
            Result failed;
            failed.url = request.url;
            failed.error = kTooManyRedirects;
            failed.errorDescription = describe(kTooManyRedirects);
            return failed;
        }
        request.url = result.redirectURL;
    }
}
