// The spindle positions of a front right wheel on a 1,580 mm track (wheel
// centre 360 mm up, 0.2 degrees toe-in, -0.5 degrees camber) over 80 mm of
// jounce, 90 mm of rebound and 35 degrees of steer to both locks, as the
// lines of a spindle-points file: a header ended by a line of '#', then one
// record a line, the design position first. The tire-envelope example and the
// point-cloud envelope example share them.
#ifndef CARVELL_EXAMPLES_FRONT_WHEEL_SPINDLE_H
#define CARVELL_EXAMPLES_FRONT_WHEEL_SPINDLE_H

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace front_wheel {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

constexpr double kTrack = 1580.0;
constexpr double kWheelCentreZ = 360.0;   // design spindle height above ground line
constexpr double kToe = 0.2;
constexpr double kCamber = -0.5;
constexpr double kJounce = 80.0;
constexpr double kRebound = 90.0;
constexpr double kLock = 35.0;
constexpr int kHeaderLines = 4;

// One spindle record: wheel centre raised by dz and steered by the lock, the
// second point 100 mm inboard on the spindle axis (toe-in turns the front of
// the wheel inward, negative camber tilts its top inward).
inline std::string record(double dz, double steer) {
    double d[3] = {-std::tan(kToe * kDeg), 1.0, -std::tan(kCamber * kDeg)};
    const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& v : d) v /= n;
    const double s = steer * kDeg;
    const double r[3] = {d[0] * std::cos(s) - d[1] * std::sin(s), d[0] * std::sin(s) + d[1] * std::cos(s), d[2]};
    const double c[3] = {0.0, kTrack / 2, kWheelCentreZ + dz};
    char line[160];
    std::snprintf(line, sizeof line, "%9.3f, %9.3f, %9.3f, %9.3f, %9.3f, %9.3f", c[0], c[1], c[2],
                  c[0] - 100 * r[0], c[1] - 100 * r[1], c[2] - 100 * r[2]);
    return line;
}

// The file's lines without line ends: the header, then 33 records.
inline std::vector<std::string> spindle_file() {
    std::vector<std::string> lines = {"FRONT RIGHT WHEEL  235/55 R18", "TRACK 1580  TOE 0.2  CAMBER -0.5",
                                      "JOUNCE 80  REBOUND 90  STEER +/-35", "##########"};
    lines.push_back(record(0.0, 0.0));   // design position first
    for (int i = 1; i <= 8; ++i) lines.push_back(record(kJounce * i / 8, 0.0));
    for (int i = 1; i <= 8; ++i) lines.push_back(record(-kRebound * i / 8, 0.0));
    for (int i = 1; i <= 4; ++i) {
        lines.push_back(record(0.0, kLock * i / 4));
        lines.push_back(record(0.0, -kLock * i / 4));
    }
    for (double lock : {-kLock, -kLock / 2, kLock / 2, kLock}) {
        lines.push_back(record(kJounce, lock));
        lines.push_back(record(-kRebound, lock));
    }
    return lines;
}

}  // namespace front_wheel

#endif
