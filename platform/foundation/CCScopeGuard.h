#pragma once
// Runs a function when the scope ends, however it ends (return or exception): walk depths,
// singleton settings and other state that must be put back.
#include <utility>

template <class F> class CCScopeGuard {
public:
    explicit CCScopeGuard(F onExit) : onExit_(std::move(onExit)) {}
    ~CCScopeGuard() {
        if (active_) onExit_();
    }
    CCScopeGuard(const CCScopeGuard&) = delete;
    CCScopeGuard& operator=(const CCScopeGuard&) = delete;
    // Keeps the function from running.
    void dismiss() { active_ = false; }

private:
    F onExit_;
    bool active_ = true;
};
