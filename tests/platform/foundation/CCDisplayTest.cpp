#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "CCDisplay.h"

namespace {

// Puts an environment variable back as it was.
struct EnvironmentKept {
    explicit EnvironmentKept(const char* name) : name(name) {
        const char* v = std::getenv(name);
        set = v != nullptr;
        value = v ? v : "";
    }
    ~EnvironmentKept() {
        if (set) setenv(name, value.c_str(), 1);
        else unsetenv(name);
    }
    const char* name;
    bool set;
    std::string value;
};

TEST(Display, PresentWhenX11OrWaylandIsNamedAndNotEmpty) {
    EnvironmentKept x("DISPLAY"), wayland("WAYLAND_DISPLAY");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_FALSE(CCDisplay::isPresent());
    setenv("DISPLAY", "", 1);
    setenv("WAYLAND_DISPLAY", "", 1);
    EXPECT_FALSE(CCDisplay::isPresent());
    setenv("DISPLAY", ":0", 1);
    EXPECT_TRUE(CCDisplay::isPresent());
    setenv("DISPLAY", "", 1);
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_TRUE(CCDisplay::isPresent());
}

} // namespace
