// The windshield record as the host's dialog fills it: every field in its
// documented order, each zone's four plane origins followed by that zone's
// four normals, and the wiped group's wiper-1 count between its count and
// its arrays.
#include "hm_vd_ws.h"
#include "record_layout.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

using support::expect_laid_out;

TEST(WsRecordLayout, TheWindshieldRecordIsLaidOutFieldByField) {
    expect_laid_out(
        "ws_data_s", sizeof(ws_data_t),
        {CARVELL_FIELD(ws_data_t, vehicle_frame, MTX4_t*), CARVELL_FIELD(ws_data_t, want_zone1, bool),
         CARVELL_FIELD(ws_data_t, want_zone2, bool), CARVELL_FIELD(ws_data_t, want_zone3, bool),
         CARVELL_FIELD(ws_data_t, want_wiped_area, bool), CARVELL_FIELD(ws_data_t, want_reserved, bool),
         CARVELL_FIELD(ws_data_t, want_flat_pattern, bool), CARVELL_FIELD(ws_data_t, face_count, int),
         CARVELL_FIELD(ws_data_t, faces, tag_t*), CARVELL_FIELD(ws_data_t, dark_band_count, int),
         CARVELL_FIELD(ws_data_t, dark_band_curves, tag_t*), CARVELL_FIELD(ws_data_t, offset_distance, double),
         CARVELL_FIELD(ws_data_t, zone_planes[0].zone_origins, double, 12),
         CARVELL_FIELD(ws_data_t, zone_planes[0].zone_normals, double, 12),
         CARVELL_FIELD(ws_data_t, zone_planes[1].zone_origins, double, 12),
         CARVELL_FIELD(ws_data_t, zone_planes[1].zone_normals, double, 12),
         CARVELL_FIELD(ws_data_t, zone_planes[2].zone_origins, double, 12),
         CARVELL_FIELD(ws_data_t, zone_planes[2].zone_normals, double, 12),
         CARVELL_FIELD(ws_data_t, wiper_mode, int), CARVELL_FIELD(ws_data_t, arm_length, double, 2),
         CARVELL_FIELD(ws_data_t, blade_length, double, 2), CARVELL_FIELD(ws_data_t, arm_angle, double, 2),
         CARVELL_FIELD(ws_data_t, sweep_angle, double, 2), CARVELL_FIELD(ws_data_t, blade_angle, double, 2),
         CARVELL_FIELD(ws_data_t, pivot, double, 6), CARVELL_FIELD(ws_data_t, arm_angle_at_start, bool),
         CARVELL_FIELD(ws_data_t, angle_step, double), CARVELL_FIELD(ws_data_t, points_per_curve, int),
         CARVELL_FIELD(ws_data_t, eye_point, double, 3), CARVELL_FIELD(ws_data_t, zone_selector, int),
         CARVELL_FIELD(ws_data_t, offset_result, ws_point_group_t),
         CARVELL_FIELD(ws_data_t, zone_result, ws_point_group_t, 3),
         CARVELL_FIELD(ws_data_t, wiped_result, ws_wiped_group_t),
         CARVELL_FIELD(ws_data_t, flat_result, ws_point_group_t), CARVELL_FIELD(ws_data_t, percent_status, int),
         CARVELL_FIELD(ws_data_t, percentages, double, 3)});
    // Worked out by hand from the field order: zone 1's normals follow its
    // four origins (56 + 96), zone 2 starts after both.
    EXPECT_EQ(offsetof(ws_data_t, zone_planes[0].zone_normals), 152u);
    EXPECT_EQ(offsetof(ws_data_t, zone_planes[1].zone_origins), 248u);
}

TEST(WsRecordLayout, ThePointGroupsAreLaidOutFieldByField) {
    expect_laid_out("ws_point_group_s", sizeof(ws_point_group_t),
                    {CARVELL_FIELD(ws_point_group_t, status, int), CARVELL_FIELD(ws_point_group_t, count, int),
                     CARVELL_FIELD(ws_point_group_t, point_counts, int*),
                     CARVELL_FIELD(ws_point_group_t, points, double***)});
    expect_laid_out("wiped group", sizeof(ws_wiped_group_t),
                    {CARVELL_FIELD(ws_wiped_group_t, status, int), CARVELL_FIELD(ws_wiped_group_t, count, int),
                     CARVELL_FIELD(ws_wiped_group_t, first_wiper_curve_count, int),
                     CARVELL_FIELD(ws_wiped_group_t, point_counts, int*),
                     CARVELL_FIELD(ws_wiped_group_t, points, double***)});
}

TEST(WsRecordLayout, AZoneFilledPlaneByPlaneReadsBackAsItsOwnPlanes) {
    // A dialog that fills the record as flat doubles in the documented order:
    // zone k's origins, then zone k's normals.
    ws_data_t data;
    HM_VD_WS_init_windshield_data(&data);
    auto* flat = reinterpret_cast<double*>(reinterpret_cast<char*>(&data) + offsetof(ws_data_t, zone_planes));
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 24; ++i) flat[24 * k + i] = 100.0 * k + (i < 12 ? 0.0 : 50.0) + i % 12;
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(data.zone_planes[k].zone_origins[0][0], 100.0 * k);
        EXPECT_EQ(data.zone_planes[k].zone_origins[3][2], 100.0 * k + 11);
        EXPECT_EQ(data.zone_planes[k].zone_normals[0][0], 100.0 * k + 50);
        EXPECT_EQ(data.zone_planes[k].zone_normals[3][2], 100.0 * k + 61);
    }
}

}  // namespace
