// The 2003 release's list and curve exports: insertion into a host list, a
// host list restored from a rule list, chains of curves meeting end to end,
// and the projection of a point along a vector by the projected-curve
// feature, on triangles, polylines, planes and boxes whose answers are known.
#include "hm_vd_curve.h"
#include "release2003/lists.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "omvra.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using host_testing::make_line;
using host_testing::Point3;
using support::list_items;
using support::make_list;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

class Release2003ListTest : public HostTest {
protected:
    size_t invalid_index_lines() const {
        size_t n = 0;
        for (const std::string& line : host_testing::syslog()) n += line.find(" invalid index") != std::string::npos;
        return n;
    }
};

TEST_F(Release2003ListTest, InsertPutsTheItemBeforeTheIndexOrRefusesAPlaceOutsideTheList) {
    struct Case {
        const char* what;
        std::vector<tag_t> list;   // empty: a null list
        int index;
        int result;
        std::vector<tag_t> after;
        bool logged;
    };
    const Case cases[] = {
        {"index 0 into an empty list", {}, 0, 0, {7}, false},
        {"index 0 puts it first", {1, 2}, 0, 0, {7, 1, 2}, false},
        {"index 1 before the second", {1, 2}, 1, 0, {1, 7, 2}, false},
        {"index 2 of a list of 2", {1, 2}, 2, -1, {1, 2}, true},
        {"index 3 of a list of 2", {1, 2}, 3, -1, {1, 2}, true},
        {"index 1 into an empty list", {}, 1, -1, {}, true},
        {"a negative index", {1, 2}, -1, -1, {1, 2}, false},
        {"a very negative index", {1, 2}, -2147483647, -1, {1, 2}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hm_list_p_t list = c.list.empty() ? nullptr : make_list(c.list);
        const size_t blocks = host_testing::live_allocations();
        const size_t logged = invalid_index_lines();
        EXPECT_EQ(HM_VD_insert_list_item(&list, c.index, 7), c.result);
        EXPECT_EQ(list_items(list), c.after);
        EXPECT_EQ(invalid_index_lines(), logged + (c.logged ? 1 : 0));
        // One node more when inserted; not a block more when refused.
        EXPECT_EQ(host_testing::live_allocations(), blocks + (c.result == 0 ? (c.list.empty() ? 2 : 1) : 0));
        HM_MODL_delete_list(&list);
    }
    EXPECT_EQ(HM_VD_insert_list_item(nullptr, 0, 7), -1);
}

TEST_F(Release2003ListTest, RestoredListHoldsTheObjectsOfTagsAndInstancesInOrder) {
    const tag_t a = make_line({0, 0, 0}, {1, 0, 0});
    const tag_t b = make_line({0, 0, 0}, {0, 1, 0});
    const tag_t seat = make_line({0, 0, 0}, {0, 0, 1});
    const tag_t with_object = host_testing::make_rule_instance("root:", "SEAT", "kw_seat");
    ASSERT_NE(with_object, NULL_TAG);
    ASSERT_EQ(host_testing::add_instance_object("root:SEAT:", seat), 0);
    const tag_t without_object = host_testing::make_rule_instance("root:", "EMPTY", "kw_seat");
    ASSERT_NE(without_object, NULL_TAG);
    const std::string text = "{ Object(" + std::to_string(a) + "), 5, Instance(" + std::to_string(with_object) +
                             "), Object(0), \"text\", Instance(" + std::to_string(without_object) + "), Object(" +
                             std::to_string(b) + ") }";
    ASSERT_EQ(host_testing::set_rule("root:picked:", text.c_str()), 0);
    ASSERT_EQ(host_testing::set_rule("root:none:", "{ }"), 0);
    ASSERT_EQ(host_testing::set_rule("root:single:", ("Object(" + std::to_string(a) + ")").c_str()), 0);
    HM_RQ_value_t picked = 0, none = 0, single = 0;
    ASSERT_EQ(HM_RQ_evaluate_rule("root:picked:", &picked), 0);
    ASSERT_EQ(HM_RQ_evaluate_rule("root:none:", &none), 0);
    ASSERT_EQ(HM_RQ_evaluate_rule("root:single:", &single), 0);

    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_VD_restore_list(picked, &list), 0);
    EXPECT_EQ(list_items(list), (std::vector<tag_t>{a, seat, b}));
    HM_MODL_delete_list(&list);
    ASSERT_EQ(HM_VD_restore_list(none, &list), 0);
    EXPECT_TRUE(list_items(list).empty());
    HM_MODL_delete_list(&list);

    hm_list_p_t old = make_list({a});
    const size_t blocks = host_testing::live_allocations();
    for (HM_RQ_value_t refused : {single, HM_RQ_value_t{0}}) {
        SCOPED_TRACE(refused);
        list = old;   // overwritten, not deleted
        EXPECT_EQ(HM_VD_restore_list(refused, &list), -1);
        EXPECT_EQ(list, nullptr);
    }
    EXPECT_EQ(HM_VD_restore_list(picked, nullptr), -1);
    EXPECT_EQ(host_testing::live_allocations(), blocks);
    HM_MODL_delete_list(&old);
}

// Curves of a small drawing in the xy plane, 100 units a side.
class Release2003ChainTest : public Release2003ListTest {
protected:
    struct Chain {
        int result = 0;
        int state = -9;
        std::vector<tag_t> curves;
    };
    Chain chain_of(tag_t curve, bool from_start, const std::vector<tag_t>& all, double tolerance = 0.01) {
        hm_list_p_t list = make_list(all);
        Chain c;
        hm_list_p_t chain = nullptr;
        c.result = HM_VD_CURVE_ask_chain_of_curve(curve, from_start, tolerance, list, &c.state, &chain);
        c.curves = list_items(chain);
        HM_MODL_delete_list(&chain);
        HM_MODL_delete_list(&list);
        return c;
    }
    int closed_chain(const std::vector<tag_t>& all, bool* closed, double tolerance = 0.01) {
        hm_list_p_t list = make_list(all);
        const int result = HM_VD_CURVE_is_closed_chain(list, tolerance, closed);
        HM_MODL_delete_list(&list);
        return result;
    }
};

TEST_F(Release2003ChainTest, ChainsOfATriangleATAndAnOpenPolyline) {
    // A triangle with its second side drawn backwards.
    const tag_t t1 = make_line({0, 0, 0}, {100, 0, 0});
    const tag_t t2 = make_line({0, 100, 0}, {100, 0, 0});
    const tag_t t3 = make_line({0, 100, 0}, {0, 0, 0});
    // A T: two lines on from the end of the first.
    const tag_t stem = make_line({0, 0, 50}, {100, 0, 50});
    const tag_t bar1 = make_line({100, 0, 50}, {200, 0, 50});
    const tag_t bar2 = make_line({100, 0, 50}, {100, 100, 50});
    // A polyline of three, listed out of order.
    const tag_t p1 = make_line({0, 0, 90}, {100, 0, 90});
    const tag_t p2 = make_line({100, 0, 90}, {100, 100, 90});
    const tag_t p3 = make_line({200, 100, 90}, {100, 100, 90});
    const tag_t circle = host_testing::make_arc({500, 0, 0}, 20, 0, 2 * M_PI);
    const tag_t spoke = make_line({520, 0, 0}, {600, 0, 0});
    struct Case {
        const char* what;
        tag_t curve;
        bool from_start;
        std::vector<tag_t> list;
        int state;
        std::vector<tag_t> chain;
    };
    const Case cases[] = {
        {"triangle, forward", t1, true, {t3, t1, t2}, 0, {t1, t2, t3}},
        {"triangle, backward", t1, false, {t1, t2, t3}, 0, {t1, t3, t2}},
        {"triangle, the list's first curve", NULL_TAG, true, {t2, t3, t1}, 0, {t2, t1, t3}},
        {"T from the stem", stem, true, {stem, bar1, bar2}, 2, {stem}},
        {"T from a bar", bar1, true, {stem, bar1, bar2}, 2, {bar1}},
        {"polyline from its middle", p2, true, {p3, p1, p2}, 1, {p1, p2, p3}},
        {"polyline from its middle, backward", p2, false, {p3, p1, p2}, 1, {p3, p2, p1}},
        {"polyline from an end", p1, true, {p3, p1, p2}, 1, {p1, p2, p3}},
        {"a closed curve", circle, true, {circle, spoke}, 0, {circle}},
        {"up to a closed curve", spoke, false, {circle, spoke}, 2, {spoke}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Chain got = chain_of(c.curve, c.from_start, c.list);
        EXPECT_EQ(got.result, 0);
        EXPECT_EQ(got.state, c.state);
        EXPECT_EQ(got.curves, c.chain);
    }
}

TEST_F(Release2003ChainTest, AWalkThatComesBackToItsCurvesEndsWithEachCurveOnce) {
    // The closing corner is off by half the part's distance tolerance: the
    // curves meet there, but not within the walk's own, finer tolerance.
    double tolerance = 0.0;
    ASSERT_EQ(HM_MODL_ask_distance_tolerance(&tolerance), 0);
    const double gap = tolerance / 2;
    const tag_t t1 = make_line({gap, 0, 0}, {100, 0, 0});
    const tag_t t2 = make_line({100, 0, 0}, {0, 100, 0});
    const tag_t t3 = make_line({0, 100, 0}, {0, 0, 0});
    const Chain got = chain_of(t1, true, {t1, t2, t3}, tolerance / 100);
    EXPECT_EQ(got.result, 0);
    EXPECT_EQ(got.state, 0);
    EXPECT_EQ(got.curves, (std::vector<tag_t>{t1, t2, t3}));
}

TEST_F(Release2003ChainTest, ChainRefusesBadInputWithNoChain) {
    const tag_t line = make_line({0, 0, 0}, {1, 0, 0});
    hm_list_p_t list = make_list({line});
    hm_list_p_t empty = make_list({});
    struct Case {
        const char* what;
        tag_t curve;
        hm_list_p_t list;
        double tolerance;
    };
    const Case cases[] = {
        {"no list", line, nullptr, 0.01},
        {"no curve and an empty list", NULL_TAG, empty, 0.01},
        {"a tolerance not a number", line, list, kNaN},
        {"a negative tolerance", line, list, -1.0},
        {"not a curve", host_testing::make_point({0, 0, 0}), list, 0.01},
    };
    const size_t blocks = host_testing::live_allocations();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int state = 9;
        hm_list_p_t chain = list;   // an old value, overwritten
        EXPECT_EQ(HM_VD_CURVE_ask_chain_of_curve(c.curve, true, c.tolerance, c.list, &state, &chain), -1);
        EXPECT_EQ(state, 0);
        EXPECT_EQ(chain, nullptr);
    }
    hm_list_p_t chain = nullptr;
    EXPECT_EQ(HM_VD_CURVE_ask_chain_of_curve(line, true, 0.01, list, nullptr, &chain), -1);
    EXPECT_EQ(chain, nullptr);
    EXPECT_EQ(host_testing::live_allocations(), blocks);
    HM_MODL_delete_list(&list);
    HM_MODL_delete_list(&empty);
}

TEST_F(Release2003ChainTest, ClosedChainComparesTheEndsOfOpenMembers) {
    const tag_t t1 = make_line({0, 0, 0}, {100, 0, 0});
    const tag_t t2 = make_line({0, 100, 0}, {100, 0, 0});
    const tag_t t3 = make_line({0, 100, 0}, {0, 0, 0});
    const tag_t open3 = make_line({0, 100, 0}, {0, 1, 0});   // stops 1 short of the start
    const tag_t circle = host_testing::make_arc({500, 0, 0}, 20, 0, 2 * M_PI);
    struct Case {
        const char* what;
        std::vector<tag_t> curves;
        bool closed;
    };
    const Case cases[] = {
        {"a triangle of lines", {t1, t2, t3}, true},
        {"the triangle listed otherwise", {t3, t1, t2}, true},
        {"an open polyline", {t1, t2}, false},
        {"a triangle with a gap", {t1, t2, open3}, false},
        {"one closed curve", {circle}, true},
        {"one line", {t1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool closed = !c.closed;
        EXPECT_EQ(closed_chain(c.curves, &closed), 0);
        EXPECT_EQ(closed, c.closed);
    }
    // The gap of 1 counts as closed under a tolerance above it.
    bool closed = false;
    EXPECT_EQ(closed_chain({t1, t2, open3}, &closed, 1.5), 0);
    EXPECT_TRUE(closed);

    struct Bad {
        const char* what;
        std::vector<tag_t> curves;   // empty: a null list
        double tolerance;
    };
    const Bad bad[] = {
        {"no list", {}, 0.01},
        {"a point among the curves", {t1, host_testing::make_point({0, 0, 0})}, 0.01},
        {"a null first item", {NULL_TAG, t1}, 0.01},
        {"a tolerance not a number", {t1, t2, t3}, kNaN},
    };
    for (const Bad& c : bad) {
        SCOPED_TRACE(c.what);
        bool got = true;
        hm_list_p_t list = c.curves.empty() ? nullptr : make_list(c.curves);
        EXPECT_EQ(HM_VD_CURVE_is_closed_chain(list, c.tolerance, &got), -1);
        EXPECT_FALSE(got);
        HM_MODL_delete_list(&list);
    }
    hm_list_p_t list = make_list({t1});
    EXPECT_EQ(HM_VD_CURVE_is_closed_chain(list, 0.01, nullptr), -1);
    HM_MODL_delete_list(&list);
}

TEST_F(Release2003ChainTest, NeighboursAndEndsOfACurveAtAPoint) {
    // Three lines from the origin and one far away.
    const tag_t x = make_line({0, 0, 0}, {100, 0, 0});
    const tag_t y = make_line({0, 100, 0}, {0, 0, 0});
    const tag_t z = make_line({0, 0, 0}, {0, 0, 100});
    const tag_t far = make_line({500, 0, 0}, {600, 0, 0});
    hm_list_p_t list = make_list({x, y, z, far});
    double tolerance = 0.0;
    ASSERT_EQ(HM_MODL_ask_distance_tolerance(&tolerance), 0);
    struct Case {
        const char* what;
        tag_t curve;
        Point3 point;
        std::vector<tag_t> adjacent;
    };
    const Case cases[] = {
        {"at the origin", x, {0, 0, 0}, {y, z}},
        {"at the origin, within the tolerance", z, {tolerance / 2, 0, 0}, {x, y}},
        {"beside the origin, beyond the tolerance", z, {tolerance * 2, 0, 0}, {}},
        {"at the end of x", x, {100, 0, 0}, {}},
        {"at the start of far, from another curve", x, {500, 0, 0}, {far}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hm_list_p_t adjacent = list;   // an old value, overwritten
        HM_VD_CURVE_ask_adjecent_curves_on_point(c.curve, c.point.data(), list, &adjacent);
        if (c.adjacent.empty()) {
            EXPECT_EQ(adjacent, nullptr);
        } else {
            EXPECT_EQ(list_items(adjacent), c.adjacent);
        }
        if (adjacent != list) HM_MODL_delete_list(&adjacent);
    }
    const double origin[3] = {0, 0, 0};
    hm_list_p_t adjacent = list;
    HM_VD_CURVE_ask_adjecent_curves_on_point(x, origin, nullptr, &adjacent);
    EXPECT_EQ(adjacent, nullptr);
    adjacent = list;
    HM_VD_CURVE_ask_adjecent_curves_on_point(x, nullptr, list, &adjacent);
    EXPECT_EQ(adjacent, nullptr);
    HM_MODL_delete_list(&list);

    const tag_t circle = host_testing::make_arc({0, 0, 0}, 20, 0, 2 * M_PI);
    const double start[3] = {0, 0, 0}, end[3] = {100, 0, 0}, middle[3] = {50, 0, 0}, nan[3] = {kNaN, 0, 0};
    const double on_circle[3] = {20, 0, 0};
    EXPECT_EQ(HM_VD_CURVE_is_end_point(x, start), 0);
    EXPECT_EQ(HM_VD_CURVE_is_end_point(x, end), 1);
    EXPECT_EQ(HM_VD_CURVE_is_end_point(x, middle), 0);
    EXPECT_EQ(HM_VD_CURVE_is_end_point(circle, on_circle), -1);
    EXPECT_EQ(HM_VD_CURVE_is_end_point(NULL_TAG, start), -1);
    EXPECT_EQ(HM_VD_CURVE_is_end_point(x, nullptr), -1);
    EXPECT_EQ(HM_VD_CURVE_is_end_point(x, nan), -1);
}

// The projection along a vector: the nearest point where the line through
// the point meets the target, and nothing left in the part.
class Release2003ProjectionTest : public HostTest {};

TEST_F(Release2003ProjectionTest, PointLandsWhereItsLineMeetsPlanesSheetsAndBodies) {
    const tag_t plane = host_testing::make_plane({0, 0, 100}, {0, 0, 1});
    const double corner[3] = {0, 0, 50}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    const double box_corner[3] = {0, 0, 10}, size[3] = {50, 50, 50};
    const tag_t box = host_testing::make_box(box_corner, size);
    tag_t datum_feature = NULL_TAG;
    const tag_t datum = host_testing::make_datum_plane({0, 0, -30}, {0, 0, 1}, &datum_feature);
    struct Case {
        const char* what;
        tag_t target;
        Point3 point, direction, hit;
    };
    const Case cases[] = {
        {"a plane ahead", plane, {10, 20, 0}, {0, 0, 1}, {10, 20, 100}},
        {"a plane behind", plane, {10, 20, 0}, {0, 0, -1}, {10, 20, 100}},
        {"a plane at 45 degrees", plane, {0, 0, 0}, {1, 0, 1}, {100, 0, 100}},
        {"a datum plane", datum, {5, 5, 0}, {0, 0, 3}, {5, 5, -30}},
        {"a sheet", sheet, {10, 20, 0}, {0, 0, 2}, {10, 20, 50}},
        {"a box: its near face", box, {10, 10, 0}, {0, 0, 1}, {10, 10, 10}},
        {"a box from above: its top", box, {10, 10, 200}, {0, 0, 1}, {10, 10, 60}},
    };
    const int objects = host_testing::count_objects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double out[3] = {0, 0, 0};
        ASSERT_EQ(HM_VD_CURVE_project_point_along_vector(c.point.data(), c.direction.data(), c.target, out), 0);
        support::expect_point(out, c.hit, 1e-6);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
}

TEST_F(Release2003ProjectionTest, MissesAndBadInputLeaveNothingAndTheOutputAlone) {
    const tag_t plane = host_testing::make_plane({0, 0, 100}, {0, 0, 1});
    const double corner[3] = {0, 0, 50}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    const tag_t line = make_line({0, 0, 0}, {1, 0, 0});
    const double p[3] = {10, 20, 0}, up[3] = {0, 0, 1}, nan[3] = {kNaN, 0, 0}, zero[3] = {0, 0, 0};
    const double beside[3] = {500, 500, 0}, along_x[3] = {1, 0, 0};
    struct Case {
        const char* what;
        const double* point;
        const double* direction;
        tag_t target;
        int result;
    };
    const Case cases[] = {
        {"beside the sheet", beside, up, sheet, -1},
        {"parallel to the plane", p, along_x, plane, -1},
        {"a line as the target", p, up, line, HM_ERR_WRONG_TYPE},
        {"no point", nullptr, up, plane, HM_ERR_NULL_POINTER},
        {"no direction", p, nullptr, plane, HM_ERR_NULL_POINTER},
        {"a coordinate not a number", nan, up, plane, HM_ERR_BAD_ARGUMENT},
        {"a direction of length 0", p, zero, plane, HM_ERR_BAD_ARGUMENT},
    };
    const int objects = host_testing::count_objects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double out[3] = {7, 7, 7};
        EXPECT_EQ(HM_VD_CURVE_project_point_along_vector(c.point, c.direction, c.target, out), c.result);
        support::expect_point(out, {7, 7, 7}, 0.0);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
    EXPECT_EQ(HM_VD_CURVE_project_point_along_vector(p, up, plane, nullptr), HM_ERR_NULL_POINTER);
}

}  // namespace
