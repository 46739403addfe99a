// Fuzz target of the tire-envelope tool's data files: each input is a
// spindle or joint-displacement file (the first byte's low bit chooses),
// stored in the part as list rules and read back. Whatever the file holds,
// the store must answer without crashing or leaking; a store that succeeds
// gives back, list after list, the file's text (a text without NUL bytes,
// which a line reader cannot carry) but for its line-end characters (CR and
// LF), which the rule language does not keep inside a string.
#include "fuzz_input_file.h"

#include "host_testing.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/rule_path.h"
#include "vd_evt.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host_testing::reset();
    host_testing::make_part("fuzz_part");
    const size_t blocks = host_testing::live_allocations();
    const int kind = size && (data[0] & 1) ? VD_EVT_DATA_JOINT_DISPLACEMENT : VD_EVT_DATA_SPINDLE;
    const char* base = kind == VD_EVT_DATA_SPINDLE ? "spindle_file_data" : "joints_disp_file_data";
    const char* count_rule = kind == VD_EVT_DATA_SPINDLE ? "spindle_line_count" : "joints_disp_line_count";
    const std::string path = fuzz::write_input("tool_data.txt", data, size);

    if (VD_EVT_store_data_file_into_rq(path.c_str(), "Root:", kind) == 0) {
        int lists = 0;
        {
            carvell::detail::RulePath rule("Root:", count_rule);
            if (VD_RQ_ask_integer(rule.text(), &lists) != 0 || lists < 1) std::abort();
        }
        std::string back;
        for (int i = 0; i < lists; ++i) {
            const std::string name = i == 0 ? std::string(base) : std::string(base) + "_" + std::to_string(i);
            carvell::detail::RulePath rule("Root:", name.c_str());
            int n = 0;
            char** strings = nullptr;
            if (VD_RQ_ask_string_list(rule.text(), &n, &strings) != 0) std::abort();
            for (int k = 0; k < n; ++k) {
                back += strings[k];
                SM_free(strings[k]);
            }
            SM_free(strings);
        }
        std::string text(reinterpret_cast<const char*>(data), size);
        auto without_line_ends = [](std::string& s) {
            s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\n' || c == '\r'; }), s.end());
        };
        without_line_ends(text);
        without_line_ends(back);
        if (text.find('\0') == std::string::npos && back != text) {
            std::fprintf(stderr, "stored:\n%s\nread back:\n%s\n", text.c_str(), back.c_str());
            std::abort();
        }
    }
    std::remove(path.c_str());
    if (host_testing::live_allocations() != blocks) std::abort();
    return 0;
}
