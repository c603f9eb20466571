#pragma once
// Counts what happened in the game while it runs — jumps, saws passed, hits, catches, coins,
// bonuses, the score and the best score — from the game's events as they are raised, for the
// closing line of a run. Independent of the trace file: a trace that cannot be written, or
// none at all, leaves the counts whole.
#include <string>
#include <string_view>

#include "CCTrace.h"

class GameTally {
public:
    // Listens to the game's events from now on, until destroyed.
    GameTally();
    ~GameTally();
    GameTally(const GameTally&) = delete;
    GameTally& operator=(const GameTally&) = delete;

    void count(std::string_view event, const CCTraceFields& fields);

    long jumps = 0, sawsPassed = 0, hits = 0, caught = 0, coins = 0, bonuses = 0;
    long long score = 0, best = 0;

    // "12 jumps, 9 saws passed, … score 180 (best 240)"
    std::string summary() const;
};
