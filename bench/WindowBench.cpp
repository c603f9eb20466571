// Main-thread CPU per frame in a real 960 × 640 window on a virtual display (Xvfb), side by
// side with the same frames drawn by SFML 2.5 and by SDL2's 2D renderer in a window of the
// same size: an empty frame, and 1,000 / 10,000 / 50,000 moving 16 × 16 sprites (the engine's
// in one sprite batch node; SFML's in one vertex array; SDL2's through its batching
// renderer). Each frame polls the window's events, draws, and shows the picture. The game
// itself is also played in a window (GLX contexts, and SDL's EGL ones as they were before)
// and headless, flat out and paced like a window, each in a process of its own, and its
// main-thread CPU per frame reported for each.
// Usage: WindowBench [benchmark options];
//        WindowBench --game window|headless|headless-paced FRAMES (a child).
#include <SDL.h>
#include <SFML/Graphics.hpp>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "../tests/support/VirtualDisplay.h"
#include "SpriteScene.h"
#include "CCApplicationInput.h"
#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCDirectorIOS.h"
#include "CCRunOptions.h"
#include "CCRunner.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCTexture2D.h"
#include "CCWindowSurface.h"
#include "CGImage.h"
#include "CGPointExtension.h"
#include "EAGLContext.h"
#include "EAGLView.h"
#include "GameAutopilot.h"
#include "UIApplication.h"
#include "UIImage.h"
#include "ZorvikAppDelegate.h"

namespace {

constexpr int kWindowW = 960, kWindowH = 640; // the engine's window on a 1280 × 800 desktop

// --- the engine, in its window backend -------------------------------------------------

CCWindowSurface* engineWindow() { return dynamic_cast<CCWindowSurface*>(ccSurfaceBackend()); }

// The director drawing a landscape device screen into the window, as the game sets it up.
struct EngineWindow {
    CCDirectorIOS* director = nullptr;
    bool ok = false;
    EngineWindow() {
        ccChooseSurfaceBackend(false, "WindowBench");
        if (!engineWindow()) return;
        CCDirector::setDirectorType(kCCDirectorTypeNSTimer);
        director = CCDirectorIOS::sharedDirector();
        EAGLView* view = EAGLView::viewWithFrame(CGRectMake(0, 0, 320, 480), kEAGLColorFormatRGB565, 0, false);
        if (!view) return;
        director->setOpenGLView(view);
        director->setDeviceOrientation(CCDeviceOrientationLandscapeLeft);
        UIApplication::sharedApplication()->setStatusBarOrientation(3);
        view->layoutSubviews();
        director->runWithScene(CCScene::node());
        ccSurfaceBackend()->setKeepsLastFrame(false); // as the runner does between screenshots
        engineWindow()->setVsync(false);               // as the peers' windows
        ok = true;
    }
    void show(CCScene* scene) {
        director->replaceScene(scene);
        frame();
        frame();
    }
    void frame() {
        engineWindow()->pollEvents();
        director->drawScene();
        CCAutoreleasePool::drain();
    }
};

EngineWindow& engine() {
    static EngineWindow* e = new EngineWindow; // one director for the process
    return *e;
}

// range(1) 0: frames copied through memory, as where EGL images are missing.
void BM_EngineWindow(benchmark::State& state) {
    EngineWindow& e = engine();
    if (!e.ok) {
        state.SkipWithError("no engine window");
        return;
    }
    engineWindow()->setPresentsOnGPU(state.range(1) != 0);
    const int n = int(state.range(0));
    CCAutoreleaseScope pool;
    // The peers make contexts of their own current: the director's is made current again.
    EAGLContext::setCurrentContext(EAGLContext::currentContext());
    CCScene* scene = CCScene::node();
    std::vector<CCSprite*> sprites;
    if (n > 0) {
        UIImage* image = UIImage::imageWithCGImage(CGImage::imageWithRGBA(kSide, kSide, spritePixels()));
        CCTexture2D* texture = ccCreate<CCTexture2D>([&](CCTexture2D* t) { return t->initWithImage(image); });
        CCSpriteBatchNode* batch = CCSpriteBatchNode::batchNodeWithTexture(texture, unsigned(n));
        scene->addChild(batch);
        for (int i = 0; i < n; i++) {
            CCSprite* s = CCSprite::spriteWithTexture(texture);
            batch->addChild(s);
            sprites.push_back(s);
        }
    }
    e.show(scene);
    int f = 0;
    for (auto _ : state) {
        f++;
        for (int i = 0; i < n; i++) sprites[size_t(i)]->setPosition(place(i, f));
        e.frame();
    }
    state.SetLabel(std::string(engineWindow()->contexts()) +
                   (engineWindow()->presentsOnGPU() ? ", frames on the GPU" : ", frames copied"));
    e.show(CCScene::node());
    engineWindow()->setPresentsOnGPU(true);
    state.counters["sprites"] = n;
}

// --- SFML 2.5 --------------------------------------------------------------------------

void BM_SFML(benchmark::State& state) {
    sf::RenderWindow window(sf::VideoMode(kWindowW, kWindowH), "WindowBench SFML", sf::Style::Titlebar | sf::Style::Close);
    window.setVerticalSyncEnabled(false);
    window.setView(sf::View(sf::FloatRect(0, 0, kSceneW, kSceneH))); // the scene at twice its size
    sf::Texture texture;
    texture.create(kSide, kSide);
    const std::vector<std::uint8_t> pixels = spritePixels();
    texture.update(pixels.data());
    const int n = int(state.range(0));
    sf::VertexArray quads(sf::Quads, std::size_t(n) * 4);
    for (int i = 0; i < n; i++) {
        quads[std::size_t(i) * 4 + 0].texCoords = {0, 0};
        quads[std::size_t(i) * 4 + 1].texCoords = {kSide, 0};
        quads[std::size_t(i) * 4 + 2].texCoords = {kSide, kSide};
        quads[std::size_t(i) * 4 + 3].texCoords = {0, kSide};
    }
    int f = 0;
    for (auto _ : state) {
        f++;
        for (sf::Event e; window.pollEvent(e);) {
        }
        for (int i = 0; i < n; i++) {
            const CGPoint p = place(i, f);
            const float x = p.x, y = kSceneH - p.y; // SFML's y runs down
            sf::Vertex* q = &quads[std::size_t(i) * 4];
            q[0].position = {x - 8, y - 8};
            q[1].position = {x + 8, y - 8};
            q[2].position = {x + 8, y + 8};
            q[3].position = {x - 8, y + 8};
        }
        window.clear();
        if (n > 0) window.draw(quads, sf::RenderStates(&texture));
        window.display();
    }
    window.close();
    state.counters["sprites"] = n;
}

// --- SDL2's renderer -------------------------------------------------------------------

void BM_SDL2Renderer(benchmark::State& state) {
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_Window* window = SDL_CreateWindow("WindowBench SDL2", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowW,
                                          kWindowH, 0);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (!renderer) {
        state.SkipWithError(SDL_GetError());
        if (window) SDL_DestroyWindow(window);
        return;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    state.SetLabel(info.name);
    SDL_RenderSetLogicalSize(renderer, kSceneW, kSceneH);
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, kSide, kSide);
    const std::vector<std::uint8_t> pixels = spritePixels();
    SDL_UpdateTexture(texture, nullptr, pixels.data(), kSide * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    const int n = int(state.range(0));
    int f = 0;
    for (auto _ : state) {
        f++;
        for (SDL_Event e; SDL_PollEvent(&e);) {
        }
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (int i = 0; i < n; i++) {
            const CGPoint p = place(i, f);
            const SDL_FRect r{p.x - 8, kSceneH - p.y - 8, kSide, kSide};
            SDL_RenderCopyF(renderer, texture, nullptr, &r);
        }
        SDL_RenderPresent(renderer);
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    state.counters["sprites"] = n;
}

// --- the game, in a window and headless ------------------------------------------------

double threadCPUSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Plays the game with the autopilot and prints the main thread's CPU seconds per frame after
// the first second (loading and the first frames left out).
int playGame(bool headless, bool paced, std::uint64_t frames) {
    CCAutoreleaseScope pool;
    if (std::string(ccChooseSurfaceBackend(headless, "Zorvik")) != (headless ? "headless" : "window")) return 1;
    CCRunOptions options;
    options.headless = headless;
    options.deterministic = !paced;
    options.seed = 11;
    options.frameLimit = frames;
    options.autopilot = true;
    CCRunner runner(options);
    std::string error;
    if (!runner.prepare(&error)) {
        std::fprintf(stderr, "WindowBench: %s\n", error.c_str());
        return 1;
    }
    runner.setSceneToView([](CGPoint p) { return CCDirector::sharedDirector()->convertToUI(p); });
    GameAutopilot pilot;
    constexpr std::uint64_t kWarmUp = 60;
    double start = 0, end = 0;
    std::uint64_t last = 0;
    runner.setFrameHook([&](std::uint64_t frame) {
        pilot.afterFrame(frame, CCClock::now());
        if (frame == kWarmUp) start = threadCPUSeconds();
        end = threadCPUSeconds();
        last = frame;
    });
    auto* delegate = new ZorvikAppDelegate;
    runner.run(delegate);
    UIApplication::sharedApplication()->setDelegate(nullptr);
    delegate->release();
    if (last <= kWarmUp) return 1;
    std::printf("%.9f\n", (end - start) / double(last - kWarmUp));
    return 0;
}

std::string self;

// mode: "window" (GLX contexts under X11), "window-egl" (SDL's EGL contexts, as before GLX was
// used), "window-flat" (the window on the simulated clock, never asleep: what the window costs
// beyond headless without pacing), "headless", or "headless-paced" (headless on the real clock,
// asleep between frames as in a window: what pacing alone costs, in sleeps and in caches gone
// cold).
void BM_Game(benchmark::State& state, const char* mode) {
    const bool egl = std::string(mode) == "window-egl";
    const std::string command = std::string(egl ? "SDL_VIDEO_X11_FORCE_EGL=1 " : "") + "'" + self + "' --game " +
                                (egl ? "window" : mode) + " 600 2>/dev/null";
    for (auto _ : state) {
        FILE* child = popen(command.c_str(), "r");
        double perFrame = -1;
        if (child) {
            char line[128] = {};
            while (std::fgets(line, sizeof line, child))
                if (line[0] >= '0' && line[0] <= '9') perFrame = std::atof(line);
            if (pclose(child) != 0) perFrame = -1;
        }
        if (perFrame < 0) {
            state.SkipWithError("the game did not run");
            return;
        }
        state.SetIterationTime(perFrame);
    }
}

} // namespace

// SFML first: its GLX contexts are refused once SDL's EGL ones exist in the process.
BENCHMARK(BM_SFML)->Arg(0)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL2Renderer)->Arg(0)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineWindow)
    ->ArgsProduct({{0, 1000, 10000, 50000}, {1, 0}})
    ->ArgNames({"sprites", "gpu"})
    ->Unit(benchmark::kMicrosecond);
// Main-thread CPU per frame of a whole run, reported as the iteration time.
BENCHMARK_CAPTURE(BM_Game, window, "window")->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Game, window_egl, "window-egl")->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Game, window_flat, "window-flat")->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Game, headless, "headless")->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Game, headless_paced, "headless-paced")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    self = argv[0];
    if (argc == 4 && std::string(argv[1]) == "--game") {
        const std::string mode = argv[2];
        const bool window = mode == "window" || mode == "window-flat";
        if (!window && mode != "headless" && mode != "headless-paced") {
            std::fprintf(stderr, "WindowBench: --game takes window, window-flat, headless or headless-paced, not \"%s\"\n",
                         argv[2]);
            return 2;
        }
        const bool paced = mode == "window" || mode == "headless-paced";
        return playGame(!window, paced, std::strtoull(argv[3], nullptr, 10));
    }
    // A display of our own, so the window has the size it has on a 1280 × 800 desktop.
    VirtualDisplay display;
    const std::string xvfb = findXvfb();
    if (xvfb.empty() || !display.start(xvfb)) {
        std::fprintf(stderr, "WindowBench: needs Xvfb\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The director, the window and its contexts go with the process, before the display does.
    std::fflush(stdout);
    std::_Exit(0);
}
