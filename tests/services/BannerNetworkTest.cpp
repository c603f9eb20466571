// The banner clients against real ad servers on 127.0.0.1, through the manager.
#include <gtest/gtest.h>

#include "services/BannerTestSupport.h"
#include "CCTrace.h"
#include "NSTimer.h"
#include "UIOverlay.h"
#include "support/DeterministicClock.h"

namespace {

class BannerNetworkTest : public BannerFixture {
protected:
    void SetUp() override {
        BannerFixture::SetUp();
        CCTrace::openSink([this](const std::string& line) { trace.push_back(line); });
    }
    void TearDown() override {
        CCTrace::openSink(nullptr);
        BannerFixture::TearDown();
    }
    void point(const char* network, const std::string& url) { setenv(network, url.c_str(), 1); }
    std::vector<std::string> traced(const std::string& event) const {
        std::vector<std::string> out;
        for (const std::string& l : trace)
            if (l.find("\"event\":\"" + event + "\"") != std::string::npos) out.push_back(l);
        return out;
    }
    std::vector<std::string> trace;
};

TEST_F(BannerNetworkTest, MobFoxFailsAndTheAdMobBannerShowsInTheStripRefreshingEveryThirteenSeconds) {
    DeterministicClock clock;
    AdServer mobfox("{}", "", 500);
    AdServer admob;
    point("ZORVIK_MOBFOX_AD_URL", mobfox.url());
    point("ZORVIK_ADMOB_AD_URL", admob.url());
    setenv("ZORVIK_ADMOB_PUBLISHER_ID", "a14c0ffee0ddba1", 1);
    DTBannerManager* m = manager();
    m->addAdsToViewController(host);
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 2);
    unsetenv("ZORVIK_ADMOB_PUBLISHER_ID");
    EXPECT_TRUE(logged("MobFox: Did fail to receive ad, Error Domain=AdNetworkErrorDomain Code=3 "
                       "\"the ad server answered with status 500\""));
    ASSERT_EQ(m->bannerMode(), 1);
    ASSERT_TRUE(m->adMobBannerShowing());
    EXPECT_EQ(admob.publisher(), "a14c0ffee0ddba1");
    AdMobView* banner = m->adMobBannerView();
    EXPECT_EQ(banner->superview(), m->bannerClipView());
    EXPECT_EQ(banner->frame(), (CGRect{{0, 25}, {320, 50}}));
    EXPECT_EQ(m->bannerClipView()->frame(), (CGRect{{0, 405}, {320, 75}}));
    EXPECT_EQ(admob.adRequests, 1);

    // The picture is drawn where the banner is: red at the strip's bottom.
    UIOverlay overlay;
    overlay.redraw();
    EXPECT_EQ(overlay.pixelAt(160, 455) & 0xFFFFFF, 0xC82828u);
    EXPECT_EQ(overlay.pixelAt(160, 415) >> 24, 0u); // the strip's top is clear

    // Refreshes at 13 s and 26 s after the ad came; the banner stays.
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 26);
    EXPECT_EQ(admob.adRequests, 3);
    EXPECT_EQ(m->adMobBannerView(), banner);
    EXPECT_EQ(traced("banner-in").size(), 1u);
    EXPECT_EQ(traced("ad-loaded").size(), 3u);
    ASSERT_EQ(traced("banner-mode").size(), 2u); // 3, 1
    EXPECT_NE(traced("banner-mode")[1].find("\"mode\":1"), std::string::npos);

    // A tap on the banner opens its landing page.
    app->sendTouch(1, UITouchPhaseBegan, {160, 450}, 0);
    app->sendTouch(1, UITouchPhaseEnded, {160, 450}, 0);
    ASSERT_EQ(app->openedURLs().size(), 1u);
    EXPECT_EQ(app->openedURLs()[0], "https://example.org/landing");
}

TEST_F(BannerNetworkTest, WhenBothFailNothingShowsUntilTheAppIsActiveAgainAndMobFoxIsAskedAgain) {
    AdServer mobfox("{}", "", 404);
    AdServer admob("{}", "", 503);
    point("ZORVIK_MOBFOX_AD_URL", mobfox.url());
    point("ZORVIK_ADMOB_AD_URL", admob.url());
    DTBannerManager* m = manager();
    m->addAdsToViewController(host);
    ASSERT_TRUE(runUntil([&] { return m->bannerMode() == 99; }));
    EXPECT_TRUE(logged("AdMob: Did fail to receive ad"));
    EXPECT_TRUE(m->bannerClipView()->subviews().empty());
    EXPECT_FALSE(m->isBannerVisible());
    EXPECT_EQ(mobfox.adRequests, 1);
    EXPECT_EQ(admob.adRequests, 1);
    app->sendWillResignActive();
    app->sendDidBecomeActive();
    ASSERT_TRUE(runUntil([&] { return m->bannerMode() == 99; }));
    EXPECT_EQ(mobfox.adRequests, 2);
    EXPECT_EQ(admob.adRequests, 2);
}

// Each broken answer ends MobFox with a readable reason, and AdMob is asked next.
TEST_F(BannerNetworkTest, EveryKindOfFailureMovesOnToTheNextNetwork) {
    AdServer admob("{}", "", 500); // ends the round at 99
    point("ZORVIK_ADMOB_AD_URL", admob.url());
    AdNetworkView::setRequestTimeout(0.5);
    std::string huge(kAdAnswerMaxBytes + 10, ' ');
    std::string badPicture = pngOf(320, 50, 1, 2, 3);
    badPicture.resize(60); // header intact, pixels gone
    TestHTTPServer stalling;
    stalling.server().Get("/ad", [](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        res.set_content("{}", "application/json");
    });
    stalling.start();
    std::vector<std::unique_ptr<AdServer>> servers;
    auto serve = [&](std::string json, std::string picture = pngOf(320, 50, 9, 9, 9), int status = 200) {
        servers.push_back(std::make_unique<AdServer>(std::move(json), std::move(picture), status));
        return servers.back()->url();
    };
    const std::string good = R"({"image": "pic.png", "link": "https://example.org/"})";
    std::vector<std::pair<std::string, std::string>> cases = {
        {"http://127.0.0.1:" + std::to_string(ccClosedLocalPort()) + "/ad", "the ad server cannot be reached"},
        {stalling.url("/ad"), "no answer within 0.5 s"},
        {serve("{}", "", 404), "the ad server answered with status 404"},
        {serve(""), "the ad server sent an empty answer"},
        {serve(huge), "the answer is larger than 65536 bytes"},
        {serve("{\"image\": "), "the ad server's answer is not a JSON object"},
        {serve(R"({"error": "no fill"})"), "the ad server has no ad: no fill"},
        {serve(R"({"image": "file:///etc/passwd", "link": "https://example.org/"})"), "image address is not http"},
        {serve(R"j({"image": "pic.png", "link": "javascript:alert(1)"})j"), "landing address is not http"},
        {serve(good, ""), "the ad's picture is empty"},
        {serve(good, "GIF89a........"), "the ad's picture is not a PNG or JPEG image"},
        {serve(good, pngOf(300, 50, 1, 1, 1)), "the ad's picture is 300 x 50, not 320 x 50"},
        {serve(good, badPicture), "the ad's picture does not decode"},
    };
    for (const auto& [url, reason] : cases) {
        SCOPED_TRACE(reason);
        log.clear();
        point("ZORVIK_MOBFOX_AD_URL", url);
        DTBannerManager* m = manager();
        m->addAdsToViewController(host);
        ASSERT_TRUE(runUntil([&] { return m->bannerMode() == 99; }));
        ASSERT_FALSE(log.empty());
        bool found = false;
        for (const std::string& l : log)
            found |= l.starts_with("MobFox: Did fail to receive ad, Error Domain=AdNetworkErrorDomain") &&
                     l.find(reason) != std::string::npos;
        EXPECT_TRUE(found) << log.front();
        EXPECT_TRUE(logged("AdMob: Did fail to receive ad"));
        EXPECT_TRUE(m->bannerClipView()->subviews().empty());
        DTBannerManager::purgeSharedManager();
        host->view()->subviews().empty() ? void() : host->view()->subviews().back()->removeFromSuperview();
    }
    bool tracedReason = false;
    for (const std::string& l : traced("ad-failed"))
        tracedReason |= l.find("\"network\":\"mobfox\",\"reason\":\"the ad server has no ad: no fill\"") != std::string::npos;
    EXPECT_TRUE(tracedReason);
}

TEST_F(BannerNetworkTest, AnAnswerForABannerThatIsGoneIsDropped) {
    AdServer mobfox;
    point("ZORVIK_MOBFOX_AD_URL", mobfox.url());
    {
        CCAutoreleaseScope pool;
        manager()->addAdsToViewController(host);
        DTBannerManager::purgeSharedManager(); // the banner goes before its answer comes
    }
    ccWaitForBackgroundWork();
    EXPECT_TRUE(traced("ad-loaded").empty());
    EXPECT_TRUE(traced("ad-failed").empty());
}

TEST(AdAnswer, AddressesAreResolvedAgainstTheServerAndOnlyWebAddressesAccepted) {
    const std::string server = "http://127.0.0.1:8080/house/mobfox.json?pub=1";
    AdAnswer a = AdNetworkView::parseAnswer(R"({"image": "mobfox.png", "link": "https://x.org/"})", server);
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(a.image, "http://127.0.0.1:8080/house/mobfox.png");
    EXPECT_EQ(a.link, "https://x.org/");
    EXPECT_EQ(AdNetworkView::parseAnswer(R"({"image": "/p.jpg", "link": "http://x/"})", server).image,
              "http://127.0.0.1:8080/p.jpg");
    EXPECT_EQ(AdNetworkView::parseAnswer(R"({"image": "https://cdn/p.png", "link": "http://x/"})", server).image,
              "https://cdn/p.png");
    EXPECT_NE(AdNetworkView::parseAnswer(R"({"image": 5, "link": "http://x/"})", server).error, "");
    EXPECT_NE(AdNetworkView::parseAnswer(R"(["image"])", server).error, "");
    EXPECT_NE(AdNetworkView::parseAnswer(R"({"image": "p.png"})", server).error, "");
}

TEST(AdAnswer, PictureSizesAreReadFromPngAndJpegHeaders) {
    unsigned w = 0, h = 0;
    EXPECT_TRUE(AdNetworkView::pictureSize(pngOf(320, 50, 0, 0, 0), &w, &h));
    EXPECT_EQ(w, 320u);
    EXPECT_EQ(h, 50u);
    CCAutoreleaseScope pool;
    std::vector<std::uint8_t> jpeg = encodeJPEG(320, 50, solidRGBA(320, 50, 10, 20, 30, 255));
    EXPECT_TRUE(AdNetworkView::pictureSize(std::string(jpeg.begin(), jpeg.end()), &w, &h));
    EXPECT_EQ(w, 320u);
    EXPECT_EQ(h, 50u);
    EXPECT_FALSE(AdNetworkView::pictureSize(std::string("\xFF\xD8\xFF", 3), &w, &h));
    EXPECT_FALSE(AdNetworkView::pictureSize("", &w, &h));
}

} // namespace
