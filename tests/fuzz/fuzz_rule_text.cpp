// Fuzz target of the rule-text parser: each input is the text of a rule,
// given to the host's rule store through the call that takes rule texts
// (creating a child instance with that rule). Whatever the text, the call
// must answer without crashing, overflowing the stack or leaking; a text it
// takes must read back as a rule of the new instance.
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host_testing::reset();
    const tag_t part = host_testing::make_part("fuzz_part");
    const size_t blocks = host_testing::live_allocations();
    // A rule text is a C string: the input up to its first NUL.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* names[] = {"VALUE"};
    const char* values[] = {text.c_str()};
    const int result = HM_RQ_create_child_rule(part, "root:", "FUZZ", "kw_fuzz", 1, names, values);
    if (result == 0) {
        HM_RQ_value_t value{};
        const int asked = HM_RQ_evaluate_rule("root:FUZZ:VALUE:", &value);
        if (asked != 0) std::abort();
        if (HM_RQ_delete_instance_rule("root:", "FUZZ") != 0) std::abort();
    } else if (result != HM_ERR_BAD_ARGUMENT) {
        std::abort();
    }
    if (host_testing::live_allocations() != blocks) std::abort();
    return 0;
}
