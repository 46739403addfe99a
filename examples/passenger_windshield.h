// The windshield of the windshield examples: a passenger car's glass raked
// 62 degrees from vertical, 1,450 mm wide across its middle and 950 mm from
// its bottom edge to its top edge, its middle row at (1200, 0, 950) + 475 mm
// up the slope, curved both ways (a radius of 4,000 mm across the car and of
// 2,000 mm from top to bottom: a patch of a torus about the slope line), with
// a dark band (ceramic frit) 100 mm inside its edge; the driver's eye (SAE
// J941 cyclops point of a left-hand drive car); and the FMVSS 104 / SAE J903
// test areas as planes through the eye. Vehicle frame = absolute frame, x
// rearward, y to the right, z up; millimetres.
#ifndef CARVELL_EXAMPLES_PASSENGER_WINDSHIELD_H
#define CARVELL_EXAMPLES_PASSENGER_WINDSHIELD_H

#include "host_testing.h"
#include "omvra.h"

#include <cmath>

namespace passenger_windshield {

using host_testing::Point3;

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDeg = kPi / 180.0;
inline constexpr double kRake = 62.0 * kDeg;          // from vertical
inline constexpr double kWidth = 1450.0;              // across the middle, along the glass
inline constexpr double kSlopeLength = 950.0;         // bottom to top, along the glass
inline constexpr double kRadiusAcross = 4000.0;
inline constexpr double kRadiusUp = 2000.0;
inline constexpr double kBand = 100.0;                // dark band inside the edge
inline const Point3 kBase = {1200.0, 0.0, 950.0};
inline const Point3 kEye = {2950.0, -370.0, 1150.0};

// Up the glass (rearward and up), the outward normal of the glass at its
// middle (forward and up), and the torus: about the slope line through
// `kCentre`, the tube of radius kRadiusUp turning about it at
// kRadiusAcross - kRadiusUp, so that its outer equator is the glass's middle
// row with the radius kRadiusAcross.
inline const Point3 kSlope = {std::sin(kRake), 0.0, std::cos(kRake)};
inline const Point3 kNormal = {-std::cos(kRake), 0.0, std::sin(kRake)};
inline const Point3 kMiddle = {kBase[0] + kSlopeLength / 2 * kSlope[0], 0.0,
                               kBase[2] + kSlopeLength / 2 * kSlope[2]};
inline const Point3 kCentre = {kMiddle[0] - kRadiusAcross * kNormal[0], 0.0,
                               kMiddle[2] - kRadiusAcross * kNormal[2]};
inline constexpr double kTubeCentre = kRadiusAcross - kRadiusUp;
// Half the turn across (at the middle row) and half the turn up the tube.
inline constexpr double kHalfAcross = kWidth / 2.0 / kRadiusAcross;
inline constexpr double kHalfUp = kSlopeLength / 2.0 / kRadiusUp;

// The glass point at the turn u about the slope line (+u towards -y, as the
// torus turns) and t along the glass from its bottom edge.
inline double tube_angle(double t) { return (t - kSlopeLength / 2.0) / kRadiusUp; }
inline double row_radius(double t) { return kTubeCentre + kRadiusUp * std::cos(tube_angle(t)); }
inline Point3 on_glass(double u, double t) {
    const double v = tube_angle(t), r = row_radius(t);
    Point3 p;
    for (int i = 0; i < 3; ++i)
        p[i] = kCentre[i] + r * (std::cos(u) * kNormal[i] - std::sin(u) * (i == 1 ? 1.0 : 0.0)) +
               kRadiusUp * std::sin(v) * kSlope[i];
    return p;
}
// The glass point s across its middle row (+y side positive) and t up from the bottom edge.
inline Point3 glass(double s, double t) { return on_glass(-s / kRadiusAcross, t); }

inline tag_t make_windshield() {
    const double centre[3] = {kCentre[0], kCentre[1], kCentre[2]};
    const double axis[3] = {kSlope[0], kSlope[1], kSlope[2]}, x_dir[3] = {kNormal[0], kNormal[1], kNormal[2]};
    const tag_t sheet = host_testing::make_toroidal_sheet(centre, axis, x_dir, kTubeCentre, kRadiusUp, -kHalfAcross,
                                                          kHalfAcross, -kHalfUp, kHalfUp);
    HM_OBJ_set_name(sheet, "WINDSHIELD");
    return sheet;
}

// A test area of FMVSS 104 / SAE J903: four planes through the eye at the
// angles (degrees) left, right, up and down of it, their normals pointing
// away from the area: left and right (vertical planes), then up and down.
inline void test_area_planes(double left, double right, double up, double down, double origins[4][3],
                             double normals[4][3]) {
    const double l = left * kDeg, r = right * kDeg, u = up * kDeg, d = down * kDeg;
    const double n[4][3] = {{std::sin(l), -std::cos(l), 0.0},
                            {std::sin(r), std::cos(r), 0.0},
                            {std::sin(u), 0.0, std::cos(u)},
                            {std::sin(d), 0.0, -std::cos(d)}};
    for (int p = 0; p < 4; ++p)
        for (int i = 0; i < 3; ++i) {
            origins[p][i] = kEye[i];
            normals[p][i] = n[p][i];
        }
}

}  // namespace passenger_windshield

#endif
