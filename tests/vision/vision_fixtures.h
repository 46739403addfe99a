// Shared set-ups of the vision tests: an eyellipse instance with known data.
#ifndef CARVELL_TESTS_VISION_FIXTURES_H
#define CARVELL_TESTS_VISION_FIXTURES_H

#include "hm_vd_vision.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "quillon.h"
#include "test_helpers.h"
#include "vision_ipv.h"

#include <cmath>

namespace vision_test {

// A host fixture whose instrument-panel analyses run in the absolute axes
// as the vehicle system.
class IpvHostTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        for (int i = 0; i < 3; ++i) carvell::vision::ipv_vehicle_origin[i] = 0.0;
        for (int i = 0; i < 9; ++i) carvell::vision::ipv_vehicle_matrix[i] = identity[i];
    }
};

// What HM_VD_RD_create_reflect_data hands out, and its release: each point,
// each row, then the arrays.
struct ReflectOutput {
    int groups = 0, rows = 0;
    int* sizes = nullptr;
    int* per_row = nullptr;
    double*** result = nullptr;
    double*** input = nullptr;
    bool** found = nullptr;
    bool* closed = nullptr;
    void Free() {
        for (int r = 0; r < rows; ++r) {
            for (int i = 0; i < per_row[r]; ++i) {
                SM_free(result[r][i]);
                SM_free(input[r][i]);
            }
            SM_free(result[r]);
            SM_free(input[r]);
            SM_free(found[r]);
        }
        for (void* p : {static_cast<void*>(sizes), static_cast<void*>(per_row), static_cast<void*>(result),
                        static_cast<void*>(input), static_cast<void*>(found), static_cast<void*>(closed)})
            SM_free(p);
    }
};

// An eyellipse with its axes along x, y, z and semi-axes a, b, c (stored as
// the full lengths 2a, 2b, 2c), the middle centroid at the origin and the
// outer ones at y = -+30.
inline vd_eyellipse_t axis_ellipsoid(double a, double b, double c) {
    vd_eyellipse_t e{};
    const double centroids[3][3] = {{0, -30, 0}, {0, 0, 0}, {0, 30, 0}};
    const double dirs[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) {
            e.centroid[i][k] = centroids[i][k];
            e.axis_dir[i][k] = dirs[i][k];
        }
    e.axis_length[0] = 2 * a;
    e.axis_length[1] = 2 * b;
    e.axis_length[2] = 2 * c;
    return e;
}

// An eyellipse with distinct values in every attribute, so that a field read
// from the wrong attribute shows.
inline host_testing::EyellipseSpec distinct_eyellipse() {
    host_testing::EyellipseSpec s;
    s.centroids = {{{2743.0, -402.5, 1188.0}, {2743.0, -370.0, 1188.0}, {2743.0, -337.5, 1188.0}}};
    s.axis_dirs = {{{0.978, 0.0, -0.208}, {0.0, 1.0, 0.0}, {0.208, 0.0, 0.978}}};
    s.lengths = {173.0, 60.3, 86.0};
    s.lengths_95 = {206.4, 60.3, 93.4};
    s.lengths_99 = {287.1, 85.3, 132.1};
    s.side_value = -370.0;
    s.drive_side = 1;
    s.pivots_1 = {{{2841.0, -370.0, 1188.0}, {2841.0, 370.0, 1188.0}}};
    s.pivots_2 = {{{2851.0, -372.0, 1190.0}, {2851.0, 372.0, 1190.0}}};
    return s;
}

// The section by the plane z = centre z + h of an ellipsoid with semi-axes
// a, b, c whose first axis is (cos t, 0, sin t), second the lateral axis and
// third (-sin t, 0, cos t). With u = x cos t + h sin t, w = -x sin t + h cos t
// (x from the centre), u^2/a^2 + y^2/b^2 + w^2/c^2 = 1 becomes
// P (x - x0)^2 + y^2 / b^2 = k: an ellipse about x0 with semi-axes ax, by.
struct TippedSection {
    double x0 = 0.0, ax = 0.0, by = 0.0;
    bool exists = false;
};
inline TippedSection tipped_section(double a, double b, double c, double t, double h) {
    const double s = std::sin(t), co = std::cos(t);
    const double P = co * co / (a * a) + s * s / (c * c);
    const double Q = h * s * co * (1.0 / (a * a) - 1.0 / (c * c));
    const double R = h * h * (s * s / (a * a) + co * co / (c * c));
    const double k = 1.0 - R + Q * Q / P;
    if (!(k > 0.0)) return {};
    return {-Q / P, std::sqrt(k / P), b * std::sqrt(k), true};
}

// The point of that section (ellipsoid centre given) nearest in plan to
// (x, y), by dense sampling.
inline host_testing::Point3 nearest_on_section(const host_testing::Point3& centre, const TippedSection& sec, double h,
                                               double x, double y) {
    double best = 1e300;
    host_testing::Point3 at{};
    constexpr int kSamples = 400000;
    for (int i = 0; i < kSamples; ++i) {
        const double u = 2.0 * support::kPi * i / kSamples;
        const double px = centre[0] + sec.x0 + sec.ax * std::cos(u), py = centre[1] + sec.by * std::sin(u);
        const double d = std::hypot(px - x, py - y);
        if (d < best) {
            best = d;
            at = {px, py, centre[2] + h};
        }
    }
    return at;
}

}  // namespace vision_test

#endif
