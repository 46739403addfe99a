// The driver's eyellipse of the vision examples: the SAE J941 95th-percentile
// eyellipse of a mid-size left-hand-drive car (axes 206.4 x 60.3 x 93.4 mm,
// x axis tipped 12 degrees, cyclops centroid (2743, -370, 1188), eyes 32.5 mm
// to either side, neck pivot 98 mm behind the cyclops eye), stored in the
// part under the given name.
#ifndef CARVELL_EXAMPLES_J941_EYELLIPSE_H
#define CARVELL_EXAMPLES_J941_EYELLIPSE_H

#include "host_testing.h"

#include <cmath>

namespace j941 {

const host_testing::Point3 kCyclops = {2743.0, -370.0, 1188.0};
const host_testing::Point3 kPivot = {2743.0 + 98.0, -370.0, 1188.0};

inline void make_eyellipse(const char* name) {
    constexpr double kTipped = 12.0 * 3.14159265358979323846 / 180.0;
    host_testing::EyellipseSpec s;
    s.centroids = {{{kCyclops[0], kCyclops[1] - 32.5, kCyclops[2]}, kCyclops,
                    {kCyclops[0], kCyclops[1] + 32.5, kCyclops[2]}}};
    const double c = std::cos(kTipped), n = std::sin(kTipped);
    s.axis_dirs = {{{c, 0.0, n}, {0.0, 1.0, 0.0}, {-n, 0.0, c}}};
    s.lengths = {173.0, 60.3, 86.0};
    s.lengths_95 = {206.4, 60.3, 93.4};
    s.lengths_99 = {287.1, 85.3, 132.1};
    s.side_value = kCyclops[1];   // a left-hand drive car: the driver at y < 0
    s.drive_side = 1;
    s.pivots_1 = {{kPivot, kPivot}};
    s.pivots_2 = {{kPivot, kPivot}};
    host_testing::make_eyellipse(name, s);
}

}  // namespace j941

#endif
