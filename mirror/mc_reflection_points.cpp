// Reflection points: where on the mirror an eye sees the point straight
// behind it (a ray leaving the mirror along +x), on a plane or a sphere.
#include "mirror_flow.h"

#include "hm_vd/vectors.h"
#include "omvra.h"

#include <cmath>

namespace carvell::mirror {
namespace {

// The bisection's degree factor, as the search has always used it.
constexpr double kSearchDegreesPerRadian = 57.29577951471995;
constexpr double kHalfTurnBound = 3.1415926535;
constexpr double kParallel = 1e-6;
constexpr double kUnitTolerance = 1e-10;
constexpr double kSphereCurvature = 1e-10;
constexpr int kBisectionSteps = 100;

void sub(const double a[3], const double b[3], double out[3]) {
    for (int i = 0; i < 3; ++i) out[i] = a[i] - b[i];
}

double dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

void mc_sphere_reflection_point(const double centre[3], double radius, const double point[3],
                                const double direction[3], double out[3]) {
    double d[3], n[3];
    sub(point, centre, d);
    (void)HM_VEC3_cross(direction, d, n);
    double length = 0.0;
    (void)HM_VEC3_mag(d, &length);
    // A point inside the sphere sees no outside; take the half range as a whole quarter turn.
    const double ratio = length > 0.0 ? std::fmin(1.0, radius / length) : 1.0;
    const double half_range = std::acos(ratio);
    double lower = -half_range, upper = half_range;
    double p[3] = {0, 0, 0};
    for (int step = 0; step < kBisectionSteps; ++step) {
        const double theta = 0.5 * (lower + upper);
        double turned[3], u[3], magnitude = 0.0;
        HM_VD_vec3_rotate(d, n, theta * kSearchDegreesPerRadian, turned);
        if (HM_VEC3_unitize(turned, kUnitTolerance, &magnitude, u) != 0) break;
        for (int i = 0; i < 3; ++i) p[i] = radius * u[i];
        double to_point[3], angle = 0.0, reflected[3];
        sub(d, p, to_point);
        (void)HM_VEC3_angle_between(p, to_point, n, &angle);
        HM_VD_vec3_rotate(p, n, -angle * kSearchDegreesPerRadian, reflected);
        int parallel = 0;
        (void)HM_VEC3_is_parallel(direction, reflected, kParallel, &parallel);
        if (parallel && dot(direction, reflected) > 0.0) break;
        double off = 0.0;
        (void)HM_VEC3_angle_between(direction, reflected, n, &off);
        if (off < kHalfTurnBound) upper = theta;
        else lower = theta;
    }
    for (int i = 0; i < 3; ++i) out[i] = centre[i] + p[i];
}

void mc_mirror_reflection_point(const mc_mirror_surface_record* mirror, const double eye[3], double point[3]) {
    const double behind[3] = {1.0, 0.0, 0.0};
    if (std::fabs(mirror->curvature) > kSphereCurvature) {
        mc_sphere_reflection_point(mirror->centre, mirror->radius, eye, behind, point);
        return;
    }
    // The eye's image through the plane; the ray leaving along +x comes from it.
    double offset[3];
    sub(eye, mirror->vertex, offset);
    const double along = dot(offset, mirror->normal);
    double image[3];
    for (int i = 0; i < 3; ++i) image[i] = eye[i] - 2.0 * along * mirror->normal[i];
    if (HM_VD_ask_intersect_point_of_plane_and_line(image, behind, mirror->vertex, mirror->normal, point) != 0)
        for (int i = 0; i < 3; ++i) point[i] = mirror->vertex[i];
}

}  // namespace carvell::mirror
