#pragma once
// Owning reference to a CCObject: retains on assignment, releases on reset and destruction.
#include <cstddef>
#include <utility>

template <class T> class CCPtr {
public:
    CCPtr() = default;
    CCPtr(std::nullptr_t) {}
    CCPtr(T* object) : object_(object) {
        if (object_) object_->retain();
    }
    CCPtr(const CCPtr& other) : CCPtr(other.object_) {}
    CCPtr(CCPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U> CCPtr(const CCPtr<U>& other) : CCPtr(other.get()) {}
    ~CCPtr() { reset(); }

    CCPtr& operator=(T* object) {
        if (object) object->retain();
        T* old = std::exchange(object_, object);
        if (old) old->release();
        return *this;
    }
    CCPtr& operator=(const CCPtr& other) { return *this = other.object_; }
    CCPtr& operator=(CCPtr&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(object_, std::exchange(other.object_, nullptr));
            if (old) old->release();
        }
        return *this;
    }
    CCPtr& operator=(std::nullptr_t) {
        reset();
        return *this;
    }

    void reset() {
        if (T* old = std::exchange(object_, nullptr)) old->release();
    }
    // Takes over a reference the caller already owns (an init... result) without retaining.
    static CCPtr adopt(T* owned) {
        CCPtr p;
        p.object_ = owned;
        return p;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    operator T*() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};
