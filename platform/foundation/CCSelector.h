#pragma once
// Selectors as member-function pointers on CCObject, with the method's name for descriptions.
// Two selectors naming the same method compare equal, whatever their names say.
#include "CCObject.h"

template <class Sig> struct CCSelector;

template <class R, class... A> struct CCSelector<R(A...)> {
    using Method = R (CCObject::*)(A...);
    Method method = nullptr;
    const char* name = "";

    CCSelector() = default;
    CCSelector(std::nullptr_t) {}
    CCSelector(Method m, const char* n) : method(m), name(n) {}

    explicit operator bool() const { return method != nullptr; }
    bool operator==(const CCSelector& other) const { return method == other.method; }
    R operator()(CCObject* target, A... args) const { return (target->*method)(args...); }
};

// Typed cast of a subclass method to a selector of signature Sig.
template <class Sig, class T, class R, class... A> CCSelector<Sig> ccSelector(R (T::*method)(A...), const char* name) {
    return CCSelector<Sig>(static_cast<typename CCSelector<Sig>::Method>(method), name);
}

// Scheduled methods take the elapsed time in seconds.
using SEL_SCHEDULE = CCSelector<void(float)>;
#define schedule_selector(M) ::ccSelector<void(float)>(&M, #M)
