#pragma once
// The director's platform half: device orientation, content scale factor, the GL view's pixel
// and depth formats, attaching the view to a window, and routing its touches to the touch
// dispatcher. Every frame is drawn in the landscape orientation.
#include "CCDirector.h"
#include "EAGLView.h"

class UIView;
class UIWindow;

// Device orientations.
enum {
    CCDeviceOrientationPortrait = 1,
    CCDeviceOrientationPortraitUpsideDown = 2,
    CCDeviceOrientationLandscapeLeft = 3,
    CCDeviceOrientationLandscapeRight = 4,
};

// Pixel formats of the GL view.
enum { kCCPixelFormatRGB565 = 0, kCCPixelFormatRGBA8888 = 1, kCCPixelFormatDefault = kCCPixelFormatRGB565 };

// Depth buffer formats of the GL view.
enum { kCCDepthBufferNone = 0, kCCDepthBuffer16 = 1, kCCDepthBuffer24 = 2 };

class CCDirectorIOS : public CCDirector {
public:
    // The shared director as the platform director (every kind is one).
    static CCDirectorIOS* sharedDirector();

    ~CCDirectorIOS() override;
    void drawScene() override;
    EAGLView* openGLView() const override { return openGLView_; }
    void setOpenGLView(EAGLView* view) override;
    void reshapeProjection(CGSize newWindowSize) override;
    void end() override;

    // In landscape (3 and 4) width and height trade places.
    CGSize winSize() override;
    CGSize winSizeInPixels() override;
    CGPoint convertToGL(CGPoint viewPoint) override;
    CGPoint convertToUI(CGPoint scenePoint) override;

    int deviceOrientation() const { return deviceOrientation_; }
    void setDeviceOrientation(int orientation);
    // The orientation's transform; the frame itself always draws landscape left.
    void applyOrientation();

    int pixelFormat() const { return pixelFormat_; }
    void setPixelFormat(int format);
    int depthBufferFormat() const { return depthBufferFormat_; }
    void setDepthBufferFormat(int format);

    bool attachInWindow(UIWindow* window);
    bool attachInView(UIView* view);
    bool attachInView(UIView* view, CGRect frame);
    bool initOpenGLViewWithView(UIView* view, CGRect frame);
    bool detach();
    bool isOpenGLAttached() const;

    float contentScaleFactor() const;
    void setContentScaleFactor(float scaleFactor);
    void updateContentScaleFactor();
    bool isContentScaleSupported() const { return isContentScaleSupported_; }

    bool init() override;

protected:
    CCPtr<EAGLView> openGLView_;
    int deviceOrientation_ = CCDeviceOrientationPortrait;
    bool isContentScaleSupported_ = false;
    int pixelFormat_ = kCCPixelFormatRGB565;
    int depthBufferFormat_ = kCCDepthBufferNone;
};
