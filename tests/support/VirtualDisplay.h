#pragma once
// A virtual X display (Xvfb) of a test's own, for tests of the window backend; DISPLAY points
// at it while it runs.
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

inline bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

inline std::string findXvfb() {
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"})
        if (access((std::string(dir) + "/Xvfb").c_str(), X_OK) == 0) return std::string(dir) + "/Xvfb";
    return {};
}

// A virtual X display of its own for the test's lifetime.
class VirtualDisplay {
public:
    bool start(const std::string& xvfb) {
        for (int n = 90 + getpid() % 200; n < 400; ++n) {
            std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            if (fileExists(lock) || fileExists(socket)) continue;
            const pid_t parent = getpid();
            pid_ = fork();
            if (pid_ == 0) {
                // The display ends with the process that made it, however that ends (a crash, a
                // kill, an exit that runs no destructors): it is never left behind. The process
                // makes it on its main thread, whose end is the process's.
                prctl(PR_SET_PDEATHSIG, SIGTERM);
                if (getppid() != parent) _exit(0);
                std::string display = ":" + std::to_string(n);
                execl(xvfb.c_str(), "Xvfb", display.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                      static_cast<char*>(nullptr));
                _exit(127);
            }
            for (int i = 0; i < 100 && !fileExists(socket); ++i) usleep(50000);
            if (!fileExists(socket)) {
                stop();
                continue;
            }
            setenv("DISPLAY", (":" + std::to_string(n)).c_str(), 1);
            return true;
        }
        return false;
    }
    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }
    ~VirtualDisplay() { stop(); }

private:
    pid_t pid_ = 0;
};

