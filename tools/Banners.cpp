#include "Banners.h"

#include "Drawing.h"

namespace restool {

Image drawBorder(BorderLook look) {
    Canvas canvas(kBorderWidth, kBorderHeight);
    cairo_t* cr = canvas.cr();
    const double w = kBorderWidth, h = kBorderHeight;
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    if (look == BorderLook::Disabled) {
        setColour(cr, 0x6A6A6A, 0.85);
        cairo_fill_preserve(cr);
        setColour(cr, 0x9A9A9A);
    } else {
        const bool pressed = look == BorderLook::Pressed;
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
        addStop(g, 0, pressed ? 0x202020 : 0x4A4A4A);
        addStop(g, 0.5, pressed ? 0x101010 : 0x2C2C2C);
        addStop(g, 1, pressed ? 0x000000 : 0x1A1A1A);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        setColour(cr, pressed ? 0xA0A0A0 : 0xE0E0E0);
    }
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return canvas.toImage();
}

Image drawHouseBanner(const FontFace& font, bool mobFox) {
    Canvas canvas(kHouseBannerWidth, kHouseBannerHeight);
    cairo_t* cr = canvas.cr();
    const double w = kHouseBannerWidth, h = kHouseBannerHeight;
    // MobFox's house banner is orange, AdMob's the blue the manager asks AdMob ads to use.
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    addStop(g, 0, mobFox ? 0xFFB040 : 0x4F8CC9);
    addStop(g, 1, mobFox ? 0xE06A00 : 0x35709F);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    // A coin on the left.
    circle(cr, 26, h / 2, 15);
    fillAndStroke(cr, 0xFFD700, 0x8A6A00, 2);
    font.apply(cr, 14);
    setColour(cr, 0x8A6A00);
    cairo_move_to(cr, 21, h / 2 + 5);
    cairo_show_text(cr, "Z");
    // The offer, white on the network's colours.
    font.apply(cr, 17);
    setColour(cr, 0xFFFFFF);
    cairo_move_to(cr, 52, 23);
    cairo_show_text(cr, "Zorvik Full Version");
    font.apply(cr, 12);
    setColour(cr, 0xFFFFFF, 0.9);
    cairo_move_to(cr, 52, 40);
    cairo_show_text(cr, "No ads, more saws. Tap to get it!");
    setColour(cr, 0xFFFFFF, 0.6);
    cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return canvas.toImage();
}

std::string houseAnswer(const std::string& pictureName, const std::string& landingURL) {
    return "{\"image\": \"" + pictureName + "\", \"link\": \"" + landingURL + "\"}\n";
}

}  // namespace restool
