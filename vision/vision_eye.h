// The driver's eyes and head for the A-pillar analyses: E points beside the
// neck pivot, the horizontal angle measure, the sight angles to a target
// (turning the head when the eyes alone cannot reach), the spread of a
// sight-line pair by a limit angle, and the part's length factor.
#ifndef CARVELL_VISION_VISION_EYE_H
#define CARVELL_VISION_VISION_EYE_H

namespace carvell::vision {

// Millimetres to inches, as the tools have always written it.
constexpr double kInchPerMm = 0.03937007874015748;
// Forward offset of the E points from the neck pivot (mm): analysis mode 0
// and the closest-eye search, and modes 1 and 2 (sqrt(9759.75) = 98.79...).
constexpr double kEyeForwardMode0Mm = 98.0;
constexpr double kEyeForwardSquaredMode12Mm2 = 9759.75;
// Half the eye separation (mm) and its inch value as the tools store it.
constexpr double kHalfEyeSeparationMm = 32.5;
constexpr double kHalfEyeSeparationInch = 1.279527559055118;
// Eyes alone turn this far (degrees) in analysis mode 0 before the head turns.
constexpr double kEyeTurnLimitMode0Deg = 30.0;
constexpr double kTiny = 1.0e-10;

// Sight-angle results.
enum SightStatus { kSightOk = 0, kSightTooClose = 13, kSightEyeRange = 22 };

// 1 in a millimetre work part, kInchPerMm otherwise (no work part: 1).
double length_factor();
// The analysis mode of a rule set: 0 and 1 give 0, 2 gives 1, others 2.
int analysis_mode(int rule_set);

// E-point offsets in part units: forward d and half separation s.
struct EyeOffsets {
    double d;
    double s;
};
EyeOffsets eye_offsets(int mode, bool closest_eye_search = false);

// An E point with its forward and lateral directions (unit, horizontal).
struct EyePose {
    double e[3];
    double forward[3];
    double lateral[3];
};
// The E point of the side for the pivot P, head rotation a and eye rotation
// b (degrees, about the vertical, counter-clockwise seen from above).
EyePose e_point(int mode, const double pivot[3], int side, double a, double b);

// Signed angle from u to v about the vertical, vertical parts dropped,
// radians in [0, 2 pi); 0 when either is vertical.
double horizontal_angle(const double u[3], const double v[3]);

// The head rotation a and eye rotation b that aim the side's eye at the
// target. With head_turn off the head keeps *a and the eye alone must reach.
int sight_angles(int mode, const double pivot[3], const double target[3], int side, bool head_turn, double* a,
                 double* b);

// Spreads the pair found for the working side by the limit angle (degrees):
// a limit above 1e-10 changes nothing; otherwise *a and *b become the
// rotations that the spread asks of the working side.
void spread_by_limit(int mode, const double pivot[3], int side, double limit, const double target[3], double* a,
                     double* b);

}  // namespace carvell::vision

#endif
