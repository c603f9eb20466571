#pragma once
// Resource names to full paths inside the application's resources, with the
// double-resolution variant of an image on high-resolution screens.
#include <string>

class CCFileUtils {
public:
    CCFileUtils() = delete;

    // A relative name is looked up in the loading bundle (directory parts kept); a name it
    // does not hold, or an absolute path, is used as given. An empty name is a failure.
    static std::string fullPathFromRelativePath(const std::string& relPath);
    // With a content scale factor of 2, "img/cat.png" becomes "img/cat@2x.png" when that
    // file exists; names already marked "@2x" stay.
    static std::string getDoubleResolutionImage(const std::string& path);
};
