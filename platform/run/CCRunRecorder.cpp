#include "CCRunRecorder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "CCLog.h"

namespace {
// Numbers written so that reading them back gives the same float or double.
std::string number(double value, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}
std::string point(CGPoint p) { return "view " + number(p.x, 9) + " " + number(p.y, 9); }
} // namespace

CCRunRecorder::~CCRunRecorder() {
    if (file_ >= 0) ::close(file_);
}

bool CCRunRecorder::open(const std::string& path, std::string* error) {
    int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) {
        if (error) *error = "cannot write the recording \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    if (file_ >= 0) ::close(file_);
    file_ = file;
    path_ = path;
    failure_.clear();
    fingers_.clear();
    return true;
}

void CCRunRecorder::write(const std::string& line) {
    if (file_ < 0) return;
    std::string text = line + '\n';
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(file_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failure_ = "cannot write the recording \"" + path_ + "\": " + std::strerror(n < 0 ? errno : ENOSPC);
            CCLog("%s", failure_.c_str());
            ::close(file_);
            file_ = -1;
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

void CCRunRecorder::begin(unsigned seed, bool deterministic, const char* backend) {
    write("# A recorded run (" + std::string(backend) + ", " + (deterministic ? "deterministic" : "real-time") +
          " clock, seed " + std::to_string(seed) + ").");
    write("# Plays again with: --script <this file> --seed " + std::to_string(seed) +
          " (and no --autoplay: the autopilot's taps are in here)");
    if (!deterministic)
        write("# The input comes back at the frames it reached the game, and each frame lasts what it lasted (clock lines).");
}

void CCRunRecorder::touch(uint64_t frame, long finger, UITouchPhase phase, CGPoint viewPoint) {
    const std::string at = std::to_string(frame) + " ";
    auto found = fingers_.find(finger);
    if (phase == UITouchPhaseBegan) {
        if (found != fingers_.end()) return; // a finger that is down cannot go down: ignored
        // The smallest number no finger that is down has.
        long n = 0;
        while (std::any_of(fingers_.begin(), fingers_.end(), [n](const auto& f) { return f.second == n; })) ++n;
        fingers_[finger] = n;
        write(at + "down " + std::to_string(n) + " " + point(viewPoint));
        return;
    }
    if (found == fingers_.end()) return; // not down: ignored as well
    const std::string id = std::to_string(found->second);
    if (phase == UITouchPhaseMoved || phase == UITouchPhaseStationary) {
        write(at + "move " + id + " " + point(viewPoint));
        return;
    }
    fingers_.erase(found);
    write(at + "up " + id + " " + point(viewPoint));
}

void CCRunRecorder::reading(uint64_t frame, const UIAccelerometerReading& r) {
    write(std::to_string(frame) + " reading " + number(r.x, 17) + " " + number(r.y, 17) + " " + number(r.z, 17));
}

void CCRunRecorder::focus(uint64_t frame, bool focused) {
    if (!focused) fingers_.clear();
    write(std::to_string(frame) + (focused ? " focus in" : " focus out"));
}

void CCRunRecorder::work(uint64_t frame, uint64_t number) {
    write(std::to_string(frame) + " work " + std::to_string(number));
}

void CCRunRecorder::clock(uint64_t frame, const CCTimeValue& time) {
    write(std::to_string(frame) + " clock " + std::to_string(time.tv_sec) + " " + std::to_string(time.tv_usec));
}

void CCRunRecorder::finish(uint64_t frames) {
    write(std::to_string(frames + 1) + " quit");
    if (file_ >= 0 && ::close(file_) != 0 && failure_.empty()) {
        failure_ = "cannot write the recording \"" + path_ + "\": " + std::strerror(errno);
        CCLog("%s", failure_.c_str());
    }
    file_ = -1;
}
