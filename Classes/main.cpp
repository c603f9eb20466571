// The zorvik program: runs the game in a window, or headless when asked or when there is no
// display, with the runner's switches (seed, limits, input script, screenshots, trace,
// autoplay). Started without options and without a display it plays a minute by itself,
// writes a few screenshots and prints what happened.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "AppConfiguration.h"
#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCDirector.h"
#include "CCDisplay.h"
#include "CCRunOptions.h"
#include "CCRunScript.h"
#include "CCRunner.h"
#include "CCSurfaceBackend.h"
#include "CCApplicationInput.h"
#include "CCWindowSurface.h"
#include "GameAutopilot.h"
#include "GameKeys.h"
#include "GameTally.h"
#include "ZorvikAppDelegate.h"

namespace {

const char* kUsage = "usage: zorvik [options]\n"
                     "Tap (mouse, finger or Space) to jump over the saws; tilt (arrow keys or a controller) to\n"
                     "change the speed; Escape or closing the window quits.\n";
const char* kOwnOptions = "  --demo                 with no display: play the demo (a minute of autoplay, screenshots and\n"
                          "                         the trace in zorvik-run/), the options given taking the demo's place\n";
const char* kExitStatus = "exit status:\n"
                          "  0      the run ended by its limit, a scripted quit, Escape or closing the window\n"
                          "  1      the game could not start, or a screenshot, the trace or the recording could not be\n"
                          "         written\n"
                          "  2      a bad option\n"
                          "  128+N  signal N (SIGINT, SIGTERM, SIGHUP) ended the run; the frame being drawn\n"
                          "         finishes and the trace and summary are written as for any other end\n";

const char* kEnvironment =
    "environment:\n"
    "  DISPLAY, WAYLAND_DISPLAY  the display for the window; with neither the run is headless\n"
    "  ZORVIK_RESOURCES       the folder of the game's resources (else ../share/zorvik beside an\n"
    "                         installed program, or the checkout's Resources)\n"
    "  ZORVIK_OFFLINE         1: no network services, as --offline\n"
    "  ZORVIK_STORE_URL       the page \"Upgrade App\" opens\n"
    "  XDG_CONFIG_HOME, XDG_DATA_HOME  where the user defaults and the documents are kept\n";

// With no display, and with no options or --demo, the run is the demo: for whatever the options
// leave open, the game plays itself (unless a script plays it) for a minute (unless a limit or
// a quitting script ends it), keeps the trace and a few screenshots in zorvik-run/ and says
// what happened. Returns the folder, or empty when the run is not the demo.
std::string applyDemoDefaults(CCRunOptions& options, const std::optional<CCRunScript>& script) {
    const std::string folder = "zorvik-run";
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    options.headless = true;
    uint64_t quitFrame = 0, scriptShots = 0;
    if (script)
        for (const CCRunAction& a : script->actions()) {
            if (a.kind == CCRunAction::Quit && !quitFrame) quitFrame = a.frame;
            if (a.kind == CCRunAction::Screenshot) ++scriptShots;
        }
    if (options.scriptPath.empty()) options.autopilot = true;
    if (!options.frameLimit && options.secondsLimit <= 0 && !quitFrame) options.secondsLimit = 60;
    if (options.tracePath.empty()) options.tracePath = folder + "/trace.jsonl";
    if (options.screenshots.empty() && !scriptShots) {
        // The frames drawn: the first limit reached.
        uint64_t frames = UINT64_MAX;
        if (options.frameLimit) frames = options.frameLimit;
        if (options.secondsLimit > 0)
            frames = std::min<uint64_t>(frames, static_cast<uint64_t>(options.secondsLimit * CCRunScript::kFramesPerSecond));
        if (quitFrame) frames = std::min<uint64_t>(frames, quitFrame - 1);
        // The title at rest (before the autopilot starts the game), then a sixth, half way and the end.
        std::vector<uint64_t> at;
        for (uint64_t f : {uint64_t{50}, frames / 6, frames / 2, frames > 10 ? frames - 10 : frames})
            if (f >= 1 && f <= frames && std::find(at.begin(), at.end(), f) == at.end()) at.push_back(f);
        std::sort(at.begin(), at.end());
        for (uint64_t f : at) options.screenshots.emplace_back(f, folder + "/frame-" + std::to_string(f) + ".png");
    }
    return folder;
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
    // --demo belongs to this program, not to the runner's options.
    std::vector<const char*> args;
    bool demo = argc == 1;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--demo") demo = true;
        else args.push_back(argv[i]);
    }
    CCRunOptions options;
    std::string error;
    if (!CCRunOptions::parse(static_cast<int>(args.size()), args.data(), options, &error)) {
        std::fprintf(stderr, "zorvik: %s\n%s%s", error.c_str(), kUsage, CCRunOptions::usage());
        return 2;
    }
    if (options.help) {
        std::printf("%s%s%s%s%s", kUsage, CCRunOptions::usage(), kOwnOptions, kEnvironment, kExitStatus);
        return 0;
    }

    std::optional<CCRunScript> script;
    if (!options.scriptPath.empty()) {
        script = CCRunScript::load(options.scriptPath, &error);
        if (!script) {
            std::fprintf(stderr, "zorvik: %s\n", error.c_str());
            return 1;
        }
    }
    std::string demoFolder;
    if (demo && !CCDisplay::isPresent()) demoFolder = applyDemoDefaults(options, script);

    if (std::string(ccChooseSurfaceBackend(options.headless, "Zorvik")) == "headless") options.headless = true;

    if (options.offline) AppConfiguration::setOffline(true);

    CCRunner runner(options);
    if (script) runner.setScript(std::move(*script)); // loaded once, above
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
    const bool resourceFailed = !delegate->missingResource().empty();
    delegate->release();

    if (!result.traceFailure.empty())
        std::fprintf(stderr, "zorvik: %s; the trace ends early\n", result.traceFailure.c_str());
    if (!result.recordFailure.empty())
        std::fprintf(stderr, "zorvik: %s; the recording ends early\n", result.recordFailure.c_str());
    if (options.headless || !options.tracePath.empty()) {
        std::printf("zorvik: %llu frames in %.1f s (%s%s): %s%s%s\n", static_cast<unsigned long long>(result.frames),
                    result.seconds, options.headless ? "headless" : "window",
                    result.signal ? ", interrupted" : "", tally.summary().c_str(),
                    demoFolder.empty() ? "" : "; screenshots and trace in ", demoFolder.c_str());
        std::fflush(stdout);
    }
    // A launch that could not start the game, or a game that lost a picture or font it needs, is a failure.
    if (resourceFailed || (result.reason == "terminated" && result.frames == 0 && !result.signal)) return 1;
    return result.exitStatus();
}
