#include "AppIcon.h"

#include <filesystem>
#include <system_error>

#include "Drawing.h"
#include "Pictures.h"

namespace restool {

const std::vector<int>& appIconSizes() {
    static const std::vector<int> sizes{16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

Image drawAppIcon(int size) {
    Canvas canvas(size, size);
    cairo_t* cr = canvas.cr();
    const double s = size, corner = s * 0.18, ground = s * 0.74;

    roundedRect(cr, 0, 0, s, s, corner);
    cairo_clip(cr);
    paintSky(cr, s, ground);
    cairo_rectangle(cr, 0, ground, s, s - ground);
    setColour(cr, 0x5FA83A);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, ground, s, s * 0.035);
    setColour(cr, 0x3F7A22);
    cairo_fill(cr);

    // The cat fills most of the width, its feet just above the ground.
    const double scale = s * 0.9 / kCatWidth;
    cairo_save(cr);
    cairo_translate(cr, (s - kCatWidth * scale) / 2, ground - kCatHeight * scale * 0.98);
    cairo_scale(cr, scale, scale);
    paintCat(cr, 2);
    cairo_restore(cr);
    return canvas.toImage();
}

bool writeAppIcons(const std::string& dir, const std::string& name, std::string* error) {
    for (int size : appIconSizes()) {
        const std::string n = std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(dir) / "hicolor" / (n + "x" + n) / "apps";
        std::error_code made;
        std::filesystem::create_directories(folder, made);
        if (made) {
            if (error) *error = "cannot create " + folder.string() + ": " + made.message();
            return false;
        }
        if (!writePng((folder / (name + ".png")).string(), drawAppIcon(size), error)) return false;
    }
    return true;
}

}  // namespace restool
