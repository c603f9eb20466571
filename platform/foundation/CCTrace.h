#pragma once
// The run's trace: one JSON object per line for each event worth following from outside (scene
// changes, touches, alerts, addresses opened, game events). Any layer adds events; nothing is
// written until a trace is opened. While none is, isOpen() is one atomic read; events whose
// fields take work to build pass a callable that builds them, so that work is skipped too.
//
// Every line starts with the frame number and the run's time in seconds, then the event name:
//   {"frame":12,"time":0.2,"event":"scene","scene":"TitleScene"}
#include <concepts>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "CGGeometry.h"

using CCTraceValue = std::variant<std::string, const char*, double, long long, bool, CGPoint>;
using CCTraceFields = std::vector<std::pair<std::string, CCTraceValue>>;

class CCTrace {
public:
    // Writes the trace to a file (replacing it); false with a reason when it cannot be created.
    static bool open(const std::string& path, std::string* error);
    // Hands every line (without its newline) to `sink` instead; nullptr closes.
    static void openSink(std::function<void(const std::string& line)> sink);
    static void close();
    static bool isOpen();

    // The frame and time the following events belong to (the runner keeps them current).
    static void setFrame(uint64_t frame) { frame_ = frame; }
    static uint64_t frame() { return frame_; }
    static void setTime(double seconds) { time_ = seconds; }

    // One line; keys should be plain names. Does nothing while no trace is open.
    static void event(std::string_view name, const CCTraceFields& fields = {});
    // The same, with the fields built by `build` (returning CCTraceFields) only while a trace
    // is open.
    template <class Build>
        requires std::invocable<Build&>
    static void event(std::string_view name, Build&& build) {
        if (isOpen()) event(name, static_cast<const CCTraceFields&>(build()));
    }

    // The JSON line an event becomes (exposed for tests and for other writers).
    static std::string line(std::string_view name, const CCTraceFields& fields, uint64_t frame, double time);
    // A JSON string literal, quotes included.
    static std::string quote(std::string_view text);

private:
    static inline uint64_t frame_ = 0;
    static inline double time_ = 0;
};
