#pragma once
// Writes a run's input as it reaches the application — every finger from the window, the
// keyboard, a script or the autopilot, and every accelerometer reading handed to the
// application — as an input script, each line at the frame before which it was delivered. With
// the seed it names, the script plays the run again: in a deterministic run, frame for frame.
//
// Fingers are written as down, move and up at view points (alert and platform buttons are the
// fingers that tapped them); every reading the accelerometer hands over, so that a replay
// needs no accelerometer timer of its own; focus lost and regained; the frames at which
// background work delivered its results; in a real-time run every
// read of the director's clock, so that its frames last what they lasted; the run's end is a
// quit after its last frame.
#include <cstdint>
#include <map>
#include <string>

#include "CCClock.h"
#include "CGGeometry.h"
#include "UIAccelerometer.h"
#include "UITouch.h"

class CCRunRecorder {
public:
    CCRunRecorder() = default;
    ~CCRunRecorder();
    CCRunRecorder(const CCRunRecorder&) = delete;
    CCRunRecorder& operator=(const CCRunRecorder&) = delete;

    // Creates (replaces) the file; false with a reason when it cannot be created.
    bool open(const std::string& path, std::string* error);
    bool isOpen() const { return file_ >= 0; }

    // The heading: how to play the recording again.
    void begin(unsigned seed, bool deterministic, const char* backend);
    // A finger delivered before `frame` (1 is the first frame drawn).
    void touch(uint64_t frame, long finger, UITouchPhase phase, CGPoint viewPoint);
    void reading(uint64_t frame, const UIAccelerometerReading& reading);
    // Losing focus cancels every finger that is down.
    void focus(uint64_t frame, bool focused);
    void clock(uint64_t frame, const CCTimeValue& time);
    // The run's `number`th piece of background work delivered its result.
    void work(uint64_t frame, uint64_t number);
    // Ends the recording after `frames` frames and closes the file.
    void finish(uint64_t frames);

    // Why the recording is incomplete; empty while every line reached the file.
    const std::string& failure() const { return failure_; }

private:
    void write(const std::string& line);

    int file_ = -1;
    std::string path_, failure_;
    std::map<long, long> fingers_; // fingers that are down → their number in the script
};
