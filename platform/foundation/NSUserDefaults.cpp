#include "NSUserDefaults.h"

#include "CCLog.h"
#include "NSData.h"
#include "NSPathUtilities.h"

namespace {
NSUserDefaults* gStandard = nullptr;
std::mutex gStandardMutex;
} // namespace

NSUserDefaults* NSUserDefaults::standardUserDefaults() {
    std::lock_guard lock(gStandardMutex);
    if (!gStandard) {
        std::string directory = ccConfigurationDirectory();
        gStandard = new NSUserDefaults;
        // Without a configuration directory the defaults live in memory only.
        gStandard->initWithPath(directory.empty() ? std::string() : directory + "/UserDefaults.plist");
    }
    return gStandard;
}

void NSUserDefaults::resetStandardUserDefaults() {
    NSUserDefaults* old = nullptr;
    {
        std::lock_guard lock(gStandardMutex);
        old = gStandard;
        gStandard = nullptr;
    }
    if (old) old->release(); // writes anything pending
}

bool NSUserDefaults::initWithPath(const std::string& path) {
    std::lock_guard lock(mutex_);
    path_ = path;
    values_ = PropertyList::dictionary();
    if (!path_.empty() && ccFileExists(path_)) {
        PropertyList read = PropertyList::dictionaryWithContentsOfFile(path_);
        if (read.isDictionary()) values_ = std::move(read);
        else CCLog("User defaults in %s are not a property-list dictionary; starting empty", path_.c_str());
    }
    return true;
}

NSUserDefaults::~NSUserDefaults() {
    std::lock_guard lock(mutex_);
    if (dirty_) writeLocked();
}

bool NSUserDefaults::boolForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return values_.boolForKey(key);
}

void NSUserDefaults::setBool(bool value, const std::string& key) { setObject(PropertyList::boolean(value), key); }

PropertyList NSUserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return values_.objectForKey(key);
}

void NSUserDefaults::setObject(PropertyList value, const std::string& key) {
    if (value.isNil()) {
        removeObjectForKey(key);
        return;
    }
    std::lock_guard lock(mutex_);
    if (values_.objectForKey(key) == value) return;
    values_.setObject(std::move(value), key);
    dirty_ = true;
    writeLocked();
}

void NSUserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (values_.objectForKey(key).isNil()) return;
    values_.removeObjectForKey(key);
    dirty_ = true;
    writeLocked();
}

bool NSUserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    return !dirty_ || writeLocked();
}

bool NSUserDefaults::writeLocked() {
    if (path_.empty()) return false;
    if (!values_.writeToFile(path_)) {
        CCLog("Cannot write the user defaults to %s", path_.c_str());
        return false;
    }
    dirty_ = false;
    return true;
}
