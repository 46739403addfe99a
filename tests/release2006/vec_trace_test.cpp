// Vector and trace functions of the 2006 release: distances and feet on a
// line, the rotation about an axis through a point, and the system-log
// printers' texts.
#include "release2006/vec_trace.h"
#include "host_fixture.h"
#include "test_helpers.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using support::expect_point;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class VecTraceTest : public HostTest {};

TEST_F(VecTraceTest, DistanceAndDirectionToALine) {
    const double x_axis[3] = {1, 0, 0}, origin[3] = {0, 0, 0};
    const double p[3] = {0, 3, 4};
    EXPECT_DOUBLE_EQ(vec_dist_point_line(p, x_axis, origin), 5.0);
    // Off a line along z through (1, 1, 0): the foot of (4, 5, 7) is (1, 1, 7).
    const double z_axis[3] = {0, 0, 1}, q[3] = {1, 1, 0}, r[3] = {4, 5, 7};
    EXPECT_DOUBLE_EQ(vec_dist_point_line(r, z_axis, q), 5.0);
    double out[3];
    EXPECT_DOUBLE_EQ(vec_unit_to_line(r, z_axis, q, out), 5.0);
    expect_point(out, {-0.6, -0.8, 0.0}, 1e-15);
    EXPECT_DOUBLE_EQ(vec_length(r), std::sqrt(90.0));
}

TEST_F(VecTraceTest, APointOnTheLineHasNoDirectionToIt) {
    const double x_axis[3] = {1, 0, 0}, origin[3] = {0, 0, 0}, on[3] = {7, 0.00005, 0};
    double out[3] = {9, 9, 9};
    EXPECT_EQ(vec_unit_to_line(on, x_axis, origin, out), 0.0);
    expect_point(out, {0, 0, 0}, 0.0);
}

TEST_F(VecTraceTest, RotationAboutAVerticalAxisThroughAPoint) {
    const double through[3] = {1, 0, 0};
    // The axis is normalised first: a long one turns the same way.
    for (const double length : {1.0, 3.0}) {
        SCOPED_TRACE(length);
        const double axis[3] = {0, 0, length};
        double m[12];
        ASSERT_EQ(vec_rotation_about_axis(through, axis, 90.0, m), m);
        auto apply = [&m](const double p[3], double out[3]) {
            for (int i = 0; i < 3; ++i) out[i] = m[4 * i] * p[0] + m[4 * i + 1] * p[1] + m[4 * i + 2] * p[2] + m[4 * i + 3];
        };
        const double p[3] = {2, 0, 0}, on_axis[3] = {1, 0, 5};
        double q[3];
        apply(p, q);
        expect_point(q, {1, 1, 0}, 1e-15);
        apply(on_axis, q);
        expect_point(q, {1, 0, 5}, 1e-15);
    }
}

TEST_F(VecTraceTest, RotationRefusesAnAxisItCannotNormalise) {
    const double through[3] = {0, 0, 0};
    const double short_axis[3] = {0, 0, 0.00009}, nan_axis[3] = {0, kNaN, 1}, axis[3] = {0, 0, 1};
    struct Case {
        const char* name;
        const double* p;
        const double* a;
        double degrees;
    };
    const Case cases[] = {
        {"axis below 0.0001", through, short_axis, 90.0},
        {"non-finite axis", through, nan_axis, 90.0},
        {"non-finite angle", through, axis, kNaN},
        {"null point", nullptr, axis, 90.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double m[12];
        for (double& v : m) v = 7.0;
        EXPECT_EQ(vec_rotation_about_axis(c.p, c.a, c.degrees, m), nullptr);
        for (double v : m) EXPECT_EQ(v, 7.0);
    }
    EXPECT_EQ(vec_dist_point_line(nullptr, axis, through), -1.0);
    EXPECT_EQ(vec_length(nullptr), -1.0);
}

TEST_F(VecTraceTest, PrintersWriteTheirLinesToTheSystemLog) {
    const int ints[2] = {3, -4};
    const double doubles[2] = {1.5, -0.25};
    struct Case {
        const char* name;
        std::function<void()> print;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"text", [] { syslog_text("Stone"); }, {"Stone\n"}},
        {"null text", [] { syslog_text(nullptr); }, {"\n"}},
        {"text text", [] { syslog_text_text("face", "left"); }, {"face  left\n"}},
        {"text int", [] { syslog_text_int("count", 12); }, {"count  12\n"}},
        {"text int int", [] { syslog_text_int_int("range", 0, 49); }, {"range  0  49\n"}},
        {"text double", [] { syslog_text_double("angle", 2.0 / 3.0); }, {"angle  0.6667\n"}},
        {"null text double", [] { syslog_text_double(nullptr, 1.0); }, {"  1.0000\n"}},
        {"ints, n = 2", [&] { syslog_int_array("not printed", ints, 2); }, {"  3", "  -4", "\n"}},
        {"ints, n = 0", [&] { syslog_int_array("not printed", ints, 0); }, {"\n"}},
        {"null ints", [] { syslog_int_array("x", nullptr, 5); }, {"\n"}},
        {"doubles, n = 2", [&] { syslog_double_array(nullptr, doubles, 2); }, {"  1.5000", "  -0.2500", "\n"}},
        {"doubles, n = 0", [&] { syslog_double_array("x", doubles, 0); }, {"\n"}},
        {"null doubles", [] { syslog_double_array("x", nullptr, 3); }, {"\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host_testing::clear_sinks();
        c.print();
        EXPECT_EQ(host_testing::syslog(), c.lines);
    }
}

TEST_F(VecTraceTest, ALongTextIsCutToTheLineBuffer) {
    syslog_text(std::string(400, 'x').c_str());
    ASSERT_EQ(host_testing::syslog().size(), 1u);
    EXPECT_EQ(host_testing::syslog()[0], std::string(255, 'x'));
}

}  // namespace
