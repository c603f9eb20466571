#include "AdNetworkView.h"

#include <algorithm>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "CCBackgroundWork.h"
#include "CCHTTPTransfer.h"
#include "CCTrace.h"
#include "ImageCodecs.h"
#include "NSError.h"
#include "NSSet.h"
#include "NSRunLoop.h"
#include "UIApplication.h"
#include "UIImage.h"
#include "UITouch.h"

namespace {

struct HttpAnswer {
    long status = 0;
    std::string body;
    std::string error; // empty when an answer came
};

double totalTimeoutSeconds = 10; // main thread; each request takes a copy

// A GET on the calling worker (redirects followed), with time-outs and a size cap.
HttpAnswer httpGet(const std::string& url, std::size_t limit, double timeout) {
    CCHTTPTransfer::Request request;
    request.url = url;
    request.connectTimeout = std::min(5.0, timeout);
    request.timeout = timeout;
    request.maxBodyBytes = limit;
    request.isCancelled = [] { return ccIsBackgroundWorkCancelled(); };
    CCHTTPTransfer::Result result = CCHTTPTransfer::performFollowingRedirects(std::move(request));
    HttpAnswer answer;
    answer.status = result.statusCode;
    answer.body.assign(result.body.begin(), result.body.end());
    if (result.error == CCHTTPTransfer::kDataLengthExceedsMaximum)
        answer.error = "the answer is larger than " + std::to_string(limit) + " bytes";
    else if (result.error == CCHTTPTransfer::kTimedOut)
    {
        char text[64];
        std::snprintf(text, sizeof text, "no answer within %g s", timeout);
        answer.error = text;
    }
    else if (!result.ok())
        answer.error = result.errorDescription.empty() ? CCHTTPTransfer::describe(result.error) : result.errorDescription;
    return answer;
}

bool isWebAddress(const std::string& url) { return url.starts_with("http://") || url.starts_with("https://"); }

// An address of the answer, taken from the ad server's address when relative.
std::string resolve(const std::string& base, const std::string& ref) {
    if (ref.find("://") != std::string::npos) return ref;
    std::string clean = base.substr(0, base.find_first_of("?#"));
    const size_t hostStart = clean.find("://");
    if (hostStart == std::string::npos) return ref;
    const size_t pathStart = clean.find('/', hostStart + 3);
    if (ref.starts_with("/")) return clean.substr(0, pathStart) + ref;
    if (pathStart == std::string::npos) return clean + "/" + ref;
    return clean.substr(0, clean.rfind('/') + 1) + ref;
}

} // namespace

struct AdNetworkView::Fetched {
    std::string error;
    int code = 0;
    std::string link;
    std::string picture; // PNG or JPEG bytes, checked to be 320 × 50
};

AdAnswer AdNetworkView::parseAnswer(const std::string& body, const std::string& serverURL) {
    AdAnswer a;
    if (body.empty()) {
        a.error = "the ad server sent an empty answer";
        return a;
    }
    nlohmann::json json = nlohmann::json::parse(body, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        a.error = "the ad server's answer is not a JSON object";
        return a;
    }
    auto text = [&](const char* key) {
        auto it = json.find(key);
        return it != json.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    const std::string image = text("image"), link = text("link");
    if (image.empty()) {
        std::string why = text("error");
        a.error = why.empty() ? "the ad server's answer names no image" : "the ad server has no ad: " + why;
        return a;
    }
    a.image = resolve(serverURL, image);
    if (!isWebAddress(a.image)) {
        a.error = "the ad's image address is not http or https: " + image;
        return a;
    }
    if (!isWebAddress(link)) {
        a.error = link.empty() ? "the ad server's answer names no landing address"
                               : "the ad's landing address is not http or https: " + link;
        return a;
    }
    a.link = link;
    return a;
}

bool AdNetworkView::pictureSize(const std::string& bytes, unsigned* width, unsigned* height) {
    auto u8 = [&](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])); };
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (ccLooksLikePNG(data, bytes.size())) {
        if (bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0) return false;
        *width = u8(16) << 24 | u8(17) << 16 | u8(18) << 8 | u8(19);
        *height = u8(20) << 24 | u8(21) << 16 | u8(22) << 8 | u8(23);
        return true;
    }
    if (ccLooksLikeJPEG(data, bytes.size())) {
        size_t i = 2;
        while (i + 4 <= bytes.size()) {
            if (u8(i) != 0xFF) return false;
            const unsigned marker = u8(i + 1);
            if (marker == 0xFF) { // fill byte
                ++i;
                continue;
            }
            if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
                i += 2;
                continue;
            }
            const size_t length = u8(i + 2) << 8 | u8(i + 3);
            if (length < 2) return false;
            const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
            if (frame) {
                if (i + 9 > bytes.size()) return false;
                *height = u8(i + 5) << 8 | u8(i + 6);
                *width = u8(i + 7) << 8 | u8(i + 8);
                return true;
            }
            i += 2 + length;
        }
    }
    return false;
}

double AdNetworkView::requestTimeout() { return totalTimeoutSeconds; }
void AdNetworkView::setRequestTimeout(double seconds) { totalTimeoutSeconds = seconds > 0 ? seconds : 10; }

bool AdNetworkView::initWithFrame(CGRect frame) {
    if (!UIView::initWithFrame(frame)) return false;
    setOpaque(false);
    return true;
}

AdNetworkView::~AdNetworkView() { *alive_ = false; }

void AdNetworkView::requestAd(const std::string& serverURL, const std::string& publisherId) {
    const uint64_t serial = ++serial_;
    loading_ = true;
    CCTrace::event("ad-request", [&] { return CCTraceFields{{"network", networkName()}}; });
    std::shared_ptr<bool> alive = alive_;
    if (serverURL.empty()) {
        // Told on a later pass, as for an answer from the network.
        NSRunLoop::mainRunLoop()->performAfterDelay(0, [this, alive, serial] {
            if (*alive && serial == serial_) {
                Fetched f;
                f.error = "no ad server is configured";
                f.code = kAdErrorNotConfigured;
                finish(f);
            }
        });
        return;
    }
    std::string url = serverURL;
    url += url.find('?') == std::string::npos ? '?' : '&';
    url += "pub=";
    for (char c : publisherId) // identifiers are hexadecimal; anything else is escaped
        if (std::isalnum(static_cast<unsigned char>(c))) url += c;
        else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            url += hex;
        }
    ccPerformInBackground<Fetched>(
        [url, serverURL, timeout = totalTimeoutSeconds] {
            Fetched f;
            HttpAnswer answer = httpGet(url, kAdAnswerMaxBytes, timeout);
            if (!answer.error.empty()) {
                f.error = "the ad server cannot be reached: " + answer.error;
                f.code = kAdErrorNetwork;
                return f;
            }
            if (answer.status != 200) {
                f.error = "the ad server answered with status " + std::to_string(answer.status);
                f.code = kAdErrorStatus;
                return f;
            }
            AdAnswer ad = parseAnswer(answer.body, serverURL);
            if (!ad.error.empty()) {
                f.error = ad.error;
                f.code = kAdErrorAnswer;
                return f;
            }
            HttpAnswer picture = httpGet(ad.image, kAdPictureMaxBytes, timeout);
            f.code = kAdErrorPicture;
            unsigned w = 0, h = 0;
            if (!picture.error.empty()) f.error = "the ad's picture cannot be loaded: " + picture.error;
            else if (picture.status != 200)
                f.error = "the ad's picture was answered with status " + std::to_string(picture.status);
            else if (picture.body.empty()) f.error = "the ad's picture is empty";
            else if (!pictureSize(picture.body, &w, &h)) f.error = "the ad's picture is not a PNG or JPEG image";
            else if (w != kAdWidth || h != kAdHeight)
                f.error = "the ad's picture is " + std::to_string(w) + " x " + std::to_string(h) + ", not 320 x 50";
            if (!f.error.empty()) return f;
            f.code = 0;
            f.link = std::move(ad.link);
            f.picture = std::move(picture.body);
            return f;
        },
        [this, alive, serial](Fetched f) {
            if (*alive && serial == serial_) finish(f);
        });
}

void AdNetworkView::finish(Fetched& f) {
    CCPtr<AdNetworkView> keep(this); // the delegate may let go of the view
    loading_ = false;
    if (f.error.empty()) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(f.picture.data());
        CGImage* decoded = ccLooksLikePNG(bytes, f.picture.size()) ? ccDecodePNG(bytes, f.picture.size())
                                                                    : ccDecodeJPEG(bytes, f.picture.size());
        UIImage* image = decoded ? UIImage::imageWithCGImage(decoded) : nullptr;
        if (!image || image->size().width != kAdWidth || image->size().height != kAdHeight) {
            f.error = "the ad's picture does not decode";
            f.code = kAdErrorPicture;
        } else {
            adImage_ = image;
            landingURL_ = f.link;
            setNeedsDisplay();
            CCTrace::event("ad-loaded", [&] { return CCTraceFields{{"network", networkName()}}; });
            adDidLoad();
            return;
        }
    }
    CCTrace::event("ad-failed", [&] { return CCTraceFields{{"network", networkName()}, {"reason", f.error}}; });
    adDidFail(NSError::errorWithDomain(kAdErrorDomain, f.code, f.error));
}

void AdNetworkView::drawInContext(cairo_t* cr, CGRect bounds) {
    if (adImage_) adImage_->drawInRect(cr, {{0, 0}, bounds.size});
}

void AdNetworkView::touchesEnded(NSSet* touches, UIEvent* event) {
    UIView::touchesEnded(touches, event);
    auto* touch = touches ? dynamic_cast<UITouch*>(touches->anyObject()) : nullptr;
    // A finger that slid off the banner opens nothing.
    if (!touch || !pointInside(touch->locationInView(this))) return;
    if (!landingURL_.empty()) UIApplication::sharedApplication()->openURL(landingURL_);
}
