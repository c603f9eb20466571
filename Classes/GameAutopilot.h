#pragma once
// Plays the game by itself, one decision after each drawn frame: starts the game from the
// title, jumps so that the cat is high when a saw reaches it and catches coins and bonuses, and answers
// the game-over alert after a short pause. Its taps go through the application's touch
// routing like a finger's.
#include <cstdint>

class HelloWorld;
class SplashLayer;

class GameAutopilot {
public:
    // After every drawn frame.
    void afterFrame(uint64_t frame, double now);

    // Whether an item is close enough that the cat should jump now: one still ahead of the cat
    // that reaches it within about half a jump (over saws, up to coins and bonuses).
    static bool shouldJump(const HelloWorld* game);

    // A tap in the middle of the screen, clear of every button.
    static void tap(double now);

private:
    uint64_t titleSince_ = 0;
    uint64_t alertSince_ = 0;
};
