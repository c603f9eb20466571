#include "Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Drawing.h"

namespace restool {

namespace {

// ---------------------------------------------------------------- cat

constexpr std::uint32_t kFur = 0xF28C28, kFurShade = 0xC96A16, kStripe = 0xB5560E;
constexpr std::uint32_t kCatLine = 0x3B2412, kBelly = 0xFFE0B0, kEar = 0xF7A1A8;

struct Leg {
    double thigh;  // degrees from straight down, positive forward (to the right)
    double knee;   // bend of the lower leg relative to the thigh
};

struct CatPose {
    double bob;  // vertical shift of body and head
    Leg frontNear, frontFar, backNear, backFar;
    double tailX, tailY;  // tail tip
};

// A gallop: gathered, stretched (the leap), front landing, back push.
const CatPose kPoses[4] = {
    {0, {-38, 22}, {-52, 34}, {42, -32}, {58, -40}, 7, 6},
    {-3, {62, 10}, {48, 20}, {-62, -10}, {-48, -18}, 2, 20},
    {0, {18, -8}, {38, 6}, {-45, 50}, {-60, 55}, 5, 10},
    {1, {-42, 78}, {-24, 58}, {-14, 8}, {10, 0}, 9, 4},
};

void drawLeg(cairo_t* cr, double hipX, double hipY, const Leg& leg, std::uint32_t fur, bool near) {
    const double upper = 13, lower = 12;
    const double a1 = leg.thigh * kPi / 180, a2 = (leg.thigh + leg.knee) * kPi / 180;
    const double kx = hipX + upper * std::sin(a1), ky = hipY + upper * std::cos(a1);
    const double px = kx + lower * std::sin(a2), py = ky + lower * std::cos(a2);
    const double thick = near ? 8.5 : 7.5, thin = near ? 6 : 5.5;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Outline pass, then the fur over it.
    for (int pass = 0; pass < 2; ++pass) {
        const double extra = pass == 0 ? 2.5 : 0;
        setColour(cr, pass == 0 ? kCatLine : fur);
        cairo_set_line_width(cr, thick + extra);
        cairo_move_to(cr, hipX, hipY);
        cairo_line_to(cr, kx, ky);
        cairo_stroke(cr);
        cairo_set_line_width(cr, thin + extra);
        cairo_move_to(cr, kx, ky);
        cairo_line_to(cr, px, py);
        cairo_stroke(cr);
        ellipse(cr, px + 1, py, 4 + extra / 2, 3 + extra / 2);
        cairo_fill(cr);
    }
}

void drawCatShape(cairo_t* cr, int frame) {
    const CatPose& pose = kPoses[(frame - 1) % 4];
    const double b = pose.bob;
    const double shoulderX = 66, shoulderY = 41 + b, hipX = 31, hipY = 40 + b;

    // Tail, from the rump up to its tip.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        setColour(cr, pass == 0 ? kCatLine : kFur);
        cairo_set_line_width(cr, pass == 0 ? 8.5 : 6);
        cairo_move_to(cr, 22, 32 + b);
        cairo_curve_to(cr, 12, 30 + b, pose.tailX + 4, pose.tailY + 14, pose.tailX, pose.tailY);
        cairo_stroke(cr);
    }
    setColour(cr, kStripe);
    cairo_set_line_width(cr, 5);
    cairo_move_to(cr, pose.tailX, pose.tailY);
    cairo_line_to(cr, pose.tailX + 0.8 * (22 - pose.tailX) * 0.12, pose.tailY + 0.12 * (32 + b - pose.tailY));
    cairo_stroke(cr);

    drawLeg(cr, shoulderX - 3, shoulderY - 1, pose.frontFar, kFurShade, false);
    drawLeg(cr, hipX - 3, hipY - 1, pose.backFar, kFurShade, false);

    // Body with belly and stripes.
    ellipse(cr, 48, 34 + b, 29, 14);
    fillAndStroke(cr, kFur, kCatLine, 2);
    cairo_save(cr);
    ellipse(cr, 48, 34 + b, 28, 13);
    cairo_clip(cr);
    ellipse(cr, 50, 46 + b, 24, 7);
    setColour(cr, kBelly);
    cairo_fill(cr);
    setColour(cr, kStripe);
    cairo_set_line_width(cr, 3.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 4; ++i) {
        const double x = 30 + i * 9.5;
        cairo_move_to(cr, x, 19 + b);
        cairo_curve_to(cr, x + 3, 24 + b, x + 1, 28 + b, x + 3, 32 + b);
        cairo_stroke(cr);
    }
    cairo_restore(cr);

    drawLeg(cr, hipX, hipY, pose.backNear, kFur, true);
    drawLeg(cr, shoulderX, shoulderY, pose.frontNear, kFur, true);

    // Head: ears, skull, muzzle, face.
    const double hx = 80, hy = 25 + b;
    for (int side = 0; side < 2; ++side) {
        const double ox = side == 0 ? 0 : 11;
        cairo_move_to(cr, 69 + ox, hy - 6);
        cairo_line_to(cr, 72 + ox, hy - 21);
        cairo_line_to(cr, 80 + ox, hy - 11);
        cairo_close_path(cr);
        fillAndStroke(cr, side == 0 ? kFurShade : kFur, kCatLine, 2);
        cairo_move_to(cr, 72 + ox, hy - 9);
        cairo_line_to(cr, 73 + ox, hy - 16);
        cairo_line_to(cr, 77.5 + ox, hy - 11);
        cairo_close_path(cr);
        setColour(cr, kEar);
        cairo_fill(cr);
    }
    circle(cr, hx, hy, 13);
    fillAndStroke(cr, kFur, kCatLine, 2);
    ellipse(cr, hx + 9, hy + 5, 7, 5.5);
    fillAndStroke(cr, kBelly, kCatLine, 1.5);
    // Forehead stripes.
    setColour(cr, kStripe);
    cairo_set_line_width(cr, 2.2);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, hx - 4 + i * 4, hy - 12.5);
        cairo_line_to(cr, hx - 3 + i * 4, hy - 8);
        cairo_stroke(cr);
    }
    // Eye: green with a slit pupil and a glint.
    ellipse(cr, hx + 5, hy - 3, 3.2, 3.8);
    fillAndStroke(cr, 0x8BE04A, kCatLine, 1.2);
    ellipse(cr, hx + 5.6, hy - 3, 1.1, 3.2);
    setColour(cr, 0x101010);
    cairo_fill(cr);
    circle(cr, hx + 4.4, hy - 4.6, 0.9);
    setColour(cr, 0xFFFFFF);
    cairo_fill(cr);
    // Nose and mouth.
    cairo_move_to(cr, hx + 14.5, hy + 1);
    cairo_line_to(cr, hx + 17, hy + 1.5);
    cairo_line_to(cr, hx + 15.5, hy + 3.8);
    cairo_close_path(cr);
    fillAndStroke(cr, 0xE8607A, kCatLine, 1);
    setColour(cr, kCatLine);
    cairo_set_line_width(cr, 1.1);
    cairo_move_to(cr, hx + 15.5, hy + 3.8);
    cairo_curve_to(cr, hx + 15, hy + 7, hx + 12, hy + 7, hx + 11, hy + 6);
    cairo_stroke(cr);
    // Whiskers.
    setColour(cr, 0xFFF8EE, 0.9);
    cairo_set_line_width(cr, 0.8);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, hx + 12, hy + 4 + i * 1.5);
        cairo_line_to(cr, hx + 19, hy + 1 + i * 3);
        cairo_stroke(cr);
    }
}

// ---------------------------------------------------------------- saws

struct SawStyle {
    int size;
    int teeth;
    double outer, root;      // radii of tooth tips and tooth roots, relative to the size
    std::uint32_t steelLight, steelDark, line, tip;
};

// Blade outline: teeth leaning anticlockwise on screen (decreasing angle with y downwards),
// each with a gentle back and a steep leading face.
void bladePath(cairo_t* cr, double c, double outer, double root, int teeth) {
    const double step = 2 * kPi / teeth;
    cairo_new_path(cr);
    for (int i = 0; i < teeth; ++i) {
        const double a = -i * step;
        const double tip = a - 0.78 * step, drop = a - 0.86 * step;
        if (i == 0)
            cairo_move_to(cr, c + root * std::cos(a), c + root * std::sin(a));
        else
            cairo_line_to(cr, c + root * std::cos(a), c + root * std::sin(a));
        cairo_curve_to(cr, c + (root + 0.5 * (outer - root)) * std::cos(a - 0.3 * step),
                       c + (root + 0.5 * (outer - root)) * std::sin(a - 0.3 * step),
                       c + outer * std::cos(tip + 0.12 * step), c + outer * std::sin(tip + 0.12 * step),
                       c + outer * std::cos(tip), c + outer * std::sin(tip));
        cairo_line_to(cr, c + root * std::cos(drop), c + root * std::sin(drop));
        cairo_arc_negative(cr, c, c, root, drop, a - step);
    }
    cairo_close_path(cr);
}

void drawBlade(cairo_t* cr, const SawStyle& s) {
    const double c = s.size / 2.0;
    const double outer = s.outer * c, root = s.root * c;
    bladePath(cr, c, outer, root, s.teeth);
    cairo_pattern_t* steel = cairo_pattern_create_radial(c * 0.8, c * 0.8, 0, c, c, outer);
    addStop(steel, 0, s.steelLight);
    addStop(steel, 0.75, s.steelDark);
    addStop(steel, 1, s.tip);
    cairo_set_source(cr, steel);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(steel);
    setColour(cr, s.line);
    cairo_set_line_width(cr, s.size / 90.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    // Ring where the teeth meet the disc.
    circle(cr, c, c, root - s.size / 60.0);
    setColour(cr, s.line, 0.55);
    cairo_set_line_width(cr, s.size / 120.0);
    cairo_stroke(cr);
}

void drawCoinShape(cairo_t* cr) {
    const double c = kCoinSize / 2.0;
    circle(cr, c, c, c - 1);
    cairo_pattern_t* gold = cairo_pattern_create_radial(c - 4, c - 4, 1, c, c, c);
    addStop(gold, 0, 0xFFF4B0);
    addStop(gold, 0.6, 0xF2B800);
    addStop(gold, 1, 0xB07800);
    cairo_set_source(cr, gold);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gold);
    setColour(cr, 0x6B4A00);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    circle(cr, c, c, c - 4.5);
    setColour(cr, 0xB07800);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Five-pointed star.
    cairo_new_path(cr);
    for (int i = 0; i < 10; ++i) {
        const double a = i * kPi / 5 - kPi / 2;
        const double r = (i % 2 == 0) ? 6.8 : 2.8;
        cairo_line_to(cr, c + r * std::cos(a), c + 0.5 + r * std::sin(a));
    }
    cairo_close_path(cr);
    fillAndStroke(cr, 0xFFF6C8, 0xA06A00, 0.9);
    ellipse(cr, c - 5, c - 6, 3, 1.6);
    setColour(cr, 0xFFFFFF, 0.7);
    cairo_fill(cr);
}

}  // namespace

void paintCat(cairo_t* cr, int frame) { drawCatShape(cr, frame); }

void paintSky(cairo_t* cr, double width, double ground) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, ground);
    addStop(sky, 0, 0x2F74D8);
    addStop(sky, 0.65, 0x9FD6FF);
    addStop(sky, 1, 0xFFEBC8);
    cairo_rectangle(cr, 0, 0, width, ground);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
}

Image drawCat(int frame) {
    Canvas canvas(kCatWidth, kCatHeight);
    drawCatShape(canvas.cr(), frame);
    return canvas.toImage();
}

Image drawBackButton(const FontFace& font, bool pressed) {
    Canvas canvas(kBackButtonWidth, kBackButtonHeight);
    cairo_t* cr = canvas.cr();
    const double w = kBackButtonWidth, h = kBackButtonHeight;
    // Opaque black ground: the game draws the button without blending over its black sky.
    setColour(cr, 0x000000);
    cairo_paint(cr);
    const double shift = pressed ? 1.5 : 0;
    roundedRect(cr, 1.5, 1.5 + shift, w - 3, h - 3 - shift, 9);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    addStop(g, 0, pressed ? 0x1B4F9F : 0x5FB0FF);
    addStop(g, 0.5, pressed ? 0x143F84 : 0x2A7BE0);
    addStop(g, 1, pressed ? 0x0C2C60 : 0x1553A8);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    setColour(cr, pressed ? 0x7FA8D8 : 0xDDEEFF);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (!pressed) {
        // Gloss on the upper half.
        roundedRect(cr, 4, 4, w - 8, h / 2 - 4, 6);
        setColour(cr, 0xFFFFFF, 0.18);
        cairo_fill(cr);
    }
    const double cy = h / 2 + shift;
    // Arrow pointing left.
    cairo_move_to(cr, 7, cy);
    cairo_line_to(cr, 15, cy - 6);
    cairo_line_to(cr, 15, cy + 6);
    cairo_close_path(cr);
    fillAndStroke(cr, 0xFFFFFF, 0x0A2A5A, 1.2);
    // Label.
    font.apply(cr, 12);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "BACK", &e);
    const double tx = 17 + (w - 20 - e.x_advance) / 2, ty = cy + 4.5;
    cairo_move_to(cr, tx + 1, ty + 1);
    setColour(cr, 0x062048, 0.8);
    cairo_show_text(cr, "BACK");
    cairo_move_to(cr, tx, ty);
    setColour(cr, pressed ? 0xD0E0F0 : 0xFFFFFF);
    cairo_show_text(cr, "BACK");
    return canvas.toImage();
}

Image drawLargeSaw() {
    const SawStyle s{kLargeSawSize, 16, 0.98, 0.80, 0xE4E8EE, 0x7E8792, 0x23272E, 0xF4F6F8};
    Canvas canvas(s.size, s.size);
    cairo_t* cr = canvas.cr();
    drawBlade(cr, s);
    const double c = s.size / 2.0;
    // Expansion slots: curved cuts that make the spin easy to follow.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * kPi / 5;
        cairo_new_path(cr);
        cairo_arc(cr, c, c, 0.58 * c, a, a + 0.55);
        setColour(cr, 0x2A2F36);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        cairo_arc(cr, c, c, 0.58 * c, a + 0.55, a + 0.55);
        circle(cr, c + 0.58 * c * std::cos(a + 0.55), c + 0.58 * c * std::sin(a + 0.55), 5);
        setColour(cr, 0x2A2F36);
        cairo_fill(cr);
    }
    // Red hub with a hexagonal bolt.
    circle(cr, c, c, 0.27 * c);
    cairo_pattern_t* hub = cairo_pattern_create_radial(c - 6, c - 6, 2, c, c, 0.27 * c);
    addStop(hub, 0, 0xFF7A6E);
    addStop(hub, 1, 0xA41E1A);
    cairo_set_source(cr, hub);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(hub);
    setColour(cr, 0x3A0A08);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_new_path(cr);
    for (int i = 0; i < 6; ++i) {
        const double a = i * kPi / 3;
        cairo_line_to(cr, c + 10 * std::cos(a), c + 10 * std::sin(a));
    }
    cairo_close_path(cr);
    fillAndStroke(cr, 0xC9CED6, 0x30343A, 1.5);
    circle(cr, c, c, 3.5);
    setColour(cr, 0x30343A);
    cairo_fill(cr);
    return canvas.toImage();
}

Image drawRegularSaw() {
    const SawStyle s{kRegularSawSize, 24, 0.98, 0.86, 0xF4F8FC, 0x9AA8B8, 0x26303C, 0xFFD54A};
    Canvas canvas(s.size, s.size);
    cairo_t* cr = canvas.cr();
    drawBlade(cr, s);
    const double c = s.size / 2.0;
    // Diamond cut-outs round the middle.
    for (int i = 0; i < 6; ++i) {
        const double a = i * kPi / 3 + kPi / 6;
        cairo_save(cr);
        cairo_translate(cr, c + 0.55 * c * std::cos(a), c + 0.55 * c * std::sin(a));
        cairo_rotate(cr, a);
        cairo_move_to(cr, -13, 0);
        cairo_line_to(cr, 0, -6);
        cairo_line_to(cr, 13, 0);
        cairo_line_to(cr, 0, 6);
        cairo_close_path(cr);
        cairo_restore(cr);
        fillAndStroke(cr, 0x2B3442, 0x1A2029, 1.2);
    }
    // Star-shaped hub: the sparkle.
    cairo_new_path(cr);
    for (int i = 0; i < 16; ++i) {
        const double a = i * kPi / 8 - kPi / 2;
        const double r = (i % 2 == 0) ? 0.34 * c : 0.16 * c;
        cairo_line_to(cr, c + r * std::cos(a), c + r * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_pattern_t* star = cairo_pattern_create_radial(c, c, 2, c, c, 0.34 * c);
    addStop(star, 0, 0xFFFFFF);
    addStop(star, 0.45, 0x8FE3FF);
    addStop(star, 1, 0x1E88E5);
    cairo_set_source(cr, star);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(star);
    setColour(cr, 0x0D3B66);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    circle(cr, c, c, 6);
    fillAndStroke(cr, 0xE8EEF4, 0x26303C, 1.5);
    return canvas.toImage();
}

Image drawCoin() {
    Canvas canvas(kCoinSize, kCoinSize);
    drawCoinShape(canvas.cr());
    return canvas.toImage();
}

Image drawBonus() {
    Canvas canvas(kBonusSize, kBonusSize);
    cairo_t* cr = canvas.cr();
    const double c = kBonusSize / 2.0;
    // Soft glow behind the badge.
    circle(cr, c, c, c - 1);
    cairo_pattern_t* glow = cairo_pattern_create_radial(c, c, 40, c, c, c - 1);
    addStop(glow, 0, 0xB8FF7A, 0.8);
    addStop(glow, 1, 0xB8FF7A, 0);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    circle(cr, c, c, 48);
    cairo_pattern_t* badge = cairo_pattern_create_radial(c - 14, c - 16, 4, c, c, 48);
    addStop(badge, 0, 0x9CFF8A);
    addStop(badge, 1, 0x138A25);
    cairo_set_source(cr, badge);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(badge);
    setColour(cr, 0xFFD54A);
    cairo_set_line_width(cr, 6);
    cairo_stroke_preserve(cr);
    setColour(cr, 0x7A5A00);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // The plus.
    roundedRect(cr, c - 30, c - 10, 60, 20, 5);
    roundedRect(cr, c - 10, c - 30, 20, 60, 5);
    setColour(cr, 0x0B5A18);
    cairo_set_line_width(cr, 6);
    cairo_stroke_preserve(cr);
    setColour(cr, 0xFFFFFF);
    cairo_fill(cr);
    ellipse(cr, c - 16, c - 28, 16, 7);
    setColour(cr, 0xFFFFFF, 0.35);
    cairo_fill(cr);
    return canvas.toImage();
}

Image drawTitle(const FontFace& font) {
    Canvas canvas(kTitleWidth, kTitleHeight);
    cairo_t* cr = canvas.cr();
    const double W = kTitleWidth, H = kTitleHeight, ground = 262;

    paintSky(cr, W, ground);

    // Sun.
    circle(cr, 62, 88, 46);
    cairo_pattern_t* glow = cairo_pattern_create_radial(62, 88, 20, 62, 88, 46);
    addStop(glow, 0, 0xFFF2A8, 0.9);
    addStop(glow, 1, 0xFFF2A8, 0);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    circle(cr, 62, 88, 22);
    setColour(cr, 0xFFE45C);
    cairo_fill(cr);

    // Clouds.
    const double clouds[][3] = {{150, 52, 1.0}, {400, 92, 0.8}, {300, 170, 0.6}, {440, 200, 0.7}};
    for (const auto& cl : clouds) {
        const double x = cl[0], y = cl[1], s = cl[2];
        setColour(cr, 0xFFFFFF, 0.85);
        ellipse(cr, x, y, 30 * s, 11 * s);
        cairo_fill(cr);
        circle(cr, x - 10 * s, y - 7 * s, 12 * s);
        cairo_fill(cr);
        circle(cr, x + 8 * s, y - 10 * s, 15 * s);
        cairo_fill(cr);
    }

    // Far and near hills.
    cairo_move_to(cr, 0, 232);
    cairo_curve_to(cr, 70, 196, 140, 206, 200, 224);
    cairo_curve_to(cr, 270, 200, 360, 190, 480, 222);
    cairo_line_to(cr, W, ground);
    cairo_line_to(cr, 0, ground);
    cairo_close_path(cr);
    setColour(cr, 0x86B8D8);
    cairo_fill(cr);
    cairo_move_to(cr, 0, 246);
    cairo_curve_to(cr, 90, 226, 180, 236, 260, 248);
    cairo_curve_to(cr, 340, 232, 420, 230, 480, 244);
    cairo_line_to(cr, W, ground);
    cairo_line_to(cr, 0, ground);
    cairo_close_path(cr);
    setColour(cr, 0x7CC65A);
    cairo_fill(cr);

    // Ground: dirt with pebbles under a strip of grass.
    cairo_pattern_t* dirt = cairo_pattern_create_linear(0, ground, 0, H);
    addStop(dirt, 0, 0x9A6A3A);
    addStop(dirt, 1, 0x5E3C1C);
    cairo_rectangle(cr, 0, ground, W, H - ground);
    cairo_set_source(cr, dirt);
    cairo_fill(cr);
    cairo_pattern_destroy(dirt);
    std::uint32_t seed = 12345;  // fixed: the picture is the same on every run
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int i = 0; i < 60; ++i) {
        const double x = next() % 480, y = ground + 14 + next() % 52, r = 1.5 + (next() % 30) / 10.0;
        ellipse(cr, x, y, r * 1.4, r);
        setColour(cr, (i % 3 == 0) ? 0xC4A27A : 0x7A5430);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, ground - 4, W, 12);
    setColour(cr, 0x4CAF3A);
    cairo_fill(cr);
    setColour(cr, 0x3E9430);
    for (int x = 0; x < 480; x += 6) {
        const double tip = 6 + next() % 6;
        cairo_move_to(cr, x, ground - 3);
        cairo_line_to(cr, x + 2.5, ground - 3 - tip);
        cairo_line_to(cr, x + 5, ground - 3);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, ground + 7, W, 2);
    setColour(cr, 0x2F6E24);
    cairo_fill(cr);

    // Coins in an arc over the ground.
    const double coins[][2] = {{170, 244}, {205, 234}, {240, 244}};
    for (const auto& p : coins) {
        cairo_save(cr);
        cairo_translate(cr, p[0] - kCoinSize / 2.0, p[1] - kCoinSize / 2.0);
        drawCoinShape(cr);
        cairo_restore(cr);
    }

    // A saw rolling in from the right, with speed lines behind it.
    setColour(cr, 0xFFFFFF, 0.7);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 440 + i * 4, 222 + i * 14);
        cairo_line_to(cr, 462 + i * 6, 222 + i * 14);
        cairo_stroke(cr);
    }
    {
        Canvas saw(kLargeSawSize, kLargeSawSize);
        const SawStyle s{kLargeSawSize, 16, 0.98, 0.80, 0xE4E8EE, 0x7E8792, 0x23272E, 0xF4F6F8};
        drawBlade(saw.cr(), s);
        circle(saw.cr(), 90, 90, 24);
        setColour(saw.cr(), 0xB8261F);
        cairo_fill(saw.cr());
        cairo_surface_flush(saw.surface());
        cairo_save(cr);
        cairo_translate(cr, 398, 236);
        cairo_scale(cr, 0.4, 0.4);
        cairo_set_source_surface(cr, saw.surface(), -90, -90);
        cairo_paint(cr);
        cairo_restore(cr);
    }

    // The cat, leaping, with its shadow on the grass.
    ellipse(cr, 62, ground + 2, 40, 5);
    setColour(cr, 0x000000, 0.25);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 8, 188);
    cairo_scale(cr, 1.05, 1.05);
    drawCatShape(cr, 2);
    cairo_restore(cr);

    // Title lettering.
    font.apply(cr, 60);
    const char* title = "ZORVIK";
    cairo_text_extents_t e;
    cairo_text_extents(cr, title, &e);
    const double tx = (W - e.x_advance) / 2, ty = 122;
    cairo_move_to(cr, tx + 3, ty + 4);
    cairo_text_path(cr, title);
    setColour(cr, 0x000000, 0.3);
    cairo_fill(cr);
    cairo_move_to(cr, tx, ty);
    cairo_text_path(cr, title);
    setColour(cr, 0x3B2412);
    cairo_set_line_width(cr, 7);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* letters = cairo_pattern_create_linear(0, ty - 44, 0, ty);
    addStop(letters, 0, 0xFFE07A);
    addStop(letters, 1, 0xF28C28);
    cairo_set_source(cr, letters);
    cairo_fill(cr);
    cairo_pattern_destroy(letters);

    return canvas.toImage();
}

Image drawParticleDot() {
    Image img(kParticleSize, kParticleSize);
    const double c = (kParticleSize - 1) / 2.0, R = kParticleSize / 2.0;
    for (int y = 0; y < kParticleSize; ++y) {
        for (int x = 0; x < kParticleSize; ++x) {
            const double dx = x - c, dy = y - c;
            const double r = std::sqrt(dx * dx + dy * dy) / R;
            // Round core with a smooth fall-off ...
            double t = std::clamp(1.0 - r / 0.75, 0.0, 1.0);
            double a = t * t * (3 - 2 * t);
            a = std::min(1.0, a * 1.6);
            // ... and four faint rays along the axes.
            const double ray = std::max(std::clamp(1.0 - std::fabs(dx) / 1.6, 0.0, 1.0),
                                        std::clamp(1.0 - std::fabs(dy) / 1.6, 0.0, 1.0)) *
                               std::clamp(1.0 - r, 0.0, 1.0) * 0.7;
            a = std::max(a, ray);
            std::uint8_t* p = img.pixel(x, y);
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<std::uint8_t>(std::lround(a * 255));
        }
    }
    return img;
}

}  // namespace restool
