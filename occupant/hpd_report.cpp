// The H-point design report: the inputs, the SgRP, the pedal and heel points
// and the posture of each leg of one design instance, as plain lines in the
// listing window or as HTML paragraphs in a file.
#include "hpd.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace detail = carvell::detail;

namespace {

// Rows, labels and values are formatted into buffers of this size; longer
// text is cut.
constexpr size_t kLineSize = 133;

// Where the report's lines go: a file as HTML paragraphs, or the listing
// window unchanged.
class ReportSink {
public:
    explicit ReportSink(FILE* file) : file_(file) {}

    void emit(const char* line) {
        if (!file_) {
            HM_UI_write_listing_window(line);
            return;
        }
        // One paragraph per line; blanks become non-breaking spaces so the
        // columns survive, and markup characters of names are escaped.
        std::string paragraph = "<p>";
        for (const char* p = line; *p; ++p) {
            switch (*p) {
                case ' ': paragraph += "&nbsp;"; break;
                case '&': paragraph += "&amp;"; break;
                case '<': paragraph += "&lt;"; break;
                case '>': paragraph += "&gt;"; break;
                default: paragraph += *p; break;
            }
        }
        paragraph += "</p>";
        std::fprintf(file_, "%s", paragraph.c_str());
    }

    void separator() { emit(" \n"); }

    // A row: label in 50 columns, value in 40.
    void row(const char* label, const char* value) {
        char line[kLineSize];
        STR_snprintf(line, sizeof line, "%-50s%-40s\n", label, value);
        emit(line);
    }
    void number_row(const char* label, double value) {
        char text[kLineSize];
        STR_snprintf(text, sizeof text, "%7.4f", value);
        row(label, text);
    }
    // A row whose label is "label qualifier".
    void qualified_number_row(const char* label, const char* qualifier, double value) {
        char text[kLineSize];
        STR_snprintf(text, sizeof text, "%s %s", label, qualifier);
        number_row(text, value);
    }
    void coordinate_row(const char* label, const char* prefix, double value) {
        char text[kLineSize];
        STR_snprintf(text, sizeof text, "%-1s%1.4f", prefix, value);
        row(label, text);
    }

    // Three lines L, W, H of a point: the first labelled "label" + first
    // suffix, the others indented by the label's length.
    void point_block(const char* label, const char* const suffixes[3], const double point[3]) {
        char first[kLineSize];
        STR_snprintf(first, sizeof first, "%s%s", label, suffixes[0]);
        coordinate_row(first, "L =", point[0]);
        const std::string indent(std::min<size_t>(std::strlen(label), kLineSize - 1), ' ');
        char next[kLineSize];
        STR_snprintf(next, sizeof next, "%s%s", indent.c_str(), suffixes[1]);
        coordinate_row(next, "W =", point[1]);
        STR_snprintf(next, sizeof next, "%s%s", indent.c_str(), suffixes[2]);
        coordinate_row(next, "H =", point[2]);
    }

    // The FRP and floor plane angle of one leg.
    void floor_block(const HPD_apf_shoe_values_t& shoe, const char* side) {
        char label[kLineSize];
        STR_snprintf(label, sizeof label, "%s %s", "Floor Reference Point (FRP)", side);
        coordinate_row(label, "L =", shoe.heel_point[0]);
        const std::string blanks(25, ' ');
        coordinate_row(blanks.c_str(), "W =", shoe.heel_point[1]);
        coordinate_row(blanks.c_str(), "H =", shoe.heel_point[2]);
        separator();
        qualified_number_row("Floor Plane Angle (A48)", side, shoe.pedal_angle);
        separator();
    }

    // A per-leg angle: label in 20 columns, side word in 10.
    void leg_angle_row(const char* label, const char* side, double value) {
        char text[kLineSize];
        STR_snprintf(text, sizeof text, "%-20s%-10s", label, side);
        number_row(text, value);
        separator();
    }

private:
    FILE* file_;
};

const char* male_female_ratio_text(const HPD_apf_values_t& v) {
    if (v.vehicle_class == 0) return "1:1";
    switch (v.male_female_ratio) {
        case 0: return "50:50";
        case 1: return "75:25";
        default: return "90:10 to 95:5";
    }
}

const char* leg_length_qualifier(int leg_length_type) {
    switch (leg_length_type) {
        case 0: return "(SgRP)";
        case 1: return "(Mid-Size Male)";
        default: return "(For Study)";
    }
}

void emit_sheet_row(ReportSink& out, const char* name, int import, const char* label) {
    const detail::SmBlock<char> sheet(AskAssociatedSheetName(name, import));
    if (sheet && *sheet.get()) {
        out.row(label, sheet.get());
        out.separator();
    }
}

}  // namespace

void HM_VD_HPD_OutputReport(const char* name, FILE* file) {
    if (!name) return;
    tag_t feature = 0;
    detail::SmBlock<char> feature_name;
    if (VD_ask_feature_tag_and_name(name, &feature, feature_name.out()) != 0) return;

    // The reader stops early when a leg fails: start from a cleared record so
    // that what it did not reach reads as zero, not as stack garbage.
    HPD_apf_values_t v;
    std::memset(&v, 0, sizeof v);
    HM_VD_HPD_ask_result(name, &v);

    ReportSink out(file);
    out.emit("======================================\n");
    out.separator();
    out.emit("H-Point Design Tool\n");
    out.separator();
    out.row("Model Name", feature_name ? feature_name.get() : "");
    out.separator();
    feature_name.reset();

    VD_hpd_param_t data;
    std::memset(&data, 0, sizeof data);
    if (VD_ask_hpd_data(name, &data) != 0 || !data.update_success) {
        out.emit("Feature update failure: \n");
        const detail::SmBlock<char> text(HM_VD_HPD_ask_error_message(data.fail_code));
        if (text) out.emit(text.get());
        return;
    }

    emit_sheet_row(out, name, 0, "Export Associated Sheet");
    emit_sheet_row(out, name, 1, "Import Associated Sheet");

    const bool driver = v.seating_position == 0;
    out.row("Seating Position", driver ? "Driver" : "Passenger");
    out.separator();
    out.row("Vehicle Class", v.vehicle_class == 0 ? "A" : "B");
    out.separator();
    out.row("Male Female Ratio", male_female_ratio_text(v));
    out.separator();
    out.number_row("Cushion Angle (A27)", v.cushion_angle);
    out.separator();
    out.number_row("Back Angle (A40)", v.back_angle);
    out.separator();
    out.number_row("Lumbar Support Prominence (L81)", v.lumbar_support);
    out.separator();
    if (driver) {
        out.number_row("Plane View Angle", v.pv_angle);
        out.separator();
    }
    out.number_row("Seat Height (H30)", v.seat_height);
    out.separator();

    static const char* const kDriverSgrp[3] = {" (L31-1)", "(W20-1)", "(H70-1)"};
    static const char* const kPassengerSgrp[3] = {" (L31)", "(W20)", "(H70)"};
    out.point_block("SgRP", driver ? kDriverSgrp : kPassengerSgrp, v.sgrp);
    out.separator();

    if (driver) {
        if (v.leg_length_type == 0) {
            out.number_row("Distance from SgRP Curve", v.sgrp_curve_distance);
            out.separator();
        }
        out.number_row("Pedal Plane Angle (A47)", v.right_shoe.pedal_angle);
        out.separator();
        static const char* const kPrp[3] = {" (L1)", "(W1)", "(H1)"};
        out.point_block("Pedal Reference Point (PRP)", kPrp, v.prp);
        static const char* const kAhp[3] = {" (L8)", "(W8)", "(H8)"};
        out.point_block("Accelerator Heel Point (AHP)", kAhp, v.right_shoe.heel_point);
        out.number_row("AHP to PRP lateral offset (PW14)", v.lateral_offset);
        out.separator();
    } else {
        out.floor_block(v.right_shoe, "(Right)");
    }
    if (v.add_2nd_right_leg) out.floor_block(v.second_right_shoe, "(2nd Right)");
    if (v.position_left_shoe) out.floor_block(v.left_shoe, "(Left)");

    const char* qualifier = leg_length_qualifier(v.leg_length_type);
    out.qualified_number_row("Leg Length (Upper)", qualifier, v.upper_leg_length);
    out.separator();
    out.qualified_number_row("Leg Length (Lower)", qualifier, v.lower_leg_length);
    out.separator();

    struct AngleRow {
        const char* label;
        double HPD_apf_shoe_values_t::*member;
    };
    static const AngleRow kAngles[4] = {{"Hip Angle (A42)", &HPD_apf_shoe_values_t::hip_angle},
                                        {"Thigh Angle (A57)", &HPD_apf_shoe_values_t::thigh_angle},
                                        {"Knee Angle (A44)", &HPD_apf_shoe_values_t::knee_angle},
                                        {"Ankle Angle (A46)", &HPD_apf_shoe_values_t::ankle_angle}};
    for (const AngleRow& a : kAngles) {
        out.leg_angle_row(a.label, "(Right)", v.right_shoe.*a.member);
        if (v.position_left_shoe) out.leg_angle_row(a.label, "(Left)", v.left_shoe.*a.member);
    }

    const double right_room = v.add_2nd_right_leg ? v.second_right_shoe.leg_room : v.right_shoe.leg_room;
    out.qualified_number_row(driver ? "Leg Room (L51)" : "Leg Room (L34)", "(Right)", right_room);
    out.separator();
    if (v.position_left_shoe) {
        out.qualified_number_row("Leg Room (L34)", "(Left)", v.left_shoe.leg_room);
        out.separator();
    }
}

void HM_VD_HPD_DisplayResultInWindow(const char* name) {
    if (!HM_UI_is_listing_window_open()) HM_UI_open_listing_window();
    HM_VD_HPD_OutputReport(name, nullptr);
}
