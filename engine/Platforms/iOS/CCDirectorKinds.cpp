#include "CCDirectorKinds.h"

#include <cmath>

#include "CADisplayLink.h"
#include "CCAssert.h"
#include "CCAutoreleasePool.h"
#include "CCLog.h"
#include "NSRunLoop.h"
#include "NSThread.h"
#include "NSTimer.h"

namespace {
// The shared director, made as kind T when none exists yet.
template <class T> CCDirectorIOS* sharedAs() {
    if (!CCDirector::hasSharedDirector()) {
        T* director = new T; // becomes the singleton in its constructor
        if (!director->init()) director->release();
    }
    return CCDirectorIOS::sharedDirector();
}
} // namespace

// ---- timer ----

CCDirectorIOS* CCDirectorTimer::sharedDirector() { return sharedAs<CCDirectorTimer>(); }

void CCDirectorTimer::startAnimation() {
    CCAssert(animationTimer_ == nullptr, "animationTimer must be nil. Calling startAnimation twice?");
    resetLastUpdate();
    animationTimer_ = NSTimer::scheduledTimerWithTimeInterval(
        animationInterval_, this, ccSelector<void(NSTimer*)>(&CCDirectorTimer::timerFired, "mainLoop"), nullptr, true);
}

void CCDirectorTimer::timerFired(NSTimer*) { mainLoop(); }

void CCDirectorTimer::stopAnimation() {
    if (animationTimer_) animationTimer_->invalidate();
    animationTimer_.reset();
}

void CCDirectorTimer::setAnimationInterval(double interval) {
    animationInterval_ = interval;
    if (animationTimer_) {
        stopAnimation();
        startAnimation();
    }
}

// ---- display link ----

CCDirectorIOS* CCDirectorDisplayLink::sharedDirector() { return sharedAs<CCDirectorDisplayLink>(); }

void CCDirectorDisplayLink::startAnimation() {
    resetLastUpdate();
    displayLink_ = CADisplayLink::displayLinkWithTarget(
        this, ccSelector<void()>(&CCDirectorDisplayLink::drawScene, "drawScene"));
    displayLink_->setFrameInterval(static_cast<int>(std::floor(animationInterval_ * 60.0f)));
    displayLink_->addToRunLoop(NSRunLoop::currentRunLoop());
}

void CCDirectorDisplayLink::stopAnimation() {
    if (displayLink_) displayLink_->invalidate();
    displayLink_.reset();
}

void CCDirectorDisplayLink::setAnimationInterval(double interval) {
    animationInterval_ = interval;
    if (displayLink_) {
        stopAnimation();
        startAnimation();
    }
}

// ---- fast ----

CCDirectorIOS* CCDirectorFast::sharedDirector() { return sharedAs<CCDirectorFast>(); }

bool CCDirectorFast::init() {
    if (!CCDirectorIOS::init()) return false;
    CCAutoreleasePool::push();
    poolDepth_ = CCAutoreleasePool::depth();
    return true;
}

CCDirectorFast::~CCDirectorFast() { closeInitPool(); }

void CCDirectorFast::closeInitPool() {
    // Only while that pool is still the innermost one.
    if (poolDepth_ && CCAutoreleasePool::depth() == poolDepth_) CCAutoreleasePool::pop();
    poolDepth_ = 0;
}

void CCDirectorFast::startAnimation() {
    closeInitPool();
    resetLastUpdate();
    isRunning_ = true;
    retain(); // kept alive until the loop has run
    ccPerformOnMainThread(
        [this] {
            CCDirector::sharedDirector()->mainLoop();
            release();
        },
        false);
}

void CCDirectorFast::mainLoop() {
    NSRunLoop* loop = NSRunLoop::currentRunLoop();
    while (isRunning_) {
        CCAutoreleaseScope pool;
        while (loop->runOnce(0)) {
            if (!isRunning_) return;
        }
        if (isPaused_) CCClock::sleep(0.25);
        drawScene();
        while (loop->runOnce(0)) {
            if (!isRunning_) return;
        }
    }
}

void CCDirectorFast::stopAnimation() { isRunning_ = false; }

void CCDirectorFast::setAnimationInterval(double) { CCLog("FastDirectory doesn't support setAnimationInterval, yet"); }

// ---- fast threaded ----

CCDirectorIOS* CCDirectorFastThreaded::sharedDirector() { return sharedAs<CCDirectorFastThreaded>(); }

bool CCDirectorFastThreaded::init() {
    if (!CCDirectorIOS::init()) return false;
    isRunning_ = false;
    return true;
}

CCDirectorFastThreaded::~CCDirectorFastThreaded() {
    if (!thread_) return;
    // The thread may be waiting for a frame on this (main) thread: keep serving it until it ends.
    thread_->cancel();
    isRunning_ = false;
    while (!thread_->isFinished()) NSRunLoop::mainRunLoop()->runOnce(0.001);
}

void CCDirectorFastThreaded::startAnimation() {
    resetLastUpdate();
    isRunning_ = true;
    if (thread_ && !thread_->isFinished()) return; // the loop is still there, idle
    // The thread asks for its own object: this one is the main thread's.
    thread_ = NSThread::detachNewThread([this] { threadLoop(NSThread::currentThread()); });
}

void CCDirectorFastThreaded::threadLoop(NSThread* thread) {
    while (!thread->isCancelled()) {
        if (isRunning_) {
            ccPerformOnMainThread(
                [this] {
                    if (isRunning_) drawScene();
                },
                true);
            // Real sleeps: this thread never touches the frame clock.
            if (isPaused_) NSThread::sleepForTimeInterval(0.25);
        } else {
            // Idle: do not spin a core while nobody wants frames.
            NSThread::sleepForTimeInterval(0.001);
        }
    }
}

void CCDirectorFastThreaded::stopAnimation() { isRunning_ = false; }

void CCDirectorFastThreaded::setAnimationInterval(double) {
    CCLog("FastDirector doesn't support setAnimationInterval, yet");
}
