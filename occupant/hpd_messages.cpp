// Error codes of the H-point design tool: their texts, the dialogs that show
// the geometry failures, and the trace lines of the debug key "VD_HPD".
#include "hpd_messages.h"
#include "hpd.h"
#include "hpd_primitives.h"
#include "toolbox/detail/owners.h"
#include "morvish.h"
#include "quillon.h"
#include "sarnweld.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>

using namespace carvell::occupant;
namespace detail = carvell::detail;

namespace {

const char* const kUnknown = "Unknown error";

const char* const kFloorLimit =
    "The leg position exceeds the selected floor geometry limit. \nThe height of the foremost or the rearmost "
    "point on the floor \ngeometry will be used for the H of heel point.";
const char* const kWidth = "The distance between SgRP W and Heel Point W exceed range.";

const char* const kUpperLeg = "The upper leg length must be in the range %.4f - %.4f %s.";
const char* const kLowerLeg = "The lower leg length must be in the range %.4f - %.4f %s.";
const char* const kSeatHeight = "The seat height must be in the range %.4f - %.4f %s.";
const char* const kBackAngle = "The back angle must be in the range %.4f - %.4f deg.";
const char* const kCushionAngle = "The cushion angle must be in the range %.4f - %.4f deg.";
const char* const kLumbar = "The lumbar support must be in the range %.4f - %.4f %s.";
const char* const kPlanView = "The plan view angle must be in the range %.4f - %.4f deg.";
const char* const kPedalAngle = "The pedal plane angle must be in the range %.4f - %.4f deg.";
const char* const kAnkleAngle = "The ankle angle must be in the range %.4f - %.4f deg.";
const char* const kFloorAngle = "The floor plane angle must be in the range %.4f - %.4f deg.";

// A range text: its format, the two bounds and whether they are lengths in
// millimetres (converted, followed by the unit word) or angles in degrees.
struct Range {
    int code;
    const char* format;
    double lower;
    double upper;
    bool length;
};
const Range kRanges[] = {
    {1, kUpperLeg, kLegMinMm, kLegMaxMm, true},
    {2, kLowerLeg, kLegMinMm, kLegMaxMm, true},
    {3, kSeatHeight, kClassAMinH30Mm, kClassAMaxH30Mm, true},
    {4, kBackAngle, 5.0, 40.0, false},
    {5, kBackAngle, 0.0, 90.0, false},
    {6, kCushionAngle, 0.0, 45.0, false},
    {7, kLumbar, -20.0, 40.0, true},
    {8, kPlanView, -90.0, 90.0, false},
    {9, kPedalAngle, 0.0, kPedalAngleMaxDeg, false},
    {13, kAnkleAngle, 30.0, 180.0, false},
    {15, kFloorAngle, 0.0, 45.0, false},
    {33, kBackAngle, 11.0, 18.0, false},
    {34, kSeatHeight, kClassBMinH30Mm, kClassBMaxH30Mm, true},
    {35, kBackAngle, 0.0, 90.0, false},
};

// Texts shown by the dialog as well as by the message table.
const char* geometry_text(int code) {
    switch (code) {
        case -2: return kFloorLimit;
        case 16:
            return "Right shoe can not contact accelerator or floor geometry. \nSolution: Re-select the accelerator "
                   "or floor geometry.";
        case 17:
            return "Right shoe can not contact floor geometry. \nSolution: Adjust the heel location or re-select the "
                   "floor geometry \nfor ball of foot.";
        case 18:
            return "Left shoe can not contact floor geometry. \nSolution: Adjust the heel location or re-select the "
                   "floor geometry \nfor ball of foot.";
        case 23:
            return "Shoe position would exceed current leg lengths. \nSolution: Adjust the angle or position of the "
                   "shoe profile or re-select\nthe accelerator or floor geometry.";
        case 24: return "Heel point L must be less than SgRP L. \nSolution: Adjust the heel point or the SgRP.";
        case 25: return "Heel point H must be less than SgRP H. \nSolution: Adjust the heel point or the SgRP.";
        case 26:
            return "Right shoe heel point must be on the right side of HPD centeral plane. \nSolution: Adjust the "
                   "heel point or the SgRP.";
        case 27:
            return "Left shoe heel point must be on the left side of HPD centeral plane. \nSolution: Adjust the heel "
                   "point or the SgRP.";
        case 28:
            return "Unable to lock HPD with the specified ankle angle. \nSolution: Adjust the ankle angle value.";
        case 29:
            return "Unable to lock HPD with the specified pedal plane angle. \nSolution: Adjust the pedal plane "
                   "angle";
        case 30:
            return "Unable to lock HPD with the specified ankle angle and pedal angle \nSolution: Adjust the ankle "
                   "angle or pedal plane angle ";
        case 31:
            return "Unable to lock HPD with the specified ankle angle and pedal angle \nwhile the pedal angle is "
                   "equal to ALPHA angle. \nSolution: Adjust the pedal plane angle or ankle angle or discard use "
                   "ALPHA ";
        default: return nullptr;
    }
}

// Fixed texts of the message table only.
const char* table_text(int code) {
    switch (code) {
        case 10: return kWidth;
        case 11: return "Heel point L must be less than SgRP L";
        case 12: return "Heel point H must be less than SgRP H.";
        case 14: return "AHP to PRP lateral offset(PW14):\nThe entered value must be positive.";
        case 36:
            return "L53:\nThe entered value is outside the allowed range.\n\nThe entered value must exceeds zero and "
                   "smaller than leg length.";
        case 37:
            return "A42:\nThe entered value is outside the allowed range.\n\nThe entered value must exceeds "
                   "back_angle and smaller than 180+back_angle degree.";
        case 38:
            return "A57:\nThe entered value is outside the allowed range.\n\nThe A57 must be in the range -90 - 90 "
                   "degree.";
        case 39:
            return "A44:\nThe entered value is outside the allowed range.\n\nThe A44 must be in the range 0 - 180 "
                   "degree.";
        default: return geometry_text(code);
    }
}

}  // namespace

char* HM_VD_HPD_ask_error_message(int code) {
    const detail::SmBlock<char> unit(SM_string_copy(PART_ask_units(CONTEXT_ask_work_part()) == 0 ? "mm" : "inch"));
    char* text = nullptr;
    for (const Range& r : kRanges) {
        if (r.code != code) continue;
        if (r.length)
            text = SM_sprintf(r.format, hpd_mm(r.lower), hpd_mm(r.upper), unit ? unit.get() : "");
        else
            text = SM_sprintf(r.format, r.lower, r.upper);
        break;
    }
    if (!text) {
        if (code == 0)
            text = SM_string_copy("");
        else if (code >= -2 && code <= 39 && table_text(code))
            text = SM_string_copy(table_text(code));
        else
            text = SM_string_copy(kUnknown);
    }
    return text;
}

void HM_VD_HPD_display_failmessage(int code) {
    const char* selected = code == 40 ? kWidth : geometry_text(code);
    if (!selected) return;
    const detail::SmBlock<char> text(SM_string_copy(selected));
    if (!text) return;
    if (text[0] != '\0') {
        const char* lines[1] = {text.get()};
        if (code > 0)
            mtErrorDialog("Update Model Failed", lines, 1, true, nullptr, 0);
        else
            mtWarningDialog("Out of Geometry Limit", lines, 1, true, nullptr, 0);
    }
}

namespace carvell::occupant {

bool hpd_tracing() { return MACH__checking_level >= 1 && DEBUG_ask_key("VD_HPD"); }

void hpd_trace(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::printf("%s", line);
    ERROR_lprintf("%s", line);
}

}  // namespace carvell::occupant
