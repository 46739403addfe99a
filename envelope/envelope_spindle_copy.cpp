// The copy of the spindle-points file written back from the tool
// instance's list rules into the temporary directory, as this release
// writes it: "spindle_file.pts", or the first numbered name that is free or
// can be made writable, every list of the instance's count, each line with
// its line end, and the copy made writable again.
#include "envelope_internal.h"

#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/rule_path.h"

#include <cstdio>
#include <string>

namespace carvell::envelope {
namespace {

// The host's mode value 0x3333 that makes a generated file writable.
constexpr int kWritableMode = 13107;

std::string tmp_directory() {
    char* dir = OS_ask_env("KWII_TMP_DIR");
    std::string out = dir ? dir : "";
    SM_free(dir);
    if (out.empty()) return out;
    char buffer[TIRE_ENVELOPE_TEXT_SIZE];
    std::snprintf(buffer, sizeof buffer, "%s", out.c_str());
    if (CFI_append_delimiter(buffer, sizeof buffer) != 0) return std::string();
    return buffer;
}

// The generated copy's path: "spindle_file.pts" when free or writable, else
// the first numbered name that is free or can be made writable.
std::string copy_path(const std::string& dir) {
    std::string path = dir + "spindle_file.pts";
    if (CFI_ask_file_exist(path.c_str()) != 0) return path;
    if (CFI_modify_file_protection(path.c_str(), -1, kWritableMode, 0) == 0) return path;
    for (int i = 0; i < 1000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "spindle_file_%d.pts", i);
        path = dir + name;
        if (CFI_ask_file_exist(path.c_str()) != 0) return path;
        if (CFI_modify_file_protection(path.c_str(), -1, kWritableMode, 0) == 0) return path;
    }
    return std::string();
}

int write_list_rules(const tire_envelope_params_s* p, std::FILE* out) {
    int lists = 1;
    const std::string chain = std::string("root:") + p->instance_name + ":";
    const std::string owner = std::string(p->instance_name) + ":";
    if (VD_RQ_ask_rule_exist(chain.c_str(), "spindle_line_count")) {
        detail::RulePath count_path(owner.c_str(), "spindle_line_count");
        if (VD_RQ_ask_integer(count_path.text(), &lists) != 0) lists = 1;
    }
    for (int i = 0; i < lists; ++i) {
        char list[64];
        if (i == 0)
            std::snprintf(list, sizeof list, "%s", "spindle_file_data");
        else
            std::snprintf(list, sizeof list, "%s_%d", "spindle_file_data", i);
        detail::RulePath path(owner.c_str(), list);
        int count = 0;
        char** strings = nullptr;
        if (VD_RQ_ask_string_list(path.text(), &count, &strings) != 0) continue;
        for (int k = 0; k < count; ++k) {
            std::fprintf(out, "%s\n", strings[k] ? strings[k] : "");
            SM_free(strings[k]);
        }
        SM_free(strings);
    }
    return 0;
}

}  // namespace

int write_spindle_copy(tire_envelope_params_s* p) {
    const std::string dir = tmp_directory();
    if (dir.empty()) return kFailed;
    const std::string path = copy_path(dir);
    if (path.empty() || path.size() >= sizeof p->spindle_file) return kFailed;
    std::FILE* out = std::fopen(path.c_str(), "wt");
    if (!out) return kFailed;
    write_list_rules(p, out);
    std::snprintf(p->spindle_file, sizeof p->spindle_file, "%s", path.c_str());
    std::fclose(out);
    const int code = CFI_modify_file_protection(path.c_str(), -1, kWritableMode, 0);
    if (code != 0) {
        // The host raises this; the engine reports it and fails the run so that
        // the session, the log and the working arrays are closed and freed.
        report_host_error("gen_spline_model", __LINE__, "CFI_modify_file_protection( path, -1, 13107, 0 )", code);
        return kFailed;
    }
    return 0;
}

}  // namespace carvell::envelope
