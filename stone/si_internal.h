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

// Whether a stone landing at this impact angle (degrees) is dropped.
inline bool is_grazing(double impact_deg) { return impact_deg <= kGrazingLimitDeg; }

// The run's error log: a non-zero status is appended (while there is room);
// true when the run must end (a positive status, or the log full).
bool log_status(si_data_s* rec, int status);
// The run's answer from its log: with the log full, 5 written into its last
// slot and answered; else its last entry, or 0 when it is empty.
int run_result(si_data_s* rec);

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

// The landing points of the stones lo .. hi of one radial section (its
// launch points and throw direction) on the face, in order. Defined once per
// release (si_landing.cpp in this one). 0.
int land_section(const si_data_s* rec, int lo, int hi, double points[][3], const double d[3], tag_t face,
                 std::vector<std::array<double, 3>>& kept);

// How this release draws its results, defined once per release
// (si_result_style.cpp in this one): whether a run whose mode is not 0
// builds band sheets (else areas), and the result curve maker.
bool si_builds_bands(const si_data_s* rec);
// A result curve (point object for one point, degree-1 spline for more,
// projected onto the face when one is given), coloured, named and labelled
// unless name is kNoName. *out_curve always written.
int make_result_curve(tag_t face, int n, const double (*points)[3], tag_t curve, int colour, int name,
                      tag_t* out_curve, tag_t* out_label);

// Projects the curves onto the target: mode 0 along the direction, 1 along
// the target's normals; a piece the host gives twice is kept once. *out an
// SM_calloc'd array (the caller frees it and deletes the curves). 0 or the
// host's code.
int project_curves(int n, const tag_t* curves, tag_t target, int mode, const double direction[3], int* count,
                   tag_t** out);

// The stone thrown from p along the unit direction d onto the face: its
// nearest forward hit, written to out and *best (its distance) with *hit
// set when it is the first or nearer than *best. The host's status.
int project_onto_face(const double p[3], const double d[3], tag_t face, double out[3], bool* hit, double* best);

using Point = std::array<double, 3>;
using Points = std::vector<Point>;

// Colour and layers of the area and band results.
constexpr int kAreaCurveColour = 1;
constexpr int kAreaListLayer = 99;
constexpr int kAreaLoopLayer = 98;
// Interval polylines shorter than this many distance tolerances are dropped.
constexpr double kShortestPolylineTolerances = 5.0;
// Contour records of one angle: equal within this.
constexpr double kSameAngle = 1.0e-10;

// The point where the angle reaches c between two stones: linear, or the
// first stone when the two angles differ by less than 0.01.
Point reach_angle(double c, const double pa[3], double aa, const double pb[3], double ab);

// The points of one section that bound the interval (lo, hi): the stones
// inside it with the edge crossings before and after, or, when none lies
// inside, the rising crossings of lo and hi. Empty for fewer than 2 stones.
Points interval_polyline_points(int n, const double points[][3], const double angles[], double lo, double hi);

// A plain result curve through the points (colour 1, no name, no face): a
// point object for one point, a degree-1 spline for more; 0 when none.
tag_t plain_curve(const Points& points);

// The integer a result's name reads as: its leading decimal digits (with a
// sign), 0 when it starts with none ("OUTER" reads as 0). False when the
// name cannot be asked or is empty.
bool name_as_integer(tag_t object, long* value);

// Predicates over curves made through points, within the tolerance.
Points thru_points(tag_t curve);   // the defining points; none when the host kept none
bool same_point(const Point& a, const Point& b, double tolerance);
bool splines_have_same_ends(tag_t a, tag_t b, double tolerance);
bool curves_share_point(tag_t a, tag_t b, double tolerance);
// Index of the first curve of the list with a defining point at p; -1 when none.
int curve_ends_on_list(const std::vector<tag_t>& list, const Point& p, double tolerance);
// The curves of b that share a defining point with some curve of a.
std::vector<tag_t> touching_curves(const std::vector<tag_t>& a, const std::vector<tag_t>& b, double tolerance);
// The curves whose name, read as an integer, is the whole part of the value
// (the rule contours are named by).
std::vector<tag_t> curves_by_angle(const std::vector<tag_t>& list, double value);
// Whether a polyline with values per point reaches the value at the point.
bool polyline_crosses_at_point(const Point& p, double value, int n, const double points[][3], const double values[],
                               double tolerance);
// Whether the point's x lies strictly between the x of the stones of the two
// sections nearest to it; false when either section is empty.
bool section_ends_between(int r0, int r1, const Point& p, const int counts[], double points[][kStones][3]);
// Index of the point of the array nearest to p (the first of equals); -1 for none.
int nearest_point_in_array(const Point& p, int n, const double points[][3]);
// x of the curve at the middle of its parameter range.
double curve_mid_x(tag_t curve);

// The stones of a face, as the run holds them.
struct FaceStones {
    const int* counts;
    double (*points)[kStones][3];
    double (*angles)[kStones];
};

// Areas between neighbouring contour angles: sizes, mid-angles and the
// flat list of their curves (a new list; null when no area results).
struct Areas {
    int count = 0;
    int* sizes = nullptr;        // SM_alloc'd
    double* mid_angles = nullptr;// SM_alloc'd
    hm_list_p_t list = nullptr;
};
int build_areas(const FaceStones& stones, const double contour_angles[], int angle_count,
                const std::vector<tag_t>& contours, Areas* areas);

// Band sheets between the contour lines of neighbouring angles, into the
// band list: the last band status. The general pairing sets *attempted when
// it tried a band.
struct BandStyle {
    int colour_count;
    const int* colours;
    int face_colour;
    bool grids;
};
int pair_bands_simple(tag_t face, const double angles[], int angle_count, const BandStyle& style,
                      const si_contour_record* records, int record_count, hm_list_p_t bands);
int pair_bands_general(tag_t face, const double angles[], int angle_count, const BandStyle& style,
                       const si_contour_record* records, int record_count, hm_list_p_t bands, bool* attempted);
// One band sheet between contour curves a and b on the face: the trim's
// status, *sheet the coloured copy (0 when none was made).
int band_patch(tag_t a, tag_t b, tag_t face, int colour, bool grid, int u, int v, tag_t* sheet);

}  // namespace carvell::stone

#endif
