#pragma once
// The one object that owns the running scene, the stack of suspended scenes, the frame clock
// and the GL state every frame starts from. Each frame: measure the elapsed time, tick the
// shared scheduler, switch to a pending scene, visit the running scene, present the frame.
//
// The platform half (the GL view, orientation, content scale, attaching the view) is
// CCDirectorIOS; the four kinds below it differ only in what drives the frame.
#include <atomic>

#include "CCArray.h"
#include "CCClock.h"
#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "ccTypes.h"

class CCScene;
class EAGLView;
class NSThread;

// Director kinds (setDirectorType).
enum {
    kCCDirectorTypeNSTimer = 0,
    kCCDirectorTypeMainLoop = 1,
    kCCDirectorTypeThreadMainLoop = 2,
    kCCDirectorTypeDisplayLink = 3,
    kCCDirectorTypeDefault = kCCDirectorTypeNSTimer,
};

// Projections (setProjection); any other value is custom: stored, no matrices set.
enum {
    kCCDirectorProjection2D = 0,
    kCCDirectorProjection3D = 1,
    kCCDirectorProjectionCustom = 3,
    kCCDirectorProjectionDefault = kCCDirectorProjection3D,
};

class CCDirector : public CCObject {
public:
    // The singleton; made on first use as the default kind (the timer director).
    static CCDirector* sharedDirector();
    // Picks the kind and creates it (the first call that creates a director wins). The display
    // link kind needs system 3.1 or later: NO on older systems. Unknown kinds fail.
    static bool setDirectorType(int type);
    // Destroys the singleton (the next use makes a fresh one). Not part of the frame loop:
    // for tests and for a clean process exit.
    static void purgeSharedDirector();
    // True while a director exists.
    static bool hasSharedDirector();

    ~CCDirector() override;
    virtual bool init();

    // ---- scene control ----
    void runWithScene(CCScene* scene);
    void pushScene(CCScene* scene);
    void replaceScene(CCScene* scene);
    void popScene();
    virtual void end();
    CCScene* runningScene() const { return runningScene_; }
    CCScene* nextScene() const { return nextScene_; }
    bool sendCleanupToScene() const { return sendCleanupToScene_; }
    unsigned sceneCount() const { return scenesStack_->count(); }

    // ---- frame and clock ----
    virtual void startAnimation() = 0;
    virtual void stopAnimation() = 0;
    virtual void setAnimationInterval(double interval) = 0;
    double animationInterval() const { return animationInterval_; }
    virtual void mainLoop() { drawScene(); }
    virtual void drawScene() = 0;
    void calculateDeltaTime();
    ccTime deltaTime() const { return dt; }
    void pause();
    void resume();
    bool isPaused() const { return isPaused_; }
    void setNextDeltaTimeZero(bool zero) { nextDeltaTimeZero_ = zero; }
    bool nextDeltaTimeZero() const { return nextDeltaTimeZero_; }
    void setDisplayFPS(bool display) { displayFPS_ = display; }
    bool displayFPS() const { return displayFPS_; }

    // ---- geometry ----
    virtual CGSize winSize();
    virtual CGSize winSizeInPixels();
    CGSize displaySizeInPixels() const { return winSizeInPixels_; }
    // Between view points (origin top-left, portrait) and scene points; the base gives zero.
    virtual CGPoint convertToGL(CGPoint viewPoint);
    virtual CGPoint convertToUI(CGPoint scenePoint);
    float getZEye() const;

    // ---- GL state ----
    // The view the frames are drawn into (held by the platform half); nullptr until one is set.
    virtual EAGLView* openGLView() const = 0;
    // Takes the view and sets the GL state up for its size.
    virtual void setOpenGLView(EAGLView* view) = 0;
    void setGLDefaultValues();
    int projection() const { return projection_; }
    void setProjection(int projection);
    virtual void reshapeProjection(CGSize newWindowSize);
    void setAlphaBlending(bool on);
    void setDepthTest(bool on);

    NSThread* runningThread() const { return runningThread_; }

    // Purges the bitmap-font configurations and the shared texture cache (memory warnings).
    void purgeCachedData();

    std::string description() const override;

protected:
    CCDirector();
    // Replaces the running scene by the next one, with the lifecycle messages.
    void setNextScene();
    void resetLastUpdate();
    // The platform half calls this once it holds a new view of this size in points.
    void openGLViewDidChange(CGSize size);

    double animationInterval_ = 1.0 / 60;
    double oldAnimationInterval_ = 1.0 / 60;
    bool displayFPS_ = false;
    std::atomic<bool> isPaused_{false}; // read by the fast-threaded kind's thread
    CCPtr<CCScene> runningScene_;
    CCScene* nextScene_ = nullptr; // not retained: the stack holds it
    bool sendCleanupToScene_ = false;
    CCPtr<CCArray> scenesStack_;
    CCTimeValue lastUpdate_{};
    ccTime dt = 0;
    bool nextDeltaTimeZero_ = false;
    int projection_ = kCCDirectorProjectionDefault;
    CGSize winSizeInPoints_{0, 0};
    CGSize winSizeInPixels_{0, 0};
    NSThread* runningThread_ = nullptr;
};
