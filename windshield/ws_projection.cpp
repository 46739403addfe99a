// Projected curves: dark-band curves brought onto the windshield sheet by
// the host's curve projection, after the projection input is checked.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "kestrin.h"
#include "morvish.h"
#include "quillon.h"

#include <cmath>
#include <vector>

namespace carvell::windshield {
namespace {

constexpr double kDegreesToRadians = 0.01745329251994328;
constexpr double kLengthTolerance = 1e-10;
constexpr double kRightAngle = 90.0;
// Object types the projection takes besides curves and points.
constexpr int kCurveFeatureType = 134;
constexpr int kDevelopedCurveType = 196;
// Mode 2 replaces the input curves by their projections.
constexpr int kReplaceMode = 2;
// The record's flag that projects to both sides.
constexpr int kBothSides = 2;
// The host's projection types.
enum HostProjection {
    kHostAlongDirection = 0,
    kHostAlongNormals = 1,
    kHostTowardsPoint = 2,
    kHostLeaningToPoint = 4,
    kHostTowardsLine = 5,
    kHostBetweenDirections = 6
};

bool alive(tag_t object) { return HM_OBJ_ask_status(object) == HM_OBJ_ALIVE; }

int type_of(tag_t object, int& subtype) {
    int type = 0;
    subtype = 0;
    (void)HM_OBJ_ask_type_and_subtype(object, &type, &subtype);
    return type;
}

// A body with at least one edge of fewer than two faces: a sheet.
bool is_sheet_body(tag_t body) {
    detail::HostList edges;
    if (HM_MODL_ask_body_edges(body, edges.out())) return false;
    for (tag_t edge : edges.items()) {
        detail::HostList faces;
        int count = 0;
        if (HM_MODL_ask_edge_faces(edge, faces.out()) == 0 && HM_MODL_ask_list_count(faces.get(), &count) == 0 &&
            count < 2)
            return true;
    }
    return false;
}

bool unitisable(const double v[3]) {
    double magnitude = 0.0, unit[3];
    return HM_VEC3_unitize(v, kLengthTolerance, &magnitude, unit) == 0;
}

// An occurrence whose prototype lies in another part than the work part.
bool foreign_occurrence(tag_t object) {
    if (!HM_ASSEM_is_occurrence(object)) return false;
    tag_t owner = 0;
    const tag_t prototype = HM_ASSEM_ask_prototype_of_occ(object);
    return prototype == 0 || HM_OBJ_ask_owning_part(prototype, &owner) != 0 || owner != HM_ASSEM_ask_work_part();
}

int check_curve(tag_t curve) {
    if (!alive(curve)) return HM_ERR_OBJECT_NOT_ALIVE;
    if (foreign_occurrence(curve)) return HM_ERR_FOREIGN_OCCURRENCE;
    int subtype = 0;
    const int type = type_of(curve, subtype);
    if (HM_VD_is_curve(curve) || type == HM_point_type || type == kCurveFeatureType) return 0;
    return HM_ERR_WRONG_OBJECT;
}

int check_target(tag_t target) {
    if (!alive(target)) return HM_ERR_OBJECT_NOT_ALIVE;
    if (foreign_occurrence(target)) return HM_ERR_FOREIGN_OCCURRENCE;
    int subtype = 0;
    const int type = type_of(target, subtype);
    if (type == HM_plane_type || type == HM_datum_type) return 0;
    if (type == HM_solid_type && subtype == HM_solid_face_subtype) return 0;
    if (type == HM_solid_type && subtype == HM_solid_body_subtype && is_sheet_body(target)) return 0;
    return HM_ERR_WRONG_OBJECT;
}

// The position of a point object, or of a line's start with its direction;
// zeros when the object is neither (the validation refuses it).
void point_of(tag_t object, double point[3]) {
    if (HM_CURVE_ask_point_data(object, point) != 0)
        for (int i = 0; i < 3; ++i) point[i] = 0.0;
}
void line_of(tag_t object, double point[3], double direction[3]) {
    double end[3];
    if (HM_VD_CURVE_ask_point_on_curve(object, 0.0, point) != 0 || HM_VD_CURVE_ask_point_on_curve(object, 1.0, end) != 0) {
        for (int i = 0; i < 3; ++i) point[i] = direction[i] = 0.0;
        return;
    }
    for (int i = 0; i < 3; ++i) direction[i] = end[i] - point[i];
}

// The host's projection request from the record: 1 along the targets'
// normals; 2 towards a point object; 3 along a direction, to both sides when
// the flag is 2; 4 along a direction leaned by an angle towards a point; 5
// towards a line object; 6 along a direction between two, from the point
// object's side, to both sides when the flag is 2.
int fill_request(const ProjectionRecord& record, CPROJ_data_t& data) {
    if (int r = CPROJ_init_data(CPROJ_latest_version(), &data)) return r;
    HM_MODL_curve_fit_data_t fit{};
    if (int r = HM_MODL_ask_curve_fit_data(&fit)) return r;
    data.distance_tolerance = fit.distance_tolerance;
    data.angle_tolerance = fit.angle_tolerance * kDegreesToRadians;
    data.both_sides = record.flag == kBothSides;
    for (int i = 0; i < 3; ++i) {
        data.direction[i] = record.direction[i];
        data.direction2[i] = record.direction2[i];
    }
    switch (record.type) {
        case 2:
            data.projection_type = kHostTowardsPoint;
            point_of(record.object, data.point);
            break;
        case 3: data.projection_type = kHostAlongDirection; break;
        case 4:
            data.projection_type = kHostLeaningToPoint;
            data.angle = record.angle * kDegreesToRadians;
            for (int i = 0; i < 3; ++i) data.point[i] = record.point[i];
            break;
        case 5:
            data.projection_type = kHostTowardsLine;
            line_of(record.object, data.point, data.direction2);
            break;
        case 6:
            data.projection_type = kHostBetweenDirections;
            point_of(record.object, data.point);
            data.value = record.value;
            break;
        default: data.projection_type = kHostAlongNormals; break;
    }
    return 0;
}

}  // namespace

int ws_validate_projection_input(int curve_count, const tag_t* curves, int target_count, const tag_t* targets,
                                 const ProjectionRecord& record) {
    if (curve_count < 1 || target_count < 1 || !curves || !targets) return HM_ERR_PROJ_NO_INPUT;
    if (record.type < 1 || record.type > 6) return HM_ERR_PROJ_BAD_TYPE;
    if (record.type == 4 && !(record.angle > -kRightAngle && record.angle < kRightAngle))
        return HM_ERR_PROJ_BAD_ANGLE;
    for (int i = 0; i < curve_count; ++i)
        if (int r = check_curve(curves[i])) return r;
    for (int i = 0; i < target_count; ++i)
        if (int r = check_target(targets[i])) return r;
    if (record.type == 3 || record.type == 4 || record.type == 6) {
        if (!unitisable(record.direction)) return HM_ERR_ZERO_DIRECTION;
        if (record.type == 6 && !unitisable(record.direction2)) return HM_ERR_ZERO_DIRECTION;
    }
    int subtype = 0;
    if ((record.type == 2 || record.type == 6) && type_of(record.object, subtype) != HM_point_type)
        return HM_ERR_WRONG_OBJECT;
    if (record.type == 5) {
        const int type = type_of(record.object, subtype);
        if (type != kDevelopedCurveType && type != HM_line_type) return HM_ERR_WRONG_OBJECT;
    }
    return 0;
}

int ws_create_projected_curves(int curve_count, const tag_t* curves, int target_count, const tag_t* targets,
                               int mode, const ProjectionRecord& record, std::vector<tag_t>& result) {
    result.clear();
    CPROJ_data_t data{};
    try {
        if (fill_request(record, data)) return HM_ERR_PROJ_SETUP;
    } catch (...) {
        (void)detail::caught_code(kSource, __LINE__);
        return HM_ERR_PROJ_SETUP;
    }
    if (int r = ws_validate_projection_input(curve_count, curves, target_count, targets, record)) return r;
    detail::Temporaries made;
    try {
        for (int i = 0; i < curve_count; ++i) {
            const tag_t set = OM_create_tag_set();
            int count = 0;
            const int r = CPROJ_create_curves(&data, 1, &curves[i], target_count, targets, set, &count);
            detail::SmBlock<tag_t> members;
            int n = 0;
            (void)OM_flatten_tag_set(set, &n, members.out());
            (void)OM_delete_object(set);
            for (int k = 0; k < n; ++k) {
                made.add(members[k]);
                (void)DSS_REGEN_regen_object(members[k]);
            }
            if (r != 0) return r;
            if (mode == kReplaceMode) (void)UPDATE_log_entity_to_delete(curves[i]);
        }
    } catch (...) {
        (void)detail::caught_code(kSource, __LINE__);
        return HM_ERR_PROJ_NO_CURVES;
    }
    if (made.objects().empty()) return HM_ERR_PROJ_NO_CURVES;
    if (mode == kReplaceMode) (void)UPDATE_do_update();
    result = made.objects();
    for (tag_t c : result) made.release(c);
    return 0;
}

}  // namespace carvell::windshield
