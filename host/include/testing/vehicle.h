// Test fixtures of the stand-in host: the vehicle-design core. Included by
// host_testing.h.
#ifndef CARVELL_HOST_TESTING_VEHICLE_H
#define CARVELL_HOST_TESTING_VEHICLE_H

#include "../host_types.h"

#include <array>

namespace host_testing {

// An eyellipse as the vehicle-design application stores it (lengths in part
// units, absolute coordinates). Full axis lengths per percentile set.
struct EyellipseSpec {
    std::array<std::array<double, 3>, 3> centroids{};   // eye types -1, 0, 1
    std::array<std::array<double, 3>, 3> axis_dirs{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    std::array<double, 3> lengths{};       // "Axis_Length:"    (percentile -1)
    std::array<double, 3> lengths_95{};    // "Axis_Length_95:" (percentile 0)
    std::array<double, 3> lengths_99{};    // "Axis_Length_99:" (other)
    double side_value = -1.0;              // below 0: the driver on side 1
    int drive_side = 1;
    bool pivot_set_1 = true;
    std::array<std::array<double, 3>, 2> pivots_1{};   // first, second
    bool pivot_set_2 = true;
    std::array<std::array<double, 3>, 2> pivots_2{};
};

// Makes the eyellipse instance "root:NAME:" (class VD_EYELLIPSE_CLASS) of the
// work part with every attribute the description gives; answers its tag (0
// on failure).
HOST_API tag_t make_eyellipse(const char* name, const EyellipseSpec& spec);

// Sets the vehicle coordinate system that VD_get_csys answers (origin, and
// orientation rows x, y, z); reset() returns it to the absolute frame.
HOST_API void set_vehicle_csys(const std::array<double, 3>& origin, const std::array<double, 9>& axes);

}  // namespace host_testing

#endif
