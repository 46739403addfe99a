// The summary report of a mirror certification in the host's listing window:
// title by mirror kind, region and standard, the standard's values and the
// user's overrides, the measured angles and deviations of the kind, then the
// caller's and the run's messages. Sections grow with their text, so long
// site warnings or caller messages are never cut. The report is written
// from a view of the run (mirror_report.h) that each certification engine
// fills; nothing here reads an engine's record.
#include "mirror_report.h"

#include "omvra.h"

#include <cstdio>
#include <string>

namespace carvell::mirror {
namespace {

std::string row(const char* label, const std::string& value) {
    char head[133];
    std::snprintf(head, sizeof head, "%-40s%s", label, "= ");
    return head + value;
}

std::string number(double value) {
    char text[133];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

std::string title(int kind) {
    if (kind == 0) return "Mirror Certification Inside - Summary Results";
    if (kind == 1) return "Mirror Certification Driver Outside - Summary Results";
    return "Mirror Certification Passenger Outside - Summary Results";
}

std::string common_rows(const ReportView& d) {
    std::string s = title(d.mirror_kind) + "\n\n\n\n";
    s += row("standard", d.region_name ? d.region_name : "") + "\n\n";
    s += row("Designation", d.standard_name ? d.standard_name : "") + "\n\n\n";
    s += row("Standard Distance", number(d.standard_distance));
    if (d.user_override) s += "\n\n" + row("Modified Distance", number(d.user_distance));
    if (!(d.mirror_kind == 0 && d.eye_method == 0)) {
        s += "\n\n" + row("Standard Width", number(d.standard_width));
        if (d.user_override) s += "\n\n" + row("Modified Width", number(d.user_width));
    }
    return s;
}

std::string inside_rows(const ReportView& d) {
    std::string s;
    if (d.eye_method == 0) {
        s += "\n\n" + row("Standard Angle", number(d.standard_angle));
        if (d.user_override) s += "\n\n" + row("Modified Angle", number(d.user_angle));
    }
    const ReportInsidePass& up = d.up;
    const ReportInsidePass& down = d.down;
    struct Measure {
        const char* label;
        double ReportInsidePass::*value;
    };
    const Measure measures[] = {
        {"Mirror Rotation Angle LS", &ReportInsidePass::side_view_angle},
        {"Mirror Rotation Angle PV", &ReportInsidePass::plan_view_angle},
        {"Head Turn Angle PV", &ReportInsidePass::head_turn},
        {"Ambinocular Angle", &ReportInsidePass::ambinocular_angle},
        {"Backlite Restriction PV", &ReportInsidePass::backlite_restriction},
        {"Up Angle LS", &ReportInsidePass::up_angle},
        {"Down Angle LS", &ReportInsidePass::down_angle},
    };
    for (const Measure& m : measures) {
        if (d.positioning) {
            s += "\n\n" + row((std::string(m.label) + " (Up)").c_str(), number(up.*m.value));
            s += "\n" + row((std::string(m.label) + " (Down)").c_str(), number(down.*m.value));
        } else {
            s += "\n\n" + row(m.label, number(up.*m.value));
        }
    }
    return s;
}

std::string outside_rows(const ReportView& d) {
    if (!d.has_outside) return {};
    const ReportView& r = d;
    std::string s;
    s += "\n\n" + row("Mirror Rotation Angle LS", number(r.mirror_rotation_angle_ls));
    s += "\n\n" + row("Mirror Rotation Angle PV", number(r.mirror_rotation_angle_pv));
    s += "\n\n" + row("Head Turn Angle PV", number(r.head_turn_angle_pv));
    s += "\n\n" + row("Max Ambinocular Angle PV", number(r.max_ambinocular_angle_pv));
    s += "\n\n" + row("Ambinocular Angle @ Ground PV", number(r.ambinocular_angle_at_ground_pv));
    s += "\n\n" + row("Inboard Deviation", number(r.inboard_deviation));
    s += "\n\n" + row("Outboard Deviation", number(r.outboard_deviation));
    if (d.mirror_kind == 2 && d.eye_method == 0) {
        char share[133];
        std::snprintf(share, sizeof share, "%.4f%%", r.driver_mirror_area_percentage);
        s += "\n\n" + row("Driver Mirror", share);
    }
    return s;
}

std::string message_rows(const ReportView& d) {
    std::string s = "\n\n\nSystem Messages:\n\n";
    for (int i = 0; d.caller_messages && i < d.caller_message_count; ++i) {
        if (d.caller_messages[i]) s += d.caller_messages[i];
        s += "\n";
    }
    s += "\n";
    for (int i = 0; d.messages && i < d.message_count; ++i) {
        if (d.messages[i]) s += d.messages[i];
        s += "\n";
    }
    return s;
}

}  // namespace

int write_report(const ReportView& view) {
    if (!HM_UI_is_listing_window_open() && HM_UI_open_listing_window() != 0) return 1;
    const bool outside = view.mirror_kind != 0;
    const std::string first = common_rows(view) + (outside ? std::string() : inside_rows(view));
    const std::string second = outside ? outside_rows(view) : std::string();
    const std::string third = message_rows(view);
    (void)HM_UI_write_listing_window(first.c_str());
    (void)HM_UI_write_listing_window(second.c_str());
    (void)HM_UI_write_listing_window(third.c_str());
    (void)HM_UI_write_listing_window("---------------------------------------------------------\n");
    return 0;
}

}  // namespace carvell::mirror
