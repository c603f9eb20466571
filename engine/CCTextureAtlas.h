#pragma once
// An array of textured quads of one texture, kept in a GL vertex buffer with a static index
// buffer, drawn a prefix at a time with indexed triangles.
#include <cstdint>
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CCTexture2D.h"
#include "ccTypes.h"

class CCTextureAtlas : public CCObject {
public:
    // 16-bit indices reach 65536 vertices: larger atlases are drawn in runs of this many quads.
    static constexpr unsigned kQuadsPerIndexRun = 65536 / 4;

    static CCTextureAtlas* textureAtlasWithFile(const std::string& file, unsigned capacity);
    static CCTextureAtlas* textureAtlasWithTexture(CCTexture2D* texture, unsigned capacity);
    // The texture comes from the texture cache; none: nil.
    bool initWithFile(const std::string& file, unsigned capacity);
    bool initWithTexture(CCTexture2D* texture, unsigned capacity);
    ~CCTextureAtlas() override;

    unsigned totalQuads() const { return totalQuads_; }
    unsigned capacity() const { return capacity_; }
    // Read-only: quads change through the operations below, which note what to upload.
    const ccV3F_C4B_T2F_Quad* quads() const { return quads_; }
    // Takes the array (malloc'd, at least `capacity` quads); all of it is uploaded at the next draw.
    void setQuads(ccV3F_C4B_T2F_Quad* quads);
    CCTexture2D* texture() const { return texture_.get(); }
    void setTexture(CCTexture2D* texture) { texture_ = texture; }
    const std::uint16_t* indices() const { return indices_; }

    // Writes a slot below the capacity; the quads in use reach at least that slot.
    void updateQuad(const ccV3F_C4B_T2F_Quad& quad, unsigned index);
    // Moves the later quads up one slot. The index may be at most the number in use.
    void insertQuad(const ccV3F_C4B_T2F_Quad& quad, unsigned index);
    // Moves one quad in use to another slot in use, shifting those between.
    void insertQuadFromIndex(unsigned oldIndex, unsigned newIndex);
    void removeQuadAtIndex(unsigned index);
    void removeAllQuads() { totalQuads_ = 0; }
    // The slots changed since the last upload, [first, end); empty when none changed.
    unsigned dirtyBegin() const { return dirtyBegin_; }
    unsigned dirtyEnd() const { return dirtyEnd_; }
    // Reallocates both arrays and reloads both GL buffers; on failure the atlas is empty
    // with capacity 0 and false is returned.
    bool resizeCapacity(unsigned newCapacity);

    void drawQuads() { drawNumberOfQuads(totalQuads_); }
    void drawNumberOfQuads(unsigned n);
    void initIndices();

    std::string description() const override;

private:
    void freeArrays();
    // Notes slots [first, end) to upload.
    void touch(unsigned first, unsigned end);

    unsigned totalQuads_ = 0;
    unsigned capacity_ = 0;
    ccV3F_C4B_T2F_Quad* quads_ = nullptr;
    std::uint16_t* indices_ = nullptr;
    CCPtr<CCTexture2D> texture_;
    unsigned buffersVBO_[2] = {0, 0};
    unsigned dirtyBegin_ = 0, dirtyEnd_ = 0;
};
