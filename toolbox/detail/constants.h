// Numeric constants shared by the families, with their units in their names.
#ifndef CARVELL_TOOLBOX_DETAIL_CONSTANTS_H
#define CARVELL_TOOLBOX_DETAIL_CONSTANTS_H

namespace carvell::detail {

constexpr double kPi = 3.14159265358979323846;

// The nearest doubles to 180 / pi and pi / 180.
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;
static_assert(kDegreesPerRadian == 180.0 / kPi && kRadiansPerDegree == kPi / 180.0,
              "the exact conversion factors are the nearest doubles");

// The conversion factors that the vector rotations, the H-point design tool
// and the vision tools have always used: four units in the last place away
// from the nearest doubles (larger in degrees per radian, smaller in radians
// per degree). Angles written to records, reports and spreadsheets, and the
// rotations built from them, agree with earlier results to the last digit
// only with these, so those tools keep them; new code uses the exact ones.
constexpr double kDegreesPerRadianAsUsed = 57.29577951308235;
constexpr double kRadiansPerDegreeAsUsed = 0.01745329251994328;

}  // namespace carvell::detail

#endif
