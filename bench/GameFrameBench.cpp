// The whole game frame, headless and on the deterministic clock, as the runner drives it: the
// views' update, one run-loop pass (timers, the display link, the director's draw and present)
// and the pool drain. Measured on the title scene and on the game scene (no input once it
// runs), each once as the program runs it and once reading every frame back from GL as the
// program used to (its present read each frame into two fresh buffers), so that the two stand
// side by side in one run.
//
// Counters per frame: `main_cpu_us`, the main thread's CPU time (the GL driver's own threads
// are not counted); `allocs`, the heap allocations the main thread made; `alloc_frames`, the
// share of frames that made any; `steady_allocs`, the allocations of the frames in which
// nothing happened in the game (no event in the trace: no spawn, hit, score or label change),
// per such frame.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <GLES/gl.h>

#include "CCApplicationInput.h"
#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCDirector.h"
#include "HelloWorldScene.h"
#include "CCSurfaceBackend.h"
#include "CCTrace.h"
#include "NSRunLoop.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIOverlay.h"
#include "ZorvikAppDelegate.h"

// ---- allocation counter: every operator new of the calling thread ----

namespace {
thread_local std::uint64_t threadAllocations = 0;
} // namespace

void* operator new(std::size_t size) {
    ++threadAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++threadAllocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

std::int64_t threadCPUNanos() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

// The game launched once for the whole program, as the runner launches it.
class Game {
public:
    static Game& shared() {
        static Game* game = new Game; // lives until the process ends, like the program's
        return *game;
    }

    // Draws one frame the way the runner does; false when the run loop drew none.
    bool frame() {
        const std::uint64_t before = backend_->presentedFrames();
        for (int pass = 0; pass < 8 && backend_->presentedFrames() == before; ++pass) {
            app_->updateViews();
            NSRunLoop::mainRunLoop()->runOnce(0.25);
        }
        return backend_->presentedFrames() != before;
    }

    // Taps the title and plays until the game scene has been running for a second.
    bool startGame() {
        if (inGame_) return true;
        app_->sendTouch(1, UITouchPhaseBegan, CGPoint{160, 240}, CCClock::now());
        app_->sendTouch(1, UITouchPhaseEnded, CGPoint{160, 240}, CCClock::now());
        for (int i = 0; i < 600 && !inGame_; ++i) {
            frame();
            inGame_ = dynamic_cast<HelloWorldScene*>(CCDirector::sharedDirector()->runningScene()) != nullptr;
        }
        for (int i = 0; i < 60; ++i) frame();
        return inGame_;
    }

    // Dismisses the "Try again" alert of a caught cat, so that the game plays on.
    void dismissAlerts() {
        if (app_->alerts().empty()) return;
        CCPtr<UIAlertView> alert = app_->alerts().front();
        alert->dismissWithClickedButtonIndex(0, false);
    }

private:
    Game() {
        ccChooseSurfaceBackend(true, "Zorvik");
        backend_ = ccSurfaceBackend();
        CCClock::setDeterministic(true);
        app_ = UIApplication::sharedApplication();
        app_->setHeadless(true);
        app_->setClock([] { return CCClock::now(); });
        if (!backend_->overlay()) backend_->setOverlay(std::make_unique<UIOverlay>());
        delegate_ = new ZorvikAppDelegate; // lives with the process
        app_->setDelegate(delegate_);
        srandom(5);
        delegate_->applicationDidFinishLaunching(app_);
        srandom(5);
        // The title's fade-in and first textures are behind us.
        for (int i = 0; i < 60; ++i) frame();
    }

    CCSurfaceBackend* backend_ = nullptr;
    UIApplication* app_ = nullptr;
    ZorvikAppDelegate* delegate_ = nullptr;
    bool inGame_ = false;
};

// The read-back every present used to make: a fresh buffer for GL's rows and another, zeroed,
// for the picture the right way up.
void readBackAsBefore(CCPixelImage& kept) {
    constexpr int kWidth = 320, kHeight = 480; // the device screen, portrait
    std::vector<std::uint8_t> upsideDown(std::size_t{kWidth} * kHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, upsideDown.data());
    CCPixelImage image;
    image.width = kWidth;
    image.height = kHeight;
    image.rgba.resize(upsideDown.size());
    const std::size_t row = std::size_t{kWidth} * 4;
    for (int r = 0; r < kHeight; ++r)
        std::memcpy(&image.rgba[r * row], &upsideDown[(kHeight - 1 - r) * row], row);
    kept = std::move(image);
}

void runFrames(benchmark::State& state, bool game, bool readsBack) {
    Game& g = Game::shared();
    if (game && !g.startGame()) {
        state.SkipWithError("the game scene did not start");
        return;
    }
    CCPixelImage kept;
    std::int64_t cpu = 0;
    std::uint64_t allocations = 0, allocatingFrames = 0, steadyAllocations = 0, steadyFrames = 0;
    // Game events of the frame, counted without keeping their text.
    std::uint64_t events = 0;
    CCTrace::openSink([&events](const std::string&) { ++events; });
    for (auto _ : state) {
        const std::uint64_t e0 = events;
        const std::uint64_t a0 = threadAllocations;
        const std::int64_t c0 = threadCPUNanos();
        const bool drawn = g.frame();
        if (drawn && readsBack) readBackAsBefore(kept);
        if (!drawn) {
            state.SkipWithError("no frame drawn");
            break;
        }
        cpu += threadCPUNanos() - c0;
        const std::uint64_t made = threadAllocations - a0;
        allocations += made;
        allocatingFrames += made != 0;
        if (events == e0) {
            ++steadyFrames;
            steadyAllocations += made;
        }
        state.PauseTiming();
        g.dismissAlerts();
        state.ResumeTiming();
    }
    CCTrace::close();
    state.counters["steady_allocs"] = steadyFrames ? double(steadyAllocations) / double(steadyFrames) : 0.0;
    state.counters["main_cpu_us"] = benchmark::Counter(double(cpu) * 1e-3, benchmark::Counter::kAvgIterations);
    state.counters["allocs"] = benchmark::Counter(double(allocations), benchmark::Counter::kAvgIterations);
    state.counters["alloc_frames"] = benchmark::Counter(double(allocatingFrames), benchmark::Counter::kAvgIterations);
}

// Registered in this order: the title first, then the game it leads to.
void BM_TitleFrame(benchmark::State& state) { runFrames(state, false, false); }
void BM_TitleFrameReadBack(benchmark::State& state) { runFrames(state, false, true); }
void BM_GameFrame(benchmark::State& state) { runFrames(state, true, false); }
void BM_GameFrameReadBack(benchmark::State& state) { runFrames(state, true, true); }

} // namespace

BENCHMARK(BM_TitleFrame)->Iterations(1500);
BENCHMARK(BM_TitleFrameReadBack)->Iterations(1500);
BENCHMARK(BM_GameFrame)->Iterations(3000);
BENCHMARK(BM_GameFrameReadBack)->Iterations(3000);

BENCHMARK_MAIN();
