#include "CCRunner.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>

#include <unistd.h>

#include "CCBackgroundWork.h"
#include "CCClock.h"
#include "CCLog.h"
#include "CCRunClock.h"
#include "CCScopeGuard.h"
#include "CCScreenshot.h"
#include "CCSurfaceBackend.h"
#include "CCTrace.h"
#include "NSRunLoop.h"
#include "UIAccelerometer.h"
#include "UIApplication.h"
#include "UIApplicationDelegate.h"
#include "UIOverlay.h"

namespace {

// The signal that asked the run to end; 0 while none has.
volatile std::sig_atomic_t endSignal = 0;

void askToEnd(int signal) { endSignal = signal; }

// A seed for a run that was not given one: the wall clock's microseconds and the process.
unsigned timeSeed() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<unsigned>(now.tv_sec * 1000003u) ^ static_cast<unsigned>(now.tv_nsec / 1000) ^
           (static_cast<unsigned>(getpid()) << 16);
}

// Signal handlers for the length of a run; the earlier ones come back afterwards.
class EndSignals {
public:
    EndSignals() {
        endSignal = 0;
        struct sigaction ask {};
        ask.sa_handler = askToEnd;
        sigemptyset(&ask.sa_mask);
        for (std::size_t i = 0; i < std::size(kEnding); ++i) sigaction(kEnding[i], &ask, &previous_[i]);
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGXFSZ, &ignore, &previousFileSize_);
    }
    ~EndSignals() {
        for (std::size_t i = 0; i < std::size(kEnding); ++i) sigaction(kEnding[i], &previous_[i], nullptr);
        sigaction(SIGXFSZ, &previousFileSize_, nullptr);
    }
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

private:
    static constexpr int kEnding[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous_[std::size(kEnding)] {};
    struct sigaction previousFileSize_ {};
};

} // namespace

int CCRunResult::exitStatus() const {
    if (failedScreenshots || !traceFailure.empty() || !recordFailure.empty()) return 1;
    return signal ? 128 + signal : 0;
}

CCRunner::CCRunner(CCRunOptions options) : options_(std::move(options)) {}

CCRunner::~CCRunner() {
    if (ownsTrace_) CCTrace::close();
}

bool CCRunner::prepare(std::string* error) {
    if (!script_ && !options_.scriptPath.empty()) {
        script_ = CCRunScript::load(options_.scriptPath, error);
        if (!script_) return false;
    }
    if (!options_.tracePath.empty()) {
        if (!CCTrace::open(options_.tracePath, error)) return false;
        ownsTrace_ = true;
    }
    if (!options_.recordPath.empty() && !recorder_.open(options_.recordPath, error)) return false;
    return true;
}

double CCRunner::elapsed() const { return static_cast<double>(CCClock::nowMicros() - startMicros_) * 1e-6; }

bool CCRunner::wantsScreenshotAt(uint64_t frame) const {
    return nextShot_ < shots_.size() && shots_[nextShot_].first <= frame;
}

CCPixelImage CCRunner::screen() {
    CCSurfaceBackend* backend = ccSurfaceBackend();
    CCPixelImage device = backend->lastFrame();
    // The views go over the device's own screen, unless the backend laid them over already.
    CCFrameOverlay* overlay = backend->overlay();
    if (!backend->compositesOverlay() && overlay && device.width == overlay->width() &&
        device.height == overlay->height()) {
        overlay->update();
        overlay->compositeOver(device);
    }
    return CCScreenshot::upright(device, UIApplication::sharedApplication()->statusBarOrientation());
}

bool CCRunner::writeScreenshot(const std::string& path, std::string* error) {
    return CCScreenshot::writePNG(screen(), path, error);
}

void CCRunner::takeScreenshotsUpTo(uint64_t frame) {
    while (nextShot_ < shots_.size() && shots_[nextShot_].first <= frame) {
        const std::string& path = shots_[nextShot_++].second;
        std::string error;
        if (writeScreenshot(path, &error)) {
            CCTrace::event("screenshot", {{"path", path}});
        } else {
            ++result_.failedScreenshots;
            CCLog("%s", error.c_str());
            CCTrace::event("screenshot-failed", {{"path", path}, {"reason", error}});
        }
    }
}

void CCRunner::playActionsUpTo(uint64_t frame, bool& quit) {
    if (!script_) return;
    const auto& actions = script_->actions();
    while (nextAction_ < actions.size() && actions[nextAction_].frame <= frame) {
        const CCRunAction& action = actions[nextAction_++];
        // Screenshots are taken after their frame; clock reads are the run clock's.
        if (action.kind == CCRunAction::Screenshot || action.kind == CCRunAction::Clock ||
            action.kind == CCRunAction::Work)
            continue;
        if (action.kind == CCRunAction::Quit) {
            quit = true;
            return;
        }
        if (action.kind == CCRunAction::Tilt) tilted_ = true;
        std::string missed;
        if (!injector_.perform(action, CCClock::now(), &missed)) {
            ++result_.missed;
            CCLog("script line %d: %s", action.line, missed.c_str());
            CCTrace::event("script-missed", {{"line", static_cast<long long>(action.line)}, {"reason", missed}});
        }
    }
}

void CCRunner::useRunClock(std::function<uint64_t()> frame, bool recording) {
    std::vector<CCRunClock::Read> reads;
    bool readings = false;
    if (script_)
        for (const CCRunAction& a : script_->actions()) {
            if (a.kind == CCRunAction::Clock) reads.push_back({a.frame, a.time});
            readings = readings || a.kind == CCRunAction::Reading;
        }
    // A recording brings every reading the accelerometer handed over: its timer adds none.
    UIAccelerometer::sharedAccelerometer()->setTimerHeld(readings);
    // A real-time run's frames last what the clock says; a replay of one, what it said then.
    const bool recordsClock = recording && (!CCClock::isDeterministic() || !reads.empty());
    if (reads.empty() && !recordsClock) return;
    runClock_ = std::make_unique<CCRunClock>(std::move(frame));
    runClock_->replay(std::move(reads));
    if (recordsClock)
        runClock_->record([this](uint64_t at, const CCTimeValue& time) { recorder_.clock(at, time); });
    CCClock::setTimeOfDaySource(runClock_.get());
}

void CCRunner::planBackgroundWork(std::function<uint64_t()> frame, bool recording) {
    const uint64_t before = CCBackgroundWork::lastStartedId();
    auto frames = std::make_shared<std::map<uint64_t, uint64_t>>(); // the run's work number → its frame
    if (script_)
        for (const CCRunAction& a : script_->actions())
            if (a.kind == CCRunAction::Work) frames->emplace(static_cast<uint64_t>(a.index), a.frame);
    // A recording says when each result came; a result it does not name never comes.
    if (!frames->empty())
        CCBackgroundWork::setDeliveryPlan([before, frames, frame](uint64_t id) {
            auto found = frames->find(id - before);
            return id > before && found != frames->end() && found->second <= frame();
        });
    if (recording)
        CCBackgroundWork::setDeliveryObserver(
            [this, before, frame](uint64_t id) { recorder_.work(frame(), id - before); });
}

CCRunResult CCRunner::run(UIApplicationDelegate* delegate) {
    EndSignals signals;
    UIApplication* app = UIApplication::sharedApplication();
    CCSurfaceBackend* backend = ccSurfaceBackend();
    const bool wasDeterministic = CCClock::isDeterministic();
    const bool keptFrames = backend->keepsLastFrame();
    if (!backend->overlay()) backend->setOverlay(std::make_unique<UIOverlay>());
    // Every shared setting changed here is put back when the run ends, however it ends; work
    // still running in the background is stopped first (its results are dropped).
    CCScopeGuard restore([app, backend, wasDeterministic, keptFrames, headless = app->isHeadless(),
                          clock = app->clock(), previous = app->delegate(), this] {
        ccCancelBackgroundWork();
        ccWaitForBackgroundWork();
        app->setTouchObserver(nullptr);
        app->setActiveObserver(nullptr);
        CCBackgroundWork::setDeliveryPlan(nullptr);
        CCBackgroundWork::setDeliveryObserver(nullptr);
        CCClock::setTimeOfDaySource(nullptr);
        runClock_.reset();
        UIAccelerometer::sharedAccelerometer()->setReadingObserver(nullptr);
        UIAccelerometer::sharedAccelerometer()->setTimerHeld(false);
        if (tilted_) UIAccelerometer::sharedAccelerometer()->setSource(nullptr);
        tilted_ = false;
        backend->setKeepsLastFrame(keptFrames);
        app->setDelegate(previous);
        app->setClock(clock);
        app->setHeadless(headless);
        CCClock::setDeterministic(wasDeterministic);
    });
    if (options_.isDeterministic()) CCClock::setDeterministic(true);
    app->setHeadless(options_.headless);
    // View animations run on the frame clock, so they are repeatable too.
    app->setClock([] { return CCClock::now(); });
    app->setDelegate(delegate);

    shots_ = options_.screenshots;
    if (script_)
        for (const CCRunAction& a : script_->actions())
            if (a.kind == CCRunAction::Screenshot) shots_.emplace_back(a.frame, a.text);
    std::stable_sort(shots_.begin(), shots_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    nextShot_ = nextAction_ = 0;
    result_ = {};
    frame_ = 0;
    presentedAtStart_ = backend->presentedFrames();
    startMicros_ = CCClock::nowMicros();

    CCTrace::setFrame(0);
    CCTrace::setTime(0);
    CCTraceFields start{{"backend", backend->name()},
                        {"headless", options_.headless},
                        {"deterministic", CCClock::isDeterministic()}};
    // Every run has a seed, so that any run can be repeated from its trace or its recording.
    result_.seed = options_.seed ? *options_.seed : timeSeed();
    start.emplace_back("seed", static_cast<long long>(result_.seed));
    CCTrace::event("run-start", start);

    const bool recording = recorder_.isOpen();
    if (recording) recorder_.begin(result_.seed, CCClock::isDeterministic(), backend->name());
    // Input delivered while `drawn` frames are on screen comes before frame drawn + 1, and so
    // does what it causes: the trace says so wherever the input came from (a window's events
    // between two frames, the autopilot after a frame, a script before one), so that a
    // recording played again gives the same trace.
    auto nextFrame = [this, backend] { return backend->presentedFrames() - presentedAtStart_ + 1; };
    app->setTouchObserver([this, nextFrame, recording](long finger, UITouchPhase phase, CGPoint p) {
        CCTrace::setFrame(nextFrame());
        if (recording) recorder_.touch(nextFrame(), finger, phase, p);
    });
    UIAccelerometer::sharedAccelerometer()->setReadingObserver(
        [this, nextFrame, recording](const UIAccelerometerReading& r) {
            CCTrace::setFrame(nextFrame());
            if (recording) recorder_.reading(nextFrame(), r);
        });
    if (recording)
        app->setActiveObserver([this, nextFrame](bool active) { recorder_.focus(nextFrame(), active); });
    useRunClock(nextFrame, recording);
    planBackgroundWork(nextFrame, recording);

    srandom(result_.seed);
    if (delegate) delegate->applicationDidFinishLaunching(app);
    // The launch may seed from the time; the run's seed still decides the game.
    srandom(result_.seed);

    bool quits = false;
    if (script_)
        for (const CCRunAction& a : script_->actions()) quits = quits || a.kind == CCRunAction::Quit;
    if (options_.headless && !options_.frameLimit && options_.secondsLimit <= 0 && !quits)
        CCLog("running headless until interrupted; --seconds N stops by itself");

    NSRunLoop* loop = NSRunLoop::mainRunLoop();
    bool quit = false;
    for (;;) {
        frame_ = backend->presentedFrames() - presentedAtStart_;
        CCTrace::setFrame(frame_ + 1);
        CCTrace::setTime(elapsed());
        if (options_.frameLimit && frame_ >= options_.frameLimit) {
            result_.reason = "frames";
            break;
        }
        double left = options_.secondsLimit > 0 ? options_.secondsLimit - elapsed() : 0.25;
        if (left <= 1e-9) {
            result_.reason = "seconds";
            break;
        }
        if (app->isTerminating() || endSignal) {
            result_.reason = "terminated";
            result_.signal = endSignal;
            break;
        }
        playActionsUpTo(frame_ + 1, quit);
        if (quit) {
            result_.reason = "quit";
            break;
        }
        // Reading frames back costs; only frames that are screenshotted are kept.
        backend->setKeepsLastFrame(keptFrames || wantsScreenshotAt(frame_ + 1));
        app->updateViews();
        loop->runOnce(std::min(left, 0.25));
        uint64_t drawn = backend->presentedFrames() - presentedAtStart_;
        if (drawn > frame_) {
            frame_ = drawn;
            CCTrace::setFrame(drawn);
            CCTrace::setTime(elapsed());
            takeScreenshotsUpTo(drawn);
            if (frameHook_) frameHook_(drawn);
        }
    }

    CCTrace::setFrame(frame_);
    for (; nextShot_ < shots_.size(); ++nextShot_) {
        ++result_.failedScreenshots;
        CCLog("No screenshot \"%s\": the run ended before frame %llu", shots_[nextShot_].second.c_str(),
              static_cast<unsigned long long>(shots_[nextShot_].first));
        CCTrace::event("screenshot-failed",
                       {{"path", shots_[nextShot_].second}, {"reason", "the run ended before that frame"}});
    }
    result_.frames = frame_;
    result_.seconds = elapsed();
    CCTrace::setTime(result_.seconds);
    CCTraceFields end{{"frames", static_cast<long long>(frame_)},
                      {"reason", result_.reason},
                      {"missed", static_cast<long long>(result_.missed)}};
    if (result_.signal) end.emplace_back("signal", static_cast<long long>(result_.signal));
    CCTrace::event("run-end", end);
    app->setTouchObserver(nullptr);
    app->setActiveObserver(nullptr);
    CCBackgroundWork::setDeliveryObserver(nullptr);
    UIAccelerometer::sharedAccelerometer()->setReadingObserver(nullptr);
    if (recording) {
        recorder_.finish(frame_);
        result_.recordFailure = recorder_.failure();
    }
    app->sendWillTerminate();
    // The trace ends here, so that a file whose last lines did not reach the disk is known now.
    if (ownsTrace_) {
        CCTrace::close();
        ownsTrace_ = false;
        result_.traceFailure = CCTrace::failure();
    }
    return result_;
}
