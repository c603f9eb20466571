#include <gtest/gtest.h>

#include <cstdlib>

// Sanitizer settings of every test program, so that running one directly behaves as under
// ctest; options given in the environment still win.
extern "C" const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }
extern "C" const char* __lsan_default_options() {
    return "suppressions=" ZORVIK_SOURCE_DIR "/tests/support/lsan.supp";
}
extern "C" const char* __tsan_default_options() {
    return "halt_on_error=1:second_deadlock_stack=1:suppressions=" ZORVIK_SOURCE_DIR "/tests/support/tsan.supp";
}

int main(int argc, char** argv) {
    // Settings, documents and the device identifier go to the build tree, never the user's home.
    setenv("XDG_CONFIG_HOME", ZORVIK_BINARY_DIR "/test-home/config", 1);
    setenv("XDG_DATA_HOME", ZORVIK_BINARY_DIR "/test-home/data", 1);
    // Mesa's software rasteriser draws on the calling thread: the same pixels, and no driver
    // threads coming and going while LeakSanitizer stops the world at exit.
    setenv("LP_NUM_THREADS", "0", 0);
    ::testing::InitGoogleTest(&argc, argv);
    // Death tests fork; "threadsafe" re-executes the binary so that forked children are sane.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
