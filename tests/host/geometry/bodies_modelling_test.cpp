// Features of the stand-in host that make or change bodies: extracted faces,
// sewing, bounded planes, ruled sheets, spheres, scaling and sections.
#include "ambrith.h"
#include "core/model.h"
#include "farquil.h"
#include "host_fixture.h"
#include "omvra.h"
#include "ostrade.h"
#include "quillon.h"
#include "test_helpers.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using support::list_items;
using support::new_line;
using support::new_point;
using support::turned_csys;

int face_count(tag_t body) {
    hm_list_p_t list = nullptr;
    if (HM_MODL_ask_body_faces(body, &list)) return -1;
    int n = 0;
    HM_MODL_ask_list_count(list, &n);
    HM_MODL_delete_list(&list);
    return n;
}

std::string kind_of(tag_t feature) {
    host::Object* f = host::find(feature, HM_feature_type);
    const host::FeatureData* d = f ? std::any_cast<host::FeatureData>(&f->data) : nullptr;
    return d ? d->kind : "";
}

tag_t body_of(tag_t feature) {
    host::Object* f = host::find(feature, HM_feature_type);
    const host::FeatureData* d = f ? std::any_cast<host::FeatureData>(&f->data) : nullptr;
    return d ? d->body : 0;
}

// Circle of the radius about the centre in a plane z = centre z.
tag_t circle(const double centre[3], double radius) {
    HM_CURVE_arc_t arc = {0, 0.0, 2 * M_PI, {centre[0], centre[1], centre[2]}, radius};
    tag_t t = 0;
    EXPECT_EQ(HM_CURVE_create_arc(&arc, &t), 0);
    return t;
}

// A string list of the given strings, each with its direction.
struct Strings {
    HM_STRING_LIST_t list;
    Strings(const std::vector<std::vector<tag_t>>& strings, const std::vector<int>& dirs) {
        int total = 0;
        for (const auto& s : strings) total += int(s.size());
        HM_MODL_init_string_list(&list);
        HM_MODL_create_string_list(int(strings.size()), total, &list);
        int k = 0;
        for (size_t i = 0; i < strings.size(); ++i) {
            list.curve_counts[i] = int(strings[i].size());
            list.directions[i] = dirs[i];
            for (tag_t t : strings[i]) list.curves[k++] = t;
        }
    }
    ~Strings() { HM_MODL_free_string_list(&list); }
};

int ruled(const std::vector<tag_t>& s1, const std::vector<tag_t>& s2, int dir2, int alignment, tag_t* sheet) {
    Strings sections({s1, s2}, {1, dir2});
    HM_STRING_LIST_t spine;
    HM_MODL_init_string_list(&spine);
    double scratch[6] = {0};
    const double tolerances[3] = {0, 0, 0};
    return HM_MODL_create_ruled1(&sections.list, &spine, alignment, scratch, 0, 0, 0, 0, tolerances, sheet);
}

/* ---- extraction and sewing ---- */

class SewTest : public HostTest {
protected:
    tag_t sheet(double x0, double y0, double w, double h) {
        const double c[3] = {x0, y0, 0}, u[3] = {w, 0, 0}, v[3] = {0, h, 0};
        return host_testing::make_planar_sheet(c, u, v);
    }
};

TEST_F(SewTest, ExtractedFaceIsANewSheetOfTheSameFace) {
    const double corner[3] = {0, 0, 0}, size[3] = {3, 4, 5};
    tag_t box = host_testing::make_box(corner, size);
    hm_list_p_t faces = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(box, &faces), 0);
    tag_t face = list_items(faces)[0];
    HM_MODL_delete_list(&faces);
    tag_t extracted = 0;
    ASSERT_EQ(MODL_extract_face(face, &extracted), 0);
    EXPECT_NE(extracted, box);
    EXPECT_EQ(face_count(extracted), 1);
    EXPECT_NEAR(host_testing::surface_area(extracted), host_testing::surface_area(face), 1e-9);
    EXPECT_EQ(face_count(box), 6) << "the body keeps its face";
    EXPECT_EQ(MODL_extract_face(box, &extracted), HM_ERR_WRONG_TYPE);
}

TEST_F(SewTest, AdjacentSheetsBecomeOneSheet) {
    tag_t target = sheet(0, 0, 10, 10);
    tag_t tool = sheet(10, 0, 10, 10);
    hm_list_p_t disjoint = nullptr;
    tag_t feature = 0;
    ASSERT_EQ(HM_MODL_create_sew(0, 1, &target, 1, &tool, 0.05, 0, &disjoint, &feature), 0);
    EXPECT_TRUE(list_items(disjoint).empty());
    HM_MODL_delete_list(&disjoint);
    EXPECT_EQ(kind_of(feature), "SEW");
    EXPECT_EQ(body_of(feature), target);
    EXPECT_EQ(face_count(target), 2);
    EXPECT_EQ(HM_OBJ_ask_status(tool), HM_OBJ_DELETED) << "the tool is consumed";
    // One sheet: the shared edge joins both faces, so 7 edges are left.
    hm_list_p_t edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_edges(target, &edges), 0);
    EXPECT_EQ(list_items(edges).size(), 7u);
    HM_MODL_delete_list(&edges);
    EXPECT_NEAR(host_testing::surface_area(target), 200, 1e-9);
    ExpectNoLeaks();
}

TEST_F(SewTest, GapWithinToleranceIsClosedAndFarSheetsComeBackDisjoint) {
    tag_t target = sheet(0, 0, 10, 10);
    std::vector<tag_t> tools = {sheet(10.02, 0, 10, 10), sheet(50, 0, 10, 10)};
    hm_list_p_t disjoint = nullptr;
    tag_t feature = 0;
    ASSERT_EQ(HM_MODL_create_sew(0, 1, &target, 2, tools.data(), 0.05, 0, &disjoint, &feature), 0);
    std::vector<tag_t> apart = list_items(disjoint);
    HM_MODL_delete_list(&disjoint);
    EXPECT_EQ(face_count(target), 2);
    ASSERT_EQ(apart.size(), 1u);
    EXPECT_EQ(face_count(apart[0]), 1);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(apart[0], box), 0);
    EXPECT_NEAR(box[0], 50, 1e-9);
}

TEST_F(SewTest, FailedSewLeavesEverything) {
    tag_t target = sheet(0, 0, 10, 10);
    tag_t tool = sheet(10, 0, 10, 10);
    hm_list_p_t disjoint = nullptr;
    tag_t feature = 0;
    const int before = host_testing::count_objects();
    EXPECT_EQ(HM_MODL_create_sew(0, 1, &target, 1, &tool, 0.0, 0, &disjoint, &feature), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_MODL_create_sew(0, 1, &target, 1, &target, 0.05, 0, &disjoint, &feature), HM_ERR_BAD_ARGUMENT);
    const tag_t line_tag = new_line(0, 0, 0, 1, 0, 0);
    EXPECT_EQ(HM_MODL_create_sew(0, 1, &target, 1, &line_tag, 0.05, 0, &disjoint, &feature), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(disjoint, nullptr);
    EXPECT_EQ(host_testing::count_objects(), before + 1);
    EXPECT_EQ(HM_OBJ_ask_status(tool), HM_OBJ_ALIVE);
}

TEST_F(SewTest, UndoBringsBackTheSheetsAsTheyWere) {
    tag_t target = sheet(0, 0, 10, 10);
    tag_t tool = sheet(10, 0, 10, 10);
    ASSERT_EQ(face_count(target), 1);
    UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, nullptr);
    hm_list_p_t disjoint = nullptr;
    tag_t feature = 0;
    ASSERT_EQ(HM_MODL_create_sew(0, 1, &target, 1, &tool, 0.05, 0, &disjoint, &feature), 0);
    HM_MODL_delete_list(&disjoint);
    ASSERT_EQ(UNDO_KW_undo_to_mark(mark), 0);
    UNDO_KW_delete_mark(mark);
    EXPECT_EQ(HM_OBJ_ask_status(feature), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(tool), HM_OBJ_ALIVE);
    EXPECT_EQ(face_count(target), 1);
    EXPECT_NEAR(host_testing::surface_area(target), 100, 1e-9);
}

/* ---- bounded planes ---- */

class BoundedPlaneTest : public HostTest {};

TEST_F(BoundedPlaneTest, ClosedPlanarStringBoundsASheet) {
    // A square given in mixed order and directions still closes.
    std::vector<tag_t> curves = {new_line(0, 0, 5, 10, 0, 5), new_line(10, 10, 5, 0, 10, 5),
                                 new_line(10, 10, 5, 10, 0, 5), new_line(0, 0, 5, 0, 10, 5)};
    Strings boundary({curves}, {1});
    const double tolerances[2] = {0.01, 0.5};
    tag_t body = 0;
    ASSERT_EQ(HM_MODL_create_bplane(&boundary.list, tolerances, &body), 0);
    EXPECT_EQ(face_count(body), 1);
    EXPECT_NEAR(host_testing::surface_area(body), 100, 1e-9);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(body, box), 0);
    EXPECT_NEAR(box[2], 5, 1e-9);
    EXPECT_NEAR(box[5], 5, 1e-9);

    // A circle alone bounds a disc.
    const double centre[3] = {0, 0, 0};
    Strings disc({{circle(centre, 2)}}, {1});
    ASSERT_EQ(HM_MODL_create_bplane(&disc.list, tolerances, &body), 0);
    EXPECT_NEAR(host_testing::surface_area(body), M_PI * 4, 1e-6);
}

TEST_F(BoundedPlaneTest, OpenOrTwistedStringsMakeNothing) {
    const double tolerances[2] = {0.01, 0.5};
    struct Case {
        const char* what;
        std::vector<tag_t> curves;
    } cases[] = {
        {"open", {new_line(0, 0, 0, 10, 0, 0), new_line(10, 0, 0, 10, 10, 0)}},
        {"not planar",
         {new_line(0, 0, 0, 10, 0, 0), new_line(10, 0, 0, 10, 10, 3), new_line(10, 10, 3, 0, 10, 0),
          new_line(0, 10, 0, 0, 0, 0)}},
        {"gap beyond tolerance",
         {new_line(0, 0, 0, 10, 0, 0), new_line(10, 0, 0, 10, 10, 0), new_line(10, 10, 0, 0, 0.5, 0)}},
    };
    for (const Case& c : cases) {
        const int before = host_testing::count_objects();
        Strings boundary({c.curves}, {1});
        tag_t body = 0;
        EXPECT_EQ(HM_MODL_create_bplane(&boundary.list, tolerances, &body), HM_ERR_GEOMETRY) << c.what;
        EXPECT_EQ(host_testing::count_objects(), before) << c.what;
    }
}

/* ---- sheets on a sphere ---- */

class SpherePatchTest : public HostTest {
protected:
    // n points of the small circle at angular radius alpha about the axis
    // point of the sphere R about c (axis +x), the first repeated last;
    // reversed for clockwise = true.
    static std::vector<double> small_circle(const double c[3], double r, double alpha, int n, bool clockwise) {
        std::vector<double> row;
        for (int i = 0; i <= n; ++i) {
            const double t = 2.0 * M_PI * (clockwise ? n - i : i) / n;
            row.insert(row.end(), {c[0] + r * std::cos(alpha), c[1] + r * std::sin(alpha) * std::cos(t),
                                   c[2] + r * std::sin(alpha) * std::sin(t)});
        }
        return row;
    }
};

TEST_F(SpherePatchTest, ASmallCircleBoundsItsCapWhicheverWayItRuns) {
    // Cap of angular radius 0.1 on R 1400: area 2 pi R^2 (1 - cos 0.1).
    const double centre[3] = {-750, -1000, 1000}, axis[3] = {1, 0, 0};
    const double radius = 1400.0, alpha = 0.1;
    const double cap = 2.0 * M_PI * radius * radius * (1.0 - std::cos(alpha));
    for (bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "anticlockwise");
        const std::vector<double> row = small_circle(centre, radius, alpha, 64, clockwise);
        const int breaks[2] = {0, 64};
        tag_t sheet = 0;
        ASSERT_EQ(HM_MODL_create_sphere_patch(centre, radius, axis, 65, row.data(), 2, breaks, &sheet), 0);
        EXPECT_EQ(face_count(sheet), 1);
        EXPECT_NEAR(host_testing::surface_area(sheet), cap, 1e-5 * cap);
        // The cap's top is the axis point.
        double box[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(sheet, box), 0);
        EXPECT_NEAR(box[3], centre[0] + radius, 1e-6);
        EXPECT_NEAR(box[0], centre[0] + radius * std::cos(alpha), 1e-3);
    }
}

TEST_F(SpherePatchTest, PointsOffTheSphereAreBroughtOntoItAlongTheirRays) {
    // The same circle 10 % further out, the row left open: one line closes it.
    const double centre[3] = {0, 0, 0}, axis[3] = {1, 0, 0};
    const double radius = 1000.0, alpha = 0.2;
    std::vector<double> row = small_circle(centre, 1.1 * radius, alpha, 128, false);
    row.resize(row.size() - 3);
    const int breaks[2] = {0, 127};
    tag_t sheet = 0;
    ASSERT_EQ(HM_MODL_create_sphere_patch(centre, radius, axis, 128, row.data(), 2, breaks, &sheet), 0);
    const double cap = 2.0 * M_PI * radius * radius * (1.0 - std::cos(alpha));
    EXPECT_NEAR(host_testing::surface_area(sheet), cap, 1e-4 * cap);
}

TEST_F(SpherePatchTest, CornersAsBreaksGiveOneEdgeAPiece) {
    // Four corners, each piece a line between two: a face of four edges.
    const double centre[3] = {0, 0, 0}, axis[3] = {0, 0, 1};
    const double row[5][3] = {{-50, -30, 990}, {50, -30, 990}, {50, 30, 990}, {-50, 30, 990}, {-50, -30, 990}};
    const int breaks[5] = {0, 1, 2, 3, 4};
    tag_t sheet = 0;
    ASSERT_EQ(HM_MODL_create_sphere_patch(centre, 1000.0, axis, 5, &row[0][0], 5, breaks, &sheet), 0);
    hm_list_p_t faces = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(sheet, &faces), 0);
    tag_t face = 0;
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    hm_list_p_t edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_face_edges(face, &edges), 0);
    int n = 0;
    HM_MODL_ask_list_count(edges, &n);
    HM_MODL_delete_list(&edges);
    EXPECT_EQ(n, 4);
    // Near R^2 times the solid angle of the 100 x 60 rectangle 990 from the
    // centre: 4 atan(a b / (4 d sqrt(d^2 + a^2 / 4 + b^2 / 4))).
    const double a = 100, b = 60, d = 990;
    const double solid = 4.0 * std::atan(a * b / (4.0 * d * std::sqrt(d * d + a * a / 4 + b * b / 4)));
    EXPECT_NEAR(host_testing::surface_area(sheet), 1e6 * solid, 0.002 * 1e6 * solid);
}

TEST_F(SpherePatchTest, BadRowsMakeNothing) {
    const double centre[3] = {0, 0, 0}, axis[3] = {0, 0, 1}, nan = std::nan("");
    const double square[5][3] = {{-5, -5, 99}, {5, -5, 99}, {5, 5, 99}, {-5, 5, 99}, {-5, -5, 99}};
    const double line[4][3] = {{-5, 0, 99}, {0, 0, 99}, {5, 0, 99}, {-5, 0, 99}};
    const double hole[4][3] = {{0, 0, 0}, {5, -5, 99}, {5, 5, 99}, {0, 0, 0}};
    const double bad[4][3] = {{-5, -5, 99}, {5, -5, nan}, {5, 5, 99}, {-5, -5, 99}};
    const int four[5] = {0, 1, 2, 3, 4}, backwards[3] = {0, 2, 1}, ends3[2] = {0, 3};
    struct Case {
        const char* what;
        double radius;
        int n;
        const double* points;
        int break_count;
        const int* breaks;
        int code;
    } cases[] = {
        {"two points", 100, 2, &square[0][0], 2, ends3, HM_ERR_BAD_ARGUMENT},
        {"breaks out of order", 100, 3, &square[0][0], 3, backwards, HM_ERR_BAD_ARGUMENT},
        {"last break short of the last point", 100, 5, &square[0][0], 4, four, HM_ERR_BAD_ARGUMENT},
        {"radius 0", 0, 5, &square[0][0], 5, four, HM_ERR_BAD_ARGUMENT},
        {"a point that is not a number", 100, 4, &bad[0][0], 2, ends3, HM_ERR_BAD_ARGUMENT},
        {"a point on the centre", 100, 4, &hole[0][0], 2, ends3, HM_ERR_BAD_ARGUMENT},
        {"points on one line", 100, 4, &line[0][0], 2, ends3, HM_ERR_GEOMETRY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = host_testing::count_objects();
        tag_t sheet = 0;
        EXPECT_EQ(HM_MODL_create_sphere_patch(centre, c.radius, axis, c.n, c.points, c.break_count, c.breaks, &sheet),
                  c.code);
        EXPECT_EQ(sheet, 0u);
        EXPECT_EQ(host_testing::count_objects(), before);
    }
    tag_t sheet = 0;
    EXPECT_EQ(HM_MODL_create_sphere_patch(centre, 100, axis, 5, nullptr, 5, four, &sheet), HM_ERR_NULL_POINTER);
}

/* ---- ruled sheets ---- */

class RuledTest : public HostTest {};

TEST_F(RuledTest, PointAndCircleMakeACone) {
    const double centre[3] = {0, 0, 0};
    tag_t apex = new_point(0, 0, 4);
    tag_t base = circle(centre, 3);
    for (int alignment : {1, 2}) {
        tag_t sheet = 0;
        ASSERT_EQ(ruled({apex}, {base}, 1, alignment, &sheet), 0) << alignment;
        // Lateral area of a cone: pi r s, with the slant s = 5. Alignment by
        // arc length approximates the circle within a thousandth of the
        // modelling tolerance.
        EXPECT_NEAR(host_testing::surface_area(sheet), M_PI * 3 * 5, 1e-4) << alignment;
        double box[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(sheet, box), 0);
        EXPECT_NEAR(box[5], 4, 1e-5);
        EXPECT_NEAR(box[0], -3, 1e-5);
        int type = 0;
        ASSERT_EQ(GQ_BODY_ask_type(sheet, &type), 0);
        EXPECT_EQ(type, GQ_BODY_type_solid);
    }
}

TEST_F(RuledTest, DirectionOfTheSecondStringDecidesTheRulings) {
    tag_t a = new_line(0, 0, 0, 10, 0, 0);
    tag_t b = new_line(0, 10, 0, 10, 10, 0);
    tag_t sheet = 0;
    ASSERT_EQ(ruled({a}, {b}, 1, 1, &sheet), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 100, 1e-6);
    // Reversed, the rulings cross: a flat bow tie of two triangles (the
    // area's integrand has a kink where they cross, hence the loose check).
    ASSERT_EQ(ruled({a}, {b}, -1, 1, &sheet), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 50, 1.0);
}

TEST_F(RuledTest, StringsOfSeveralCurvesAreJoined) {
    // An L of lengths 10 and 5, and the same L raised by 4, its pieces given
    // in reverse order and direction.
    tag_t a1 = new_line(0, 0, 0, 10, 0, 0), a2 = new_line(10, 0, 0, 10, 5, 0);
    tag_t b1 = new_line(10, 5, 4, 10, 0, 4), b2 = new_line(10, 0, 4, 0, 0, 4);
    for (int alignment : {1, 2}) {
        tag_t sheet = 0;
        ASSERT_EQ(ruled({a1, a2}, {b2, b1}, 1, alignment, &sheet), 0) << alignment;
        EXPECT_NEAR(host_testing::surface_area(sheet), 15 * 4, 1e-3) << alignment;
    }
}

TEST_F(RuledTest, FineSplinesAlignedByArcLengthMakeTheCylinder) {
    // Two circles of radius 50, 10 apart, each a periodic spline through
    // 3000 points (as an analysis hands over the outline of a fine polygon's
    // offset). Aligned by arc length the rulings run straight up: the
    // sheet's mid height holds the circle of radius 50 (twisted rulings
    // would pull it inwards). A curve of that many spans must not take the
    // aligning step minutes.
    const int n = 3000;
    std::vector<host_testing::Point3> low, high;
    for (int i = 0; i < n; ++i) {
        const double u = 2 * M_PI * i / n;
        low.push_back({50 * std::cos(u), 50 * std::sin(u), 0});
        high.push_back({50 * std::cos(u), 50 * std::sin(u), 10});
    }
    const tag_t a = host_testing::make_spline(low, 3, true), b = host_testing::make_spline(high, 3, true);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    tag_t sheet = 0;
    ASSERT_EQ(ruled({a}, {b}, 1, 2, &sheet), 0);
    for (double angle : {0.3, 1.0, 2.5, 4.0, 5.9}) {
        const tag_t p = new_point(50 * std::cos(angle), 50 * std::sin(angle), 5);
        double d = 1e9, on_sheet[3], on_point[3];
        ASSERT_EQ(HM_MODL_ask_minimum_dist(sheet, p, 0, nullptr, 0, nullptr, &d, on_sheet, on_point), 0);
        EXPECT_NEAR(d, 0.0, 1e-3) << angle;
    }
}

TEST_F(RuledTest, RefusesOtherAlignmentsSpinesAndTwoPoints) {
    tag_t a = new_line(0, 0, 0, 10, 0, 0);
    tag_t p = new_point(0, 0, 5), q = new_point(1, 0, 5);
    tag_t sheet = 0;
    EXPECT_EQ(ruled({a}, {a}, 1, 3, &sheet), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(ruled({p}, {q}, 1, 1, &sheet), HM_ERR_BAD_ARGUMENT);
    Strings sections({{p}, {a}}, {1, 1});
    Strings spine({{a}}, {1});
    double scratch[6] = {0};
    EXPECT_EQ(HM_MODL_create_ruled1(&sections.list, &spine.list, 1, scratch, 0, 0, 0, 0, nullptr, &sheet),
              HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), 0);
}

/* ---- spheres and scaling ---- */

class ScaleTest : public HostTest {
protected:
    tag_t sphere(const double centre[3], const char* diameter) {
        tag_t feature = 0;
        EXPECT_EQ(HM_MODL_create_sphere(HM_NULLSIGN, centre, diameter, &feature), 0);
        EXPECT_EQ(kind_of(feature), "SPHERE");
        return body_of(feature);
    }
};

TEST_F(ScaleTest, SphereFromDiameterText) {
    const double centre[3] = {1, 2, 3};
    tag_t body = sphere(centre, "  2.500000");
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(body, box), 0);
    EXPECT_NEAR(box[0], -0.25, 1e-6);
    EXPECT_NEAR(box[5], 4.25, 1e-6);
    tag_t feature = 0;
    for (const char* bad : {"", "abc", "-1", "0", "1.0x"})
        EXPECT_EQ(HM_MODL_create_sphere(HM_NULLSIGN, centre, bad, &feature), HM_ERR_BAD_ARGUMENT) << bad;
    EXPECT_EQ(HM_MODL_create_sphere(1, centre, "1", &feature), HM_ERR_BAD_ARGUMENT);
}

TEST_F(ScaleTest, GeneralScaleOfAUnitSphereInATurnedSystemIsAnEllipsoid) {
    const double centre[3] = {10, 20, 30};
    tag_t body = sphere(centre, "1.0");
    tag_t csys = turned_csys(centre, 30);
    const char* factors[3] = {"20.000000", "10.000000", "4.000000"};
    int n = 0;
    tag_t* features = nullptr;
    ASSERT_EQ(HM_MODL_create_scale(2, 1, &body, csys, factors, &n, &features), 0);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(kind_of(features[0]), "SCALE");
    EXPECT_EQ(body_of(features[0]), body) << "scaled in place";
    HM_free(features);

    double corner[3], dirs[3][3], extent[3];
    ASSERT_EQ(HM_MODL_ask_bounding_box_aligned(body, csys, false, corner, dirs, extent), 0);
    EXPECT_NEAR(extent[0], 20, 1e-4);
    EXPECT_NEAR(extent[1], 10, 1e-4);
    EXPECT_NEAR(extent[2], 4, 1e-4);
    // Semi-axes 10 and 5 at 30 degrees: the absolute half widths.
    const double a = 30 * M_PI / 180;
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(body, box), 0);
    EXPECT_NEAR(box[3] - centre[0], std::hypot(10 * std::cos(a), 5 * std::sin(a)), 1e-4);
    EXPECT_NEAR(box[4] - centre[1], std::hypot(10 * std::sin(a), 5 * std::cos(a)), 1e-4);
    EXPECT_NEAR(box[5] - centre[2], 2, 1e-4);
    EXPECT_NEAR(host_testing::volume(body), 4.0 / 3.0 * M_PI * 10 * 5 * 2, 1e-2);
}

TEST_F(ScaleTest, UniformScaleAboutTheSystemOriginKeepsTheFaceTags) {
    const double centre[3] = {2, 0, 0};
    tag_t body = sphere(centre, "2");
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(body, &list), 0);
    const std::vector<tag_t> faces = list_items(list);
    HM_MODL_delete_list(&list);
    const char* factors[3] = {"3", nullptr, nullptr};
    int n = 0;
    tag_t* features = nullptr;
    ASSERT_EQ(HM_MODL_create_scale(1, 1, &body, 0, factors, &n, &features), 0);
    HM_free(features);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(body, box), 0);
    EXPECT_NEAR(box[0], 3, 1e-6);
    EXPECT_NEAR(box[3], 9, 1e-6);
    EXPECT_NEAR(host_testing::volume(body), 4.0 / 3.0 * M_PI * 27, 1e-6);
    ASSERT_EQ(HM_MODL_ask_body_faces(body, &list), 0);
    EXPECT_EQ(list_items(list), faces);
    HM_MODL_delete_list(&list);
    ASSERT_EQ(HM_MODL_ask_bounding_box(faces[0], box), 0);
    EXPECT_NEAR(box[3], 9, 1e-6) << "the face is the scaled one";
}

TEST_F(ScaleTest, BadFactorsChangeNothing) {
    const double centre[3] = {0, 0, 0};
    tag_t body = sphere(centre, "2");
    const char* factors[3] = {"2", "0", "1"};
    int n = 0;
    tag_t* features = nullptr;
    EXPECT_EQ(HM_MODL_create_scale(2, 1, &body, 0, factors, &n, &features), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_MODL_create_scale(3, 1, &body, 0, factors, &n, &features), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(features, nullptr);
    EXPECT_NEAR(host_testing::volume(body), 4.0 / 3.0 * M_PI, 1e-6);
    ExpectNoLeaks();
}

/* ---- sections of bodies ---- */

class SectionTest : public HostTest {};

TEST_F(SectionTest, SphereCutByASheetThroughItsCentreGivesAGreatCircle) {
    const double centre[3] = {0, 0, 0}, corner[3] = {-10, -10, 0}, u[3] = {20, 0, 0}, v[3] = {0, 20, 0};
    tag_t sphere = host_testing::make_sphere(centre, 8);
    tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    int n = 0;
    tag_t* wires = nullptr;
    ASSERT_EQ(HM_MODL_intersect_bodies(sphere, sheet, &n, &wires), 0);
    ASSERT_EQ(n, 1);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(wires[0], box), 0);
    EXPECT_NEAR(box[0], -4, 1e-6);
    EXPECT_NEAR(box[4], 4, 1e-6);
    EXPECT_NEAR(box[2], 0, 1e-6);
    EXPECT_NEAR(box[5], 0, 1e-6);
    HM_free(wires);

    // Bodies that do not meet: no section.
    const double far[3] = {100, 0, 0};
    tag_t other = host_testing::make_sphere(far, 2);
    ASSERT_EQ(HM_MODL_intersect_bodies(sphere, other, &n, &wires), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(wires, nullptr);
    ExpectNoLeaks();
}

}  // namespace
