#include "CCTrace.h"

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {
struct Output {
    std::mutex lock; // events may come from any thread
    std::FILE* file = nullptr;
    std::function<void(const std::string&)> sink;
    bool open() const { return file || sink; }
};
// Mirrors Output::open() for the check callers make before building an event.
std::atomic<bool> traceOpen{false};
Output& output() {
    static Output* out = new Output; // lives for the whole process
    return *out;
}

void appendNumber(std::string& out, double value) {
    // JSON has no infinities or NaN.
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    out += text;
}

void appendValue(std::string& out, const CCTraceValue& value) {
    if (auto* s = std::get_if<std::string>(&value)) out += CCTrace::quote(*s);
    else if (auto* c = std::get_if<const char*>(&value)) out += CCTrace::quote(*c ? *c : "");
    else if (auto* d = std::get_if<double>(&value)) appendNumber(out, *d);
    else if (auto* i = std::get_if<long long>(&value)) out += std::to_string(*i);
    else if (auto* b = std::get_if<bool>(&value)) out += *b ? "true" : "false";
    else if (auto* p = std::get_if<CGPoint>(&value)) {
        out += '[';
        appendNumber(out, p->x);
        out += ',';
        appendNumber(out, p->y);
        out += ']';
    }
}
} // namespace

std::string CCTrace::quote(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

std::string CCTrace::line(std::string_view name, const CCTraceFields& fields, uint64_t frame, double time) {
    std::string out = "{\"frame\":" + std::to_string(frame) + ",\"time\":";
    // Times are kept to the microsecond, so that equal runs give equal traces.
    appendNumber(out, std::round(time * 1e6) / 1e6);
    out += ",\"event\":" + quote(name);
    for (const auto& [key, value] : fields) {
        out += ',' + quote(key) + ':';
        appendValue(out, value);
    }
    out += '}';
    return out;
}

bool CCTrace::open(const std::string& path, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        if (error) *error = "cannot write the trace \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    close();
    Output& out = output();
    std::lock_guard guard(out.lock);
    out.file = file;
    traceOpen = true;
    return true;
}

void CCTrace::openSink(std::function<void(const std::string&)> sink) {
    close();
    Output& out = output();
    std::lock_guard guard(out.lock);
    out.sink = std::move(sink);
    traceOpen = out.open();
}

void CCTrace::close() {
    Output& out = output();
    std::lock_guard guard(out.lock);
    if (out.file) std::fclose(out.file);
    out.file = nullptr;
    out.sink = nullptr;
    traceOpen = false;
}

bool CCTrace::isOpen() { return traceOpen.load(std::memory_order_relaxed); }

void CCTrace::event(std::string_view name, const CCTraceFields& fields) {
    Output& out = output();
    std::lock_guard guard(out.lock);
    if (!out.open()) return;
    std::string text = line(name, fields, frame_, time_);
    if (out.sink) {
        out.sink(text);
        return;
    }
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), out.file);
    // Flushed per line: a run that crashes still leaves what led up to it.
    std::fflush(out.file);
}
