#include "CCFileUtils.h"

#include "CCConfiguration.h"
#include "NSBundle.h"
#include "NSData.h"
#include "ccMacros.h"

namespace {

// The last path component's extension, dot included, or "".
std::string::size_type extensionStart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1) return path.size();
    return dot;
}

} // namespace

std::string CCFileUtils::fullPathFromRelativePath(const std::string& relPath) {
    CCAssert(!relPath.empty(), "CCFileUtils: Invalid path");
    std::string fullPath = relPath;
    if (relPath.front() != '/') {
        const auto slash = relPath.find_last_of('/');
        const std::string file = slash == std::string::npos ? relPath : relPath.substr(slash + 1);
        const std::string directory = slash == std::string::npos ? std::string() : relPath.substr(0, slash);
        NSBundle* bundle = CCConfiguration::sharedConfiguration()->loadingBundle();
        if (!bundle) bundle = NSBundle::mainBundle();
        std::string found = bundle->pathForResource(file, "", directory);
        if (!found.empty()) fullPath = found;
    }
    return getDoubleResolutionImage(fullPath);
}

std::string CCFileUtils::getDoubleResolutionImage(const std::string& path) {
    if (CC_CONTENT_SCALE_FACTOR() != 2.0f) return path;
    const auto ext = extensionStart(path);
    const std::string stem = path.substr(0, ext);
    const auto slash = stem.find_last_of('/');
    const std::string lastComponent = slash == std::string::npos ? stem : stem.substr(slash + 1);
    if (lastComponent.find("@2x") != std::string::npos) return path;
    const std::string candidate = stem + "@2x" + path.substr(ext);
    return ccFileExists(candidate) ? candidate : path;
}
