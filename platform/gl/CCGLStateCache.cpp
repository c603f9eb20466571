#include "CCGLStateCache.h"

#include <GLES/gl.h>

#include "EAGLContext.h"

void CCGLStateCache::bindTexture2D(unsigned name) {
    if (textureKnown_ && texture_ == name) return;
    glBindTexture(GL_TEXTURE_2D, name);
    texture_ = name;
    textureKnown_ = true;
}

void CCGLStateCache::forgetTexture(unsigned name) {
    if (texture_ == name) textureKnown_ = false;
}

bool CCGLStateCache::needsArrays(const void* layout) {
    if (layout && arrays_ == layout) return false;
    arrays_ = layout;
    return true;
}

void CCGLStateCache::forget() {
    textureKnown_ = false;
    arrays_ = nullptr;
}

void CCGLStateCache::forgetAll() {
    forget();
    coordReplaceSet_ = false;
}

bool CCGLStateCache::needsPointSpriteCoordReplace() {
    if (coordReplaceSet_) return false;
    coordReplaceSet_ = true;
    return true;
}

CCGLStateCache* ccGLStateCache() {
    EAGLContext* context = EAGLContext::currentContext();
    return context ? &context->glState() : nullptr;
}

void ccGLBindTexture2D(unsigned name) {
    if (CCGLStateCache* cache = ccGLStateCache())
        cache->bindTexture2D(name);
    else
        glBindTexture(GL_TEXTURE_2D, name);
}

void ccGLDeleteTexture(unsigned name) {
    if (!name) return;
    if (CCGLStateCache* cache = ccGLStateCache()) cache->forgetTexture(name);
    glDeleteTextures(1, &name);
}

void ccGLForgetArrays() {
    if (CCGLStateCache* cache = ccGLStateCache()) cache->forgetArrays();
}
