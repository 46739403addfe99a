// Test fixtures of the stand-in host: motion. Included by host_testing.h.
// The articulation a user runs by hand on a mechanism (the driver joints
// stepped through given values, each link's displacement answered per
// step), the part's density for mass properties, and the current mechanism.
#ifndef CARVELL_HOST_TESTING_MOTION_H
#define CARVELL_HOST_TESTING_MOTION_H

#include "../host_types.h"

#include <array>
#include <vector>

namespace host_testing {

// A link's rigid displacement from its design position: three rows of a
// rotation and a translation (r00 r01 r02 tx, r10 r11 r12 ty, r20 r21 r22 tz);
// a design point p goes to R p + t.
using Transform = std::array<double, 12>;

struct Articulation {
    std::vector<tag_t> links;                      // the mechanism's links, in creation order
    std::vector<std::vector<Transform>> steps;     // per solved step, one transform per link
    int failed_step = -1;                          // the step that did not close, -1 when all did
    double max_residual = 0.0;                     // largest joint residual over the solved steps
};

// Steps the driver joints of the work part's current mechanism through the
// values: values[s][d] is driver d's displacement from the design position
// at step s (cylindrical and slider joints: the first link's shift along the
// joint's Z, in part units; revolute joints: the turn about Z, in degrees).
// Each step solves every joint and driver equation by Newton iteration on
// the links' displacements (minimum-norm steps, warm-started from the step
// before, a long step walked in sub-steps of at most 5), so that links the
// drivers do not fix stay where they were; a link free to spin about the
// line of its joints keeps its design spin.
// Answers 0; HM_ERR_NOT_FOUND without a mechanism; HM_ERR_BAD_ARGUMENT for
// a driver that is not a joint of the mechanism of those types, a driver
// given twice, or a step with another number of values; HM_ERR_GEOMETRY
// when a step does not close (failed_step names it; the steps before it are
// answered).
HOST_API int articulate(const std::vector<tag_t>& drivers, const std::vector<std::vector<double>>& values,
                        Articulation* result);

// A design point, and a design direction, moved by a link's transform.
HOST_API std::array<double, 3> transform_point(const Transform& t, const std::array<double, 3>& p);
HOST_API std::array<double, 3> transform_vector(const Transform& t, const std::array<double, 3>& v);

// Density of the part's solid bodies in kilograms per cubic metre (7850 unless set).
HOST_API void set_part_density(tag_t part, double kilograms_per_cubic_metre);

// The work part's current mechanism (0 when none).
HOST_API tag_t current_mechanism();

}  // namespace host_testing

#endif
