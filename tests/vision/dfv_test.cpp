// Direct field of view: vision-plane outlines against their closed-form
// corners, sight lines against the direction formulas, cut at a wall.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "quillon.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using P3 = std::array<double, 3>;
constexpr double kDeg = 3.14159265358979323846 / 180.0;

class DfvTest : public HostTest {
protected:
    dfv_input_t Input(double depth) {
        dfv_input_t in{};
        const double a[3] = {2100.0, -370.0, 1150.0}, b[3] = {2000.0, -370.0, 1200.0};
        for (int i = 0; i < 3; ++i) in.point_a[i] = a[i], in.point_b[i] = b[i];
        in.angle1 = 10.0;
        in.angle2 = 20.0;
        in.angle3 = 30.0;
        in.width = 1000.0;
        in.depth = depth;
        in.full_length = 1;
        in.csys_matrix[0] = in.csys_matrix[4] = in.csys_matrix[8] = 1.0;
        return in;
    }
    // Runs the outline export and checks it against the expected polygons.
    void ExpectPolygons(const dfv_input_t& in, const std::vector<P3> expected[3]) {
        int* counts = nullptr;
        double*** polygons = nullptr;
        ASSERT_EQ(HM_VD_DFV_vision_plane_process(&in, &counts, &polygons), 0);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            ASSERT_EQ(counts[i], static_cast<int>(expected[i].size()));
            for (int k = 0; k < counts[i]; ++k)
                for (int c = 0; c < 3; ++c) EXPECT_NEAR(polygons[i][k][c], expected[i][k][c], 1e-3) << k << "," << c;
        }
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k < counts[i]; ++k) SM_free(polygons[i][k]);
            SM_free(polygons[i]);
        }
        SM_free(polygons);
        SM_free(counts);
    }
};

// B = (2000, -370, 1200), half width 500: outboard y -870, inboard y 130.
// The forward plane falls tan(10) per unit forward; the outboard plane tan(20)
// per unit outboard, the inboard tan(30) per unit inboard. Forward and
// outboard planes meet where tan10 (X - 2000) = tan20 (Y + 370); with the
// inboard one where tan10 (X - 2000) = -tan30 (Y + 370).
TEST_F(DfvTest, LongPlanesGiveThreeThreeAndFivePoints) {
    const double tA = std::tan(10 * kDeg), tB = std::tan(20 * kDeg), tC = std::tan(30 * kDeg);
    const double x = 2000, y = -370, z = 1200, h = 500, L = 2000;
    const P3 B = {x, y, z};
    const P3 Eo = {x - tB * h / tA, y - h, z - tB * h};   // on the outboard edge, short of the far edge
    const P3 Ei = {x - tC * h / tA, y + h, z - tC * h};
    const std::vector<P3> expected[3] = {
        {B, {x, y - h, z - tB * h}, Eo},
        {B, {x, y + h, z - tC * h}, Ei},
        {B, Eo, {x - L, y - h, z - tA * L}, {x - L, y + h, z - tA * L}, Ei},
    };
    ExpectPolygons(Input(L), expected);
    EXPECT_EQ(host_testing::count_objects(), 0);
}

TEST_F(DfvTest, ShortPlanesEndOnTheFarEdge) {
    const double tA = std::tan(10 * kDeg), tB = std::tan(20 * kDeg), tC = std::tan(30 * kDeg);
    const double x = 2000, y = -370, z = 1200, h = 500, L = 1000;
    const P3 B = {x, y, z};
    const P3 Eo = {x - L, y - tA * L / tB, z - tA * L};
    const P3 Ei = {x - L, y + tA * L / tC, z - tA * L};
    const std::vector<P3> expected[3] = {
        {B, {x, y - h, z - tB * h}, {x - L, y - h, z - tB * h}, Eo},
        {B, {x, y + h, z - tC * h}, {x - L, y + h, z - tC * h}, Ei},
        {B, Eo, Ei},
    };
    ExpectPolygons(Input(L), expected);
}

TEST_F(DfvTest, AnglesOutsideZeroToNinetyAreRefused) {
    for (double bad : {-0.001, 90.001, 180.0}) {
        SCOPED_TRACE(bad);
        dfv_input_t in = Input(1000.0);
        in.angle2 = bad;
        int* counts = reinterpret_cast<int*>(0x1);
        double*** polygons = nullptr;
        EXPECT_EQ(HM_VD_DFV_vision_plane_process(&in, &counts, &polygons), 1);
        EXPECT_EQ(counts, reinterpret_cast<int*>(0x1));
    }
    // 0 is accepted.
    dfv_input_t in = Input(1000.0);
    in.angle2 = 0.0;
    int* counts = nullptr;
    double*** polygons = nullptr;
    EXPECT_NE(HM_VD_DFV_vision_plane_process(&in, &counts, &polygons), 1);
    if (counts) {
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k < counts[i]; ++k) SM_free(polygons[i][k]);
            SM_free(polygons[i]);
        }
        SM_free(polygons);
        SM_free(counts);
    }
    EXPECT_EQ(HM_VD_DFV_vision_plane_process(nullptr, &counts, &polygons), 1);
}

TEST_F(DfvTest, SightLinesFollowTheDirectionFormulasAndTheirMirrors) {
    dfv_input_t in = Input(1000.0);
    dfv_sightline_t lines{};
    ASSERT_EQ(HM_VD_DFV_sightline_points_process(&in, &lines), 0);
    const double l = 1000.0;
    const P3 ends[3] = {
        {2100 - l * std::cos(10 * kDeg), -370, 1150 + l * std::sin(10 * kDeg)},
        {2100 - l * std::cos(30 * kDeg), -370 - l * std::sin(30 * kDeg), 1150},   // B.y <= 0 turns it to -y
        {2000 - l * std::cos(20 * kDeg), -370, 1200 + l * std::sin(20 * kDeg)},
    };
    const P3 starts[3] = {{2100, -370, 1150}, {2100, -370, 1150}, {2000, -370, 1200}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(lines.segment[i][0][c], starts[i][c], 1e-9);
            EXPECT_NEAR(lines.segment[i][1][c], ends[i][c], 1e-9);
            const double sign = c == 1 ? -1.0 : 1.0;
            EXPECT_NEAR(lines.segment[3 + i][0][c], sign * starts[i][c], 1e-9);
            EXPECT_NEAR(lines.segment[3 + i][1][c], sign * ends[i][c], 1e-9);
        }
    }
}

TEST_F(DfvTest, CutEndsAtTheRaysHitOnAWallAndTheFaceArrayStays) {
    const double corner[3] = {1000.0, -2000.0, 0.0}, u[3] = {0.0, 4000.0, 0.0}, v[3] = {0.0, 0.0, 3000.0};
    const tag_t wall = host_testing::make_planar_sheet(corner, u, v);
    tag_t faces[1] = {support::faces_of(wall).at(0)};
    const tag_t face = faces[0];
    const int objects = host_testing::count_objects();
    dfv_input_t in = Input(1000.0);
    in.full_length = 0;
    in.face_count = 1;
    in.faces = faces;
    dfv_sightline_t lines{};
    ASSERT_EQ(HM_VD_DFV_sightline_points_process(&in, &lines), 0);
    EXPECT_EQ(faces[0], face);
    EXPECT_EQ(host_testing::count_objects(), objects);
    const P3 hits[3] = {{1000, -370, 1150 + 1100 * std::tan(10 * kDeg)},
                        {1000, -370 - 1100 * std::tan(30 * kDeg), 1150},
                        {1000, -370, 1200 + 1000 * std::tan(20 * kDeg)}};
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(lines.segment[i][1][c], hits[i][c], 1e-6) << i << "," << c;
    // A wall behind the starts, which no forward ray meets: 1, full-length
    // ends kept.
    const double far_corner[3] = {3000.0, -2000.0, 0.0};
    faces[0] = support::faces_of(host_testing::make_planar_sheet(far_corner, u, v)).at(0);
    EXPECT_EQ(HM_VD_DFV_sightline_points_process(&in, &lines), 1);
    EXPECT_NEAR(lines.segment[0][1][0], 2100 - 1000 * std::cos(10 * kDeg), 1e-9);
    in.face_count = 0;
    EXPECT_EQ(HM_VD_DFV_sightline_points_process(&in, &lines), 1);
    EXPECT_EQ(HM_VD_DFV_sightline_points_process(nullptr, &lines), 1);
}

}  // namespace
