// The projected dark band and its input checks, the tube offset beside the
// offset within the faces, and the flat pattern of planar and cylindrical
// windshields.
#include "ws_fixtures.h"

#include "ws_internal.h"

#include "hm_vd_curve.h"
#include "quillon.h"
#include "zelvadt.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using namespace carvell::windshield;
using host_testing::surface_area;

class WsProjectionTest : public WindshieldTest {};
class WsTubeOffsetTest : public WindshieldTest {};
class WsFlatPatternTest : public WindshieldTest {};

double total_length(const std::vector<tag_t>& curves) {
    double total = 0.0;
    for (tag_t c : curves) {
        double l = 0.0;
        EXPECT_EQ(HM_CURVE_ask_arc_length(c, 0.0, 1.0, &l), 0);
        total += l;
    }
    return total;
}

double polyline_length(const ws_point_group_t& g, int curve) {
    double total = 0.0;
    for (int j = 1; j < g.point_counts[curve]; ++j) {
        const double* p = g.points[curve][j - 1];
        const double* q = g.points[curve][j];
        total += std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) + (p[2] - q[2]) * (p[2] - q[2]));
    }
    return total;
}

TEST_F(WsProjectionTest, BadInputAnswersItsCode) {
    const tag_t sheet = flat_square();
    const tag_t line = support::new_line(20, 0, 5, 80, 0, 5);
    const tag_t point = support::new_point(0, 0, 10);
    const tag_t dead = support::new_line(0, 0, 1, 1, 0, 1);
    ASSERT_EQ(HM_OBJ_delete_object(dead), 0);
    const double box_corner[3] = {0, 0, 100}, box_size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(box_corner, box_size);
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    struct Case {
        const char* what;
        std::vector<tag_t> curves, targets;
        ProjectionRecord record;
        int code;
    };
    auto record = [](int type) {
        ProjectionRecord r;
        r.type = type;
        return r;
    };
    ProjectionRecord at_90 = record(4);
    at_90.angle = 90.0;
    at_90.direction[2] = 1.0;
    ProjectionRecord at_minus_90 = at_90;
    at_minus_90.angle = -90.0;
    ProjectionRecord zero_direction = record(3);
    ProjectionRecord second_zero = record(6);
    second_zero.direction[2] = 1.0;
    second_zero.object = point;
    ProjectionRecord line_for_point = record(2);
    line_for_point.object = line;
    ProjectionRecord point_for_line = record(5);
    point_for_line.object = point;
    const Case cases[] = {
        {"no curve", {}, {sheet}, record(1), HM_ERR_PROJ_NO_INPUT},
        {"no target", {line}, {}, record(1), HM_ERR_PROJ_NO_INPUT},
        {"type 0", {line}, {sheet}, record(0), HM_ERR_PROJ_BAD_TYPE},
        {"type 7", {line}, {sheet}, record(7), HM_ERR_PROJ_BAD_TYPE},
        {"angle 90", {line}, {sheet}, at_90, HM_ERR_PROJ_BAD_ANGLE},
        {"angle -90", {line}, {sheet}, at_minus_90, HM_ERR_PROJ_BAD_ANGLE},
        {"a deleted curve", {dead}, {sheet}, record(1), HM_ERR_OBJECT_NOT_ALIVE},
        {"a plane as curve", {plane}, {sheet}, record(1), HM_ERR_WRONG_OBJECT},
        {"a deleted target", {line}, {dead}, record(1), HM_ERR_OBJECT_NOT_ALIVE},
        {"a solid target", {line}, {box}, record(1), HM_ERR_WRONG_OBJECT},
        {"a line as target", {line}, {line}, record(1), HM_ERR_WRONG_OBJECT},
        {"zero direction", {line}, {sheet}, zero_direction, HM_ERR_ZERO_DIRECTION},
        {"zero second direction", {line}, {sheet}, second_zero, HM_ERR_ZERO_DIRECTION},
        {"a line for the point", {line}, {sheet}, line_for_point, HM_ERR_WRONG_OBJECT},
        {"a point for the line", {line}, {sheet}, point_for_line, HM_ERR_WRONG_OBJECT},
        {"along the normals onto a sheet", {line}, {sheet}, record(1), 0},
        {"onto a plane", {line, point}, {plane}, record(1), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ws_validate_projection_input(int(c.curves.size()), c.curves.data(), int(c.targets.size()),
                                               c.targets.data(), c.record),
                  c.code);
    }
}

TEST_F(WsProjectionTest, CurvesLandAlongTheNormalsOrNothingIsMade) {
    const tag_t sheet = flat_square();
    const std::vector<tag_t> band = rectangle(20, -30, 80, 30, 7.0);   // 7 above the glass
    std::vector<tag_t> projected;
    ASSERT_EQ(ws_create_projected_curves(4, band.data(), 1, &sheet, 1, ProjectionRecord{}, projected), 0);
    ASSERT_EQ(projected.size(), 4u);
    EXPECT_NEAR(total_length(projected), 240.0, 1e-6);
    double p[3];
    ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(projected[0], 0.5, p), 0);
    EXPECT_NEAR(p[2], 0.0, 1e-7);
    // A curve beside the glass lands nowhere: no curve, nothing made.
    const tag_t beside = support::new_line(200, 0, 0, 300, 0, 0);
    const int before = host_testing::count_objects();
    EXPECT_EQ(ws_create_projected_curves(1, &beside, 1, &sheet, 1, ProjectionRecord{}, projected),
              HM_ERR_PROJ_NO_CURVES);
    EXPECT_TRUE(projected.empty());
    EXPECT_EQ(host_testing::count_objects(), before);
}

TEST_F(WsProjectionTest, EachProjectionTypeLandsWhereItsDataSays) {
    // The square glass in z = 0 (x 0..100, y -50..50).
    const tag_t sheet = flat_square();
    const tag_t along_x = support::new_line(30, 0, 10, 70, 0, 10);    // 10 above the glass
    const tag_t along_y = support::new_line(50, -20, 10, 50, 20, 10);
    const tag_t across_y = support::new_line(50, -22, 10, 50, 22, 10);
    struct Case {
        const char* what;
        tag_t curve;
        ProjectionRecord record;
        int code;
        double length;        // of what lands
        double mid[3];        // its middle
    };
    auto record = [](int type) {
        ProjectionRecord r;
        r.type = type;
        return r;
    };
    // Towards a point 40 below the glass: from z 10 to -40 the rays cross
    // z = 0 a fifth of the way, x 30..70 closes in on 50 to 34..66.
    ProjectionRecord towards_point = record(2);
    towards_point.object = support::new_point(50, 0, -40);
    // Along +z the glass lies behind the line: only both sides reach it.
    ProjectionRecord up = record(3), up_both = record(3), down = record(3);
    up.direction[2] = up_both.direction[2] = 1.0;
    up_both.flag = 2;
    down.direction[2] = -1.0;
    // Straight down leaned 45 degrees towards a point on +x: the line 10
    // above lands 10 further along x.
    ProjectionRecord leaning = record(4);
    leaning.direction[2] = -1.0;
    leaning.angle = 45.0;
    const double towards[3] = {100, 0, 10};
    std::copy(towards, towards + 3, leaning.point);
    // Towards the line along x 100 below the glass: each point moves along
    // the perpendicular, at z = 0 its y is 100 / 110 of what it was.
    ProjectionRecord towards_line = record(5);
    towards_line.object = support::new_line(0, 0, -100, 100, 0, -100);
    // Halfway between straight down and +x, coming from a point above.
    ProjectionRecord between = record(6);
    between.direction[2] = -1.0;
    between.direction2[0] = 1.0;
    between.value = 0.5;
    between.object = support::new_point(0, 0, 100);
    const Case cases[] = {
        {"along the normals", along_x, record(1), 0, 40.0, {50, 0, 0}},
        {"towards a point", along_x, towards_point, 0, 32.0, {50, 0, 0}},
        {"along a direction away from the glass", along_x, up, HM_ERR_PROJ_NO_CURVES, 0.0, {0, 0, 0}},
        {"along a direction, both sides", along_x, up_both, 0, 40.0, {50, 0, 0}},
        {"along a direction towards the glass", along_x, down, 0, 40.0, {50, 0, 0}},
        {"at an angle to a direction", along_y, leaning, 0, 40.0, {60, 0, 0}},
        {"towards a line", across_y, towards_line, 0, 40.0, {50, 0, 0}},
        {"between two directions", along_y, between, 0, 40.0, {60, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<tag_t> projected;
        ASSERT_EQ(ws_create_projected_curves(1, &c.curve, 1, &sheet, 1, c.record, projected), c.code);
        if (c.code != 0) {
            EXPECT_TRUE(projected.empty());
            continue;
        }
        EXPECT_NEAR(total_length(projected), c.length, 1e-6);
        ASSERT_EQ(projected.size(), 1u);
        double p[3];
        ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(projected[0], 0.5, p), 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], c.mid[i], 1e-6);
    }
}

TEST_F(WsProjectionTest, CurvesAndTargetsOfAnotherPartAreRefused) {
    const tag_t sheet = flat_square();
    const tag_t line = support::new_line(20, 0, 5, 80, 0, 5);
    const tag_t other = host_testing::make_part("/p/glass_supplier.prt");
    const tag_t their_line = support::new_line(20, 0, 5, 80, 0, 5);
    const tag_t their_sheet = flat_square();
    ASSERT_EQ(HM_ASSEM_set_work_part(part_), 0);
    const tag_t component = host_testing::add_component(other, "SUPPLIER");
    const tag_t line_occurrence = host_testing::add_occurrence(component, their_line);
    const tag_t sheet_occurrence = host_testing::add_occurrence(component, their_sheet);
    ASSERT_NE(line_occurrence, 0u);
    ASSERT_NE(sheet_occurrence, 0u);
    const ProjectionRecord along_normals;
    EXPECT_EQ(ws_validate_projection_input(1, &line_occurrence, 1, &sheet, along_normals), HM_ERR_FOREIGN_OCCURRENCE);
    EXPECT_EQ(ws_validate_projection_input(1, &line, 1, &sheet_occurrence, along_normals), HM_ERR_FOREIGN_OCCURRENCE);
    EXPECT_EQ(ws_validate_projection_input(1, &line, 1, &sheet, along_normals), 0);
}

TEST_F(WsTubeOffsetTest, TubesAndTheOffsetWithinTheFacesAgreeOnAPlanarSheet) {
    // The 100 x 100 square offset by 10 inside: an 80 x 80 square, 320 around.
    const MTX4_t identity = identity_frame();
    const Frame frame = frame_of(&identity);
    const tag_t by_feature = flat_square(), by_tubes = flat_square();
    std::vector<tag_t> feature_curves, tube_curves;
    ASSERT_EQ(offset_boundary_in_sheet_body(frame, by_feature, 0, nullptr, 10.0, feature_curves), 0);
    ASSERT_EQ(ws_offset_boundary_by_tubes(frame, by_tubes, 10.0, tube_curves), 0);
    EXPECT_NEAR(total_length(feature_curves), 320.0, 1e-3);
    EXPECT_NEAR(total_length(tube_curves), 320.0, 1e-3);
    EXPECT_EQ(tube_curves.size(), 4u) << "the joined boundary split at its four corners";
}

TEST_F(WsTubeOffsetTest, OffsetCurvesAreExactCopiesOfTheOffset) {
    // A D-shaped glass: the half circle of radius 40 about (50, 0) on +x,
    // closed by its diameter. 10 inside: the diameter moved to x = 60 and
    // the circle of radius 30, meeting at y = +-sqrt(800); lines and arcs as
    // they are.
    const tag_t arc = host_testing::make_arc({50, 0, 0}, 40.0, -M_PI / 2, M_PI / 2);
    const tag_t diameter = support::new_line(50, 40, 0, 50, -40, 0);
    HM_STRING_LIST_t boundary;
    ASSERT_EQ(HM_MODL_create_string_list(1, 2, &boundary), 0);
    boundary.curve_counts[0] = 2;
    boundary.directions[0] = 1;
    boundary.curves[0] = arc;
    boundary.curves[1] = diameter;
    const double tolerances[2] = {0.01, 0.5};
    tag_t sheet = 0;
    ASSERT_EQ(HM_MODL_create_bplane(&boundary, tolerances, &sheet), 0);
    HM_MODL_free_string_list(&boundary);
    const MTX4_t identity = identity_frame();
    std::vector<tag_t> curves;
    ASSERT_EQ(offset_boundary_in_sheet_body(frame_of(&identity), sheet, 0, nullptr, 10.0, curves), 0);
    int lines = 0, arcs = 0;
    for (tag_t c : curves) {
        int type = 0, subtype = 0;
        ASSERT_EQ(HM_OBJ_ask_type_and_subtype(c, &type, &subtype), 0);
        lines += type == HM_line_type;
        arcs += type == HM_circle_type;
        for (double t = 0.0; t <= 1.0; t += 0.125) {
            double p[3];
            ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(c, t, p), 0);
            if (type == HM_line_type) EXPECT_NEAR(p[0], 60.0, 1e-9);
            if (type == HM_circle_type) EXPECT_NEAR(std::hypot(p[0] - 50.0, p[1]), 30.0, 1e-9);
        }
    }
    // Nothing but lines and arcs, whole or in pieces.
    EXPECT_GE(lines, 1);
    EXPECT_GE(arcs, 1);
    EXPECT_EQ(lines + arcs, int(curves.size()));
    EXPECT_NEAR(total_length(curves), 2.0 * std::sqrt(800.0) + 60.0 * std::acos(1.0 / 3.0), 1e-6);
}

TEST_F(WsTubeOffsetTest, AFailingCentreSectionFailsTheTubes) {
    // A sheet wholly at y 100..200: no centre section and no edge near y = 0.
    const MTX4_t identity = identity_frame();
    const double corner[3] = {0, 100, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    std::vector<tag_t> curves;
    EXPECT_EQ(ws_offset_boundary_by_tubes(frame_of(&identity), sheet, 10.0, curves), 4);
    EXPECT_TRUE(curves.empty());
}

TEST_F(WsTubeOffsetTest, ADarkBandBesideTheGlassDoesNotProject) {
    ws_data_t data;
    HM_VD_WS_init_windshield_data(&data);
    MTX4_t frame = identity_frame();
    data.vehicle_frame = &frame;
    const tag_t sheet = flat_square();
    data.face_count = 1;
    data.faces = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
    data.faces[0] = support::faces_of(sheet)[0];
    const std::vector<tag_t> band = rectangle(200, -30, 260, 30);
    data.dark_band_count = 4;
    data.dark_band_curves = const_cast<tag_t*>(band.data());
    HM_VD_WS_create_windshield_data(&data);
    EXPECT_EQ(data.offset_result.status, 3);
    EXPECT_EQ(data.offset_result.count, 0);
    HM_VD_WS_release_windshield_data(&data);
}

class WsFlatDriver : public WsFlatPatternTest {
protected:
    void SetUp() override {
        WsFlatPatternTest::SetUp();
        HM_VD_WS_init_windshield_data(&data_);
        frame_ = identity_frame();
        data_.vehicle_frame = &frame_;
        data_.want_flat_pattern = true;
    }
    void TearDown() override {
        HM_VD_WS_release_windshield_data(&data_);
        WsFlatPatternTest::TearDown();
    }
    void use(tag_t sheet) {
        data_.face_count = 1;
        data_.faces = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
        data_.faces[0] = support::faces_of(sheet)[0];
    }
    // The flat pattern's group and curves, so that the next run makes its own.
    void delete_flat_pattern() {
        tag_t group = 0;
        while (HM_OBJ_cycle_by_name("TMP_WINDSHIELD_CURVE_FLATTEN", &group) == 0 && group) {
            int count = 0;
            tag_t* members = nullptr;
            if (HM_GROUP_ask_group_data(group, &members, &count) == 0)
                for (int i = 0; i < count; ++i) HM_OBJ_delete_object(members[i]);
            SM_free(members);
            HM_OBJ_delete_object(group);
            group = 0;
        }
    }
    int flipped_sheets() const {
        int n = 0;
        for (tag_t t = HM_OBJ_cycle_objs_in_part(part_, HM_feature_type, 0); t;
             t = HM_OBJ_cycle_objs_in_part(part_, HM_feature_type, t)) {
            char* kind = nullptr;
            if (HM_MODL_ask_feat_type(t, &kind) == 0 && kind && std::strcmp(kind, "FLIP_NORMAL") == 0) ++n;
            SM_free(kind);
        }
        return n;
    }

public:
    ws_data_t data_{};
    MTX4_t frame_{};
};

TEST_F(WsFlatDriver, ACylindricalWindshieldUnrollsToItsArcLength) {
    // Cylinder about y, radius 3000: 0.1 rad of arc (300) by 200 across.
    const double start[3] = {0, -100, -3000}, axis[3] = {0, 1, 0}, x_dir[3] = {0, 0, 1};
    use(host_testing::make_cylindrical_sheet(start, axis, x_dir, 3000.0, 0.1, 200.0));
    const double eye[3] = {500, 0, -3.75};   // projects onto the glass mid arc
    std::memcpy(data_.eye_point, eye, sizeof eye);
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    ASSERT_EQ(data_.flat_result.status, 0);
    // The glass boundary comes first: two arcs of 300 and two lines of 200, now straight.
    ASSERT_GE(data_.flat_result.count, 4 + 4);
    double lengths = 0.0;
    for (int i = 0; i < 4; ++i) lengths += polyline_length(data_.flat_result, i);
    EXPECT_NEAR(lengths, 2 * (300.0 + 200.0), 1e-3);
    // Every flat point lies in the plane touching the glass at the lower end
    // of its centre section: the arc's end at 0.1 rad, (3000 sin 0.1, 0,
    // 3000 cos 0.1 - 3000), with the normal (sin 0.1, 0, cos 0.1).
    const double n[3] = {std::sin(0.1), 0.0, std::cos(0.1)};
    const double o[3] = {3000.0 * n[0], 0.0, 3000.0 * n[2] - 3000.0};
    for (int i = 0; i < data_.flat_result.count; ++i)
        for (int j = 0; j < data_.flat_result.point_counts[i]; ++j) {
            const double* p = data_.flat_result.points[i][j];
            ASSERT_NEAR((p[0] - o[0]) * n[0] + (p[1] - o[1]) * n[1] + (p[2] - o[2]) * n[2], 0.0, 1e-6);
        }
    EXPECT_EQ(flipped_sheets(), 0);
}

TEST_F(WsFlatDriver, AGlassFacingDownIsTurnedUpAndAFlatGlassStaysAsItIs) {
    // The raked square with its normal against z (u and v swapped).
    const double corner[3] = {0, -50, 0}, u[3] = {-60, 0, 80}, v[3] = {0, 100, 0};
    use(host_testing::make_planar_sheet(corner, u, v));
    const double eye[3] = {200, 0, 40};
    std::memcpy(data_.eye_point, eye, sizeof eye);
    HM_VD_WS_create_windshield_data(&data_);
    ASSERT_EQ(data_.offset_result.status, 0);
    ASSERT_EQ(data_.flat_result.status, 0);
    EXPECT_EQ(flipped_sheets(), 1);
    // No curves to carry but the offset's: the flat pattern's own boundary
    // (four sides of 100) and the four offset curves, in place.
    ASSERT_EQ(data_.flat_result.count, 8);
    double lengths = 0.0;
    for (int i = 0; i < 4; ++i) lengths += polyline_length(data_.flat_result, i);
    EXPECT_NEAR(lengths, 400.0, 1e-6);
}

TEST_F(WsFlatDriver, ADoublyCurvedGlassIsLaidFlatAndOneFacingDownIsTurnedUpFirst) {
    // A patch of a sphere of radius 1000, 20 degrees across the car by 20
    // degrees up the slope, its middle at the origin raked 30 degrees back
    // from vertical: bulging forward (facing up) or hollow (the sphere on
    // the front side, facing down). Its area is R^2 * 20 deg * 2 sin 10 deg.
    const double radius = 1000.0, span = 20.0 * M_PI / 180.0;
    const double forward_up[3] = {-0.5, 0.0, std::sqrt(0.75)}, up_the_slope[3] = {std::sqrt(0.75), 0.0, 0.5};
    struct Case {
        const char* what;
        double side;   // +1: the sphere behind the glass, -1: in front of it
        int flips;
    };
    const Case cases[] = {{"facing up", 1.0, 0}, {"facing down", -1.0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const double centre[3] = {-c.side * radius * forward_up[0], 0.0, -c.side * radius * forward_up[2]};
        const double direction[3] = {c.side * forward_up[0], 0.0, c.side * forward_up[2]};
        const tag_t sheet =
            host_testing::make_spherical_patch(centre, radius, direction, up_the_slope, radius * span, radius * span);
        HM_VD_WS_release_windshield_data(&data_);
        use(sheet);
        data_.points_per_curve = 200;
        const int flipped = flipped_sheets();
        HM_VD_WS_create_windshield_data(&data_);
        ASSERT_EQ(data_.offset_result.status, 0);
        ASSERT_EQ(data_.flat_result.status, 0);
        EXPECT_EQ(flipped_sheets() - flipped, c.flips);
        // The glass outline first (four sides), then the offset curves (the
        // same four edges of the working copy, no offset asked).
        ASSERT_EQ(data_.flat_result.count, 8);
        std::vector<std::vector<support::Point3>> sides(4);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < data_.flat_result.point_counts[i]; ++j) {
                const double* p = data_.flat_result.points[i][j];
                sides[i].push_back({p[0], p[1], p[2]});
            }
        const double area = radius * radius * span * 2.0 * std::sin(span / 2);
        EXPECT_NEAR(support::outline_area(sides), area, 0.005 * area);
        tag_t flattened = 0;
        ASSERT_EQ(HM_OBJ_cycle_by_name("TMP_WINDSHIELD_CURVE_FLATTEN", &flattened), 0);
        double stretch = -1.0;
        ASSERT_EQ(HM_ATTR_ask_real(flattened, SMDFLAT_STRETCH_ATTRIBUTE, &stretch), 0);
        EXPECT_GT(stretch, 0.0);
        EXPECT_LT(stretch, 0.02);
        // The carried curves land on the outline: each offset curve is a side.
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(polyline_length(data_.flat_result, 4 + i),
                                                polyline_length(data_.flat_result, i), 0.005 * radius * span);
        delete_flat_pattern();
    }
}

}  // namespace
