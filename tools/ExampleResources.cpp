#include "ExampleResources.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "BitmapFont.h"
#include "Drawing.h"
#include "Pictures.h"

namespace restool {

const std::vector<std::string>& exampleResourceFileNames() {
    static const std::vector<std::string> names = {
        "sheet.png", "sheet.plist", "digits.png", "spark.png", "fountain.plist", "exampleFont.fnt", "exampleFont.png",
    };
    return names;
}

namespace {

constexpr int kSheetSize = 256;
constexpr int kBall = 32;

const char* const kPlistHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";

void drawBall(cairo_t* cr, double x, double y, std::uint32_t light, std::uint32_t dark) {
    const double r = kBall / 2.0 - 1;
    cairo_pattern_t* g = cairo_pattern_create_radial(x + r * 0.7, y + r * 0.6, 1, x + r + 1, y + r + 1, r);
    addStop(g, 0, 0xFFFFFF);
    addStop(g, 0.25, light);
    addStop(g, 1, dark);
    circle(cr, x + r + 1, y + r + 1, r);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void drawStar(cairo_t* cr, double x, double y) {
    const double c = kBall / 2.0;
    for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5, r = i % 2 ? 6.5 : 15;
        const double px = x + c + r * std::cos(a), py = y + c + r * std::sin(a);
        i == 0 ? cairo_move_to(cr, px, py) : cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
    fillAndStroke(cr, 0xFFD23A, 0xA86A00, 1.5);
}

void copyInto(Image& sheet, const Image& picture, int x0, int y0) {
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* from = picture.pixel(x, y);
            std::copy(from, from + 4, sheet.pixel(x0 + x, y0 + y));
        }
}

}  // namespace

const std::vector<SheetFrame>& sheetFrames() {
    // Two pixels between frames, so that filtering never bleeds a neighbour in.
    static const std::vector<SheetFrame> frames = {
        {"run1", 0, 0, kCatWidth, kCatHeight},
        {"run2", kCatWidth + 2, 0, kCatWidth, kCatHeight},
        {"run3", 0, kCatHeight + 2, kCatWidth, kCatHeight},
        {"run4", kCatWidth + 2, kCatHeight + 2, kCatWidth, kCatHeight},
        {"ball-red", 0, 2 * kCatHeight + 4, kBall, kBall},
        {"ball-green", kBall + 2, 2 * kCatHeight + 4, kBall, kBall},
        {"ball-blue", 2 * (kBall + 2), 2 * kCatHeight + 4, kBall, kBall},
        {"ball-yellow", 3 * (kBall + 2), 2 * kCatHeight + 4, kBall, kBall},
        {"star", 4 * (kBall + 2), 2 * kCatHeight + 4, kBall, kBall},
    };
    return frames;
}

Image drawSheet() {
    const auto& f = sheetFrames();
    Canvas canvas(kSheetSize, kSheetSize);
    cairo_t* cr = canvas.cr();
    const std::uint32_t colours[4][2] = {{0xFF5A4A, 0x8A0E06}, {0x7CF06A, 0x13700E}, {0x6AB4FF, 0x0A3A8E}, {0xFFE46A, 0x9A7400}};
    for (int i = 0; i < 4; ++i) drawBall(cr, f[4 + i].x, f[4 + i].y, colours[i][0], colours[i][1]);
    drawStar(cr, f[8].x, f[8].y);
    Image sheet = canvas.toImage();
    for (int i = 0; i < 4; ++i) copyInto(sheet, drawCat(i + 1), f[i].x, f[i].y);
    return sheet;
}

std::string sheetFrameList() {
    std::ostringstream out;
    out << kPlistHead << "<dict>\n\t<key>frames</key>\n\t<dict>\n";
    for (const SheetFrame& f : sheetFrames()) {
        out << "\t\t<key>" << f.name << "</key>\n\t\t<dict>\n"
            << "\t\t\t<key>frame</key>\n\t\t\t<string>{{" << f.x << "," << f.y << "},{" << f.width << "," << f.height
            << "}}</string>\n"
            << "\t\t\t<key>offset</key>\n\t\t\t<string>{0,0}</string>\n"
            << "\t\t\t<key>rotated</key>\n\t\t\t<false/>\n"
            << "\t\t\t<key>sourceSize</key>\n\t\t\t<string>{" << f.width << "," << f.height << "}</string>\n"
            << "\t\t</dict>\n";
    }
    out << "\t</dict>\n\t<key>metadata</key>\n\t<dict>\n\t\t<key>format</key>\n\t\t<integer>2</integer>\n"
        << "\t\t<key>textureFileName</key>\n\t\t<string>sheet.png</string>\n\t</dict>\n</dict>\n</plist>\n";
    return out.str();
}

Image drawDigits(const FontFace& font) {
    const int count = static_cast<int>(std::string(kDigitCharacters).size());
    Canvas canvas(count * kDigitCellWidth, kDigitCellHeight);
    cairo_t* cr = canvas.cr();
    font.apply(cr, 28);
    for (int i = 0; i < count; ++i) {
        const char glyph[2] = {kDigitCharacters[i], 0};
        cairo_text_extents_t e;
        cairo_text_extents(cr, glyph, &e);
        // Centred across the cell, on one baseline for all (the dot sits low, as in text).
        const double x = i * kDigitCellWidth + (kDigitCellWidth - e.width) / 2 - e.x_bearing;
        cairo_move_to(cr, x, kDigitCellHeight - 5);
        cairo_text_path(cr, glyph);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 4, 0, kDigitCellHeight - 4);
        addStop(g, 0, 0xFFFFFF);
        addStop(g, 1, 0x7FD4FF);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        setColour(cr, 0x0B3A66);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    return canvas.toImage();
}

std::string fountainParticles() {
    struct Value {
        const char* key;
        double value;
    };
    // Gravity mode (emitterType 0), additive blending (GL_SRC_ALPHA, GL_ONE), for ever.
    const Value values[] = {
        {"maxParticles", 300}, {"duration", -1}, {"emitterType", 0},
        {"angle", 90}, {"angleVariance", 10},
        {"blendFuncSource", 770}, {"blendFuncDestination", 1},
        {"startColorRed", 0.35}, {"startColorGreen", 0.65}, {"startColorBlue", 1}, {"startColorAlpha", 1},
        {"startColorVarianceRed", 0.1}, {"startColorVarianceGreen", 0.1}, {"startColorVarianceBlue", 0},
        {"startColorVarianceAlpha", 0},
        {"finishColorRed", 0.1}, {"finishColorGreen", 0.2}, {"finishColorBlue", 0.9}, {"finishColorAlpha", 0},
        {"finishColorVarianceRed", 0}, {"finishColorVarianceGreen", 0}, {"finishColorVarianceBlue", 0},
        {"finishColorVarianceAlpha", 0},
        {"startParticleSize", 18}, {"startParticleSizeVariance", 4}, {"finishParticleSize", 6},
        {"finishParticleSizeVariance", 2},
        {"sourcePositionx", 240}, {"sourcePositiony", 40},
        {"sourcePositionVariancex", 8}, {"sourcePositionVariancey", 0},
        {"gravityx", 0}, {"gravityy", -300}, {"speed", 220}, {"speedVariance", 30},
        {"radialAcceleration", 0}, {"radialAccelVariance", 0},
        {"tangentialAcceleration", 0}, {"tangentialAccelVariance", 0},
        {"particleLifespan", 1.4}, {"particleLifespanVariance", 0.2},
    };
    std::ostringstream out;
    out << kPlistHead << "<dict>\n";
    for (const Value& v : values) {
        char number[32];
        std::snprintf(number, sizeof number, "%g", v.value);
        const bool whole = v.value == std::floor(v.value);
        out << "\t<key>" << v.key << "</key>\n\t<" << (whole ? "integer" : "real") << ">" << number << "</"
            << (whole ? "integer" : "real") << ">\n";
    }
    out << "\t<key>textureFileName</key>\n\t<string>spark.png</string>\n</dict>\n</plist>\n";
    return out.str();
}

bool makeExampleResources(ResourceWriter& w, const FontFace& font, std::string* error) {
    if (!w.png("sheet.png", drawSheet(), error)) return false;
    if (!w.text("sheet.plist", sheetFrameList(), error)) return false;
    if (!w.png("digits.png", drawDigits(font), error)) return false;
    if (!w.png("spark.png", drawParticleDot(), error)) return false;
    if (!w.text("fountain.plist", fountainParticles(), error)) return false;

    BitmapFontStyle style;
    style.pageFileName = "exampleFont.png";
    style.faceName = "DejaVu Sans Bold";
    style.pixelSize = 26;
    style.fillTop = 0xFFF4C0;
    style.fillBottom = 0xF0A020;
    style.outlineColour = 0x5A2A00;
    BitmapFont bmfont;
    if (!buildBitmapFont(font, style, &bmfont, error)) return false;
    if (!w.text("exampleFont.fnt", bmfont.description, error)) return false;
    return w.png("exampleFont.png", bmfont.page, error);
}

}  // namespace restool
