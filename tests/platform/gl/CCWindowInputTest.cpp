#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCWindowInput.h"
#include "CCWindowLayout.h"

namespace {

using Type = CCWindowEvent::Type;
using Key = CCWindowEvent::Key;

// What the application would hear, one line per call.
struct Recorder : CCSurfaceInput {
    void touch(long finger, CCSurfaceTouchPhase phase, CGPoint p, double) override {
        const char* name = phase == CCSurfaceTouchPhase::Began ? "began" : phase == CCSurfaceTouchPhase::Moved ? "moved" : "ended";
        calls.push_back(std::string(name) + " " + std::to_string(finger) + " " + std::to_string(int(p.x + 0.5f)) + "," +
                        std::to_string(int(p.y + 0.5f)));
    }
    void focusLost(double) override { calls.push_back("focus lost"); }
    void focusGained() override { calls.push_back("focus gained"); }
    void closeRequested() override { calls.push_back("close"); }
    int orientation() const override { return turn; }
    std::vector<std::string> calls;
    int turn = 3;
};

// A 960 × 640 window: the landscape screen at twice its size, filling the window.
constexpr int kW = 960, kH = 640;

class WindowInputTest : public ::testing::Test {
protected:
    WindowInputTest() { input.setInput(&app); }
    CCWindowInput::Request send(Type type, float x = 0, float y = 0, long finger = 0) {
        CCWindowEvent e;
        e.type = type;
        e.x = x;
        e.y = y;
        e.finger = finger;
        e.timestamp = now;
        return input.handle(e, kW, kH);
    }
    CCWindowInput::Request key(Type type, Key k, bool repeat = false) {
        CCWindowEvent e;
        e.type = type;
        e.key = k;
        e.repeat = repeat;
        e.timestamp = now;
        return input.handle(e, kW, kH);
    }
    // The window pixel where a view point shows.
    CGPoint at(float vx, float vy) const { return CCWindowLayout::fit(kW, kH, app.turn).windowPointFromView({vx, vy}); }
    std::string mouse(const char* phase, int x, int y) const {
        return std::string(phase) + " " + std::to_string(CCWindowInput::kMouseFinger) + " " + std::to_string(x) + "," +
               std::to_string(y);
    }

    Recorder app;
    CCKeyboardTilt tilt;
    CCWindowInput input{tilt};
    double now = 10;
};

TEST_F(WindowInputTest, TheLeftButtonIsOneFingerFromPressToRelease) {
    CGPoint a = at(100, 200), b = at(120, 260);
    send(Type::MouseMove, a.x, a.y); // no button: nothing
    send(Type::MouseDown, a.x, a.y);
    send(Type::MouseDown, b.x, b.y); // already down: not a second finger
    send(Type::MouseMove, b.x, b.y);
    send(Type::MouseUp, b.x, b.y);
    send(Type::MouseUp, b.x, b.y); // already up
    send(Type::MouseMove, a.x, a.y);
    EXPECT_EQ(app.calls, (std::vector<std::string>{mouse("began", 100, 200), mouse("moved", 120, 260), mouse("ended", 120, 260)}));

    app.calls.clear();
    CCWindowEvent right;
    right.type = Type::MouseDown;
    right.x = a.x;
    right.y = a.y;
    right.primaryButton = false;
    input.handle(right, kW, kH);
    EXPECT_TRUE(app.calls.empty()) << "other buttons do not touch";
}

TEST_F(WindowInputTest, APressBesideThePictureIsNoTouch) {
    // A wider window letterboxes the picture: the bars take no touches.
    CCWindowEvent e;
    e.type = Type::MouseDown;
    e.x = 5;
    e.y = 300;
    input.handle(e, 1200, 640);
    e.type = Type::MouseUp;
    input.handle(e, 1200, 640);
    EXPECT_TRUE(app.calls.empty());
}

TEST_F(WindowInputTest, TouchFingersAreFingersOfTheirOwnAndOnlyThoseThatBeganOnThePictureGoOn) {
    CGPoint a = at(40, 60), b = at(300, 400);
    send(Type::FingerDown, a.x / kW, a.y / kH, 7);
    send(Type::FingerDown, b.x / kW, b.y / kH, 8);
    send(Type::FingerMove, b.x / kW, a.y / kH, 99); // never went down
    send(Type::FingerMove, a.x / kW, b.y / kH, 7);
    send(Type::FingerUp, b.x / kW, b.y / kH, 8);
    send(Type::FingerUp, b.x / kW, b.y / kH, 8); // lifted already
    const long f7 = CCWindowInput::kTouchFingerBase + 7, f8 = CCWindowInput::kTouchFingerBase + 8;
    CGPoint moved = CCWindowLayout::fit(kW, kH, 3).viewPointFromWindow(a.x, b.y);
    EXPECT_EQ(app.calls, (std::vector<std::string>{
                             "began " + std::to_string(f7) + " 40,60",
                             "began " + std::to_string(f8) + " 300,400",
                             "moved " + std::to_string(f7) + " " + std::to_string(int(moved.x + 0.5f)) + "," +
                                 std::to_string(int(moved.y + 0.5f)),
                             "ended " + std::to_string(f8) + " 300,400",
                         }));
}

TEST_F(WindowInputTest, FocusLossLiftsFingersAndKeysAndPausesTheApplication) {
    CGPoint a = at(100, 100);
    send(Type::MouseDown, a.x, a.y);
    send(Type::FingerDown, a.x / kW, a.y / kH, 3);
    key(Type::KeyDown, Key::TiltLeft);
    ASSERT_NE(tilt.reading(now).y, 0);
    send(Type::FocusLost);
    EXPECT_EQ(tilt.reading(now + 1), CCTiltReading{}) << "a key released while away must not stay held";
    // What was down when focus went is not continued afterwards.
    send(Type::MouseMove, a.x, a.y);
    send(Type::MouseUp, a.x, a.y);
    send(Type::FingerUp, a.x / kW, a.y / kH, 3);
    send(Type::FocusGained);
    ASSERT_EQ(app.calls.size(), 4u);
    EXPECT_EQ(app.calls[2], "focus lost");
    EXPECT_EQ(app.calls[3], "focus gained");
}

TEST_F(WindowInputTest, KeysTapOnceTiltWhileHeldAndAskTheWindowForFullScreenAndClosing) {
    std::vector<CCWindowKey> keys;
    input.setKeyHandler([&](CCWindowKey k) {
        keys.push_back(k);
        return true;
    });
    key(Type::KeyDown, Key::Space);
    key(Type::KeyDown, Key::Space, true); // held: repeats do not tap again
    key(Type::KeyUp, Key::Space);
    key(Type::KeyDown, Key::Escape);
    key(Type::KeyDown, Key::Other);
    EXPECT_EQ(keys, (std::vector<CCWindowKey>{CCWindowKey::Space, CCWindowKey::Escape, CCWindowKey::Other}));

    key(Type::KeyDown, Key::TiltRight);
    EXPECT_LT(tilt.reading(now).y, 0);
    key(Type::KeyUp, Key::TiltRight);
    EXPECT_EQ(tilt.reading(now), CCTiltReading{});
    key(Type::KeyDown, Key::TiltLeft);
    key(Type::KeyDown, Key::Flat);
    EXPECT_EQ(tilt.reading(now), CCTiltReading{});
    EXPECT_EQ(keys.size(), 3u) << "tilt keys are not taps";

    EXPECT_EQ(key(Type::KeyDown, Key::FullScreen), CCWindowInput::Request::ToggleFullScreen);
    EXPECT_EQ(key(Type::KeyDown, Key::FullScreen, true), CCWindowInput::Request::None);
    EXPECT_EQ(key(Type::KeyUp, Key::FullScreen), CCWindowInput::Request::None);
    EXPECT_EQ(send(Type::Close), CCWindowInput::Request::Close);
    EXPECT_EQ(app.calls, std::vector<std::string>{"close"});
}

TEST_F(WindowInputTest, WithoutAReceiverNothingIsSentAndThePictureIsPortrait) {
    input.setInput(nullptr);
    EXPECT_EQ(input.orientation(), 1);
    send(Type::MouseDown, 100, 100);
    send(Type::FocusLost);
    EXPECT_EQ(send(Type::Close), CCWindowInput::Request::Close);
    EXPECT_TRUE(app.calls.empty());
}

} // namespace
