// Projection of a point along a direction onto a face, a body or a plane.
#include "curves_finite.h"
#include "hm_vd_curve.h"

#include "ambrith.h"
#include "farquil.h"
#include "hathmor.h"
#include "kestrin.h"
#include "morvish.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>

namespace {

// Host error for a target that cannot be projected onto.
constexpr int kWrongTarget = HM_ERR_WRONG_OBJECT;
// Kernel type of the bodies that can be projected onto: solids and sheets.
constexpr int kProjectableBody = GQ_BODY_type_solid;
// The projectors' mode: along the direction.
constexpr int kProjectionMode = 2;
// A later hit replaces the kept one only when nearer by more than this.
constexpr double kNearer = 1e-10;

const char* const kSource = "hm_vd";

// The hit kept so far: the one nearest to the start point.
struct Nearest {
    bool found = false;
    double distance = 0.0;
    double point[3] = {0, 0, 0};
};

// Projects onto one face into a fresh tag set and keeps each hit that is
// nearer than the one kept. The hits' point objects are logged for deletion
// and the update run; the set is deleted. Answers the projector's status.
int project_onto_face(const double point[3], tag_t face, const double unit[3], Nearest& nearest) {
    const tag_t set = OM_create_tag_set();
    int count = 0;
    const int status = CPROJ_point_vector_face(point, PX_ask_ptag_of_kw_eid(face), unit, kProjectionMode, set, &count);
    if (status == 0 && count > 0) {
        int n = 0;
        tag_t* hits = nullptr;
        OM_flatten_tag_set(set, &n, &hits);
        for (int i = 0; i < n; ++i) {
            double p[3];
            if (ES_ask_coordinates_of_point(hits[i], p) == 0) {
                double d = 0.0;
                HM_VEC3_distance(point, p, &d);
                if (!nearest.found || d < nearest.distance - kNearer) {
                    nearest.found = true;
                    nearest.distance = d;
                    for (int k = 0; k < 3; ++k) nearest.point[k] = p[k];
                }
            }
            UPDATE_log_entity_to_delete(hits[i]);
        }
        SM_free(hits);
        UPDATE_do_update();
    }
    OM_delete_object(set);
    return status;
}

// Steps on the target's kind; host errors are raised.
int project(const double point[3], const double unit[3], tag_t target, double out[3]) {
    int type = 0, subtype = 0;
    if (int r = RM_ask_entity_type_and_subtype(target, &type, &subtype)) return r;
    Nearest nearest;
    if (type == HM_solid_type && subtype == HM_solid_face_subtype) {
        if (int r = project_onto_face(point, target, unit, nearest)) return r;
    } else if (type == HM_solid_type && subtype == HM_solid_body_subtype) {
        const tag_t body = es7010_occ(target);
        int kernel_type = 0;
        GQ_BODY_ask_type(body, &kernel_type);
        if (kernel_type != kProjectableBody) ERROR_raise(kSource, __LINE__, kWrongTarget, "");
        int n_faces = 0;
        tag_t* faces = nullptr;
        int status = GQ_BODY_ask_faces(body, &n_faces, &faces);
        // Every face is tried: the hit nearest to the point wins, not the
        // first face's hit in kernel order.
        for (int i = 0; i < n_faces && status == 0; ++i) status = project_onto_face(point, faces[i], unit, nearest);
        SM_free(faces);
        if (status) return status;
    } else if (type == HM_solid_type) {
        ERROR_raise(kSource, __LINE__, kWrongTarget, "");
    } else if (type == HM_plane_type) {
        double origin[3], normal[3], hit[3];
        int count = 0;
        if (int r = ES_ask_plane_data(target, origin, normal)) return r;
        if (int r = CPROJ_point_vec_plane(point, origin, normal, unit, kProjectionMode, hit, &count)) return r;
        if (count > 0) {
            nearest.found = true;
            for (int k = 0; k < 3; ++k) nearest.point[k] = hit[k];
        }
    } else {
        ERROR_raise(kSource, __LINE__, kWrongTarget, "");
    }
    if (!nearest.found) return -1;
    if (!carvell::curves::finite3(nearest.point)) return HM_ERR_GEOMETRY;
    for (int k = 0; k < 3; ++k) out[k] = nearest.point[k];
    return 0;
}

}  // namespace

int HM_VD_CURVE_project_point_along_vector(const double point[3], const double direction[3], tag_t target,
                                           double out[3]) {
    if (!point || !direction || !out) return HM_ERR_NULL_POINTER;
    if (!carvell::curves::finite3(point) || !carvell::curves::finite3(direction)) return HM_ERR_BAD_ARGUMENT;
    int result = 0;
    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, nullptr);
    double unit[3] = {0, 0, 0}, magnitude = 0.0;
    result = HM_VEC3_unitize(direction, 1e-10, &magnitude, unit);
    if (result == 0) {
        try {
            result = project(point, unit, target, out);
        } catch (...) {
            Korvath::Error::Exception error = Korvath::Error::Severe::Convert();
            error.setLocation(kSource, __LINE__);
            result = error.askCode();
            error.release();
        }
    }
    if (mark) {
        if (result != 0) UNDO_KW_undo_to_mark(mark);
        UNDO_KW_delete_mark(mark);
    }
    return result;
}
