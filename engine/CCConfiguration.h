#pragma once
// The GL implementation's limits and extensions, read once from the current context, and the
// bundle resources are loaded from.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "NSBundle.h"

class CCConfiguration : public CCObject {
public:
    // Created on first use; the GL context must be current by then.
    static CCConfiguration* sharedConfiguration();
    // Destroys the shared configuration so that the next use reads GL again.
    static void purgeSharedConfiguration();

    CCConfiguration();
    ~CCConfiguration() override;
    bool init();

    int maxTextureSize() const { return maxTextureSize_; }
    int maxModelviewStackDepth() const { return maxModelviewStackDepth_; }
    bool supportsPVRTC() const { return supportsPVRTC_; }
    bool supportsNPOT() const { return supportsNPOT_; }
    bool supportsBGRA8888() const { return supportsBGRA8888_; }
    bool supportsDiscardFramebuffer() const { return supportsDiscardFramebuffer_; }
    // The system version packed one byte per part: 3.1.2 is 0x03010200.
    unsigned OSVersion() const { return OSVersion_; }

    NSBundle* loadingBundle() const { return loadingBundle_; }
    void setLoadingBundle(NSBundle* bundle) { loadingBundle_ = bundle; }

    // Whether the name is one of the space-separated extensions, compared whole.
    bool checkForGLExtension(const std::string& name) const;

    // Packs a dotted version text; parts that are not numbers count as 0, parts past the
    // fourth are ignored.
    static unsigned packVersion(const std::string& version);

    std::string description() const override;

private:
    void readGLState();

    CCPtr<NSBundle> loadingBundle_;
    std::string glExtensions_;
    int maxTextureSize_ = 0;
    int maxModelviewStackDepth_ = 0;
    bool supportsPVRTC_ = false;
    bool supportsNPOT_ = false;
    bool supportsBGRA8888_ = false;
    bool supportsDiscardFramebuffer_ = false;
    unsigned OSVersion_ = 0;
    bool readGL_ = false;
};
