// What one change of the views costs: the overlay drawn again (the game's HELP button, turned,
// with its gradient, border and title, half faded as while it fades out, and a banner's line of
// text) and its picture put into the window presenter's texture.
#include <benchmark/benchmark.h>

#include "../tests/support/HeadlessGL.h"
#include "CAGradientLayer.h"
#include "CCAutoreleasePool.h"
#include "CCWindowPresenter.h"
#include "MZGradientButton.h"
#include "UIApplication.h"
#include "UIColor.h"
#include "UIFont.h"
#include "UILabel.h"
#include "UIOverlay.h"
#include "UIWindow.h"

namespace {

// A key window with the button on it, as the title screen has it.
struct Views {
    CCAutoreleaseScope pool;
    CCPtr<UIWindow> window;
    Views() {
        UIApplication::sharedApplication()->setHeadless(true);
        window = UIWindow::windowWithFrame({{0, 0}, {320, 480}});
        window->makeKeyAndVisible();
        MZGradientButton* b = ccCreate<MZGradientButton>([](MZGradientButton* g) {
            return g->initWithFrame({{0, 0}, {100, 44}});
        });
        b->setCenter({22, 429});
        b->titleLabel()->setFont(UIFont::fontWithName("Helvetica-Bold", 20));
        b->setTransform(CGAffineTransformMakeRotation(1.5707964f));
        b->setMainColor(UIColor::lightGrayColor());
        b->setSecondaryColor(UIColor::darkGrayColor());
        b->setCornerRad(8, true, 0.7f);
        b->setTitle("HELP", UIControlStateNormal);
        b->setAlpha(0.5f);
        window->addSubview(b);
        UILabel* banner = UILabel::labelWithFrame({{80, 0}, {160, 50}});
        banner->setText("Buy AD-FREE Full Version!");
        banner->setFont(UIFont::boldSystemFontOfSize(14));
        banner->setTextAlignment(UITextAlignmentCenter);
        banner->setNumberOfLines(2);
        window->addSubview(banner);
    }
    ~Views() {
        window = nullptr;
        UIApplication::purgeSharedApplication();
    }
};

void BM_OverlayRedraw(benchmark::State& state) {
    Views views;
    UIOverlay overlay;
    for (auto _ : state)
        overlay.redraw();
}

// Each iteration uploads a changed picture (drawn once, outside the timing).
class ChangedOverlay : public CCFrameOverlay {
public:
    explicit ChangedOverlay(const UIOverlay& picture) : picture_(picture) {}
    int width() const override { return picture_.width(); }
    int height() const override { return picture_.height(); }
    bool update() override { return true; }
    unsigned long generation() const override { return generation_; }
    void compositeOver(CCPixelImage& frame) const override { picture_.compositeOver(frame); }
    void copyRGBA(unsigned char* out) const override { picture_.copyRGBA(out); }
    void copyPremultipliedRGBA(unsigned char* out) const override { picture_.copyPremultipliedRGBA(out); }
    const unsigned char* premultipliedARGB32(int* stride) const override {
        return picture_.premultipliedARGB32(stride);
    }
    bool hasContent() const override { return true; }
    unsigned long generation_ = 1;

private:
    const UIOverlay& picture_;
};

void BM_OverlayUpload(benchmark::State& state) {
    HeadlessGL gl;
    if (!gl.ok() || !gl.makeFramebuffer(960, 640)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    Views views;
    UIOverlay picture;
    picture.redraw();
    ChangedOverlay overlay(picture);
    CCWindowPresenter presenter;
    presenter.setUp();
    for (auto _ : state) {
        ++overlay.generation_;
        presenter.updateOverlay(&overlay);
    }
    glFinish();
    presenter.tearDown();
}

} // namespace

BENCHMARK(BM_OverlayRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OverlayUpload)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
