#pragma once
// Lets the presenting context sample the renderer's colour renderbuffers where they are, with
// no copy: each renderbuffer's storage becomes an EGL image that a texture of the presenting
// context is bound to. Images are made once per renderbuffer and size and dropped when the
// renderbuffer gets new storage or its context goes.
#include <vector>

class CCRenderbufferShare {
public:
    struct Entry {
        void* context = nullptr;
        unsigned renderbuffer = 0;
        int width = 0, height = 0;
        void* image = nullptr;
        unsigned texture = 0; // of the presenting context; 0 until bound there
    };

    CCRenderbufferShare() = default;
    ~CCRenderbufferShare();
    CCRenderbufferShare(const CCRenderbufferShare&) = delete;
    CCRenderbufferShare& operator=(const CCRenderbufferShare&) = delete;

    // With a context of the EGL display current: whether EGL images of renderbuffers can be
    // made and sampled there (false under GLX, or without the extensions).
    bool open();
    bool available() const { return display_ != nullptr && !failed_ && !disabled_; }
    // Off: no images are made (frames go the copying way), for comparing the two.
    void setEnabled(bool enabled) { disabled_ = !enabled; }

    // With `context` current and `renderbuffer` its colour renderbuffer of the given size: the
    // image of its storage, or nullptr when none can be made.
    Entry* image(void* context, unsigned renderbuffer, int width, int height);
    // With the presenting context current: its texture showing the entry's image.
    unsigned texture(Entry& entry);
    // The renderbuffer got new storage (the image shows the old one).
    void forget(void* context, unsigned renderbuffer);
    // The context is gone with its renderbuffers.
    void forgetContext(void* context);
    // With the presenting context current: frees every image and texture.
    void close();

private:
    void drop(std::size_t index);

    void* display_ = nullptr;
    bool failed_ = false;
    bool disabled_ = false; // an image could not be made: none are tried again
    void* createImage_ = nullptr;
    void* destroyImage_ = nullptr;
    void* targetTexture_ = nullptr;
    std::vector<Entry> entries_;
    std::vector<unsigned> spareTextures_; // of dropped entries, bound again to the next image
};
