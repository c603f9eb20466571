#pragma once
// Shared pieces of the action tests: a fixture that owns a pool and purges the manager and
// scheduler afterwards, and a probe action that records what it is told.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CCActionInterval.h"
#include "CCActionManager.h"
#include "CCAutoreleasePool.h"
#include "CCNode.h"
#include "CCScheduler.h"

class ActionTest : public ::testing::Test {
protected:
    void SetUp() override { CCActionManager::sharedManager(); }
    void TearDown() override {
        CCActionManager::purgeSharedManager();
        CCScheduler::purgeSharedScheduler();
    }
    static void tick(float dt) { CCScheduler::sharedScheduler()->tick(dt); }
    // A node on stage, so that its actions run at once.
    static CCNode* runningNode() {
        CCNode* node = CCNode::node();
        node->onEnter();
        return node;
    }

    CCAutoreleaseScope pool;
};

// Records starts, updates and stops into a shared log ("name:start", "name:0.5", "name:stop").
class Probe : public CCActionInterval {
public:
    static Probe* make(float duration, std::vector<std::string>* log, std::string name) {
        auto* p = ccCreate<Probe>([&](Probe* a) { return a->initWithDuration(duration); });
        p->log = log;
        p->name = std::move(name);
        return p;
    }
    ~Probe() override {
        if (destroyed) *destroyed = true;
    }
    void startWithTarget(CCNode* target) override {
        CCActionInterval::startWithTarget(target);
        if (log) log->push_back(name + ":start");
    }
    void update(ccTime t) override {
        if (log) log->push_back(name + ":" + format(t));
        if (onUpdate) onUpdate(t);
    }
    void stop() override {
        if (log) log->push_back(name + ":stop");
        CCActionInterval::stop();
    }
    CCFiniteTimeAction* reverse() override { return make(duration_, log, name + "'"); }
    Probe* copy() const override {
        auto* p = ccNew<Probe>([&](Probe* a) { return a->initWithDuration(duration_); });
        p->log = log;
        p->name = name;
        return p;
    }
    static std::string format(float t) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", t);
        return text;
    }

    std::vector<std::string>* log = nullptr;
    std::string name;
    std::function<void(float)> onUpdate;
    bool* destroyed = nullptr;
};

using Log = std::vector<std::string>;
