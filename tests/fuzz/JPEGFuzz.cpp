// JPEG decoding: a picture or a refusal, and every row of a picture readable.
#include <vector>

#include "CCAutoreleasePool.h"
#include "CGImage.h"
#include "FuzzTarget.h"
#include "ImageCodecs.h"

ZORVIK_FUZZ_TARGET(jpeg) {
    CCAutoreleaseScope scope;
    CGImage* image = ccDecodeJPEG(data, size);
    if (!image) return 0;
    std::vector<std::uint8_t> row(std::size_t(image->width()) * 4);
    for (unsigned y = 0; y < image->height(); ++y) image->readRowStraight(y, row.data());
    return 0;
}
