#pragma once
// Runs the application frame by frame for the game binary's main, the same way in a window and
// headless: launches the delegate, plays the input script before the frames it names, writes
// screenshots after the frames asked for, keeps the trace's frame and time current, and stops
// at the frame or time limit, at a scripted quit, or when the application terminates.
//
// SIGINT, SIGTERM and SIGHUP end a run cleanly in either back end: the frame being drawn
// finishes, then the run ends as terminated (run-end written, the application told). A file
// too large for the process's limit is a write error, not a signal that kills the run.
//
// In a deterministic run the frame clock is simulated: it moves by one display refresh per
// frame and never waits, so a run with a fixed seed gives the same frames every time.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "CCInputInjector.h"
#include "CCRunRecorder.h"
#include "CCRunOptions.h"
#include "CCRunScript.h"
#include "CCSurfaceBackend.h"

class CCRunClock;
class UIApplicationDelegate;

struct CCRunResult {
    uint64_t frames = 0;   // frames drawn
    double seconds = 0;    // run-clock seconds from launch to the end
    unsigned missed = 0;   // script actions that found nothing to act on
    unsigned failedScreenshots = 0;
    std::string reason;    // "frames", "seconds", "quit", "terminated"
    unsigned seed = 0;     // the random generator's seed: the one asked for, else one from the time
    int signal = 0;        // SIGINT, SIGTERM or SIGHUP when one ended the run
    std::string traceFailure; // why the trace file is incomplete; empty when it is whole
    std::string recordFailure; // the same for the recording

    // The process's exit status for this run: 1 when a screenshot, the trace or the recording could not be
    // written, 128 + the signal when one ended the run, else 0 (also when the window closed).
    int exitStatus() const;
};

class CCRunner {
public:
    explicit CCRunner(CCRunOptions options);
    ~CCRunner();
    CCRunner(const CCRunner&) = delete;
    CCRunner& operator=(const CCRunner&) = delete;

    // Loads the script (unless one was set), opens the trace and the recording; false with a reason (script errors carry the file
    // name and line number).
    bool prepare(std::string* error);
    // Uses an already parsed script instead of the options' file.
    void setScript(CCRunScript script) { script_ = std::move(script); }

    // The director's mapping of scene points to view points, for scripted scene points.
    void setSceneToView(CCInputInjector::PointMapping mapping) { injector_.setSceneToView(std::move(mapping)); }
    // Called after every drawn frame with its number (the autopilot, tests).
    void setFrameHook(std::function<void(uint64_t frame)> hook) { frameHook_ = std::move(hook); }

    // Launches the application with the delegate (applicationDidFinishLaunching:), runs it, then
    // sends applicationWillTerminate:. Returns what happened.
    CCRunResult run(UIApplicationDelegate* delegate);

    // The device screen of the last kept frame, upright.
    CCPixelImage screen();
    bool writeScreenshot(const std::string& path, std::string* error);

    const CCRunOptions& options() const { return options_; }
    // Frames drawn so far in this run.
    uint64_t frame() const { return frame_; }

private:
    void playActionsUpTo(uint64_t frame, bool& quit);
    void takeScreenshotsUpTo(uint64_t frame);
    bool wantsScreenshotAt(uint64_t frame) const;
    double elapsed() const;
    // Recorded director clock reads of the script played back, this run's reads recorded.
    void useRunClock(std::function<uint64_t()> frame, bool recording);
    // Background results of the script delivered at their recorded frames, this run's recorded.
    void planBackgroundWork(std::function<uint64_t()> frame, bool recording);

    CCRunOptions options_;
    std::optional<CCRunScript> script_;
    std::size_t nextAction_ = 0;
    std::vector<std::pair<uint64_t, std::string>> shots_; // options' and script's, by frame
    std::size_t nextShot_ = 0;
    CCInputInjector injector_;
    std::function<void(uint64_t)> frameHook_;
    CCRunResult result_;
    uint64_t frame_ = 0;
    uint64_t presentedAtStart_ = 0;
    int64_t startMicros_ = 0;
    bool ownsTrace_ = false;
    CCRunRecorder recorder_;
    std::unique_ptr<CCRunClock> runClock_;
    bool tilted_ = false;
};
