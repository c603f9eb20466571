#include "CCLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "CCAssert.h"

namespace {
std::mutex& logMutex() {
    static std::mutex m;
    return m;
}
CCLogSink& logSink() {
    static CCLogSink sink;
    return sink;
}
} // namespace

void CCLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(line.data(), line.size() + 1, format, args);
    va_end(args);
    while (!line.empty() && line.back() == '\n') line.pop_back();

    std::lock_guard lock(logMutex());
    if (logSink())
        logSink()(line);
    else
        std::fprintf(stderr, "%s\n", line.c_str());
}

CCLogSink ccSetLogSink(CCLogSink sink) {
    std::lock_guard lock(logMutex());
    CCLogSink previous = std::move(logSink());
    logSink() = std::move(sink);
    return previous;
}

void ccAssertFailed(const char* message, const char* file, int line) {
    std::fprintf(stderr, "Assertion failure in %s:%d: %s\n", file, line, message);
    std::fflush(stderr);
    std::abort();
}
