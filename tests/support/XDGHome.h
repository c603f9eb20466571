#pragma once
// Points HOME and the XDG configuration and data directories at a fresh temporary folder for
// one test, and puts the old values back afterwards.
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TestFiles.h"

class XDGHome {
public:
    XDGHome() {
        set("HOME", dir.path() + "/home");
        set("XDG_CONFIG_HOME", dir.path() + "/config");
        set("XDG_DATA_HOME", dir.path() + "/data");
    }
    ~XDGHome() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
            else unsetenv(it->first.c_str());
        }
    }
    XDGHome(const XDGHome&) = delete;
    XDGHome& operator=(const XDGHome&) = delete;

    // Sets a variable for the test (nullptr removes it); restored at the end.
    void set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }

    std::string config() const { return dir.path() + "/config/zorvik"; }
    std::string documents() const { return dir.path() + "/data/zorvik/Documents"; }

    TempDir dir;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
