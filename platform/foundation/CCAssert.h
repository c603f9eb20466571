#pragma once
// Precondition failures: print the message and stop the program.
[[noreturn]] void ccAssertFailed(const char* message, const char* file, int line);

#define CCAssert(cond, message)                                                                            \
    do {                                                                                                   \
        if (!(cond)) ::ccAssertFailed((message), __FILE__, __LINE__);                                      \
    } while (0)
