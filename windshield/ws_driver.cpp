// The windshield driver: the faces sewn into one sheet, a working copy, the
// offset curves of the clear-vision boundary and the clear-vision area, each
// step reporting in its result group.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "elvosk.h"
#include "quillon.h"
#include "zelvadt.h"

#include <cmath>
#include <vector>

namespace {

using namespace carvell::windshield;

// Codes of the offset group's status set by the driver itself.
enum DriverStatus { kNotOneSheet = 1, kNotOneLoop = 2, kBadSampling = 5, kNoClearVision = 6 };
// The layout type the driver asks the flat pattern for.
constexpr int kFlatLayoutType = 1;

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

// The offset status that refuses the record before anything is built (0
// when its counts and numbers can be used): a frame, faces, dark band,
// sampling, offset distance and eye point the run can work with.
int refusal(const ws_data_t& data) {
    using carvell::detail::count_fits;
    using carvell::detail::in_model_space;
    if (!data.vehicle_frame || !in_model_space(data.vehicle_frame->m, 16)) return kNotOneSheet;
    if (data.face_count < 1 || !data.faces || !count_fits(data.face_count, sizeof(tag_t))) return kNotOneSheet;
    if (data.dark_band_count < 0 || !count_fits(data.dark_band_count, sizeof(tag_t)) ||
        (data.dark_band_count > 0 && !data.dark_band_curves))
        return kNotOneLoop;
    std::vector<tag_t> loop;
    if (data.dark_band_count > 0 && ws_dark_band_loop(data.dark_band_count, data.dark_band_curves, loop) != 0)
        return kNotOneLoop;
    if (data.points_per_curve < 2 || data.points_per_curve > HM_VD_WS_MAX_POINTS_PER_CURVE) return kBadSampling;
    if (!in_model_space(&data.offset_distance, 1)) return kBadSampling;
    if (!in_model_space(data.eye_point, 3)) return kNoClearVision;
    return 0;
}

// The faces sewn into one sheet; 0 when they do not make exactly one (and
// nothing is left in the part).
tag_t sewn_sheet(const ws_data_t& data) {
    if (data.face_count < 1 || !data.faces) return 0;
    int count = 0;
    carvell::detail::SmBlock<tag_t> sheets;
    (void)extract_and_sew_faces_with_disjoint(data.face_count, data.faces, &count, sheets.out());
    // A sheet of no area is no glass.
    if (count == 1 && ws_ask_sheet_area(1, &sheets[0]) > 0.0) return sheets[0];
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
// its status; the boundary curves of each zone into zone_curves, and
// whether it was built into made.
void create_zones(const Frame& frame, tag_t working, ws_data_t& data, std::vector<tag_t> zone_curves[3],
                  bool made[3]) {
    const bool wanted[3] = {data.want_zone1, data.want_zone2,
                            data.want_zone3 && data.zone_selector != 2 && data.zone_selector != 4};
    for (int i = 0; i < 3; ++i) {
        made[i] = false;
        if (!wanted[i]) continue;
        data.zone_result[i].status =
            ws_create_vision_zone(frame, working, data.zone_planes[i].zone_origins, data.zone_planes[i].zone_normals, data.eye_point,
                                  data.points_per_curve, data.zone_result[i], zone_curves[i]);
        made[i] = data.zone_result[i].status == 0;
    }
}

// The wiped area and, when it succeeds, the wiped share of each built zone.
// A spline is made through each outline curve of more than one point; a
// one-point outline has none (its identifier 0), per wiper.
void wiped_area_and_percentages(const Frame& frame, tag_t sewn, tag_t working, ws_data_t& data,
                                const std::vector<tag_t> zone_curves[3], const bool made[3],
                                std::vector<tag_t>& splines) {
    double mid1[3] = {0, 0, 0}, mid2[3] = {0, 0, 0};
    ws_wiped_group_t& wiped = data.wiped_result;
    wiped.status = ws_create_wiped_area(frame, data.face_count, data.faces, sewn, data, wiped, mid1, mid2);
    if (wiped.status != 0) return;
    for (int i = 0; i < wiped.count; ++i) {
        tag_t spline = 0;
        if (wiped.point_counts[i] > 1 &&
            HM_VD_create_spline_thru_points(wiped.point_counts[i], wiped.points[i], 0, &spline) != 0)
            spline = 0;
        splines.push_back(spline);
    }
    data.percent_status =
        ws_calculate_percentages(frame, working, sewn, data.wiper_mode, wiped.count, wiped.first_wiper_curve_count,
                                 splines.data(), mid1, mid2, data.eye_point, made, zone_curves, data.percentages);
}

// The flat pattern of the sewn sheet carrying the offset, zone and wiped curves.
void flat_pattern(const Frame& frame, tag_t sewn, ws_data_t& data, const std::vector<tag_t>& offset_curves,
                  const std::vector<tag_t> zone_curves[3], const std::vector<tag_t>& splines) {
    (void)SMDFLAT_init_module();
    std::vector<tag_t> carried(offset_curves);
    for (int i = 0; i < 3; ++i) carried.insert(carried.end(), zone_curves[i].begin(), zone_curves[i].end());
    for (tag_t s : splines)
        if (s != NULL_TAG) carried.push_back(s);
    data.flat_result.status =
        ws_create_flat_pattern(frame, sewn, data.points_per_curve, kFlatLayoutType, carried, data.flat_result);
    (void)SMDFLAT_exit_module();
}

}  // namespace

void HM_VD_WS_create_windshield_data(ws_data_t* data) {
    if (!data) return;
    free_results(*data);
    if (int r = refusal(*data)) {
        data->offset_result.status = r;
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
    bool made[3] = {false, false, false};
    create_zones(frame, working, *data, zone_curves, made);
    std::vector<tag_t> splines;
    if (data->want_wiped_area) wiped_area_and_percentages(frame, sheet, working, *data, zone_curves, made, splines);
    if (data->want_flat_pattern) flat_pattern(frame, sheet, *data, offset_curves, zone_curves, splines);
    if (MACH__checking_level >= 1) (void)DSS_REFRSH_refresh_display();
}
