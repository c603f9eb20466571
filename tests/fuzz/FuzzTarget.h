#pragma once
// One fuzz target per source file. In the fuzz preset each file is its own libFuzzer program
// and the macro defines the entry point; elsewhere all of them build into one regression
// runner, which feeds each target the seeds and reproducers kept beside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#ifdef ZORVIK_LIBFUZZER
#define ZORVIK_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
#else
using FuzzFunction = int (*)(const std::uint8_t* data, std::size_t size);
bool ccRegisterFuzzTarget(const char* name, FuzzFunction function);
#define ZORVIK_FUZZ_TARGET(name)                                                                 \
    static int fuzz_##name(const std::uint8_t* data, std::size_t size);                          \
    [[maybe_unused]] static const bool registered_##name = ccRegisterFuzzTarget(#name, fuzz_##name); \
    static int fuzz_##name(const std::uint8_t* data, std::size_t size)
#endif

// A property the target checks; a failure is a finding like a crash.
#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) std::abort(); \
    } while (0)
