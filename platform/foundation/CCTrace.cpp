#include "CCTrace.h"

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

#include "CCLog.h"

namespace {
// Whether an event would go anywhere (a trace open or a listener): the one check callers make
// before building an event's fields. Written with Output's lock held, read without it.
std::atomic<bool> wanted{false};

struct Output {
    std::mutex lock; // events may come from any thread
    int file = -1; // written straight, line by line: nothing waits in a buffer
    std::string path;
    std::string failure; // the first write that did not reach the file
    long whole = 0;      // bytes of the file that are whole lines
    std::function<void(const std::string&)> sink;
    CCTrace::Listener listener;
    bool open() const { return file >= 0 || sink; }

    // Called with the lock held: remembers the first failure, says it once, stops writing.
    void failed(int error) {
        if (failure.empty()) {
            failure = "cannot write the trace \"" + path + "\": " + std::strerror(error ? error : EIO);
            CCLog("%s", failure.c_str());
        }
        if (file >= 0) {
            // A line cut by the disk is taken back, so what stays is whole lines; a file that
            // cannot even be shortened keeps it.
            int shortened = ftruncate(file, whole);
            (void)shortened;
            ::close(file);
        }
        file = -1;
        wanted = open() || listener;
    }
};
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
    int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) {
        if (error) *error = "cannot write the trace \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    close();
    Output& out = output();
    std::lock_guard guard(out.lock);
    out.file = file;
    out.path = path;
    out.whole = 0;
    out.failure.clear();
    wanted = true;
    return true;
}

void CCTrace::openSink(std::function<void(const std::string&)> sink) {
    close();
    Output& out = output();
    std::lock_guard guard(out.lock);
    out.sink = std::move(sink);
    out.failure.clear();
    wanted = out.open() || out.listener;
}

bool CCTrace::close() {
    Output& out = output();
    std::lock_guard guard(out.lock);
    if (out.file >= 0 && ::close(out.file) != 0) {
        out.file = -1;
        out.failed(errno);
    }
    out.file = -1;
    out.sink = nullptr;
    wanted = static_cast<bool>(out.listener);
    return out.failure.empty();
}

std::string CCTrace::failure() {
    Output& out = output();
    std::lock_guard guard(out.lock);
    return out.failure;
}

void CCTrace::setListener(Listener listener) {
    Output& out = output();
    std::lock_guard guard(out.lock);
    out.listener = std::move(listener);
    wanted = out.open() || out.listener;
}

bool CCTrace::isOpen() {
    Output& out = output();
    std::lock_guard guard(out.lock);
    return out.open();
}

bool CCTrace::isWanted() { return wanted.load(std::memory_order_relaxed); }

void CCTrace::event(std::string_view name, const CCTraceFields& fields) {
    Output& out = output();
    std::lock_guard guard(out.lock);
    if (out.listener) out.listener(name, fields);
    if (!out.open()) return;
    std::string text = line(name, fields, frame_, time_);
    if (out.sink) {
        out.sink(text);
        return;
    }
    text += '\n';
    // Written at once, line by line: a run that crashes still leaves what led up to it.
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(out.file, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            out.failed(n < 0 ? errno : ENOSPC);
            return;
        }
        done += static_cast<std::size_t>(n);
    }
    out.whole += static_cast<long>(text.size());
}
