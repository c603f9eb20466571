#include "ResourceSet.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "Banners.h"
#include "BitmapFont.h"
#include "FontFace.h"
#include "Image.h"
#include "Pictures.h"
#include "PvrFile.h"

namespace restool {

namespace fs = std::filesystem;

const std::vector<std::string>& resourceFileNames() {
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

class Writer {
public:
    explicit Writer(fs::path dir) : dir_(std::move(dir)) {}

    bool png(const std::string& name, const Image& image, std::string* error) {
        const fs::path temp = tempPath(name);
        if (!writePng(temp.string(), image, error)) {
            discard(temp);
            return false;
        }
        return commit(temp, name, error);
    }

    bool bytes(const std::string& name, const void* data, std::size_t size, std::string* error) {
        const fs::path temp = tempPath(name);
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
            out.close();
            if (!out) {
                *error = temp.string() + ": write failed";
                discard(temp);
                return false;
            }
        }
        return commit(temp, name, error);
    }

private:
    // Beside the file, in its own folder (made when missing).
    fs::path tempPath(const std::string& name) const {
        const fs::path target = dir_ / name;
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        return target.parent_path() / ("." + target.filename().string() + ".part");
    }

    static void discard(const fs::path& temp) {
        std::error_code ec;
        fs::remove(temp, ec);
    }

    bool commit(const fs::path& temp, const std::string& name, std::string* error) {
        std::error_code ec;
        fs::rename(temp, dir_ / name, ec);
        if (ec) {
            *error = (dir_ / name).string() + ": " + ec.message();
            discard(temp);
            return false;
        }
        return true;
    }

    fs::path dir_;
};

bool makeAll(Writer& w, const FontFace& font, std::string* error) {
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

bool makeResources(const std::string& outDir, const std::string& fontPath, std::string* error) {
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec || !fs::is_directory(outDir)) {
        *error = outDir + ": cannot create the output folder" + (ec ? ": " + ec.message() : "");
        return false;
    }
    try {
        const FontFace font(fontPath);
        Writer writer{fs::path(outDir)};
        return makeAll(writer, font, error);
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}

}  // namespace restool
