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

private:
    std::string systemVersion_ = "4.1";
};
