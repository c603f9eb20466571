#include "CCObject.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

#include "CCAssert.h"
#include "CCAutoreleasePool.h"

#ifndef NDEBUG
void CCObject::checkThread() const {
    CCAssert(owner_ == std::this_thread::get_id(), "CCObject retained or released off the thread that made it");
}
#endif

void CCObject::release() {
#ifndef NDEBUG
    checkThread();
#endif
    CCAssert(retainCount_ > 0, "reference count should greater than 0");
    if (--retainCount_ == 0) delete this;
}

CCObject* CCObject::autorelease() {
    CCAutoreleasePool::addObject(this);
    return this;
}

std::string CCObject::className() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    return status == 0 && demangled ? demangled.get() : mangled;
}

std::string CCObject::description() const { return "<" + className() + " = " + ccAddressString(this) + ">"; }

std::string ccAddressString(const void* address) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(address)));
    return text;
}
