// Fixed dimensions of the H-point design tool: the shoe and foot, the
// standard driver, the seat-height ranges of the two vehicle classes and the
// limits the tool accepts. Lengths are in millimetres (hpd_mm gives them in
// part units), angles in degrees unless the name says radians.
#ifndef CARVELL_OCCUPANT_HPD_CONSTANTS_H
#define CARVELL_OCCUPANT_HPD_CONSTANTS_H

#include "toolbox/detail/constants.h"

namespace carvell::occupant {

/* ---- angles ---- */

// The tool converts degrees and radians with the factors it has always used,
// so that the angles in its records, reports and spreadsheets agree with
// earlier results to the last digit (the reason is given with them).
using detail::kDegreesPerRadianAsUsed;
using detail::kPi;
using detail::kRadiansPerDegreeAsUsed;

/* ---- shoe and foot ---- */

// Length of the shoe's sole from the heel to the ball of foot.
constexpr double kShoeLengthMm = 200.0;
// The ankle of a level shoe: 81 mm in front of the heel (-L) and 107 mm above it.
constexpr double kAnkleForwardMm = 81.0;
constexpr double kAnkleUpMm = 107.0;
// The same heel-to-ankle offset as an arm: its length and its angle above the
// sole line.
constexpr double kAnkleArmMm = 134.2008;
constexpr double kAnkleArmDeg = 52.8738;
// Angle between the sole and the foot's reference direction.
constexpr double kFootTurnDeg = 6.5;
constexpr double kFootTurnRad = kFootTurnDeg * kRadiansPerDegreeAsUsed;

/* ---- standard driver ---- */

// Leg lengths (upper, lower) for which the standard formulas hold.
constexpr double kStandardUpperLegMm = 456.0;
constexpr double kStandardLowerLegMm = 459.0;
// Lateral offset of the right heel from the SgRP.
constexpr double kHeelLateralMm = 148.5;
// Pedal angle: 77 degrees at seat height 0, less 0.08 degree per millimetre
// of seat height. 77 degrees also bounds the pedal (foot) angle searches.
constexpr double kPedalAngleMaxDeg = 77.0;
constexpr double kPedalAnglePerMm = 0.08;

/* ---- seat heights (H30) of the vehicle classes ---- */

constexpr double kClassAMinH30Mm = 127.0;
constexpr double kClassAMaxH30Mm = 405.0;
constexpr double kClassBMinH30Mm = 405.0;
constexpr double kClassBMaxH30Mm = 530.0;

/* ---- limits ---- */

// Leg lengths the locked-ankle adjustments and the dialog accept.
constexpr double kLegMinMm = 250.0;
constexpr double kLegMaxMm = 550.0;
// The knee bends at most this far (180 degrees and a rounding allowance).
constexpr double kKneeLimitDeg = 180.00000000000009;
// A full turn as the tool has always reduced degrees: 360 plus three units
// in the last place. Kept so that reduced angles match the tool's results.
constexpr double kFullTurnDeg = 360.00000000000017;
// Tolerance of the tool's plane sections of pedal, floor and accelerator geometry.
constexpr double kSectionTolerance = 0.025;

}  // namespace carvell::occupant

#endif
