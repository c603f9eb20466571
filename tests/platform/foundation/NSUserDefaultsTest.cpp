#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CCPtr.h"
#include "CommonDigest.h"
#include "NSData.h"
#include "NSPathUtilities.h"
#include "NSUserDefaults.h"
#include "PropertyList.h"
#include "UIDevice.h"
#include "support/XDGHome.h"

namespace fs = std::filesystem;

TEST(NSUserDefaults, FlagsSurviveANewInstanceAndNoTemporaryFileStays) {
    XDGHome home;
    NSUserDefaults::resetStandardUserDefaults();
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_FALSE(defaults->boolForKey("Zorvik Deluxe"));
    defaults->setBool(true, "Zorvik Deluxe");
    defaults->setBool(false, "Other");
    EXPECT_TRUE(defaults->synchronize());
    EXPECT_EQ(defaults->path(), home.config() + "/UserDefaults.plist");

    // Written through: the file holds the flag without a reset.
    PropertyList onDisk = PropertyList::dictionaryWithContentsOfFile(home.config() + "/UserDefaults.plist");
    EXPECT_TRUE(onDisk.boolForKey("Zorvik Deluxe"));

    NSUserDefaults::resetStandardUserDefaults();
    NSUserDefaults* again = NSUserDefaults::standardUserDefaults();
    EXPECT_NE(again, nullptr);
    EXPECT_TRUE(again->boolForKey("Zorvik Deluxe"));
    EXPECT_FALSE(again->boolForKey("Other"));
    EXPECT_FALSE(again->objectForKey("Other").isNil());
    again->removeObjectForKey("Other");
    EXPECT_TRUE(again->objectForKey("Other").isNil());
    NSUserDefaults::resetStandardUserDefaults();

    for (auto& entry : fs::directory_iterator(home.config()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(NSUserDefaults, UnreadableFileStartsEmptyAndIsReplacedOnTheNextWrite) {
    XDGHome home;
    std::string path = home.dir.write("defaults.plist", "<plist><dict><key>a</key>"); // cut short
    CCPtr<NSUserDefaults> defaults = CCPtr<NSUserDefaults>::adopt(new NSUserDefaults);
    defaults->initWithPath(path);
    EXPECT_FALSE(defaults->boolForKey("a"));
    defaults->setBool(true, "b");
    EXPECT_TRUE(PropertyList::dictionaryWithContentsOfFile(path).boolForKey("b"));

    // Without a place to write, a change is kept in memory and synchronize says so.
    CCPtr<NSUserDefaults> nowhere = CCPtr<NSUserDefaults>::adopt(new NSUserDefaults);
    nowhere->initWithPath(home.dir.path() + "/missing-folder/defaults.plist");
    nowhere->setBool(true, "c");
    EXPECT_TRUE(nowhere->boolForKey("c"));
    EXPECT_FALSE(nowhere->synchronize());
}

TEST(NSPathUtilities, DocumentsAndConfigurationFollowXDGWithHomeFallback) {
    XDGHome home;
    auto paths = NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], home.documents());
    EXPECT_TRUE(fs::is_directory(paths[0])); // made on first use

    // Relative values do not count: the home directory's defaults apply.
    home.set("XDG_DATA_HOME", "relative/data");
    home.set("XDG_CONFIG_HOME", std::nullopt);
    paths = NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], home.dir.path() + "/home/.local/share/zorvik/Documents");
    EXPECT_EQ(ccConfigurationDirectory(), home.dir.path() + "/home/.config/zorvik");

    // A documents folder that cannot be made gives no path rather than a wrong one.
    home.dir.write("blocked", "a file where a folder should be");
    home.set("XDG_DATA_HOME", home.dir.path() + "/blocked");
    EXPECT_TRUE(NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true).empty());
}

TEST(CommonDigest, MD5OfKnownInputs) {
    auto hex = [](const std::string& text) {
        unsigned char md[CC_MD5_DIGEST_LENGTH];
        if (!CC_MD5(text.data(), static_cast<CC_LONG>(text.size()), md)) return std::string("<failed>");
        std::string out;
        char two[3];
        for (unsigned char b : md) {
            std::snprintf(two, sizeof two, "%02x", b);
            out += two;
        }
        return out;
    };
    EXPECT_EQ(hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(UIDevice, UniqueIdentifierIsStablePerApplicationAndNotTheMachineId) {
    XDGHome home;
    UIDevice* device = UIDevice::currentDevice();
    device->setUniqueIdentifier("");
    std::string id = device->uniqueIdentifier();
    ASSERT_EQ(id.size(), 32u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
    device->setUniqueIdentifier("");
    EXPECT_EQ(device->uniqueIdentifier(), id);

    std::ifstream machine("/etc/machine-id");
    std::string raw;
    if (machine >> raw) {
        EXPECT_NE(raw, id);
    }
    device->setUniqueIdentifier("");
}
