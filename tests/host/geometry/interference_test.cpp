// Body queries of the stand-in host used by the see-through steps: the
// interference of bodies, the walk over the facets of a facetted solid with
// their vertex normals, and the volume centre of solids.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <cmath>
#include <vector>

namespace {

class BodyInterferenceTest : public HostTest {
protected:
    // A 10 mm cube with its lower corner at x along the x axis.
    static tag_t Cube(double x, double y = 0.0, double z = 0.0) {
        const double corner[3] = {x, y, z}, size[3] = {10, 10, 10};
        return host_testing::make_box(corner, size);
    }
};

TEST_F(BodyInterferenceTest, ApartBodiesAnswerTwoAndMeetingBodiesOne) {
    struct Case {
        const char* name;
        double tool_x, tool_y;
        int expected;
    } cases[] = {
        {"apart by 5 mm", 15.0, 0.0, HM_INTERFERENCE_NO},
        {"apart by 0.1 mm (above the tolerance)", 10.1, 0.0, HM_INTERFERENCE_NO},
        {"touching face to face", 10.0, 0.0, HM_INTERFERENCE_YES},
        {"touching along an edge only", 10.0, 10.0, HM_INTERFERENCE_YES},
        {"overlapping by half", 5.0, 0.0, HM_INTERFERENCE_YES},
        {"within the distance tolerance", 10.005, 0.0, HM_INTERFERENCE_YES},
    };
    const tag_t target = Cube(0.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tag_t tool = Cube(c.tool_x, c.tool_y);
        int result = 0;
        ASSERT_EQ(HM_MODL_check_interference(target, 1, &tool, &result), 0);
        EXPECT_EQ(result, c.expected);
        HM_OBJ_delete_object(tool);
    }
}

TEST_F(BodyInterferenceTest, ABodyInsideAnotherInterferesAndEachToolGetsItsOwnAnswer) {
    const double big_corner[3] = {-50, -50, -50}, big_size[3] = {100, 100, 100};
    const tag_t big = host_testing::make_box(big_corner, big_size);
    tag_t tools[3] = {Cube(0.0), Cube(200.0), Cube(50.0)};
    int results[3] = {0, 0, 0};
    ASSERT_EQ(HM_MODL_check_interference(big, 3, tools, results), 0);
    EXPECT_EQ(results[0], HM_INTERFERENCE_YES);   // wholly inside: no boundary meets, still interferes
    EXPECT_EQ(results[1], HM_INTERFERENCE_NO);
    EXPECT_EQ(results[2], HM_INTERFERENCE_YES);   // touches the big box's face at x = 50
}

TEST_F(BodyInterferenceTest, BadInputGivesItsCode) {
    tag_t box = Cube(0.0);
    tag_t line = support::new_line(0, 0, 0, 1, 0, 0);
    int result = -7;
    EXPECT_EQ(HM_MODL_check_interference(box, 1, nullptr, &result), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_MODL_check_interference(box, 1, &box, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_MODL_check_interference(box, 0, &box, &result), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_MODL_check_interference(NULL_TAG, 1, &box, &result), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_check_interference(box, 1, &line, &result), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_check_interference(line, 1, &box, &result), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(result, -7);
}

class FacetWalkTest : public HostTest {};

// Every facet of a sphere lies on it, its corner normals are unit vectors
// pointing out along the radius, and the corners turn about the outward
// normal.
TEST_F(FacetWalkTest, SphereFacetsCarryOutwardUnitNormalsAtTheirCorners) {
    const double centre[3] = {100, -50, 20};
    const tag_t sphere = host_testing::make_sphere(centre, 80.0);
    HM_FACET_parameters_t parameters;
    ASSERT_EQ(HM_FACET_ask_default_parameters(&parameters), 0);
    tag_t model = 0;
    ASSERT_EQ(HM_FACET_facet_solid(sphere, &parameters, &model), 0);
    int facet = -1, facets = 0;
    double worst_radius = 0.0, worst_normal = 0.0;
    bool outward_turn = true;
    for (;;) {
        ASSERT_EQ(HM_FACET_cycle_facets(model, &facet), 0);
        if (facet == -1) break;
        ++facets;
        int n = 0, m = 0;
        double v[3][3], nv[3][3];
        ASSERT_EQ(HM_FACET_ask_vertices_of_facet(model, facet, &n, v), 0);
        ASSERT_EQ(HM_FACET_ask_normals_of_facet(model, facet, &m, nv), 0);
        ASSERT_EQ(n, 3);
        ASSERT_EQ(m, 3);
        for (int k = 0; k < 3; ++k) {
            double r[3];
            for (int c = 0; c < 3; ++c) r[c] = v[k][c] - centre[c];
            const double len = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
            worst_radius = std::max(worst_radius, std::fabs(len - 40.0));
            for (int c = 0; c < 3; ++c) worst_normal = std::max(worst_normal, std::fabs(nv[k][c] - r[c] / len));
        }
        double a[3], b[3], mid[3];
        for (int c = 0; c < 3; ++c) {
            a[c] = v[1][c] - v[0][c];
            b[c] = v[2][c] - v[0][c];
            mid[c] = (v[0][c] + v[1][c] + v[2][c]) / 3.0 - centre[c];
        }
        const double cross[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        if (cross[0] * mid[0] + cross[1] * mid[1] + cross[2] * mid[2] < 0.0) outward_turn = false;
    }
    EXPECT_GT(facets, 20);
    EXPECT_LT(worst_radius, 1e-6);
    EXPECT_LT(worst_normal, 1e-6);
    EXPECT_TRUE(outward_turn);
}

class InchFacetWalkTest : public InchHostTest {};

TEST_F(InchFacetWalkTest, CornersComeInPartUnitsInAnInchPart) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 2, 3};   // inches
    const tag_t box = host_testing::make_box(corner, size);
    HM_FACET_parameters_t parameters;
    HM_FACET_ask_default_parameters(&parameters);
    tag_t model = 0;
    ASSERT_EQ(HM_FACET_facet_solid(box, &parameters, &model), 0);
    double high[3] = {0, 0, 0};
    int facet = -1, facets = 0;
    while (HM_FACET_cycle_facets(model, &facet) == 0 && facet != -1) {
        ++facets;
        int n = 0;
        double v[3][3];
        ASSERT_EQ(HM_FACET_ask_vertices_of_facet(model, facet, &n, v), 0);
        for (int k = 0; k < 3; ++k)
            for (int c = 0; c < 3; ++c) high[c] = std::max(high[c], v[k][c]);
    }
    EXPECT_EQ(facets, 12);   // two triangles on each face of the box
    support::expect_point(high, {1, 2, 3}, 1e-9);
}

// With a size bound, no facet edge is longer than it and the facets still
// cover the box's surface exactly once (their areas sum to the box's).
TEST_F(FacetWalkTest, ASizeBoundCutsFacetsButKeepsTheSurface) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    const tag_t box = host_testing::make_box(corner, size);
    HM_FACET_parameters_t parameters;
    HM_FACET_ask_default_parameters(&parameters);
    parameters.max_facet_size = 3.0;
    tag_t model = 0;
    ASSERT_EQ(HM_FACET_facet_solid(box, &parameters, &model), 0);
    double area = 0.0, longest = 0.0;
    int facet = -1;
    while (HM_FACET_cycle_facets(model, &facet) == 0 && facet != -1) {
        int n = 0;
        double v[3][3];
        ASSERT_EQ(HM_FACET_ask_vertices_of_facet(model, facet, &n, v), 0);
        double e[3][3];
        for (int k = 0; k < 3; ++k) {
            for (int c = 0; c < 3; ++c) e[k][c] = v[(k + 1) % 3][c] - v[k][c];
            longest = std::max(longest, std::sqrt(e[k][0] * e[k][0] + e[k][1] * e[k][1] + e[k][2] * e[k][2]));
        }
        const double x[3] = {e[0][1] * e[2][2] - e[0][2] * e[2][1], e[0][2] * e[2][0] - e[0][0] * e[2][2],
                             e[0][0] * e[2][1] - e[0][1] * e[2][0]};
        area += 0.5 * std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    }
    EXPECT_LE(longest, 3.0 + 1e-9);
    EXPECT_NEAR(area, 2.0 * (10 * 20 + 20 * 30 + 10 * 30), 1e-6);
    parameters.max_facet_size = -1.0;
    EXPECT_EQ(HM_FACET_facet_solid(box, &parameters, &model), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(model, 0u);
}

TEST_F(FacetWalkTest, WrongModelOrFacetGivesItsCode) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    HM_FACET_parameters_t parameters;
    HM_FACET_ask_default_parameters(&parameters);
    tag_t model = 0;
    ASSERT_EQ(HM_FACET_facet_solid(box, &parameters, &model), 0);
    int facet = -1, n = 5;
    double v[3][3];
    EXPECT_EQ(HM_FACET_cycle_facets(box, &facet), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_FACET_cycle_facets(model, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_FACET_ask_vertices_of_facet(model, 12, &n, v), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(HM_FACET_ask_normals_of_facet(model, -1, &n, v), HM_ERR_BAD_ARGUMENT);
}

class SolidMassTest : public HostTest {};

// Volume centre of two boxes together: the volume-weighted mean of their
// centres, which the centre of their surface areas misses.
TEST_F(SolidMassTest, SolidsAreMeasuredByVolumeInTheAskedUnits) {
    const double c1[3] = {0, 0, 0}, s1[3] = {10, 10, 10};     // 1000 mm3 about (5, 5, 5)
    const double c2[3] = {20, 0, 0}, s2[3] = {20, 10, 10};    // 2000 mm3 about (30, 5, 5)
    const tag_t bodies[2] = {host_testing::make_box(c1, s1), host_testing::make_box(c2, s2)};
    const double accuracy[11] = {0.99};
    double props[47];
    ASSERT_EQ(HM_MODL_ask_mass_props_3d(2, bodies, 1, HM_MASS_UNITS_CM, 1.0, 1, accuracy, props, nullptr), 0);
    EXPECT_NEAR(props[0], 3.0, 1e-9);   // 3000 mm3 = 3 cm3
    support::expect_point(&props[3], {65.0 / 3.0 / 10.0, 0.5, 0.5}, 1e-9);
    const tag_t sheet = host_testing::make_planar_sheet(c1, s1, c2);
    EXPECT_EQ(HM_MODL_ask_mass_props_3d(1, &sheet, 1, HM_MASS_UNITS_CM, 1.0, 1, accuracy, props, nullptr),
              HM_ERR_WRONG_TYPE);
}

}  // namespace
