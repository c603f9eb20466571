#pragma once
// What a run of the application was asked for on its command line: window or headless,
// clock, random seed, limits, the input script, screenshots and the trace.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CCRunOptions {
    // --headless; also set by whoever finds that no window can be opened.
    bool headless = false;
    // --real-time / --deterministic; unset: deterministic exactly when headless.
    std::optional<bool> deterministic;
    // --seed N: the random generator's seed instead of the launch time.
    std::optional<unsigned> seed;
    // --frames N / --seconds S (run-clock seconds); 0: no limit.
    uint64_t frameLimit = 0;
    double secondsLimit = 0;
    // --script FILE
    std::string scriptPath;
    // --screenshot FRAME:FILE (repeatable): after the frame is drawn.
    std::vector<std::pair<uint64_t, std::string>> screenshots;
    // --trace FILE
    std::string tracePath;
    // --record FILE: the run's input, written as a script that plays the run again
    std::string recordPath;
    // --autoplay (or --autopilot): the game plays by itself.
    bool autopilot = false;
    // --offline: every network service of the application stays off.
    bool offline = false;
    // --help
    bool help = false;

    bool isDeterministic() const { return deterministic.value_or(headless); }

    // Reads the arguments after the program name; false with a one-line reason for an unknown
    // option or a bad value.
    static bool parse(int argc, const char* const* argv, CCRunOptions& out, std::string* error);
    static const char* usage();
};
