#pragma once
// Puts the frame clock in simulated time for the scope of a test, starting at `startMicros`,
// and back to real time afterwards.
#include <cstdint>

#include "CCClock.h"

class DeterministicClock {
public:
    explicit DeterministicClock(int64_t startMicros = 1'000'000'000) {
        CCClock::setDeterministic(true);
        CCClock::setSimulatedMicros(startMicros);
    }
    ~DeterministicClock() {
        CCClock::setFailsReads(false);
        CCClock::setDeterministic(false);
    }
    DeterministicClock(const DeterministicClock&) = delete;
    DeterministicClock& operator=(const DeterministicClock&) = delete;
};
