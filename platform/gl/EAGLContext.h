#pragma once
// A GL ES rendering context over the surface backend. One context is current per thread (the
// current context is retained while current). Contexts made with the same sharegroup share
// textures and buffers (the texture cache's background loader uses this).
#include <mutex>
#include <vector>

#include "CCGLStateCache.h"
#include "CCObject.h"
#include "CCPtr.h"

class CAEAGLLayer;

enum EAGLRenderingAPI { kEAGLRenderingAPIOpenGLES1 = 1, kEAGLRenderingAPIOpenGLES2 = 2 };

// Contexts may be made on any thread (one is current per thread), so the member list has a
// lock of its own.
class EAGLSharegroup : public CCObject {
public:
    // A live native context of the group, to share with; nullptr when the group is empty.
    void* anyMember() const {
        std::lock_guard guard(lock_);
        return members_.empty() ? nullptr : members_.front();
    }

private:
    friend class EAGLContext;
    void add(void* native);
    void remove(void* native);
    mutable std::mutex lock_;
    std::vector<void*> members_;
};

class EAGLContext : public CCObject {
public:
    // Only GL ES 1 is offered; other APIs fail.
    bool initWithAPI(EAGLRenderingAPI api);
    bool initWithAPI(EAGLRenderingAPI api, EAGLSharegroup* sharegroup);
    ~EAGLContext() override;

    EAGLRenderingAPI API() const { return api_; }
    EAGLSharegroup* sharegroup() const { return sharegroup_; }
    // The backend's handle of the context.
    void* nativeContext() const { return native_; }

    static bool setCurrentContext(EAGLContext* context);
    static EAGLContext* currentContext();

    // Allocates storage for the renderbuffer bound to `target` (GL_RENDERBUFFER_OES) to match
    // the drawable: its size in pixels and its colour format (RGB565 or RGBA8).
    bool renderbufferStorage(unsigned target, CAEAGLLayer* drawable);
    // Presents the renderbuffer bound to `target` of the bound framebuffer.
    bool presentRenderbuffer(unsigned target);

    // What the engine's draws last left in this context's GL state.
    CCGLStateCache& glState() { return glState_; }

private:
    EAGLRenderingAPI api_ = kEAGLRenderingAPIOpenGLES1;
    CCPtr<EAGLSharegroup> sharegroup_;
    void* native_ = nullptr;
    CCGLStateCache glState_;
};
