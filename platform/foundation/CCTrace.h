#pragma once
// The run's trace: one JSON object per line for each event worth following from outside (scene
// changes, touches, alerts, addresses opened, game events). Any layer adds events; nothing is
// written until a trace is opened. Events whose fields take work to build pass a callable that
// builds them, so while no trace is open and nobody listens an event costs one atomic read.
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
    // Closes the trace; false when the file's last lines could not be written out.
    static bool close();
    static bool isOpen();
    // True while an event would go somewhere: a trace is open or a listener listens. One atomic
    // read, made before building an event's fields.
    static bool isWanted();
    // Why the trace file is incomplete ("cannot write the trace \"<path>\": <reason>"), empty
    // while every line has reached the file. After the first failure nothing more is written,
    // so the file never holds a cut line followed by whole ones.
    static std::string failure();

    // Sees every event as it happens, whether or not a trace is open (nullptr: nobody). The
    // game's own counters are kept this way, so they do not depend on the file.
    using Listener = std::function<void(std::string_view name, const CCTraceFields& fields)>;
    static void setListener(Listener listener);

    // The frame and time the following events belong to (the runner keeps them current).
    static void setFrame(uint64_t frame) { frame_ = frame; }
    static uint64_t frame() { return frame_; }
    static void setTime(double seconds) { time_ = seconds; }

    // One line; keys should be plain names. Does nothing while no trace is open and nobody
    // listens.
    static void event(std::string_view name, const CCTraceFields& fields = {});
    // The same, with the fields built by `build` (returning CCTraceFields) only while an event
    // would go somewhere (isWanted).
    template <class Build>
        requires std::invocable<Build&>
    static void event(std::string_view name, Build&& build) {
        if (isWanted()) event(name, static_cast<const CCTraceFields&>(build()));
    }

    // The JSON line an event becomes (exposed for tests and for other writers).
    static std::string line(std::string_view name, const CCTraceFields& fields, uint64_t frame, double time);
    // A JSON string literal, quotes included.
    static std::string quote(std::string_view text);

private:
    static inline uint64_t frame_ = 0;
    static inline double time_ = 0;
};
