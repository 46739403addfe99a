// The tire model of a stone-impingement run: the wheel centre, the tire's
// mid-plane and 85 radial sections of 50 stone start points across the
// tread, each with one throw direction. The first sections fan out from the
// launch point at rising elevation; the rest are the launch line turned
// about the axle in 1.5-degree steps, thrown along the tire's tangent.
#include "si_internal.h"

#include "toolbox/detail/owners.h"

#include "morvish.h"
#include "omvra.h"

#include <cmath>

namespace carvell::stone {

WorkArrays& work() {
    static WorkArrays arrays;
    return arrays;
}

namespace {
void unit2(double x, double z, double out[3]) {
    const double m = std::sqrt(x * x + z * z);
    out[0] = x / m;
    out[1] = 0.0;
    out[2] = z / m;
}
}  // namespace

int tire_directions(const double t[3], double tolerance, double dirs[kSections][3]) {
    const double e = t[0] <= tolerance ? kSteepElevationRad : std::atan2(t[2], t[0]);
    int index = 0;
    if (e > kNoFanElevationRad) {
        // Even cotangent steps for the first 25 sections, shrinking after,
        // from 3 degrees towards the tangent's elevation.
        const double c0 = 1.0 / std::tan(kFanStartDeg / kDegPerRad);
        const double ce = 1.0 / std::tan(e);
        const double d = (c0 - ce) / kFanSections;
        const double a = 0.7 * d, b = 0.2 * d, g = a + b;
        const double k0 = (a - b) * kFanSections / g;
        double c = c0;
        for (int i = 0; i < kFanSections; ++i) {
            unit2(c, 1.0, dirs[i]);
            c -= (d - a) + (i < k0 ? g : (kFanSections - 1 - i) * g / (kFanSections - k0 - 1));
        }
        index = kFanSections;
    }
    const int tangent_index = index;
    for (int k = 0; tangent_index + k < kSections; ++k) {
        const double turn = k * kTurnStepDeg / kDegPerRad;
        const double x = t[0] * std::cos(turn) - t[2] * std::sin(turn);
        const double z = t[0] * std::sin(turn) + t[2] * std::cos(turn);
        dirs[tangent_index + k][0] = x;
        dirs[tangent_index + k][1] = t[1];
        dirs[tangent_index + k][2] = z;
    }
    return tangent_index;
}

}  // namespace carvell::stone

using namespace carvell::stone;

namespace {

bool finite_positive(double v) { return std::isfinite(v) && v > 0.0; }

// The tire's half circle in the x-z plane through C, bottom to top via +x.
int make_tire_arc(const double c[3], double radius, tag_t* matrix, tag_t* arc) {
    const double values[9] = {0, 0, -1, 1, 0, 0, 0, -1, 0};
    if (HM_CSYS_create_matrix(values, matrix) != 0 || *matrix == 0) return kTireMatrix;
    HM_CURVE_arc_t a{};
    a.matrix_tag = *matrix;
    a.start_angle = 0.0;
    a.end_angle = M_PI;
    // The centre in the matrix's coordinates: components along its rows.
    a.arc_center[0] = -c[2];
    a.arc_center[1] = c[0];
    a.arc_center[2] = -c[1];
    a.radius = radius;
    if (HM_CURVE_create_arc(&a, arc) != 0 || *arc == 0) return kTireArc;
    return 0;
}

int build_sections(const si_data_s* rec, const double c[3], tag_t arc, double dirs[][3],
                   double points[][kStones][3]) {
    const double r = rec->tire_diameter / 2.0;
    const bool left = rec->options[SI_OPT_LEFT_SIDE] != 0;
    double launch[3] = {c[0] + std::sqrt(r * r - rec->launch_offset * rec->launch_offset), c[1],
                        rec->launch_height};
    double parm = 0.0, on_arc[3];
    if (HM_MODL_ask_curve_parm(arc, launch, &parm, on_arc) != 0) return kTireLaunchPoint;
    double radial[3] = {on_arc[0] - c[0], on_arc[1] - c[1], on_arc[2] - c[2]}, u[3], mag = 0.0;
    if (HM_VEC3_unitize(radial, rec->tolerances[4], &mag, u) != 0 || mag <= rec->tolerances[4]) return kTireRadial;
    const double y_axis[3] = {0, 1, 0};
    double t[3];
    HM_VEC3_cross(u, y_axis, t);
    const double s = (left ? 1.0 : -1.0) * rec->tread_width / (kStones - 1);
    const int tangent_index = tire_directions(t, rec->tolerances[4], dirs);
    const double axis[3] = {0, -1, 0};
    for (int k = 0; k < kSections; ++k) {
        const int turn = k > tangent_index ? k - tangent_index : 0;
        double mtx[16];
        HM_MTX4_rotation(c, axis, turn * kTurnStepDeg, mtx);
        for (int i = 0; i < kStones; ++i) {
            const double p[3] = {on_arc[0], on_arc[1] + i * s, on_arc[2]};
            if (turn == 0) {
                for (int j = 0; j < 3; ++j) points[k][i][j] = p[j];
            } else {
                HM_MTX4_vec3_multiply(p, mtx, points[k][i]);
            }
        }
    }
    return 0;
}

}  // namespace

int HM_VD_SI_gen_tire_data(si_data_s* rec, double centre[3], double directions[][3], double* step,
                           double points[][kStones][3], tag_t* plane) {
    if (!rec || !centre || !directions || !step || !points || !plane || !rec->wheel_centre) return -1;
    *plane = 0;
    if (!finite_positive(rec->tire_diameter) || !finite_positive(rec->tread_width) ||
        !std::isfinite(rec->launch_offset) || !std::isfinite(rec->launch_height) || !std::isfinite(rec->lateral_base))
        return kTireBadSize;
    if (std::fabs(rec->launch_offset) > rec->tire_diameter / 2.0) return kTireLaunchPoint;
    const bool left = rec->options[SI_OPT_LEFT_SIDE] != 0;
    centre[0] = rec->wheel_centre[0];
    centre[1] = (rec->lateral_base + rec->tread_width) / 2.0 * (left ? -1.0 : 1.0);
    centre[2] = rec->wheel_centre[2];
    *step = rec->tread_width / (kStones - 1);
    tag_t matrix = 0, arc = 0;
    int status = make_tire_arc(centre, rec->tire_diameter / 2.0, &matrix, &arc);
    if (status == 0) status = build_sections(rec, centre, arc, directions, points);
    if (status == 0) {
        const double normal[3] = {0, 1, 0};
        if (HM_MODL_create_plane(centre, normal, plane) != 0 || *plane == 0) status = kTirePlane;
    }
    if (matrix) UPDATE_log_entity_to_delete(matrix);
    carvell::detail::delete_if_alive(arc);
    return status;
}
