#include "CCDirectorIOS.h"

#include <GLES/gl.h>

#include "CCAssert.h"
#include "CCLog.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "NSThread.h"
#include "UIApplication.h"
#include "UIWindow.h"
#include "ccMacros.h"

CCDirectorIOS* CCDirectorIOS::sharedDirector() { return static_cast<CCDirectorIOS*>(CCDirector::sharedDirector()); }

CCDirectorIOS::~CCDirectorIOS() {
    // The scenes go before the view, as at the end of a run.
    runningScene_.reset();
    scenesStack_.reset();
    openGLView_.reset();
}

bool CCDirectorIOS::init() {
    if (!CCDirector::init()) return false;
    pixelFormat_ = kCCPixelFormatRGB565;
    depthBufferFormat_ = kCCDepthBufferNone;
    deviceOrientation_ = CCDeviceOrientationPortrait;
    isContentScaleSupported_ = false;
    ccContentScaleFactor = 1;
    runningThread_ = NSThread::currentThread();
    return true;
}

void CCDirectorIOS::drawScene() {
    calculateDeltaTime();
    if (!isPaused_) CCScheduler::sharedScheduler()->tick(dt);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // After the tick: a switch asked for by a timer or action shows in this very frame.
    if (nextScene_) setNextScene();

    glPushMatrix();
    // Landscape left, whatever the orientation field says: the game runs only that way.
    float w = winSizeInPixels_.width, h = winSizeInPixels_.height;
    glTranslatef(w / 2, h / 2, 0);
    glRotatef(-90, 0, 0, 1);
    glTranslatef(-h / 2, -w / 2, 0);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);

    if (runningScene_) runningScene_->visit();

    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();

    if (openGLView_) openGLView_->swapBuffers();
}

void CCDirectorIOS::applyOrientation() {
    float w = winSizeInPixels_.width / 2, h = winSizeInPixels_.height / 2;
    switch (deviceOrientation_) {
    case CCDeviceOrientationLandscapeLeft:
        glTranslatef(w, h, 0);
        glRotatef(-90, 0, 0, 1);
        glTranslatef(-h, -w, 0);
        break;
    case CCDeviceOrientationLandscapeRight:
        glTranslatef(w, h, 0);
        glRotatef(90, 0, 0, 1);
        glTranslatef(-h, -w, 0);
        break;
    case CCDeviceOrientationPortraitUpsideDown:
        glTranslatef(w, h, 0);
        glRotatef(180, 0, 0, 1);
        glTranslatef(-w, -h, 0);
        break;
    default:
        break;
    }
}

void CCDirectorIOS::setOpenGLView(EAGLView* view) {
    CCAssert(view != nullptr, "OpenGLView must be non-nil");
    if (view == openGLView_.get()) return;
    openGLView_ = view;
    openGLViewDidChange(view->bounds().size);
    winSizeInPixels_ = CGSizeMake(winSizeInPoints_.width * ccContentScaleFactor,
                                  winSizeInPoints_.height * ccContentScaleFactor);
    if (ccContentScaleFactor != 1) updateContentScaleFactor();
    CCTouchDispatcher* dispatcher = CCTouchDispatcher::sharedDispatcher();
    view->setTouchDelegate(dispatcher);
    dispatcher->setDispatchEvents(true);
}

void CCDirectorIOS::reshapeProjection(CGSize) {
    // The size in points comes from the view; the argument is the backing size in pixels.
    if (openGLView_) winSizeInPoints_ = openGLView_->bounds().size;
    winSizeInPixels_ = CGSizeMake(winSizeInPoints_.width * ccContentScaleFactor,
                                  winSizeInPoints_.height * ccContentScaleFactor);
    setProjection(projection_);
}

void CCDirectorIOS::end() {
    CCTouchDispatcher::sharedDispatcher()->removeAllDelegates();
    CCDirector::end();
    openGLView_.reset();
}

CGSize CCDirectorIOS::winSize() {
    CGSize s = winSizeInPoints_;
    if (deviceOrientation_ == CCDeviceOrientationLandscapeLeft ||
        deviceOrientation_ == CCDeviceOrientationLandscapeRight)
        return CGSizeMake(s.height, s.width);
    return s;
}

CGSize CCDirectorIOS::winSizeInPixels() {
    CGSize s = winSize();
    return CGSizeMake(s.width * ccContentScaleFactor, s.height * ccContentScaleFactor);
}

CGPoint CCDirectorIOS::convertToGL(CGPoint p) {
    float W = winSizeInPoints_.width, H = winSizeInPoints_.height;
    switch (deviceOrientation_) {
    case CCDeviceOrientationPortrait: return CGPointMake(p.x, H - p.y);
    case CCDeviceOrientationPortraitUpsideDown: return CGPointMake(W - p.x, p.y);
    case CCDeviceOrientationLandscapeLeft: return CGPointMake(p.y, p.x);
    case CCDeviceOrientationLandscapeRight: return CGPointMake(H - p.y, W - p.x);
    default: return CGPointZero;
    }
}

CGPoint CCDirectorIOS::convertToUI(CGPoint p) {
    float W = winSizeInPoints_.width, H = winSizeInPoints_.height;
    CGPoint ui;
    switch (deviceOrientation_) {
    case CCDeviceOrientationPortrait: ui = CGPointMake(p.x, static_cast<float>(static_cast<int>(H - p.y))); break;
    case CCDeviceOrientationPortraitUpsideDown: ui = CGPointMake(static_cast<float>(static_cast<int>(W - p.x)), p.y); break;
    case CCDeviceOrientationLandscapeLeft: ui = CGPointMake(p.y, p.x); break;
    case CCDeviceOrientationLandscapeRight: ui = CGPointMake(W - p.y, H - p.x); break;
    default: ui = CGPointZero; break;
    }
    float scale = 1 / ccContentScaleFactor;
    return CGPointMake(ui.x * scale, ui.y * scale);
}

void CCDirectorIOS::setDeviceOrientation(int orientation) {
    if (orientation == deviceOrientation_) return;
    deviceOrientation_ = orientation;
    if (orientation >= CCDeviceOrientationPortrait && orientation <= CCDeviceOrientationLandscapeRight)
        UIApplication::sharedApplication()->setStatusBarOrientation(orientation, false);
    else
        CCLog("Director: Unknown device orientation");
}

void CCDirectorIOS::setPixelFormat(int format) {
    CCAssert(!isOpenGLAttached(), "Can't change the pixel format after the director was initialized");
    pixelFormat_ = format;
}

void CCDirectorIOS::setDepthBufferFormat(int format) {
    CCAssert(!isOpenGLAttached(), "Can't change the depth buffer format after the director was initialized");
    depthBufferFormat_ = format;
}

bool CCDirectorIOS::attachInWindow(UIWindow* window) {
    return initOpenGLViewWithView(window, window->bounds());
}

bool CCDirectorIOS::attachInView(UIView* view) { return initOpenGLViewWithView(view, view->bounds()); }

bool CCDirectorIOS::attachInView(UIView* view, CGRect frame) { return initOpenGLViewWithView(view, frame); }

bool CCDirectorIOS::initOpenGLViewWithView(UIView* view, CGRect frame) {
    CCAssert(!isOpenGLAttached(),
             "FATAL: Can't re-attach the OpenGL View, because it is already attached. Detach it first");
    if (openGLView_) {
        openGLView_->setFrame(frame);
    } else {
        const std::string& format = pixelFormat_ == kCCPixelFormatRGBA8888 ? kEAGLColorFormatRGBA8 : kEAGLColorFormatRGB565;
        unsigned depth = depthBufferFormat_ == kCCDepthBuffer16   ? 0x81A5u
                         : depthBufferFormat_ == kCCDepthBuffer24 ? 0x81A6u
                                                                  : 0u;
        EAGLView* glView = EAGLView::viewWithFrame(frame, format, depth, false);
        CCAssert(glView != nullptr, "FATAL: Could not alloc and init the OpenGL view. ");
        openGLView_ = glView;
        glView->setOpaque(true);
    }
    winSizeInPoints_ = frame.size;
    winSizeInPixels_ = CGSizeMake(frame.size.width * ccContentScaleFactor, frame.size.height * ccContentScaleFactor);

    CCTouchDispatcher* dispatcher = CCTouchDispatcher::sharedDispatcher();
    openGLView_->setTouchDelegate(dispatcher);
    openGLView_->setUserInteractionEnabled(view->isUserInteractionEnabled());
    dispatcher->setDispatchEvents(view->isUserInteractionEnabled());
    openGLView_->setMultipleTouchEnabled(view->isMultipleTouchEnabled());

    view->addSubview(openGLView_);
    CCAssert(isOpenGLAttached(), "FATAL: Director: Could not attach OpenGL view");
    setGLDefaultValues();
    return true;
}

bool CCDirectorIOS::detach() {
    CCAssert(isOpenGLAttached(),
             "FATAL: Director: Can't detach the OpenGL View, because it is not attached. Attach it first.");
    openGLView_->removeFromSuperview();
    CCAssert(!isOpenGLAttached(),
             "FATAL: Director: Can't detach the OpenGL View, it is still attached to the superview.");
    return true;
}

bool CCDirectorIOS::isOpenGLAttached() const { return openGLView_ && openGLView_->superview() != nullptr; }

float CCDirectorIOS::contentScaleFactor() const { return ccContentScaleFactor; }

void CCDirectorIOS::setContentScaleFactor(float scaleFactor) {
    if (scaleFactor == ccContentScaleFactor) return;
    ccContentScaleFactor = scaleFactor;
    winSizeInPixels_ = CGSizeMake(winSizeInPoints_.width * scaleFactor, winSizeInPoints_.height * scaleFactor);
    if (openGLView_) updateContentScaleFactor();
    setProjection(projection_);
}

void CCDirectorIOS::updateContentScaleFactor() {
    // The GL view takes the factor itself: its drawable gets that many pixels per point.
    openGLView_->setContentScaleFactor(ccContentScaleFactor);
    isContentScaleSupported_ = true;
}
