#pragma once
// The director's clock for a recorded or replayed run. Recording, every read of the clock goes
// to the recorder with the frame it was made for; replaying, the reads made for a frame get the
// times recorded for it, in order, so each frame lasts exactly what it lasted when recorded
// (a real-time session replays frame for frame). A frame read more often than recorded gets
// its last recorded time again (no time passes); a replay before the first recorded read, or
// with nothing recorded, gets the clock's own time.
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "CCClock.h"

class CCRunClock : public CCTimeOfDaySource {
public:
    using FrameSource = std::function<uint64_t()>; // the frame being made
    using ReadObserver = std::function<void(uint64_t frame, const CCTimeValue& time)>;

    struct Read {
        uint64_t frame = 0;
        CCTimeValue time;
    };

    explicit CCRunClock(FrameSource frame) : frame_(std::move(frame)) {}

    void record(ReadObserver observer) { observer_ = std::move(observer); }
    // `reads` in frame order.
    void replay(std::vector<Read> reads);
    bool isReplaying() const { return !reads_.empty(); }

    bool timeOfDay(CCTimeValue* out) override;

private:
    FrameSource frame_;
    ReadObserver observer_;
    std::mutex lock_; // the fast-threaded director reads on its own thread
    std::vector<Read> reads_;
    std::size_t next_ = 0;
    bool hasLast_ = false;
    CCTimeValue last_;
};
