#include "CCWindowInput.h"

#include <algorithm>

#include "CCWindowLayout.h"

bool CCWindowInput::isDown(long finger) const {
    return std::find(fingersDown_.begin(), fingersDown_.end(), finger) != fingersDown_.end();
}

void CCWindowInput::touch(long finger, CCSurfaceTouchPhase phase, CGPoint viewPoint, double timestamp) {
    if (input_) input_->touch(finger, phase, viewPoint, timestamp);
}

CCWindowInput::Request CCWindowInput::handle(const CCWindowEvent& e, int windowWidth, int windowHeight) {
    using Type = CCWindowEvent::Type;
    const CCWindowLayout layout = CCWindowLayout::fit(windowWidth, windowHeight, orientation());
    switch (e.type) {
    case Type::MouseDown:
        if (!e.primaryButton || mouseDown_ || !layout.containsWindowPoint(e.x, e.y)) break;
        mouseDown_ = true;
        touch(kMouseFinger, CCSurfaceTouchPhase::Began, layout.viewPointFromWindow(e.x, e.y), e.timestamp);
        break;
    case Type::MouseUp:
        if (!e.primaryButton || !mouseDown_) break;
        mouseDown_ = false;
        touch(kMouseFinger, CCSurfaceTouchPhase::Ended, layout.viewPointFromWindow(e.x, e.y), e.timestamp);
        break;
    case Type::MouseMove:
        if (mouseDown_)
            touch(kMouseFinger, CCSurfaceTouchPhase::Moved, layout.viewPointFromWindow(e.x, e.y), e.timestamp);
        break;
    case Type::FingerDown:
    case Type::FingerMove:
    case Type::FingerUp: {
        const float x = e.x * float(windowWidth), y = e.y * float(windowHeight);
        const long finger = kTouchFingerBase + e.finger;
        if (e.type == Type::FingerDown) {
            // A finger that lands beside the picture, or one already down, is not the view's.
            if (isDown(finger) || !layout.containsWindowPoint(x, y)) break;
            fingersDown_.push_back(finger);
            touch(finger, CCSurfaceTouchPhase::Began, layout.viewPointFromWindow(x, y), e.timestamp);
        } else {
            // Only fingers that began on the picture (and were not lifted by focus loss) go on.
            if (!isDown(finger)) break;
            const bool up = e.type == Type::FingerUp;
            if (up) fingersDown_.erase(std::find(fingersDown_.begin(), fingersDown_.end(), finger));
            touch(finger, up ? CCSurfaceTouchPhase::Ended : CCSurfaceTouchPhase::Moved,
                  layout.viewPointFromWindow(x, y), e.timestamp);
        }
        break;
    }
    case Type::KeyDown:
    case Type::KeyUp:
        if (e.type == Type::KeyDown && e.key == CCWindowEvent::Key::FullScreen)
            return e.repeat ? Request::None : Request::ToggleFullScreen;
        key(e);
        break;
    case Type::FocusLost:
        tilt_.releaseAll();
        mouseDown_ = false;
        fingersDown_.clear();
        if (input_) input_->focusLost(e.timestamp);
        break;
    case Type::FocusGained:
        if (input_) input_->focusGained();
        break;
    case Type::Close:
        if (input_) input_->closeRequested();
        return Request::Close;
    }
    return Request::None;
}

void CCWindowInput::key(const CCWindowEvent& e) {
    using Key = CCWindowEvent::Key;
    const bool down = e.type == CCWindowEvent::Type::KeyDown;
    switch (e.key) {
    case Key::TiltLeft:
    case Key::TiltRight: {
        const auto side = e.key == Key::TiltLeft ? CCKeyboardTilt::Left : CCKeyboardTilt::Right;
        down ? tilt_.press(side, e.timestamp) : tilt_.release(side, e.timestamp);
        break;
    }
    case Key::Flat:
        if (down) tilt_.press(CCKeyboardTilt::Flat, e.timestamp);
        break;
    case Key::FullScreen: break;
    case Key::Space:
    case Key::Escape:
    case Key::Other:
        if (down && !e.repeat && keyHandler_)
            keyHandler_(e.key == Key::Space ? CCWindowKey::Space : e.key == Key::Escape ? CCWindowKey::Escape : CCWindowKey::Other);
        break;
    }
}
