// What the sources of stone impingement share: the run's static work arrays,
// the pure cores of the tire model and the contours, and the result curve
// maker.
#ifndef CARVELL_STONE_SI_INTERNAL_H
#define CARVELL_STONE_SI_INTERNAL_H

#include "hm_vd_si.h"

#include <array>
#include <vector>

namespace carvell::stone {

constexpr int kSections = SI_SECTION_COUNT;
constexpr int kStones = SI_STONE_COUNT;
constexpr int kFanSections = 45;
constexpr double kFanStartDeg = 3.0;
constexpr double kTurnStepDeg = 1.5;
// A tangent elevation up to this (1.5 degrees, in radians) builds no fan.
constexpr double kNoFanElevationRad = 0.026179938779914924;
// Elevation taken for a tangent with no forward component: just under pi/2.
constexpr double kSteepElevationRad = 1.5707963267948954;
constexpr double kDegPerRad = 57.29577951308235;
// Two impact angles closer than this interpolate to the first stone.
constexpr double kAngleResolution = 0.01;
// Stones landing at this impact angle (degrees) or lower are dropped.
constexpr double kGrazingLimitDeg = 1.0;
// Stones closer than this laterally (millimetres) on the face count once.
constexpr double kStoneSpacingMm = 0.4999999999;
// The sections of a face stop once every stone lands this far (degrees)
// above the largest contour angle.
constexpr double kStopMarginDeg = 5.0;

// Status codes of the steps.
enum Status {
    kTireMatrix = 101,
    kTireArc = 102,
    kTireLaunchPoint = 103,
    kTireRadial = 104,
    kTireFan = 105,
    kTirePlane = 109,
    kTireBadSize = 110,
    kStoneGrazing = -302,
    kImpactNoParm = -401,
    kImpactNoProps = -402,
    kBackProjectionMissed = -502,
    kResultNoPoints = -700,
    kResultNoSpline = -701,
    kResultNoPoint = -702,
    kResultNoColour = -703,
    kLabelNoPointPosition = -705,
    kLabelNoCurvePosition = -706,
    kLabelNotMade = -707,
    kLabelNoFrame = -708,
};

// Name codes of the result curve maker.
constexpr int kNameOuter = -1;
constexpr int kNoName = -2;

// The run's work arrays: static, overwritten by every run.
struct WorkArrays {
    double centre[3];
    double directions[kSections][3];
    double tire_points[kSections][kStones][3];
    double stone_points[kSections][kStones][3];
    double stone_angles[kSections][kStones];
    int stone_counts[kSections];
    double blocking_points[SI_MAX_BLOCKING][kSections][3];
    int blocking_counts[SI_MAX_BLOCKING];
    double contour_angles[SI_MAX_CONTOUR_ANGLES];
    int contour_angle_count;
};
WorkArrays& work();

// The tire fan: the 85 throw directions for a tangent t (unit, in the x-z
// plane) and the index of the tangent section (45 with a fan, 0 without).
int tire_directions(const double tangent[3], double tolerance, double directions[kSections][3]);

// One contour line: its points and the radial sections it spans.
struct ContourLine {
    std::vector<std::array<double, 3>> points;
    int first_section = 0;
    int last_section = 0;
};
// The contour lines of one angle over the stones of a face; *two_lines set
// when the angle gave more than one line or a section held two chains.
std::vector<ContourLine> contour_lines(double angle, const int counts[], double points[][kStones][3],
                                       double angles[][kStones], bool* several);

// A result curve (point object for one point, degree-1 spline for more,
// projected onto the face when one is given), coloured, named and labelled
// unless name is kNoName. *out_curve always written.
int make_result_curve(tag_t face, int n, const double (*points)[3], tag_t curve, int colour, int name,
                      tag_t* out_curve, tag_t* out_label);

// Projects the curves onto the target: mode 0 along the direction, 1 along
// the target's normals. *out an SM_calloc'd array (the caller frees it and
// deletes the curves). 0 or the host's code.
int project_curves(int n, const tag_t* curves, tag_t target, int mode, const double direction[3], int* count,
                   tag_t** out);

}  // namespace carvell::stone

#endif
