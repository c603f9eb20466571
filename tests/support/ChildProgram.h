#pragma once
// Runs a shell command to its end and keeps what it printed (stdout and stderr together, when
// the command says 2>&1) and its exit status (-1: it did not exit normally).
#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ChildRun {
    int status = -1;
    std::string output;
};

inline ChildRun runChildOnce(const std::string& command) {
    ChildRun run;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) run.output.append(buffer, n);
        const int status = pclose(p);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

// The leak checker's own thread can crash while it stops the GL library's threads at exit
// ("Tracer caught signal"), which says nothing about the program; such a run is made once
// more. Any other failure, and a second crash of the checker, stand.
inline ChildRun runChild(const std::string& command) {
    ChildRun run = runChildOnce(command);
    if (run.status != 0 && run.output.find("LeakSanitizer has encountered a fatal error") != std::string::npos &&
        run.output.find("Tracer caught signal") != std::string::npos)
        run = runChildOnce(command);
    return run;
}
