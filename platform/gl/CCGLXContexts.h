#pragma once
// GL ES 1 contexts through GLX for an X11 window. Mesa's software EGL sends every swapped frame
// over the X socket; its GLX puts frames through shared memory, several times cheaper per frame.
// Every context shares objects with one hidden anchor context, so textures made in any of them
// (the presenter's among them) live as long as the window does. Contexts are made current
// without a drawable; the one that presents is bound to the window when it first presents and
// stays bound while it stays current.
#include <memory>

class CCGLXContexts {
public:
    // Contexts for the X11 `window` of `display` (Display*, Window); nullptr, with a log line,
    // when GLX cannot make GL ES 1 contexts for the window's visual.
    static std::unique_ptr<CCGLXContexts> open(void* display, unsigned long window);
    // The same for an SDL window (SDL_Window*) on X11; nullptr on other video drivers.
    static std::unique_ptr<CCGLXContexts> openOnSDLWindow(void* window);
    ~CCGLXContexts();
    CCGLXContexts(const CCGLXContexts&) = delete;
    CCGLXContexts& operator=(const CCGLXContexts&) = delete;

    // A new context sharing objects with every other; nullptr on failure.
    void* createContext();
    void destroyContext(void* context);
    // Makes `context` current on the calling thread (nullptr: none). A context already current
    // keeps its drawable.
    bool makeCurrent(void* context);
    void* currentContext() const;
    // Binds the current context to the window as well (its framebuffer 0 is then the window's).
    bool bindWindow();
    // Shows the window's back buffer; the current context must be bound to the window.
    void swap();
    // Whether swaps wait for the display's refresh; false when GLX offers no control.
    bool setSwapInterval(int interval);
    void* procAddress(const char* name) const;
    // With no context current on the calling thread: makes the anchor current (bound to the
    // window when asked), for freeing shared objects or setting swap control; makeCurrent(nullptr)
    // lets it go.
    bool makeAnchorCurrent(bool onWindow = false);

private:
    struct Impl;
    explicit CCGLXContexts(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
