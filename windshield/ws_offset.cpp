// Offset and dark-band curves: the dark-band region kept around the centre
// section, its boundary moved inside the sheet by the offset distance, the
// result sampled into the record, and the dark-band check that runs the same
// chain as a trial.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "gostrel.h"
#include "quillon.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::windshield {
namespace {

// Codes of offset_boundary_in_sheet_body.
enum OffsetCode { kOffsetOk = 0, kNoMark = 1, kNoProjection = 2, kNoRegion = 3, kOffsetNotMade = 4 };
// Projection mode that keeps the input curves.
constexpr int kProjectOnly = 1;
// Smart face container of the faces of bodies; unit length of a direction.
constexpr int kFacesOfBodies = 17;
constexpr double kUnitTolerance = 1e-10;
// Codes of ws_create_offset_curves (the offset group's status).
enum OffsetStatus { kStatusOk = 0, kNotOneLoop = 2, kNotProjected = 3, kNotTrimmed = 4, kOffsetFailed = 5 };

}  // namespace

int ws_dark_band_loop(int count, const tag_t* curves, std::vector<tag_t>& loop) {
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    int loops = 0, closed = 0;
    detail::SmBlock<int> per_loop;
    tag_t** arrays = nullptr;
    if (HM_VD_CURVE_make_loop_curve_from_array(curves, count, tolerance, &loops, &closed, per_loop.out(), &arrays))
        return -1;
    if (loops >= 1) loop.assign(arrays[0], arrays[0] + per_loop[0]);
    for (int i = 0; i < loops; ++i) SM_free(arrays[i]);
    SM_free(arrays);
    return loops == 1 ? 0 : -1;
}

namespace {

// The default offset side of the section: +1 when the point moved by the
// distance along the host's default direction stays on the sheet, else -1
// (+1 when the host gives no default). Tried under its own mark.
int ws_ask_offset_direction(tag_t section, tag_t container, tag_t sheet, double distance) {
    double point[3], direction[3];
    if (HM_CURVE_ocf_offset_pt_direction(section, container, point, direction)) return 1;
    detail::UndoScope scope(UNDO_visible, "check offset direction");
    const double length = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] +
                                    direction[2] * direction[2]);
    if (length <= kUnitTolerance) return 1;
    double trial[3];
    for (int i = 0; i < 3; ++i) trial[i] = point[i] + distance * direction[i] / length;
    double tolerance = 0.0, gap = 0.0, on_sheet[3], unused[3];
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    if (HM_MODL_ask_minimum_dist(0, sheet, 1, trial, 0, nullptr, &gap, unused, on_sheet)) return -1;
    return gap <= tolerance ? 1 : -1;
}

// Plain curves of the evaluators' geometry, copied exactly by the curve
// evaluator: a line stays a line, an arc an arc, a spline keeps its poles.
std::vector<tag_t> plain_curves(const std::vector<HM_EVAL_p_t>& evaluators) {
    std::vector<tag_t> curves;
    for (HM_EVAL_p_t evaluator : evaluators) {
        tag_t curve = 0;
        if (kcrvev(evaluator, &curve) == 0 && curve) curves.push_back(curve);
    }
    return curves;
}

// The associative offset of the boundary edges within the sheet, returned as
// plain curves (the feature itself is undone). 0 or kOffsetNotMade.
int associative_offset(tag_t sheet, const std::vector<tag_t>& edges, double distance, std::vector<tag_t>& result) {
    double distance_tolerance = 0.0, angle_tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&distance_tolerance);
    (void)HM_MODL_ask_angle_tolerance(&angle_tolerance);
    tag_t section = 0, container = 0;
    if (edges.empty() || OCF_create_section(int(edges.size()), edges.data(), distance_tolerance, distance_tolerance,
                                            angle_tolerance, &section) ||
        HM_MODL_create_smart_face_container(kFacesOfBodies, 1, &sheet, &container))
        return kOffsetNotMade;
    HM_CURVE_ocf_data_p_t data = nullptr;
    const double tolerances[3] = {distance_tolerance, angle_tolerance, distance_tolerance};
    if (HM_CURVE_init_ocf_data(tolerances, &data)) return kOffsetNotMade;
    char text[64];
    std::snprintf(text, sizeof text, "%f", distance);
    int code = kOffsetNotMade;
    if (HM_CURVE_add_faces_ocf_data(data, container) == 0 &&
        HM_CURVE_add_string_to_ocf_data(data, section, ws_ask_offset_direction(section, container, sheet, distance),
                                        text) == 0) {
        detail::UndoScope feature_mark(UNDO_visible, "offset curve");
        tag_t feature = 0;
        int count = 0;
        detail::SmBlock<tag_t> curves;
        if (HM_CURVE_create_ocf_feature(data, &feature) == 0 && feature &&
            HM_CURVE_ocf_ask_curves(feature, &count, curves.out()) == 0 && count > 0) {
            // The geometry is read before the feature is undone.
            std::vector<HM_EVAL_p_t> evaluators;
            for (int i = 0; i < count; ++i) {
                HM_EVAL_p_t e = nullptr;
                if (HM_EVAL_initialize(curves[i], &e) == 0) evaluators.push_back(e);
            }
            feature_mark.roll_back();
            result = plain_curves(evaluators);
            for (HM_EVAL_p_t e : evaluators) (void)HM_EVAL_free(e);
            for (tag_t c : result) {
                double mid[3];
                if (HM_VD_CURVE_ask_point_on_curve(c, 0.5, mid) == 0)
                    ws_trace("\n+++ ref_point= {%f, %f, %f}", mid[0], mid[1], mid[2]);
            }
            if (!result.empty()) code = kOffsetOk;
        }
    }
    (void)HM_CURVE_free_ocf_data(&data);
    return code;
}

}  // namespace

// The boundary of the dark-band region (or of the whole sheet) moved inside
// the sheet by the distance, as curves in the part. A host exception rolls the
// part back to the step's mark and is thrown on.
int offset_boundary_in_sheet_body(const Frame& frame, tag_t sheet, int curve_count, const tag_t* curves,
                                  double distance, std::vector<tag_t>& result) {
    result.clear();
    detail::UndoScope scope(UNDO_visible, "Associative offset curve");
    if (!scope.is_set()) return kNoMark;
    int code = kOffsetOk;
    try {
        tag_t copy = 0;
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &sheet, &copy) || copy == 0) return kNoRegion;
        double mid[3], low[3];
        // Without a centre section there is no region to keep.
        if (ws_ask_center_section_points(copy, frame, mid, low) != 0) return kNoRegion;
        if (curve_count > 0) {
            // The dark band brought onto the glass along its normals.
            std::vector<tag_t> projected;
            ProjectionRecord along_normals;
            if (ws_create_projected_curves(curve_count, curves, 1, &copy, kProjectOnly, along_normals, projected))
                return kNoProjection;
            detail::Temporaries projections(detail::Temporaries::Disposal::log_for_update);
            for (tag_t c : projected) projections.add(c);
            if (trim_to_single_wiped_area(copy, int(projected.size()), projected.data(), true, mid) != 0)
                return kNoRegion;
        }
        detail::HostList edges;
        if (HM_VD_create_curves_by_boundary_edges(copy, false, edges.out())) return kNoRegion;
        if (std::fabs(distance) <= kNoOffset) {
            result = edges.items();
        } else {
            code = associative_offset(copy, edges.items(), distance, result);
            // Where the host cannot offset within the faces, tubes about the edges do.
            if (code != kOffsetOk && ws_offset_boundary_by_tubes(frame, copy, distance, result) != 0) {
                code = kOffsetNotMade;
            } else {
                code = kOffsetOk;
            }
        }
    } catch (...) {
        scope.roll_back();
        throw;
    }
    ws_trace("\n+++ offset_boundary_in_sheet_body  return code = %d", code);
    if (code == kOffsetOk) {
        scope.keep();
    } else {
        result.clear();
    }
    return code;
}

int ws_create_offset_curves(const Frame& frame, tag_t sheet, int dark_band_count, const tag_t* dark_band_curves,
                            double offset_distance, std::vector<tag_t>& curves, ws_point_group_t& group) {
    (void)UI_set_status("creating windshield offset curves");
    curves.clear();
    if (dark_band_count > 0) {
        std::vector<tag_t> loop;
        if (!dark_band_curves || ws_dark_band_loop(dark_band_count, dark_band_curves, loop) != 0) return kNotOneLoop;
    }
    const int code = offset_boundary_in_sheet_body(frame, sheet, dark_band_count, dark_band_curves, offset_distance,
                                                   curves);
    if (code == kNoProjection) return kNotProjected;
    if (code == kNoRegion) return kNotTrimmed;
    if (code != kOffsetOk) return kOffsetFailed;
    for (tag_t curve : curves) {
        int point_count = kDefaultCurvePoints;
        int type = 0, subtype = 0;
        if (HM_OBJ_ask_type_and_subtype(curve, &type, &subtype) == 0 && type == HM_spline_type) {
            // A spline is sampled at as many points as it has poles.
            EVC_p_t evaluator = nullptr;
            int poles = 0;
            if (EVC_initialize(curve, &evaluator) == 0 && EVC_ask_pole_count(evaluator, &poles) == 0 && poles >= 2)
                point_count = poles;
            (void)EVC_free(evaluator);
        }
        ws_trace("\n+++ get number of poles point_count = %d", point_count);
        if (ws_sample_curve_list({curve}, point_count, group.count, group.point_counts, group.points)) {
            group_free(group);
            return kOffsetFailed;
        }
    }
    return kStatusOk;
}

}  // namespace carvell::windshield

namespace {

using namespace carvell::windshield;

// Codes of the dark-band check.
enum CheckCode { kCheckOk = 0, kCheckNotOneLoop = 1, kCheckNotOneSheet = 2, kCheckNotProjected = 3,
                 kCheckNotTrimmed = 4, kCheckOffsetFailed = 5 };

int check_serigrafia(int face_count, const tag_t* faces, int curve_count, const tag_t* curves, double offset_distance) {
    std::vector<tag_t> loop;
    if (curve_count < 0 || !carvell::detail::count_fits(curve_count, sizeof(tag_t)) ||
        (curve_count > 0 && (!curves || ws_dark_band_loop(curve_count, curves, loop) != 0)))
        return kCheckNotOneLoop;
    if (face_count < 1 || !faces || !carvell::detail::count_fits(face_count, sizeof(tag_t))) return kCheckNotOneSheet;
    if (!carvell::detail::in_model_space(&offset_distance, 1)) return kCheckOffsetFailed;
    int count = 0;
    carvell::detail::SmBlock<tag_t> sheets;
    (void)extract_and_sew_faces_with_disjoint(face_count, faces, &count, sheets.out());
    if (count != 1) return kCheckNotOneSheet;
    MTX4_t identity{};
    identity.m[0] = identity.m[5] = identity.m[10] = identity.m[15] = 1.0;
    std::vector<tag_t> result;
    switch (offset_boundary_in_sheet_body(frame_of(&identity), sheets[0], int(loop.size()), loop.data(),
                                          offset_distance, result)) {
        case 0: return kCheckOk;
        case 2: return kCheckNotProjected;
        case 3: return kCheckNotTrimmed;
        default: return kCheckOffsetFailed;
    }
}

}  // namespace

int HM_VD_WS_check_serigrafia_status(int face_count, const tag_t* faces, int curve_count, const tag_t* curves,
                                     double offset_distance) {
    (void)UI_set_status("validating offset and dark band curves");
    carvell::detail::UndoScope scope(UNDO_visible, "check serigrafia");
    // A host exception is a failed offset too, and the trial is undone all the same.
    int code = carvell::detail::run_step(scope, kSource, __LINE__, [&] {
        return check_serigrafia(face_count, faces, curve_count, curves, offset_distance);
    });
    if (code != kCheckOk && code > kCheckOffsetFailed) code = kCheckOffsetFailed;
    scope.roll_back();
    (void)UI_set_status("");
    return code;
}
