// One frame of many moving 16 × 16 sprites into a 480 × 320 headless surface, drawn three
// ways: (a) by one sprite batch node, (b) as self-drawing sprites under one node, (c) by
// SDL2's own 2D renderer drawing the same textured quads on the offscreen video driver, on
// its OpenGL ES 1 back end, and where a build of SDL2 lacks that one (Debian's does), on
// its other GL back ends; and (d) by bare GL calls, the limit that (b) is measured against.
// Every frame ends by reading one pixel back, so that the GL work is done inside the timing.
// "faults" counts the main thread's page faults per frame: memory the GL driver was given back
// by the kernel and had to fault in again.
#include <SDL.h>
#include <sys/resource.h>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/HeadlessGL.h"
#include "SpriteScene.h"
#include "CCActionManager.h"
#include "CCAutoreleasePool.h"
#include "CCGLStateCache.h"
#include "CCScheduler.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCTexture2D.h"
#include "CGImage.h"
#include "CGPointExtension.h"
#include "UIImage.h"

namespace {

long mainThreadFaults() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Page faults per iteration from `before` on.
void countFaults(benchmark::State& state, long before) {
    state.counters["faults"] = benchmark::Counter(double(mainThreadFaults() - before), benchmark::Counter::kAvgIterations);
}

struct EngineFrame {
    HeadlessGL gl;
    bool ok = false;
    EngineFrame() {
        ok = gl.makeDrawingFramebuffer(kSceneW, kSceneH);
    }
    CCTexture2D* texture() {
        UIImage* image = UIImage::imageWithCGImage(CGImage::imageWithRGBA(kSide, kSide, spritePixels()));
        return ccCreate<CCTexture2D>([&](CCTexture2D* t) { return t->initWithImage(image); });
    }
    static void finish() {
        std::uint8_t pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        benchmark::DoNotOptimize(pixel[0]);
    }
};

void runEngine(benchmark::State& state, bool batched) {
    EngineFrame frame;
    if (!frame.ok) {
        state.SkipWithError("no headless GL framebuffer");
        return;
    }
    const int n = int(state.range(0));
    {
        CCAutoreleaseScope pool;
        CCTexture2D* texture = frame.texture();
        CCNode* root = batched ? static_cast<CCNode*>(CCSpriteBatchNode::batchNodeWithTexture(texture, unsigned(n)))
                               : CCNode::node();
        std::vector<CCSprite*> sprites;
        for (int i = 0; i < n; i++) {
            CCSprite* s = CCSprite::spriteWithTexture(texture);
            root->addChild(s);
            sprites.push_back(s);
        }
        int f = 0;
        const long faults = mainThreadFaults();
        for (auto _ : state) {
            f++;
            for (int i = 0; i < n; i++) sprites[size_t(i)]->setPosition(place(i, f));
            glClear(GL_COLOR_BUFFER_BIT);
            root->visit();
            EngineFrame::finish();
        }
        countFaults(state, faults);
        root->removeAllChildrenWithCleanup(true);
    }
    state.SetItemsProcessed(state.iterations() * n);
    CCActionManager::purgeSharedManager();
    CCScheduler::purgeSharedScheduler();
}

void BM_SpriteBatchNode(benchmark::State& state) { runEngine(state, true); }
void BM_SelfDrawingSprites(benchmark::State& state) { runEngine(state, false); }

// The floor under (b): only the GL calls a self-drawn sprite cannot do without (its matrix
// pushed, multiplied and popped around one strip draw of its quad), with the texture bound and
// the array pointers set once per frame, and nothing of the engine's own work.
void BM_SelfDrawingGLLimit(benchmark::State& state) {
    EngineFrame frame;
    if (!frame.ok) {
        state.SkipWithError("no headless GL framebuffer");
        return;
    }
    const int n = int(state.range(0));
    CCAutoreleaseScope pool;
    CCTexture2D* texture = frame.texture();
    ccV3F_C4B_T2F_Quad quad{};
    const float side = float(kSide);
    quad.bl.vertices = {0, 0, 0};
    quad.br.vertices = {side, 0, 0};
    quad.tl.vertices = {0, side, 0};
    quad.tr.vertices = {side, side, 0};
    quad.bl.texCoords = {0, 1};
    quad.br.texCoords = {1, 1};
    quad.tl.texCoords = {0, 0};
    quad.tr.texCoords = {1, 0};
    for (ccV3F_C4B_T2F* v : {&quad.bl, &quad.br, &quad.tl, &quad.tr}) v->colors = {255, 255, 255, 255};
    int f = 0;
    const long faults = mainThreadFaults();
    for (auto _ : state) {
        f++;
        glClear(GL_COLOR_BUFFER_BIT);
        glBindTexture(GL_TEXTURE_2D, texture->name());
        constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
        const auto* base = reinterpret_cast<const char*>(&quad);
        glVertexPointer(3, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, vertices));
        glColorPointer(4, GL_UNSIGNED_BYTE, stride, base + offsetof(ccV3F_C4B_T2F, colors));
        glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, texCoords));
        glPushMatrix();
        for (int i = 0; i < n; i++) {
            const CGPoint p = place(i, f);
            GLfloat m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, p.x - side / 2, p.y - side / 2, 0, 1};
            glPushMatrix();
            glMultMatrixf(m);
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
            glPopMatrix();
        }
        glPopMatrix();
        EngineFrame::finish();
    }
    countFaults(state, faults);
    // The engine's sprites may have bound another texture meanwhile.
    if (CCGLStateCache* cache = ccGLStateCache()) cache->forget();
    state.SetItemsProcessed(state.iterations() * n);
}

bool hasRenderDriver(const std::string& name) {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); i++) {
        SDL_RendererInfo info{};
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && name == info.name) return true;
    }
    return false;
}

void BM_SDLRenderer(benchmark::State& state, const char* driver) {
    if (!hasRenderDriver(driver)) {
        state.SkipWithError((std::string("this SDL2 has no render driver ") + driver).c_str());
        return;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, driver);
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, kSceneW, kSceneH, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    SDL_RendererInfo info{};
    if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0 || std::string(info.name) != driver) {
        state.SkipWithError(renderer ? "SDL chose another render driver" : SDL_GetError());
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return;
    }
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, kSide, kSide);
    const std::vector<std::uint8_t> pixels = spritePixels();
    SDL_UpdateTexture(texture, nullptr, pixels.data(), kSide * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);

    const int n = int(state.range(0));
    std::vector<SDL_FRect> rects(static_cast<std::size_t>(n));
    int f = 0;
    const long faults = mainThreadFaults();
    for (auto _ : state) {
        f++;
        for (int i = 0; i < n; i++) {
            const CGPoint p = place(i, f);
            // SDL counts y downwards; the same centre on the same surface.
            rects[size_t(i)] = {p.x - kSide / 2.0f, float(kSceneH) - p.y - kSide / 2.0f, float(kSide), float(kSide)};
        }
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (const SDL_FRect& r : rects) SDL_RenderCopyF(renderer, texture, nullptr, &r);
        std::uint32_t pixel = 0;
        SDL_Rect one{0, 0, 1, 1};
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ABGR8888, &pixel, 4);
        benchmark::DoNotOptimize(pixel);
    }
    countFaults(state, faults);
    state.SetItemsProcessed(state.iterations() * n);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace

BENCHMARK(BM_SpriteBatchNode)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelfDrawingSprites)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelfDrawingGLLimit)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SDLRenderer, opengles, "opengles")->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SDLRenderer, opengles2, "opengles2")->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SDLRenderer, opengl, "opengl")->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
