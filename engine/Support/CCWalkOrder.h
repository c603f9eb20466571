#pragma once
// What a walk needs of the records of a linked sequence (such as the scheduler's update
// lists), copied into an array so that the walk reads them side by side instead of
// waiting on one link after another. The copy is made again only after a change: whoever
// links, unlinks or changes what the copy holds calls changed(). A walk that sees version()
// move during a call goes on by the links from there, as it would have without the copy.
#include <cstddef>
#include <cstdint>
#include <vector>

template <class R> class CCWalkOrder {
public:
    void changed() { ++version_; }
    std::uint64_t version() const { return version_; }
    void reserve(std::size_t records) { records_.reserve(records); }

    // The copy, made again by fill(records) if the sequence changed since the last one. Hold
    // the vector by reference and index it: a walk nested in a call may copy again (after a
    // change), moving its storage.
    template <class Fill> const std::vector<R>& records(Fill fill) {
        if (copied_ != version_) {
            records_.clear();
            fill(records_);
            copied_ = version_;
        }
        return records_;
    }

private:
    std::vector<R> records_;
    std::uint64_t version_ = 1;
    std::uint64_t copied_ = 0;
};
