#include "CCClock.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <sys/time.h>
#include <thread>

namespace {
std::atomic<bool> deterministic{false};
std::atomic<bool> failsReads{false};
std::atomic<int64_t> simulated{0};
std::atomic<CCTimeOfDaySource*> timeOfDaySource{nullptr};
} // namespace

int64_t CCClock::toMicros(double seconds) { return std::llround(seconds * 1e6); }

bool CCClock::getTimeOfDay(CCTimeValue* out) {
    if (failsReads.load()) return false;
    if (CCTimeOfDaySource* source = timeOfDaySource.load()) return source->timeOfDay(out);
    return ownTimeOfDay(out);
}

void CCClock::setTimeOfDaySource(CCTimeOfDaySource* source) { timeOfDaySource.store(source); }

bool CCClock::ownTimeOfDay(CCTimeValue* out) {
    if (failsReads.load()) return false;
    if (deterministic.load()) {
        int64_t t = simulated.load();
        // Floor division so negative simulated times still give 0 <= usec < 1e6.
        int64_t sec = t >= 0 ? t / 1000000 : -((-t + 999999) / 1000000);
        out->tv_sec = static_cast<int32_t>(sec);
        out->tv_usec = static_cast<int32_t>(t - sec * 1000000);
        return true;
    }
    timeval tv{};
    if (gettimeofday(&tv, nullptr) != 0) return false;
    out->tv_sec = static_cast<int32_t>(tv.tv_sec);
    out->tv_usec = static_cast<int32_t>(tv.tv_usec);
    return true;
}

int64_t CCClock::nowMicros() {
    if (deterministic.load()) return simulated.load();
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void CCClock::setDeterministic(bool on) { deterministic.store(on); }
bool CCClock::isDeterministic() { return deterministic.load(); }
void CCClock::setSimulatedMicros(int64_t micros) { simulated.store(micros); }
int64_t CCClock::simulatedMicros() { return simulated.load(); }
void CCClock::advanceMicros(int64_t micros) {
    if (deterministic.load() && micros > 0) simulated.fetch_add(micros);
}
void CCClock::setFailsReads(bool fails) { failsReads.store(fails); }

void CCClock::sleep(double seconds) {
    if (seconds <= 0) return;
    if (deterministic.load())
        advance(seconds);
    else
        std::this_thread::sleep_for(std::chrono::microseconds(toMicros(seconds)));
}
