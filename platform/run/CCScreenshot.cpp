#include "CCScreenshot.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "CCAutoreleasePool.h"
#include "CGImage.h"
#include "ImageCodecs.h"
#include "UIApplication.h"

CCPixelImage CCScreenshot::upright(const CCPixelImage& portrait, int orientation) {
    const int w = portrait.width, h = portrait.height;
    if (portrait.empty() || orientation == UIInterfaceOrientationPortrait) return portrait;
    const bool turned = orientation == UIInterfaceOrientationLandscapeRight ||
                        orientation == UIInterfaceOrientationLandscapeLeft;
    if (!turned && orientation != UIInterfaceOrientationPortraitUpsideDown) return portrait;
    CCPixelImage out;
    out.width = turned ? h : w;
    out.height = turned ? w : h;
    out.rgba.resize(portrait.rgba.size());
    for (int r = 0; r < out.height; ++r)
        for (int c = 0; c < out.width; ++c) {
            int sx, sy;
            switch (orientation) {
            // The portrait top edge is on the left: the picture turns a quarter anticlockwise.
            case UIInterfaceOrientationLandscapeRight: sx = w - 1 - r, sy = c; break;
            case UIInterfaceOrientationLandscapeLeft: sx = r, sy = h - 1 - c; break;
            default: sx = w - 1 - c, sy = h - 1 - r; break;
            }
            std::memcpy(&out.rgba[(static_cast<std::size_t>(r) * out.width + c) * 4],
                        &portrait.rgba[(static_cast<std::size_t>(sy) * w + sx) * 4], 4);
        }
    return out;
}

bool CCScreenshot::writePNG(const CCPixelImage& image, const std::string& path, std::string* error) {
    auto fail = [&](std::string why) {
        if (error) *error = "cannot write the screenshot \"" + path + "\": " + why;
        return false;
    };
    if (image.empty()) return fail("no frame has been drawn");
    std::vector<std::uint8_t> png;
    {
        CCAutoreleaseScope pool;
        CGImage* picture = CGImage::imageWithRGBA(static_cast<unsigned>(image.width),
                                                  static_cast<unsigned>(image.height), image.rgba);
        if (!picture || !ccEncodePNG(*picture, png)) return fail("PNG encoding failed");
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return fail(std::strerror(errno));
    errno = 0;
    bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size() && std::fflush(file) == 0;
    int reason = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (!written) {
        // A cut picture is worse than none; a device or pipe given as the path stays.
        std::error_code ignored;
        if (std::filesystem::is_regular_file(path, ignored)) std::remove(path.c_str());
        return fail(std::strerror(reason ? reason : EIO));
    }
    return true;
}
