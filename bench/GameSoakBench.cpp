// An hour of simulated play, headless: 216,000 frames with the autopilot and 216,000 without
// (the cat is caught again and again and "Try again" is pressed at once). Resident memory is
// sampled every simulated minute; the growth after the first minute is reported per
// simulated hour. Usage: GameSoakBench [frames] (default 216000).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCDirector.h"
#include "CCRunOptions.h"
#include "CCRunner.h"
#include "CCWindowSurface.h"
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

struct Soak {
    std::vector<long> samples; // resident KB at the end of each simulated minute
    double seconds = 0;
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
            for (const auto& alert : std::vector(UIApplication::sharedApplication()->alerts()))
                alert->dismissWithClickedButtonIndex(0, false);
        }
        if (frame % kFramesPerMinute == 0) soak.samples.push_back(residentKB());
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
    std::printf("%s: %zu simulated minutes; resident %ld KB after the first minute, %ld KB at the end: "
                "%+.0f KB per simulated hour\n",
                name, soak.samples.size(), soak.samples.front(), soak.samples.back(), growthKB / minutes * 60);
}

} // namespace

int main(int argc, char** argv) {
    const std::uint64_t frames = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 216000;
    ccChooseSurfaceBackend(true);
    report("autopilot", play(true, frames));
    report("caught again and again", play(false, frames));
    return 0;
}
