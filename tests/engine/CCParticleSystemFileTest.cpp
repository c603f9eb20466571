#include <gtest/gtest.h>

#include <zlib.h>

#include "CCLog.h"
#include "CCParticleSystemPoint.h"
#include "CCParticleSystemQuad.h"
#include "CCTextureCache.h"
#include "CGPointExtension.h"
#include "NSBundle.h"
#include "PropertyList.h"
#include "TextureTestSupport.h"
#include "support/TestFiles.h"
#include "support/TestImages.h"

namespace {

std::string base64(const std::vector<std::uint8_t>& bytes) {
    static const char* abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned v = unsigned(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= unsigned(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) v |= bytes[i + 2];
        out += abc[v >> 18 & 63];
        out += abc[v >> 12 & 63];
        out += i + 1 < bytes.size() ? abc[v >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? abc[v & 63] : '=';
    }
    return out;
}

std::vector<std::uint8_t> gzip(const std::vector<std::uint8_t>& in) {
    z_stream s{};
    deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    std::vector<std::uint8_t> out(deflateBound(&s, uLong(in.size())) + 32);
    s.next_in = const_cast<std::uint8_t*>(in.data());
    s.avail_in = unsigned(in.size());
    s.next_out = out.data();
    s.avail_out = unsigned(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

class ParticleFileTest : public TextureGLTest {
protected:
    void SetUp() override {
        TextureGLTest::SetUp();
        if (IsSkipped()) return;
        CCTextureCache::purgeSharedTextureCache();
        saved_ = NSBundle::mainBundle()->resourcePath();
        NSBundle::mainBundle()->setResourcePath(dir.path());
        old_ = ccSetLogSink([this](const std::string& line) { log.push_back(line); });
    }
    void TearDown() override {
        ccSetLogSink(old_);
        NSBundle::mainBundle()->setResourcePath(saved_);
        CCTextureCache::purgeSharedTextureCache();
        TextureGLTest::TearDown();
    }
    // A gravity emitter description with its picture embedded.
    PropertyList config() {
        PropertyList d = PropertyList::dictionary();
        d.setObject(PropertyList::integer(50), "maxParticles");
        d.setObject(PropertyList::real(90), "angle");
        d.setObject(PropertyList::real(10), "angleVariance");
        d.setObject(PropertyList::real(-1), "duration");
        d.setObject(PropertyList::integer(0x302), "blendFuncSource");
        d.setObject(PropertyList::integer(1), "blendFuncDestination");
        d.setObject(PropertyList::real(0.5), "startColorRed");
        d.setObject(PropertyList::real(1), "startColorAlpha");
        d.setObject(PropertyList::real(0.25), "finishColorVarianceBlue");
        d.setObject(PropertyList::real(12), "startParticleSize");
        d.setObject(PropertyList::real(-1), "finishParticleSize");
        d.setObject(PropertyList::real(240), "sourcePositionx");
        d.setObject(PropertyList::real(160), "sourcePositiony");
        d.setObject(PropertyList::real(20), "sourcePositionVariancex");
        d.setObject(PropertyList::integer(0), "emitterType");
        d.setObject(PropertyList::real(-5), "gravityy");
        d.setObject(PropertyList::real(60), "speed");
        d.setObject(PropertyList::real(2), "particleLifespan");
        d.setObject(PropertyList::real(0.5), "particleLifespanVariance");
        d.setObject(PropertyList::string("spark.png"), "textureFileName");
        d.setObject(PropertyList::string(base64(gzip(encodePNG(4, 4, solidRGBA(4, 4, 255, 255, 0, 255))))),
                    "textureImageData");
        return d;
    }
    std::string write(const PropertyList& d, const std::string& name = "fx.plist") {
        d.writeToFile(dir.file(name));
        return name;
    }

    TempDir dir;
    std::string saved_;
    CCLogSink old_;
    std::vector<std::string> log;
};

TEST_F(ParticleFileTest, ConfigurationAndEmbeddedPictureAreRead) {
    CCParticleSystemQuad* p = CCParticleSystemQuad::particleWithFile(write(config()));
    ASSERT_NE(p, nullptr) << (log.empty() ? "" : log.back());
    EXPECT_EQ(p->totalParticles(), 50u);
    EXPECT_FLOAT_EQ(p->angle(), 90);
    EXPECT_FLOAT_EQ(p->duration(), -1);
    EXPECT_TRUE(p->blendAdditive());
    EXPECT_EQ(p->startColor(), (ccColor4F{0.5f, 0, 0, 1}));
    EXPECT_EQ(p->endColorVar(), (ccColor4F{0, 0, 0.25f, 0}));
    EXPECT_EQ(p->position(), ccp(240, 160));
    EXPECT_EQ(p->posVar(), ccp(20, 0));
    EXPECT_EQ(p->gravity(), ccp(0, -5));
    EXPECT_FLOAT_EQ(p->speed(), 60);
    EXPECT_FLOAT_EQ(p->emissionRate(), 25);
    ASSERT_NE(p->texture(), nullptr);
    EXPECT_EQ(p->texture()->contentSizeInPixels(), CGSizeMake(4, 4));
    // The embedded picture is cached under the texture's file name.
    EXPECT_EQ(CCTextureCache::sharedTextureCache()->textureForKey("spark.png"), p->texture());
}

TEST_F(ParticleFileTest, NamedTextureFileWinsOverEmbeddedData) {
    dir.write("spark.png", encodePNG(8, 2, solidRGBA(8, 2, 0, 0, 255, 255)));
    PropertyList d = config();
    d.setObject(PropertyList::string("not base64 !"), "textureImageData");
    CCParticleSystemPoint* p = CCParticleSystemPoint::particleWithFile(write(d));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->texture()->contentSizeInPixels(), CGSizeMake(8, 2));
}

TEST_F(ParticleFileTest, RadiusModeKeys) {
    PropertyList d = config();
    d.setObject(PropertyList::integer(1), "emitterType");
    d.setObject(PropertyList::real(100), "maxRadius");
    d.setObject(PropertyList::real(5), "maxRadiusVariance");
    d.setObject(PropertyList::real(10), "minRadius");
    d.setObject(PropertyList::real(45), "rotatePerSecond");
    CCParticleSystemQuad* p = CCParticleSystemQuad::particleWithFile(write(d));
    ASSERT_NE(p, nullptr);
    EXPECT_FLOAT_EQ(p->startRadius(), 100);
    EXPECT_FLOAT_EQ(p->startRadiusVar(), 5);
    EXPECT_FLOAT_EQ(p->endRadius(), 10);
    EXPECT_FLOAT_EQ(p->endRadiusVar(), 0);
    EXPECT_FLOAT_EQ(p->rotatePerSecond(), 45);
}

TEST_F(ParticleFileTest, BadFilesGiveNoSystemAndSayWhy) {
    auto refused = [&](const std::string& name, const std::string& reason) {
        log.clear();
        EXPECT_EQ(CCParticleSystemPoint::particleWithFile(name), nullptr) << name;
        ASSERT_FALSE(log.empty()) << name;
        EXPECT_EQ(log.back(), reason) << name;
    };
    refused("missing.plist", "Particles: cannot load missing.plist: missing");
    dir.write("garbage.plist", std::vector<std::uint8_t>(200, 0x3C));
    refused("garbage.plist", "Particles: cannot load garbage.plist: not a property list");
    const auto good = config().toXML();
    dir.write("cut.plist", std::vector<std::uint8_t>(good.begin(), good.begin() + good.size() / 2));
    refused("cut.plist", "Particles: cannot load cut.plist: not a property list");
    write(PropertyList::array(), "array.plist");
    refused("array.plist", "Particles: cannot load array.plist: not a dictionary");

    PropertyList d = config();
    d.setObject(PropertyList::integer(7), "emitterType");
    refused(write(d, "type.plist"), "Invalid emitterType in config file");

    d = config();
    d.setObject(PropertyList::string("@@@@"), "textureImageData");
    refused(write(d, "b64.plist"), "CCParticleSystem: error decoding textureImageData");

    d = config();
    d.setObject(PropertyList::string(base64(std::vector<std::uint8_t>(64, 0x11))), "textureImageData");
    refused(write(d, "zip.plist"), "CCParticleSystem: error ungzipping textureImageData");

    const auto gz = gzip(encodePNG(4, 4, solidRGBA(4, 4, 1, 1, 1, 255)));
    d = config();
    d.setObject(PropertyList::string(base64(std::vector<std::uint8_t>(gz.begin(), gz.end() - 6))), "textureImageData");
    refused(write(d, "truncated.plist"), "CCParticleSystem: error ungzipping textureImageData");

    d = config();
    d.setObject(PropertyList::string(base64(gzip(std::vector<std::uint8_t>(90, 0x7E)))), "textureImageData");
    refused(write(d, "picture.plist"), "CCParticleSystem: error loading the texture");

    d = config();
    d.removeObjectForKey("textureImageData");
    refused(write(d, "none.plist"), "CCParticleSystem: error loading the texture");

    d = config();
    d.setObject(PropertyList::integer(-3), "maxParticles");
    refused(write(d, "negative.plist"), "Particles: maxParticles out of range");
    d.setObject(PropertyList::integer(4000000000LL), "maxParticles");
    refused(write(d, "huge.plist"), "Particles: maxParticles out of range");
    EXPECT_EQ(CCTextureCache::sharedTextureCache()->textureForKey("spark.png"), nullptr);
}

} // namespace
