#pragma once
// The device the application runs on.
#include <string>

#include "CCObject.h"

class UIDevice : public CCObject {
public:
    static UIDevice* currentDevice();

    // Dotted version of the system, "4.1" unless a test or the runner sets another.
    const std::string& systemVersion() const { return systemVersion_; }
    void setSystemVersion(std::string version) { systemVersion_ = std::move(version); }

    // A stable identifier of this installation for this application: 32 lower-case hexadecimal
    // digits derived from the machine id for this application alone (the raw machine id is
    // never given out), or, where the machine has no id, a random one kept in the
    // configuration directory. Empty when neither can be had.
    const std::string& uniqueIdentifier();
    // Replaces the identifier (tests); an empty value makes the next call derive it again.
    void setUniqueIdentifier(std::string identifier) { uniqueIdentifier_ = std::move(identifier); }

private:
    std::string systemVersion_ = "4.1";
    std::string uniqueIdentifier_;
};
