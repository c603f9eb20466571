#include "CCRunOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
bool readCount(const std::string& text, unsigned long long max, unsigned long long& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    out = std::strtoull(text.c_str(), nullptr, 10);
    return errno == 0 && out <= max;
}
} // namespace

const char* CCRunOptions::usage() {
    return "options:\n"
           "  --headless             draw without a window (also when no display can be opened)\n"
           "  --deterministic        the clock moves one frame per frame (default when headless)\n"
           "  --real-time            the clock follows real time (default in a window)\n"
           "  --seed N               seed the random generator with N instead of the time\n"
           "  --frames N             stop after N frames\n"
           "  --seconds S            stop after S seconds of the run's clock\n"
           "  --script FILE          play the timed input in FILE\n"
           "  --screenshot F:FILE    write the screen after frame F as a PNG (repeatable)\n"
           "  --trace FILE           write events as JSON lines to FILE\n"
           "  --record FILE          write the run's input to FILE as a script; --script FILE\n"
           "                         --seed N (N as the recording says) plays the run again\n"
           "  --autoplay, --autopilot  let the game play by itself (jumps over the saws)\n"
           "  --offline              no network services (promotions, ads, the house server)\n"
           "  --help                 show this\n";
}

bool CCRunOptions::parse(int argc, const char* const* argv, CCRunOptions& out, std::string* error) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        // Both "--frames 10" and "--frames=10".
        auto needValue = [&]() {
            if (auto eq = arg.find('='); eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
                return true;
            }
            if (i + 1 >= argc) return false;
            value = argv[++i];
            return true;
        };
        auto split = arg.find('=');
        std::string name = split == std::string::npos ? arg : arg.substr(0, split);
        if (name == "--headless") out.headless = true;
        else if (name == "--deterministic") out.deterministic = true;
        else if (name == "--real-time") out.deterministic = false;
        else if (name == "--autopilot" || name == "--autoplay") out.autopilot = true;
        else if (name == "--offline") out.offline = true;
        else if (name == "--help" || name == "-h") out.help = true;
        else if (name == "--seed" || name == "--frames" || name == "--seconds" || name == "--script" ||
                 name == "--screenshot" || name == "--trace" || name == "--record") {
            if (!needValue()) return fail(name + " needs a value");
            unsigned long long n = 0;
            if (name == "--seed") {
                if (!readCount(value, 0xFFFFFFFFull, n)) return fail("--seed needs a whole number up to 4294967295, not \"" + value + "\"");
                out.seed = static_cast<unsigned>(n);
            } else if (name == "--frames") {
                if (!readCount(value, 1ull << 40, n) || n == 0) return fail("--frames needs a positive whole number, not \"" + value + "\"");
                out.frameLimit = n;
            } else if (name == "--seconds") {
                char* end = nullptr;
                double s = std::strtod(value.c_str(), &end);
                if (value.empty() || *end || !std::isfinite(s) || s <= 0)
                    return fail("--seconds needs a positive number, not \"" + value + "\"");
                out.secondsLimit = s;
            } else if (name == "--screenshot") {
                auto colon = value.find(':');
                if (colon == std::string::npos || !readCount(value.substr(0, colon), 1ull << 40, n) || n == 0 ||
                    colon + 1 == value.size())
                    return fail("--screenshot needs FRAME:FILE with a frame of 1 or more, not \"" + value + "\"");
                out.screenshots.emplace_back(n, value.substr(colon + 1));
            } else if (value.empty()) {
                return fail(name + " needs a file name");
            } else if (name == "--script") {
                out.scriptPath = value;
            } else if (name == "--record") {
                out.recordPath = value;
            } else {
                out.tracePath = value;
            }
        } else {
            return fail("unknown option \"" + arg + "\"");
        }
    }
    return true;
}
