// The summary report of a mirror certification, written from a view of the
// run that each certification engine fills from its own working record: the
// current engine from mc_data_s (mc_report.cpp), the 2003 engine from its
// older record. The report's rows, texts and formats are one code.
#ifndef CARVELL_MIRROR_MIRROR_REPORT_H
#define CARVELL_MIRROR_MIRROR_REPORT_H

namespace carvell::mirror {

// The measures of one inside-mirror pass (the upper or the lower target).
struct ReportInsidePass {
    double side_view_angle = 0.0;          // Mirror Rotation Angle LS
    double plan_view_angle = 0.0;          // Mirror Rotation Angle PV
    double head_turn = 0.0;                // Head Turn Angle PV
    double ambinocular_angle = 0.0;        // Ambinocular Angle
    double backlite_restriction = 0.0;     // Backlite Restriction PV
    double up_angle = 0.0;                 // Up Angle LS
    double down_angle = 0.0;               // Down Angle LS
};

// What the report shows of a run. Texts and message arrays are borrowed from
// the engine's record for the length of the write.
struct ReportView {
    int mirror_kind = 0;                   // 0 inside, 1 driver outside, 2 passenger outside
    const char* region_name = "";
    const char* standard_name = "";
    bool user_override = false;
    int eye_method = 0;                    // 0: eye points from the eyellipse
    double standard_distance = 0.0, user_distance = 0.0;
    double standard_width = 0.0, user_width = 0.0;
    double standard_angle = 0.0, user_angle = 0.0;
    // Inside: with positioning both passes are shown, "(Up)" and "(Down)";
    // without it the upper pass alone.
    bool positioning = false;
    ReportInsidePass up, down;
    // Outside: present only when the engine holds an outside result.
    bool has_outside = false;
    double mirror_rotation_angle_ls = 0.0;
    double mirror_rotation_angle_pv = 0.0;
    double head_turn_angle_pv = 0.0;
    double max_ambinocular_angle_pv = 0.0;
    double ambinocular_angle_at_ground_pv = 0.0;
    double inboard_deviation = 0.0;        // of the first target
    double outboard_deviation = 0.0;
    double driver_mirror_area_percentage = 0.0;
    // The caller's messages, then the run's.
    const char* const* caller_messages = nullptr;
    int caller_message_count = 0;
    const char* const* messages = nullptr;
    int message_count = 0;
};

// Writes the report into the host's listing window (opened when closed): 0,
// or 1 when the window cannot be opened.
int write_report(const ReportView& view);

}  // namespace carvell::mirror

#endif
