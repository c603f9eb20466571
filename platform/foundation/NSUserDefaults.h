#pragma once
// The user's settings: a property-list dictionary kept in the configuration directory
// (UserDefaults.plist). Every change is written through at once, atomically (temporary file
// and rename), so that nothing set is lost when the process ends, however it ends.
#include <mutex>
#include <string>

#include "CCObject.h"
#include "PropertyList.h"

class NSUserDefaults : public CCObject {
public:
    // The process's defaults, read from the configuration directory on first use.
    static NSUserDefaults* standardUserDefaults();
    // Writes and drops the shared defaults; the next use reads the file afresh.
    static void resetStandardUserDefaults();

    // Defaults kept in a file of one's own (tests, tools). A file that cannot be read as a
    // dictionary is left alone until the next successful write, and the defaults start empty.
    bool initWithPath(const std::string& path);

    bool boolForKey(const std::string& key) const;
    void setBool(bool value, const std::string& key);
    PropertyList objectForKey(const std::string& key) const;
    void setObject(PropertyList value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    // Writes what has not been written yet; false when the file cannot be written.
    bool synchronize();

    const std::string& path() const { return path_; }
    ~NSUserDefaults() override;

private:
    bool writeLocked();

    mutable std::mutex mutex_;
    std::string path_;
    PropertyList values_ = PropertyList::dictionary();
    bool dirty_ = false;
};
