// Runs one fuzz target over files: `fuzz_regressions TARGET PATH...`, each path a file or a
// folder of files. Any crash or sanitizer report fails the run.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "FuzzTarget.h"

namespace {
std::map<std::string, FuzzFunction>& targets() {
    static std::map<std::string, FuzzFunction> all;
    return all;
}
} // namespace

bool ccRegisterFuzzTarget(const char* name, FuzzFunction function) {
    targets()[name] = function;
    return true;
}

int main(int argc, char** argv) {
    if (argc < 2 || !targets().count(argv[1])) {
        std::fprintf(stderr, "usage: fuzz_regressions TARGET PATH...\ntargets:");
        for (const auto& entry : targets()) std::fprintf(stderr, " %s", entry.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    FuzzFunction run = targets()[argv[1]];
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(path)) {
            files.push_back(path);
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        run(bytes.data(), bytes.size());
    }
    std::printf("%s: %zu inputs run\n", argv[1], files.size());
    return 0;
}
