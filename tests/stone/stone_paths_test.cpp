// Stone paths: landing points and impact angles on faces in the stones'
// way, the face-sign rule, the stone rules and the point projection.
#include "stone_fixtures.h"

#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "kestrin.h"
#include "morvish.h"
#include "quillon.h"

#include <algorithm>
#include <vector>

class StonePathTest : public ThrownStonesTest {};

TEST_F(StonePathTest, StonesLandOnAFloorAboveTheTireAtTheirElevation) {
    // Floor 200 mm above the launch point, wide enough for every stone.
    const Point3 t = launch_point();
    const double h = 200.0;
    const tag_t floor = horizontal_face(t[2] + h, -500, 5000, 500, 1000);
    ASSERT_EQ(land(45, floor, -1), 0);
    ASSERT_EQ(count_, 50);
    for (int i : {0, 17, 49}) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(out_angles_[i], 30.0, 1e-6);
        // The straight throw: x = x_T + h / tan 30.
        EXPECT_NEAR(out_points_[i][0], t[0] + h / std::tan(30 * kRad), 1e-3);
        EXPECT_NEAR(out_points_[i][2], t[2] + h, 1e-6);
    }
    EXPECT_NEAR(out_points_[49][1], t[1] - kW, 1e-3);
    // A fan section at 3 degrees lands far behind, at 3 degrees.
    ASSERT_EQ(land(0, floor, -1), 0);
    ASSERT_EQ(count_, 50);
    EXPECT_NEAR(out_angles_[0], 3.0, 1e-6);
    EXPECT_NEAR(out_points_[0][0], t[0] + h / std::tan(3 * kRad), 1e-3);
}

TEST_F(StonePathTest, AVerticalWallFacingTheStonesTakesTheComplement) {
    const tag_t wall = vertical_face(800, 500, 1000, -100, 900);
    ASSERT_EQ(land(45, wall, -1), 0);   // normal +x: the rule gives sign -1
    ASSERT_EQ(count_, 50);
    EXPECT_NEAR(out_angles_[10], 60.0, 1e-6);
    const Point3 t = launch_point();
    EXPECT_NEAR(out_points_[10][2], t[2] + (800 - t[0]) * std::tan(30 * kRad), 1e-3);
    // The reversed wall turns every angle below zero: every stone dropped, status 0.
    const tag_t reversed = vertical_face(800, 500, 1000, -100, 900, true);
    EXPECT_EQ(land(45, reversed, -1), 0);
    EXPECT_EQ(count_, 0);
}

TEST_F(StonePathTest, AFaceBesideTheTreadOrBehindTheThrowGetsNoStones) {
    // Beside the tread; and a floor under the launch points, which the
    // stones thrown upwards leave behind.
    const Point3 t = launch_point();
    const struct {
        const char* name;
        tag_t face;
    } cases[] = {
        {"beside", horizontal_face(300, -500, 3000, 2000, 2500)},
        {"behind", horizontal_face(t[2] - 100, -500, 5000, 500, 1000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(land(45, c.face, -1), 0);
        EXPECT_EQ(count_, 0);
    }
}

TEST_F(StonePathTest, APartialFaceGetsTheStonesOverIt) {
    // Only y in [700, 1000] is covered: the launch line's landing there
    // (90 mm, from y = 790 to 700) is sampled at 50 even points.
    const Point3 t = launch_point();
    const tag_t part = horizontal_face(t[2] + 200, -500, 3000, 700, 1000);
    EXPECT_EQ(land(45, part, -1), 0);
    ASSERT_EQ(count_, 50);
    EXPECT_NEAR(out_points_[0][1], 790.0, 1e-3);
    EXPECT_NEAR(out_points_[49][1], 700.0, 1e-3);
    EXPECT_NEAR(out_points_[1][1] - out_points_[0][1], -90.0 / 49.0, 1e-3);
}

TEST_F(StonePathTest, ABlockingPlaneInThePathDropsTheStones) {
    const Point3 t = launch_point();
    const tag_t floor = horizontal_face(t[2] + 200, -500, 3000, 500, 1000);
    // A flap across the throw at x = 200, between the launch point and the floor.
    const tag_t flap = host_testing::make_plane({200, 0, 0}, {1, 0, 0});
    rec_->blocking_count = 1;
    rec_->blocking_tags[0] = flap;
    rec_->options[SI_OPT_BLOCKING_SHADOWS] = 1;
    EXPECT_EQ(land(45, floor, -1), 0);
    EXPECT_EQ(count_, 0);
    // A flap behind the floor's landing line does not block.
    HM_OBJ_delete_object(flap);
    rec_->blocking_tags[0] = host_testing::make_plane({3000, 0, 0}, {1, 0, 0});
    EXPECT_EQ(land(45, floor, -1), 0);
    EXPECT_EQ(count_, 50);
}

// A sheet above the tire curving up towards +y, z = H + 100 s^2 over
// y = 600 + 200 s: the stones of one section land at angles rising from
// about 21.3 degrees (y = 790) to 30 (y = 600).
class CurvedRoofTest : public StonePathTest {
protected:
    tag_t roof() {
        const double H = launch_point()[2] + 200.0;
        const double poles[] = {-500, 600, H, -500, 700, H, -500, 800, H + 100,
                                3000, 600, H, 3000, 700, H, 3000, 800, H + 100};
        return faces_of(host_testing::make_bspline_sheet(2, 3, poles, 1, 2)).at(0);
    }
    // The face-sign rule for the right side, worked out from the normal at (0.5, 0.5).
    static int sign_of(tag_t face) {
        double parm[2] = {0.5, 0.5}, p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
        HM_MODL_ask_face_props(face, parm, p, u1, v1, u2, v2, n, r);
        const double ny = -n[1];
        return ((ny >= 0 && n[2] >= 0) || std::fabs(n[2]) < ny || std::fabs(ny) < n[2]) ? -1 : 1;
    }
};

TEST_F(CurvedRoofTest, AnglesRiseAcrossTheTreadAsTheRoofTurns) {
    const tag_t face = roof();
    ASSERT_EQ(land(45, face, sign_of(face)), 0);
    ASSERT_EQ(count_, 50);
    // Stone 0 at y = 790: slope dz/dy = s = 0.95, normal (0, 0.95, -1)/|.|,
    // angle acos(-0.5/sqrt(1.9025)) - 90 = 21.26 degrees; stone 49 at 30.
    EXPECT_NEAR(out_angles_[0], std::acos(-0.5 / std::sqrt(1.9025)) / kRad - 90.0, 1e-2);
    EXPECT_NEAR(out_angles_[49], 30.0, 1e-2);
    for (int i = 1; i < 50; ++i) EXPECT_GT(out_angles_[i], out_angles_[i - 1] - 1e-9) << i;
}

TEST_F(CurvedRoofTest, ThresholdPointIsInterpolatedAndProjectedBackOntoTheBlockingObject) {
    const tag_t face = roof();
    rec_->options[SI_OPT_THRESHOLD_CURVES] = 1;
    rec_->angle_threshold = 25.0;
    rec_->blocking_count = 1;
    rec_->blocking_tags[0] = host_testing::make_plane({100, 0, 0}, {1, 0, 0});
    ASSERT_EQ(land(45, face, sign_of(face)), 0);
    EXPECT_EQ(state_, 1);
    ASSERT_EQ(blocking_counts_[0], 1);
    // The crossing between the last stone below 25 degrees and the next,
    // traced back along the throw to the plane x = 100.
    int j = 0;
    while (out_angles_[j + 1] < 25.0) ++j;
    const double f = (25.0 - out_angles_[j]) / (out_angles_[j + 1] - out_angles_[j]);
    double p[3];
    for (int k = 0; k < 3; ++k) p[k] = out_points_[j][k] + f * (out_points_[j + 1][k] - out_points_[j][k]);
    const double* d = m_->directions[45];
    const double back = (p[0] - 100.0) / d[0];
    expect_point(blocking_points_[0][0], {100.0, p[1] - back * d[1], p[2] - back * d[2]}, 1e-6);
    // The next section of the face in state 1 is reset by the run; left in
    // state 1, nothing more is recorded.
    ASSERT_EQ(land(46, face, sign_of(face)), 0);
    EXPECT_EQ(blocking_counts_[0], 1);
}

TEST_F(CurvedRoofTest, AThresholdExceededAtTheFirstStoneRecordsNothingForTheFace) {
    const tag_t face = roof();
    rec_->options[SI_OPT_THRESHOLD_CURVES] = 1;
    rec_->angle_threshold = 20.0;
    rec_->blocking_count = 1;
    rec_->blocking_tags[0] = host_testing::make_plane({100, 0, 0}, {1, 0, 0});
    ASSERT_EQ(land(45, face, sign_of(face)), 0);
    EXPECT_EQ(state_, 2);
    state_ = 2;
    ASSERT_EQ(land(50, face, sign_of(face)), 0);
    EXPECT_EQ(blocking_counts_[0], 0);
}

TEST_F(StonePathTest, NullArgumentsAnswerMinusOne) {
    EXPECT_EQ(HM_VD_SI_gen_stone_paths(nullptr, 0, 0, 0, 49, m_->points[0], m_->directions[0], 0, -1, &count_,
                                       out_points_, out_angles_, &state_, blocking_counts_.data(),
                                       blocking_points_.get()),
              -1);
    EXPECT_EQ(HM_VD_SI_gen_stone_paths(rec_.get(), 0, 0, 0, 49, m_->points[0], m_->directions[0], 0, -1, nullptr,
                                       out_points_, out_angles_, &state_, blocking_counts_.data(),
                                       blocking_points_.get()),
              -1);
}

class PointProjectionTest : public StoneTest {};

TEST_F(PointProjectionTest, ProjectionsAreRaysOntoFacesBodiesAndPlanes) {
    const double p[3] = {0, 0, 0}, up[3] = {0, 0, 2}, down[3] = {0, 0, -1};
    double out[3];
    const tag_t face = horizontal_face(100, -50, 50, -50, 50);
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, up, face, out), 0);
    expect_point(out, {0, 0, 100}, 1e-9);
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, down, face, out), -1);
    const tag_t plane = host_testing::make_plane({0, 0, 50}, {0, 0, 1});
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, up, plane, out), 0);
    expect_point(out, {0, 0, 50}, 1e-9);
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, down, plane, out), -1);   // forward only
    const tag_t datum = host_testing::make_datum_plane({0, 0, 70}, {0, 0, 1});
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, up, datum, out), 0);
    expect_point(out, {0, 0, 70}, 1e-9);
    // A box: the nearest face is taken.
    const double corner[3] = {-10, -10, 20}, size[3] = {20, 20, 10};
    const tag_t box = host_testing::make_box(corner, size);
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, up, box, out), 0);
    expect_point(out, {0, 0, 20}, 1e-9);
    // A sheet body is a body with faces (kernel type 5602): it blocks too.
    const double c2[3] = {-50, -50, 40}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    const tag_t sheet = host_testing::make_planar_sheet(c2, u, v);
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, up, sheet, out), 0);
    expect_point(out, {0, 0, 40}, 1e-9);
}

TEST_F(PointProjectionTest, OtherTargetsRaiseWrongObjectAndLeaveNothing) {
    const double p[3] = {0, 0, 0}, up[3] = {0, 0, 1};
    double out[3];
    const double corner[3] = {-10, -10, 20}, size[3] = {20, 20, 10};
    const tag_t edge = edges_of(host_testing::make_box(corner, size)).at(0);
    const tag_t line = new_line(0, 0, 0, 1, 0, 0);
    const int objects = host_testing::count_objects();
    const int marks = host_testing::undo_mark_count();
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, up, edge, out), HM_ERR_WRONG_OBJECT);
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, up, line, out), HM_ERR_WRONG_OBJECT);
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(host_testing::undo_mark_count(), marks);
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(nullptr, up, line, out), -1);
    const double zero[3] = {0, 0, 0};
    EXPECT_EQ(HM_VD_SI_project_point_along_vector(p, zero, line, out), -1);
}

TEST(GrazingRule, AStoneAtOneDegreeOrLessIsDropped) {
    struct Case { double angle; bool dropped; };
    for (const Case& c : {Case{1.0, true}, Case{0.5, true}, Case{-10.0, true}, Case{1.0 + 1e-12, false},
                          Case{45.0, false}}) {
        SCOPED_TRACE(c.angle);
        EXPECT_EQ(carvell::stone::is_grazing(c.angle), c.dropped);
    }
}

TEST_F(StonePathTest, StonesGrazingAFaceAtOneDegreeAreDropped) {
    // Section 0 leaves at exactly 3 degrees; a sheet rising at 2 degrees
    // towards +x, through the point 1 m along the throw, takes the stones at
    // 3 - 2 = 1 degree. Just steeper, they land; just flatter, all are dropped
    // and the section still answers 0.
    const Point3 t = launch_point();
    const double* d = m_->directions[0];
    ASSERT_NEAR(elevation_deg(d), 3.0, 1e-12);
    struct Case { double tilt_deg; int count; };
    for (const Case& c : {Case{2.0 - 1e-6, 50}, Case{2.0 + 1e-6, 0}}) {
        SCOPED_TRACE(c.tilt_deg);
        const double a = c.tilt_deg * kRad;
        const double u[3] = {1200 * std::cos(a), 0, 1200 * std::sin(a)}, v[3] = {0, 500, 0};
        const double corner[3] = {t[0] + 1000 * d[0] - u[0] / 2, 500, t[2] + 1000 * d[2] - u[2] / 2};
        const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);   // normal up and back
        ASSERT_EQ(land(0, faces_of(sheet).at(0), -1), 0);
        EXPECT_EQ(count_, c.count);
        if (c.count > 0) {
            EXPECT_NEAR(out_angles_[0], 1.0 + 1e-6, 1e-9);
        }
        HM_OBJ_delete_object(sheet);
    }
}

TEST_F(StonePathTest, ALaunchLineLandingInTwoPiecesLeavesNoStones) {
    // A tube across the throw (axis along y, radius 150 mm, centred 600 mm
    // along the tangent section's direction): the launch line lands on its
    // near and its far wall, two curves, and the section keeps no stone.
    const Point3 t = launch_point();
    const double* d = m_->directions[45];
    const double axis_origin[3] = {t[0] + 600 * d[0], t[1] + 10, t[2] + 600 * d[2]};
    const double axis[3] = {0, -1, 0};
    const double across[3] = {-d[2], 0, d[0]}, back[3] = {d[2], 0, -d[0]};
    const tag_t tube = host_testing::make_cylindrical_sheet(axis_origin, axis, across, 150, 2 * M_PI - 0.2, 250);
    const tag_t line = new_line(m_->points[45][0][0], m_->points[45][0][1], m_->points[45][0][2],
                                m_->points[45][49][0], m_->points[45][49][1], m_->points[45][49][2]);
    const tag_t wall = faces_of(tube).at(0);
    int pieces = 0;
    tag_t* projected = nullptr;
    ASSERT_EQ(carvell::stone::project_curves(1, &line, wall, 0, d, &pieces, &projected), 0);
    EXPECT_EQ(pieces, 2);
    for (int i = 0; i < pieces; ++i) HM_OBJ_delete_object(projected[i]);
    SM_free(projected);
    ASSERT_EQ(land(45, wall, -1), 0);
    EXPECT_EQ(count_, 0);
    // Either half of the tube alone takes every stone (with the face sign
    // that turns its wall towards the stones).
    for (const double* from : {across, back}) {
        const tag_t half = host_testing::make_cylindrical_sheet(axis_origin, axis, from, 150, M_PI, 250);
        int best = 0;
        for (int sign : {-1, 1}) {
            ASSERT_EQ(land(45, faces_of(half).at(0), sign), 0);
            best = std::max(best, count_);
        }
        EXPECT_EQ(best, 50);
    }
}

TEST_F(StonePathTest, ALaunchLineOnAnEdgeThatTwoFacesShareLandsItsStonesOnce) {
    // A block whose top rear edge lies 600 mm along the tangent section's
    // throw, across the tread: the launch line lands on that edge, which the
    // top face shares with the rear face. A host reports such a piece once
    // for each face; the projector keeps one, and the section lands.
    struct RepeatOnSharedEdges {
        RepeatOnSharedEdges() { host_testing::repeat_pieces_on_shared_edges(true); }
        ~RepeatOnSharedEdges() { host_testing::repeat_pieces_on_shared_edges(false); }
    } repeat;
    const Point3 t = launch_point();
    const double* d = m_->directions[45];
    const double edge_x = t[0] + 600 * d[0], edge_z = t[2] + 600 * d[2];
    const double corner[3] = {edge_x - 100, t[1] - kW - 20, edge_z - 100}, size[3] = {100, kW + 40, 100};
    const tag_t block = host_testing::make_box(corner, size);
    tag_t top = 0;
    for (tag_t f : faces_of(block)) {
        const double mid[2] = {0.5, 0.5};
        double p[3], u1[3], v1[3], u2[3], v2[3], n[3], radii[2];
        ASSERT_EQ(HM_MODL_ask_face_props(f, mid, p, u1, v1, u2, v2, n, radii), 0);
        if (n[2] > 0.99) top = f;
    }
    ASSERT_NE(top, 0u);
    const tag_t line = new_line(m_->points[45][0][0], m_->points[45][0][1], m_->points[45][0][2],
                                m_->points[45][49][0], m_->points[45][49][1], m_->points[45][49][2]);

    // The host's own answer: the piece on the edge, twice.
    CPROJ_data_t data;
    ASSERT_EQ(CPROJ_init_data(CPROJ_latest_version(), &data), 0);
    for (int k = 0; k < 3; ++k) data.direction[k] = d[k];
    const tag_t set = OM_create_tag_set();
    int made = 0;
    ASSERT_EQ(CPROJ_create_curves(&data, 1, &line, 1, &top, set, &made), 0);
    EXPECT_EQ(made, 2);
    int n = 0;
    tag_t* members = nullptr;
    OM_flatten_tag_set(set, &n, &members);
    for (int i = 0; i < n; ++i) HM_OBJ_delete_object(members[i]);
    SM_free(members);
    OM_delete_object(set);

    int pieces = 0;
    tag_t* projected = nullptr;
    const int before = host_testing::count_objects();
    ASSERT_EQ(carvell::stone::project_curves(1, &line, top, 0, d, &pieces, &projected), 0);
    ASSERT_EQ(pieces, 1);
    EXPECT_EQ(host_testing::count_objects(), before + 1) << "the repeated piece is deleted";
    double a[3], b[3];
    HM_VD_CURVE_ask_point_on_curve(projected[0], 0.0, a);
    HM_VD_CURVE_ask_point_on_curve(projected[0], 1.0, b);
    for (const double* p : {a, b}) {
        EXPECT_NEAR(p[0], edge_x, 1e-6);
        EXPECT_NEAR(p[2], edge_z, 1e-6);
    }
    EXPECT_NEAR(std::fabs(a[1] - b[1]), kW, 1e-6);
    HM_OBJ_delete_object(projected[0]);
    SM_free(projected);

    ASSERT_EQ(land(45, top, -1), 0);
    EXPECT_EQ(count_, SI_STONE_COUNT);
    EXPECT_NEAR(out_points_[0][0], edge_x, 1e-6);
    EXPECT_NEAR(out_points_[0][2], edge_z, 1e-6);
}
