#pragma once
// A fresh application and banner manager for each test, the ad servers pointed where the test
// says (nowhere by default), log lines captured, and small ad servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/UIKitFixture.h"
#include "AdNetworkView.h"
#include "CCBackgroundWork.h"
#include "CCLog.h"
#include "DTBannerClipView.h"
#include "DTBannerManager.h"
#include "NSNotification.h"
#include "NSNotificationCenter.h"
#include "UIViewController.h"
#include "support/RunLoopWait.h"
#include "support/TestHTTPServer.h"
#include "support/TestImages.h"

// Notes the strip's notifications in the order they come.
struct SlideRecorder : CCObject {
    std::vector<std::string> names;
    void heard(NSNotification* n) { names.push_back(n->name()); }
    void listen() {
        for (const char* name : {kBannerWillSlideIn, kBannerDidSlideIn, kBannerWillSlideOut, kBannerDidSlideOut})
            NSNotificationCenter::defaultCenter()->addObserver(this, notification_selector(SlideRecorder::heard), name);
    }
    ~SlideRecorder() override { NSNotificationCenter::defaultCenter()->removeObserver(this); }
};

class BannerFixture : public UIKitFixture {
protected:
    void SetUp() override {
        UIKitFixture::SetUp();
        for (const char* name : {"ZORVIK_MOBFOX_AD_URL", "ZORVIK_ADMOB_AD_URL", "ZORVIK_PLATFORM_AD_URL"})
            setenv(name, "", 1);
        setenv("ZORVIK_REACHABILITY", "wifi", 1);
        previousLog = ccSetLogSink([this](const std::string& line) { log.push_back(line); });
        host = CCPtr<UIViewController>::adopt(new UIViewController);
        host->setView(UIView::viewWithFrame({{0, 0}, {320, 480}}));
        window->addSubview(host->view());
    }
    void TearDown() override {
        DTBannerManager::purgeSharedManager();
        ccWaitForBackgroundWork();
        AdNetworkView::setRequestTimeout(10);
        for (const char* name :
             {"ZORVIK_MOBFOX_AD_URL", "ZORVIK_ADMOB_AD_URL", "ZORVIK_PLATFORM_AD_URL", "ZORVIK_REACHABILITY"})
            unsetenv(name);
        ccSetLogSink(previousLog);
        host = nullptr;
        UIKitFixture::TearDown();
    }
    DTBannerManager* manager() { return DTBannerManager::sharedManager(); }
    bool logged(const std::string& line) const {
        for (const std::string& l : log)
            if (l.find(line) != std::string::npos) return true;
        return false;
    }
    bool runUntil(const std::function<bool()>& done, double seconds = 10) { return ccRunMainLoopUntil(done, seconds); }

    std::vector<std::string> log;
    CCLogSink previousLog;
    CCPtr<UIViewController> host;
};

// PNG bytes of a picture of one colour.
inline std::string pngOf(unsigned width, unsigned height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    CCAutoreleaseScope pool;
    std::vector<std::uint8_t> out;
    ccEncodePNG(*CGImage::imageWithRGBA(width, height, solidRGBA(width, height, r, g, b, 255)), out);
    return std::string(out.begin(), out.end());
}

// An ad server: "/ad" answers with the JSON (relative picture "pic.png"), "/pic.png" with the
// picture; both count their requests and remember the last query's publisher.
class AdServer {
public:
    AdServer(std::string json = R"({"image": "pic.png", "link": "https://example.org/landing"})",
             std::string picture = pngOf(320, 50, 200, 40, 40), int status = 200)
        : json_(std::move(json)), picture_(std::move(picture)), status_(status) {
        server_.server().Get("/ad", [this](const httplib::Request& req, httplib::Response& res) {
            ++adRequests;
            std::lock_guard lock(mutex_);
            publisher_ = req.get_param_value("pub");
            res.status = status_;
            res.set_content(json_, "application/json");
        });
        server_.server().Get("/pic.png", [this](const httplib::Request&, httplib::Response& res) {
            ++pictureRequests;
            res.set_content(picture_, "image/png");
        });
        server_.start();
    }
    std::string url() const { return server_.url("/ad"); }
    httplib::Server& server() { return server_.server(); }
    std::string publisher() const {
        std::lock_guard lock(mutex_);
        return publisher_;
    }

    std::atomic<int> adRequests{0};
    std::atomic<int> pictureRequests{0};

private:
    std::string json_, picture_;
    int status_;
    mutable std::mutex mutex_;
    std::string publisher_;
    TestHTTPServer server_;
};
