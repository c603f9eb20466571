#include "UIOverlay.h"

#include <cairo.h>
#include <cstring>

#include "CCAutoreleasePool.h"
#include "CCCairoInk.h"
#include "CCPixelImage.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIWindow.h"

UIOverlay::UIOverlay() : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight)) {}

UIOverlay::~UIOverlay() { cairo_surface_destroy(surface_); }

bool UIOverlay::redrawIfNeeded() {
    if (!UIApplication::sharedApplication()->overlayNeedsDisplay()) return false;
    redraw();
    return true;
}

void UIOverlay::redraw() {
    UIApplication* app = UIApplication::sharedApplication();
    cairo_t* cr = cairo_create(surface_);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    {
        CCAutoreleaseScope pool;
        if (UIWindow* window = app->keyWindow(); window && !window->isHidden()) {
            cairo_save(cr);
            window->renderInContext(cr);
            cairo_restore(cr);
        }
        if (app->visibleAlertView()) app->alertBackdrop()->renderInContext(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    // Drawing may have touched views (labels follow their buttons); what is drawn is current.
    app->clearOverlayNeedsDisplay();
    ++generation_;

    hasContent_ = ccARGB32HasInk(data(), stride(), kWidth, kHeight);
}

const unsigned char* UIOverlay::data() const { return cairo_image_surface_get_data(surface_); }
int UIOverlay::stride() const { return cairo_image_surface_get_stride(surface_); }

uint32_t UIOverlay::pixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0;
    return reinterpret_cast<const uint32_t*>(data() + y * stride())[x];
}

void UIOverlay::copyRGBA(unsigned char* out) const {
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data() + y * stride());
        for (int x = 0; x < kWidth; ++x, out += 4) {
            uint32_t p = row[x];
            unsigned a = p >> 24;
            unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (a && a < 255) {
                r = (r * 255 + a / 2) / a;
                g = (g * 255 + a / 2) / a;
                b = (b * 255 + a / 2) / a;
            }
            out[0] = static_cast<unsigned char>(r > 255 ? 255 : r);
            out[1] = static_cast<unsigned char>(g > 255 ? 255 : g);
            out[2] = static_cast<unsigned char>(b > 255 ? 255 : b);
            out[3] = static_cast<unsigned char>(a);
        }
    }
}

void UIOverlay::copyPremultipliedRGBA(unsigned char* out) const {
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data() + y * stride());
        for (int x = 0; x < kWidth; ++x, out += 4) {
            const uint32_t p = row[x];
            out[0] = static_cast<unsigned char>(p >> 16);
            out[1] = static_cast<unsigned char>(p >> 8);
            out[2] = static_cast<unsigned char>(p);
            out[3] = static_cast<unsigned char>(p >> 24);
        }
    }
}

bool UIOverlay::update() {
    if (generation_ == 0) {
        redraw();
        return true;
    }
    return redrawIfNeeded();
}

void UIOverlay::compositeOver(CCPixelImage& frame) const {
    if (frame.width != kWidth || frame.height != kHeight || !hasContent_) return;
    uint8_t* out = frame.rgba.data();
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data() + y * stride());
        for (int x = 0; x < kWidth; ++x, out += 4) {
            uint32_t p = row[x];
            unsigned a = p >> 24;
            if (a == 0) continue;
            unsigned keep = 255 - a; // premultiplied "over"
            auto over = [keep](unsigned src, unsigned dst) {
                return static_cast<uint8_t>(src + (dst * keep + 127) / 255);
            };
            out[0] = over((p >> 16) & 0xFF, out[0]);
            out[1] = over((p >> 8) & 0xFF, out[1]);
            out[2] = over(p & 0xFF, out[2]);
            out[3] = over(a, out[3]);
        }
    }
}
