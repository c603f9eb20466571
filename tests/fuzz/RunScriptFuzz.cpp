// Run scripts: parsed, or refused with a reason naming the line.
#include <string>

#include "CCRunScript.h"
#include "FuzzTarget.h"

ZORVIK_FUZZ_TARGET(runscript) {
    std::string error;
    auto script = CCRunScript::parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt", &error);
    FUZZ_CHECK(script.has_value() || error.rfind("fuzz.txt:", 0) == 0);
    return 0;
}
