// The wiped area, the wiped sheets and the wiped share of the zones, on an
// upright planar windshield facing forward (the plane x = 0, 2000 wide and
// 1000 high) with radial blades, whose swept region is an annular sector.
#include "ws_fixtures.h"

#include "ws_internal.h"

#include "hm_vd_curve.h"
#include "morvish.h"
#include "quillon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using host_testing::surface_area;

constexpr double kPi = 3.14159265358979323846;

// The area a radial blade sweeps: the annular sector between the radii
// arm - blade / 2 and arm + blade / 2 over the sweep angle (degrees).
double sector_area(double arm, double blade, double sweep_degrees) {
    const double outer = arm + blade / 2.0, inner = arm - blade / 2.0;
    return sweep_degrees / 360.0 * kPi * (outer * outer - inner * inner);
}

class WsWipedTest : public WindshieldTest {
protected:
    void SetUp() override {
        WindshieldTest::SetUp();
        HM_VD_WS_init_windshield_data(&data_);
        frame_ = identity_frame();
        data_.vehicle_frame = &frame_;
        const double corner[3] = {0, -1000, 0}, u[3] = {0, 2000, 0}, v[3] = {0, 0, 1000};
        sheet_ = host_testing::make_planar_sheet(corner, u, v);
        const std::vector<tag_t> faces = support::faces_of(sheet_);
        data_.face_count = int(faces.size());
        data_.faces = static_cast<tag_t*>(SM_alloc(faces.size() * sizeof(tag_t)));
        std::memcpy(data_.faces, faces.data(), faces.size() * sizeof(tag_t));
        const double eye[3] = {500, -300, 400};
        std::memcpy(data_.eye_point, eye, sizeof eye);
        data_.want_wiped_area = true;
        data_.wiper_mode = 2;
        set_wiper(0, {0, -300, 100}, 500, 200, 90, 90);
        set_wiper(1, {0, 300, 100}, 500, 200, 90, 90);
    }
    void TearDown() override {
        HM_VD_WS_release_windshield_data(&data_);
        WindshieldTest::TearDown();
    }
    // A radial blade: arm angle (degrees about the forward normal from -y;
    // 90 points up, 180 along +y), sweep towards smaller angles.
    void set_wiper(int k, host_testing::Point3 pivot, double arm, double blade, double arm_angle, double sweep) {
        for (int i = 0; i < 3; ++i) data_.pivot[k][i] = pivot[i];
        data_.arm_length[k] = arm;
        data_.blade_length[k] = blade;
        data_.arm_angle[k] = arm_angle;
        data_.sweep_angle[k] = sweep;
        data_.blade_angle[k] = 0.0;
    }
    // The zone between y0..y1 and z0..z1 on the glass: four planes whose
    // normals point away from it.
    void set_zone(int k, double y0, double y1, double z0, double z1) {
        const double planes[4][2][3] = {{{0, y0, 0}, {0, -1, 0}}, {{0, y1, 0}, {0, 1, 0}},
                                        {{0, 0, z1}, {0, 0, 1}}, {{0, 0, z0}, {0, 0, -1}}};
        for (int p = 0; p < 4; ++p)
            for (int i = 0; i < 3; ++i) {
                data_.zone_planes[k].zone_origins[p][i] = planes[p][0][i];
                data_.zone_planes[k].zone_normals[p][i] = planes[p][1][i];
            }
    }
    // A rectangle of lines on the glass: y0..y1, z0..z1.
    static std::vector<tag_t> rectangle_on_glass(double y0, double y1, double z0, double z1) {
        return {support::new_line(0, y0, z0, 0, y1, z0), support::new_line(0, y1, z0, 0, y1, z1),
                support::new_line(0, y1, z1, 0, y0, z1), support::new_line(0, y0, z1, 0, y0, z0)};
    }
    // The largest body area in the part on layer 200 (the one-wiper wiped sheet).
    double wiped_sheet_area() const {
        double area = 0.0;
        for (tag_t t = HM_OBJ_cycle_objs_in_part(part_, HM_solid_type, 0); t;
             t = HM_OBJ_cycle_objs_in_part(part_, HM_solid_type, t)) {
            int type = 0, subtype = 0, layer = 0;
            HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
            HM_OBJ_ask_layer(t, &layer);
            if (subtype == HM_solid_body_subtype && layer == 200) area = std::max(area, surface_area(t));
        }
        return area;
    }

public:
    ws_data_t data_{};
    MTX4_t frame_{};
    tag_t sheet_ = 0;
};

TEST_F(WsWipedTest, ARadialBladeSweepsAnAnnularSector) {
    // One wiper from 180 (along +y) down to 90 (up): a quarter annulus, radii 400 to 600.
    set_wiper(0, {0, -300, 100}, 500, 200, 90, 90);
    data_.angle_step = 2.0;
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    ASSERT_EQ(data_.wiped_result.status, 0);
    // First blade, path A, path B, last blade; every end reached.
    ASSERT_EQ(data_.wiped_result.count, 4);
    EXPECT_EQ(data_.wiped_result.first_wiper_curve_count, 4);
    EXPECT_EQ(data_.wiped_result.point_counts[0], 30);
    EXPECT_EQ(data_.wiped_result.point_counts[1], 46) << "46 steps over 90 degrees at 2 degrees";
    EXPECT_EQ(data_.wiped_result.point_counts[2], 46);
    // The first blade lies along +y from the pivot (mode 2 starts at arm + sweep = 180).
    const double* a = data_.wiped_result.points[0][0];
    const double* b = data_.wiped_result.points[0][29];
    // Each blade end is found within the distance tolerance (0.01).
    EXPECT_NEAR(std::fabs(a[1] - b[1]), 200.0, 0.02);
    EXPECT_NEAR(std::min(a[1], b[1]), -300 + 400.0, 0.01);
    EXPECT_NEAR(a[2], 100.0, 1e-6);
    EXPECT_EQ(data_.percent_status, 0);
    EXPECT_NEAR(wiped_sheet_area(), sector_area(500, 200, 90), 0.002 * sector_area(500, 200, 90));
}

TEST_F(WsWipedTest, ASweepLeavesNoBladeSectionInThePart) {
    // One wiper, four steps of 2 degrees about up: four blade sections are
    // cut from the glass and every one goes again. What stays is the centre
    // section of the glass (the plane y = 0 through it) that the glass
    // normal is found on.
    set_wiper(0, {0, -300, 100}, 500, 200, 87, 6);
    data_.angle_step = 2.0;
    std::vector<tag_t> before;
    for (tag_t t = HM_OBJ_cycle_all(part_, 0); t; t = HM_OBJ_cycle_all(part_, t)) before.push_back(t);
    const MTX4_t frame = identity_frame();
    double tip1[3], tip2[3];
    ASSERT_EQ(carvell::windshield::ws_create_wiped_area(carvell::windshield::frame_of(&frame), data_.face_count,
                                                        data_.faces, sheet_, data_, data_.wiped_result, tip1, tip2),
              0);
    EXPECT_EQ(data_.wiped_result.point_counts[1], 4);
    UPDATE_do_update();
    std::vector<tag_t> left;
    for (tag_t t = HM_OBJ_cycle_all(part_, 0); t; t = HM_OBJ_cycle_all(part_, t))
        if (std::find(before.begin(), before.end(), t) == before.end()) left.push_back(t);
    ASSERT_EQ(left.size(), 1u) << "a blade section or other working geometry stayed in the part";
    for (double at : {0.0, 0.5, 1.0}) {
        double p[3];
        ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(left[0], at, p), 0);
        EXPECT_NEAR(p[1], 0.0, 1e-9) << "not the centre section";
    }
}

TEST_F(WsWipedTest, StepCountsAndFirstAnglesFollowTheMode) {
    struct Case {
        int mode;
        bool at_start;
        double step;
        int path_points;
    };
    // Sweeps of 20 degrees: 11, 41 and 21 steps.
    const Case cases[] = {{2, true, 2.0, 11}, {2, true, 0.5, 41}, {0, true, 1.0, 21}, {1, false, 1.0, 21}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " step " << c.step);
        data_.wiper_mode = c.mode;
        data_.arm_angle_at_start = c.at_start;
        data_.angle_step = c.step;
        // Two wipers: wiper 1 from 90 down to 70 when it starts at its arm
        // angle; wiper 2 from 90 (mode 0, at its arm angle) or 110 (mode 1,
        // arm + sweep) down by 20.
        set_wiper(0, {0, -300, 100}, 500, 200, c.mode == 2 ? 70 : 90, 20);
        set_wiper(1, {0, 500, 100}, 300, 100, 90, 20);
        HM_VD_WS_create_windshield_data(&data_);
        ASSERT_EQ(data_.wiped_result.status, 0);
        ASSERT_GE(data_.wiped_result.count, 4);
        EXPECT_EQ(data_.wiped_result.point_counts[1], c.path_points);
        // Wiper 1's first blade: up from the pivot (90) in every case (mode 2: 70 + 20).
        const double* p = data_.wiped_result.points[0][0];
        EXPECT_NEAR(p[1], -300.0, 1e-3);
        if (c.mode != 2) {
            ASSERT_EQ(data_.wiped_result.count, 8);
            EXPECT_EQ(data_.wiped_result.first_wiper_curve_count, 4);
            // Wiper 2's first blade: mode 0 at its arm angle (up, y 500), mode 1
            // at arm + sweep (110: 20 degrees past up towards +y).
            const double* q = data_.wiped_result.points[4][0];
            const double* r = data_.wiped_result.points[4][29];
            const double lean = c.mode == 0 ? 0.0 : std::sin(20.0 * kPi / 180.0);
            EXPECT_NEAR(std::fabs(q[1] - r[1]), 100.0 * lean, 0.02);
        }
        HM_VD_WS_release_windshield_data(&data_);
        data_.faces = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
        data_.faces[0] = support::faces_of(sheet_)[0];
        data_.face_count = 1;
    }
}

TEST_F(WsWipedTest, ABladeOffTheEdgeSplitsItsPath) {
    // Pivot 200 above the lower edge, blade ends 50 and 250 from it: from
    // 300 (down and towards -y) to 200 (just below +y) the outer end is cut
    // at the lower edge until about 233 degrees, then reaches its full length.
    set_wiper(0, {0, 0, 200}, 150, 200, 200, 100);
    data_.angle_step = 2.0;
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.wiped_result.status, 0);
    EXPECT_GT(data_.wiped_result.count, 4) << "a path cut at the glass edge is split into runs";
}

TEST_F(WsWipedTest, BadSweepsFail) {
    struct Case {
        const char* what;
        double step, sweep;
    };
    const Case cases[] = {{"zero step", 0.0, 90}, {"negative step", -1.0, 90}, {"not finite", NAN, 90},
                          {"sweep below one step (one hit)", 5.0, 2.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        data_.angle_step = c.step;
        data_.sweep_angle[0] = c.sweep;
        const int bodies = count_bodies(part_);
        HM_VD_WS_create_windshield_data(&data_);
        EXPECT_EQ(data_.wiped_result.status, 5);
        EXPECT_EQ(data_.wiped_result.count, 0);
        EXPECT_EQ(data_.wiped_result.points, nullptr);
        EXPECT_EQ(data_.percentages[0], 0.0);
        (void)bodies;
    }
}

TEST_F(WsWipedTest, AZoneInsideTheWipedRegionIsWholeAndOverlapsCountOnce) {
    struct Case {
        const char* what;
        int mode;
        double pivot2_y;
        double expected;   // percent of the zone
    };
    // Zone: y 50..150, z 150..250, around the eye's projection (0, 100, 200).
    // Wiper 1 about (0, -300, 100), radii 350..650, from +y (180) to up
    // (90): the zone's corners lie 354 to 474 from its pivot. Wiper 2 its
    // mirror image about y = 100, from up (90) to -y (0).
    const Case cases[] = {
        {"one wiper covering the zone", 2, 500, 100.0},
        {"two overlapping wipers, united", 0, 500, 100.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        data_.want_zone1 = true;
        set_zone(0, 50, 150, 150, 250);
        const double eye[3] = {500, 100, 200};
        std::memcpy(data_.eye_point, eye, sizeof eye);
        data_.wiper_mode = c.mode;
        set_wiper(0, {0, -300, 100}, 500, 300, c.mode == 2 ? 90 : 180, 90);
        set_wiper(1, {0, c.pivot2_y, 100}, 500, 300, 90, 90);
        data_.angle_step = 3.0;
        HM_VD_WS_create_windshield_data(&data_);
        ASSERT_EQ(data_.zone_result[0].status, 0);
        ASSERT_EQ(data_.wiped_result.status, 0);
        EXPECT_EQ(data_.percent_status, 0);
        EXPECT_NEAR(data_.percentages[0], c.expected, 0.2);
        HM_VD_WS_release_windshield_data(&data_);
        data_.faces = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
        data_.faces[0] = support::faces_of(sheet_)[0];
        data_.face_count = 1;
    }
}

TEST_F(WsWipedTest, ApartWipersAddTheirShares) {
    // Zone y -400..400, z 200..500: 240,000. Two wipers 400 apart, each
    // sweeping 20 degrees about up (100 down to 80) with blade ends 150 and
    // 350 from the pivot: sectors wholly inside the zone (z 247.7 to 450,
    // |y| 139 to 261) that do not touch. Each is 20 / 360 * pi * (350^2 -
    // 150^2) = 17,453.3; together 14.544 % of the zone.
    data_.want_zone1 = true;
    set_zone(0, -400, 400, 200, 500);
    const double eye[3] = {500, 0, 350};
    std::memcpy(data_.eye_point, eye, sizeof eye);
    data_.wiper_mode = 0;
    set_wiper(0, {0, -200, 100}, 250, 200, 100, 20);
    set_wiper(1, {0, 200, 100}, 250, 200, 100, 20);
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.zone_result[0].status, 0);
    ASSERT_EQ(data_.wiped_result.status, 0);
    EXPECT_EQ(data_.percent_status, 0);
    const double expected = 2.0 * sector_area(250, 200, 20) / 240000.0 * 100.0;
    EXPECT_NEAR(expected, 14.544, 1e-3);
    EXPECT_NEAR(data_.percentages[0], expected, 0.002 * expected);
}

TEST_F(WsWipedTest, OutlinesWithoutASplineAreLeftOutOfTheTrim) {
    // A one-point outline has no spline: its identifier 0 among the curves.
    const std::vector<tag_t> square = rectangle_on_glass(-100, 100, 200, 400);
    const std::vector<tag_t> curves = {square[0], 0, square[1], square[2], 0, square[3]};
    const double tip[3] = {0, 0, 300};
    bool connected = false;
    hm_list_p_t l1 = nullptr, l2 = nullptr;
    tag_t w1 = 0, w2 = 0;
    ASSERT_EQ(HM_VD_WS_ask_combined_wiped_area(sheet_, 2, 6, 6, curves.data(), tip, tip, &connected, &l1, &l2, &w1,
                                               &w2),
              0);
    EXPECT_TRUE(connected);
    EXPECT_NEAR(surface_area(w1), 200.0 * 200.0, 1e-6);
    int layer = 0;
    HM_OBJ_ask_layer(w1, &layer);
    EXPECT_EQ(layer, 200);
    int listed = 0;
    HM_MODL_ask_list_count(l1, &listed);
    EXPECT_EQ(listed, 4);
    HM_MODL_delete_list(&l1);
    HM_MODL_delete_list(&l2);
}

TEST_F(WsWipedTest, TheCombinedWipedAreaRefusesBadInput) {
    const double tip[3] = {0, 0, 500};
    const tag_t curves[1] = {support::new_line(0, -10, 500, 0, 10, 500)};
    bool connected = false;
    hm_list_p_t l1 = nullptr, l2 = nullptr;
    tag_t w1 = 0, w2 = 0;
    const int bodies = count_bodies(part_);
    EXPECT_EQ(HM_VD_WS_ask_combined_wiped_area(sheet_, 2, 1, 1, nullptr, tip, tip, &connected, &l1, &l2, &w1, &w2),
              HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_WS_ask_combined_wiped_area(sheet_, 0, 1, 1, curves, tip, nullptr, &connected, &l1, &l2, &w1, &w2),
              HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_WS_ask_combined_wiped_area(sheet_, 2, 0, 0, curves, tip, tip, &connected, &l1, &l2, &w1, &w2),
              HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_VD_WS_ask_combined_wiped_area(0, 2, 1, 1, curves, tip, tip, &connected, &l1, &l2, &w1, &w2),
              HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_VD_WS_ask_combined_wiped_area(sheet_, 0, 1, 2, curves, tip, tip, &connected, &l1, &l2, &w1, &w2),
              HM_ERR_BAD_ARGUMENT);
    // One open line does not cut a region off: the trim fails, nothing stays.
    EXPECT_EQ(HM_VD_WS_ask_combined_wiped_area(sheet_, 2, 1, 1, curves, tip, tip, &connected, &l1, &l2, &w1, &w2), 1);
    EXPECT_EQ(l1, nullptr);
    EXPECT_EQ(w1, 0u);
    EXPECT_EQ(count_bodies(part_), bodies);
}

}  // namespace
