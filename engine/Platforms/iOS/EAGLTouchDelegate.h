#pragma once
// Receiver of the GL view's touch events (the touch dispatcher): the view forwards each
// platform touch message with the same set and event.
class NSSet;
class UIEvent;

class EAGLTouchDelegate {
public:
    virtual ~EAGLTouchDelegate() = default;
    virtual void touchesBegan(NSSet* touches, UIEvent* event) = 0;
    virtual void touchesMoved(NSSet* touches, UIEvent* event) = 0;
    virtual void touchesEnded(NSSet* touches, UIEvent* event) = 0;
    virtual void touchesCancelled(NSSet* touches, UIEvent* event) = 0;
};
