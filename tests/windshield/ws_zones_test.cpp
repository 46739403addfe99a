// Vision zones on a raked planar windshield: cut by four planes, closed by a
// trim where the planes leave the glass, the whole boundary when they miss,
// and the eye point that does not reach the glass.
#include "ws_fixtures.h"

#include "ws_internal.h"

#include <cmath>
#include <vector>

namespace {

using namespace carvell::windshield;

class WsZoneTest : public WindshieldTest {
protected:
    // Sheet points (0, -50 + 100 a, 0) + b (-60, 0, 80): 100 x 100.
    static tag_t raked_sheet() {
        const double corner[3] = {0, -50, 0}, u[3] = {0, 100, 0}, v[3] = {-60, 0, 80};
        return host_testing::make_planar_sheet(corner, u, v);
    }
    static double perimeter(const ws_point_group_t& g) {
        double total = 0.0;
        for (int i = 0; i < g.count; ++i)
            for (int j = 1; j < g.point_counts[i]; ++j) {
                const double* p = g.points[i][j - 1];
                const double* q = g.points[i][j];
                total += std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) +
                                   (p[2] - q[2]) * (p[2] - q[2]));
            }
        return total;
    }
};

TEST_F(WsZoneTest, FourPlanesCutTheZoneAndMissedPlanesGiveTheWholeBoundary) {
    // Planes y = -20, y = 20 (normals away from the zone), z = low, z = high.
    struct Case {
        const char* name;
        double y, low, high;
        double perimeter;
    } cases[] = {
        {"inside the glass: 40 wide, b 0.2 to 0.8", 20.0, 16.0, 64.0, 2 * (40.0 + 60.0)},
        {"upper plane above the glass: trimmed, b 0.2 to 1", 20.0, 16.0, 200.0, 2 * (40.0 + 80.0)},
        {"all planes miss: the whole sheet", 500.0, -100.0, 200.0, 400.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t sheet = raked_sheet();
        const double origins[4][3] = {{0, -c.y, 0}, {0, c.y, 0}, {0, 0, c.low}, {0, 0, c.high}};
        const double normals[4][3] = {{0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
        const MTX4_t m = identity_frame();
        const double eye[3] = {200, 0, 40};
        ws_point_group_t group{};
        std::vector<tag_t> curves;
        ASSERT_EQ(ws_create_vision_zone(frame_of(&m), sheet, origins, normals, eye, 11, group, curves), 0);
        EXPECT_EQ(group.count, int(curves.size()));
        EXPECT_GE(group.count, 4);
        // Straight sides sampled at 11 points measure exactly.
        EXPECT_NEAR(perimeter(group), c.perimeter, 1e-6);
        group_free(group);
    }
}

TEST_F(WsZoneTest, CodesOfNoSheetBadPlanesAndAnEyeThatMissesTheGlass) {
    const MTX4_t m = identity_frame();
    const double origins[4][3] = {{0, -20, 0}, {0, 20, 0}, {0, 0, 16}, {0, 0, 64}};
    const double normals[4][3] = {{0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    const double zero_normals[4][3] = {};
    const double eye[3] = {200, 0, 40}, eye_behind[3] = {-45, 0, 40};
    ws_point_group_t group{};
    std::vector<tag_t> curves;
    EXPECT_EQ(ws_create_vision_zone(frame_of(&m), 0, origins, normals, eye, 11, group, curves), 1);
    const tag_t sheet = raked_sheet();
    EXPECT_EQ(ws_create_vision_zone(frame_of(&m), sheet, origins, zero_normals, eye, 11, group, curves), 2);
    EXPECT_EQ(ws_create_vision_zone(frame_of(&m), sheet, origins, normals, eye_behind, 11, group, curves), 3);
    EXPECT_EQ(group.count, 0);
    EXPECT_EQ(group.points, nullptr);
    EXPECT_TRUE(curves.empty());
}

}  // namespace
