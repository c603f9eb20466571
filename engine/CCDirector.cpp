#include "CCDirector.h"

#include <GLES/gl.h>

#include "CCActionManager.h"
#include "CCAssert.h"
#include "CCEnginePlatform.h"
#include "CCLabelBMFont.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCSpriteFrameCache.h"
#include "CCTextureCache.h"
#include "CCTrace.h"
#include "CCTransitionScene.h"
#include "glu.h"


namespace {
CCDirector* sharedDirector_ = nullptr;
} // namespace

CCDirector* CCDirector::sharedDirector() {
    if (!sharedDirector_) CCEnginePlatform::makeDirector(kCCDirectorTypeDefault);
    return sharedDirector_;
}

bool CCDirector::hasSharedDirector() { return sharedDirector_ != nullptr; }

bool CCDirector::setDirectorType(int type) { return CCEnginePlatform::makeDirector(type); }

void CCDirector::purgeSharedDirector() {
    if (!sharedDirector_) return;
    CCDirector* director = sharedDirector_;
    director->stopAnimation();
    director->release();
    sharedDirector_ = nullptr;
}

CCDirector::CCDirector() {
    CCAssert(sharedDirector_ == nullptr, "Attempted to allocate a second instance of a singleton.");
    sharedDirector_ = this;
}

CCDirector::~CCDirector() {
    runningScene_.reset();
    scenesStack_.reset();
    if (sharedDirector_ == this) sharedDirector_ = nullptr;
}

bool CCDirector::init() {
    runningScene_.reset();
    nextScene_ = nullptr;
    oldAnimationInterval_ = animationInterval_ = 1.0 / 60;
    scenesStack_ = CCPtr<CCArray>::adopt(ccNew<CCArray>([](CCArray* a) { return a->initWithCapacity(10); }));
    projection_ = kCCDirectorProjectionDefault;
    displayFPS_ = false;
    isPaused_ = false;
    winSizeInPoints_ = winSizeInPixels_ = CGSizeZero;
    return true;
}

std::string CCDirector::description() const {
    return std::string("<").append(className()).append(" = ").append(ccAddressString(this)).append(">");
}

// ---- scene control ----

void CCDirector::runWithScene(CCScene* scene) {
    CCAssert(scene != nullptr, "Argument must be non-nil");
    CCAssert(runningScene_ == nullptr,
             "You can't run an scene if another Scene is running. Use replaceScene or pushScene instead");
    pushScene(scene);
    startAnimation();
}

void CCDirector::pushScene(CCScene* scene) {
    CCAssert(scene != nullptr, "Argument must be non-nil");
    sendCleanupToScene_ = false;
    scenesStack_->addObject(scene);
    nextScene_ = scene;
}

void CCDirector::replaceScene(CCScene* scene) {
    CCAssert(scene != nullptr, "Argument must be non-nil");
    unsigned index = scenesStack_->count();
    sendCleanupToScene_ = true;
    // With an empty stack there is nothing to replace: the scene becomes the only one.
    if (index > 0) {
        scene->retain(); // it may be the element being replaced
        scenesStack_->removeLastObject();
        scenesStack_->addObject(scene);
        scene->release();
    } else {
        scenesStack_->addObject(scene);
    }
    nextScene_ = scene;
}

void CCDirector::popScene() {
    CCAssert(runningScene_ != nullptr, "A running Scene is needed");
    scenesStack_->removeLastObject();
    unsigned count = scenesStack_->count();
    if (count == 0)
        end();
    else
        nextScene_ = static_cast<CCScene*>(scenesStack_->objectAtIndex(count - 1));
}

void CCDirector::end() {
    // The running scene may own the last references to nodes that the caches below hold.
    if (CCScene* running = runningScene_) {
        running->onExit();
        running->cleanup();
    }
    runningScene_.reset();
    nextScene_ = nullptr;
    scenesStack_->removeAllObjects();
    stopAnimation();
    CCLabelBMFont::purgeCachedData();
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCScheduler::purgeSharedScheduler();
    CCActionManager::purgeSharedManager();
    CCTextureCache::purgeSharedTextureCache();
}

void CCDirector::setNextScene() {
    bool runningIsTransition = dynamic_cast<CCTransitionScene*>(runningScene_.get()) != nullptr;
    bool newIsTransition = dynamic_cast<CCTransitionScene*>(nextScene_) != nullptr;

    // A transition sends these to the outgoing scene itself, when it ends.
    if (!newIsTransition && runningScene_) {
        runningScene_->onExit();
        if (sendCleanupToScene_) runningScene_->cleanup();
    }
    runningScene_ = nextScene_;
    nextScene_ = nullptr;
    if (runningScene_)
        CCTrace::event("scene", [&] { return CCTraceFields{{"scene", runningScene_->className()}}; });
    if (!runningIsTransition && runningScene_) {
        runningScene_->onEnter();
        runningScene_->onEnterTransitionDidFinish();
    }
}

// ---- clock ----

void CCDirector::resetLastUpdate() {
    CCTimeValue now;
    if (CCClock::getTimeOfDay(&now)) lastUpdate_ = now;
}

void CCDirector::calculateDeltaTime() {
    CCTimeValue now;
    if (!CCClock::getTimeOfDay(&now)) {
        dt = 0;
        return;
    }
    if (nextDeltaTimeZero_) {
        dt = 0;
        nextDeltaTimeZero_ = false;
    } else {
        double delta = static_cast<double>(now.tv_sec - lastUpdate_.tv_sec) +
                       static_cast<double>(now.tv_usec - lastUpdate_.tv_usec) * 0.000001;
        dt = static_cast<ccTime>(delta);
        if (dt < 0) dt = 0;
    }
    lastUpdate_ = now;
}

void CCDirector::pause() {
    if (isPaused_) return;
    oldAnimationInterval_ = animationInterval_;
    // Four frames a second while paused.
    setAnimationInterval(1 / 4.0);
    isPaused_ = true;
}

void CCDirector::resume() {
    if (!isPaused_) return;
    setAnimationInterval(oldAnimationInterval_);
    resetLastUpdate();
    isPaused_ = false;
    dt = 0;
}

// ---- geometry ----

CGSize CCDirector::winSize() { return winSizeInPoints_; }
CGSize CCDirector::winSizeInPixels() { return winSizeInPixels_; }
CGPoint CCDirector::convertToGL(CGPoint) { return CGPointZero; }
CGPoint CCDirector::convertToUI(CGPoint) { return CGPointZero; }

float CCDirector::getZEye() const { return winSizeInPixels_.height / 1.1566f; }

// ---- GL state ----

void CCDirector::openGLViewDidChange(CGSize size) {
    winSizeInPoints_ = size;
    winSizeInPixels_ = size;
    setGLDefaultValues();
}

void CCDirector::setGLDefaultValues() {
    CCAssert(openGLView() != nullptr, "openGLView_ must be initialized");
    setAlphaBlending(true);
    setDepthTest(true);
    setProjection(projection_);
    glClearColor(0, 0, 0, 1);
}

void CCDirector::setProjection(int projection) {
    CGSize size = winSizeInPixels_;
    switch (projection) {
    case kCCDirectorProjection2D:
        glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, size.width, 0, size.height, -1024, 1024);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        break;
    case kCCDirectorProjection3D: {
        glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60, size.width / size.height, 0.5f, 1500.0f);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        float eye = getZEye();
        gluLookAt(size.width / 2, size.height / 2, eye, size.width / 2, size.height / 2, 0, 0, 1, 0);
        break;
    }
    default:
        break; // custom: the caller sets its own matrices
    }
    projection_ = projection;
}

void CCDirector::reshapeProjection(CGSize newWindowSize) {
    winSizeInPoints_ = winSizeInPixels_ = newWindowSize;
    setProjection(projection_);
}

void CCDirector::setAlphaBlending(bool on) {
    if (on) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
}

void CCDirector::setDepthTest(bool on) {
    if (on) {
        glClearDepthf(1.0f);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
}

void CCDirector::purgeCachedData() {
    CCLabelBMFont::purgeCachedData();
    CCTextureCache::purgeSharedTextureCache();
}
