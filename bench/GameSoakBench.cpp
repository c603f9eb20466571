// An hour of simulated play, headless: 216,000 frames with the autopilot and 216,000 without
// (the cat is caught again and again and "Try again" is pressed at once). Resident memory is
// sampled every simulated minute; the growth after the first minute is reported per
// simulated hour. Usage: GameSoakBench [autopilot|caught] [frames] (default: both, each in a
// process of its own, 216000 frames).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCDirector.h"
#include "CCRunOptions.h"
#include "CCRunner.h"
#include "CCApplicationInput.h"
#include "GameAutopilot.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "ZorvikAppDelegate.h"

namespace {

constexpr std::uint64_t kFramesPerMinute = 3600;

long residentKB() {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// Bytes the heap has handed out and not had back: what the program holds, without what the
// allocator keeps for later.
long heapInUseKB() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>((m.uordblks + m.hblkhd) / 1024);
}

struct Soak {
    std::vector<long> samples; // resident KB at the end of each simulated minute
    std::vector<long> heap;    // heap in use, KB, at the same moments
    std::vector<long> trimmed; // resident KB once the allocator has given its free pages back
    double seconds = 0;
    unsigned caught = 0;       // "Try again" alerts dismissed
};

Soak play(bool autopilot, std::uint64_t frames) {
    CCAutoreleaseScope pool;
    CCRunOptions options;
    options.headless = true;
    options.seed = 11;
    options.frameLimit = frames;
    options.autopilot = autopilot;
    CCRunner runner(options);
    std::string error;
    if (!runner.prepare(&error)) {
        std::fprintf(stderr, "GameSoakBench: %s\n", error.c_str());
        std::exit(1);
    }
    runner.setSceneToView([](CGPoint p) { return CCDirector::sharedDirector()->convertToUI(p); });
    Soak soak;
    GameAutopilot pilot;
    runner.setFrameHook([&](std::uint64_t frame) {
        if (autopilot) {
            pilot.afterFrame(frame, CCClock::now());
        } else {
            // The first tap starts the game; then the cat runs into every saw and is caught.
            if (frame == 30) {
                UIApplication* app = UIApplication::sharedApplication();
                app->sendTouch(1, UITouchPhaseBegan, CGPoint{160, 240}, CCClock::now());
                app->sendTouch(1, UITouchPhaseEnded, CGPoint{160, 240}, CCClock::now());
            }
            for (const auto& alert : std::vector(UIApplication::sharedApplication()->alerts())) {
                alert->dismissWithClickedButtonIndex(0, false);
                ++soak.caught;
            }
        }
        if (frame % kFramesPerMinute == 0) {
            soak.samples.push_back(residentKB());
            soak.heap.push_back(heapInUseKB());
            malloc_trim(0);
            soak.trimmed.push_back(residentKB());
        }
    });
    auto* delegate = new ZorvikAppDelegate;
    CCRunResult result = runner.run(delegate);
    UIApplication::sharedApplication()->setDelegate(nullptr);
    delegate->release();
    soak.seconds = result.seconds;
    return soak;
}

void report(const char* name, const Soak& soak) {
    if (soak.samples.size() < 2) {
        std::printf("%s: too few samples\n", name);
        return;
    }
    const double minutes = double(soak.samples.size() - 1);
    const double growthKB = double(soak.samples.back() - soak.samples.front());
    const double heapGrowthKB = double(soak.heap.back() - soak.heap.front());
    const double trimmedGrowthKB = double(soak.trimmed.back() - soak.trimmed.front());
    std::printf("%s: %zu simulated minutes (%.0f s of run clock), caught %u times; resident %ld KB after the first minute, "
                "%ld KB at the end: %+.0f KB per simulated hour; heap in use %ld KB -> %ld KB: %+.0f KB per simulated hour; "
                "resident with the allocator's free pages given back %ld KB -> %ld KB: %+.0f KB per simulated hour\n",
                name, soak.samples.size(), soak.seconds, soak.caught, soak.samples.front(), soak.samples.back(),
                growthKB / minutes * 60, soak.heap.front(), soak.heap.back(), heapGrowthKB / minutes * 60,
                soak.trimmed.front(), soak.trimmed.back(), trimmedGrowthKB / minutes * 60);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "both";
    const std::string frames = argc > 2 ? argv[2] : "216000";
    if (mode == "both") {
        // One application per process: each soak starts from a fresh launch.
        int failed = 0;
        for (const char* m : {"autopilot", "caught"})
            failed |= std::system(("'" + std::string(argv[0]) + "' " + m + " " + frames).c_str());
        return failed ? 1 : 0;
    }
    if (mode != "autopilot" && mode != "caught") {
        std::fprintf(stderr, "usage: GameSoakBench [autopilot|caught] [frames]\n");
        return 2;
    }
    ccChooseSurfaceBackend(true, "Zorvik");
    const bool autopilot = mode == "autopilot";
    report(autopilot ? "autopilot" : "caught again and again", play(autopilot, std::strtoull(frames.c_str(), nullptr, 10)));
    return 0;
}
