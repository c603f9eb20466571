#include <gtest/gtest.h>

#include <cmath>
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

namespace {

// A binary property list of the given objects (each already encoded), the first the root.
std::vector<std::uint8_t> bplist(const std::vector<std::vector<std::uint8_t>>& objects) {
    std::vector<std::uint8_t> out = {'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint16_t> offsets;
    for (const auto& o : objects) {
        offsets.push_back(std::uint16_t(out.size()));
        out.insert(out.end(), o.begin(), o.end());
    }
    const std::uint64_t table = out.size();
    for (std::uint16_t o : offsets) out.insert(out.end(), {std::uint8_t(o >> 8), std::uint8_t(o)});
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 2, 1});
    for (std::uint64_t v : {std::uint64_t(objects.size()), std::uint64_t(0), table})
        for (int shift = 56; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
    return out;
}

std::vector<std::uint8_t> utf16(std::initializer_list<std::uint16_t> units) {
    std::vector<std::uint8_t> o = {std::uint8_t(0x60 | units.size())};
    for (std::uint16_t u : units) o.insert(o.end(), {std::uint8_t(u >> 8), std::uint8_t(u)});
    return o;
}

} // namespace

TEST(PropertyList, NULAndBytesThatAreNoUTF8ReadAndWriteAsReplacements) {
    // { "a\0b": "x\0y" } in UTF-16, which libplist's own accessors abort on.
    auto bytes = bplist({{0xD1, 1, 2}, utf16({'a', 0, 'b'}), utf16({'x', 0, 'y'})});
    PropertyList root = PropertyList::fromBytes(bytes.data(), bytes.size());
    ASSERT_TRUE(root.isDictionary());
    EXPECT_EQ(root.stringForKey("a\xEF\xBF\xBD" "b"), "x\xEF\xBF\xBD" "y");
    // A lone surrogate, and bytes that are no UTF-8, read as U+FFFD too.
    bytes = bplist({{0xA2, 1, 2}, utf16({0xD800, 'z'}), {0x53, 0xFF, 'o', 'k'}});
    root = PropertyList::fromBytes(bytes.data(), bytes.size());
    ASSERT_EQ(root.count(), 2u);
    EXPECT_EQ(root[0].stringValue(), "\xEF\xBF\xBDz");
    EXPECT_EQ(root[1].stringValue(), "\xEF\xBF\xBDok");

    // Written, such strings become the same replacements, and read back in both forms.
    PropertyList written = PropertyList::dictionary();
    written.setObject(PropertyList::string(std::string("bad\xC3(\0end", 9)), std::string("k\xFF", 2));
    PropertyList expected = PropertyList::dictionary();
    expected.setObject(PropertyList::string("bad\xEF\xBF\xBD(\xEF\xBF\xBD" "end"), "k\xEF\xBF\xBD");
    for (const auto& out : {written.toXML(), written.toBinary()}) {
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(PropertyList::fromBytes(out.data(), out.size()), expected);
    }
}

TEST(PropertyList, DatesTheFormatCannotHoldAreNotWritten) {
    PropertyList root = PropertyList::dictionary();
    root.setObject(PropertyList::date(-2147483648.0), "earliest");
    root.setObject(PropertyList::date(2147483647.25), "latest");
    auto out = root.toBinary();
    ASSERT_FALSE(out.empty());
    EXPECT_DOUBLE_EQ(PropertyList::fromBytes(out.data(), out.size())["latest"].dateValue().seconds, 2147483647.25);
    for (double seconds : {2147483648.0, -2147483649.0, 1e12, double(NAN), double(INFINITY)}) {
        root.setObject(PropertyList::date(seconds), "when");
        EXPECT_TRUE(root.toBinary().empty()) << seconds;
        EXPECT_TRUE(root.toXML().empty()) << seconds;
        TempDir dir;
        EXPECT_FALSE(root.writeToFile(dir.file("x.plist"), true));
    }
}

TEST(PropertyList, BinaryListsThatPointOutsideThemselvesOrExpandAreRefused) {
    std::string why;
    // An array that holds itself.
    auto loop = bplist({{0xA1, 0}});
    EXPECT_TRUE(PropertyList::fromBytes(loop.data(), loop.size(), &why).isNil());
    EXPECT_EQ(why, "an object contains itself");
    // Twelve levels of fourteen references to the next level: 14^12 strings from 200 bytes.
    std::vector<std::vector<std::uint8_t>> levels;
    for (std::uint8_t i = 0; i < 12; ++i) {
        levels.push_back({0xAE});
        levels.back().insert(levels.back().end(), 14, std::uint8_t(i + 1));
    }
    levels.push_back({0x54, 'b', 'o', 'o', 'm'});
    auto bomb = bplist(levels);
    EXPECT_TRUE(PropertyList::fromBytes(bomb.data(), bomb.size(), &why).isNil());
    EXPECT_EQ(why, "shared objects expand too far");
    // A reference past the objects, a string longer than the data, a cut trailer.
    auto far = bplist({{0xA1, 7}});
    EXPECT_TRUE(PropertyList::fromBytes(far.data(), far.size(), &why).isNil());
    EXPECT_EQ(why, "object reference out of range");
    auto longString = bplist({{0x5F, 0x10, 200, 'a'}});
    EXPECT_TRUE(PropertyList::fromBytes(longString.data(), longString.size(), &why).isNil());
    EXPECT_EQ(why, "string or data runs past the data");
    auto cut = bplist({{0x09}});
    cut.resize(cut.size() - 3);
    EXPECT_TRUE(PropertyList::fromBytes(cut.data(), cut.size()).isNil());
    // Shared values that do not expand are fine: the same string under many keys.
    auto shared = bplist({{0xD3, 1, 2, 3, 4, 4, 4}, {0x51, 'a'}, {0x51, 'b'}, {0x51, 'c'}, {0x52, 'o', 'k'}});
    PropertyList root = PropertyList::fromBytes(shared.data(), shared.size());
    EXPECT_EQ(root.stringForKey("a"), "ok");
    EXPECT_EQ(root.stringForKey("c"), "ok");

    TempDir dir;
    EXPECT_TRUE(PropertyList::contentsOfFile(dir.file("none.plist"), &why).isNil());
    EXPECT_EQ(why, "missing");
    EXPECT_TRUE(PropertyList::dictionaryWithContentsOfFile(dir.write("a.plist", PropertyList::array().toXML()), &why)
                    .isNil());
    EXPECT_EQ(why, "not a dictionary");
}
