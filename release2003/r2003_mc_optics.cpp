// Mirror optics of the 2003 certification engine: the reflection point of an
// eye and a target, the reflected sight ray, the aim rotation of a mirror and
// the head turn of the eyes, on the 2003 records. The optics are those of the
// current engine (mirror_optics_core.h); the 2003 engine reports no texts,
// only its status codes, and takes the foot of a target lying on the mirror
// along the mirror normal nearest the eye.
#include "r2003_mirror.h"

#include "hm_vd_mc.h"
#include "omvra.h"
#include "mirror/mirror_optics_core.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"

#include <cmath>
#include <cstring>

namespace carvell::r2003 {
namespace {

namespace optics = carvell::mirror::optics;

int quiet(const char*, int status) { return status; }

optics::Surface surface_of(const mc_mirror_surface_s& mirror) {
    optics::Surface s{mirror.curvature, mirror.radius, {}, {}};
    std::memcpy(s.vertex, mirror.vertex, sizeof s.vertex);
    std::memcpy(s.normal, mirror.normal, sizeof s.normal);
    return s;
}

bool surface_is_finite(const mc_mirror_surface_s& mirror) {
    return detail::finite3(mirror.centre) && std::isfinite(mirror.curvature) && std::isfinite(mirror.radius) &&
           detail::finite3(mirror.vertex) && detail::finite3(mirror.normal);
}

bool optics_input(const double tolerances[2], const mc_mirror_surface_s* mirror, const double a[3],
                  const double b[3]) {
    return tolerances && mirror && a && b && detail::all_finite(tolerances, 2) && surface_is_finite(*mirror) &&
           detail::finite3(a) && detail::finite3(b);
}

}  // namespace

int mc_ask_mirror_aim_rotation(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                               const double mirror_normal[3], int target_kind, const double eye[3],
                               const double target[3], double matrix[12]) {
    if (!tolerances || !pivot || !mirror_point || !mirror_normal || !eye || !target || !matrix) return -1;
    if (!detail::all_finite(tolerances, 2) || !detail::finite3(pivot) || !detail::finite3(mirror_point) ||
        !detail::finite3(mirror_normal) || !detail::finite3(eye) || !detail::finite3(target))
        return -1;
    return optics::aim_plane_mirror(tolerances, pivot, mirror_point, mirror_normal, target_kind, eye, target, matrix,
                                    quiet);
}

int mc_apply_head_rotation(const mc_data_2003_s* data, const double eyes[3][3], const double pivot[3],
                           const double target[3], double out_eyes[3][3], double* angle, unsigned char* rotated) {
    if (!data || !eyes || !pivot || !target || !out_eyes || !angle || !rotated) return -1;
    bool turned = false;
    optics::apply_head_rotation(data->eye_reference[1], data->pivot[1], eyes, pivot, target, out_eyes, angle,
                                &turned);
    *rotated = turned ? 1 : 0;
    return 0;
}

int mc_ask_outboard_view_angle(const mc_data_2003_s* data, const double eyes[3][3], const double pivot[3],
                               double out_eyes[3][3], double* view_angle, double* head_turn) {
    if (!data || !eyes || !pivot || !out_eyes || !view_angle || !head_turn) return -1;
    // The outboard side: -y seen by the right eye when the mirror's pivot
    // lies at or right of the eye reference, else +y by the left eye.
    const bool right = data->pivot[1] <= data->eye_reference[1];
    const int eye = right ? 2 : 0;
    const double side[3] = {0.0, right ? -1.0 : 1.0, 0.0}, up[3] = {0, 0, 1}, forward[3] = {1, 0, 0};
    tag_t held = NULL_TAG;
    double q[3];
    if (data->mirror_set.face == NULL_TAG || HM_MODL_ask_extreme(data->mirror_set.face, side, up, forward, &held, q) != 0)
        return 1;
    const auto angle_from = [&q](const double* e) {
        return 180.0 - std::fabs(std::atan2(q[1] - e[1], q[0] - e[0]) * detail::kDegreesPerRadian);
    };
    std::memcpy(out_eyes, eyes, 9 * sizeof(double));
    *view_angle = angle_from(eyes[eye]);
    *head_turn = 0.0;
    if (data->head_rotation != 1) return 0;
    double angle = 0.0;
    unsigned char rotated = 0;
    if (mc_apply_head_rotation(data, eyes, pivot, q, out_eyes, &angle, &rotated) != 0) return 2;
    if (rotated) {
        *view_angle = angle_from(out_eyes[eye]);
        *head_turn = std::fabs(std::atan2(out_eyes[2][0] - out_eyes[0][0], out_eyes[2][1] - out_eyes[0][1]) *
                               detail::kDegreesPerRadian);
    }
    return 0;
}

}  // namespace carvell::r2003

using namespace carvell::r2003;

int HM_VD_MC_pierce(const double tolerances[2], const mc_mirror_surface_s* surface, const double eye[3],
                    const double target[3], double point[3]) {
    if (!optics_input(tolerances, surface, eye, target) || !point) return -1;
    if (surface->radius < 0.0) return -1;
    double found[3];
    const int status = optics::pierce(tolerances, surface_of(*surface), eye, target, found, quiet,
                                      optics::TargetFoot::NormalAtEye);
    if (status != 0) return status;
    if (!carvell::detail::finite3(found)) return -1;
    std::memcpy(point, found, sizeof found);
    return 0;
}

int HM_VD_MC_reflex(const mc_mirror_surface_s* surface, const double eye[3], const double q[3],
                    const double tolerances[2], double point[3], double direction[3]) {
    if (!optics_input(tolerances, surface, eye, q) || !point || !direction) return -1;
    double x[3], r[3];
    const int status = optics::reflect(surface_of(*surface), eye, q, tolerances[0], x, r, quiet,
                                       optics::Touching::Hits);
    point[0] = point[1] = point[2] = 0.0;
    if (status != 0) return status;
    if (!carvell::detail::finite3(x) || !carvell::detail::finite3(r)) return -1;
    std::memcpy(point, x, sizeof x);
    std::memcpy(direction, r, sizeof r);
    return 0;
}
