// Face normals, curve tangents and turned copies of the H-point tool on real
// host geometry.
#include "hpd_host_geometry.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"
#include "omvra.h"
#include "test_helpers.h"

#include <cmath>
#include <vector>

using namespace carvell::occupant;

using occupant_test::expect_point;

// Face normals, curve tangents and turned copies of host objects.
class HostGeometryTest : public HostTest {};

TEST_F(HostGeometryTest, FaceNormalIsTakenOnTheFaceUnderThePoint) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    tag_t box = host_testing::make_box(corner, size);
    ASSERT_NE(box, NULL_TAG);
    const std::vector<tag_t> faces = support::faces_of(box);
    ASSERT_EQ(faces.size(), 6u);
    // The point lies inside the top face only: the top face's normal is +Z.
    const double top[3] = {5, 10, 30};
    int on_top = 0;
    for (tag_t face : faces) {
        double parm[2], near[3];
        ASSERT_EQ(HM_MODL_ask_face_parm(face, top, parm, near), 0);
        if (std::hypot(near[0] - top[0], std::hypot(near[1] - top[1], near[2] - top[2])) > 1e-9) continue;
        ++on_top;
        double normal[3];
        ASSERT_EQ(hpd_ask_face_normal(face, top, normal), 0);
        expect_point(normal, 0, 0, 1, 1e-9);
    }
    EXPECT_EQ(on_top, 1);

    double normal[3] = {7, 7, 7};
    EXPECT_EQ(hpd_ask_face_normal(box, top, normal), 19);  // a body, not a face
    EXPECT_EQ(hpd_ask_face_normal(NULL_TAG, top, normal), 19);
    EXPECT_EQ(normal[0], 7);
}

TEST_F(HostGeometryTest, CurveTangentIsTakenAtTheNearestCurvePoint) {
    tag_t line = support::new_line(0, 0, 0, 10, 0, 0);
    const double beside[3] = {4, 3, 1};
    double t[3];
    ASSERT_EQ(hpd_ask_curve_tangent(line, beside, t), 0);
    expect_point(t, 1, 0, 0, 1e-9);

    // Circle of radius 5 about the origin in XY, counter-clockwise: at the
    // point nearest (0, 8, 0), that is (0, 5, 0), the tangent is -X.
    HM_CURVE_arc_t arc{NULL_TAG, 0.0, 2 * M_PI, {0, 0, 0}, 5.0};
    tag_t circle = NULL_TAG;
    ASSERT_EQ(HM_CURVE_create_arc(&arc, &circle), 0);
    const double above[3] = {0, 8, 0};
    ASSERT_EQ(hpd_ask_curve_tangent(circle, above, t), 0);
    expect_point(t, -1, 0, 0, 1e-7);

    // An edge of a box counts as a curve; the box itself does not.
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    tag_t box = host_testing::make_box(corner, size);
    const std::vector<tag_t> edges = support::edges_of(box);
    ASSERT_FALSE(edges.empty());
    const tag_t edge = edges.front();
    double p1[3], p2[3];
    int verts = 0;
    ASSERT_EQ(HM_MODL_ask_edge_verts(edge, p1, p2, &verts), 0);
    const double mid[3] = {(p1[0] + p2[0]) / 2, (p1[1] + p2[1]) / 2, (p1[2] + p2[2]) / 2};
    ASSERT_EQ(hpd_ask_curve_tangent(edge, mid, t), 0);
    double len = std::hypot(p2[0] - p1[0], std::hypot(p2[1] - p1[1], p2[2] - p1[2]));
    double along = (t[0] * (p2[0] - p1[0]) + t[1] * (p2[1] - p1[1]) + t[2] * (p2[2] - p1[2])) / len;
    EXPECT_NEAR(std::fabs(along), 1.0, 1e-9);
    EXPECT_EQ(hpd_ask_curve_tangent(box, mid, t), 19);
    EXPECT_EQ(hpd_ask_curve_tangent(NULL_TAG, mid, t), 19);
}

TEST_F(HostGeometryTest, CopyIsTurnedAboutTheVertical) {
    tag_t line = support::new_line(10, 0, 5, 20, 0, 5);
    ASSERT_EQ(HM_OBJ_set_layer(line, 42), 0);
    const double centre[3] = {0, 0, 100};
    tag_t copy = NULL_TAG;
    ASSERT_EQ(hpd_rotate_copy_about_vertical(line, centre, 90.0, &copy), 0);
    ASSERT_NE(copy, NULL_TAG);
    ASSERT_NE(copy, line);
    HM_CURVE_line_t data;
    ASSERT_EQ(HM_CURVE_ask_line_data(copy, &data), 0);
    expect_point(data.start_point, 0, 10, 5, 1e-9);
    expect_point(data.end_point, 0, 20, 5, 1e-9);
    int layer = 0;
    ASSERT_EQ(HM_OBJ_ask_layer(copy, &layer), 0);
    EXPECT_EQ(layer, 42);
    // The original stays where it was.
    ASSERT_EQ(HM_CURVE_ask_line_data(line, &data), 0);
    expect_point(data.start_point, 10, 0, 5, 1e-9);

    copy = 99;
    EXPECT_EQ(hpd_rotate_copy_about_vertical(NULL_TAG, centre, 90.0, &copy), 0);
    EXPECT_EQ(copy, NULL_TAG);
    copy = 99;
    EXPECT_NE(hpd_rotate_copy_about_vertical(123456, centre, 90.0, &copy), 0);
    EXPECT_EQ(copy, NULL_TAG);
}
