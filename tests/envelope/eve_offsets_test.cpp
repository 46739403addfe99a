// Offsets of a point-cloud envelope and its convex solid: the line
// intersection and the corner rule worked by hand, the extended and the
// enlarged cube, the bookkeeping of positions, and the solid of a point file.
#include "eve_fixtures.h"

#include "point_cloud_envelope.h"
#include "vd_eve.h"

namespace {

using eve_test::box_of;
using eve_test::cube_points;
using eve_test::EveTest;
using eve_test::sm_points;
using namespace carvell::envelope;

class EveOffsetsTest : public EveTest {};

TEST_F(EveOffsetsTest, LinesMeetInThePlaneOfTheirLargestDeterminant) {
    struct Case {
        const char* what;
        double p0[3], p1[3], q[3], d[3];
        int result;
        double out[3];
    };
    const Case cases[] = {
        {"x axis and a line up at x = 2", {0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {0, 1, 0}, 0, {2, 0, 0}},
        {"only the yz plane sees them cross", {0, 0, 0}, {0, 1, 0}, {0, 3, 2}, {0, 0, 1}, 0, {0, 3, 0}},
        {"oblique lines in xz", {1, 0, 1}, {2, 0, 2}, {4, 0, 0}, {0, 0, 1}, 0, {4, 0, 4}},
        {"parallel lines", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 0}, -1, {9, 9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double out[3] = {9, 9, 9};
        EXPECT_EQ(envelope_line_intersect(c.p0, c.p1, c.q, c.d, out), c.result);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(out[k], c.out[k], 1e-12);
    }
}

TEST_F(EveOffsetsTest, TheCornerRuleMeetsEveryFaceAtTheOffsetDistance) {
    const double s = std::sqrt(3.0) / 2.0;
    struct Case {
        const char* what;
        double a[3], b[3], out[3];
    };
    const Case cases[] = {
        {"two orthogonal faces", {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
        {"a third orthogonal face", {1, 1, 0}, {0, 0, 1}, {1, 1, 1}},
        // Projections on both normals are 1: x = 1, 0.5 x + s y = 1.
        {"faces at 60 degrees", {1, 0, 0}, {0.5, s, 0}, {1, 0.5 / s, 0}},
        {"the same face again keeps the corner", {1, 1, 1}, {1, 0, 0}, {1, 1, 1}},
        {"parallel normals keep the direction", {0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
        {"a zero facet normal keeps the direction", {0.6, 0.8, 0}, {0, 0, 0}, {0.6, 0.8, 0}},
        {"a zero direction stays zero", {0, 0, 0}, {0, 0, 1}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double out[3];
        combine_offset_directions(c.a, c.b, out);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(out[k], c.out[k], 1e-9);
    }
}

TEST_F(EveOffsetsTest, ExtendSweepsTheCubeAlongTheDirection) {
    double* points = sm_points(cube_points(1.0));
    int count = 8;
    const double direction[3] = {0, 0, 10};
    double distance = 10.0;
    ASSERT_EQ(envelope_offset_points_extend(&points, &count, direction, &distance, 1, 0.5), 0);
    EXPECT_EQ(count, 36) << "three points for each of the twelve triangles of the 1 x 1 x 6 box";
    const eve_test::Box b = box_of(points, count);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(b.lo[k], 0.0, 1e-12);
    EXPECT_NEAR(b.hi[0], 1.0, 1e-12);
    EXPECT_NEAR(b.hi[2], 6.0, 1e-12);
    EXPECT_DOUBLE_EQ(distance, 5.0);
    SM_free(points);
}

TEST_F(EveOffsetsTest, ExtendWithoutADistanceLeavesEverythingAsItWas) {
    const std::vector<double> cube = cube_points(1.0);
    double* points = sm_points(cube);
    double* block = points;
    int count = 8;
    const double directions[6] = {1, 0, 0, 0, 1, 0};
    double distances[2] = {5e-8, -9e-8};
    ASSERT_EQ(envelope_offset_points_extend(&points, &count, directions, distances, 2, 1000.0), 0);
    EXPECT_EQ(points, block);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(std::vector<double>(points, points + 24), cube);
    EXPECT_EQ(distances[0], 5e-8);
    EXPECT_EQ(distances[1], -9e-8);
    EXPECT_EQ(envelope_offset_points_extend(nullptr, &count, directions, distances, 2, 1.0), -1);
    EXPECT_EQ(envelope_offset_points_extend(&points, &count, nullptr, distances, 2, 1.0), -1);
    SM_free(points);
}

TEST_F(EveOffsetsTest, EnlargeMovesTheNamedPositionsCornersOutByTheLargestOffset) {
    std::vector<double> two = cube_points(1.0);
    const std::vector<double> second = cube_points(1.0, 5.0);
    two.insert(two.end(), second.begin(), second.end());
    double* points = sm_points(two);
    int count = 16;
    const int positions[3] = {1, 1, 3};
    const double offsets[3] = {50.0, 100.0, 400.0};   // millimetres; no third position
    ASSERT_EQ(envelope_offset_points_enlarge(&points, &count, 8, positions, offsets, 3, 0.001), 0);
    ASSERT_EQ(count, 16);
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(std::fabs(points[3 * i + k] - 0.5), 0.6, 1e-12) << "corner " << i << " of [-0.1, 1.1]^3";
    EXPECT_EQ(std::vector<double>(points + 24, points + 48), second);
    SM_free(points);
}

TEST_F(EveOffsetsTest, EnlargeKeepsWholePositionsOnly) {
    struct Case {
        const char* what;
        int count, per_position;
        double offset;
        int expected;
        double half_width;   // of the first position's box about 0.5
    };
    const Case cases[] = {
        {"trailing points are dropped", 19, 8, 0.0, 16, 0.5},
        {"a negative offset moves nothing", 16, 8, -3.0, 16, 0.5},
        {"one position when per_position exceeds count", 16, 40, 0.25, 8, 0.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<double> p = cube_points(1.0);
        const std::vector<double> far = cube_points(1.0, 0.0, 0.0, -3.0);
        p.insert(p.end(), far.begin(), far.end());
        p.insert(p.end(), {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5});
        double* points = sm_points(std::vector<double>(p.begin(), p.begin() + 3 * c.count));
        int count = c.count;
        const int position = 1;
        ASSERT_EQ(envelope_offset_points_enlarge(&points, &count, c.per_position, &position, &c.offset, 1, 1.0), 0);
        EXPECT_EQ(count, c.expected);
        const eve_test::Box b = box_of(points, 8);
        EXPECT_NEAR(b.hi[0] - 0.5, c.half_width, 1e-12);
        SM_free(points);
    }
}

TEST_F(EveOffsetsTest, AFlatPositionLeavesThePointsAsTheyWere) {
    const std::vector<double> square = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    double* points = sm_points(square);
    int count = 4;
    const int position = 1;
    const double offset = 1.0;
    EXPECT_EQ(envelope_offset_points_enlarge(&points, &count, 4, &position, &offset, 1, 1.0), HM_ERR_GEOMETRY);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(std::vector<double>(points, points + 12), square);
    SM_free(points);
}

class HullBodyTest : public EveTest {
protected:
    std::string point_file(const std::vector<double>& p, const char* extra = "") {
        std::string text;
        char line[100];
        for (size_t i = 0; i < p.size(); i += 3) {
            std::snprintf(line, sizeof line, "%f %f %f\n", p[i], p[i + 1], p[i + 2]);
            text += line;
        }
        write_file(path("points.dat"), text + extra);
        return path("points.dat");
    }
};

TEST_F(HullBodyTest, ThePointFilesHullBecomesASolidAtThePartsScale) {
    std::vector<double> p = cube_points(0.1);
    p.insert(p.end(), {0.05, 0.05, 0.05});
    tag_t body = 0;
    ASSERT_EQ(VD_EVE_create_bv_body_from_points(point_file(p).c_str(), 9, &body), 0);
    ASSERT_NE(body, 0u);
    // A 100 mm cube as read back to single precision: 0.1f m a side.
    const double side = 1000.0 * static_cast<double>(0.1f);
    EXPECT_NEAR(host_testing::volume(body), side * side * side, 1e-4);
    EXPECT_GT(host_testing::volume(body) - 1.0e6, 0.04) << "the single-precision round trip shows";
}

TEST_F(HullBodyTest, ShortFlatOrMissingFilesMakeNoBody) {
    struct Case {
        const char* what;
        std::vector<double> points;
        const char* extra;
        int n;
        int result;
    };
    const Case cases[] = {
        {"fewer than four points asked", cube_points(0.1), "", 3, -1},
        {"an empty line before the last point", cube_points(0.1), "\n0.05 0.05 0.05\n", 9, -2},
        {"the file ends early", cube_points(0.1), "", 12, -2},
        {"points on one plane", {0, 0, 0, 0.1, 0, 0, 0.1, 0.1, 0, 0, 0.1, 0}, "", 4, HM_ERR_GEOMETRY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tag_t body = 99;
        EXPECT_EQ(VD_EVE_create_bv_body_from_points(point_file(c.points, c.extra).c_str(), c.n, &body), c.result);
        EXPECT_EQ(body, 0u);
    }
    tag_t body = 99;
    EXPECT_EQ(VD_EVE_create_bv_body_from_points(path("missing.dat").c_str(), 8, &body), -1);
    EXPECT_EQ(VD_EVE_create_bv_body_from_points(nullptr, 8, &body), -1);
    EXPECT_EQ(body, 0u);
    EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), 0);
}

}  // namespace
