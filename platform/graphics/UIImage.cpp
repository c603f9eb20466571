#include "UIImage.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "ImageCodecs.h"
#include "NSData.h"

UIImage* UIImage::imageWithContentsOfFile(const std::string& path) {
    return ccCreate<UIImage>([&](UIImage* image) { return image->initWithContentsOfFile(path); });
}

UIImage* UIImage::imageWithData(const NSData* data) {
    return ccCreate<UIImage>([&](UIImage* image) { return image->initWithData(data); });
}

UIImage* UIImage::imageWithCGImage(::CGImage* bitmap) {
    return ccCreate<UIImage>([&](UIImage* image) { return image->initWithCGImage(bitmap); });
}

bool UIImage::initWithContentsOfFile(const std::string& path) {
    return initWithCGImage(ccImageWithContentsOfFile(path));
}

bool UIImage::initWithData(const NSData* data) {
    if (!data) return false;
    return initWithCGImage(ccDecodeImage(data->bytes(), data->length()));
}

bool UIImage::initWithCGImage(::CGImage* image) {
    if (!image) return false;
    image_ = image;
    return true;
}

UIImage::~UIImage() {
    if (surface_) cairo_surface_destroy(surface_);
}

UIImage* UIImage::stretchableImageWithLeftCapWidth(int leftCapWidth, int topCapHeight) const {
    if (!image_) return nullptr;
    UIImage* copy = new UIImage;
    copy->image_ = image_;
    copy->leftCapWidth_ = std::clamp(leftCapWidth, 0, int(image_->width()) - 1);
    copy->topCapHeight_ = std::clamp(topCapHeight, 0, int(image_->height()) - 1);
    return ccAutorelease(copy);
}

void UIImage::drawInRect(cairo_t* cr, CGRect rect) const {
    if (!image_ || image_->width() == 0 || image_->height() == 0) return;
    const int w = int(image_->width()), h = int(image_->height());
    if (!surface_) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface_);
            surface_ = nullptr;
            return;
        }
        cairo_surface_flush(surface_);
        unsigned char* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        std::vector<std::uint8_t> row(std::size_t(w) * 4);
        for (int y = 0; y < h; ++y) {
            image_->readRowPremultiplied(unsigned(y), row.data());
            auto* out = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = &row[std::size_t(x) * 4];
                out[x] = std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
            }
        }
        cairo_surface_mark_dirty(surface_);
    }
    rect = CGRectStandardize(rect);
    if (rect.size.width <= 0 || rect.size.height <= 0) return;
    // Source columns and rows of the nine pieces: caps keep their size, the middle stretches.
    const bool stretch = leftCapWidth_ > 0 || topCapHeight_ > 0;
    const double sx[4] = {0, double(leftCapWidth_), double(leftCapWidth_ + (leftCapWidth_ > 0 ? 1 : w)), double(w)};
    const double sy[4] = {0, double(topCapHeight_), double(topCapHeight_ + (topCapHeight_ > 0 ? 1 : h)), double(h)};
    double dx[4], dy[4];
    if (stretch) {
        const double right = sx[3] - sx[2], bottom = sy[3] - sy[2];
        dx[0] = rect.origin.x;
        dx[1] = dx[0] + std::min<double>(sx[1], rect.size.width);
        dx[3] = rect.origin.x + rect.size.width;
        dx[2] = std::max(dx[1], dx[3] - right);
        dy[0] = rect.origin.y;
        dy[1] = dy[0] + std::min<double>(sy[1], rect.size.height);
        dy[3] = rect.origin.y + rect.size.height;
        dy[2] = std::max(dy[1], dy[3] - bottom);
    }
    cairo_save(cr);
    if (!stretch) {
        cairo_translate(cr, rect.origin.x, rect.origin.y);
        cairo_scale(cr, rect.size.width / w, rect.size.height / h);
        cairo_set_source_surface(cr, surface_, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_fill(cr);
    } else {
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) {
                const double sw = sx[i + 1] - sx[i], sh = sy[j + 1] - sy[j];
                const double ww = dx[i + 1] - dx[i], hh = dy[j + 1] - dy[j];
                if (sw <= 0 || sh <= 0 || ww <= 0 || hh <= 0) continue;
                cairo_save(cr);
                cairo_rectangle(cr, dx[i], dy[j], ww, hh);
                cairo_clip(cr);
                cairo_translate(cr, dx[i], dy[j]);
                cairo_scale(cr, ww / sw, hh / sh);
                cairo_set_source_surface(cr, surface_, -sx[i], -sy[j]);
                cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
                cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
                cairo_paint(cr);
                cairo_restore(cr);
            }
    }
    cairo_restore(cr);
}

CGSize UIImage::size() const {
    if (!image_) return CGSizeZero;
    return {float(image_->width()), float(image_->height())};
}

NSData* UIImagePNGRepresentation(const UIImage* image) {
    if (!image || !image->CGImage()) return nullptr;
    std::vector<std::uint8_t> bytes;
    if (!ccEncodePNG(*image->CGImage(), bytes)) return nullptr;
    return NSData::dataWithVector(std::move(bytes));
}

::CGImage* ccImageWithContentsOfFile(const std::string& path, std::string* why) {
    std::vector<std::uint8_t> bytes;
    if (!ccReadFile(path, bytes, why)) return nullptr;
    return ccDecodeImage(bytes.data(), bytes.size(), why);
}
