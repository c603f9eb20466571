// The zorvik program: runs the game in a window, or headless when asked or when there is no
// display, with the runner's switches (seed, limits, input script, screenshots, trace,
// autoplay). Started without options and without a display it plays a minute by itself,
// writes a few screenshots and prints what happened.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "AppConfiguration.h"
#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCDirector.h"
#include "CCDisplay.h"
#include "CCRunOptions.h"
#include "CCRunner.h"
#include "CCSurfaceBackend.h"
#include "CCApplicationInput.h"
#include "CCWindowSurface.h"
#include "GameAutopilot.h"
#include "GameKeys.h"
#include "ZorvikAppDelegate.h"

namespace {

const char* kUsage = "usage: zorvik [options]\n"
                     "Tap (mouse, finger or Space) to jump over the saws; tilt (arrow keys or a controller) to\n"
                     "change the speed; Escape or closing the window quits.\n";

// What a trace says about the game, for the closing line.
struct Summary {
    long jumps = 0, sawsPassed = 0, hits = 0, caught = 0, coins = 0, bonuses = 0;
    long long score = 0, best = 0;
};

long long numberAfter(const std::string& line, const std::string& key) {
    auto at = line.find("\"" + key + "\":");
    if (at == std::string::npos) return 0;
    return std::strtoll(line.c_str() + at + key.size() + 3, nullptr, 10);
}

Summary summarise(const std::string& tracePath) {
    Summary s;
    std::ifstream in(tracePath);
    std::string line;
    auto is = [&](const char* event) { return line.find(std::string("\"event\":\"") + event + "\"") != std::string::npos; };
    while (std::getline(in, line)) {
        if (is("jump")) ++s.jumps;
        else if (is("saw-hit")) ++s.hits;
        else if (is("caught")) ++s.caught;
        else if (is("extreme-jump-start")) ++s.coins;
        else if (is("score")) {
            s.score = numberAfter(line, "score");
            if (s.score > s.best) s.best = s.score;
            if (line.find("\"saw-passed\"") != std::string::npos) ++s.sawsPassed;
            if (line.find("\"bonus\"") != std::string::npos) ++s.bonuses;
        }
    }
    return s;
}

} // namespace

// Font and text libraries keep caches for the life of the process and never free them; a leak
// check at exit (debug builds) passes over those, and only those.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libpangocairo-1.0.so\n"
           "leak:libharfbuzz.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
    CCAutoreleaseScope pool;
    CCRunOptions options;
    std::string error;
    if (!CCRunOptions::parse(argc - 1, argv + 1, options, &error)) {
        std::fprintf(stderr, "zorvik: %s\n%s%s", error.c_str(), kUsage, CCRunOptions::usage());
        return 2;
    }
    if (options.help) {
        std::printf("%s%s", kUsage, CCRunOptions::usage());
        return 0;
    }

    // No display and nothing asked: a minute of autoplay with a few pictures.
    std::string demoFolder;
    if (argc == 1 && !CCDisplay::isPresent()) {
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

    if (options.offline) AppConfiguration::setOffline(true);

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

    auto* delegate = new ZorvikAppDelegate;
    CCRunResult result = runner.run(delegate);
    const bool resourceFailed = !delegate->missingResource().empty();
    delegate->release();

    if (!options.tracePath.empty()) {
        Summary s = summarise(options.tracePath);
        std::printf("zorvik: %llu frames in %.1f s (%s): %ld jumps, %ld saws passed, %ld hits, caught %ld times, "
                    "%ld coins, %ld bonuses, score %lld (best %lld)%s%s\n",
                    static_cast<unsigned long long>(result.frames), result.seconds,
                    options.headless ? "headless" : "window", s.jumps, s.sawsPassed, s.hits, s.caught, s.coins,
                    s.bonuses, s.score, s.best, demoFolder.empty() ? "" : "; screenshots and trace in ",
                    demoFolder.c_str());
    }
    // A launch that could not start the game, or a game that lost a picture or font it needs, is a failure.
    if (resourceFailed || (result.reason == "terminated" && result.frames == 0)) return 1;
    return result.failedScreenshots ? 1 : 0;
}
