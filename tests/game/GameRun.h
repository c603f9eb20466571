#pragma once
// Runs the real zorvik program headless (or in a given display) with options and a script,
// and reads back what it wrote: the trace as events, screenshots as pixels.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CGImage.h"
#include "ImageCodecs.h"
#include "support/ChildProgram.h"
#include "support/TestFiles.h"

// One trace line: its fields as raw JSON texts (strings without their quotes).
struct TraceEvent {
    std::map<std::string, std::string> fields;
    std::string line;

    const std::string& name() const { return at("event"); }
    const std::string& at(const std::string& key) const {
        static const std::string none;
        auto it = fields.find(key);
        return it == fields.end() ? none : it->second;
    }
    double number(const std::string& key) const { return std::strtod(at(key).c_str(), nullptr); }
    long frame() const { return std::strtol(at("frame").c_str(), nullptr, 10); }
    bool has(const std::string& key) const { return fields.count(key) != 0; }
};

// Reads one flat JSON object; nested values are kept as their raw text.
inline TraceEvent parseTraceLine(const std::string& line) {
    TraceEvent e;
    e.line = line;
    size_t i = line.find('{');
    if (i == std::string::npos) return e;
    ++i;
    auto readString = [&](size_t& at) {
        std::string out;
        ++at; // opening quote
        while (at < line.size() && line[at] != '"') {
            if (line[at] == '\\' && at + 1 < line.size()) ++at;
            out += line[at++];
        }
        ++at;
        return out;
    };
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == ',')) ++i;
        if (i >= line.size() || line[i] == '}') break;
        std::string key = readString(i);
        while (i < line.size() && (line[i] == ':' || line[i] == ' ')) ++i;
        std::string value;
        if (line[i] == '"') {
            value = readString(i);
        } else {
            int depth = 0;
            size_t start = i;
            while (i < line.size()) {
                char c = line[i];
                if (c == '{' || c == '[') ++depth;
                if (c == '}' || c == ']') {
                    if (depth == 0) break;
                    --depth;
                }
                if (c == ',' && depth == 0) break;
                ++i;
            }
            value = line.substr(start, i - start);
        }
        e.fields[key] = value;
    }
    return e;
}

struct GameRunResult {
    int status = -1;
    std::string output; // standard output and error together
    std::vector<TraceEvent> events;
    long peakKilobytes = 0; // the most memory the process held (runs that were started only)

    std::vector<TraceEvent> all(const std::string& name) const {
        std::vector<TraceEvent> out;
        for (const TraceEvent& e : events)
            if (e.name() == name) out.push_back(e);
        return out;
    }
    const TraceEvent* first(const std::string& name, long fromFrame = 0) const {
        for (const TraceEvent& e : events)
            if (e.name() == name && e.frame() >= fromFrame) return &e;
        return nullptr;
    }
    const TraceEvent* scene(const std::string& which) const {
        for (const TraceEvent& e : events)
            if (e.name() == "scene" && e.at("scene") == which) return &e;
        return nullptr;
    }
};

// The upright 480 x 320 screen as straight RGBA.
struct Screen {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    bool empty() const { return rgba.empty(); }
    // The pixel at a scene point (origin bottom-left) as 0xRRGGBB.
    uint32_t at(int x, int y) const {
        size_t o = (static_cast<size_t>(height - 1 - y) * width + x) * 4;
        return rgba[o] << 16 | rgba[o + 1] << 8 | rgba[o + 2];
    }
    // Pixels in the scene rectangle that the predicate accepts.
    template <class F> int count(int x0, int y0, int x1, int y1, F accept) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += accept(at(x, y));
        return n;
    }
};

inline Screen readScreen(const std::string& path) {
    Screen s;
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CCAutoreleaseScope pool;
    CGImage* image = ccDecodePNG(bytes.data(), bytes.size());
    if (!image) return s;
    s.width = image->width();
    s.height = image->height();
    s.rgba.resize(s.width * s.height * 4);
    for (unsigned row = 0; row < s.height; ++row) image->readRowStraight(row, s.rgba.data() + row * s.width * 4);
    return s;
}

class GameRun {
public:
    static std::string program() { return std::string(ZORVIK_BINARY_DIR) + "/Classes/zorvik"; }

    // Runs the program with the options (a trace is always written) and, when given, a script.
    GameRunResult run(const std::string& options, const std::string& script = {}, const std::string& env = {}) {
        std::string trace = dir.file("trace-" + std::to_string(++runs) + ".jsonl");
        // Font libraries keep caches for the life of the process; they are not the game's leaks.
        std::string command = "LSAN_OPTIONS=suppressions='" + std::string(ZORVIK_SOURCE_DIR) +
                              "/tests/support/lsan.supp' " + env + " '" + program() + "' " + options + " --trace '" +
                              trace + "'";
        if (!script.empty()) command += " --script '" + dir.write("script-" + std::to_string(runs) + ".txt", script) + "'";
        command += " 2>&1";
        GameRunResult result;
        const ChildRun child = runChild(command);
        result.status = child.status;
        result.output = child.output;
        std::ifstream in(trace);
        std::string line;
        while (std::getline(in, line)) result.events.push_back(parseTraceLine(line));
        return result;
    }
    std::string file(const std::string& name) const { return dir.file(name); }

    // Starts the program through the shell without waiting for it: `shell` comes first (a
    // ulimit, a cd), then the program with the options and a trace; the shell execs the
    // program, so the process id is the game's. finish() waits for it and reads back.
    pid_t start(const std::string& options, const std::string& shell = {}) {
        trace_ = dir.file("trace-" + std::to_string(++runs) + ".jsonl");
        output_ = dir.file("output-" + std::to_string(runs) + ".txt");
        std::string command = shell + " exec env LSAN_OPTIONS=suppressions='" + std::string(ZORVIK_SOURCE_DIR) +
                              "/tests/support/lsan.supp' '" + program() + "' " + options + " --trace '" + trace_ +
                              "' >'" + output_ + "' 2>&1";
        pid_t pid = fork();
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }
    // Waits until the started run's trace holds a line with `text` (true) or `seconds` pass.
    bool waitForTrace(const std::string& text, double seconds) {
        for (int i = 0; i < seconds * 20; ++i) {
            std::ifstream in(trace_);
            std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (all.find(text) != std::string::npos) return true;
            usleep(50000);
        }
        return false;
    }
    GameRunResult finish(pid_t pid) {
        GameRunResult result;
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        result.peakKilobytes = usage.ru_maxrss;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream out(output_);
        result.output.assign((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
        std::ifstream in(trace_);
        std::string line;
        while (std::getline(in, line)) result.events.push_back(parseTraceLine(line));
        return result;
    }
    const std::string& lastTrace() const { return trace_; }

    TempDir dir;
    int runs = 0;

private:
    std::string trace_, output_;
};
