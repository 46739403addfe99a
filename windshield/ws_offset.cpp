// Offset and dark-band curves: the dark-band region kept around the centre
// section, its boundary moved inside the sheet by the offset distance, the
// result sampled into the record, and the dark-band check that runs the same
// chain as a trial.
#include "ws_internal.h"

#include "hm_vd.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "quillon.h"

#include <cmath>
#include <vector>

namespace carvell::windshield {
namespace {

// Codes of offset_boundary_in_sheet_body.
enum OffsetCode { kOffsetOk = 0, kNoMark = 1, kNoProjection = 2, kNoRegion = 3, kOffsetNotMade = 4 };
// Codes of ws_create_offset_curves (the offset group's status).
enum OffsetStatus { kStatusOk = 0, kNotOneLoop = 2, kNotProjected = 3, kNotTrimmed = 4, kOffsetFailed = 5 };

// The loops of the dark-band curves: 0 with the curves of the first loop,
// or nonzero when the curves cannot be grouped or form two or more loops.
int dark_band_loop(int count, const tag_t* curves, std::vector<tag_t>& loop) {
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
        if (curve_count > 0 && trim_to_single_wiped_area(copy, curve_count, curves, true, mid) != 0) return kNoRegion;
        detail::HostList edges;
        if (HM_VD_create_curves_by_boundary_edges(copy, false, edges.out())) return kNoRegion;
        if (std::fabs(distance) <= kNoOffset) {
            result = edges.items();
        } else {
            // The host here offers no offset of a boundary inside a sheet.
            code = kOffsetNotMade;
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
        if (!dark_band_curves || dark_band_loop(dark_band_count, dark_band_curves, loop) != 0) return kNotOneLoop;
    }
    const int code = offset_boundary_in_sheet_body(frame, sheet, dark_band_count, dark_band_curves, offset_distance,
                                                   curves);
    if (code == kNoProjection) return kNotProjected;
    if (code == kNoRegion) return kNotTrimmed;
    if (code != kOffsetOk) return kOffsetFailed;
    for (tag_t curve : curves) {
        int point_count = kDefaultCurvePoints;
        ws_trace("\n+++ get number of poles point_count = %d", point_count);
        if (int r = ws_sample_curve_list({curve}, point_count, group.count, group.point_counts, group.points)) {
            group_free(group);
            return r == -1 ? kOffsetFailed : kOffsetFailed;
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
    if (curve_count < 0 || (curve_count > 0 && (!curves || dark_band_loop(curve_count, curves, loop) != 0)))
        return kCheckNotOneLoop;
    if (face_count < 1 || !faces) return kCheckNotOneSheet;
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
