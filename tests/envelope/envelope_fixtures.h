// Fixtures of the tire envelope tests: a temporary directory named by
// KWII_TMP_DIR, a 235/55 R18 tire's half profile, spindle-points files of a
// wheel over its travel and steering, the tool instance that holds them as
// list rules, and a parameter block filled as the tool fills it.
#ifndef CARVELL_TESTS_ENVELOPE_FIXTURES_H
#define CARVELL_TESTS_ENVELOPE_FIXTURES_H

#include "envelope_internal.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace envelope_test {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kInstance = "EVT";
constexpr const char* kToolClass = "%kw_vd_evt_envelope";

// One spindle position: the wheel centre moved up by dz (mm) and steered by
// steer degrees, with the wheel's toe and camber (degrees) and side (+1
// right, -1 left). The second point lies 100 mm inboard on the spindle axis.
struct Position {
    double dz = 0.0;
    double steer = 0.0;
};

inline std::string spindle_record(const double centre[3], double toe, double camber, double side, double steer) {
    const double t = std::tan(toe * kPi / 180.0), c = std::tan(camber * kPi / 180.0);
    double d[3] = {-t, side, -c};
    const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& v : d) v /= n;
    const double s = steer * kPi / 180.0;
    const double r[3] = {d[0] * std::cos(s) - d[1] * std::sin(s), d[0] * std::sin(s) + d[1] * std::cos(s), d[2]};
    char line[200];
    std::snprintf(line, sizeof line, "%.4f, %.4f, %.4f, %.4f, %.4f, %.4f", centre[0], centre[1], centre[2],
                  centre[0] - 100.0 * r[0], centre[1] - 100.0 * r[1], centre[2] - 100.0 * r[2]);
    return line;
}

// A spindle file of a wheel centred at (1000, side * 790, 350): a header,
// its terminator and one record per position.
inline std::vector<std::string> spindle_lines(double side, double toe, double camber,
                                              const std::vector<Position>& positions) {
    std::vector<std::string> lines = {"Front right wheel, 1580 track", "Units: mm", "##########"};
    for (const Position& q : positions) {
        const double centre[3] = {1000.0, side * 790.0, 350.0 + q.dz};
        lines.push_back(spindle_record(centre, toe, camber, side, q.steer));
    }
    return lines;
}

// Travel from rebound to jounce in steps and steering to both locks at the
// design height: the usual positions of an envelope study.
inline std::vector<Position> travel_and_steer(double jounce, double rebound, double lock, int steps) {
    std::vector<Position> out = {{0.0, 0.0}};
    for (int i = 1; i <= steps; ++i) {
        out.push_back({jounce * i / steps, 0.0});
        out.push_back({-rebound * i / steps, 0.0});
        out.push_back({0.0, lock * i / steps});
        out.push_back({0.0, -lock * i / steps});
    }
    return out;
}

// The rule text of a list of strings, each line kept with its line end as
// the tool stores a file.
inline std::string list_rule(const std::vector<std::string>& lines) {
    std::string text = "{ ";
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += ", ";
        text += "\"" + lines[i] + "\n\"";
    }
    return text + " }";
}

// Half profile of a 235/55 R18 tire: lateral offset from the centerline and
// height above the rim seat (section width 235, height 129.25 mm).
inline std::vector<std::pair<double, double>> half_profile_235_55_r18() {
    return {{0.0, 129.25},  {20.0, 129.0},  {40.0, 128.3}, {60.0, 127.0}, {80.0, 124.5}, {95.0, 120.0},
            {105.0, 112.0}, {112.0, 100.0}, {116.5, 80.0}, {117.5, 55.0}, {115.0, 30.0}, {108.0, 10.0}};
}

class EnvelopeTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        char pattern[] = "/tmp/envelope_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        host_testing::set_env("KWII_TMP_DIR", dir_.c_str());
        params_ = std::make_unique<tire_envelope_params_s>();
        fill_params(*params_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        HostTest::TearDown();
    }

    void fill_params(tire_envelope_params_s& p) {
        std::memset(&p, 0, sizeof p);
        std::snprintf(p.instance_name, sizeof p.instance_name, "%s", kInstance);
        p.csys_matrix[0] = p.csys_matrix[4] = p.csys_matrix[8] = 1.0;
        p.rim_diameter = 457.2;
        std::snprintf(p.rim_size, sizeof p.rim_size, "18x7.5");
        const auto profile = half_profile_235_55_r18();
        p.num_profile_pts = static_cast<int>(profile.size());
        for (size_t i = 0; i < profile.size(); ++i) {
            p.profile_pts[i][0] = profile[i].first;
            p.profile_pts[i][1] = profile[i].second;
        }
        p.half_profile = 1;
        std::snprintf(p.spindle_file, sizeof p.spindle_file, "front_right.pts");
        p.concavity = 1.0;
        p.trim_dist = 250.0;
        p.sec1_layer = 101;
        p.surface_layer = 150;
        p.profile_layer = 151;
        p.spindle_line_layer = 152;
        p.radial_start = 0.0;
        p.radial_end = 180.0;
        p.create_sheet = 1;
        p.cur_offset_section = -1;
    }

    // The tool instance with the spindle file stored as its list rule.
    void store_spindle_file(const std::vector<std::string>& lines) {
        ASSERT_NE(host_testing::make_rule_instance("root:", kInstance, kToolClass,
                                                   {{"spindle_file_data", list_rule(lines)},
                                                    {"spindle_line_count", "1"}}),
                  0u);
    }

    // A plain spindle file in the temporary directory; its path goes into
    // the block.
    std::string write_file(const char* name, const std::vector<std::string>& lines) {
        const std::string path = dir_ + "/" + name;
        std::ofstream out(path);
        for (const std::string& l : lines) out << l << "\n";
        return path;
    }

    bool dialog_shown(const std::string& title, const std::string& text) const {
        for (const auto& d : host_testing::dialogs())
            if (d.title == title)
                for (const auto& line : d.lines)
                    if (line.find(text) != std::string::npos) return true;
        return false;
    }
    bool syslog_has(const std::string& text) const {
        for (const auto& line : host_testing::syslog())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    std::string dir_;
    std::unique_ptr<tire_envelope_params_s> params_;
};

}  // namespace envelope_test

#endif
