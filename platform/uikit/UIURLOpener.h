#pragma once
// Opens addresses for the user: every address accepted is recorded and logged; it is handed to
// xdg-open (found on PATH, started detached with the address as its one argument, no shell)
// only when programs may be started and a display is present.
#include <string>
#include <vector>

class UIURLOpener {
public:
    // False for an address that cannot be opened: empty, on more than one line, or one that the
    // opener would read as an option.
    static bool isOpenable(const std::string& url);
    // Records and logs an openable address and, when `mayStartProgram`, starts the opener.
    bool open(const std::string& url, bool mayStartProgram);
    const std::vector<std::string>& opened() const { return opened_; }

    // Full path of an executable found on PATH (or /usr/bin:/bin without one), or empty.
    static std::string findProgram(const std::string& name);

private:
    std::vector<std::string> opened_;
};
