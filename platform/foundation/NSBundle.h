#pragma once
// The application's resource bundle: one folder of resource files. Its location is, in
// order: setResourcePath, the ZORVIK_RESOURCES environment variable, <prefix>/share/<program>
// for a program installed as <prefix>/bin/<program>, or the first folder named Resources
// beside the executable or in one of its parent folders.
#include <mutex>
#include <string>

#include "CCObject.h"

class NSBundle : public CCObject {
public:
    // The process-wide bundle (never destroyed).
    static NSBundle* mainBundle();

    std::string resourcePath() const;
    void setResourcePath(const std::string& path);

    // Full path of an existing file "<resourcePath>/<directory>/<name>[.<type>]", or an empty
    // string when there is no such file.
    std::string pathForResource(const std::string& name, const std::string& type,
                                const std::string& directory) const;

private:
    mutable std::mutex lock_;
    std::string resourcePath_;
};
