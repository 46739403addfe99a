// Host geometry of the H-point design tool: face normals, curve tangents and
// copies turned about the vertical.
#include "hpd_host_geometry.h"

#include "toolbox/detail/object_kinds.h"

#include "omvra.h"

namespace carvell::occupant {

namespace {

constexpr int kNotAvailable = 19;

}  // namespace

int hpd_ask_face_normal(tag_t face, const double point[3], double normal[3]) {
    if (!point || !normal || !detail::is_solid(face, HM_solid_face_subtype)) return kNotAvailable;
    double parm[2], on_face[3];
    if (HM_MODL_ask_face_parm(face, point, parm, on_face) != 0) return kNotAvailable;
    double p[3], u1[3], v1[3], u2[3], v2[3], n[3], radii[2];
    if (HM_MODL_ask_face_props(face, parm, p, u1, v1, u2, v2, n, radii) != 0) return kNotAvailable;
    normal[0] = n[0], normal[1] = n[1], normal[2] = n[2];
    return 0;
}

int hpd_ask_curve_tangent(tag_t curve, const double point[3], double tangent[3]) {
    if (!point || !tangent) return kNotAvailable;
    int type = 0, subtype = 0;
    if (HM_OBJ_ask_type_and_subtype(curve, &type, &subtype) != 0) return kNotAvailable;
    if (!detail::is_curve_or_edge(type, subtype)) return kNotAvailable;
    HM_EVAL_p_t evaluator = nullptr;
    if (HM_EVAL_initialize(curve, &evaluator) != 0) return kNotAvailable;
    double parm = 0.0, closest[3], p[3], t[3], n[3], b[3];
    int rc = HM_EVAL_evaluate_closest_point(evaluator, point, &parm, closest);
    if (rc == 0) rc = HM_EVAL_evaluate_unit_vectors(evaluator, parm, p, t, n, b);
    HM_EVAL_free(evaluator);
    if (rc != 0) return kNotAvailable;
    tangent[0] = t[0], tangent[1] = t[1], tangent[2] = t[2];
    return 0;
}

int hpd_rotate_copy_about_vertical(tag_t object, const double centre[3], double angle, tag_t* copy) {
    if (!copy) return HM_ERR_NULL_POINTER;
    *copy = NULL_TAG;
    if (object == NULL_TAG) return 0;
    if (!centre) return HM_ERR_NULL_POINTER;
    const double up[3] = {0.0, 0.0, 1.0};
    double matrix[12];
    int rc = hm5945(centre, up, angle, matrix);
    if (rc != 0) return rc;
    tag_t result = NULL_TAG;
    int status = 0;
    // Copy (2) on the object's own layer (-1), without trace curves (2).
    rc = hm5947(matrix, &object, 1, 2, -1, 2, &result, nullptr, &status);
    if (rc != 0) return rc;
    if (status != 0) return status;
    *copy = result;
    return 0;
}

}  // namespace carvell::occupant
