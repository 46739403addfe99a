// Composite curve operations of the toolbox: curves trimmed by a plane, the
// loop edges of a set of faces, intersection curves of two objects and the
// projection of a curve onto a target from an eye point.
#include "host_fixture.h"
#include "test_helpers.h"
#include "hm_vd/trim_intersect.h"
#include "elvosk.h"
#include "farquil.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using support::curve_length;
using support::curve_point;
using support::distance;
using support::edges_of_face;
using support::faces_of;
using support::kPi;
using support::list_items;
using support::make_list;

using host_testing::Point3;

constexpr double kTol = 1e-6;

double total_length(const std::vector<tag_t>& curves) {
    double sum = 0.0;
    for (tag_t c : curves) sum += curve_length(c);
    return sum;
}

bool alive(tag_t object) { return HM_OBJ_ask_status(object) == HM_OBJ_ALIVE; }

// The face of the body whose outward normal is the given axis direction.
tag_t face_facing(tag_t body, const Point3& normal) {
    for (tag_t face : faces_of(body)) {
        const double parm[2] = {0.5, 0.5};
        double p[3], u1[3], v1[3], u2[3], v2[3], n[3], radii[2];
        if (HM_MODL_ask_face_props(face, parm, p, u1, v1, u2, v2, n, radii) != 0) continue;
        if (n[0] * normal[0] + n[1] * normal[1] + n[2] * normal[2] > 0.999) return face;
    }
    return 0;
}

// The single face of a planar sheet.
tag_t sheet_face(const Point3& corner, const Point3& u, const Point3& v) {
    const tag_t sheet = host_testing::make_planar_sheet(corner.data(), u.data(), v.data());
    const std::vector<tag_t> faces = faces_of(sheet);
    return faces.size() == 1 ? faces[0] : 0;
}

/* ---- curves trimmed by a plane ---- */

class TrimByPlaneTest : public HostTest {
protected:
    const double origin_[3] = {0, 0, 0};
    const double up_[3] = {0, 0, 1};
};

// A line across the plane, a circle crossing it twice and lines on either
// side of it: pieces first (in input order), whole curves after them, each
// on the side of its mid point.
TEST_F(TrimByPlaneTest, PiecesAndWholeCurvesGoToTheSideOfTheirMidPoints) {
    const tag_t across = host_testing::make_line({0, 0, -2}, {0, 0, 8});
    // Circle of radius 2 about (0, 0, 1) in the xz plane, starting at (2, 0, 1):
    // it meets z = 0 at the angles 210 and 330 degrees.
    const tag_t circle = host_testing::make_arc({0, 0, 1}, 2.0, 0.0, 2 * kPi, {1, 0, 0}, {0, 0, 1});
    const tag_t above = host_testing::make_line({0, 0, 3}, {5, 0, 3});
    const tag_t below = host_testing::make_line({0, 0, -3}, {5, 0, -3});
    hm_list_p_t input = make_list({above, across, below, circle});

    hm_list_p_t away = nullptr, toward = nullptr;
    ASSERT_EQ(HM_VD_trim_curves_by_plane(input, origin_, up_, &away, &toward), 0);
    const std::vector<tag_t> a = list_items(away), t = list_items(toward);

    struct Expected {
        const char* what;
        const std::vector<tag_t>& list;
        std::vector<double> lengths;
    };
    const Expected cases[] = {
        // The line's lower piece, the circle's arc below the plane, the lower line.
        {"away", a, {2.0, 2.0 * (120.0 * kPi / 180.0), 5.0}},
        // The line's upper piece, the circle's arcs from 0 to 210 and from
        // 330 to 360 degrees, the upper line.
        {"toward", t, {8.0, 2.0 * (210.0 * kPi / 180.0), 2.0 * (30.0 * kPi / 180.0), 5.0}},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.list.size(), c.lengths.size());
        for (size_t i = 0; i < c.lengths.size(); ++i) EXPECT_NEAR(curve_length(c.list[i]), c.lengths[i], kTol) << i;
    }
    // Curves that do not cross stay themselves, after all pieces.
    EXPECT_EQ(a.back(), below);
    EXPECT_EQ(t.back(), above);
    // Every piece ends on the plane or at an end of its curve, and lies on its side.
    for (size_t i = 0; i + 1 < a.size(); ++i) EXPECT_LT(curve_point(a[i], 0.5)[2], 0.0);
    for (size_t i = 0; i + 1 < t.size(); ++i) EXPECT_GT(curve_point(t[i], 0.5)[2], 0.0);
    EXPECT_NEAR(curve_point(a[0], 1.0)[2], 0.0, kTol);
    EXPECT_NEAR(curve_point(t[0], 0.0)[2], 0.0, kTol);

    HM_MODL_delete_list(&input);
    HM_MODL_delete_list(&away);
    HM_MODL_delete_list(&toward);
    ExpectNoLeaks();
}

// The crossing curves are replaced by their pieces: after the next update the
// part holds the pieces and the curves that did not cross, and nothing else
// (no copies, planes, coordinate systems or matrices).
TEST_F(TrimByPlaneTest, LeavesOnlyThePiecesAndTheUncrossedCurves) {
    const tag_t across = host_testing::make_line({0, 0, -2}, {0, 0, 8});
    const tag_t circle = host_testing::make_arc({0, 0, 1}, 2.0, 0.0, 2 * kPi, {1, 0, 0}, {0, 0, 1});
    const tag_t above = host_testing::make_line({0, 0, 3}, {5, 0, 3});
    hm_list_p_t input = make_list({across, circle, above});
    // The fixtures' own objects (the circle's matrix among them).
    const int objects = host_testing::count_objects();
    const int planes = host_testing::count_objects(0, HM_plane_type);
    const int systems = host_testing::count_objects(0, HM_coordinate_system_type);
    const int matrices = host_testing::count_objects(0, HM_matrix_type);

    hm_list_p_t away = nullptr, toward = nullptr;
    ASSERT_EQ(HM_VD_trim_curves_by_plane(input, origin_, up_, &away, &toward), 0);
    const int made = static_cast<int>(list_items(away).size() + list_items(toward).size());
    EXPECT_EQ(made, 6);   // 2 + 3 pieces and the uncrossed line
    UPDATE_do_update();
    EXPECT_FALSE(alive(across));
    EXPECT_FALSE(alive(circle));
    EXPECT_TRUE(alive(above));
    // The two crossing curves gave way to their five pieces.
    EXPECT_EQ(host_testing::count_objects(), objects - 2 + 5);
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), planes);
    EXPECT_EQ(host_testing::count_objects(0, HM_coordinate_system_type), systems);
    EXPECT_EQ(host_testing::count_objects(0, HM_matrix_type), matrices);
    for (tag_t piece : list_items(away)) EXPECT_TRUE(alive(piece));
    for (tag_t piece : list_items(toward)) EXPECT_TRUE(alive(piece));

    HM_MODL_delete_list(&input);
    HM_MODL_delete_list(&away);
    HM_MODL_delete_list(&toward);
    ExpectNoLeaks();
}

// A curve that only touches the plane with an end is one piece: no empty
// piece is cut at the touching end.
TEST_F(TrimByPlaneTest, CurveEndingOnThePlaneIsOnePiece) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {0, 0, 4});
    hm_list_p_t input = make_list({line});
    hm_list_p_t away = nullptr, toward = nullptr;
    ASSERT_EQ(HM_VD_trim_curves_by_plane(input, origin_, up_, &away, &toward), 0);
    EXPECT_TRUE(list_items(away).empty());
    ASSERT_EQ(list_items(toward).size(), 1u);
    EXPECT_NEAR(curve_length(list_items(toward)[0]), 4.0, kTol);
    HM_MODL_delete_list(&input);
    HM_MODL_delete_list(&away);
    HM_MODL_delete_list(&toward);
    ExpectNoLeaks();
}

TEST_F(TrimByPlaneTest, EmptyListLeavesTheOutListsUnwritten) {
    hm_list_p_t empty = make_list({});
    hm_list_p_t sentinel = reinterpret_cast<hm_list_p_t>(0x1);
    for (hm_list_p_t input : {empty, static_cast<hm_list_p_t>(nullptr)}) {
        hm_list_p_t away = sentinel, toward = sentinel;
        EXPECT_EQ(HM_VD_trim_curves_by_plane(input, origin_, up_, &away, &toward), -1);
        EXPECT_EQ(away, sentinel);
        EXPECT_EQ(toward, sentinel);
    }
    HM_MODL_delete_list(&empty);
    ExpectNoLeaks();
}

// A curve whose mid point cannot be found (here a deleted one) goes into
// neither list and makes the result 2; the others are sorted all the same.
TEST_F(TrimByPlaneTest, CurveWithoutMidPointIsLeftOutWithResult2) {
    const tag_t gone = host_testing::make_line({0, 0, 3}, {1, 0, 3});
    const tag_t below = host_testing::make_line({0, 0, -3}, {5, 0, -3});
    HM_OBJ_delete_object(gone);
    hm_list_p_t input = make_list({gone, below});
    hm_list_p_t away = nullptr, toward = nullptr;
    EXPECT_EQ(HM_VD_trim_curves_by_plane(input, origin_, up_, &away, &toward), 2);
    EXPECT_EQ(list_items(away), std::vector<tag_t>{below});
    EXPECT_TRUE(list_items(toward).empty());
    HM_MODL_delete_list(&input);
    HM_MODL_delete_list(&away);
    HM_MODL_delete_list(&toward);
    ExpectNoLeaks();
}

TEST_F(TrimByPlaneTest, PlaneThatCannotBeMadeGivesItsCodeAndEmptyLists) {
    const double no_normal[3] = {0, 0, 0};
    tag_t probe = 0;
    const int expected = HM_MODL_create_plane(origin_, no_normal, &probe);
    ASSERT_NE(expected, 0);
    const tag_t line = host_testing::make_line({0, 0, -2}, {0, 0, 8});
    hm_list_p_t input = make_list({line});
    hm_list_p_t away = nullptr, toward = nullptr;
    EXPECT_EQ(HM_VD_trim_curves_by_plane(input, origin_, no_normal, &away, &toward), expected);
    ASSERT_NE(away, nullptr);
    ASSERT_NE(toward, nullptr);
    EXPECT_TRUE(list_items(away).empty());
    EXPECT_TRUE(list_items(toward).empty());
    EXPECT_TRUE(alive(line));
    HM_MODL_delete_list(&input);
    HM_MODL_delete_list(&away);
    HM_MODL_delete_list(&toward);
    ExpectNoLeaks();
}

/* ---- loop edges of a set of faces ---- */

class LoopEdgesTest : public HostTest {
protected:
    // Checks the loop: each edge one of the faces' own, none shared by two of
    // the faces, consecutive edges (last to first included) meeting end to end.
    void ExpectClosedLoopOfOwnEdges(const std::vector<tag_t>& faces, const tag_t* edges, int count) {
        std::vector<tag_t> own;
        for (tag_t f : faces)
            for (tag_t e : edges_of_face(f)) own.push_back(e);
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(std::count(own.begin(), own.end(), edges[i]), 1) << "edge " << i;
            const tag_t next = edges[(i + 1) % count];
            const Point3 a0 = curve_point(edges[i], 0), a1 = curve_point(edges[i], 1);
            const Point3 b0 = curve_point(next, 0), b1 = curve_point(next, 1);
            const double gap = std::min({distance(a0, b0), distance(a0, b1), distance(a1, b0), distance(a1, b1)});
            EXPECT_LT(gap, kTol) << "edges " << i << " and " << (i + 1) % count << " do not meet";
        }
    }
};

// Three faces of a box meeting at a corner: the boundary is a skew hexagon
// of the faces' six unshared edges (10 + 20 + 5 twice over: 70).
TEST_F(LoopEdgesTest, ThreeFacesAtABoxCornerGiveTheirSixOuterEdges) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 5};
    const tag_t box = host_testing::make_box(corner, size);
    const std::vector<tag_t> faces = {face_facing(box, {0, 0, 1}), face_facing(box, {0, -1, 0}),
                                      face_facing(box, {1, 0, 0})};
    for (tag_t f : faces) ASSERT_NE(f, 0u);
    const int objects = host_testing::count_objects();
    const int marks = host_testing::undo_mark_count();

    int count = -1;
    tag_t* edges = nullptr;
    ASSERT_EQ(HM_VD_get_loop_edges(3, faces.data(), true, &count, &edges), 0);
    ASSERT_EQ(count, 6);
    ASSERT_NE(edges, nullptr);
    ExpectClosedLoopOfOwnEdges(faces, edges, count);
    EXPECT_NEAR(total_length(std::vector<tag_t>(edges, edges + count)), 70.0, kTol);
    // The sewn sheet is gone: the part is as before the call.
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(host_testing::undo_mark_count(), marks);
    SM_free(edges);
    ExpectNoLeaks();
}

// Two coplanar squares side by side: the six outer edges, never the shared one.
TEST_F(LoopEdgesTest, TwoCoplanarFacesGiveTheOuterEdgesButNotTheSharedOne) {
    const std::vector<tag_t> faces = {sheet_face({0, 0, 0}, {10, 0, 0}, {0, 10, 0}),
                                      sheet_face({10, 0, 0}, {10, 0, 0}, {0, 10, 0})};
    for (tag_t f : faces) ASSERT_NE(f, 0u);
    const int objects = host_testing::count_objects();

    int count = -1;
    tag_t* edges = nullptr;
    ASSERT_EQ(HM_VD_get_loop_edges(2, faces.data(), true, &count, &edges), 0);
    ASSERT_EQ(count, 6);
    ExpectClosedLoopOfOwnEdges(faces, edges, count);
    EXPECT_NEAR(total_length(std::vector<tag_t>(edges, edges + count)), 60.0, kTol);
    for (int i = 0; i < count; ++i) {
        const Point3 a = curve_point(edges[i], 0), b = curve_point(edges[i], 1);
        EXPECT_FALSE(std::fabs(a[0] - 10) < kTol && std::fabs(b[0] - 10) < kTol) << "shared edge returned";
    }
    EXPECT_EQ(host_testing::count_objects(), objects);
    SM_free(edges);
    ExpectNoLeaks();
}

// Sheets made with u and v swapped: each face's normal points down and its
// loop runs against the direction of its edges. The original edge tags come
// back all the same, each once, in one closed loop.
TEST_F(LoopEdgesTest, FacesWhoseLoopRunsAgainstTheirEdgesGiveTheirOwnEdges) {
    const struct {
        const char* name;
        std::vector<std::array<Point3, 3>> sheets;   // corner, u, v
        int edges;
        double length;
    } cases[] = {
        {"one square, u and v swapped", {{{{0, 0, 0}, {0, 10, 0}, {10, 0, 0}}}}, 4, 40.0},
        {"two squares, both swapped",
         {{{{0, 0, 0}, {0, 10, 0}, {10, 0, 0}}}, {{{10, 0, 0}, {0, 10, 0}, {10, 0, 0}}}},
         6,
         60.0},
        {"two squares, one swapped",
         {{{{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}}, {{{10, 0, 0}, {0, 10, 0}, {10, 0, 0}}}},
         6,
         60.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<tag_t> faces;
        for (const auto& s : c.sheets) faces.push_back(sheet_face(s[0], s[1], s[2]));
        for (tag_t f : faces) ASSERT_NE(f, 0u);
        for (tag_t f : faces) edges_of_face(f);   // tagged before the part is counted
        const int objects = host_testing::count_objects();

        int count = -1;
        tag_t* edges = nullptr;
        ASSERT_EQ(HM_VD_get_loop_edges(static_cast<int>(faces.size()), faces.data(), true, &count, &edges), 0);
        ASSERT_EQ(count, c.edges);
        ExpectClosedLoopOfOwnEdges(faces, edges, count);
        EXPECT_NEAR(total_length(std::vector<tag_t>(edges, edges + count)), c.length, kTol);
        EXPECT_EQ(host_testing::count_objects(), objects);
        SM_free(edges);
    }
    ExpectNoLeaks();
}

TEST_F(LoopEdgesTest, FlagClearOnlyChecks) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 5};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t top = face_facing(box, {0, 0, 1});
    const int objects = host_testing::count_objects();
    int count = -1;
    tag_t* edges = reinterpret_cast<tag_t*>(0x1);
    EXPECT_EQ(HM_VD_get_loop_edges(1, &top, false, &count, &edges), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(edges, nullptr);
    EXPECT_EQ(host_testing::count_objects(), objects);
    ExpectNoLeaks();
}

// Failures: the code, count 0, a null array and the part as before the call.
TEST_F(LoopEdgesTest, FailuresLeaveThePartAsItWas) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 5};
    const tag_t box = host_testing::make_box(corner, size);
    const std::vector<tag_t> shell = faces_of(box);
    const std::vector<tag_t> apart = {sheet_face({0, 0, 50}, {10, 0, 0}, {0, 10, 0}),
                                      sheet_face({100, 0, 50}, {10, 0, 0}, {0, 10, 0})};
    // A 3 x 3 grid of unit squares without its middle one: a sheet with a
    // hole, whose boundary is two loops.
    std::vector<tag_t> frame;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1) frame.push_back(sheet_face({double(i), double(j), -20}, {1, 0, 0}, {0, 1, 0}));
    // A square with a half-size square on half of its top edge: sewing cuts
    // that edge, so the boundary holds a piece of an edge that no face has.
    const std::vector<tag_t> stepped = {sheet_face({0, 0, 80}, {20, 0, 0}, {0, 10, 0}),
                                        sheet_face({10, 10, 80}, {10, 0, 0}, {0, 5, 0})};

    struct Case {
        const char* what;
        std::vector<tag_t> faces;
        int code;
    };
    const Case cases[] = {
        {"two separate faces", apart, HM_VD_ERR_SEW_SHEETS},
        {"no faces", {}, HM_VD_ERR_SEW_SHEETS},
        {"closed box, no boundary", shell, HM_VD_ERR_OPEN_BOUNDARY},
        {"sheet with a hole", frame, HM_VD_ERR_OPEN_BOUNDARY},
        {"boundary edge cut by the sew", stepped, HM_VD_ERR_NO_ORIGINAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (tag_t f : c.faces) ASSERT_NE(f, 0u);
        const int objects = host_testing::count_objects();
        const int bodies = host_testing::count_objects(0, HM_solid_type);
        const int marks = host_testing::undo_mark_count();
        const size_t allocations = host_testing::live_allocations();
        int count = -1;
        tag_t* edges = reinterpret_cast<tag_t*>(0x1);
        EXPECT_EQ(HM_VD_get_loop_edges(static_cast<int>(c.faces.size()), c.faces.data(), true, &count, &edges),
                  c.code);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(edges, nullptr);
        EXPECT_EQ(host_testing::count_objects(), objects);
        EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), bodies);
        EXPECT_EQ(host_testing::undo_mark_count(), marks);
        EXPECT_EQ(host_testing::live_allocations(), allocations);
        for (tag_t f : c.faces) EXPECT_TRUE(alive(f));
    }
    EXPECT_TRUE(host_testing::syslog().empty());
    ExpectNoLeaks();
}

/* ---- intersection curves ---- */

class IntersectionCurvesTest : public HostTest {
protected:
    // Deletes the list and its objects.
    void Discard(hm_list_p_t* list) {
        for (tag_t t : list_items(*list)) HM_OBJ_delete_object(t);
        HM_MODL_delete_list(list);
    }
};

// The plane z = 2 cuts the 10 x 20 x 5 box in a 10 x 20 rectangle; the box's
// feature stands for the box.
TEST_F(IntersectionCurvesTest, PlaneThroughABoxGivesItsRectangle) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 5};
    const tag_t box = host_testing::make_box(corner, size);
    hm_list_p_t features = nullptr;
    HM_MODL_ask_body_feats(box, &features);
    const tag_t feature = list_items(features).at(0);
    HM_MODL_delete_list(&features);
    const tag_t plane = host_testing::make_plane({0, 0, 2}, {0, 0, 1});

    for (tag_t target : {box, feature}) {
        SCOPED_TRACE(target == box ? "body" : "feature");
        hm_list_p_t list = nullptr;
        ASSERT_EQ(HM_VD_ask_intersection_curves(plane, target, 0.001, &list), 0);
        const std::vector<tag_t> curves = list_items(list);
        EXPECT_EQ(curves.size(), 4u);
        EXPECT_NEAR(total_length(curves), 60.0, kTol);
        for (tag_t c : curves)
            for (double t : {0.0, 0.5, 1.0}) EXPECT_NEAR(curve_point(c, t)[2], 2.0, kTol);
        Discard(&list);
    }
    ExpectNoLeaks();
}

// The plane x = 4 cuts a 10 x 10 sheet in z = 0 in one segment from
// (4, 0, 0) to (4, 10, 0).
TEST_F(IntersectionCurvesTest, SheetAndPlaneMeetInASegment) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 10, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    const tag_t plane = host_testing::make_plane({4, 0, 0}, {1, 0, 0});
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_VD_ask_intersection_curves(sheet, plane, 0.001, &list), 0);
    const std::vector<tag_t> curves = list_items(list);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_NEAR(curve_length(curves[0]), 10.0, kTol);
    const Point3 a = curve_point(curves[0], 0), b = curve_point(curves[0], 1);
    const Point3 lo = a[1] < b[1] ? a : b, hi = a[1] < b[1] ? b : a;
    EXPECT_LT(distance(lo, {4, 0, 0}), kTol);
    EXPECT_LT(distance(hi, {4, 10, 0}), kTol);
    Discard(&list);
    ExpectNoLeaks();
}

// Two bodies meet in the curves of their section: a 20 x 20 sheet in z = 4
// cuts the 10 x 10 x 10 box in a square of perimeter 40. The section bodies
// do not stay.
TEST_F(IntersectionCurvesTest, TwoBodiesMeetInTheirSectionCurves) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const double sc[3] = {-5, -5, 4}, u[3] = {20, 0, 0}, v[3] = {0, 20, 0};
    const tag_t sheet = host_testing::make_planar_sheet(sc, u, v);
    const int objects = host_testing::count_objects();
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_VD_ask_intersection_curves(box, sheet, 0.001, &list), 0);
    const std::vector<tag_t> curves = list_items(list);
    ASSERT_FALSE(curves.empty());
    EXPECT_NEAR(total_length(curves), 40.0, kTol);
    for (tag_t c : curves) {
        int type = 0, subtype = 0;
        HM_OBJ_ask_type_and_subtype(c, &type, &subtype);
        EXPECT_NE(type, HM_solid_type);
        EXPECT_NEAR(curve_point(c, 0.5)[2], 4.0, kTol);
    }
    EXPECT_EQ(host_testing::count_objects(), objects + static_cast<int>(curves.size()));
    Discard(&list);
    ExpectNoLeaks();
}

// Two curves meet in points: a line across a circle of radius 5 at (-5, 0, 0)
// and (5, 0, 0), two crossing lines at (5, 0, 0).
TEST_F(IntersectionCurvesTest, CurvesMeetInPointObjects) {
    const tag_t line = host_testing::make_line({-10, 0, 0}, {10, 0, 0});
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 5.0, 0.0, 2 * kPi);
    const tag_t cross = host_testing::make_line({5, -5, 0}, {5, 5, 0});
    struct Case {
        tag_t other;
        std::vector<Point3> points;
    };
    const Case cases[] = {{circle, {{-5, 0, 0}, {5, 0, 0}}}, {cross, {{5, 0, 0}}}};
    for (const Case& c : cases) {
        hm_list_p_t list = nullptr;
        ASSERT_EQ(HM_VD_ask_intersection_curves(line, c.other, 0.001, &list), 0);
        const std::vector<tag_t> found = list_items(list);
        ASSERT_EQ(found.size(), c.points.size());
        for (tag_t p : found) {
            int type = 0, subtype = 0;
            HM_OBJ_ask_type_and_subtype(p, &type, &subtype);
            EXPECT_EQ(type, HM_point_type);
            Point3 at{};
            HM_CURVE_ask_point_data(p, at.data());
            double nearest = 1e9;
            for (const Point3& q : c.points) nearest = std::min(nearest, distance(at, q));
            EXPECT_LT(nearest, kTol);
        }
        Discard(&list);
    }
    ExpectNoLeaks();
}

TEST_F(IntersectionCurvesTest, NothingFoundLeavesTheListNull) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t far_plane = host_testing::make_plane({0, 0, 100}, {0, 0, 1});
    const double oc[3] = {50, 50, 50};
    const tag_t far_box = host_testing::make_box(oc, size);
    const int objects = host_testing::count_objects();
    for (tag_t other : {far_plane, far_box}) {
        hm_list_p_t list = reinterpret_cast<hm_list_p_t>(0x1);
        EXPECT_EQ(HM_VD_ask_intersection_curves(box, other, 0.001, &list), 0);
        EXPECT_EQ(list, nullptr);
    }
    // A null object: the host's failure, no list.
    hm_list_p_t list = reinterpret_cast<hm_list_p_t>(0x1);
    EXPECT_EQ(HM_VD_ask_intersection_curves(box, 0, 0.001, &list), HM_ERR_INVALID_TAG);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(host_testing::count_objects(), objects);
    ExpectNoLeaks();
}

/* ---- projection from an eye point ---- */

class EyepointProjectTest : public HostTest {
protected:
    const double eye_[3] = {0, 0, 10};
    // Seen from (0, 0, 10), a point at z = 5 lands on z = 0 at twice its x and y.
    tag_t Floor() {
        const double corner[3] = {-10, -10, 0}, u[3] = {20, 0, 0}, v[3] = {0, 20, 0};
        return host_testing::make_planar_sheet(corner, u, v);
    }
};

TEST_F(EyepointProjectTest, LineLandsOnTheFloorAtTwiceItsOffset) {
    const tag_t floor = Floor();
    hm_list_p_t features = nullptr;
    HM_MODL_ask_body_feats(floor, &features);
    const tag_t feature = list_items(features).at(0);
    HM_MODL_delete_list(&features);
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const tag_t line = host_testing::make_line({-1, -1, 5}, {1, -1, 5});

    for (tag_t target : {floor, feature, plane}) {
        SCOPED_TRACE(target == floor ? "sheet" : target == feature ? "feature" : "plane");
        const int objects = host_testing::count_objects();
        hm_list_p_t list = nullptr;
        ASSERT_EQ(HM_VD_eyepoint_project_curve(eye_, line, 0.001, target, &list), 0);
        const std::vector<tag_t> curves = list_items(list);
        ASSERT_EQ(curves.size(), 1u);
        EXPECT_NEAR(curve_length(curves[0]), 4.0, 1e-4);
        const Point3 a = curve_point(curves[0], 0), b = curve_point(curves[0], 1);
        const Point3 lo = a[0] < b[0] ? a : b, hi = a[0] < b[0] ? b : a;
        EXPECT_LT(distance(lo, {-2, -2, 0}), 1e-4);
        EXPECT_LT(distance(hi, {2, -2, 0}), 1e-4);
        EXPECT_LT(distance(curve_point(curves[0], 0.5), {0, -2, 0}), 1e-4);
        // Only the projected curve is new: eye point, cone and its copy are gone.
        EXPECT_EQ(host_testing::count_objects(), objects + 1);
        EXPECT_TRUE(HM_DISP_ask_display());
        for (tag_t c : curves) HM_OBJ_delete_object(c);
        HM_MODL_delete_list(&list);
    }
    ExpectNoLeaks();
}

// A circle of radius 1 at z = 5 about the sight axis lands as a circle of
// radius 2 about the origin.
TEST_F(EyepointProjectTest, CircleLandsAsACircleOfTwiceItsRadius) {
    const tag_t floor = Floor();
    const tag_t circle = host_testing::make_arc({0, 0, 5}, 1.0, 0.0, 2 * kPi);
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_VD_eyepoint_project_curve(eye_, circle, 0.001, floor, &list), 0);
    const std::vector<tag_t> curves = list_items(list);
    ASSERT_FALSE(curves.empty());
    EXPECT_NEAR(total_length(curves), 4 * kPi, 1e-3);
    for (tag_t c : curves)
        for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) {
            const Point3 p = curve_point(c, t);
            EXPECT_NEAR(std::hypot(p[0], p[1]), 2.0, 1e-4);
            EXPECT_NEAR(p[2], 0.0, 1e-4);
        }
    for (tag_t c : curves) HM_OBJ_delete_object(c);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

// A target off to the side: an empty list, nothing left behind, the display on.
TEST_F(EyepointProjectTest, MissedTargetGivesAnEmptyList) {
    const double corner[3] = {100, 100, 0}, u[3] = {20, 0, 0}, v[3] = {0, 20, 0};
    const tag_t aside = host_testing::make_planar_sheet(corner, u, v);
    const tag_t line = host_testing::make_line({-1, -1, 5}, {1, -1, 5});
    const int objects = host_testing::count_objects();
    hm_list_p_t list = nullptr;
    EXPECT_EQ(HM_VD_eyepoint_project_curve(eye_, line, 0.001, aside, &list), 0);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list_items(list).empty());
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_TRUE(HM_DISP_ask_display());
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(EyepointProjectTest, NullCurveOrTargetDoesNothing) {
    const tag_t floor = Floor();
    const tag_t line = host_testing::make_line({-1, -1, 5}, {1, -1, 5});
    const int objects = host_testing::count_objects();
    const std::array<std::array<tag_t, 2>, 2> cases = {{{0, floor}, {line, 0}}};
    for (const auto& c : cases) {
        hm_list_p_t list = reinterpret_cast<hm_list_p_t>(0x1);
        EXPECT_EQ(HM_VD_eyepoint_project_curve(eye_, c[0], 0.001, c[1], &list), -1);
        EXPECT_EQ(list, reinterpret_cast<hm_list_p_t>(0x1));
    }
    EXPECT_EQ(host_testing::count_objects(), objects);
    ExpectNoLeaks();
}

}  // namespace
