#include "CCConfiguration.h"

#include <GLES/gl.h>

#include <cstdlib>

#include "CCEnginePlatform.h"
#include "ccMacros.h"

namespace {
CCConfiguration* gSharedConfiguration = nullptr;
}

CCConfiguration* CCConfiguration::sharedConfiguration() {
    if (!gSharedConfiguration) {
        gSharedConfiguration = new CCConfiguration;
        gSharedConfiguration->init();
    } else if (!gSharedConfiguration->readGL_) {
        // First asked before any context was current: read GL once one is.
        gSharedConfiguration->readGLState();
    }
    return gSharedConfiguration;
}

void CCConfiguration::purgeSharedConfiguration() {
    if (CCConfiguration* configuration = gSharedConfiguration) {
        gSharedConfiguration = nullptr;
        configuration->release();
    }
}

CCConfiguration::CCConfiguration() { CCAssertSingleton(gSharedConfiguration); }

CCConfiguration::~CCConfiguration() {
    if (gSharedConfiguration == this) gSharedConfiguration = nullptr;
}

unsigned CCConfiguration::packVersion(const std::string& version) {
    static constexpr unsigned kWeights[] = {0x1000000, 0x10000, 0x100, 1};
    unsigned packed = 0;
    size_t start = 0;
    for (unsigned weight : kWeights) {
        if (start > version.size()) break;
        size_t dot = version.find('.', start);
        std::string part = version.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        // Like an integer value of text: leading digits, 0 when there are none; one byte each.
        long value = std::strtol(part.c_str(), nullptr, 10);
        if (value < 0) value = 0;
        if (value > 255) value = 255;
        packed += static_cast<unsigned>(value) * weight;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return packed;
}

bool CCConfiguration::init() {
    loadingBundle_ = NSBundle::mainBundle();
    OSVersion_ = packVersion(CCEnginePlatform::systemVersion());
    readGLState();
    return true;
}

void CCConfiguration::readGLState() {
    // Without a current context GL answers nothing: keep an empty list and zero limits.
    const GLubyte* extensions = glGetString(GL_EXTENSIONS);
    readGL_ = extensions != nullptr;
    glExtensions_ = extensions ? reinterpret_cast<const char*>(extensions) : "";
    GLint value = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
    maxTextureSize_ = value;
    value = 0;
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &value);
    maxModelviewStackDepth_ = value;
    while (glGetError() != GL_NO_ERROR) {
    }

    supportsPVRTC_ = checkForGLExtension("GL_IMG_texture_compression_pvrtc");
    supportsNPOT_ = checkForGLExtension("GL_APPLE_texture_2D_limited_npot");
    supportsBGRA8888_ = checkForGLExtension("GL_IMG_texture_format_BGRA8888");
    supportsDiscardFramebuffer_ = checkForGLExtension("GL_EXT_discard_framebuffer");
}

bool CCConfiguration::checkForGLExtension(const std::string& name) const {
    // The list ends with a space; the empty part after it is no extension.
    if (name.empty()) return false;
    size_t start = 0;
    while (start <= glExtensions_.size()) {
        size_t space = glExtensions_.find(' ', start);
        size_t end = space == std::string::npos ? glExtensions_.size() : space;
        if (glExtensions_.compare(start, end - start, name) == 0 && end - start == name.size()) return true;
        if (space == std::string::npos) break;
        start = space + 1;
    }
    return false;
}

std::string CCConfiguration::description() const {
    return std::string("<").append(className()) + " = " + ccAddressString(this) + " | maxTextureSize = " +
           std::to_string(maxTextureSize_) + ", PVRTC = " + (supportsPVRTC_ ? "YES" : "NO") +
           ", NPOT = " + (supportsNPOT_ ? "YES" : "NO") + ">";
}
