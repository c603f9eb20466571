#include "ResourceSet.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "Banners.h"
#include "BitmapFont.h"
#include "ExampleResources.h"
#include "FontFace.h"
#include "Image.h"
#include "Pictures.h"
#include "PvrFile.h"
#include "ResourceWriter.h"

namespace restool {

namespace fs = std::filesystem;

const std::vector<std::string>& resourceFileNames(ResourceKind kind) {
    if (kind == ResourceKind::Examples) return exampleResourceFileNames();
    static const std::vector<std::string> names = {
        "cat_1.png",   "cat_2.png",       "cat_3.png",       "cat_4.png",  "back2.png",
        "back1.png",   "hammer.png",      "sparkleSpin.png", "coinsmall.png", "plus.png",
        "Default2.png", "test_image.pvr", "greenFont.fnt",   "greenFont.png",
        "xBatch_border_x_stretchable.png", "xBatch_border_x_stretchable_pressed.png", "xBatch_border_stretchable.png",
        "house/ads/mobfox.json", "house/ads/mobfox.png", "house/ads/admob.json", "house/ads/admob.png",
        "house/ads/platform.json",
    };
    return names;
}

namespace {

bool makeAll(ResourceWriter& w, const FontFace& font, std::string* error) {
    for (int frame = 1; frame <= 4; ++frame) {
        if (!w.png("cat_" + std::to_string(frame) + ".png", drawCat(frame), error)) return false;
    }
    if (!w.png("back2.png", drawBackButton(font, false), error)) return false;
    if (!w.png("back1.png", drawBackButton(font, true), error)) return false;
    if (!w.png("hammer.png", drawLargeSaw(), error)) return false;
    if (!w.png("sparkleSpin.png", drawRegularSaw(), error)) return false;
    if (!w.png("coinsmall.png", drawCoin(), error)) return false;
    if (!w.png("plus.png", drawBonus(), error)) return false;
    if (!w.png("Default2.png", drawTitle(font), error)) return false;

    std::vector<std::uint8_t> pvrBytes;
    if (!encodePvr(drawParticleDot(), PvrPixelType::Rgba8888, &pvrBytes, error)) return false;
    if (!w.bytes("test_image.pvr", pvrBytes.data(), pvrBytes.size(), error)) return false;

    BitmapFontStyle style;
    style.pageFileName = "greenFont.png";
    style.faceName = "DejaVu Sans Bold";
    BitmapFont bmfont;
    if (!buildBitmapFont(font, style, &bmfont, error)) return false;
    if (!w.bytes("greenFont.fnt", bmfont.description.data(), bmfont.description.size(), error)) return false;
    if (!w.png("greenFont.png", bmfont.page, error)) return false;

    if (!w.png("xBatch_border_x_stretchable.png", drawBorder(BorderLook::Normal), error)) return false;
    if (!w.png("xBatch_border_x_stretchable_pressed.png", drawBorder(BorderLook::Pressed), error)) return false;
    if (!w.png("xBatch_border_stretchable.png", drawBorder(BorderLook::Disabled), error)) return false;
    // House banners: a tap leads to the full edition's store page.
    const std::string store = "https://apps.apple.com/app/zorvik-full-version/id000000000";
    for (bool mobFox : {true, false}) {
        const std::string name = mobFox ? "mobfox" : "admob";
        const std::string answer = houseAnswer(name + ".png", store);
        if (!w.bytes("house/ads/" + name + ".json", answer.data(), answer.size(), error)) return false;
        if (!w.png("house/ads/" + name + ".png", drawHouseBanner(font, mobFox), error)) return false;
    }
    // The platform banner shows AdMob's house picture.
    const std::string platform = houseAnswer("admob.png", store);
    if (!w.bytes("house/ads/platform.json", platform.data(), platform.size(), error)) return false;
    return true;
}

}  // namespace

bool makeResources(const std::string& outDir, const std::string& fontPath, std::string* error, ResourceKind kind) {
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec || !fs::is_directory(outDir)) {
        *error = outDir + ": cannot create the output folder" + (ec ? ": " + ec.message() : "");
        return false;
    }
    try {
        const FontFace font(fontPath);
        ResourceWriter writer{fs::path(outDir)};
        return kind == ResourceKind::Examples ? makeExampleResources(writer, font, error) : makeAll(writer, font, error);
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}

}  // namespace restool
