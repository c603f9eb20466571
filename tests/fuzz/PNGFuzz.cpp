// PNG decoding; a decoded picture is encoded and decoded again to the same size.
#include <vector>

#include "CCAutoreleasePool.h"
#include "CGImage.h"
#include "FuzzTarget.h"
#include "ImageCodecs.h"

ZORVIK_FUZZ_TARGET(png) {
    CCAutoreleaseScope scope;
    CGImage* image = ccDecodePNG(data, size);
    if (!image) return 0;
    std::vector<std::uint8_t> png;
    FUZZ_CHECK(ccEncodePNG(*image, png));
    CGImage* back = ccDecodePNG(png.data(), png.size());
    FUZZ_CHECK(back && back->width() == image->width() && back->height() == image->height());
    return 0;
}
