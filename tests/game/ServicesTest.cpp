#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "AppConfiguration.h"
#include "CCAutoreleasePool.h"
#include "CCBackgroundWork.h"
#include "CCTrace.h"
#include "HouseServer.h"
#include "MYSmartLink.h"
#include "MZDownloader.h"
#include "NSBundle.h"
#include "NSUserDefaults.h"
#include "PropertyListURL.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIDevice.h"
#include "ZorvikAppDelegate.h"
#include "support/RunLoopWait.h"
#include "support/TestHTTPServer.h"
#include "support/XDGHome.h"

namespace fs = std::filesystem;

namespace {

std::string entry(const std::string& title, bool urgent, const std::string& link) {
    return "<dict><key>title</key><string>" + title + "</string><key>description</key><string>About " + title +
           "</string><key>image</key><string>x.png</string><key>urgent</key>" + (urgent ? "<true/>" : "<false/>") +
           "<key>link</key><string>" + link + "</string></dict>";
}

// Each test: temporary home folders, a headless application, a local server and a trace.
class GameServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        UIApplication::purgeSharedApplication();
        app = UIApplication::sharedApplication();
        app->setHeadless(true);
        NSUserDefaults::resetStandardUserDefaults();
        AppConfiguration::reload();
        CCTrace::openSink([this](const std::string& line) {
            std::lock_guard lock(traceMutex);
            trace.push_back(line);
        });
    }
    void TearDown() override {
        ccWaitForBackgroundWork();
        CCTrace::openSink(nullptr);
        MZDownloader::purgeShared();
        MYSmartLink::purgeShared();
        UIApplication::purgeSharedApplication();
        NSUserDefaults::resetStandardUserDefaults();
        UIDevice::currentDevice()->setUniqueIdentifier("");
        server.stop();
    }
    std::vector<std::string> traced(const std::string& event) {
        std::lock_guard lock(traceMutex);
        std::vector<std::string> out;
        for (auto& l : trace)
            if (l.find("\"event\":\"" + event + "\"") != std::string::npos) out.push_back(l);
        return out;
    }
    void servePromotions(const std::string& dictBody) {
        server.server().Get("/MZPromo.plist", [dictBody](const httplib::Request&, httplib::Response& r) {
            r.set_content("<plist version=\"1.0\"><dict>" + dictBody + "</dict></plist>", "application/xml");
        });
    }

    CCAutoreleaseScope pool;
    XDGHome home;
    UIApplication* app = nullptr;
    TestHTTPServer server;
    std::mutex traceMutex;
    std::vector<std::string> trace;
};

} // namespace

TEST_F(GameServicesTest, UrgentEntriesRaiseAlertsAndDownloadOpensEveryEntryWithThatTitle) {
    servePromotions("<key>a</key>" + entry("Saw Party", true, "https://store.example/saw-party") +
                    "<key>b</key>" + entry("Cat Mail", true, "https://store.example/cat-mail") +
                    "<key>c</key>" + entry("Saw Party", false, "https://store.example/saw-party-lite") +
                    "<key>d</key>" + entry("Quiet One", false, "https://store.example/quiet"));
    ASSERT_GT(server.start(), 0);
    home.set("ZORVIK_PROMOTIONS_URL", server.url("/MZPromo.plist"));

    MZDownloader::shared()->startUpdates();
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return !traced("promotions").empty(); }));
    EXPECT_NE(traced("promotions")[0].find("\"entries\":4,\"urgent\":2"), std::string::npos) << traced("promotions")[0];

    // In key order: "Saw Party" (a) first, then "Cat Mail" (b) waits behind it.
    ASSERT_EQ(app->alerts().size(), 2u);
    UIAlertView* first = app->alerts()[0];
    EXPECT_EQ(first->title(), "Saw Party");
    EXPECT_EQ(app->alerts()[1]->title(), "Cat Mail");
    EXPECT_EQ(first->buttonTitleAtIndex(0), "Cancel");
    EXPECT_EQ(first->buttonTitleAtIndex(1), "Download");

    ASSERT_TRUE(first->pressButtonWithTitle("Download"));
    EXPECT_EQ(app->openedURLs(),
              (std::vector<std::string>{"https://store.example/saw-party", "https://store.example/saw-party-lite"}));
    ccRunMainLoopUntil([&] { return app->visibleAlertView() && app->visibleAlertView()->title() == "Cat Mail"; }, 3);
    ASSERT_TRUE(app->visibleAlertView());
    ASSERT_TRUE(app->visibleAlertView()->pressButtonWithTitle("Cancel"));
    EXPECT_EQ(app->openedURLs().size(), 2u); // "Cancel" opens nothing

    // Every titled entry has its flag, also for the next launch.
    NSUserDefaults::resetStandardUserDefaults();
    NSUserDefaults* restarted = NSUserDefaults::standardUserDefaults();
    for (const char* title : {"Saw Party", "Cat Mail", "Quiet One"}) EXPECT_TRUE(restarted->boolForKey(title)) << title;
    EXPECT_FALSE(restarted->boolForKey("Never Listed"));
}

TEST_F(GameServicesTest, PromotionFailuresShowAndFlagNothing) {
    auto& s = server.server();
    s.Get("/array", [](const httplib::Request&, httplib::Response& r) {
        r.set_content("<plist version=\"1.0\"><array><string>x</string></array></plist>", "application/xml");
    });
    s.Get("/garbage", [](const httplib::Request&, httplib::Response& r) { r.set_content("<plist><dict><key>", "text/xml"); });
    s.Get("/gone", [](const httplib::Request&, httplib::Response& r) { r.status = 500; });
    s.Get("/odd", [](const httplib::Request&, httplib::Response& r) {
        // Entries that are not dictionaries or lack a title are passed over.
        r.set_content("<plist version=\"1.0\"><dict><key>a</key><string>x</string><key>b</key><dict><key>urgent</key>"
                      "<true/></dict></dict></plist>",
                      "application/xml");
    });
    ASSERT_GT(server.start(), 0);
    std::vector<std::string> urls = {server.url("/array"), server.url("/garbage"), server.url("/gone"), server.url("/odd"),
                                     "http://127.0.0.1:" + std::to_string(ccClosedLocalPort()) + "/MZPromo.plist"};
    for (size_t i = 0; i < urls.size(); ++i) {
        SCOPED_TRACE(urls[i]);
        home.set("ZORVIK_PROMOTIONS_URL", urls[i]);
        MZDownloader::shared()->startUpdates();
        ASSERT_TRUE(ccRunMainLoopUntil([&] { return traced("promotions").size() == i + 1; }));
        EXPECT_NE(traced("promotions")[i].find("\"entries\":0,\"urgent\":0"), std::string::npos) << traced("promotions")[i];
    }
    EXPECT_TRUE(app->alerts().empty());
    EXPECT_FALSE(fs::exists(home.config() + "/UserDefaults.plist"));

    // Offline: nothing is fetched at all.
    AppConfiguration::setOffline(true);
    MZDownloader::shared()->startUpdates();
    AppConfiguration::setOffline(false);
    EXPECT_EQ(CCBackgroundWork::pendingCount(), 0u);
}

TEST_F(GameServicesTest, InstallReportRetriedUntilA200WithABodyThenNever) {
    std::vector<std::string> queries;
    std::mutex m;
    std::atomic<int> hits{0};
    server.server().Get("/reward/redeem.php", [&](const httplib::Request& q, httplib::Response& r) {
        int n = ++hits;
        {
            std::lock_guard lock(m);
            queries.push_back(q.get_param_value("uuid") + "|" + q.get_param_value("appid") + "|" + q.get_param_value("k"));
        }
        if (n == 1) r.status = 500, r.set_content("busy", "text/plain");
        else if (n == 2) r.status = 200; // no body
        else r.set_content("OK", "text/plain");
    });
    ASSERT_GT(server.start(), 0);
    home.set("ZORVIK_REWARD_URL", server.url("/reward/"));
    home.set("ZORVIK_REWARD_APP_ID", std::string("364873921"));
    home.set("ZORVIK_APP_SECRET", std::string("482913"));
    UIDevice::currentDevice()->setUniqueIdentifier("0123456789abcdef0123456789abcdef");

    CCPtr<ZorvikAppDelegate> delegate = CCPtr<ZorvikAppDelegate>::adopt(new ZorvikAppDelegate);
    const std::string key = delegate->hashedUUIDandAppSecret();
    EXPECT_EQ(key, "3B5BA1E3360DE34A299D8D7018385332"); // MD5 of the identifier and "482913"
    const std::string marker = home.documents() + "/appredeem_app_installed";

    delegate->reportAppInstalledToAppReedem(); // 500
    EXPECT_FALSE(fs::exists(marker));
    delegate->reportAppInstalledToAppReedem(); // 200, empty
    EXPECT_FALSE(fs::exists(marker));
    delegate->reportAppInstalledToAppReedem(); // 200 "OK"
    EXPECT_TRUE(fs::exists(marker));
    EXPECT_EQ(fs::file_size(marker), 0u);
    delegate->reportAppInstalledToAppReedem();
    delegate->reportAppInstalledToAppReedem();
    EXPECT_EQ(hits.load(), 3);
    EXPECT_EQ(queries[0], "0123456789abcdef0123456789abcdef|364873921|" + key);
    ASSERT_EQ(traced("install-report").size(), 3u);
    EXPECT_NE(traced("install-report")[0].find("\"status\":500"), std::string::npos);
    EXPECT_NE(traced("install-report")[2].find("\"status\":200,\"delivered\":true"), std::string::npos);

    // The key's shape for identifiers of every kind; none without an identifier.
    for (const char* id : {"a", "ABCDEF-1234", "ünïcode"}) {
        UIDevice::currentDevice()->setUniqueIdentifier(id);
        std::string k = delegate->hashedUUIDandAppSecret();
        EXPECT_EQ(k.size(), 32u);
        EXPECT_EQ(k.find_first_not_of("0123456789ABCDEF"), std::string::npos) << k;
    }
}

TEST_F(GameServicesTest, InstallReportFailuresLeaveNoMarker) {
    server.server().Get("/slow/redeem.php", [](const httplib::Request&, httplib::Response& r) { r.status = 404; });
    ASSERT_GT(server.start(), 0);
    CCPtr<ZorvikAppDelegate> delegate = CCPtr<ZorvikAppDelegate>::adopt(new ZorvikAppDelegate);
    UIDevice::currentDevice()->setUniqueIdentifier("0123456789abcdef0123456789abcdef");
    for (std::string reward : {"http://127.0.0.1:" + std::to_string(ccClosedLocalPort()) + "/", server.url("/slow/")}) {
        home.set("ZORVIK_REWARD_URL", reward);
        delegate->reportAppInstalledToAppReedem();
        EXPECT_FALSE(fs::exists(home.documents() + "/appredeem_app_installed")) << reward;
    }
    EXPECT_EQ(traced("install-report").size(), 2u);
}

TEST_F(GameServicesTest, SmartLinkResolvesARedirectChainAndFallsBackOnFailure) {
    server.server().Get(R"(/go/(\d))", [this](const httplib::Request& q, httplib::Response& r) {
        int n = std::stoi(q.matches[1]);
        if (n > 0) r.set_redirect(server.url("/go/" + std::to_string(n - 1)), n == 2 ? 301 : 302);
        else r.set_content("store page", "text/html");
    });
    ASSERT_GT(server.start(), 0);
    MYSmartLink* link = MYSmartLink::shared();
    link->setDestination(server.url("/go/3"));
    EXPECT_TRUE(link->shouldFollowRedirects());
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return link->url() != nullptr; }));
    EXPECT_EQ(link->url()->absoluteString(), server.url("/go/0"));
    EXPECT_EQ(app->openedURLs(), (std::vector<std::string>{server.url("/go/0")}));
    EXPECT_EQ(link->destination(), server.url("/go/3"));
    EXPECT_EQ(link->text(), "");

    const std::string refused = "http://127.0.0.1:" + std::to_string(ccClosedLocalPort()) + "/promo";
    link->setDestination(refused);
    EXPECT_EQ(link->url(), nullptr);
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return link->url() != nullptr; }));
    EXPECT_EQ(link->url()->absoluteString(), refused);
    EXPECT_EQ(app->openedURLs().back(), refused);
    auto resolved = traced("link-resolved");
    ASSERT_EQ(resolved.size(), 2u);
    EXPECT_NE(resolved[1].find("\"resolved\":false"), std::string::npos);

    // A newer destination wins over one still resolving.
    link->setDestination(server.url("/go/2"));
    link->setDestination(server.url("/go/1"));
    ASSERT_TRUE(ccRunMainLoopUntil([&] { return link->url() != nullptr; }));
    ccRunMainLoopUntil([] { return CCBackgroundWork::pendingCount() == 0; }, 3);
    EXPECT_EQ(link->url()->absoluteString(), server.url("/go/0"));
    EXPECT_EQ(traced("link-resolved").size(), 3u);
}

TEST_F(GameServicesTest, HouseServerAnswersTheDefaultConfiguration) {
    HouseServer house;
    ASSERT_TRUE(house.start(NSBundle::mainBundle()->resourcePath() + "/house"));
    AppConfiguration::setHouseAddress(house.address());
    std::string promotions = AppConfiguration::stringForKey("PromotionsURL");
    EXPECT_EQ(promotions, "http://" + house.address() + "/MZPromo.plist");
    PropertyList list = ccDictionaryWithContentsOfURL(promotions);
    ASSERT_TRUE(list.isDictionary());
    for (auto& [key, e] : list.dictionaryValue()) EXPECT_FALSE(e.boolForKey("urgent")) << key; // the house's own

    // The reward endpoint takes a well-formed report only.
    std::string reward = AppConfiguration::stringForKey("RewardURL");
    httplib::Client client("127.0.0.1", house.port());
    auto ok = client.Get("/appredeem/redeem.php?uuid=u&appid=1&k=3B5BA1E3360DE34A299D8D7018385332");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 200);
    EXPECT_EQ(ok->body, "OK");
    auto bad = client.Get("/appredeem/redeem.php?uuid=u&appid=1&k=lower3b5ba1e3360de34a299d8d70183");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->status, 400);
    EXPECT_EQ(reward, "http://" + house.address() + "/appredeem/");

    // The environment wins; offline empties every address; a stopped house leaves none.
    home.set("ZORVIK_PROMOTIONS_URL", std::string("http://127.0.0.1:1/list.plist"));
    EXPECT_EQ(AppConfiguration::stringForKey("PromotionsURL"), "http://127.0.0.1:1/list.plist");
    home.set("ZORVIK_OFFLINE", std::string("1"));
    EXPECT_EQ(AppConfiguration::stringForKey("PromotionsURL"), "");
    EXPECT_EQ(AppConfiguration::stringForKey("AdMobPublisherID").size(), 15u); // identifiers stay
    home.set("ZORVIK_OFFLINE", std::nullopt);
    house.stop();
    AppConfiguration::setHouseAddress("");
    EXPECT_FALSE(house.isRunning());
    EXPECT_EQ(AppConfiguration::stringForKey("RewardURL"), "");
    EXPECT_EQ(AppConfiguration::environmentName("MobFoxAdURL"), "ZORVIK_MOBFOX_AD_URL");
    EXPECT_EQ(AppConfiguration::environmentName("HouseBanner"), "ZORVIK_HOUSE_BANNER");
}
