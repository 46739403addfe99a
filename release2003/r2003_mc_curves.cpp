// Curves of the 2003 certification engine: joined polylines, the eyellipse
// conics and an outline seen from the eye on a plane. The drawing is the
// current engine's (mirror_curves_core.h); the 2003 engine reports no texts.
#include "r2003_mirror.h"

#include "mirror/mirror_curves_core.h"

namespace carvell::r2003 {
namespace {

namespace curves = carvell::mirror::curves;

int quiet(const char*, int status) { return status; }

}  // namespace

int mc_create_joined_polyline(const double (*points)[3], int n, tag_t* curve) {
    return curves::joined_polyline(points, n, curve, quiet);
}

int mc_create_ellipse_conic(const double centre[3], double a, const double a_direction[3], double b,
                            const double b_direction[3], double start, double end, tag_t* conic) {
    return curves::ellipse_conic(centre, a, a_direction, b, b_direction, start, end, conic);
}

int mc_project_outline_to_plane(const double eye[3], const mc_geometry_set_s* set, tag_t plane, int* count,
                                tag_t** out) {
    if (!set || !set->points) return -1;
    // The 2003 outline is a smooth loop of samples: its only break is where
    // its ends meet.
    const int ends[2] = {0, set->point_count - 1};
    return curves::project_points_to_plane(eye, set->point_count, set->points, 2, ends, plane, count, out, quiet);
}

}  // namespace carvell::r2003
