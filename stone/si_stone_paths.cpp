// Stone paths: the 50 stones of one radial section thrown onto a body face
// along the section's direction, the impact angle of each landing, the
// threshold points on the blocking objects and the blocking shadows; the
// point and curve projections the family uses.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "ambrith.h"
#include "hathmor.h"
#include "kestrin.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"
#include "tessik.h"
#include "zelvadt.h"

#include <cmath>

using namespace carvell::stone;
namespace detail = carvell::detail;

namespace {

// A face parameter kept this far inside the face's range when the normal is asked.
constexpr double kParmInset = 0.0001;
// A later hit replaces the first only when nearer by more than this.
constexpr double kNearerBy = 1.0e-10;
constexpr int kForwardOnly = 1;
constexpr int kFaceProjectorMode = 2;

}  // namespace

namespace carvell::stone {

int project_onto_face(const double p[3], const double d[3], tag_t face, double out[3], bool* hit, double* best) {
    const tag_t set = OM_create_tag_set();
    int count = 0;
    const int status = CPROJ_point_vector_face(p, face, d, kFaceProjectorMode, set, &count);
    int n = 0;
    tag_t* members = nullptr;
    OM_flatten_tag_set(set, &n, &members);
    for (int i = 0; i < n; ++i) {
        double q[3];
        if (ES_ask_coordinates_of_point(members[i], q) == 0) {
            const double dist = std::sqrt((q[0] - p[0]) * (q[0] - p[0]) + (q[1] - p[1]) * (q[1] - p[1]) +
                                          (q[2] - p[2]) * (q[2] - p[2]));
            if (!*hit || dist < *best - kNearerBy) {
                *hit = true;
                *best = dist;
                for (int k = 0; k < 3; ++k) out[k] = q[k];
            }
        }
        UPDATE_log_entity_to_delete(members[i]);
    }
    SM_free(members);
    OM_delete_object(set);
    UPDATE_do_update();
    return status;
}

}  // namespace carvell::stone

namespace {

int project_by_kind(const double p[3], const double d[3], tag_t target, double out[3]) {
    int type = 0, subtype = 0;
    if (RM_ask_entity_type_and_subtype(target, &type, &subtype) != 0)
        ERROR_RAISE(HM_ERR_WRONG_OBJECT, "projection target of an unknown kind");
    bool hit = false;
    double best = 0.0;
    if (type == HM_solid_type && subtype == HM_solid_face_subtype) {
        project_onto_face(p, d, target, out, &hit, &best);
    } else if (type == HM_solid_type && subtype == HM_solid_body_subtype) {
        int kind = 0;
        if (GQ_BODY_ask_type(target, &kind) != 0 || kind != GQ_BODY_type_solid)
            ERROR_RAISE(HM_ERR_WRONG_OBJECT, "projection target is no body with faces");
        int n = 0;
        tag_t* faces = nullptr;
        GQ_BODY_ask_faces(target, &n, &faces);
        detail::SmBlock<tag_t> owned(faces);
        for (int i = 0; i < n; ++i) project_onto_face(p, d, faces[i], out, &hit, &best);
    } else if (type == HM_plane_type || type == HM_datum_type || type == HM_feature_type) {
        double origin[3], normal[3];
        const int status = type == HM_plane_type ? ES_ask_plane_data(target, origin, normal)
                                                 : HM_VD_ask_datum_plane_parms(target, origin, normal);
        if (status != 0) return status;
        int count = 0;
        CPROJ_point_vec_plane(p, origin, normal, d, kForwardOnly, out, &count);
        hit = count > 0;
    } else {
        ERROR_RAISE(HM_ERR_WRONG_OBJECT, "projection target of another kind");
    }
    return hit ? 0 : -1;
}

}  // namespace

int HM_VD_SI_project_point_along_vector(const double point[3], const double direction[3], tag_t target,
                                        double out[3]) {
    if (!point || !direction || !out) return -1;
    detail::UndoScope scope(UNDO_invisible, nullptr);
    double d[3], mag = 0.0;
    if (HM_VEC3_unitize(direction, 1.0e-10, &mag, d) != 0 || !(mag > 1.0e-10)) return -1;
    const int status =
        detail::run_step(scope, __FILE__, __LINE__, [&] { return project_by_kind(point, d, target, out); });
    if (status == 0) scope.keep();
    return status;
}

namespace carvell::stone {

int project_curves(int n, const tag_t* curves, tag_t target, int mode, const double direction[3], int* count,
                   tag_t** out) {
    *count = 0;
    *out = nullptr;
    try {
        CPROJ_data_t data;
        int status = CPROJ_init_data(CPROJ_latest_version(), &data);
        if (status != 0) return status;
        data.projection_type = mode;
        for (int k = 0; k < 3; ++k) data.direction[k] = direction[k];
        data.distance_tolerance = TOLER_ask_distance_tol();
        data.angle_tolerance = TOLER_ask_angular_tol();
        const tag_t set = OM_create_tag_set();
        int made = 0;
        status = CPROJ_create_curves(&data, n, curves, 1, &target, set, &made);
        int m = 0;
        tag_t* members = nullptr;
        OM_flatten_tag_set(set, &m, &members);
        OM_delete_object(set);
        if (status != 0 || m == 0) {
            for (int i = 0; i < m; ++i) detail::delete_if_alive(members[i]);
            SM_free(members);
            return status;
        }
        auto* array = static_cast<tag_t*>(SM_calloc(m, sizeof(tag_t)));
        for (int i = 0; i < m; ++i) array[i] = members[i];
        SM_free(members);
        // A piece along an edge that two faces share comes once per face.
        status = SMDF_remove_coincident_curves(&m, array);
        if (status != 0) {
            for (int i = 0; i < m; ++i) detail::delete_if_alive(array[i]);
            SM_free(array);
            return status;
        }
        *count = m;
        *out = array;
        return 0;
    } catch (...) {
        return detail::caught_code(__FILE__, __LINE__);
    }
}

}  // namespace carvell::stone

namespace {

int impact_angle(const double q[3], tag_t face, int face_sign, const double d[3], double* angle) {
    double parm[2], foot[3];
    if (HM_MODL_ask_face_parm(face, q, parm, foot) != 0) return kImpactNoParm;
    if (parm[0] < kParmInset) parm[0] = kParmInset;
    else if (parm[1] < kParmInset) parm[1] = kParmInset;
    else if (parm[0] > 1.0 - kParmInset) parm[0] = 1.0 - kParmInset;
    else if (parm[1] > 1.0 - kParmInset) parm[1] = 1.0 - kParmInset;
    double pt[3], u1[3], v1[3], u2[3], v2[3], n[3], radii[2];
    if (HM_MODL_ask_face_props(face, parm, pt, u1, v1, u2, v2, n, radii) != 0) return kImpactNoProps;
    const double ns[3] = {n[0] * face_sign, n[1] * face_sign, n[2] * face_sign};
    const double mn = std::sqrt(ns[0] * ns[0] + ns[1] * ns[1] + ns[2] * ns[2]);
    const double md = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(mn > 0.0) || !(md > 0.0)) return kImpactNoProps;
    double c = (ns[0] * d[0] + ns[1] * d[1] + ns[2] * d[2]) / (mn * md);
    c = c > 1.0 ? 1.0 : (c < -1.0 ? -1.0 : c);
    *angle = std::acos(c) * kDegPerRad - 90.0;
    return 0;
}

// Whether the point traced back against the direction meets the blocking
// object; the hit when it does.
bool project_back(const double q[3], tag_t target, const double d[3], double hit[3]) {
    const double back[3] = {-d[0], -d[1], -d[2]};
    return HM_VD_SI_project_point_along_vector(q, back, target, hit) == 0;
}

struct Threshold {
    bool marked = false;
    double point[3] = {0, 0, 0};
    double angle = 0.0;
};

// One stone landing at q: its status (0, -302, or the impact angle's).
int throw_stone(si_data_s* rec, const double q[3], const double d[3], tag_t face, int face_sign, int* count,
                double out_points[][3], double out_angles[], int* state, int blocking_counts[],
                double blocking_points[][kSections][3], Threshold& mark) {
    double a = 0.0;
    const int status = impact_angle(q, face, face_sign, d, &a);
    if (status != 0) return status;
    if (rec->options[SI_OPT_THRESHOLD_CURVES] && *state == 0 && a > 0.0) {
        if (a < rec->angle_threshold) {
            mark.marked = true;
            for (int k = 0; k < 3; ++k) mark.point[k] = q[k];
            mark.angle = a;
        } else if (mark.marked) {
            double p[3];
            const double f = std::fabs(a - mark.angle) < kAngleResolution
                                 ? 0.0 : (rec->angle_threshold - mark.angle) / (a - mark.angle);
            for (int k = 0; k < 3; ++k) p[k] = mark.point[k] + f * (q[k] - mark.point[k]);
            for (int b = 0; b < rec->blocking_count; ++b) {
                double hit[3];
                if (blocking_counts[b] >= kSections || !project_back(p, rec->blocking_tags[b], d, hit)) continue;
                for (int k = 0; k < 3; ++k) blocking_points[b][blocking_counts[b]][k] = hit[k];
                ++blocking_counts[b];
            }
            *state = 1;
        } else {
            *state = 2;
        }
    }
    if (rec->options[SI_OPT_BLOCKING_SHADOWS]) {
        for (int b = 0; b < rec->blocking_count; ++b) {
            double hit[3];
            if (project_back(q, rec->blocking_tags[b], d, hit)) return 0;
        }
    }
    if (is_grazing(a)) return kStoneGrazing;
    if (*count >= kStones) return 0;
    for (int k = 0; k < 3; ++k) out_points[*count][k] = q[k];
    out_angles[*count] = a;
    ++*count;
    return 0;
}

// A section that can be thrown: finite start points and direction, onto a
// live face.
bool sound_section(double points[][3], const double direction[3], tag_t face) {
    for (int i = 0; i < kStones; ++i)
        if (!detail::finite3(points[i])) return false;
    int type = 0, subtype = 0;
    return detail::finite3(direction) && HM_OBJ_ask_type_and_subtype(face, &type, &subtype) == 0 &&
           type == HM_solid_type && subtype == HM_solid_face_subtype;
}

}  // namespace

int HM_VD_SI_gen_stone_paths(si_data_s* rec, double centre_y, double step, int lo, int hi, double points[][3],
                             const double direction[3], tag_t face, int face_sign, int* count,
                             double out_points[][3], double out_angles[], int* state, int blocking_counts[],
                             double blocking_points[][kSections][3]) {
    (void)centre_y, (void)step;
    if (!rec || !points || !direction || !count || !out_points || !out_angles || !state || !blocking_counts ||
        !blocking_points)
        return -1;
    *count = 0;
    if (!sound_section(points, direction, face)) return -1;
    std::vector<std::array<double, 3>> kept;
    land_section(rec, lo, hi, points, direction, face, kept);
    Threshold mark;
    int last = 0;
    for (const auto& q : kept)
        last = throw_stone(rec, q.data(), direction, face, face_sign, count, out_points, out_angles, state,
                           blocking_counts, blocking_points, mark);
    return last == kStoneGrazing ? 0 : last;
}
