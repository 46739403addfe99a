// Loops of curves, joined curves and their C0 break points.
#include "gostrel.h"
#include "hathmor.h"
#include "host_fixture.h"
#include "test_helpers.h"
#include "kestrin.h"
#include "omvra.h"
#include "quillon.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using support::curve_point;
using support::expect_point;
using support::kPi;
using support::make_list;

using host_testing::Point3;

// Break parameters of a curve through the evaluator (pieces freed).
std::vector<double> Breaks(tag_t curve, std::vector<double>* piece_lengths = nullptr) {
    EVC_p_t ev = nullptr;
    EXPECT_EQ(evcrvu(curve, &ev), 0);
    int n = 0;
    double* breaks = nullptr;
    EVC_p_t* pieces = nullptr;
    EXPECT_EQ(ev_bk_cv_at_c0(ev, &n, &breaks, &pieces), 0);
    std::vector<double> out(breaks, breaks + n);
    for (int i = 0; i + 1 < n; ++i) {
        if (piece_lengths) {
            tag_t piece = 0;
            EXPECT_EQ(kcrvev(pieces[i], &piece), 0);
            double length = 0;
            HM_CURVE_ask_arc_length(piece, 0.0, 1.0, &length);
            piece_lengths->push_back(length);
        }
        evcrvf(pieces[i]);
    }
    SM_free(pieces);
    SM_free(breaks);
    evcrvf(ev);
    return out;
}

class CurveJoinTest : public HostTest {};

// An L of two lines ending in a tangent quarter arc: the corner of the L is
// a C0 break, the tangent join to the arc is not.
TEST_F(CurveJoinTest, JoinedCurveKeepsItsCornersAsBreaks) {
    tag_t a = host_testing::make_line({0, 0, 0}, {4, 0, 0});
    tag_t b = host_testing::make_line({4, 0, 0}, {4, 3, 0});
    tag_t arc = host_testing::make_arc({3, 3, 0}, 1.0, 0.0, kPi / 2);   // tangent to b at (4, 3)
    hm_list_p_t list = make_list({arc, a, b});   // out of order on purpose
    tag_t joined = 0;
    ASSERT_EQ(HM_CURVE_create_joined_curve(list, 2, &joined), 0);
    HM_MODL_delete_list(&list);
    ASSERT_NE(joined, 0u);
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(joined, &type, &subtype);
    EXPECT_EQ(type, HM_spline_type);
    expect_point(curve_point(joined, 0.0), {0, 0, 0});
    expect_point(curve_point(joined, 1.0), {3, 4, 0});

    std::vector<double> lengths;
    const std::vector<double> breaks = Breaks(joined, &lengths);
    ASSERT_EQ(breaks.size(), 3u);
    EXPECT_EQ(breaks.front(), 0.0);
    EXPECT_EQ(breaks.back(), 1.0);
    expect_point(curve_point(joined, breaks[1]), {4, 0, 0});
    ASSERT_EQ(lengths.size(), 2u);
    EXPECT_NEAR(lengths[0], 4.0, 1e-9);
    EXPECT_NEAR(lengths[1], 3.0 + kPi / 2, 1e-7);
    for (tag_t t : {a, b, arc}) EXPECT_EQ(HM_OBJ_ask_status(t), HM_OBJ_ALIVE) << "joining keeps the pieces";
    ExpectNoLeaks();
}

TEST_F(CurveJoinTest, ReversedPiecesAndFailures) {
    // The second line runs the wrong way and the third starts a little off
    // its end (within the tolerance); the chain still joins end to end.
    tag_t a = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    tag_t b = host_testing::make_line({1, 1, 0}, {1, 0, 0});
    tag_t c = host_testing::make_line({1, 1.004, 0}, {2, 1, 0});
    tag_t joined = 0;
    const tag_t chain[3] = {a, b, c};
    ASSERT_EQ(CRV_JOIN_create_joined_curve(3, chain, 0.01, 0.01, &joined), 0);
    expect_point(curve_point(joined, 0.0), {0, 0, 0});
    expect_point(curve_point(joined, 1.0), {2, 1, 0});
    EXPECT_EQ(Breaks(joined).size(), 4u);

    tag_t far = host_testing::make_line({5, 5, 0}, {6, 5, 0});
    hm_list_p_t list = make_list({a, far});
    joined = 99;
    EXPECT_EQ(HM_CURVE_create_joined_curve(list, 2, &joined), HM_ERR_GEOMETRY) << "two chains";
    EXPECT_EQ(joined, 0u);
    EXPECT_EQ(HM_CURVE_create_joined_curve(list, 7, &joined), HM_ERR_BAD_ARGUMENT);
    HM_MODL_delete_list(&list);
    tag_t point = host_testing::make_point({0, 0, 0});
    list = make_list({a, point});
    EXPECT_EQ(HM_CURVE_create_joined_curve(list, 2, &joined), HM_ERR_WRONG_TYPE);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(CurveJoinTest, AutoJoinGivesOneNewCurvePerChain) {
    tag_t a = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    tag_t b = host_testing::make_line({1, 0, 0}, {1, 1, 0});
    tag_t lone = host_testing::make_line({5, 5, 0}, {6, 5, 0});
    const tag_t curves[3] = {lone, b, a};
    int n = 0;
    tag_t* joined = nullptr;
    ASSERT_EQ(HM_CURVE_auto_join_curves(curves, 3, 2, &n, &joined), 0);
    ASSERT_EQ(n, 2);
    EXPECT_NE(joined[0], lone) << "a chain of one curve gives a copy";
    expect_point(curve_point(joined[0], 0.0), {5, 5, 0});
    const Point3 s = curve_point(joined[1], 0.0), e = curve_point(joined[1], 1.0);
    EXPECT_NEAR(std::fabs(s[0] - e[0]) + std::fabs(s[1] - e[1]), 2.0, 1e-9) << "the L's ends (0,0) and (1,1)";
    SM_free(joined);
    ExpectNoLeaks();
}

class CurveLoopTest : public HostTest {};

TEST_F(CurveLoopTest, ClosedLoopsFirstThenOpenChainsInChainOrder) {
    // A square given shuffled and partly reversed, an open chain and a circle.
    tag_t s1 = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    tag_t s2 = host_testing::make_line({1, 1, 0}, {1, 0, 0});
    tag_t s3 = host_testing::make_line({1, 1, 0}, {0, 1, 0});
    tag_t s4 = host_testing::make_line({0, 0, 0}, {0, 1, 0});
    tag_t o1 = host_testing::make_line({5, 0, 0}, {6, 0, 0});
    tag_t o2 = host_testing::make_line({6, 0, 0}, {7, 1, 0});
    tag_t circle = host_testing::make_arc({10, 0, 0}, 1.0, 0.0, 2 * kPi);
    const tag_t curves[7] = {o2, s3, s1, circle, s4, o1, s2};
    int n_closed = -1, n_open = -1;
    CRV_LST_loop_p_t closed = nullptr, open = nullptr;
    ASSERT_EQ(CRV_LST_make_loops(0, 7, curves, 0.01, &n_closed, &closed, &n_open, &open), 0);
    ASSERT_EQ(n_closed, 2);
    ASSERT_EQ(n_open, 1);

    int n = 0;
    tag_t* ids = nullptr;
    ASSERT_EQ(CRV_LST_get_eids_in_loop(closed, &n, &ids), 0);
    ASSERT_EQ(n, 4);
    // Chain order from the square's first curve in the array: s3, s4, s1, s2
    // or s3, s2, s1, s4; each next curve shares an end with the previous one.
    EXPECT_EQ(ids[0], s3);
    EXPECT_EQ(ids[2], s1);
    EXPECT_TRUE((ids[1] == s4 && ids[3] == s2) || (ids[1] == s2 && ids[3] == s4));
    SM_free(ids);
    ASSERT_NE(closed->next, nullptr);
    ASSERT_EQ(CRV_LST_get_eids_in_loop(closed->next, &n, &ids), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(ids[0], circle);
    SM_free(ids);
    EXPECT_EQ(closed->next->next, nullptr);
    ASSERT_EQ(CRV_LST_get_eids_in_loop(open, &n, &ids), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(ids[0], o1);
    EXPECT_EQ(ids[1], o2);
    SM_free(ids);
    CRV_LST_free_curve_list(closed);
    CRV_LST_free_curve_list(open);
    ExpectNoLeaks();
}

TEST_F(CurveLoopTest, EdgesFormLoopsAndBadInput) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    tag_t box = host_testing::make_box(corner, size);
    hm_list_p_t faces = nullptr, edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(box, &faces), 0);
    tag_t face = 0;
    HM_MODL_ask_list_item(faces, 0, &face);
    ASSERT_EQ(HM_MODL_ask_face_edges(face, &edges), 0);
    std::vector<tag_t> ids;
    for (hm_list_p_t node = edges->next; node; node = node->next) ids.push_back(node->eid);
    HM_MODL_delete_list(&faces);
    HM_MODL_delete_list(&edges);
    int n_closed = 0, n_open = 0;
    CRV_LST_loop_p_t closed = nullptr, open = nullptr;
    ASSERT_EQ(CRV_LST_make_loops(0, static_cast<int>(ids.size()), ids.data(), 0.01, &n_closed, &closed, &n_open,
                                 &open),
              0);
    EXPECT_EQ(n_closed, 1);
    EXPECT_EQ(n_open, 0);
    EXPECT_EQ(open, nullptr);
    EXPECT_EQ(closed->n_curves, 4);
    CRV_LST_free_curve_list(closed);

    tag_t point = host_testing::make_point({0, 0, 0});
    EXPECT_EQ(CRV_LST_make_loops(0, 1, &point, 0.01, &n_closed, &closed, &n_open, &open), HM_ERR_WRONG_TYPE);
    ASSERT_EQ(CRV_LST_make_loops(0, 0, nullptr, 0.01, &n_closed, &closed, &n_open, &open), 0);
    EXPECT_EQ(n_closed + n_open, 0);
    ExpectNoLeaks();
}

}  // namespace
