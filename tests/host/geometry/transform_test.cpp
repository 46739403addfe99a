// Transformation of objects by the twelve-value matrix (moves, copies,
// non-uniform scaling, mirrors), copies of objects and the mapping of
// geometry between absolute and a coordinate system.
#include "belmorra.h"
#include "core/model.h"
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using support::curve_point;
using support::expect_point;
using support::kPi;

using host_testing::Point3;
using Matrix12 = std::array<double, 12>;

// Applies the matrix to one object; answers the new (or moved) object.
tag_t Apply(const Matrix12& m, tag_t object, int mode, int layer = -1, int* status_out = nullptr) {
    tag_t result = 0, trace = 99;
    int status = -1;
    const int r = hm5947(m.data(), &object, 1, mode, layer, 2, &result, &trace, &status);
    EXPECT_EQ(r, status);
    EXPECT_EQ(trace, 0u);
    if (status_out) *status_out = status;
    return result;
}

int TypeOf(tag_t object) {
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(object, &type, &subtype);
    return type;
}

const Matrix12 kScaleX2 = {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

class ObjectTransformTest : public HostTest {};

TEST_F(ObjectTransformTest, MovesAndRotatedCopies) {
    tag_t point = host_testing::make_point({1, 2, 3});
    const Matrix12 shift = {1, 0, 0, 10, 0, 1, 0, -1, 0, 0, 1, 0.5};
    EXPECT_EQ(Apply(shift, point, 1), point) << "a move keeps the object";
    double xyz[3];
    ASSERT_EQ(HM_CURVE_ask_point_data(point, xyz), 0);
    expect_point({xyz[0], xyz[1], xyz[2]}, {11, 1, 3.5});

    // A quarter turn about z through (1, 0, 0): (x, y) -> (1 - y, x - 1).
    const Matrix12 turn = {0, -1, 0, 1, 1, 0, 0, -1, 0, 0, 1, 0};
    tag_t line = host_testing::make_line({2, 0, 0}, {2, 3, 0});
    ASSERT_EQ(HM_OBJ_set_layer(line, 5), 0);
    tag_t copy = Apply(turn, line, 2, -1);
    ASSERT_NE(copy, 0u);
    ASSERT_NE(copy, line);
    EXPECT_EQ(TypeOf(copy), HM_line_type);
    expect_point(curve_point(copy, 0.0), {1, 1, 0});
    expect_point(curve_point(copy, 1.0), {-2, 1, 0});
    expect_point(curve_point(line, 1.0), {2, 3, 0});   // the source stays
    struct LayerCase {
        int destination, expected;
    } layers[] = {{-1, 5}, {0, 1}, {7, 7}};
    for (const LayerCase& c : layers) {
        int layer = 0;
        ASSERT_EQ(HM_OBJ_ask_layer(Apply(turn, line, 2, c.destination), &layer), 0);
        EXPECT_EQ(layer, c.expected) << "destination " << c.destination;
    }
}

// Scaling x by 2 makes a circle an ellipse (as a spline) and keeps its
// parameterisation: the affine image of the point at t is the point at t.
TEST_F(ObjectTransformTest, NonUniformScaleOfCurvesIsExact) {
    tag_t circle = host_testing::make_arc({0, 0, 0}, 1.0, 0.0, 2 * kPi);
    tag_t ellipse = Apply(kScaleX2, circle, 2);
    ASSERT_NE(ellipse, 0u);
    EXPECT_EQ(TypeOf(ellipse), HM_spline_type);
    for (double t : {0.0, 0.1, 0.25, 0.6, 0.9}) {
        const Point3 p = curve_point(ellipse, t);
        EXPECT_NEAR(p[0] * p[0] / 4 + p[1] * p[1], 1.0, 1e-9) << "t = " << t;
    }
    expect_point(curve_point(ellipse, 0.0), {2, 0, 0});
    double length = 0;
    ASSERT_EQ(HM_CURVE_ask_arc_length(ellipse, 0.0, 1.0, &length), 0);
    EXPECT_NEAR(length, 9.688448220547675, 1e-6) << "perimeter of the 2 x 1 ellipse";

    tag_t line = host_testing::make_line({1, 1, 1}, {3, 2, 1});
    tag_t scaled = Apply(kScaleX2, line, 2);
    EXPECT_EQ(TypeOf(scaled), HM_line_type);
    expect_point(curve_point(scaled, 0.5), {4, 1.5, 1});

    // A mirror through x = 0 is a similarity: an arc stays an arc.
    const Matrix12 mirror = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    tag_t arc = host_testing::make_arc({2, 0, 0}, 1.0, 0.0, kPi / 2);
    tag_t image = Apply(mirror, arc, 2);
    EXPECT_EQ(TypeOf(image), HM_circle_type);
    expect_point(curve_point(image, 0.0), {-3, 0, 0});
    expect_point(curve_point(image, 1.0), {-2, 1, 0});
}

TEST_F(ObjectTransformTest, PlanesTakeTheInverseTransposeOfTheMatrix) {
    tag_t plane = host_testing::make_plane({1, 0, 0}, {1, 1, 0});
    tag_t scaled = Apply(kScaleX2, plane, 1);
    double o[3], n[3];
    ASSERT_EQ(HM_MODL_ask_plane(scaled, o, n), 0);
    expect_point({o[0], o[1], o[2]}, {2, 0, 0});
    const double k = 1.0 / std::sqrt(1.25);
    expect_point({n[0], n[1], n[2]}, {0.5 * k, k, 0});
}

TEST_F(ObjectTransformTest, BodiesScaleAndMovedFacesKeepTheirTags) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    tag_t box = host_testing::make_box(corner, size);
    const Matrix12 stretch = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1, 0};
    tag_t copy = Apply(stretch, box, 2);
    ASSERT_NE(copy, 0u);
    EXPECT_NEAR(host_testing::volume(copy), 6.0, 1e-7);
    EXPECT_NEAR(host_testing::volume(box), 1.0, 1e-9);

    hm_list_p_t faces = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(box, &faces), 0);
    std::vector<tag_t> before;
    for (hm_list_p_t node = faces->next; node; node = node->next) before.push_back(node->eid);
    HM_MODL_delete_list(&faces);
    const Matrix12 lift = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 10};
    EXPECT_EQ(Apply(lift, box, 1), box);
    double low = 1e9;
    for (tag_t face : before) {
        ASSERT_EQ(HM_OBJ_ask_status(face), HM_OBJ_ALIVE);
        double box6[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(face, box6), 0);
        low = std::min(low, box6[2]);
    }
    EXPECT_NEAR(low, 10.0, 1e-6) << "the faces moved with their body";
}

TEST_F(ObjectTransformTest, FailuresAreReportedPerObject) {
    tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const Matrix12 singular = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    int status = 0;
    Apply(singular, line, 2, -1, &status);
    EXPECT_EQ(status, HM_ERR_BAD_ARGUMENT);
    const Matrix12 identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    Apply(identity, line, 3, -1, &status);
    EXPECT_EQ(status, HM_ERR_BAD_ARGUMENT);

    const tag_t objects[2] = {part_, line};
    tag_t copies[2] = {7, 7};
    ASSERT_EQ(hm5947(identity.data(), objects, 2, 2, 0, 2, copies, nullptr, &status), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(copies[0], 0u);
    EXPECT_NE(copies[1], 0u) << "the other objects are still transformed";
}

class ObjectCopyTest : public HostTest {};

TEST_F(ObjectCopyTest, CopiesOfCurvesFacesAndThingsThatCannotBeCopied) {
    tag_t ellipse = host_testing::make_ellipse({0, 0, 0}, 3.0, 1.0);
    tag_t copy = VD_copy_object(ellipse);
    ASSERT_NE(copy, 0u);
    HM_CURVE_conic_t a, b;
    ASSERT_EQ(HM_CURVE_ask_conic_data(ellipse, &a), 0);
    ASSERT_EQ(HM_CURVE_ask_conic_data(copy, &b), 0);
    EXPECT_EQ(a.matrix_tag, b.matrix_tag);
    EXPECT_EQ(a.k1, b.k1);
    ASSERT_EQ(HM_OBJ_delete_object(ellipse), 0);
    expect_point(curve_point(copy, 0.25), {0, 1, 0});

    const double corner[3] = {0, 0, 0}, size[3] = {2, 3, 4};
    tag_t box = host_testing::make_box(corner, size);
    hm_list_p_t faces = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(box, &faces), 0);
    tag_t face = faces->next->eid;
    HM_MODL_delete_list(&faces);
    tag_t sheet = VD_copy_object(face);
    int type = 0, subtype = -1;
    ASSERT_EQ(HM_OBJ_ask_type_and_subtype(sheet, &type, &subtype), 0);
    EXPECT_EQ(type, HM_solid_type);
    EXPECT_EQ(subtype, HM_solid_body_subtype);
    EXPECT_NEAR(host_testing::surface_area(sheet), host_testing::surface_area(face), 1e-9);

    EXPECT_EQ(VD_copy_object(part_), 0u);
    EXPECT_EQ(VD_copy_object(0), 0u);
}

TEST_F(ObjectCopyTest, MappingIntoACoordinateSystemAndBack) {
    // The csys at (10, 0, 0) turned a quarter about z: its x axis is absolute y.
    const double origin[3] = {10, 0, 0};
    const double matrix[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    tag_t line = host_testing::make_line({10, 1, 0}, {10, 1, 5});
    tag_t local = 0, back = 0;
    ASSERT_EQ(VD_map_geom_abs2csys(line, origin, matrix, &local), 0);
    expect_point(curve_point(local, 0.0), {1, 0, 0});
    expect_point(curve_point(local, 1.0), {1, 0, 5});
    ASSERT_EQ(VD_map_geom_csys2abs(local, origin, matrix, &back), 0);
    expect_point(curve_point(back, 0.0), {10, 1, 0});
    expect_point(curve_point(back, 1.0), {10, 1, 5});
    EXPECT_NE(back, line);
    EXPECT_EQ(VD_map_geom_abs2csys(part_, origin, matrix, &local), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(local, 0u);
}

}  // namespace
