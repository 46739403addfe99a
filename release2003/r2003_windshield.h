// What the 2003 release's windshield functions share: the display and
// tolerance settings held for the length of an export, the checks of their
// input, and the older operations on the glass faces (points along the glass,
// sphere sections, circle ends, the wiped-band test).
#ifndef CARVELL_RELEASE2003_R2003_WINDSHIELD_H
#define CARVELL_RELEASE2003_R2003_WINDSHIELD_H

#include "host_types.h"

#include <vector>

namespace carvell::r2003 {

using Points = std::vector<std::vector<double>>;

// A wiped outline of this many curves is the ring round two wipers' bands
// (7 when the outer circles touch in mode 1).
constexpr int kRingCurvesTouching = 7;
constexpr int kRingCurves = 8;
inline bool is_ring(int curve_count) { return curve_count == kRingCurvesTouching || curve_count == kRingCurves; }

// The display switched off (left on at checking level 1 and above) until the
// owner goes, then on again.
class DisplayOff {
public:
    DisplayOff();
    ~DisplayOff();
    DisplayOff(const DisplayOff&) = delete;
    DisplayOff& operator=(const DisplayOff&) = delete;
};

// The part's distance tolerance raised by the factor until the owner goes,
// then set back to what it was.
class RaisedTolerance {
public:
    explicit RaisedTolerance(double factor);
    ~RaisedTolerance();
    RaisedTolerance(const RaisedTolerance&) = delete;
    RaisedTolerance& operator=(const RaisedTolerance&) = delete;

private:
    double saved_ = 0.0;
};

// Whether the faces can be read: a count of 1 or more, an array, live faces.
bool faces_usable(int face_count, const tag_t* faces);
// Whether the n values are finite and within the model space (a null array: false).
bool numbers_usable(const double* values, int n);
// Whether the four planes of a test area can be made: origins and normals
// given and usable numbers, no normal zero.
bool planes_usable(const double origins[4][3], const double normals[4][3]);
// Whether points_per_curve gives a curve its two ends and no more points
// than a curve may have.
bool point_count_usable(int points_per_curve);

// The curves joined into one with the distance tolerance raised a
// hundredfold: the curves of their first loop (closed loops first), joined
// with the join mode; one curve is answered as it is. 0 when they do not
// join. The pieces stay (the caller disposes of them).
tag_t join_first_loop(const std::vector<tag_t>& curves, int join_mode);

// n points on the straight line p1 to p2 at equal steps, each moved to the
// nearest point of the nearest face (faces farther than 10000 leave it on
// the line).
Points ws_old_points_on_faces_between(int face_count, const tag_t* faces, const double p1[3], const double p2[3],
                                      int n);
// Whether the sheet's edges (their ends and points along them) lie on both
// sides of the plane.
bool ws_old_plane_crosses_edges(tag_t sheet, tag_t plane);
// The section of the faces with a sphere of the diameter about the centre,
// as one curve (several pieces joined, the pieces deleted); 0 when there is
// none or the diameter is not positive. The sphere is logged for deletion.
tag_t ws_old_sphere_section(int face_count, const tag_t* faces, const double centre[3], double diameter);
// An end of the curve judged by the sums S (start) and E (end) of its
// distances to p1 and p2: which 1 answers the farther end (the end when
// E >= S), any other value the nearer one (the end when E <= S). 0 or the
// host's code.
int ws_old_curve_end(tag_t curve, const double p1[3], const double p2[3], int which, double point[3]);
// Whether the point (mapped in place from the work coordinates into the
// absolute frame of the pivots) lies on the +z side of the horizontal plane
// through pivot 1 and strictly within the band A - B/2 < d < A + B/2 of its
// distance d to pivot 1; for an outline of 7 or 8 curves, to the nearer
// pivot (pick_nearer 1), else to pivot 1 (use_first 1) or pivot 2.
bool ws_old_point_in_wiped_band(double point[3], int curve_count, int pick_nearer, int use_first, double arm_length,
                                double blade_length, const double pivot1[3], const double pivot2[3]);

}  // namespace carvell::r2003

#endif
