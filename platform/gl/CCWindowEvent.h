#pragma once
// One window event as the input translator takes it: the SDL side fills these from SDL's own
// events, so the translation itself runs (and is tested) without a window.

struct CCWindowEvent {
    enum class Type { MouseDown, MouseUp, MouseMove, FingerDown, FingerMove, FingerUp, KeyDown, KeyUp, FocusLost, FocusGained, Close };
    // What a key means here; keys of no meaning are Other.
    enum class Key { TiltLeft, TiltRight, Flat, FullScreen, Space, Escape, Other };

    Type type = Type::MouseMove;
    // The mouse: window pixels, origin top-left. A finger: fractions (0 to 1) of the window.
    float x = 0, y = 0;
    // Mouse buttons: whether it is the primary (left) one.
    bool primaryButton = true;
    // Touch fingers: the device's id of the finger.
    long finger = 0;
    Key key = Key::Other;
    // Keys: an automatic repeat of a key held down.
    bool repeat = false;
    double timestamp = 0;
};
