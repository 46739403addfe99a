// The driver's eyellipse of the 2003 windshield example, and what the two
// eyellipse initialisers that the 2003 release holds read from it.
// Usage: with the work part made, eyellipse_2003::make_and_report("EYE_2003", &record) (0 on success).
//
// The SAE J941 95th-percentile eyellipse of a left-hand-drive car whose
// cyclops eye is at (2950, -370, 1150): axis lengths 206.4 x 60.3 x 93.4 mm,
// the x axis tipped 12 degrees (nose down), eyes 32.5 mm to either side of
// the cyclops eye. The instance "root:NAME:" holds these lengths under
// "Axis_Length:" (and "Axis_Length_95:") and the name under "name:". The
// current initialiser (HM_VD_initialize_eyellipse) stores the lengths as
// they are; the 2003 one (HM_VD_ipv_initialize_eyellipse) stores half of
// each, the semi-axes, and the name.
#ifndef CARVELL_EXAMPLES_EYELLIPSE_2003_H
#define CARVELL_EXAMPLES_EYELLIPSE_2003_H

#include "hm_vd_vision/eyellipse.h"
#include "host_testing.h"
#include "release2003/ipv.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace eyellipse_2003 {

// Makes the instance, reads it with both initialisers, prints the two reads
// and hands out the 2003 record when asked. 0, or the failing step's code.
inline int make_and_report(const char* name, vd_eyellipse_t* record = nullptr) {
    constexpr double kTipped = 12.0 * 3.14159265358979323846 / 180.0;
    constexpr double kCyclops[3] = {2950.0, -370.0, 1150.0};
    constexpr double kEyeSpread = 32.5;
    host_testing::EyellipseSpec s;
    for (int i = 0; i < 3; ++i)
        s.centroids[i] = {kCyclops[0], kCyclops[1] + kEyeSpread * (i - 1), kCyclops[2]};
    const double c = std::cos(kTipped), n = std::sin(kTipped);
    s.axis_dirs = {{{c, 0.0, n}, {0.0, 1.0, 0.0}, {-n, 0.0, c}}};
    s.lengths = {206.4, 60.3, 93.4};
    s.lengths_95 = s.lengths;
    s.lengths_99 = {287.1, 85.3, 132.1};
    s.side_value = kCyclops[1];
    s.drive_side = 1;
    const double pivot[3] = {kCyclops[0] + 98.0, kCyclops[1], kCyclops[2]};
    s.pivots_1 = {{{pivot[0], pivot[1], pivot[2]}, {pivot[0], pivot[1], pivot[2]}}};
    s.pivots_2 = s.pivots_1;
    if (host_testing::make_eyellipse(name, s) == 0) return -1;
    const std::string prefix = std::string("root:") + name + ":";
    const std::string name_rule = prefix + "name:";
    if (int r = host_testing::set_rule(name_rule.c_str(), ("\"" + std::string(name) + "\"").c_str())) return r;

    vd_eyellipse_t lengths{}, semi_axes{};
    if (int r = HM_VD_initialize_eyellipse(prefix.c_str(), -1, &lengths)) return r;
    if (int r = HM_VD_ipv_initialize_eyellipse(prefix.c_str(), &semi_axes)) return r;
    std::printf("SAE J941 95th-percentile eyellipse \"%s\" (cyclops eye %.1f, %.1f, %.1f)\n", semi_axes.name,
                kCyclops[0], kCyclops[1], kCyclops[2]);
    std::printf("  HM_VD_initialize_eyellipse     axis lengths %7.2f %7.2f %7.2f mm (full lengths)\n",
                lengths.axis_length[0], lengths.axis_length[1], lengths.axis_length[2]);
    std::printf("  HM_VD_ipv_initialize_eyellipse axis lengths %7.2f %7.2f %7.2f mm (semi-axes)\n",
                semi_axes.axis_length[0], semi_axes.axis_length[1], semi_axes.axis_length[2]);
    if (record) *record = semi_axes;
    return 0;
}

}  // namespace eyellipse_2003

#endif
