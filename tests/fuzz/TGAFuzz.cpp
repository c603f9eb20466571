// TGA files, read from a memory file by name as the reader takes them.
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "FuzzTarget.h"
#include "TGAlib.h"

ZORVIK_FUZZ_TARGET(tga) {
    const int fd = memfd_create("fuzz.tga", 0);
    if (fd < 0) return 0;
    if (size && write(fd, data, size) != static_cast<ssize_t>(size)) {
        close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    sImageTGA* image = tgaLoad(path.c_str());
    close(fd);
    FUZZ_CHECK(image);
    if (image->status == TGA_OK) {
        FUZZ_CHECK(image->imageData && image->width > 0 && image->height > 0);
        volatile std::uint8_t last = image->imageData[std::size_t(image->width) * image->height * (image->pixelDepth / 8) - 1];
        (void)last;
    }
    tgaDestroy(image);
    return 0;
}
