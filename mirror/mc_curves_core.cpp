// Curves that both certification engines draw: joined polylines, eyellipse
// conics and outlines seen from the eye on a plane.
#include "mirror_curves_core.h"

#include "hm_vd/curve_utils.h"
#include "hm_vd_curve.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace carvell::mirror::curves {
namespace {

constexpr int kJoinType = 2;
constexpr double kLengthGuard = 1e-10;
// Consecutive polyline points this close (part units) are one point: the
// piece between them would be a line of length 0, which no join takes.
constexpr double kRepeatedPointDistance = 1e-12;

}  // namespace

int joined_polyline(const double (*points)[3], int n, tag_t* curve, optics::Reporter report) {
    if (!points || !curve) return -1;
    detail::HostList lines;
    if (n < 2 || HM_MODL_create_list(lines.out()) != 0) return report("Fail to create a curve list.\n", 1);
    // A repeated point is refused before any line is made: the host would
    // make the line of length 0 between the two.
    for (int i = 0; i + 1 < n; ++i)
        if (!(detail::distance3(points[i], points[i + 1]) > kRepeatedPointDistance))
            return report("Fail to create a line.\n", 2);
    detail::Temporaries pieces;
    for (int i = 0; i + 1 < n; ++i) {
        HM_CURVE_line_t data{};
        std::copy(points[i], points[i] + 3, data.start_point);
        std::copy(points[i + 1], points[i + 1] + 3, data.end_point);
        tag_t line = NULL_TAG;
        if (HM_CURVE_create_line(&data, &line) != 0) return report("Fail to create a line.\n", 2);
        if (HM_MODL_put_list_item(lines.get(), pieces.add(line)) != 0) return 3;
    }
    tag_t joined = NULL_TAG;
    if (HM_CURVE_create_joined_curve(lines.get(), kJoinType, &joined) != 0 || joined == NULL_TAG) return 4;
    *curve = joined;
    return 0;
}

int ellipse_conic(const double centre[3], double a, const double a_direction[3], double b,
                  const double b_direction[3], double start, double end, tag_t* conic) {
    if (end < start) return -1;
    const double range[2] = {start, end};
    return HM_VD_curve_create_ellipse(centre, a, a_direction, b, b_direction, range, conic);
}

int project_points_to_plane(const double eye[3], int n, const double* const* points, int break_count,
                            const int* breaks, tag_t plane, int* count, tag_t** curves, optics::Reporter report) {
    if (!eye || !points || !count || !curves || n < 1) return -1;
    double origin[3], normal[3];
    if (hm5375(plane, origin, normal) != 0) return -1;
    auto height = [&](const double p[3]) {
        return (p[0] - origin[0]) * normal[0] + (p[1] - origin[1]) * normal[1] + (p[2] - origin[2]) * normal[2];
    };
    const double eye_height = height(eye);
    std::vector<double> projected;
    projected.reserve(3 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double* p = points[i];
        // The sight line from the eye through p meets the plane at eye + s (p - eye).
        const double denominator = eye_height - height(p);
        if (std::fabs(denominator) <= kLengthGuard) return report("Fail to project the outline on the plane.\n", -1);
        const double s = eye_height / denominator;
        for (int k = 0; k < 3; ++k) projected.push_back(eye[k] + s * (p[k] - eye[k]));
    }
    tag_t spline = NULL_TAG;
    const int status = HM_VD_create_closed_spline_c0(n, projected.data(), break_count, breaks, &spline);
    if (status != 0 || spline == NULL_TAG) {
        detail::delete_if_alive(spline);
        return status != 0 ? status : -1;
    }
    *curves = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
    if (!*curves) {
        detail::delete_if_alive(spline);
        return -1;
    }
    (*curves)[0] = spline;
    *count = 1;
    return 0;
}

}  // namespace carvell::mirror::curves
