#pragma once
// What the three banner clients share: a 320 × 50 view that asks an ad server for an ad,
// shows its picture and opens its landing address when tapped.
//
// An ad server answers an HTTP GET of its address (with "pub=<publisher id>" added to the
// query) with a JSON object: {"image": "<address of a 320 × 50 PNG or JPEG>", "link":
// "<landing address>"}; a relative image address is taken from the ad server's address. The
// request and the picture's download run on a worker and hand back plain bytes; the
// picture is decoded and the delegate told on the main thread. Every failure ends in a
// failure callback with a readable description.
#include <cstdint>
#include <memory>
#include <string>

#include "CCPtr.h"
#include "UIImage.h"
#include "UIView.h"

class NSError;

// Limits of an ad exchange.
inline constexpr std::size_t kAdAnswerMaxBytes = 64 * 1024;
inline constexpr std::size_t kAdPictureMaxBytes = 1024 * 1024;
inline constexpr int kAdWidth = 320, kAdHeight = 50;

// What an ad server's answer names; error is empty when both addresses are usable.
struct AdAnswer {
    std::string image, link, error;
};

class AdNetworkView : public UIView {
public:
    // Reads an ad server's answer (relative image addresses against the server's address).
    static AdAnswer parseAnswer(const std::string& body, const std::string& serverURL);
    // The pixel size a PNG or JPEG file's header states; false for anything else.
    static bool pictureSize(const std::string& bytes, unsigned* width, unsigned* height);
    // Real seconds an exchange may take before it fails (10 unless changed; tests shorten it).
    static double requestTimeout();
    static void setRequestTimeout(double seconds);

    bool initWithFrame(CGRect frame) override;
    ~AdNetworkView() override;

    // The trace's name of the network ("mobfox", "admob", "platform").
    virtual const char* networkName() const = 0;

    // Asks the server for an ad, dropping any answer still on its way. An empty address fails.
    void requestAd(const std::string& serverURL, const std::string& publisherId);
    bool isLoading() const { return loading_; }
    // The picture of the ad shown, and where a tap leads; empty before the first ad.
    UIImage* adImage() const { return adImage_; }
    const std::string& landingURL() const { return landingURL_; }

    void touchesEnded(NSSet* touches, UIEvent* event) override;

protected:
    // Main thread, after the picture is in place / on any failure.
    virtual void adDidLoad() = 0;
    virtual void adDidFail(NSError* error) = 0;
    void drawInContext(cairo_t* cr, CGRect bounds) override;

private:
    struct Fetched;
    void finish(Fetched& fetched);

    CCPtr<UIImage> adImage_;
    std::string landingURL_;
    bool loading_ = false;
    uint64_t serial_ = 0; // the request whose answer is awaited
    // Shared with the answers on their way: false once the view is gone (main thread only).
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Failure descriptions are in this domain; the codes are these.
inline constexpr const char* kAdErrorDomain = "AdNetworkErrorDomain";
enum AdErrorCode {
    kAdErrorNotConfigured = 1,
    kAdErrorNetwork = 2,
    kAdErrorStatus = 3,
    kAdErrorAnswer = 4,
    kAdErrorPicture = 5,
};
