// The zorvik program: runs the game in a window, or headless when asked or when there is no
// display, with the runner's switches (seed, limits, input script, screenshots, trace,
// autoplay). Started without options and without a display it plays a minute by itself,
// writes a few screenshots and prints what happened.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCDirector.h"
#include "CCRunOptions.h"
#include "CCRunner.h"
#include "CCSurfaceBackend.h"
#include "CCApplicationInput.h"
#include "CCWindowSurface.h"
#include "GameAutopilot.h"
#include "GameKeys.h"
#include "GameTally.h"
#include "UIApplication.h"
#include "ZorvikAppDelegate.h"

namespace {

const char* kUsage = "usage: zorvik [options]\n"
                     "Tap (mouse, finger or Space) to jump over the saws; tilt (arrow keys or a controller) to\n"
                     "change the speed; Escape or closing the window quits.\n";
const char* kExitStatus = "exit status:\n"
                          "  0      the run ended by its limit, a scripted quit, Escape or closing the window\n"
                          "  1      the game could not start, or a screenshot or the trace could not be written\n"
                          "  2      a bad option\n"
                          "  128+N  signal N (SIGINT, SIGTERM, SIGHUP) ended the run; the frame being drawn\n"
                          "         finishes and the trace and summary are written as for any other end\n";

bool hasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

} // namespace

int main(int argc, char** argv) {
    CCAutoreleaseScope pool;
    CCRunOptions options;
    std::string error;
    if (!CCRunOptions::parse(argc - 1, argv + 1, options, &error)) {
        std::fprintf(stderr, "zorvik: %s\n%s%s", error.c_str(), kUsage, CCRunOptions::usage());
        return 2;
    }
    if (options.help) {
        std::printf("%s%s%s", kUsage, CCRunOptions::usage(), kExitStatus);
        return 0;
    }

    // No display and nothing asked: a minute of autoplay with a few pictures.
    std::string demoFolder;
    if (argc == 1 && !hasDisplay()) {
        demoFolder = "zorvik-run";
        std::filesystem::create_directories(demoFolder);
        options.headless = true;
        options.secondsLimit = 60;
        options.autopilot = true;
        options.tracePath = demoFolder + "/trace.jsonl";
        for (uint64_t frame : {90, 600, 1800, 3590})
            options.screenshots.emplace_back(frame, demoFolder + "/frame-" + std::to_string(frame) + ".png");
    }

    if (std::string(ccChooseSurfaceBackend(options.headless, "Zorvik")) == "headless") options.headless = true;

    CCRunner runner(options);
    if (!runner.prepare(&error)) {
        std::fprintf(stderr, "zorvik: %s\n", error.c_str());
        return 1;
    }
    runner.setSceneToView([](CGPoint p) { return CCDirector::sharedDirector()->convertToUI(p); });

    GameAutopilot autopilot;
    if (options.autopilot)
        runner.setFrameHook([&](uint64_t frame) { autopilot.afterFrame(frame, CCClock::now()); });

    if (!options.headless) {
        auto* window = static_cast<CCWindowSurface*>(ccSurfaceBackend());
        window->setKeyHandler([](CCWindowKey key) { return zorvikHandleKey(key, CCClock::now()); });
    }

    GameTally tally;
    auto* delegate = new ZorvikAppDelegate;
    CCRunResult result = runner.run(delegate);
    UIApplication::sharedApplication()->setDelegate(nullptr);
    delegate->release();

    if (!result.traceFailure.empty())
        std::fprintf(stderr, "zorvik: %s; the trace ends early\n", result.traceFailure.c_str());
    if (options.headless || !options.tracePath.empty()) {
        std::printf("zorvik: %llu frames in %.1f s (%s%s): %s%s%s\n", static_cast<unsigned long long>(result.frames),
                    result.seconds, options.headless ? "headless" : "window",
                    result.signal ? ", interrupted" : "", tally.summary().c_str(),
                    demoFolder.empty() ? "" : "; screenshots and trace in ", demoFolder.c_str());
        std::fflush(stdout);
    }
    // A launch that could not start the game is a failure.
    if (result.reason == "terminated" && result.frames == 0 && !result.signal) return 1;
    return result.exitStatus();
}
