#include "CCTextureAtlas.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CCGLStateCache.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "ccMacros.h"

CCTextureAtlas* CCTextureAtlas::textureAtlasWithFile(const std::string& file, unsigned capacity) {
    return ccCreate<CCTextureAtlas>([&](CCTextureAtlas* a) { return a->initWithFile(file, capacity); });
}

CCTextureAtlas* CCTextureAtlas::textureAtlasWithTexture(CCTexture2D* texture, unsigned capacity) {
    return ccCreate<CCTextureAtlas>([&](CCTextureAtlas* a) { return a->initWithTexture(texture, capacity); });
}

bool CCTextureAtlas::initWithFile(const std::string& file, unsigned capacity) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(file);
    if (!texture) return false;
    return initWithTexture(texture, capacity);
}

bool CCTextureAtlas::initWithTexture(CCTexture2D* texture, unsigned capacity) {
    capacity_ = capacity;
    totalQuads_ = 0;
    texture_ = texture;
    // At least one byte each, so that a zero capacity still has valid (empty) arrays.
    quads_ = static_cast<ccV3F_C4B_T2F_Quad*>(std::calloc(std::max(capacity, 1u), sizeof(ccV3F_C4B_T2F_Quad)));
    indices_ = static_cast<std::uint16_t*>(std::calloc(std::max(capacity, 1u) * 6, sizeof(std::uint16_t)));
    if (!quads_ || !indices_) {
        freeArrays();
        capacity_ = 0;
        return false;
    }
    glGenBuffers(2, buffersVBO_);
    initIndices();
    return true;
}

CCTextureAtlas::~CCTextureAtlas() {
    freeArrays();
    if (buffersVBO_[0] || buffersVBO_[1]) glDeleteBuffers(2, buffersVBO_);
}

void CCTextureAtlas::freeArrays() {
    std::free(quads_);
    std::free(indices_);
    quads_ = nullptr;
    indices_ = nullptr;
}

void CCTextureAtlas::initIndices() {
    // Triangles tl, bl, tr and br, tr, bl of each quad. Indices count from the start of the
    // quad's run, so that every run can be drawn from its own vertex offset.
    for (unsigned i = 0; i < capacity_; i++) {
        const auto base = static_cast<std::uint16_t>((i % kQuadsPerIndexRun) * 4);
        std::uint16_t* idx = indices_ + std::size_t{i} * 6;
        idx[0] = base;
        idx[1] = base + 1;
        idx[2] = base + 2;
        idx[3] = base + 3;
        idx[4] = base + 2;
        idx[5] = base + 1;
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffersVBO_[0]);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(sizeof(ccV3F_C4B_T2F_Quad) * capacity_), quads_, GL_DYNAMIC_DRAW);
    dirtyBegin_ = dirtyEnd_ = 0; // the buffer holds every quad now
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffersVBO_[1]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(sizeof(std::uint16_t) * 6 * capacity_), indices_,
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void CCTextureAtlas::updateQuad(const ccV3F_C4B_T2F_Quad& quad, unsigned index) {
    CCAssert(index < capacity_, "updateQuadWithTexture: Invalid index");
    totalQuads_ = std::max(index + 1, totalQuads_);
    // Sprites write their quad every frame whether or not it moved: an equal one is no change.
    if (std::memcmp(&quads_[index], &quad, sizeof quad) == 0) return;
    quads_[index] = quad;
    touch(index, index + 1);
}

void CCTextureAtlas::setQuads(ccV3F_C4B_T2F_Quad* quads) {
    quads_ = quads;
    touch(0, capacity_);
}

void CCTextureAtlas::touch(unsigned first, unsigned end) {
    if (first >= end) return;
    if (dirtyBegin_ == dirtyEnd_) {
        dirtyBegin_ = first;
        dirtyEnd_ = end;
    } else {
        dirtyBegin_ = std::min(dirtyBegin_, first);
        dirtyEnd_ = std::max(dirtyEnd_, end);
    }
}

void CCTextureAtlas::insertQuad(const ccV3F_C4B_T2F_Quad& quad, unsigned index) {
    CCAssert(index < capacity_, "insertQuadWithTexture: Invalid index");
    // A slot past the quads in use would leave a gap of garbage quads (and a negative move).
    CCAssert(index <= totalQuads_, "insertQuadWithTexture: Invalid index");
    totalQuads_++;
    CCAssert(totalQuads_ <= capacity_, "invalid totalQuads");
    const unsigned remaining = totalQuads_ - 1 - index;
    if (remaining > 0) std::memmove(&quads_[index + 1], &quads_[index], sizeof(quad) * remaining);
    quads_[index] = quad;
    touch(index, totalQuads_);
}

void CCTextureAtlas::insertQuadFromIndex(unsigned oldIndex, unsigned newIndex) {
    CCAssert(newIndex < totalQuads_, "insertQuadFromIndex:atIndex: Invalid index");
    CCAssert(oldIndex < totalQuads_, "insertQuadFromIndex:atIndex: Invalid index");
    if (oldIndex == newIndex) return;
    const ccV3F_C4B_T2F_Quad saved = quads_[oldIndex];
    if (oldIndex > newIndex)
        std::memmove(&quads_[newIndex + 1], &quads_[newIndex], sizeof(saved) * (oldIndex - newIndex));
    else
        std::memmove(&quads_[oldIndex], &quads_[oldIndex + 1], sizeof(saved) * (newIndex - oldIndex));
    quads_[newIndex] = saved;
    touch(std::min(oldIndex, newIndex), std::max(oldIndex, newIndex) + 1);
}

void CCTextureAtlas::removeQuadAtIndex(unsigned index) {
    CCAssert(index < totalQuads_, "removeQuadAtIndex: Invalid index");
    const unsigned remaining = totalQuads_ - 1 - index;
    if (remaining > 0) std::memmove(&quads_[index], &quads_[index + 1], sizeof(ccV3F_C4B_T2F_Quad) * remaining);
    touch(index, totalQuads_ - 1);
    totalQuads_--;
}

bool CCTextureAtlas::resizeCapacity(unsigned newCapacity) {
    if (newCapacity == capacity_) return true;
    totalQuads_ = std::min(totalQuads_, newCapacity);
    capacity_ = newCapacity;
    const std::size_t slots = std::max(newCapacity, 1u);
    auto* quads = static_cast<ccV3F_C4B_T2F_Quad*>(std::realloc(quads_, slots * sizeof(ccV3F_C4B_T2F_Quad)));
    if (quads) quads_ = quads;
    auto* indices = static_cast<std::uint16_t*>(std::realloc(indices_, slots * 6 * sizeof(std::uint16_t)));
    if (indices) indices_ = indices;
    if (!quads || !indices) {
        freeArrays();
        capacity_ = 0;
        totalQuads_ = 0;
        return false;
    }
    initIndices();
    return true;
}

void CCTextureAtlas::drawNumberOfQuads(unsigned n) {
    // Never read past the quads that exist.
    n = std::min(n, capacity_);
    ccGLBindTexture2D(texture_ ? texture_->name() : 0);
    ccGLForgetArrays();
    glBindBuffer(GL_ARRAY_BUFFER, buffersVBO_[0]);
    // Only what changed since the last upload goes to the buffer; the rest is there already.
    const unsigned end = std::min(dirtyEnd_, capacity_);
    if (dirtyBegin_ < end) {
        glBufferSubData(GL_ARRAY_BUFFER, GLintptr(sizeof(ccV3F_C4B_T2F_Quad) * dirtyBegin_),
                        GLsizeiptr(sizeof(ccV3F_C4B_T2F_Quad) * (end - dirtyBegin_)), quads_ + dirtyBegin_);
    }
    dirtyBegin_ = dirtyEnd_ = 0;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffersVBO_[1]);
    constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
    for (unsigned first = 0; first < n; first += kQuadsPerIndexRun) {
        const unsigned count = std::min(n - first, kQuadsPerIndexRun);
        const std::size_t base = std::size_t{first} * sizeof(ccV3F_C4B_T2F_Quad);
        glVertexPointer(3, GL_FLOAT, stride, reinterpret_cast<const void*>(base + offsetof(ccV3F_C4B_T2F, vertices)));
        glColorPointer(4, GL_UNSIGNED_BYTE, stride,
                       reinterpret_cast<const void*>(base + offsetof(ccV3F_C4B_T2F, colors)));
        glTexCoordPointer(2, GL_FLOAT, stride,
                          reinterpret_cast<const void*>(base + offsetof(ccV3F_C4B_T2F, texCoords)));
        glDrawElements(GL_TRIANGLES, GLsizei(count * 6), GL_UNSIGNED_SHORT,
                       reinterpret_cast<const void*>(std::size_t{first} * 6 * sizeof(std::uint16_t)));
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

std::string CCTextureAtlas::description() const {
    char text[48];
    std::snprintf(text, sizeof text, " | totalQuads =  %u>", totalQuads_);
    return std::string("<").append(className()) + " = " + ccAddressString(this) + text;
}
