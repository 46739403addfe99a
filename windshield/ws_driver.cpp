// The windshield driver: the faces sewn into one sheet, a working copy, the
// offset curves of the clear-vision boundary and the clear-vision area, each
// step reporting in its result group.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"

#include "elvosk.h"
#include "quillon.h"

#include <cmath>
#include <vector>

namespace {

using namespace carvell::windshield;

// Codes of the offset group's status set by the driver itself.
enum DriverStatus { kNotOneSheet = 1, kBadSampling = 5, kNoClearVision = 6 };
// Status of a requested step that this build of the tool does not offer.
constexpr int kStepNotOffered = -1;

// The results of an earlier run, freed before a new one (the faces stay).
void free_results(ws_data_t& data) {
    group_free(data.offset_result);
    for (ws_point_group_t& zone : data.zone_result) group_free(zone);
    group_free(data.wiped_result.count, data.wiped_result.point_counts, data.wiped_result.points);
    data.wiped_result.first_wiper_curve_count = 0;
    group_free(data.flat_result);
    data.offset_result.status = 0;
    for (ws_point_group_t& zone : data.zone_result) zone.status = 0;
    data.wiped_result.status = 0;
    data.flat_result.status = 0;
    for (double& p : data.percentages) p = 0.0;
}

// The faces sewn into one sheet; 0 when they do not make exactly one (and
// nothing is left in the part).
tag_t sewn_sheet(const ws_data_t& data) {
    if (data.face_count < 1 || !data.faces) return 0;
    int count = 0;
    carvell::detail::SmBlock<tag_t> sheets;
    (void)extract_and_sew_faces_with_disjoint(data.face_count, data.faces, &count, sheets.out());
    if (count == 1) return sheets[0];
    for (int i = 0; i < count; ++i) carvell::detail::delete_if_alive(sheets[i]);
    return 0;
}

// Trims the working sheet to the clear-vision area: the region of the offset
// curves around the eye point's projection. 0 or kNoClearVision.
int clear_vision_area(const Frame& frame, tag_t working, const ws_data_t& data, const std::vector<tag_t>& curves) {
    double direction[3], hit[3];
    ws_ask_default_projection_vector(frame, direction);
    if (HM_VD_CURVE_project_point_along_vector(data.eye_point, direction, working, hit) != 0) return kNoClearVision;
    if (curves.empty() ||
        trim_to_single_wiped_area(working, int(curves.size()), curves.data(), true, hit) != 0)
        return kNoClearVision;
    return 0;
}

// The vision zones asked for (zone 3 not for selectors 2 and 4), each with
// its status; the boundary curves of each zone into zone_curves.
void create_zones(const Frame& frame, tag_t working, ws_data_t& data, std::vector<tag_t> zone_curves[3]) {
    const bool wanted[3] = {data.want_zone1, data.want_zone2,
                            data.want_zone3 && data.zone_selector != 2 && data.zone_selector != 4};
    for (int i = 0; i < 3; ++i)
        if (wanted[i])
            data.zone_result[i].status =
                ws_create_vision_zone(frame, working, data.zone_origins[i], data.zone_normals[i], data.eye_point,
                                      data.points_per_curve, data.zone_result[i], zone_curves[i]);
}

// Requested steps that this build does not offer report so instead of success.
void mark_steps_not_offered(ws_data_t& data) {
    if (data.want_wiped_area) data.wiped_result.status = kStepNotOffered;
    if (data.want_flat_pattern) data.flat_result.status = kStepNotOffered;
}

}  // namespace

void HM_VD_WS_create_windshield_data(ws_data_t* data) {
    if (!data) return;
    free_results(*data);
    if (!data->vehicle_frame) {
        data->offset_result.status = kNotOneSheet;
        return;
    }
    if (data->points_per_curve < 2) {
        data->offset_result.status = kBadSampling;
        return;
    }
    const Frame frame = frame_of(data->vehicle_frame);
    const tag_t sheet = sewn_sheet(*data);
    if (sheet == 0) {
        data->offset_result.status = kNotOneSheet;
        return;
    }
    tag_t working = 0;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &sheet, &working) || working == 0) {
        data->offset_result.status = kNotOneSheet;
        return;
    }
    std::vector<tag_t> offset_curves;
    data->offset_result.status = ws_create_offset_curves(frame, working, data->dark_band_count,
                                                         data->dark_band_curves, data->offset_distance,
                                                         offset_curves, data->offset_result);
    if (data->offset_result.status != 0) return;
    if (data->dark_band_count != 0 || std::fabs(data->offset_distance) > kNoOffset) {
        if (int r = clear_vision_area(frame, working, *data, offset_curves)) {
            data->offset_result.status = r;
            return;
        }
    }
    std::vector<tag_t> zone_curves[3];
    create_zones(frame, working, *data, zone_curves);
    mark_steps_not_offered(*data);
    if (MACH__checking_level >= 1) (void)UI_set_status("");
}
