#include "CCRunClock.h"

void CCRunClock::replay(std::vector<Read> reads) {
    std::lock_guard guard(lock_);
    reads_ = std::move(reads);
    next_ = 0;
    hasLast_ = false;
}

bool CCRunClock::timeOfDay(CCTimeValue* out) {
    std::lock_guard guard(lock_);
    const uint64_t frame = frame_();
    // Reads recorded for frames already made were not asked for this time: passed over.
    while (next_ < reads_.size() && reads_[next_].frame <= frame) {
        last_ = reads_[next_].time;
        hasLast_ = true;
        if (reads_[next_++].frame == frame) break;
    }
    if (hasLast_) *out = last_;
    else if (!CCClock::ownTimeOfDay(out)) return false;
    if (observer_) observer_(frame, *out);
    return true;
}
