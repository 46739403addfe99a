// The two entries of the tire envelope engine: the curves of the envelope
// (with the log, the previous output's removal, the reference set, the
// categories and the log attributes when the part is to be updated) and the
// sheet through the section curves.
#include "envelope_internal.h"

#include "elvosk.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace carvell::envelope {
namespace {

constexpr const char* kDone = "Done Processing";
constexpr const char* kDoneWithError = "Done Processing - An ERROR occured";
constexpr size_t kLogMessageSize = 286;   // "ERROR: Cannot create log file:" and the path

// The host session of one call: HM_initialize on entry, HM_terminate on
// every way out.
class Session {
public:
    Session() { (void)HM_initialize(); }
    ~Session() { (void)HM_terminate(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

void report_done(int result) {
    const char* status = result == 0 ? kDone : kDoneWithError;
    (void)UI_set_status(status);
    syslog("\n");
    syslog(status);
    syslog("\n");
}

// The log path in the temporary directory; false (after the dialog) when it
// cannot be made or opened.
bool open_log(tire_envelope_params_s* p) {
    char* dir = OS_ask_env("KWII_TMP_DIR");
    char path[TIRE_ENVELOPE_TEXT_SIZE] = "";
    std::snprintf(path, sizeof path, "%s", dir ? dir : "");
    SM_free(dir);
    bool made = path[0] && CFI_append_delimiter(path, sizeof path) == 0;
    const size_t used = std::strlen(path);
    made = made && used + std::strlen("envelope.log") < sizeof path;
    if (made) std::snprintf(path + used, sizeof path - used, "%s", "envelope.log");
    std::snprintf(p->log_path, sizeof p->log_path, "%s", made ? path : "envelope.log");
    p->log_file = made ? std::fopen(p->log_path, "w") : nullptr;
    if (p->log_file) return true;
    char message[kLogMessageSize];
    std::snprintf(message, sizeof message, "ERROR: Cannot create log file:\n%s", p->log_path);
    warn("Log File", {message});
    return false;
}

void close_log(tire_envelope_params_s* p) {
    if (!p->log_file) return;
    std::fflush(p->log_file);
    std::fclose(p->log_file);
    p->log_file = nullptr;
}

int update_part_records(tire_envelope_params_s* p) {
    (void)UI_set_status("Creating Ref Sets and Categories");
    int result = 0;
    if (add_part_reference_set("PART", p->part_members, p->num_part_members) != 0) result = kFailed;
    if (p->single_layer != 1 && create_envelope_categories(p) != 0) result = kFailed;
    return result;
}

int build_curves(tire_envelope_params_s* p, int* num_splines, tag_t* spline_tags, tag_t* profile_spline,
                 tag_t* wheel_line, tag_t* tire_line, tag_t* spindle_line) {
    if (p->update_part) {
        write_tire_envelope_log(p);
        if (int code = delete_dcs()) return code;
    }
    if (int code = set_radial_section_angles(p)) return code;
    if (int code = gen_spline_model(p, num_splines, spline_tags, profile_spline, wheel_line, tire_line, spindle_line))
        return code;
    int result = p->update_part ? update_part_records(p) : 0;
    close_log(p);
    if (p->update_part && copy_log_attributes(p) != 0) result = kFailed;
    return result;
}

}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

namespace {

// Whether the caller's block can be read: every text field ends within its
// array, and every number the run reads (for the counts it holds, within
// their tables) is finite and inside the model space. A block refused here
// opens no session and makes nothing.
bool params_usable(const tire_envelope_params_s* p) {
    using carvell::detail::all_modelled;
    using carvell::detail::terminated;
    const bool texts = terminated(p->instance_name, sizeof p->instance_name) &&
                       terminated(p->profile_file, sizeof p->profile_file) &&
                       terminated(p->rim_size, sizeof p->rim_size) &&
                       terminated(p->spindle_file, sizeof p->spindle_file) &&
                       terminated(p->vehicle_program, sizeof p->vehicle_program) &&
                       terminated(p->suspension, sizeof p->suspension) &&
                       terminated(p->offset_file, sizeof p->offset_file) && terminated(p->notes, sizeof p->notes);
    if (!texts) return false;
    const double scalars[] = {p->rim_diameter, p->centerline_shift, p->surface_tol, p->trim_dist,
                              p->concavity,    p->radial_start,     p->radial_end};
    if (!all_modelled(p->csys_origin, 3) || !all_modelled(p->csys_matrix, 9) || !all_modelled(scalars, 7))
        return false;
    const int points = std::min(std::max(p->num_profile_pts, 0), TIRE_ENVELOPE_MAX_PROFILE_PTS);
    if (points > 0 && !all_modelled(&p->profile_pts[0][0], 2LL * points)) return false;
    const int rows = std::min(std::max(p->num_offset_sections, 0), TIRE_ENVELOPE_MAX_SECTIONS);
    if (rows > 0 && !all_modelled(p->offset_angles, rows)) return false;
    for (int r = 0; r < rows; ++r) {
        const int values = std::min(std::max(p->num_offsets[r], 0), TIRE_ENVELOPE_MAX_OFFSET_VALUES);
        if (values > 0 && !all_modelled(p->offsets[r], values)) return false;
    }
    return true;
}

}  // namespace

extern "C" int create_tire_envelope_curves(tire_envelope_params_s* p, int* num_splines, tag_t* spline_tags,
                                           tag_t* profile_spline, tag_t* wheel_line, tag_t* tire_line,
                                           tag_t* spindle_line) {
    if (!p || !num_splines || !spline_tags || !profile_spline || !wheel_line || !tire_line || !spindle_line)
        return -1;
    if (!params_usable(p)) return -1;
    Session session;
    *num_splines = 0;
    *profile_spline = *wheel_line = *tire_line = *spindle_line = 0;
    p->side = -1.0;
    p->thegroup = 0;
    p->num_part_members = 0;
    p->num_sections = 0;
    p->concavity_base = 25.0;
    p->log_file = nullptr;
    (void)UI_set_status("Generating tire envelope");
    syslog("Generating tire envelope ...\n");
    p->date_time[0] = '\0';
    format_date_time(p->date_time, sizeof p->date_time);
    int result = kFailed;
    if (open_log(p)) {
        try {
            result = build_curves(p, num_splines, spline_tags, profile_spline, wheel_line, tire_line, spindle_line);
        } catch (...) {
            // A host error raised inside a step ends the run as a failure;
            // the session, the log and the working arrays are still closed.
            const int code = carvell::detail::caught_code("create_tire_envelope_curves", __LINE__);
            (void)carvell::envelope::report_host_error("create_tire_envelope_curves", __LINE__,
                                                       "gen_spline_model( params, ... )", code ? code : kFailed);
            result = kFailed;
        }
        close_log(p);
        std::remove(p->log_path);
    }
    report_done(result);
    return result;
}

extern "C" void gen_tire_envelope(tire_envelope_params_s* p, int num_curves, const tag_t* curve_tags) {
    if (!p || (num_curves > 0 && (!curve_tags || !carvell::detail::count_fits(num_curves, sizeof(tag_t)))) ||
        !params_usable(p))
        return;
    Session session;
    int result = kFailed;
    try {
        result = create_sheet_body(p, num_curves, curve_tags);
    } catch (...) {
        result = kFailed;
    }
    report_done(result);
}
