#pragma once
// A sprite that acts as a push button inside the scene: it reports a press, a release on the
// button and a release (or a touch) off it to its delegate. It sees every touch first
// (priority 0) and never swallows, so layers below still get the touch.
#include "CCSprite.h"
#include "CCTouchDelegateProtocol.h"

class MZButtonDelegate {
public:
    virtual ~MZButtonDelegate() = default;
    // A touch began on the button.
    virtual void didPressDown() {}
    // A touch began off the button, or the touch that pressed it ended (or was cancelled) off it.
    virtual void stoppedPressing() {}
    // The touch that pressed the button ended on it.
    virtual void didPressButton() {}
};

class MZButtonNode : public CCSprite, public CCTargetedTouchDelegate {
public:
    static MZButtonNode* spriteWithFile(const std::string& filename);

    // Not retained; may be nullptr.
    MZButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(MZButtonDelegate* delegate) { delegate_ = delegate; }
    bool hasBeenTouched() const { return hasBeenTouched_; }

    // The button listens to touches exactly while it is on the stage.
    void onEnter() override;
    void onExit() override;

    bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
    void ccTouchEnded(UITouch* touch, UIEvent* event) override;
    // A cancelled press releases the button, so that later touches work again.
    void ccTouchCancelled(UITouch* touch, UIEvent* event) override;

    // The picture's rectangle in the node's own space, grown by 10 points to the right and up.
    bool isInHitArea(CGPoint nodePoint) const;

private:
    bool hasBeenTouched_ = false;
    MZButtonDelegate* delegate_ = nullptr;
};
