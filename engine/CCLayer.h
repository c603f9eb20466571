#pragma once
// A full-screen node that can receive touches (through the shared touch dispatcher) and
// accelerometer readings, each while it is running and the matching flag is on.
#include "CCNode.h"
#include "CCTouchDelegateProtocol.h"
#include "UIAccelerometerDelegate.h"

class CCLayer : public CCNode,
                public CCStandardTouchDelegate,
                public CCTargetedTouchDelegate,
                public UIAccelerometerDelegate {
public:
    static CCLayer* node();
    // Screen-sized and centred: anchor (0.5, 0.5), not relative, content size = winSize.
    bool init() override;
    ~CCLayer() override;

    bool isTouchEnabled() const { return isTouchEnabled_; }
    // While running, registers with (or leaves) the touch dispatcher at once.
    void setIsTouchEnabled(bool enabled);
    bool isAccelerometerEnabled() const { return isAccelerometerEnabled_; }
    // While running, becomes (or stops being) the shared accelerometer's delegate at once.
    void setIsAccelerometerEnabled(bool enabled);

    // By default a standard delegate with priority 0; subclasses may register otherwise.
    virtual void registerWithTouchDispatcher();

    // A layer registered as a targeted delegate must answer this itself: the base version fails
    // with "Layer#ccTouchBegan override me".
    bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
    void accelerometer(UIAccelerometer* accelerometer, UIAcceleration* acceleration) override;

    void onEnter() override;
    void onExit() override;

protected:
    bool isTouchEnabled_ = false;
    bool isAccelerometerEnabled_ = false;

private:
    void startAccelerometer();
    void stopAccelerometer();
};

// The director's window size in points and in pixels, as layers and scenes size themselves.
CGSize ccLayerWinSize();
CGSize ccLayerWinSizeInPixels();
