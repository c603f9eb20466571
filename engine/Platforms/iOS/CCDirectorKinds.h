#pragma once
// The four frame drivers of the platform director.
#include <atomic>

#include "CCDirectorIOS.h"

class CADisplayLink;
class NSThread;
class NSTimer;

// A repeating timer with the animation interval calls mainLoop.
class CCDirectorTimer : public CCDirectorIOS {
public:
    // Makes this kind unless a director exists; the shared director either way.
    static CCDirectorIOS* sharedDirector();
    void startAnimation() override;
    void stopAnimation() override;
    void setAnimationInterval(double interval) override;
    NSTimer* animationTimer() const { return animationTimer_; }

private:
    void timerFired(NSTimer* timer);
    CCPtr<NSTimer> animationTimer_;
};

// A display link fires drawScene every floor(interval × 60)-th display refresh.
class CCDirectorDisplayLink : public CCDirectorIOS {
public:
    // Makes this kind unless a director exists; the shared director either way.
    static CCDirectorIOS* sharedDirector();
    void startAnimation() override;
    void stopAnimation() override;
    void setAnimationInterval(double interval) override;
    CADisplayLink* displayLink() const { return displayLink_; }

private:
    CCPtr<CADisplayLink> displayLink_;
};

// A loop on the main thread that pumps the run loop and draws, as fast as it can.
class CCDirectorFast : public CCDirectorIOS {
public:
    // Makes this kind unless a director exists; the shared director either way.
    static CCDirectorIOS* sharedDirector();
    ~CCDirectorFast() override;
    void startAnimation() override;
    void stopAnimation() override;
    void setAnimationInterval(double interval) override;
    void mainLoop() override;
    bool isRunning() const { return isRunning_; }
    bool init() override;

private:
    void closeInitPool();
    bool isRunning_ = false;
    std::size_t poolDepth_ = 0; // depth of the pool opened at init; 0 when closed
};

// A background thread asks the main thread to draw each frame and waits for it.
class CCDirectorFastThreaded : public CCDirectorIOS {
public:
    // Makes this kind unless a director exists; the shared director either way.
    static CCDirectorIOS* sharedDirector();
    ~CCDirectorFastThreaded() override;
    void startAnimation() override;
    void stopAnimation() override;
    void setAnimationInterval(double interval) override;
    bool isRunning() const { return isRunning_.load(); }
    bool init() override;

private:
    void threadLoop(NSThread* thread);
    std::atomic<bool> isRunning_{false};
    CCPtr<NSThread> thread_;
};
