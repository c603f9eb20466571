// PVR containers: header checks and the cut into levels (no GL upload).
#include "CCAutoreleasePool.h"
#include "CCPtr.h"
#include "CCTexturePVR.h"
#include "FuzzTarget.h"
#include "NSData.h"

ZORVIK_FUZZ_TARGET(pvr) {
    CCAutoreleaseScope scope;
    auto pvr = CCPtr<CCTexturePVR>::adopt(new CCTexturePVR);
    if (!pvr->unpackPVRData(NSData::dataWithBytes(data, size))) return 0;
    std::size_t total = 0;
    for (unsigned i = 0; i < pvr->levelCount(); ++i) total += pvr->levelAtIndex(i)->length();
    FUZZ_CHECK(total + 52 <= size);
    return 0;
}
