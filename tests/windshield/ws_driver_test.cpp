// The windshield record and driver: defaults, release, sewing, the offset
// group of the whole sheet and of a dark band, the clear-vision trim and the
// codes of bad input.
#include "ws_fixtures.h"

#include "quillon.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using host_testing::surface_area;

// A raked planar windshield across the centre plane: points
// corner + a * (0, 100, 0) + b * (-60, 0, 80), a and b in [0, 1]; 100 x 100.
struct RakedSheet {
    static constexpr double kCorner[3] = {0, -50, 0};
    static constexpr double kU[3] = {0, 100, 0};
    static constexpr double kV[3] = {-60, 0, 80};
    static host_testing::Point3 at(double a, double b) {
        return {kCorner[0] + a * kU[0] + b * kV[0], kCorner[1] + a * kU[1] + b * kV[1],
                kCorner[2] + a * kU[2] + b * kV[2]};
    }
};

class WsDriverTest : public WindshieldTest {
protected:
    void SetUp() override {
        WindshieldTest::SetUp();
        HM_VD_WS_init_windshield_data(&data_);
        frame_ = identity_frame();
        data_.vehicle_frame = &frame_;
        const double eye[3] = {200, 0, 40};   // projects along -x onto (-30, 0, 40): a = 0.5, b = 0.5
        std::memcpy(data_.eye_point, eye, sizeof eye);
    }
    void TearDown() override {
        HM_VD_WS_release_windshield_data(&data_);
        WindshieldTest::TearDown();
    }
    // The faces of the bodies into the record (SM_alloc'd, freed by the release).
    void use_faces(const std::vector<tag_t>& bodies) {
        std::vector<tag_t> faces;
        for (tag_t b : bodies)
            for (tag_t f : support::faces_of(b)) faces.push_back(f);
        data_.face_count = int(faces.size());
        data_.faces = static_cast<tag_t*>(SM_alloc(faces.size() * sizeof(tag_t)));
        std::copy(faces.begin(), faces.end(), data_.faces);
    }
    tag_t raked_sheet() {
        return host_testing::make_planar_sheet(RakedSheet::kCorner, RakedSheet::kU, RakedSheet::kV);
    }
    // The dark band: the lines between the sheet points of (a, b) corners.
    static std::vector<tag_t> band(double a0, double b0, double a1, double b1) {
        const auto p = [](double a, double b) { return RakedSheet::at(a, b); };
        const host_testing::Point3 c[4] = {p(a0, b0), p(a1, b0), p(a1, b1), p(a0, b1)};
        std::vector<tag_t> lines;
        for (int i = 0; i < 4; ++i) {
            const auto& s = c[i];
            const auto& e = c[(i + 1) % 4];
            lines.push_back(support::new_line(s[0], s[1], s[2], e[0], e[1], e[2]));
        }
        return lines;
    }
    std::vector<double> body_areas() const {
        std::vector<double> areas;
        for (tag_t t = HM_OBJ_cycle_objs_in_part(part_, HM_solid_type, 0); t;
             t = HM_OBJ_cycle_objs_in_part(part_, HM_solid_type, t)) {
            int type = 0, subtype = 0;
            HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
            if (subtype == HM_solid_body_subtype) areas.push_back(surface_area(t));
        }
        std::sort(areas.begin(), areas.end());
        return areas;
    }

public:   // the case tables set them up
    ws_data_t data_{};
    MTX4_t frame_{};
    std::vector<tag_t> band_;
};

TEST_F(WsDriverTest, InitSetsTheDefaults) {
    ws_data_t d;
    std::memset(&d, 0x5a, sizeof d);
    HM_VD_WS_init_windshield_data(&d);
    EXPECT_FALSE(d.want_zone1 || d.want_zone2 || d.want_zone3 || d.want_wiped_area || d.want_flat_pattern);
    EXPECT_EQ(d.vehicle_frame, nullptr);
    EXPECT_EQ(d.faces, nullptr);
    EXPECT_EQ(d.face_count, 0);
    EXPECT_EQ(d.wiper_mode, 0);
    EXPECT_TRUE(d.arm_angle_at_start);
    EXPECT_EQ(d.angle_step, 1.0);
    EXPECT_EQ(d.points_per_curve, 30);
    EXPECT_EQ(d.zone_selector, 0);
    EXPECT_EQ(d.offset_result.count, 0);
    EXPECT_EQ(d.wiped_result.first_wiper_curve_count, 0);
    EXPECT_EQ(d.percentages[2], 0.0);
    HM_VD_WS_init_windshield_data(nullptr);
}

TEST_F(WsDriverTest, ReleaseFreesFacesAndGroupsAndIsSafeToRepeat) {
    use_faces({raked_sheet()});
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    HM_VD_WS_release_windshield_data(&data_);
    EXPECT_EQ(data_.faces, nullptr);
    EXPECT_EQ(data_.offset_result.count, 0);
    EXPECT_EQ(data_.offset_result.points, nullptr);
    HM_VD_WS_release_windshield_data(&data_);
    HM_VD_WS_release_windshield_data(nullptr);
    ExpectNoLeaks();
}

TEST_F(WsDriverTest, FacesThatDoNotSewStopTheRunWithNothingBuilt) {
    const double c1[3] = {0, 0, 0}, c2[3] = {0, 500, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    use_faces({host_testing::make_planar_sheet(c1, u, v), host_testing::make_planar_sheet(c2, u, v)});
    data_.want_zone1 = data_.want_wiped_area = true;
    const int bodies = count_bodies(part_);
    HM_VD_WS_create_windshield_data(&data_);
    EXPECT_EQ(data_.offset_result.status, 1);
    EXPECT_EQ(data_.zone_result[0].status, 0);
    EXPECT_EQ(data_.wiped_result.status, 0);
    EXPECT_EQ(count_bodies(part_), bodies);
}

TEST_F(WsDriverTest, WithoutDarkBandAndOffsetTheOffsetGroupIsTheWholeBoundary) {
    use_faces({raked_sheet()});
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    ASSERT_EQ(data_.offset_result.count, 4);
    double length = 0.0;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(data_.offset_result.point_counts[i], 30);
        const double* s = data_.offset_result.points[i][0];
        const double* e = data_.offset_result.points[i][29];
        length += std::sqrt((s[0] - e[0]) * (s[0] - e[0]) + (s[1] - e[1]) * (s[1] - e[1]) + (s[2] - e[2]) * (s[2] - e[2]));
    }
    EXPECT_NEAR(length, 400.0, 1e-6);
    // The clear-vision trim is skipped: the working sheet is whole, as are
    // the original, the sewn sheet and the offset's copy that holds the edges.
    const std::vector<double> areas = body_areas();
    EXPECT_EQ(std::count_if(areas.begin(), areas.end(), [](double a) { return std::fabs(a - 10000.0) < 1e-6; }), 4);
}

TEST_F(WsDriverTest, ADarkBandWithoutOffsetGivesTheBandRegionAndTheClearVisionArea) {
    band_ = band(0.2, 0.2, 0.8, 0.8);
    use_faces({raked_sheet()});
    data_.dark_band_count = 4;
    data_.dark_band_curves = band_.data();
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    ASSERT_EQ(data_.offset_result.count, 4);
    // Every sampled point lies on the band: a or b at 0.2 or 0.8.
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < data_.offset_result.point_counts[i]; ++j) {
            const double* p = data_.offset_result.points[i][j];
            const double a = (p[1] + 50.0) / 100.0, b = p[2] / 80.0;
            const double off = std::min({std::fabs(a - 0.2), std::fabs(a - 0.8), std::fabs(b - 0.2), std::fabs(b - 0.8)});
            EXPECT_LT(off, 1e-6);
        }
    // Original and sewn sheet whole; the region copy and the working sheet 60 x 60.
    const std::vector<double> areas = body_areas();
    ASSERT_EQ(areas.size(), 4u);
    EXPECT_NEAR(areas[0], 3600.0, 1e-6);
    EXPECT_NEAR(areas[1], 3600.0, 1e-6);
    EXPECT_NEAR(areas[3], 10000.0, 1e-6);
}

TEST_F(WsDriverTest, OffsetStatusCodesOfBadInput) {
    struct Case {
        const char* name;
        int expected;
        void (*setup)(WsDriverTest&);
    } cases[] = {
        {"two loops of dark band", 2,
         [](WsDriverTest& t) {
             t.band_ = band(0.1, 0.1, 0.4, 0.4);
             const auto more = band(0.6, 0.6, 0.9, 0.9);
             t.band_.insert(t.band_.end(), more.begin(), more.end());
         }},
        {"open dark-band chain", 4, [](WsDriverTest& t) { t.band_ = band(0.2, 0.2, 0.8, 0.8); t.band_.pop_back(); }},
        {"one point per curve", 5, [](WsDriverTest& t) { t.data_.points_per_curve = 1; }},
        {"no vehicle frame", 1, [](WsDriverTest& t) { t.data_.vehicle_frame = nullptr; }},
        {"eye point beside the glass", 6,
         [](WsDriverTest& t) {
             t.band_ = band(0.2, 0.2, 0.8, 0.8);
             t.data_.eye_point[1] = 500.0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HM_VD_WS_release_windshield_data(&data_);
        HM_VD_WS_init_windshield_data(&data_);
        data_.vehicle_frame = &frame_;
        data_.eye_point[0] = 200.0;
        data_.eye_point[2] = 40.0;
        band_.clear();
        c.setup(*this);
        use_faces({raked_sheet()});
        data_.dark_band_count = int(band_.size());
        data_.dark_band_curves = band_.empty() ? nullptr : band_.data();
        HM_VD_WS_create_windshield_data(&data_);
        EXPECT_EQ(data_.offset_result.status, c.expected);
        // Only the clear-vision step fails after the offset curves were made.
        if (c.expected != 6) {
            EXPECT_EQ(data_.offset_result.count, 0);
        }
    }
    HM_VD_WS_create_windshield_data(nullptr);
}

TEST_F(WsDriverTest, OffsetMovesTheBoundaryInsideBothForTheSheetAndForADarkBand) {
    // 100 x 100 sheet offset by 10: an 80 x 80 square; the 60 x 60 band
    // region offset by 10: a 40 x 40 square, and the clear-vision area 1600.
    // A negative distance is taken to the side that lies on the sheet too.
    struct Case {
        const char* name;
        bool band;
        double offset;
        double perimeter;
    } cases[] = {{"sheet, 10", false, 10.0, 320.0}, {"band, 10", true, 10.0, 160.0}, {"band, -10", true, -10.0, 160.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HM_VD_WS_release_windshield_data(&data_);
        band_ = c.band ? band(0.2, 0.2, 0.8, 0.8) : std::vector<tag_t>{};
        use_faces({raked_sheet()});
        data_.dark_band_count = int(band_.size());
        data_.dark_band_curves = band_.empty() ? nullptr : band_.data();
        data_.offset_distance = c.offset;
        HM_VD_WS_create_windshield_data(&data_);
        ASSERT_EQ(data_.offset_result.status, 0);
        ASSERT_EQ(data_.offset_result.count, 4);
        double perimeter = 0.0;
        const double half = c.perimeter / 8.0;   // half side of the square about (a, b) = (0.5, 0.5)
        for (int i = 0; i < 4; ++i) {
            const int n = data_.offset_result.point_counts[i];
            const double* s = data_.offset_result.points[i][0];
            const double* e = data_.offset_result.points[i][n - 1];
            perimeter += std::sqrt((s[0] - e[0]) * (s[0] - e[0]) + (s[1] - e[1]) * (s[1] - e[1]) +
                                   (s[2] - e[2]) * (s[2] - e[2]));
            for (int j = 0; j < n; ++j) {
                const double* p = data_.offset_result.points[i][j];
                const double a = p[1], b = 100.0 * p[2] / 80.0 - 50.0;   // sheet coordinates about the centre
                EXPECT_NEAR(std::max(std::fabs(a), std::fabs(b)), half, 1e-6);
            }
        }
        EXPECT_NEAR(perimeter, c.perimeter, 1e-6);
        const std::vector<double> areas = body_areas();
        EXPECT_NEAR(areas[0], half * half * 4.0, 1e-6) << "the working sheet trimmed to the clear-vision area";
    }
}

TEST_F(WsDriverTest, AnOffsetOnACurvedSheetIsMadeByTubes) {
    // Cylinder about y (radius 3000): the windshield curves fore and aft,
    // 300 along the arc and 200 wide across the centre plane.
    const double start[3] = {0, -100, -3000}, axis[3] = {0, 1, 0}, x_dir[3] = {0, 0, 1};
    use_faces({host_testing::make_cylindrical_sheet(start, axis, x_dir, 3000.0, 0.1, 200.0)});
    // Projects along -x onto the glass at x = 149.95 (z = -3.75), mid arc.
    const double eye[3] = {500, 0, -3.75};
    std::memcpy(data_.eye_point, eye, sizeof eye);
    data_.offset_distance = 25.4;
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    EXPECT_EQ(data_.offset_result.count, 4);
    // The clear-vision area: (300 - 2 x 25.4) x (200 - 2 x 25.4) = 37,180.64;
    // a tube's section with the glass lies 25.4 from the edge along the
    // chord, 25.40008 along the arc.
    const std::vector<double> areas = body_areas();
    bool found = false;
    for (double a : areas) found = found || std::fabs(a - 37180.64) < 1.0;
    EXPECT_TRUE(found);
}

TEST_F(WsDriverTest, CreateAgainWithoutReleaseFreesTheEarlierResults) {
    use_faces({raked_sheet()});
    HM_VD_WS_create_windshield_data(&data_);
    HM_VD_WS_create_windshield_data(&data_);
    EXPECT_EQ(data_.offset_result.status, 0);
    EXPECT_EQ(data_.offset_result.count, 4);
    // Tear-down finds no block left after the release.
}

TEST_F(WsDriverTest, AThrownTrimOfTheDarkBandRegionFailsTheOffsetAndRollsItBack) {
    band_ = band(0.2, 0.2, 0.8, 0.8);
    use_faces({raked_sheet()});
    data_.dark_band_count = 4;
    data_.dark_band_curves = band_.data();
    host_testing::force_trim_exception(4711);
    HM_VD_WS_create_windshield_data(&data_);
    EXPECT_EQ(data_.offset_result.status, 4);
    EXPECT_EQ(host_testing::trim_sheet_calls(), 1);
    // Original, sewn and working sheet stay; the offset's copy is rolled back.
    EXPECT_EQ(body_areas().size(), 3u);
    EXPECT_EQ(data_.offset_result.count, 0);
}

TEST_F(WsDriverTest, AWiperlessWipedAreaFailsAndTheFlatPatternIsStillMade) {
    use_faces({raked_sheet()});
    data_.want_zone1 = data_.want_zone3 = data_.want_wiped_area = data_.want_flat_pattern = true;
    data_.zone_selector = 4;
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    EXPECT_NE(data_.zone_result[0].status, 0);
    EXPECT_EQ(data_.zone_result[1].status, 0);
    EXPECT_EQ(data_.zone_result[2].status, 0) << "zone selector 4 suppresses zone 3";
    EXPECT_EQ(data_.wiped_result.status, 4) << "no wiper arms: two-wiper mode fails";
    EXPECT_EQ(data_.flat_result.status, 0);
    EXPECT_GE(data_.flat_result.count, 4) << "the flat sheet's own boundary, and the offset curves";
    EXPECT_EQ(data_.percentages[0], 0.0);
}

}  // namespace
