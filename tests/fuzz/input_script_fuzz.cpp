// Fuzzes the input-script parser: a script it accepts is written back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "replay/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace krello;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptStep> steps;
    std::string error;
    if (!parseInputScript(text, "fuzz.input", steps, error)) {
        fuzz::requireOneLine(error, "fuzz.input:");
        return 0;
    }
    std::vector<ScriptStep> again;
    fuzz::require(parseInputScript(formatInputScript(steps), "again", again, error), "a written script reads");
    fuzz::require(again.size() == steps.size(), "as many steps");
    for (size_t i = 0; i < steps.size(); ++i)
        fuzz::require(again[i].dt == steps[i].dt && again[i].keys == steps[i].keys, "the same steps");
    return 0;
}
