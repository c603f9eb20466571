#include "UIURLOpener.h"

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "CCDisplay.h"
#include "CCLog.h"

namespace {
// Starts the program detached and reaps the helper, so no zombie is left behind.
void startDetached(const std::string& program, const std::string& argument) {
    pid_t helper = fork();
    if (helper < 0) {
        CCLog("Could not start %s", program.c_str());
        return;
    }
    if (helper == 0) {
        if (fork() == 0) {
            const char* argv[] = {program.c_str(), argument.c_str(), nullptr};
            execv(program.c_str(), const_cast<char* const*>(argv));
        }
        _exit(0);
    }
    int status = 0;
    waitpid(helper, &status, 0);
}
} // namespace

bool UIURLOpener::isOpenable(const std::string& url) {
    return !url.empty() && url[0] != '-' && url.find('\n') == std::string::npos;
}

bool UIURLOpener::open(const std::string& url, bool mayStartProgram) {
    if (!isOpenable(url)) {
        CCLog("Refusing to open URL \"%s\"", url.c_str());
        return false;
    }
    opened_.push_back(url);
    CCLog("Opening URL %s", url.c_str());
    if (!mayStartProgram || !CCDisplay::isPresent()) return true;
    std::string opener = findProgram("xdg-open");
    if (!opener.empty()) startDetached(opener, url);
    return true;
}

std::string UIURLOpener::findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty()) {
            std::string candidate = dir + "/" + name;
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        start = end + 1;
    }
    return {};
}
