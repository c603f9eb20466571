#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ZipUtils.h"
#include "base64.h"

namespace {

// zlib (windowBits 15) or gzip (31) stream of the bytes.
std::vector<unsigned char> deflateBytes(const std::vector<unsigned char>& in, int windowBits) {
    z_stream s{};
    deflateInit2(&s, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&s, uLong(in.size())) + 32);
    s.next_in = const_cast<unsigned char*>(in.data());
    s.avail_in = unsigned(in.size());
    s.next_out = out.data();
    s.avail_out = unsigned(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

std::vector<unsigned char> patterned(std::size_t n) {
    std::vector<unsigned char> v(n);
    unsigned x = 12345;
    for (auto& c : v) {
        x = x * 1103515245 + 12345;
        c = static_cast<unsigned char>((x >> 16) % 7 + 'a');
    }
    return v;
}

struct Inflated {
    int length = -1;
    unsigned char* data = reinterpret_cast<unsigned char*>(1);
    ~Inflated() { std::free(length > 0 ? data : nullptr); }
    std::vector<unsigned char> bytes() const { return {data, data + length}; }
};

TEST(InflateMemory, ZlibAndGzipGiveTheSameBytesBeyondTheFirstBuffer) {
    const auto original = patterned(700 * 1024); // more than the 256 KiB first buffer
    for (int windowBits : {15, 31}) {
        const auto packed = deflateBytes(original, windowBits);
        Inflated out;
        out.length = inflateMemory(packed.data(), unsigned(packed.size()), &out.data);
        ASSERT_EQ(out.length, int(original.size())) << windowBits;
        EXPECT_EQ(out.bytes(), original);
    }
}

TEST(InflateMemory, BadInputGivesNothing) {
    const auto packed = deflateBytes(patterned(5000), 31);
    auto expectNothing = [](const std::vector<unsigned char>& in, const char* what) {
        Inflated out;
        out.length = inflateMemory(in.data(), unsigned(in.size()), &out.data);
        EXPECT_EQ(out.length, 0) << what;
        EXPECT_EQ(out.data, nullptr) << what;
    };
    expectNothing(std::vector<unsigned char>(packed.begin(), packed.begin() + packed.size() / 2), "truncated");
    expectNothing(std::vector<unsigned char>(packed.begin(), packed.end() - 4), "no trailer");
    expectNothing(std::vector<unsigned char>(300, 0x5A), "garbage");
    expectNothing({}, "empty");
    auto corrupt = packed;
    corrupt[packed.size() / 2] ^= 0xFF;
    corrupt[packed.size() / 2 + 1] ^= 0xFF;
    expectNothing(corrupt, "corrupted");
    Inflated out;
    out.length = inflateMemory(nullptr, 10, &out.data);
    EXPECT_EQ(out.length, 0);
    EXPECT_EQ(out.data, nullptr);
}

TEST(InflateMemory, OutputPastTheLimitIsRefused) {
    // 8 MiB of zeros packs into a few kilobytes; a 1 MiB limit refuses it, 8 MiB takes it.
    const auto packed = deflateBytes(std::vector<unsigned char>(8 << 20, 0), 15);
    ASSERT_LT(packed.size(), 64u * 1024);
    Inflated refused;
    refused.length = inflateMemoryWithLimit(packed.data(), unsigned(packed.size()), &refused.data, 1 << 20);
    EXPECT_EQ(refused.length, 0);
    EXPECT_EQ(refused.data, nullptr);
    Inflated taken;
    taken.length = inflateMemoryWithLimit(packed.data(), unsigned(packed.size()), &taken.data, 8 << 20);
    EXPECT_EQ(taken.length, 8 << 20);
}

struct Decoded {
    int length = -1;
    unsigned char* data = reinterpret_cast<unsigned char*>(1);
    ~Decoded() { std::free(length > 0 ? data : nullptr); }
    std::string text() const { return std::string(data, data + length); }
};

Decoded decode(const std::string& text) {
    Decoded d;
    d.length = base64Decode(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()), &d.data);
    return d;
}

TEST(Base64, DecodesStandardTextWithPaddingAndLineBreaks) {
    EXPECT_EQ(decode("TWFu").text(), "Man");
    EXPECT_EQ(decode("TWE=").text(), "Ma");
    EXPECT_EQ(decode("TQ==").text(), "M");
    EXPECT_EQ(decode("TWFuTQ").text(), "ManM");
    EXPECT_EQ(decode("SGVs\nbG8s\r\n IHdv cmxk").text(), "Hello, world");
    const Decoded binary = decode("+/8A");
    ASSERT_EQ(binary.length, 3);
    EXPECT_EQ(binary.data[0], 0xFB);
    EXPECT_EQ(binary.data[1], 0xFF);
    EXPECT_EQ(binary.data[2], 0x00);
}

TEST(Base64, RejectsWhatIsNotBase64) {
    for (const char* bad : {"", "T", "TWFu!", "TW=u", "=TWF", "TQ===", "TWFuT", "TQ==TQ==", "   "}) {
        const Decoded d = decode(bad);
        EXPECT_EQ(d.length, 0) << bad;
        EXPECT_EQ(d.data, nullptr) << bad;
    }
}

} // namespace
