// Shared internals of the reflection and refraction data tool: the search
// context, the per-point searches on a plane or on faces and their tests.
#ifndef CARVELL_VISION_VISION_RD_H
#define CARVELL_VISION_VISION_RD_H

#include "host_types.h"

#include <array>
#include <initializer_list>
#include <vector>

namespace carvell::vision {

// Kind of the surface, by its first object.
enum RdKind { kRdPlane = 0, kRdFaces = 1, kRdDatum = 2 };

// Most bisection steps of one search.
constexpr int kRdMaxSteps = 10000;

// What every search of one call shares.
struct RdContext {
    std::vector<tag_t> surfaces;
    std::vector<std::array<double, 4>> uv;   // umin, umax, vmin, vmax of each face (faces only)
    int kind = kRdFaces;
    bool rear = false;         // the objects given are the glass's rear face
    double eye[3] = {0, 0, 0};
    double index = 1.0;        // refraction index
    double thickness = 0.0;    // plate thickness (reflection: the offset distance)
    double eps1 = 0.0;         // angle tolerance (degrees)
    double eps2 = 0.1;         // distance tolerance of the search
};

// The check of the surface and source arrays a caller hands the tool's
// exports: counts that an array can have (not negative), arrays present.
bool rd_objects_usable(int n_surfaces, const tag_t* surfaces, int n_sources, const tag_t* sources);
// The one check of what a caller hands the search exports: the arrays as
// rd_objects_usable, the eye and the
// numbers (offset, thickness, index, angle tolerance) finite and inside the
// model space, and no more than HM_VD_RD_MAX_POINTS points per source.
bool rd_input_usable(int n_surfaces, const tag_t* surfaces, int n_sources, const tag_t* sources, const double eye[3],
                     int n_points, std::initializer_list<double> numbers);

// Fills the kind, the faces' parameter boxes and eps2 (0.1 in a metric work
// part, 0.004 otherwise) for the surfaces.
void rd_prepare_context(int n_surfaces, const tag_t* surfaces, RdContext& ctx);

// One light path from the input point A to the eye B.
struct RdPath {
    double input[3] = {0, 0, 0};
    double surface[3] = {0, 0, 0};   // reflection point, or the mirror point on the rear face
    double entry[3] = {0, 0, 0};
    double exit[3] = {0, 0, 0};
    bool found = false;
};

// The reflection point of A seen from the eye (offset by the thickness
// towards the viewer when the rear flag is set); false when none is found.
bool HM_VD_RD_create_reflect_point(const RdContext& ctx, const double a[3], double reflect[3]);
// Mirror, entry and exit points of the path through a glass plate; all
// zero when not found.
bool rd_create_refract_point(const RdContext& ctx, const double a[3], double mirror[3], double entry[3],
                             double exit[3]);
// True when A and B lie on the same side of the object.
bool HM_VD_judge_point_in_faceside(const double a[3], const double b[3], tag_t object);
// The search bracket on the segment AB: 0 both ends on faces, 1 point1 is
// A, 2 point2 is B, 3 neither, 4 no bracket; the directions from the bracket
// ends to the surface.
int HM_VD_judge_proj_line_in_face(const RdContext& ctx, const double a[3], const double b[3], double point1[3],
                                  double point2[3], double dir1[3], double dir2[3]);

// Bidirectional bubble sort of the reflection tool (the visibility tool's).
void rd_sort_reals(int n, double* values);

}  // namespace carvell::vision

#endif
