#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "PropertyList.h"
#include "support/TestFiles.h"

namespace {

const char* kXML = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>maxParticles</key><integer>250</integer>
  <key>angle</key><real>90.5</real>
  <key>speed</key><string>12.75</string>
  <key>blend</key><true/>
  <key>negative</key><integer>-7</integer>
  <key>frames</key>
  <dict>
    <key>cat.png</key><dict><key>frame</key><string>{{0,0},{32,32}}</string></dict>
  </dict>
  <key>list</key><array><string>a</string><integer>2</integer></array>
  <key>blob</key><data>AAEC</data>
</dict>
</plist>
)";

} // namespace

TEST(PropertyList, ReadsXMLWithNSDictionaryLikeAccess) {
    PropertyList root = PropertyList::fromBytes(kXML, std::strlen(kXML));
    ASSERT_TRUE(root.isDictionary());
    EXPECT_EQ(root.intForKey("maxParticles"), 250);
    EXPECT_FLOAT_EQ(root.floatForKey("angle"), 90.5f);
    EXPECT_EQ(root.intForKey("angle"), 90);
    EXPECT_FLOAT_EQ(root.floatForKey("speed"), 12.75f);
    EXPECT_EQ(root.stringForKey("maxParticles"), "250");
    EXPECT_TRUE(root.boolForKey("blend"));
    EXPECT_EQ(root.intForKey("negative"), -7);
    EXPECT_EQ(root["frames"]["cat.png"].stringForKey("frame"), "{{0,0},{32,32}}");
    EXPECT_EQ(root["list"].count(), 2u);
    EXPECT_EQ(root["list"][0].stringValue(), "a");
    EXPECT_EQ(root["list"][1].intValue(), 2);
    EXPECT_TRUE(root["list"][2].isNil());
    EXPECT_EQ(root["blob"].dataValue(), (PropertyList::Bytes{0, 1, 2}));
    // Misses are nil all the way down.
    EXPECT_TRUE(root["missing"]["deeper"][3].isNil());
    EXPECT_EQ(root.floatForKey("missing"), 0);
    EXPECT_EQ(root["list"].objectForKey("x").type(), PropertyList::Type::Nil);
}

TEST(PropertyList, WritesAndReadsBackBothFormats) {
    PropertyList root = PropertyList::dictionary();
    root.setObject(PropertyList::string("hello"), "title");
    root.setObject(PropertyList::boolean(true), "seen");
    root.setObject(PropertyList::real(0.25), "ratio");
    root.setObject(PropertyList::date(3600), "when");
    PropertyList list;
    list.addObject(PropertyList::integer(-3));
    list.addObject(PropertyList::data({9, 8}));
    root.setObject(list, "list");
    for (bool binary : {false, true}) {
        TempDir dir;
        std::string path = dir.file("out.plist");
        ASSERT_TRUE(root.writeToFile(path, binary));
        PropertyList back = PropertyList::dictionaryWithContentsOfFile(path);
        EXPECT_EQ(back, root) << (binary ? "binary" : "xml");
        EXPECT_TRUE(PropertyList::arrayWithContentsOfFile(path).isNil());
    }
    EXPECT_FALSE(PropertyList().writeToFile("/nonexistent/dir/x.plist"));
}

TEST(PropertyList, BadInputGivesNil) {
    const std::string samples[] = {
        "",
        "not a plist at all",
        "<?xml version=\"1.0\"?><plist><dict><key>a</key>",
        "<plist><dict><key>a</key><integer>1</integer>",
        "<plist><array><string>unterminated</array></plist>",
        std::string("bplist00\x00\x01\x02", 11),
        std::string("bplist00") + std::string(40, '\xFF'),
        std::string(kXML, std::strlen(kXML) / 2),
    };
    for (const auto& s : samples) EXPECT_TRUE(PropertyList::fromBytes(s.data(), s.size()).isNil()) << s;
    // A truncated binary list.
    PropertyList root = PropertyList::dictionary();
    root.setObject(PropertyList::string("value"), "key");
    auto bytes = root.toBinary();
    for (std::size_t cut = 0; cut < bytes.size(); cut += 3)
        EXPECT_TRUE(PropertyList::fromBytes(bytes.data(), cut).isNil()) << cut;
    EXPECT_TRUE(PropertyList::contentsOfFile("/nonexistent.plist").isNil());
}

TEST(PropertyList, ScalarConversions) {
    EXPECT_EQ(PropertyList::string("  42abc").intValue(), 42);
    EXPECT_EQ(PropertyList::string("abc").floatValue(), 0);
    EXPECT_EQ(PropertyList::string("1e999").doubleValue(), 0);
    EXPECT_EQ(PropertyList::real(1e30).intValue(), std::numeric_limits<int>::max());
    EXPECT_TRUE(PropertyList::string("YES").boolValue());
    EXPECT_FALSE(PropertyList::string("NO").boolValue());
    EXPECT_FALSE(PropertyList::string("0").boolValue());
    EXPECT_EQ(PropertyList::boolean(true).intValue(), 1);
}
