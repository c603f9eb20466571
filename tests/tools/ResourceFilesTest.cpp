// Checks the resource program against the committed Resources/ folder and checks that the
// files suit the game: sizes for play, PVR header, bitmap-font description.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "BitmapFont.h"
#include "ExampleResources.h"
#include "FontFace.h"
#include "Image.h"
#include "PvrFile.h"
#include "ResourceSet.h"

namespace fs = std::filesystem;
using restool::Image;

namespace {

const fs::path kResources = fs::path(ZORVIK_SOURCE_DIR) / "Resources";
const fs::path kExampleResources = fs::path(ZORVIK_SOURCE_DIR) / "examples" / "Resources";
const fs::path kTool = fs::path(ZORVIK_BINARY_DIR) / "tools" / "make_resources";

std::vector<std::uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t o) {
    return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | static_cast<std::uint32_t>(b[o + 3]) << 24;
}

struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "zorvik-res-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

int runTool(const std::string& args) {
    const std::string command = "'" + kTool.string() + "' " + args + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Image loadPicture(const std::string& name) {
    Image image;
    std::string error;
    EXPECT_TRUE(restool::readPng((kResources / name).string(), &image, &error)) << error;
    return image;
}

// The .fnt file read the way the game's parser reads it: split at "=", the integer at the
// start of each piece, keys recognised by position.
std::vector<long> values(const std::string& line) {
    std::vector<long> out;
    std::size_t at = line.find('=');
    while (at != std::string::npos) {
        out.push_back(std::strtol(line.c_str() + at + 1, nullptr, 10));
        at = line.find('=', at + 1);
    }
    return out;
}

struct Glyph {
    long x, y, w, h, xOffset, yOffset, xAdvance;
};

struct Font {
    long lineHeight = 0, base = 0, pageWidth = 0, pageHeight = 0, pages = 0;
    std::string pageFile;
    std::map<long, Glyph> glyphs;
    std::map<std::pair<long, long>, long> kerning;
    std::vector<std::string> lines;
};

Font loadFont() {
    Font f;
    std::ifstream in(kResources / "greenFont.fnt");
    std::string line;
    while (std::getline(in, line)) {
        f.lines.push_back(line);
        const std::vector<long> v = values(line);
        if (line.rfind("common lineHeight", 0) == 0 && v.size() >= 5) {
            f.lineHeight = v[0], f.base = v[1], f.pageWidth = v[2], f.pageHeight = v[3], f.pages = v[4];
        } else if (line.rfind("page id", 0) == 0) {
            const auto q1 = line.find('"'), q2 = line.find('"', q1 + 1);
            if (q1 != std::string::npos && q2 != std::string::npos) f.pageFile = line.substr(q1 + 1, q2 - q1 - 1);
        } else if (line.rfind("chars c", 0) == 0) {
        } else if (line.rfind("char", 0) == 0 && v.size() >= 8) {
            f.glyphs[v[0]] = {v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
        } else if (line.rfind("kerning first", 0) == 0 && v.size() >= 3) {
            f.kerning[{v[0], v[1]}] = v[2];
        }
    }
    return f;
}

long lineWidth(const Font& f, const std::string& text) {
    long x = 0, prev = 0xFFFF;
    for (unsigned char c : text) {
        const auto k = f.kerning.find({prev, c});
        const long kern = k == f.kerning.end() ? 0 : k->second;
        x += f.glyphs.at(c).xAdvance + kern;
        prev = c;
    }
    return x;
}

}  // namespace

// The game's set in Resources/, the examples' set (--examples) in examples/Resources/.
TEST(ResourceProgram, ReproducesTheCommittedFilesByteForByte) {
    const struct {
        restool::ResourceKind kind;
        const char* option;
        fs::path committed;
    } sets[] = {{restool::ResourceKind::Game, "", kResources},
                {restool::ResourceKind::Examples, " --examples", kExampleResources}};
    for (const auto& set : sets) {
        TempDir out;
        ASSERT_EQ(runTool("'" + out.path.string() + "'" + set.option), 0);
        std::set<std::string> written;
        for (const auto& entry : fs::recursive_directory_iterator(out.path))
            if (entry.is_regular_file()) written.insert(fs::relative(entry.path(), out.path).string());
        const auto& names = restool::resourceFileNames(set.kind);
        EXPECT_EQ(written, std::set<std::string>(names.begin(), names.end()));  // nothing missing, no leftovers
        for (const std::string& name : names) {
            const auto made = readBytes(out.path / name);
            const auto committed = readBytes(set.committed / name);
            EXPECT_FALSE(made.empty()) << name;
            EXPECT_TRUE(made == committed) << name << " differs from " << set.committed / name << "; run make_resources"
                                           << set.option << " " << set.committed.filename() << " to refresh it";
        }
    }
}

TEST(ExampleResources, SheetFramesLieInsideThePageWithoutOverlapping) {
    Image sheet;
    std::string error;
    ASSERT_TRUE(restool::readPng((kExampleResources / "sheet.png").string(), &sheet, &error)) << error;
    const auto& frames = restool::sheetFrames();
    const std::string list = restool::sheetFrameList();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const restool::SheetFrame& f = frames[i];
        EXPECT_GE(f.x, 0);
        EXPECT_GE(f.y, 0);
        EXPECT_LE(f.x + f.width, sheet.width) << f.name;
        EXPECT_LE(f.y + f.height, sheet.height) << f.name;
        for (std::size_t j = 0; j < i; ++j) {
            const restool::SheetFrame& g = frames[j];
            const bool apart = f.x >= g.x + g.width || g.x >= f.x + f.width || f.y >= g.y + g.height || g.y >= f.y + f.height;
            EXPECT_TRUE(apart) << f.name << " overlaps " << g.name;
        }
        // The picture has something at the middle of each frame, and the list names the frame.
        EXPECT_GT(sheet.pixel(f.x + f.width / 2, f.y + f.height / 2)[3], 0) << f.name;
        EXPECT_NE(list.find("<key>" + f.name + "</key>"), std::string::npos) << f.name;
    }
}

// The frame list, the particle file and the font each name a picture; it must be one of the set.
TEST(ExampleResources, PicturesNamedByTheDescriptionsAreInTheSet) {
    const auto& names = restool::exampleResourceFileNames();
    const auto between = [](const std::string& text, const std::string& before, const std::string& after) {
        const std::size_t start = text.find(before);
        if (start == std::string::npos) return std::string();
        const std::size_t from = start + before.size(), end = text.find(after, from);
        return end == std::string::npos ? std::string() : text.substr(from, end - from);
    };
    const auto read = [](const fs::path& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string named[] = {
        between(read(kExampleResources / "sheet.plist"), "<key>textureFileName</key>\n\t\t<string>", "</string>"),
        between(read(kExampleResources / "fountain.plist"), "<key>textureFileName</key>\n\t<string>", "</string>"),
        between(read(kExampleResources / "exampleFont.fnt"), "file=\"", "\""),
    };
    for (const std::string& picture : named) {
        EXPECT_NE(std::find(names.begin(), names.end(), picture), names.end()) << "\"" << picture << "\"";
        EXPECT_TRUE(fs::exists(kExampleResources / picture)) << picture;
    }
    // The frame list cuts up the sheet, not some other picture.
    EXPECT_EQ(named[0], "sheet.png");
}

TEST(ExampleResources, EveryCharacterMapCellHasItsDigit) {
    Image digits;
    std::string error;
    ASSERT_TRUE(restool::readPng((kExampleResources / "digits.png").string(), &digits, &error)) << error;
    const int cells = static_cast<int>(std::string(restool::kDigitCharacters).size());
    ASSERT_EQ(digits.width, cells * restool::kDigitCellWidth);
    ASSERT_EQ(digits.height, restool::kDigitCellHeight);
    for (int c = 0; c < cells; ++c) {
        int ink = 0;
        for (int y = 0; y < digits.height; ++y)
            for (int x = 0; x < restool::kDigitCellWidth; ++x) {
                const int column = c * restool::kDigitCellWidth + x;
                const bool opaque = digits.pixel(column, y)[3] > 128;
                ink += opaque;
                // Nothing touches the cell's left and right edges, so neighbours never bleed in.
                if (x == 0 || x == restool::kDigitCellWidth - 1) {
                    EXPECT_FALSE(opaque) << restool::kDigitCharacters[c];
                }
            }
        EXPECT_GT(ink, 10) << restool::kDigitCharacters[c];
    }
}

TEST(ResourceProgram, FailsClearlyWithoutLeavingFiles) {
    TempDir out;
    EXPECT_EQ(runTool(""), 2);  // no output folder
    EXPECT_EQ(runTool("'" + out.path.string() + "' --font /nonexistent/font.ttf"), 1);
    EXPECT_TRUE(fs::is_empty(out.path));
    // An output path that is a file, not a folder.
    const fs::path file = out.path / "plain";
    std::ofstream(file) << "x";
    EXPECT_EQ(runTool("'" + file.string() + "'"), 1);
}

TEST(ResourcePictures, HaveTheirSizesAndNoVaryingChunks) {
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"cat_1.png", {100, 70}},  {"cat_2.png", {100, 70}},       {"cat_3.png", {100, 70}},
        {"cat_4.png", {100, 70}},  {"back1.png", {64, 40}},        {"back2.png", {64, 40}},
        {"hammer.png", {180, 180}}, {"sparkleSpin.png", {200, 200}}, {"coinsmall.png", {30, 30}},
        {"plus.png", {128, 128}},  {"Default2.png", {480, 320}},   {"greenFont.png", {256, 256}},
        {"house/ads/mobfox.png", {320, 50}}, {"house/ads/admob.png", {320, 50}}, {"xBatch_border_stretchable.png", {9, 61}},
        {"xBatch_border_x_stretchable.png", {9, 61}}, {"xBatch_border_x_stretchable_pressed.png", {9, 61}},
    };
    for (const auto& [name, size] : sizes) {
        const Image image = loadPicture(name);
        EXPECT_EQ(image.width, size.first) << name;
        EXPECT_EQ(image.height, size.second) << name;
        // Walk the chunks: none that carries a time stamp or free text.
        const auto bytes = readBytes(kResources / name);
        for (std::size_t o = 8; o + 8 <= bytes.size();) {
            const std::uint32_t length = bytes[o] << 24 | bytes[o + 1] << 16 | bytes[o + 2] << 8 | bytes[o + 3];
            const std::string type(bytes.begin() + static_cast<long>(o) + 4, bytes.begin() + static_cast<long>(o) + 8);
            EXPECT_TRUE(type == "IHDR" || type == "IDAT" || type == "IEND") << name << " has a " << type << " chunk";
            o += 12 + length;
        }
    }
}

TEST(ResourcePictures, SpritesAreCutOutAndTheButtonIsOpaque) {
    for (const char* name : {"hammer.png", "sparkleSpin.png", "coinsmall.png", "plus.png", "cat_1.png"}) {
        const Image image = loadPicture(name);
        for (auto [x, y] : {std::pair{0, 0}, {image.width - 1, 0}, {0, image.height - 1}}) {
            const std::uint8_t* p = image.pixel(x, y);
            EXPECT_EQ(p[0] | p[1] | p[2] | p[3], 0) << name << " corner " << x << "," << y;
        }
        const std::uint8_t* middle = image.pixel(image.width / 2, image.height / 2);
        EXPECT_EQ(middle[3], 255) << name;
    }
    // The back button is drawn without blending, so every pixel must be opaque.
    for (const char* name : {"back1.png", "back2.png"}) {
        const Image image = loadPicture(name);
        for (std::size_t i = 3; i < image.rgba.size(); i += 4) ASSERT_EQ(image.rgba[i], 255) << name;
    }
    EXPECT_NE(readBytes(kResources / "back1.png"), readBytes(kResources / "back2.png"));
}

// The game's geometry: cat at y 25 and scale 0.69, jump height 110 lasting 1.067 s; coin at
// y 80 (scale 1, spinning); saws at y 20 / scale 0.35 and y 15 / scale 0.29; items scroll at
// 280 points per second with the device held level. Boxes are axis-aligned around the whole
// picture, so a spinning square is widest at 45 degrees.
TEST(ResourcePictures, SizesSuitPlay) {
    const Image cat = loadPicture("cat_1.png");
    const double catW = cat.width * 0.69, catH = cat.height * 0.69;
    const double catBottom = 25 - catH / 2, catTop = 25 + catH / 2;

    const Image coin = loadPicture("coinsmall.png");
    const double coinHalf = coin.width * std::sqrt(2.0) / 2;
    EXPECT_LT(catTop, 80 - coinHalf) << "a standing cat would touch the coin";
    EXPECT_GT(25 + 110 + catH / 2, 80 + coinHalf) << "a jump must reach the coin";
    EXPECT_GT(catBottom, -5.0) << "the cat should stand on the ground line";

    struct Saw {
        const char* file;
        double y, scale;
    };
    for (const Saw& saw : {Saw{"hammer.png", 20, 0.35}, Saw{"sparkleSpin.png", 15, 0.29}}) {
        const Image image = loadPicture(saw.file);
        const double box = image.width * saw.scale * std::sqrt(2.0);
        const double rise = saw.y + box / 2 - catBottom;  // the cat's feet must get this high
        ASSERT_LT(rise, 110) << saw.file;
        const double q = rise / (4 * 110), d = std::sqrt(1 - 4 * q);
        const double airborne = d * 1.067;          // time the feet are above the saw's box
        const double crossing = (box + catW) / 280;  // time the boxes overlap horizontally
        EXPECT_GT(airborne, crossing + 0.05) << saw.file << " cannot be jumped";
    }

    // The bonus item (y 170, scale 0.3) is out of reach standing but within an extreme jump (165).
    const Image bonus = loadPicture("plus.png");
    const double bonusHalf = bonus.height * 0.3 / 2;
    EXPECT_LT(catTop, 170 - bonusHalf);
    EXPECT_GT(25 + 165 + catH / 2, 170 - bonusHalf + 10);
}

TEST(ResourceParticleTexture, HasTheVersionTwoPvrHeader) {
    const auto b = readBytes(kResources / "test_image.pvr");
    ASSERT_GE(b.size(), 52u);
    const std::uint32_t height = le32(b, 4), width = le32(b, 8);
    EXPECT_EQ(le32(b, 0), 52u);
    EXPECT_EQ(width, 32u);
    EXPECT_EQ(height, 32u);
    EXPECT_EQ(le32(b, 16) & 0xFF, 0x12u);  // RGBA8888
    EXPECT_EQ(le32(b, 20), width * height * 4);
    EXPECT_EQ(b.size(), 52 + le32(b, 20));
    EXPECT_EQ(le32(b, 24), 32u);
    EXPECT_NE(le32(b, 40), 0u);  // has alpha
    EXPECT_EQ(std::string(b.begin() + 44, b.begin() + 48), "PVR!");
    EXPECT_EQ(le32(b, 48), 1u);
    // White dot: opaque middle, clear corners.
    EXPECT_EQ(b[52 + (16 * 32 + 16) * 4 + 3], 255);
    EXPECT_EQ(b[52 + 3], 0);
    EXPECT_EQ(b[52 + (16 * 32 + 16) * 4], 255);
}

TEST(ResourceParticleTexture, EncoderRefusesOtherSidesAndPacks4444) {
    std::vector<std::uint8_t> out;
    std::string error;
    EXPECT_FALSE(restool::encodePvr(restool::Image(96, 64), restool::PvrPixelType::Rgba8888, &out, &error));
    EXPECT_NE(error.find("powers of two"), std::string::npos);

    restool::Image one(1, 1);
    const std::uint8_t pixel[4] = {255, 128, 64, 200};
    std::copy(pixel, pixel + 4, one.rgba.begin());
    ASSERT_TRUE(restool::encodePvr(one, restool::PvrPixelType::Rgba4444, &out, &error));
    ASSERT_EQ(out.size(), 54u);
    EXPECT_EQ(le32(out, 16) & 0xFF, 0x10u);
    EXPECT_EQ(out[52] | out[53] << 8, 0xF84C);
}

TEST(ResourceFont, DescribesEveryNeededGlyphInsideItsPage) {
    const Font f = loadFont();
    EXPECT_EQ(f.pages, 1);
    EXPECT_GT(f.lineHeight, 0);
    EXPECT_GT(f.base, 0);
    EXPECT_LE(f.base, f.lineHeight);
    EXPECT_EQ(f.pageFile, "greenFont.png");
    const Image page = loadPicture("greenFont.png");
    EXPECT_EQ(page.width, f.pageWidth);
    EXPECT_EQ(page.height, f.pageHeight);

    std::string required = " :!";
    for (char c = '0'; c <= '9'; ++c) required += c;
    for (char c = 'A'; c <= 'Z'; ++c) required += c;
    for (char c = 'a'; c <= 'z'; ++c) required += c;
    for (char c : required) EXPECT_TRUE(f.glyphs.count(static_cast<unsigned char>(c))) << "missing '" << c << "'";

    for (const auto& [id, g] : f.glyphs) {
        EXPECT_LE(id, 2047);
        EXPECT_GE(g.x, 0) << id;
        EXPECT_GE(g.y, 0) << id;
        EXPECT_LE(g.x + g.w, f.pageWidth) << id;
        EXPECT_LE(g.y + g.h, f.pageHeight) << id;
        EXPECT_GT(g.xAdvance, 0) << id;
        if (g.w > 0) {
            EXPECT_GE(g.yOffset, 0) << id;
            EXPECT_LE(g.yOffset + g.h, f.lineHeight) << id;
        }
    }
    EXPECT_FALSE(f.kerning.empty());
    for (const auto& [pair, amount] : f.kerning) {
        EXPECT_TRUE(f.glyphs.count(pair.first) && f.glyphs.count(pair.second));
        EXPECT_LE(std::labs(amount), f.lineHeight / 3);
    }
    // The parser splits lines into keys at single blanks and needs the char id right after "=".
    for (const std::string& line : f.lines) {
        EXPECT_EQ(line.find("  "), std::string::npos) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos);
    }
}

TEST(ResourceFont, GlyphsHaveInkAndTheCountdownFitsTheScreen) {
    const Font f = loadFont();
    const Image page = loadPicture("greenFont.png");
    for (char c : std::string("0Aa!:")) {
        const Glyph& g = f.glyphs.at(static_cast<unsigned char>(c));
        int opaque = 0;
        for (long y = g.y; y < g.y + g.h; ++y)
            for (long x = g.x; x < g.x + g.w; ++x) opaque += page.pixel(static_cast<int>(x), static_cast<int>(y))[3] > 200;
        EXPECT_GT(opaque, 10) << c;
    }
    // The countdown label is centred at x 350; the score at x 400 grows with the digits.
    EXPECT_LE(350 + lineWidth(f, "Extreme Jump: 10") / 2, 475);
    EXPECT_LE(400 + lineWidth(f, "123450") / 2, 475);
    EXPECT_LE(lineWidth(f, "LITE VERSION"), 300);
}

TEST(ResourceImage, UnpremultipliesCairoPixels) {
    // Native-endian ARGB32, premultiplied: half-transparent red, fully transparent, opaque blue.
    const std::uint32_t pixels[3] = {0x80800000u, 0x00000000u, 0xFF0000FFu};
    const restool::Image image =
        restool::imageFromArgb32(reinterpret_cast<const std::uint8_t*>(pixels), 3, 1, sizeof pixels);
    const std::uint8_t* red = image.pixel(0, 0);
    EXPECT_EQ(red[0], 255);
    EXPECT_EQ(red[1], 0);
    EXPECT_EQ(red[3], 128);
    const std::uint8_t* clear = image.pixel(1, 0);
    EXPECT_EQ(clear[0] | clear[1] | clear[2] | clear[3], 0);
    const std::uint8_t* blue = image.pixel(2, 0);
    EXPECT_EQ(blue[2], 255);
    EXPECT_EQ(blue[3], 255);
}

TEST(ResourcePictures, TitleIsOpaqueAndRunFramesDiffer) {
    const Image title = loadPicture("Default2.png");
    for (std::size_t i = 3; i < title.rgba.size(); i += 4) ASSERT_EQ(title.rgba[i], 255) << "hole in the title picture";
    std::set<std::vector<std::uint8_t>> frames;
    for (int i = 1; i <= 4; ++i) frames.insert(loadPicture("cat_" + std::to_string(i) + ".png").rgba);
    EXPECT_EQ(frames.size(), 4u) << "every run frame must show a different pose";
}

TEST(ResourceFont, BuilderReportsMissingGlyphsAndTooNarrowPages) {
    const restool::FontFace face(restool::kDefaultFontPath);
    restool::BitmapFont font;
    std::string error;

    restool::BitmapFontStyle missing;
    missing.firstChar = missing.lastChar = 0x10FFFD;  // a private-use code no text font covers
    EXPECT_FALSE(restool::buildBitmapFont(face, missing, &font, &error));
    EXPECT_NE(error.find("no glyph"), std::string::npos) << error;

    restool::BitmapFontStyle narrow;
    narrow.pageWidth = 8;
    EXPECT_FALSE(restool::buildBitmapFont(face, narrow, &font, &error));
    EXPECT_NE(error.find("wider than the font page"), std::string::npos) << error;

    restool::BitmapFontStyle digits;
    digits.firstChar = '0';
    digits.lastChar = '9';
    digits.pageFileName = "digits.png";
    ASSERT_TRUE(restool::buildBitmapFont(face, digits, &font, &error)) << error;
    EXPECT_NE(font.description.find("chars count=10\n"), std::string::npos);
    EXPECT_NE(font.description.find("file=\"digits.png\""), std::string::npos);
    EXPECT_EQ(font.page.width, 256);
    EXPECT_EQ(font.page.height & (font.page.height - 1), 0) << "page height must be a power of two";
}

TEST(ResourceFont, RefusesAMissingFontFile) {
    EXPECT_THROW(restool::FontFace("/nonexistent/font.ttf"), std::runtime_error);
}
