#pragma once
// The frame clock. Real time by default; in deterministic mode time is simulated and only
// moves when someone advances it (the run loop jumps straight to its next timer or display
// refresh instead of sleeping), so runs are repeatable and hundreds of frames take no time.
#include <cstdint>

// Wall-clock time as the director keeps it: whole seconds and microseconds, both 32-bit.
struct CCTimeValue {
    int32_t tv_sec = 0;
    int32_t tv_usec = 0;
};

// Where the director's time-of-day reads come from when not from the clock itself: a run
// that records them, or one that plays recorded ones back.
class CCTimeOfDaySource {
public:
    virtual ~CCTimeOfDaySource() = default;
    virtual bool timeOfDay(CCTimeValue* out) = 0;
};

class CCClock {
public:
    // One display refresh (1/60 s) in microseconds.
    static constexpr int64_t kRefreshPeriodMicros = 16667;

    // The frame clock's wall-clock time (gettimeofday, or the simulated time). False when
    // the read fails; `out` is then left alone.
    static bool getTimeOfDay(CCTimeValue* out);
    // The clock's own reading, whatever source is set.
    static bool ownTimeOfDay(CCTimeValue* out);
    // Reads of getTimeOfDay go to `source` (not owned) until it is set back to nullptr.
    static void setTimeOfDaySource(CCTimeOfDaySource* source);

    // Run-loop time: monotonic real time, or the simulated time.
    static int64_t nowMicros();
    static double now() { return static_cast<double>(nowMicros()) * 1e-6; }

    // Switches the simulated time on or off. Turning it on keeps the current simulated time
    // (0 at start-up).
    static void setDeterministic(bool on);
    static bool isDeterministic();
    // Simulated time; may be set backwards (a clock that jumps back). No effect in real mode.
    static void setSimulatedMicros(int64_t micros);
    static int64_t simulatedMicros();
    static void advanceMicros(int64_t micros);
    static void advance(double seconds) { advanceMicros(toMicros(seconds)); }

    // Makes the wall-clock reads fail (tests of the failure path).
    static void setFailsReads(bool fails);

    // Sleeps in real mode; advances the simulated time in deterministic mode.
    static void sleep(double seconds);

    static int64_t toMicros(double seconds);
};
