// The host's convex hulls and the polyhedral solids made from them: a
// cube's hull with points inside and on its faces, outward normals, the
// volume the facets enclose, flat input refused with nothing allocated, and
// the solid's volume at the part's scale.
#include "host_fixture.h"
#include "host_testing.h"
#include "jorvale.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

namespace {

class HullTest : public HostTest {
protected:
    // Runs a hull over the points (kept by the fixture, as a caller keeps its block).
    int hull(std::vector<double> points, double tolerance = 0.0) {
        points_ = std::move(points);
        input_ = CHULL_input_t{};
        input_.option = 2;
        input_.tolerance = tolerance;
        input_.count = static_cast<int>(points_.size() / 3);
        input_.points = reinterpret_cast<double(*)[3]>(points_.data());
        output_ = CHULL_output_t{};
        return CHULL_convex_hull(&input_, &output_);
    }
    void TearDown() override {
        CHULL_free_hull(&input_, &output_);
        HostTest::TearDown();
    }
    // Volume enclosed by the facets (divergence theorem over the triangles).
    double enclosed_volume() const {
        double v = 0.0;
        for (int i = 0; i < output_.n_facets; ++i) {
            const int* f = output_.facets[i].verts;
            const double* a = input_.points[f[0]];
            const double* b = input_.points[f[1]];
            const double* c = input_.points[f[2]];
            v += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                  a[2] * (b[0] * c[1] - b[1] * c[0])) / 6.0;
        }
        return v;
    }

    std::vector<double> points_;
    CHULL_input_t input_{};
    CHULL_output_t output_{};
};

std::vector<double> cube(double size) {
    std::vector<double> p;
    for (int i = 0; i < 8; ++i) p.insert(p.end(), {size * (i & 1), size * ((i >> 1) & 1), size * ((i >> 2) & 1)});
    return p;
}

TEST_F(HullTest, CubeWithInnerAndFacePointsHasEightVerticesAndTwelveOutwardTriangles) {
    std::vector<double> p = cube(2.0);
    p.insert(p.end(), {1.0, 1.0, 1.0, 0.5, 1.5, 0.2, 1.0, 1.0, 0.0, 2.0, 1.0, 1.0, 1.0, 0.0, 1.0});
    ASSERT_EQ(hull(p), 0);
    EXPECT_EQ(input_.count, 8);
    EXPECT_EQ(output_.n_facets, 12);
    // Every vertex is a cube corner; the six face normals are the axes.
    std::set<std::tuple<long, long, long>> normals;
    for (int i = 0; i < input_.count; ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(input_.points[i][k] == 0.0 || input_.points[i][k] == 2.0) << "vertex " << i;
    for (int i = 0; i < output_.n_facets; ++i) {
        const CHULL_facet_t& f = output_.facets[i];
        const double length = std::sqrt(f.normal[0] * f.normal[0] + f.normal[1] * f.normal[1] + f.normal[2] * f.normal[2]);
        EXPECT_NEAR(length, 1.0, 1e-12);
        // Outward: the centre (1,1,1) lies behind every facet.
        const double* a = input_.points[f.verts[0]];
        const double behind = (1.0 - a[0]) * f.normal[0] + (1.0 - a[1]) * f.normal[1] + (1.0 - a[2]) * f.normal[2];
        EXPECT_NEAR(behind, -1.0, 1e-12);
        normals.insert({std::lround(f.normal[0]), std::lround(f.normal[1]), std::lround(f.normal[2])});
    }
    EXPECT_EQ(normals.size(), 6u);
    EXPECT_NEAR(enclosed_volume(), 8.0, 1e-12);
}

TEST_F(HullTest, PointsOnASphereAreAllVerticesAndTheVolumeApproachesTheBall) {
    std::vector<double> p;
    const int n = 2000;
    // Fibonacci sphere of radius 1.
    for (int i = 0; i < n; ++i) {
        const double z = 1.0 - 2.0 * (i + 0.5) / n, r = std::sqrt(1.0 - z * z), phi = i * 2.399963229728653;
        p.insert(p.end(), {r * std::cos(phi), r * std::sin(phi), z});
    }
    ASSERT_EQ(hull(p), 0);
    EXPECT_EQ(input_.count, n);
    EXPECT_EQ(output_.n_facets, 2 * n - 4);   // Euler: a triangulated sphere
    // Inscribed in the unit ball: a little less than its volume (facets of
    // about 0.08 edge cut off under 0.5 %).
    const double ball = 4.0 / 3.0 * M_PI;
    EXPECT_LT(enclosed_volume(), ball);
    EXPECT_GT(enclosed_volume(), 0.995 * ball);
}

TEST_F(HullTest, FlatOrShortInputIsRefusedWithNothingAllocated) {
    struct Case {
        const char* what;
        std::vector<double> points;
        double tolerance;
        int code;
    };
    const Case cases[] = {
        {"three points", {0, 0, 0, 1, 0, 0, 0, 1, 0}, 0.0, HM_ERR_BAD_ARGUMENT},
        {"a square and its centre", {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5, 0.5, 0}, 0.0, HM_ERR_GEOMETRY},
        {"points on a line", {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3}, 0.0, HM_ERR_GEOMETRY},
        {"a slab thinner than the tolerance", {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0.001}, 0.01, HM_ERR_GEOMETRY},
        {"a negative tolerance", cube(1.0), -1.0, HM_ERR_BAD_ARGUMENT},
        {"a point not finite", {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, NAN}, 0.0, HM_ERR_BAD_ARGUMENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t live = host_testing::live_allocations();
        const double* caller = nullptr;
        EXPECT_EQ(hull(c.points, c.tolerance), c.code);
        caller = points_.data();
        EXPECT_EQ(input_.points, reinterpret_cast<const double(*)[3]>(caller)) << "request left as it was";
        EXPECT_EQ(output_.n_facets, 0);
        EXPECT_EQ(output_.facets, nullptr);
        EXPECT_EQ(host_testing::live_allocations(), live);
    }
    // Freeing a request no hull filled leaves the caller's points alone.
    CHULL_free_hull(&input_, &output_);
    EXPECT_NE(input_.points, nullptr);
}

TEST_F(HullTest, SolidFromTheFacetsEnclosesTheHullAtThePartScale) {
    // A 0.1 m cube with a point on a face: a 100 mm cube in the mm part.
    std::vector<double> p = cube(0.1);
    p.insert(p.end(), {0.05, 0.05, 0.1});
    ASSERT_EQ(hull(p), 0);
    tag_t body = 7;
    ASSERT_EQ(GWRAP__create_bv_body(&input_, &output_, 0.0, &body), 0);
    ASSERT_NE(body, 0u);
    EXPECT_NEAR(host_testing::volume(body), 1.0e6, 1e-3);
    EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), 1);
}

TEST_F(HullTest, SolidRefusesFacetsThatNameNoVertex) {
    ASSERT_EQ(hull(cube(0.1)), 0);
    output_.facets[3].verts[1] = input_.count;
    tag_t body = 7;
    EXPECT_EQ(GWRAP__create_bv_body(&input_, &output_, 0.0, &body), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(body, 0u);
    EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), 0);
    EXPECT_EQ(GWRAP__create_bv_body(&input_, &output_, 0.0, nullptr), HM_ERR_NULL_POINTER);
}

}  // namespace
