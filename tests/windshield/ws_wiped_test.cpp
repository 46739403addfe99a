// The wiped area, the wiped sheets and the wiped share of the zones, on an
// upright planar windshield facing forward (the plane x = 0, 2000 wide and
// 1000 high) with radial blades, whose swept region is an annular sector.
#include "ws_fixtures.h"

#include "quillon.h"

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
                data_.zone_origins[k][p][i] = planes[p][0][i];
                data_.zone_normals[k][p][i] = planes[p][1][i];
            }
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
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    ASSERT_EQ(data_.wiped_result.status, 0);
    // First blade, path A, path B, last blade; every end reached.
    ASSERT_EQ(data_.wiped_result.count, 4);
    EXPECT_EQ(data_.wiped_result.first_wiper_curve_count, 4);
    EXPECT_EQ(data_.wiped_result.point_counts[0], 30);
    EXPECT_EQ(data_.wiped_result.point_counts[1], 91) << "91 steps over 90 degrees at 1 degree";
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

TEST_F(WsWipedTest, StepCountsAndFirstAnglesFollowTheMode) {
    struct Case {
        int mode;
        bool at_start;
        double step;
        int path_points;
    };
    const Case cases[] = {{2, true, 2.0, 46}, {2, true, 0.5, 181}, {0, true, 1.0, 91}, {1, false, 1.0, 91}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " step " << c.step);
        data_.wiper_mode = c.mode;
        data_.arm_angle_at_start = c.at_start;
        data_.angle_step = c.step;
        // Two wipers: wiper 1 from 90 down to 0 when it starts at its arm
        // angle; wiper 2 (mode 1, not at start) from 180 down to 90.
        set_wiper(0, {0, -300, 100}, 500, 200, c.mode == 2 ? 0 : 90, 90);
        set_wiper(1, {0, 500, 100}, 300, 100, 90, 90);
        HM_VD_WS_create_windshield_data(&data_);
        ASSERT_EQ(data_.wiped_result.status, 0);
        ASSERT_GE(data_.wiped_result.count, 4);
        EXPECT_EQ(data_.wiped_result.point_counts[1], c.path_points);
        // Wiper 1's first blade: up from the pivot (90) in modes 0 and 1, along -y... at 90 too in mode 2 (0 + 90).
        const double* p = data_.wiped_result.points[0][0];
        EXPECT_NEAR(p[1], -300.0, 1e-3);
        if (c.mode != 2) {
            ASSERT_EQ(data_.wiped_result.count, 8);
            EXPECT_EQ(data_.wiped_result.first_wiper_curve_count, 4);
            // Wiper 2's first blade: mode 0 at its arm angle (up), mode 1 at arm + sweep (along +y).
            const double* q = data_.wiped_result.points[4][0];
            const double* r = data_.wiped_result.points[4][29];
            if (c.mode == 0) {
                EXPECT_NEAR(q[1], 500.0, 1e-3);
            } else {
                EXPECT_NEAR(q[2], 100.0, 1e-3);
                EXPECT_NEAR(r[2], 100.0, 1e-3);
            }
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
    // Zone y -400..400, z 300..400 (80,000). Wiper 1 about (0, -500, 100)
    // from 90 (up) to 0 (-y), radii 150..350 hits nothing of the zone but
    // the strip y -400..-150 ... measured against the sector formula below.
    data_.want_zone1 = true;
    set_zone(0, -400, 400, 300, 400);
    data_.wiper_mode = 0;
    // Two narrow upright wipers 600 apart, each sweeping 10 degrees either
    // side of up: each covers a part of the zone; they do not touch.
    set_wiper(0, {0, -300, 0}, 350, 100, 100, 20);
    set_wiper(1, {0, 300, 0}, 350, 100, 100, 20);
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.zone_result[0].status, 0);
    ASSERT_EQ(data_.wiped_result.status, 0);
    EXPECT_EQ(data_.percent_status, 0);
    // Each sector (radii 300..400, 20 degrees) lies wholly between z 300
    // and 400? No: measure it apart. Both shares are equal by symmetry and add.
    EXPECT_GT(data_.percentages[0], 0.0);
    EXPECT_LT(data_.percentages[0], 100.0);
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
