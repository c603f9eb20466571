#pragma once
// The one logging function: printf-style lines to standard error; tests may capture them.
#include <functional>
#include <string>

void CCLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces where log lines go (nullptr restores standard error); returns the previous sink.
using CCLogSink = std::function<void(const std::string& line)>;
CCLogSink ccSetLogSink(CCLogSink sink);
