#include "UIDevice.h"

#include <systemd/sd-id128.h>

#include <vector>

#include "CCLog.h"
#include "NSData.h"
#include "NSPathUtilities.h"

namespace {
// This application's key for deriving its identifier from the machine id,
// 1148e618-4e75-498b-9348-f75ce17e0252, written out by bytes: SD_ID128_MAKE's compound literal
// is C only.
constexpr sd_id128_t kApplicationId = {{0x11, 0x48, 0xe6, 0x18, 0x4e, 0x75, 0x49, 0x8b, 0x93, 0x48, 0xf7, 0x5c,
                                        0xe1, 0x7e, 0x02, 0x52}};

std::string hex(sd_id128_t id) {
    char text[SD_ID128_STRING_MAX];
    return sd_id128_to_string(id, text);
}

bool isIdentifier(const std::string& text) {
    if (text.size() != 32) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// The random identifier of a machine without an id, made once and kept.
std::string storedIdentifier() {
    std::string directory = ccConfigurationDirectory();
    if (directory.empty()) return {};
    std::string path = directory + "/device-id";
    std::vector<std::uint8_t> bytes;
    if (ccReadFile(path, bytes)) {
        std::string text(bytes.begin(), bytes.end());
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        if (isIdentifier(text)) return text;
        CCLog("The device identifier in %s is unreadable; making a new one", path.c_str());
    }
    sd_id128_t id;
    if (sd_id128_randomize(&id) < 0) return {};
    std::string text = hex(id);
    std::string line = text + "\n";
    if (!NSData::dataWithBytes(line.data(), line.size())->writeToFile(path))
        CCLog("Cannot keep the device identifier in %s", path.c_str());
    return text;
}
} // namespace

UIDevice* UIDevice::currentDevice() {
    static UIDevice* device = new UIDevice; // lives for the whole process
    return device;
}

const std::string& UIDevice::uniqueIdentifier() {
    if (uniqueIdentifier_.empty()) {
        sd_id128_t id;
        if (sd_id128_get_machine_app_specific(kApplicationId, &id) >= 0) uniqueIdentifier_ = hex(id);
        else uniqueIdentifier_ = storedIdentifier();
    }
    return uniqueIdentifier_;
}
