// Mirror optics of the current engine: the reflection point of an eye and a
// target on a plane or spherical mirror, the reflected sight ray, the aim of
// a plane mirror and the head turn of the eyes, on the working record, each
// failure logged with its text. The optics themselves are shared with the
// 2003 engine (mirror_optics_core.h).
#include "mirror_optics.h"
#include "mirror_optics_core.h"
#include "mirror_record.h"

#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"

#include <cmath>
#include <cstring>

namespace carvell::mirror {
namespace {

// Said when a solver's answer overflows (inputs near the ends of the
// doubles): no point is handed out.
constexpr const char* kOverflowText = "The mirror data are too large to compute with.\n";

int fail(const char* message, int status) {
    ERROR_lprintf("%s", message);
    (void)HM_print_syslog("Mirror Certification Error", true);
    return status;
}

optics::Surface surface_of(const mc_mirror_surface_record& mirror) {
    optics::Surface s{mirror.curvature, mirror.radius, {}, {}};
    std::memcpy(s.vertex, mirror.vertex, sizeof s.vertex);
    std::memcpy(s.normal, mirror.normal, sizeof s.normal);
    return s;
}

// Pointers present and every number finite: the tolerance pair, the mirror
// and the two points.
bool optics_input(const double tolerances[2], const mc_mirror_surface_record* mirror, const double a[3],
                  const double b[3]) {
    return tolerances && mirror && a && b && detail::all_finite(tolerances, 2) && surface_is_finite(*mirror) &&
           detail::finite3(a) && detail::finite3(b);
}

}  // namespace

int mc_aim_plane_mirror(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                        const double mirror_normal[3], int target_kind, const double eye[3], const double target[3],
                        double matrix[12]) {
    if (!tolerances || !pivot || !mirror_point || !mirror_normal || !eye || !target || !matrix) return -1;
    return optics::aim_plane_mirror(tolerances, pivot, mirror_point, mirror_normal, target_kind, eye, target, matrix,
                                    fail);
}

int mc_apply_head_rotation(const mc_data_s* data, const double eyes[3][3], const double pivot[3],
                           const double target[3], double out_eyes[3][3], double* angle, bool* rotated) {
    if (!data || !eyes || !pivot || !target || !out_eyes || !angle || !rotated) return -1;
    optics::apply_head_rotation(data->eye_reference_point[1], data->mirror_reference_point[1], eyes, pivot, target,
                                out_eyes, angle, rotated);
    return 0;
}

}  // namespace carvell::mirror

using namespace carvell::mirror;

int HM_VD_MC_pierce(const double tolerances[2], const mc_mirror_surface_record* mirror, const double eye[3],
                    const double target[3], double point[3]) {
    if (!optics_input(tolerances, mirror, eye, target) || !point) return -1;
    if (mirror->radius < 0.0) return -1;
    double found[3];
    const int status = optics::pierce(tolerances, surface_of(*mirror), eye, target, found, fail,
                                      optics::TargetFoot::NormalAtTarget);
    if (status != 0) return status;
    if (!carvell::detail::finite3(found)) return fail(kOverflowText, -1);
    std::memcpy(point, found, sizeof found);
    return 0;
}

int HM_VD_MC_reflex(const mc_mirror_surface_record* mirror, const double eye[3], const double through[3],
                    const double tolerances[2], double pierce[3], double direction[3]) {
    if (!optics_input(tolerances, mirror, eye, through) || !pierce || !direction) return -1;
    double x[3], r[3];
    const int status = optics::reflect(surface_of(*mirror), eye, through, tolerances[0], x, r, fail,
                                       optics::Touching::Misses);
    pierce[0] = pierce[1] = pierce[2] = 0.0;
    if (status != 0) return status;
    if (!carvell::detail::finite3(x) || !carvell::detail::finite3(r)) return fail(kOverflowText, -1);
    std::memcpy(pierce, x, sizeof x);
    std::memcpy(direction, r, sizeof r);
    return 0;
}
