#include <gtest/gtest.h>

#include <thread>

#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCLog.h"
#include "CCObject.h"
#include "CCPtr.h"
#include "CCSelector.h"

namespace {

struct Tracked : CCObject {
    explicit Tracked(std::vector<std::string>* log = nullptr, std::string name = "") : log(log), name(std::move(name)) {}
    ~Tracked() override {
        if (log) log->push_back(name);
    }
    void tick(float dt) { ticks.push_back(dt); }
    void other(float) {}
    std::vector<std::string>* log;
    std::string name;
    std::vector<float> ticks;
};

TEST(CCObject, CountsReferencesAndDeletesAtZero) {
    std::vector<std::string> gone;
    auto* o = new Tracked(&gone, "o");
    EXPECT_EQ(o->retainCount(), 1u);
    o->retain();
    EXPECT_EQ(o->retainCount(), 2u);
    o->release();
    EXPECT_TRUE(gone.empty());
    o->release();
    EXPECT_EQ(gone, std::vector<std::string>{"o"});
}

TEST(CCObject, AutoreleasedObjectsLiveUntilThePoolDrains) {
    std::vector<std::string> gone;
    {
        CCAutoreleaseScope scope;
        auto* o = ccAutorelease(new Tracked(&gone, "a"));
        EXPECT_EQ(CCAutoreleasePool::pendingCount(), 1u);
        CCPtr<Tracked> kept(ccAutorelease(new Tracked(&gone, "b")));
        EXPECT_EQ(o->retainCount(), 1u);
        EXPECT_EQ(kept->retainCount(), 2u);
        CCAutoreleasePool::drain();
        EXPECT_EQ(gone, std::vector<std::string>{"a"});
        EXPECT_EQ(kept->retainCount(), 1u);
    }
    EXPECT_EQ(gone, (std::vector<std::string>{"a", "b"}));
}

TEST(CCObject, SmartPointerRetainsOnAssignAndReleasesOnReset) {
    std::vector<std::string> gone;
    auto* a = new Tracked(&gone, "a");
    {
        CCPtr<Tracked> p(a);
        EXPECT_EQ(a->retainCount(), 2u);
        CCPtr<Tracked> q = p;
        EXPECT_EQ(a->retainCount(), 3u);
        p = p.get(); // self-assignment keeps the object alive
        EXPECT_EQ(a->retainCount(), 3u);
        CCPtr<Tracked> moved = std::move(q);
        EXPECT_EQ(a->retainCount(), 3u);
        EXPECT_FALSE(q);
    }
    EXPECT_EQ(a->retainCount(), 1u);
    auto owned = CCPtr<Tracked>::adopt(a);
    owned.reset();
    EXPECT_EQ(gone, std::vector<std::string>{"a"});
}

TEST(CCObject, DescriptionNamesTheDynamicClass) {
    CCPtr<Tracked> t = CCPtr<Tracked>::adopt(new Tracked);
    EXPECT_NE(t->description().find("Tracked = "), std::string::npos);
}

TEST(CCSelector, SameMethodComparesEqualAndCalls) {
    SEL_SCHEDULE a = schedule_selector(Tracked::tick);
    SEL_SCHEDULE b = schedule_selector(Tracked::tick);
    SEL_SCHEDULE c = schedule_selector(Tracked::other);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_FALSE(SEL_SCHEDULE());
    CCPtr<Tracked> t = CCPtr<Tracked>::adopt(new Tracked);
    a(t, 0.5f);
    EXPECT_EQ(t->ticks, std::vector<float>{0.5f});
}

TEST(CCLog, SinkCapturesFormattedLines) {
    std::vector<std::string> lines;
    auto previous = ccSetLogSink([&](const std::string& l) { lines.push_back(l); });
    CCLog("value %d\n", 7);
    ccSetLogSink(previous);
    EXPECT_EQ(lines, std::vector<std::string>{"value 7"});
}

} // namespace

#ifndef NDEBUG
TEST(CCObjectThreads, RetainOrReleaseOffTheMakingThreadStopsDebugBuilds) {
    CCObject* object = new CCObject;
    EXPECT_DEATH(std::thread([object] { object->retain(); }).join(),
                 "CCObject retained or released off the thread that made it");
    EXPECT_DEATH(std::thread([object] { object->release(); }).join(),
                 "CCObject retained or released off the thread that made it");
    // An object made on a worker belongs to it.
    std::thread([] {
        auto* own = new CCObject;
        own->retain();
        own->release();
        own->release();
    }).join();
    object->release();
}
#endif
