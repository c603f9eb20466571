#pragma once
// Root of the reference-counted object model: an intrusive count that starts at 1,
// retain/release/autorelease, and a virtual destructor (the object's dealloc).
//
// The count is plain: an object belongs to the thread that made it (the main thread, for
// everything of the engine), and only that thread may retain or release it. Debug builds
// check this on every retain and release.
#include <string>
#ifndef NDEBUG
#include <thread>
#endif

class CCObject {
public:
    CCObject() = default;
    CCObject(const CCObject&) = delete;
    CCObject& operator=(const CCObject&) = delete;
    virtual ~CCObject() = default;

    void retain() {
#ifndef NDEBUG
        checkThread();
#endif
        ++retainCount_;
    }
    // Deletes the object when the last reference goes.
    void release();
    // Hands one reference to the current autorelease pool; returns this.
    CCObject* autorelease();
    unsigned retainCount() const { return retainCount_; }

    // "<ClassName = 0xADDRESS>" unless a class says more.
    virtual std::string description() const;
    // The per-frame entry point the scheduler calls for update registrations.
    virtual void update(float dt) { (void)dt; }

    // Demangled name of the dynamic class, as descriptions print it.
    std::string className() const;

private:
    unsigned retainCount_ = 1;
#ifndef NDEBUG
    void checkThread() const;
    std::thread::id owner_ = std::this_thread::get_id();
#endif
};

// autorelease() that keeps the static type.
template <class T> T* ccAutorelease(T* object) {
    if (object) object->autorelease();
    return object;
}

// Two-phase creation of a class convenience constructor: allocates, runs the initialiser,
// releases and yields nullptr when it fails, autoreleases otherwise.
template <class T, class Init> T* ccCreate(Init&& init) {
    T* object = new T;
    if (!init(object)) {
        object->release();
        return nullptr;
    }
    object->autorelease();
    return object;
}

// The same for initialisers that hand back an owned object (init...).
template <class T, class Init> T* ccNew(Init&& init) {
    T* object = new T;
    if (!init(object)) {
        object->release();
        return nullptr;
    }
    return object;
}

// Text formed like "%08X" of an address (the low 32 bits, as descriptions print them).
std::string ccAddressString(const void* address);
