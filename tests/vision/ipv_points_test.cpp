// Instrument-panel visibility utilities: point arrays, sorts, splines from
// poles, dispersal, splits, chain dispersal and re-parametrisation, and the
// profile walk round a point cloud.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"
#include "vision_ipv.h"

#include "hm_vd_curve.h"
#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using host_testing::Point3;
constexpr double kPi = 3.14159265358979323846;

class IpvTest : public vision_test::IpvHostTest {
protected:
    static Point3 At(tag_t curve, double t) {
        Point3 p{};
        EXPECT_EQ(HM_VD_CURVE_ask_point_on_curve(curve, t, p.data()), 0);
        return p;
    }
    static double Dist(const double* a, const double* b) {
        return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
    }
    // A row of points as a point array (the caller frees it).
    static double** Row(const std::vector<Point3>& pts) {
        double** out = nullptr;
        EXPECT_EQ(HM_VD_ipv_alloc_points(static_cast<int>(pts.size()), &out), 0);
        for (size_t i = 0; i < pts.size(); ++i)
            for (int k = 0; k < 3; ++k) out[i][k] = pts[i][k];
        return out;
    }
    // The diamond (0, 10), (10, 0), (0, -10), (-10, 0) of four lines in z = 0.
    static std::vector<tag_t> Diamond() {
        const Point3 p[4] = {{0, 10, 0}, {10, 0, 0}, {0, -10, 0}, {-10, 0, 0}};
        std::vector<tag_t> lines;
        for (int i = 0; i < 4; ++i) lines.push_back(host_testing::make_line(p[i], p[(i + 1) % 4]));
        return lines;
    }
};

TEST_F(IpvTest, PointArraysAreMadeZeroedAndFreedWithTheirCount) {
    double** pts = nullptr;
    ASSERT_EQ(HM_VD_ipv_alloc_points(3, &pts), 0);
    ASSERT_NE(pts, nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pts[i][0] + pts[i][1] + pts[i][2], 0.0);
    HM_VD_ipv_free_points(3, &pts);
    EXPECT_EQ(pts, nullptr);
    // No count, or a negative one, allocates nothing at all.
    for (int n : {0, -1, -1000000}) {
        SCOPED_TRACE(n);
        double** none = reinterpret_cast<double**>(0x1);
        EXPECT_EQ(HM_VD_ipv_alloc_points(n, &none), 0);
        EXPECT_EQ(none, nullptr);
        HM_VD_ipv_free_points(n, &none);
    }
    EXPECT_EQ(HM_VD_ipv_alloc_points(2, nullptr), -1);
}

TEST_F(IpvTest, SortsAscendInPlace) {
    const std::vector<std::vector<int>> cases = {{}, {1}, {5, 4, 3, 2, 1}, {1, 2, 3}, {3, 1, 3, 2, 1, 0}, {2, -7, 9, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c));
        std::vector<int> v = c;
        carvell::vision::ipv_sort_integers(static_cast<int>(v.size()), v.data());
        std::vector<int> want = c;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(v, want);
        std::vector<double> r(c.begin(), c.end());
        for (double& x : r) x *= 0.5;
        carvell::vision::ipv_sort_reals(static_cast<int>(r.size()), r.data());
        for (size_t i = 0; i < r.size(); ++i) EXPECT_EQ(r[i], 0.5 * want[i]);
    }
}

TEST_F(IpvTest, SplinesFromPolesEndAtTheLastPoleOrClose) {
    const std::vector<Point3> poles = {{0, 0, 0}, {10, 5, 0}, {20, -5, 0}, {30, 5, 0}, {40, 0, 0}};
    double** row = Row(poles);
    tag_t open = 0, closed = 0;
    ASSERT_EQ(HM_VD_ipv_create_spline(5, row, 0, &open), 0);
    ASSERT_EQ(HM_VD_ipv_create_spline(5, row, 1, &closed), 0);
    // Clamped knots: the open spline runs from the first pole to the last.
    const Point3 s = At(open, 0.0), e = At(open, 1.0);
    EXPECT_LT(Dist(s.data(), row[0]), 1e-9);
    EXPECT_LT(Dist(e.data(), row[4]), 1e-9);
    // The closed one returns to its first pole (its end poles coincide, so
    // it is evaluated without asking for a tangent there).
    Point3 cs{}, ce{};
    double d[3];
    EXPECT_EQ(HM_MODL_evaluate_curve(closed, 0.0, 1, cs.data(), d), 0);
    EXPECT_EQ(HM_MODL_evaluate_curve(closed, 1.0, 1, ce.data(), d), 0);
    EXPECT_LT(Dist(cs.data(), row[0]), 1e-9);
    EXPECT_LT(Dist(ce.data(), row[0]), 1e-9);
    int is_closed = 0;
    EXPECT_EQ(HM_MODL_ask_curve_closed(closed, &is_closed), 0);
    EXPECT_EQ(is_closed, 1);
    // Too few poles for a cubic: refused, nothing made.
    tag_t none = 7;
    EXPECT_EQ(HM_VD_ipv_create_spline(3, row, 0, &none), -1);
    EXPECT_EQ(none, 0u);
    HM_VD_ipv_free_points(5, &row);
}

TEST_F(IpvTest, DispersalIncludesBothEndsOfAnOpenCurveAndNeverRepeatsAClosedOnesStart) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {10, 0, 0});
    double** pts = nullptr;
    ASSERT_EQ(HM_VD_ipv_disperse_curve(line, 5, &pts), 0);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(pts[i][0], 2.5 * i, 1e-9);
    HM_VD_ipv_free_points(5, &pts);

    const tag_t circle = host_testing::make_arc({0, 0, 0}, 10.0, 0.0, 2 * kPi);
    ASSERT_EQ(HM_VD_ipv_disperse_curve(circle, 4, &pts), 0);
    const double want[4][2] = {{10, 0}, {0, 10}, {-10, 0}, {0, -10}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(pts[i][0], want[i][0], 1e-9);
        EXPECT_NEAR(pts[i][1], want[i][1], 1e-9);
    }
    HM_VD_ipv_free_points(4, &pts);

    // Refusals: no curve, too few points, an object that is no curve.
    const tag_t point = host_testing::make_point({1, 2, 3});
    const struct {
        tag_t object;
        int n;
    } bad[] = {{0, 5}, {line, 2}, {line, -3}, {point, 5}};
    for (const auto& b : bad) {
        SCOPED_TRACE(b.n);
        double** out = reinterpret_cast<double**>(0x1);
        EXPECT_EQ(HM_VD_ipv_disperse_curve(b.object, b.n, &out), -1);
        EXPECT_EQ(out, nullptr);
    }
}

TEST_F(IpvTest, SplitSnapsAParameterNearTheStartInsteadOfLeavingASliver) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    // Parameters 0.0005 (snapped to 0) and 0.5.
    double** at = Row({{0.05, 0, 0}, {50, 0, 0}});
    hm_list_p_t pieces = nullptr;
    ASSERT_EQ(HM_VD_ipv_split_curve(line, 2, at, &pieces), 0);
    const std::vector<tag_t> items = support::list_items(pieces);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_NEAR(At(items[0], 0.0)[0], 0.0, 1e-9);
    EXPECT_NEAR(At(items[0], 1.0)[0], 50.0, 1e-9);
    EXPECT_NEAR(At(items[1], 1.0)[0], 100.0, 1e-9);
    HM_MODL_delete_list(&pieces);
    HM_VD_ipv_free_points(2, &at);
}

TEST_F(IpvTest, PlanarityOfLinesAndSplines) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t flat = host_testing::make_spline({{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {30, 8, 0}});
    const tag_t twisted = host_testing::make_spline({{0, 0, 0}, {10, 5, 0}, {20, 0, 10}, {30, 8, -10}});
    const struct {
        tag_t curve;
        bool planar;
    } cases[] = {{line, true}, {flat, true}, {twisted, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.curve);
        bool planar = !c.planar;
        EXPECT_EQ(HM_VD_ipv_is_planar_curve(c.curve, &planar), 0);
        EXPECT_EQ(planar, c.planar);
    }
    bool planar = true;
    EXPECT_EQ(HM_VD_ipv_is_planar_curve(0, &planar), -1);
    EXPECT_FALSE(planar);
}

TEST_F(IpvTest, ChainDispersalStartsAtTheLateralMaximumAndSplitsAtTheMinimum) {
    const std::vector<tag_t> lines = Diamond();
    hm_list_p_t list = support::make_list(lines);
    const double up[3] = {0, 0, 1}, down[3] = {0, 0, -1};
    for (int split = 0; split <= 2; ++split) {
        for (const double* dir : {up, down}) {
            SCOPED_TRACE(testing::Message() << "split " << split << " dir z " << dir[2]);
            int k = -1, n = 0;
            int* counts = nullptr;
            double*** chains = nullptr;
            ASSERT_EQ(HM_VD_ipv_disperse_curve_chain(list, dir, 0, split, &k, &n, &counts, &chains), 0);
            // Every chain starts where the ring starts or at a break; the
            // ring starts at the lateral maximum (0, 10).
            EXPECT_NEAR(chains[0][0][0], 0.0, 1e-9);
            EXPECT_NEAR(chains[0][0][1], 10.0, 1e-9);
            // Up: the ring runs clockwise seen from above, to +x first.
            EXPECT_EQ(chains[0][1][0] > 0.0, dir[2] > 0.0);
            int total = 0;
            for (int c = 0; c < n; ++c) total += counts[c];
            if (split == 0) {
                EXPECT_EQ(n, 1);
                EXPECT_EQ(counts[0], 396);   // four runs of 100, each last point dropped
            } else if (split == 1) {
                ASSERT_EQ(n, 2);
                // The halves meet at the lateral minimum; the second closes on the start.
                EXPECT_NEAR(chains[0][counts[0] - 1][1], -10.0, 1e-9);
                EXPECT_NEAR(chains[1][0][1], -10.0, 1e-9);
                EXPECT_NEAR(chains[1][counts[1] - 1][1], 10.0, 1e-9);
                EXPECT_EQ(total, 398);
            } else {
                // Breaks at the four corners; the last chain ends before the start.
                ASSERT_EQ(n, 4);
                EXPECT_EQ(k, 2);
                EXPECT_NEAR(chains[k][0][1], -10.0, 1e-9);
            }
            for (int c = 0; c < n; ++c) HM_VD_ipv_free_points(counts[c], &chains[c]);
            SM_free(chains);
            SM_free(counts);
        }
    }
    HM_MODL_delete_list(&list);
}

TEST_F(IpvTest, ChainDispersalRefusesSeveralLoopsAndEmptyLists) {
    std::vector<tag_t> curves = Diamond();
    curves.push_back(host_testing::make_arc({100, 0, 0}, 5.0, 0.0, 2 * kPi));
    hm_list_p_t two = support::make_list(curves);
    const double dir[3] = {0, 0, 1};
    int k = 0, n = 5;
    int* counts = nullptr;
    double*** chains = nullptr;
    EXPECT_EQ(HM_VD_ipv_disperse_curve_chain(two, dir, 0, 0, &k, &n, &counts, &chains), -1);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(chains, nullptr);
    EXPECT_EQ(HM_VD_ipv_disperse_curve_chain(nullptr, dir, 0, 0, &k, &n, &counts, &chains), -1);
    HM_MODL_delete_list(&two);
}

TEST_F(IpvTest, ReparametrisationGivesOneClosedSplineOrTwoHalves) {
    hm_list_p_t list = support::make_list(Diamond());
    const double dir[3] = {0, 0, 1};
    int count = 0;
    hm_list_p_t lists[2] = {nullptr, nullptr};
    ASSERT_EQ(ipv_reparam_curves(list, dir, 0, &count, lists), 0);
    EXPECT_EQ(count, 1);
    std::vector<tag_t> one = support::list_items(lists[0]);
    ASSERT_EQ(one.size(), 1u);
    int closed = 0;
    EXPECT_EQ(HM_MODL_ask_curve_closed(one[0], &closed), 0);
    EXPECT_TRUE(closed);
    HM_MODL_delete_list(&lists[0]);
    HM_MODL_delete_list(&lists[1]);

    ASSERT_EQ(ipv_reparam_curves(list, dir, 1, &count, lists), 0);
    EXPECT_EQ(count, 2);
    const std::vector<tag_t> first = support::list_items(lists[0]), second = support::list_items(lists[1]);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NEAR(At(first[0], 0.0)[1], 10.0, 1e-6);
    EXPECT_NEAR(At(first[0], 1.0)[1], -10.0, 1e-6);
    EXPECT_NEAR(At(second[0], 1.0)[1], 10.0, 1e-6);
    HM_MODL_delete_list(&lists[0]);
    HM_MODL_delete_list(&lists[1]);
    EXPECT_EQ(ipv_reparam_curves(nullptr, dir, 0, &count, lists), -1);
    HM_MODL_delete_list(&list);
}

TEST_F(IpvTest, ProfileWalksFollowTheOuterAndInnerRingsOfACloud) {
    // Rings of radius 5 (36 points) and 10 (72 points) about the origin, and
    // a scatter between them; spacing 0.87 on both rings.
    std::vector<Point3> cloud;
    for (int i = 0; i < 36; ++i) cloud.push_back({5 * std::cos(i * kPi / 18), 5 * std::sin(i * kPi / 18), 0});
    for (int i = 0; i < 72; ++i) cloud.push_back({10 * std::cos(i * kPi / 36), 10 * std::sin(i * kPi / 36), 0});
    for (int i = 0; i < 24; ++i) cloud.push_back({7.5 * std::cos(i * kPi / 12 + 0.1), 7.5 * std::sin(i * kPi / 12 + 0.1), 0});
    double** pts = Row(cloud);
    const double origin[3] = {0, 0, 0}, normal[3] = {0, 0, 1}, search[3] = {0.2, 1.2, 2.0};
    const struct {
        int mode;
        double radius;
        int ring;
    } cases[] = {{0, 10.0, 72}, {1, 5.0, 36}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        int count = 0;
        int* idx = nullptr;
        double** out = nullptr;
        ASSERT_EQ(HM_VD_ipv_ask_profile_points(static_cast<int>(cloud.size()), pts, origin, normal, search, c.mode,
                                               &count, &idx, &out),
                  0);
        // Every ring point once, the start again at the end.
        EXPECT_EQ(count, c.ring + 1);
        for (int i = 0; i < count; ++i) EXPECT_NEAR(std::hypot(out[i][0], out[i][1]), c.radius, 1e-9);
        EXPECT_EQ(idx[0], idx[count - 1]);
        SM_free(idx);
        HM_VD_ipv_free_points(count, &out);
    }
    // A search ring that reaches no neighbour: the walk cannot step on.
    const double tight[3] = {0.01, 0.02, 2.0};
    int count = 0;
    int* idx = nullptr;
    double** out = nullptr;
    EXPECT_EQ(HM_VD_ipv_ask_profile_points(static_cast<int>(cloud.size()), pts, origin, normal, tight, 0, &count, &idx,
                                           &out),
              -1);
    EXPECT_EQ(out, nullptr);
    HM_VD_ipv_free_points(static_cast<int>(cloud.size()), &pts);
}

}  // namespace
