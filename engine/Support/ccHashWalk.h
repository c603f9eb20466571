#pragma once
// A walk of a uthash table in insertion order chases one link per record: each record's
// lines are asked for ahead of time, while the walk is still busy with the one before.
// Only hints: the walk itself reads every link again once the record before it is done.

// The two records after this one, first two cache lines of each.
template <class T> inline void ccPrefetchHashWalk(const T* record) {
    const auto* next = static_cast<const T*>(record->hh.next);
    if (!next) return;
    __builtin_prefetch(next);
    __builtin_prefetch(reinterpret_cast<const char*>(next) + 64);
    const auto* after = static_cast<const T*>(next->hh.next);
    if (!after) return;
    __builtin_prefetch(after);
    __builtin_prefetch(reinterpret_cast<const char*>(after) + 64);
}
