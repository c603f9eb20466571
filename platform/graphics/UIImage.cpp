#include "UIImage.h"

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
    std::vector<std::uint8_t> bytes;
    if (!ccReadFile(path, bytes)) return false;
    ::CGImage* decoded = ccLooksLikePNG(bytes.data(), bytes.size()) ? ccDecodePNG(bytes.data(), bytes.size())
                                                                    : ccDecodeJPEG(bytes.data(), bytes.size());
    return initWithCGImage(decoded);
}

bool UIImage::initWithData(const NSData* data) {
    if (!data) return false;
    ::CGImage* decoded = ccLooksLikePNG(data->bytes(), data->length()) ? ccDecodePNG(data->bytes(), data->length())
                                                                       : ccDecodeJPEG(data->bytes(), data->length());
    return initWithCGImage(decoded);
}

bool UIImage::initWithCGImage(::CGImage* image) {
    if (!image) return false;
    image_ = image;
    return true;
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
