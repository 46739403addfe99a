// Booleans, face queries, extrusions and projected curves of the stand-in:
// the common region kept in place, shared regions of coplanar sheets, the
// kernel's trial Booleans, extreme points with their tie-breaks, planarity,
// reversed normals, plane-bounded trims, slabs with their expressions and
// curves projected into groups.
#include "ambrith.h"
#include "geometry/booleans.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

tag_t rectangle(double x0, double y0, double x1, double y1, double z = 0.0) {
    const double corner[3] = {x0, y0, z}, u[3] = {x1 - x0, 0, 0}, v[3] = {0, y1 - y0, 0};
    return host_testing::make_planar_sheet(corner, u, v);
}

class HostBooleanTest : public HostTest {};

TEST_F(HostBooleanTest, IntersectInPlaceKeepsTheCommonRegionAndConsumesTheTool) {
    // Coplanar sheets: the 30 x 30 overlap.
    const tag_t a = rectangle(0, 0, 100, 50);
    const tag_t b = rectangle(70, 20, 170, 70);
    ASSERT_EQ(HM_MODL_operations(a, b, HM_MODL_INTERSECT), 0);
    EXPECT_NEAR(host_testing::surface_area(a), 900.0, 1e-6);
    EXPECT_NE(HM_OBJ_ask_status(b), HM_OBJ_ALIVE);
    // A sheet's part inside a solid: the box covers x <= 40 of the sheet.
    const tag_t sheet = rectangle(0, 0, 100, 50);
    const double corner[3] = {-10, -10, -10}, size[3] = {50, 100, 20};
    const tag_t box = host_testing::make_box(corner, size);
    ASSERT_EQ(HM_MODL_operations(sheet, box, HM_MODL_INTERSECT), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 40.0 * 50.0, 1e-6);
    // Nothing in common: a failure that changes nothing.
    const tag_t c = rectangle(0, 0, 10, 10);
    const tag_t far = rectangle(500, 0, 510, 10);
    EXPECT_NE(HM_MODL_operations(c, far, HM_MODL_INTERSECT), 0);
    EXPECT_EQ(HM_OBJ_ask_status(far), HM_OBJ_ALIVE);
    EXPECT_NEAR(host_testing::surface_area(c), 100.0, 1e-9);
    EXPECT_EQ(HM_MODL_operations(c, far, 2), HM_ERR_BAD_ARGUMENT);
}

// The subtraction in place behind the older host's Boolean call: the target
// keeps what is left, the tool is consumed, the count is that of the pieces.
TEST_F(HostBooleanTest, SubtractInPlaceCountsThePiecesLeft) {
    const struct {
        const char* name;
        double target_corner[3], target_size[3], tool_corner[3], tool_size[3];
        int pieces;
        double volume;
    } cases[] = {
        // A 10 cube less the half x < 5: one 5 x 10 x 10 piece.
        {"half cut off", {0, 0, 0}, {10, 10, 10}, {-1, -1, -1}, {6, 12, 12}, 1, 500.0},
        // A 30 x 10 x 10 bar less a 10-wide band across its middle: two cubes.
        {"bar cut in two", {0, 0, 0}, {30, 10, 10}, {10, -1, -1}, {10, 12, 12}, 2, 2000.0},
        // A tool that misses: the target as it was.
        {"tool apart", {0, 0, 0}, {10, 10, 10}, {50, 0, 0}, {10, 10, 10}, 1, 1000.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t target = host_testing::make_box(c.target_corner, c.target_size);
        const tag_t tool = host_testing::make_box(c.tool_corner, c.tool_size);
        int pieces = -1;
        ASSERT_EQ(host::subtract_in_place(target, tool, &pieces), 0);
        EXPECT_EQ(pieces, c.pieces);
        EXPECT_NEAR(host_testing::volume(target), c.volume, 1e-6);
        EXPECT_NE(HM_OBJ_ask_status(tool), HM_OBJ_ALIVE) << "the tool is consumed";
    }
    // A sheet covered by the tool would leave nothing: a failure that changes nothing.
    const tag_t sheet = rectangle(0, 0, 10, 10);
    const tag_t cover = rectangle(-5, -5, 20, 20);
    int pieces = -1;
    EXPECT_EQ(host::subtract_in_place(sheet, cover, &pieces), HM_ERR_GEOMETRY);
    EXPECT_EQ(HM_OBJ_ask_status(cover), HM_OBJ_ALIVE);
    EXPECT_NEAR(host_testing::surface_area(sheet), 100.0, 1e-9);
    // Coplanar sheets: a 10 x 10 square less a 4 x 4 corner.
    const tag_t corner = rectangle(6, 6, 20, 20);
    ASSERT_EQ(host::subtract_in_place(sheet, corner, &pieces), 0);
    EXPECT_EQ(pieces, 1);
    EXPECT_NEAR(host_testing::surface_area(sheet), 100.0 - 16.0, 1e-6);
}

TEST_F(HostBooleanTest, IntersectBodiesGivesASheetPerSharedRegionOrTheSection) {
    // A strip across a coplanar sheet: their shared region is one sheet.
    const tag_t a = rectangle(0, 0, 100, 50);
    const tag_t strip = rectangle(-10, 20, 110, 30);
    int count = 0;
    tag_t* bodies = nullptr;
    ASSERT_EQ(HM_MODL_intersect_bodies(a, strip, &count, &bodies), 0);
    ASSERT_EQ(count, 1);
    EXPECT_NEAR(host_testing::surface_area(bodies[0]), 1000.0, 1e-6);
    EXPECT_EQ(support::faces_of(bodies[0]).size(), 1u);
    HM_free(bodies);
    // The strip less a middle square is two pieces, each a new body.
    const tag_t middle = rectangle(40, 0, 60, 50);
    int pieces = 0;
    tag_t* parts = nullptr;
    ASSERT_EQ(HM_MODL_subtract_bodies(strip, middle, &pieces, &parts), 0);
    ASSERT_EQ(pieces, 2);
    ASSERT_EQ(HM_MODL_intersect_bodies(a, parts[0], &count, &bodies), 0);
    EXPECT_EQ(count, 1);
    HM_free(bodies);
    SM_free(parts);
    // Crossing sheets: the section, a wire.
    const double corner[3] = {50, -10, -10}, u[3] = {0, 70, 0}, v[3] = {0, 0, 20};
    const tag_t crossing = host_testing::make_planar_sheet(corner, u, v);
    ASSERT_EQ(HM_MODL_intersect_bodies(a, crossing, &count, &bodies), 0);
    ASSERT_EQ(count, 1);
    EXPECT_TRUE(support::faces_of(bodies[0]).empty());
    EXPECT_EQ(support::edges_of(bodies[0]).size(), 1u);
    HM_free(bodies);
}

TEST_F(HostBooleanTest, KernelBooleansCountPiecesAndMeasureThem) {
    const tag_t sheet = rectangle(0, 0, 100, 50);
    const tag_t strip = rectangle(40, -10, 60, 60);
    tag_t kernel = 0, partition = 0;
    ASSERT_EQ(ES_solid_ask_brelvic_tag(sheet, &kernel), 0);
    ASSERT_EQ(GQ_ENTITY_ask_partition(kernel, &partition), 0);
    EXPECT_EQ(GQ_BODY_change_partition(kernel, partition), 0);
    struct Case {
        const char* what;
        int (*op)(tag_t, int, const tag_t*, int*, tag_t**);
        int bodies;
        double amount;
    } cases[] = {{"subtract", GQ_BODY_subtract_bodies, 2, 4000.0},
                 {"intersect", GQ_BODY_intersect_bodies, 1, 1000.0},
                 {"unite", GQ_BODY_unite_bodies, 1, 5000.0 + 1400.0 - 1000.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int count = 0;
        tag_t* made = nullptr;
        ASSERT_EQ(c.op(sheet, 1, &strip, &count, &made), 0);
        EXPECT_EQ(count, c.bodies);
        double amount = 0, centre[3], periphery = 0;
        ASSERT_EQ(GQ_TOPOL_eval_mass_props(count, made, 1.0, 0, nullptr, &amount, nullptr, centre, &periphery), 0);
        EXPECT_NEAR(amount, c.amount, 1e-6);
        SM_free(made);
    }
    int count = 0;
    tag_t* made = nullptr;
    EXPECT_EQ(GQ_BODY_subtract_bodies(sheet, 2, &strip, &count, &made), HM_ERR_BAD_ARGUMENT);
    EXPECT_NEAR(host_testing::surface_area(sheet), 5000.0, 1e-9);   // inputs stay
}

TEST_F(HostBooleanTest, ExtremePointsBreakTiesAndPlanarityAndFaceData) {
    const tag_t sheet = rectangle(0, 0, 100, 50, 7);
    const tag_t face = support::faces_of(sheet)[0];
    struct Case {
        const char* what;
        double d1[3], d2[3], d3[3];
        support::Point3 point;
    } cases[] = {{"+x then +y", {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {100, 50, 7}},
                 {"+x then -y", {1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {100, 0, 7}},
                 {"+z then -x, -y", {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, 7}},
                 {"diagonal", {1, 1, 0}, {0, 0, 1}, {1, 0, 0}, {100, 50, 7}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tag_t sub = 0;
        double p[3];
        ASSERT_EQ(HM_MODL_ask_extreme(face, c.d1, c.d2, c.d3, &sub, p), 0);
        support::expect_point(p, c.point, 1e-6);
        EXPECT_NE(sub, 0u);
    }
    // On a sphere the extreme may lie inside the face: the face holds it.
    const double centre[3] = {0, 0, 0};
    const tag_t ball = host_testing::make_sphere(centre, 200.0);
    tag_t sub = 0;
    double p[3];
    const double up[3] = {0, 0, 1}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    ASSERT_EQ(HM_MODL_ask_extreme(ball, x, up, y, &sub, p), 0);
    support::expect_point(p, {100, 0, 0}, 1e-5);

    int dimensionality = 0;
    double plane[6];
    ASSERT_EQ(HM_MODL_ask_obj_dimensionality(sheet, 0.9, &dimensionality, plane), 0);
    EXPECT_EQ(dimensionality, 2);
    EXPECT_NEAR(std::fabs(plane[5]), 1.0, 1e-12);
    ASSERT_EQ(HM_MODL_ask_obj_dimensionality(ball, 0.9, &dimensionality, plane), 0);
    EXPECT_EQ(dimensionality, 3);

    int type = 0, sense = 0;
    double point[3], normal[3], box[6], radius = 0, radius2 = 0;
    ASSERT_EQ(HM_MODL_ask_face_data(face, &type, point, normal, box, &radius, &radius2, &sense), 0);
    EXPECT_EQ(type, HM_FACE_PLANAR);
    const double before = normal[2];
    tag_t feature = 0;
    ASSERT_EQ(HM_MODL_create_reverse_normal(sheet, &feature), 0);
    ASSERT_EQ(HM_MODL_ask_face_data(support::faces_of(sheet)[0], &type, point, normal, box, &radius, &radius2, &sense),
              0);
    EXPECT_NEAR(normal[2], -before, 1e-12);
    ASSERT_EQ(HM_MODL_ask_face_data(support::faces_of(ball)[0], &type, point, normal, box, &radius, &radius2, &sense),
              0);
    EXPECT_EQ(type, HM_FACE_SPHERICAL);
    EXPECT_NEAR(radius, 100.0, 1e-9);
    EXPECT_EQ(HM_MODL_create_reverse_normal(ball, &feature), HM_ERR_WRONG_TYPE);
}

TEST_F(HostBooleanTest, ASphereHalvedByAPlaneStaysOneFace) {
    const double centre[3] = {0, 0, 0}, axis[3] = {1, 0, 0};
    const tag_t ball = host_testing::make_sphere(centre, 2000.0);
    tag_t sheet = 0, plane = 0;
    ASSERT_EQ(HM_MODL_extract_face(support::faces_of(ball)[0], 0, &sheet), 0);
    ASSERT_EQ(HM_MODL_create_plane(centre, axis, &plane), 0);
    const HM_MODL_trim_object_t bound{plane, 0};
    const HM_MODL_proj_method_t along{2, {-1, 0, 0}};
    const double keep[3] = {1000, 0, 0};
    int gaps = 0;
    double* gap_points = nullptr;
    ASSERT_EQ(HM_MODL_trim_sheet(sheet, 1, &bound, &along, 1, 1, keep, 0.01, &gaps, &gap_points), 0);
    EXPECT_EQ(support::faces_of(sheet).size(), 1u);
    EXPECT_NEAR(host_testing::surface_area(sheet), 2.0 * M_PI * 1000.0 * 1000.0, 1.0);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(sheet, box), 0);
    EXPECT_NEAR(box[0], 0.0, 1e-6);
    EXPECT_NEAR(box[3], 1000.0, 1e-6);
}

// Point key 1 keeps the region point's side of the curves, 0 the other
// side: a 100 square cut by a circle of radius 20 about its middle, the
// point inside the circle, then outside it.
TEST_F(HostBooleanTest, TrimPointKeyKeepsThePointsSideOrTheOther) {
    const double disc = M_PI * 20.0 * 20.0, square = 100.0 * 100.0;
    const struct {
        const char* name;
        double point[3];
        int key;
        double area;
    } cases[] = {
        {"inside, kept", {50, 50, 0}, 1, disc},
        {"inside, other side", {50, 50, 0}, 0, square - disc},
        {"outside, kept", {5, 5, 0}, 1, square - disc},
        {"outside, other side", {5, 5, 0}, 0, disc},
    };
    const HM_MODL_proj_method_t along{2, {0, 0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t sheet = rectangle(0, 0, 100, 100);
        const tag_t circle = host_testing::make_arc({50, 50, 0}, 20.0, 0.0, 2.0 * M_PI);
        const HM_MODL_trim_object_t bound{circle, 0};
        int gaps = -1;
        double* gap_points = nullptr;
        ASSERT_EQ(HM_MODL_trim_sheet(sheet, 1, &bound, &along, c.key, 1, c.point, 0.01, &gaps, &gap_points), 0);
        EXPECT_EQ(gaps, 0);
        EXPECT_NEAR(host_testing::surface_area(sheet), c.area, 1e-3);
    }
    const tag_t sheet = rectangle(0, 0, 100, 100);
    const tag_t circle = host_testing::make_arc({50, 50, 0}, 20.0, 0.0, 2.0 * M_PI);
    const HM_MODL_trim_object_t bound{circle, 0};
    const double point[3] = {50, 50, 0};
    int gaps = -1;
    double* gap_points = nullptr;
    EXPECT_EQ(HM_MODL_trim_sheet(sheet, 1, &bound, &along, 2, 1, point, 0.01, &gaps, &gap_points),
              HM_ERR_BAD_ARGUMENT);
    EXPECT_NEAR(host_testing::surface_area(sheet), square, 1e-6);
}

TEST_F(HostBooleanTest, ExtrusionsMakeSlabsWithExpressions) {
    const tag_t sheet = rectangle(0, 0, 100, 50);
    const hm_list_p_t faces = support::make_list(support::faces_of(sheet));
    const char* limits[2] = {"-1.0", "1.0"};
    const double origin[3] = {0, 0, 0}, up[3] = {0, 0, 2};
    hm_list_p_t features = nullptr;
    ASSERT_EQ(HM_MODL_create_extruded(faces, "0.0", limits, origin, up, HM_NULLSIGN, &features), 0);
    const std::vector<tag_t> made = support::list_items(features);
    ASSERT_EQ(made.size(), 1u);
    tag_t slab = 0;
    ASSERT_EQ(HM_MODL_ask_feat_body(made[0], &slab), 0);
    EXPECT_NEAR(host_testing::volume(slab), 100.0 * 50.0 * 2.0, 1e-6);
    tag_t* expressions = nullptr;
    int count = 0;
    ASSERT_EQ(HM_MODL_ask_exps_of_feature(made[0], &expressions, &count), 0);
    ASSERT_EQ(count, 3);
    int type = 0, subtype = 0;
    ASSERT_EQ(HM_OBJ_ask_type_and_subtype(expressions[0], &type, &subtype), 0);
    EXPECT_EQ(type, HM_expression_type);
    const tag_t first = expressions[0];
    SM_free(expressions);
    // The expressions go with the body.
    ASSERT_EQ(HM_OBJ_delete_object(slab), 0);
    EXPECT_NE(HM_OBJ_ask_status(first), HM_OBJ_ALIVE);
    HM_MODL_delete_list(&features);
    EXPECT_EQ(HM_MODL_create_extruded(faces, "5.0", limits, origin, up, HM_NULLSIGN, &features), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(features, nullptr);
    hm_list_p_t owned = faces;
    HM_MODL_delete_list(&owned);
}

TEST_F(HostBooleanTest, ProjectedCurvesLandInAGroup) {
    // A circle of radius 10 about (0, 0, 50) in a plane tilted about X.
    const tag_t circle = host_testing::make_arc({0, 0, 50}, 10.0, 0.0, 2 * M_PI, {1, 0, 0}, {0, 0.8, 0.6});
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    HM_CURVE_proj_curves_data_t data{};
    ASSERT_EQ(HM_CURVE_init_proj_curves_data(&data), 0);
    tag_t group = 0;
    ASSERT_EQ(HM_CURVE_create_proj_curves(1, &circle, 1, &plane, 1, &data, &group), 0);
    tag_t* members = nullptr;
    int count = 0;
    ASSERT_EQ(HM_GROUP_ask_group_data(group, &members, &count), 0);
    ASSERT_EQ(count, 1);
    // Along the plane's normal: an ellipse of semi-axes 10 and 8 in z = 0.
    EXPECT_NEAR(support::curve_length(members[0]), 56.7233, 1e-3);
    EXPECT_NEAR(support::curve_point(members[0], 0.0)[2], 0.0, 1e-9);
    const tag_t curve = members[0];
    SM_free(members);
    ASSERT_EQ(HM_GROUP_ungroup_top(group), 0);
    EXPECT_EQ(HM_OBJ_ask_status(curve), HM_OBJ_ALIVE);
    // Along a vector onto a face: the sheet z = 0 along (0, 0.6, -0.8) gives the circle's shadow.
    const tag_t sheet = rectangle(-100, -100, 100, 100);
    data.proj_dir_method = HM_PROJ_ALONG_VECTOR;
    data.proj_vec[0] = 0;
    data.proj_vec[1] = 0.6;
    data.proj_vec[2] = -0.8;
    data.join = 1;
    ASSERT_EQ(HM_CURVE_create_proj_curves(1, &circle, 1, &sheet, 2, &data, &group), 0);
    ASSERT_EQ(HM_GROUP_ask_group_data(group, &members, &count), 0);
    EXPECT_EQ(count, 1);
    SM_free(members);
    data.proj_dir_method = 9;
    EXPECT_EQ(HM_CURVE_create_proj_curves(1, &circle, 1, &sheet, 2, &data, &group), HM_ERR_BAD_ARGUMENT);
}

TEST_F(HostBooleanTest, ProjectedPointsLandWhereTheirLineMeetsTheTarget) {
    using host_testing::Point3;
    const tag_t point = host_testing::make_point({10, 20, 30});
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const double corner[3] = {0, 0, 0}, size[3] = {50, 50, 10};
    const tag_t box = host_testing::make_box(corner, size);
    HM_CURVE_proj_curves_data_t data{};
    ASSERT_EQ(HM_CURVE_init_proj_curves_data(&data), 0);
    tag_t group = 0;
    EXPECT_EQ(HM_CURVE_create_proj_curves(1, &point, 1, &plane, 1, &data, &group), HM_ERR_WRONG_TYPE)
        << "a point goes along a vector only";
    data.proj_dir_method = HM_PROJ_ALONG_VECTOR;
    struct Case {
        const char* what;
        tag_t target;
        Point3 vector;
        std::vector<Point3> hits;   // nearest to the point first
    };
    const Case cases[] = {
        // Along (1, 0, 1) the line through (10, 20, 30) meets z = 0 at x = -20.
        {"a plane behind the point", plane, {1, 0, 1}, {{-20, 20, 0}}},
        {"a box: its top, then its bottom", box, {0, 0, -2}, {{10, 20, 10}, {10, 20, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int k = 0; k < 3; ++k) data.proj_vec[k] = c.vector[k];
        ASSERT_EQ(HM_CURVE_create_proj_curves(1, &point, 1, &c.target, 1, &data, &group), 0);
        tag_t* members = nullptr;
        int count = 0;
        ASSERT_EQ(HM_GROUP_ask_group_data(group, &members, &count), 0);
        ASSERT_EQ(count, static_cast<int>(c.hits.size()));
        for (int i = 0; i < count; ++i) {
            double p[3];
            ASSERT_EQ(HM_CURVE_ask_point_data(members[i], p), 0);
            support::expect_point(p, c.hits[i], 1e-7);
        }
        SM_free(members);
    }
    const tag_t beside = host_testing::make_point({500, 20, 30});
    EXPECT_EQ(HM_CURVE_create_proj_curves(1, &beside, 1, &box, 1, &data, &group), HM_ERR_GEOMETRY);
}

TEST_F(HostBooleanTest, FontsGridCountsAndTheVehicleFrame) {
    const tag_t sheet = rectangle(0, 0, 10, 10);
    int font = -1;
    ASSERT_EQ(HM_OBJ_set_font(sheet, HM_FONT_DOTTED), 0);
    ASSERT_EQ(HM_OBJ_ask_font(sheet, &font), 0);
    EXPECT_EQ(font, HM_FONT_DOTTED);
    EXPECT_EQ(HM_OBJ_set_font(sheet, 99), HM_ERR_BAD_ARGUMENT);
    const tag_t face = support::faces_of(sheet)[0];
    int u = 0, v = 0;
    ASSERT_EQ(hm5401(face, 12, 7), 0);
    ASSERT_EQ(hm5402(face, &u, &v), 0);
    EXPECT_EQ(u, 12);
    EXPECT_EQ(v, 7);
    EXPECT_EQ(hm5401(sheet, 1, 1), HM_ERR_WRONG_TYPE);
    double uv[4];
    ASSERT_EQ(HM_MODL_ask_face_uv_minmax(face, uv), 0);
    EXPECT_GT(uv[1], uv[0]);

    double origin[3], matrix[9];
    ASSERT_EQ(VD_get_csys(origin, matrix), 0);
    EXPECT_EQ(matrix[0], 1.0);
    EXPECT_EQ(origin[0], 0.0);
    const double values[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1}, at[3] = {5, 6, 7};
    tag_t m = 0, csys = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(values, &m), 0);
    ASSERT_EQ(HM_CSYS_create_csys(at, m, &csys), 0);
    ASSERT_EQ(HM_OBJ_set_name(csys, VD_VEHICLE_CSYS_NAME), 0);
    ASSERT_EQ(VD_get_csys(origin, matrix), 0);
    support::expect_point(origin, {5, 6, 7}, 0.0);
    EXPECT_EQ(matrix[1], 1.0);
}

}  // namespace
