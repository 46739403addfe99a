// The 2003 release's forms of the tire envelope engine's steps: the copy of
// the spindle-points file, the radial section walk's stop at a sharp turn
// near the end, and the text of a section without near offset rows.
#include "envelope/envelope_internal.h"

#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/rule_path.h"

#include <cstdio>
#include <string>

namespace carvell::envelope {
namespace {

// The platform's directory separator, put between the temporary directory
// and the copy's name.
constexpr const char* kSeparator = "/";
// The walk ends at the end point when it lies within this many search
// radii of a point reached by a sharp turn.
constexpr double kSharpTurnReach = 1.5;

}  // namespace

// Always "<temporary directory>/spindle_file.pts", written over; only the
// instance's first list is read, and its lines are written as they are
// stored (each with its own line end).
int write_spindle_copy(tire_envelope_params_s* p) {
    char* dir = OS_ask_env("KWII_TMP_DIR");
    const std::string tmp = dir ? dir : "";
    SM_free(dir);
    if (tmp.empty()) return kFailed;
    char path[sizeof p->spindle_file];
    const int length = std::snprintf(path, sizeof path, "%s%sspindle_file.pts", tmp.c_str(), kSeparator);
    if (length < 0 || length >= static_cast<int>(sizeof path)) return kFailed;
    std::FILE* out = std::fopen(path, "wt");
    if (!out) return kFailed;
    const std::string owner = std::string(p->instance_name) + ":";
    detail::RulePath list(owner.c_str(), "spindle_file_data");
    int count = 0;
    char** strings = nullptr;
    if (VD_RQ_ask_string_list(list.text(), &count, &strings) == 0) {
        for (int k = 0; k < count; ++k) {
            std::fprintf(out, "%s", strings[k] ? strings[k] : "");
            SM_free(strings[k]);
        }
        SM_free(strings);
    }
    std::snprintf(p->spindle_file, sizeof p->spindle_file, "%s", path);
    std::fclose(out);
    return 0;
}

// The turns of the last three steps are kept; once the outline holds four
// points, a turn sharper than the three together (three times their mean)
// with the end point within 1.5 search radii ends the walk at the end point.
bool walk_turn_stop(double turns[3], double angle, size_t outline_points, double end_distance, double reach) {
    const bool stop = outline_points >= 4 && angle > turns[0] + turns[1] + turns[2] &&
                      end_distance <= kSharpTurnReach * reach;
    turns[0] = turns[1];
    turns[1] = turns[2];
    turns[2] = angle;
    return stop;
}

// The limit stays 90 degrees; the text says 45.
const char* far_offset_neighbour_text() { return "and the nearest specified section is greater than 45 deg away."; }

}  // namespace carvell::envelope
