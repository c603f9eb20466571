#include "GameTally.h"

#include <algorithm>
#include <cstdio>

namespace {
const CCTraceValue* field(const CCTraceFields& fields, std::string_view key) {
    for (const auto& [k, v] : fields)
        if (k == key) return &v;
    return nullptr;
}
bool textIs(const CCTraceValue* value, std::string_view text) {
    if (!value) return false;
    if (auto* s = std::get_if<std::string>(value)) return *s == text;
    if (auto* c = std::get_if<const char*>(value)) return *c && text == *c;
    return false;
}
} // namespace

GameTally::GameTally() {
    CCTrace::setListener([this](std::string_view event, const CCTraceFields& fields) { count(event, fields); });
}

GameTally::~GameTally() { CCTrace::setListener(nullptr); }

void GameTally::count(std::string_view event, const CCTraceFields& fields) {
    if (event == "jump") ++jumps;
    else if (event == "saw-hit") ++hits;
    else if (event == "caught") ++caught;
    else if (event == "extreme-jump-start") ++coins;
    else if (event == "score") {
        if (const CCTraceValue* s = field(fields, "score"))
            if (auto* n = std::get_if<long long>(s)) score = *n;
        best = std::max(best, score);
        const CCTraceValue* reason = field(fields, "reason");
        if (textIs(reason, "saw-passed")) ++sawsPassed;
        else if (textIs(reason, "bonus")) ++bonuses;
    }
}

std::string GameTally::summary() const {
    char text[256];
    std::snprintf(text, sizeof text,
                  "%ld jumps, %ld saws passed, %ld hits, caught %ld times, %ld coins, %ld bonuses, score %lld (best %lld)",
                  jumps, sawsPassed, hits, caught, coins, bonuses, score, best);
    return text;
}
