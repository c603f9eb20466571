// The command line: the input split at newlines into arguments, parsed or refused with a reason.
#include <string>
#include <vector>

#include "CCRunOptions.h"
#include "FuzzTarget.h"

ZORVIK_FUZZ_TARGET(options) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            args.push_back(current);
            current.clear();
        } else {
            current += char(data[i]);
        }
    }
    if (!current.empty()) args.push_back(current);
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    CCRunOptions options;
    std::string error;
    if (!CCRunOptions::parse(int(argv.size()), argv.data(), options, &error)) FUZZ_CHECK(!error.empty());
    return 0;
}
