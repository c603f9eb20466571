#pragma once
// A script of timed input for a run: one action per line, each at a frame (or a time, turned
// into the frame it falls in). See the README for the format. Parsing checks everything it
// can before the run starts (fingers that are not down, frames out of order) and reports the
// first problem with its line number.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CCClock.h"
#include "CGGeometry.h"

struct CCRunAction {
    enum Kind { Tap, Down, Move, Up, Tilt, Reading, Focus, Clock, Work, Alert, Button, Screenshot, Quit };
    Kind kind = Tap;
    uint64_t frame = 1;   // delivered before this frame is drawn (screenshots: after it)
    int line = 0;         // where it came from in the script
    long finger = 0;      // Down, Move, Up; taps use a finger of their own
    bool viewPoint = false; // the point is in view coordinates, not scene coordinates
    bool hasPoint = false;  // Up may leave the point out (the finger lifts where it is)
    CGPoint point{};
    double x = 0, y = 0, z = 0; // Tilt, Reading
    bool focused = false;       // Focus: gained (in) or lost (out)
    CCTimeValue time{};         // Clock: what the director's clock read
    int index = -1;             // Alert by button index; Work: which piece of background work (1 is the run's first)
    std::string text;           // Alert or Button by title; Screenshot path
};

class CCRunScript {
public:
    // nullopt with `error` set to "<name>:<line>: <what>" on the first problem.
    static std::optional<CCRunScript> parse(const std::string& text, const std::string& name, std::string* error);
    static std::optional<CCRunScript> load(const std::string& path, std::string* error);

    // In the order they run: by frame, then by line.
    const std::vector<CCRunAction>& actions() const { return actions_; }
    // Frames per second used to turn times ("2.5s") into frames.
    static constexpr double kFramesPerSecond = 60.0;

private:
    std::vector<CCRunAction> actions_;
};
