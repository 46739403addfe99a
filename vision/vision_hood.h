// The fan of planes of the hood visibility sweep.
#ifndef CARVELL_VISION_VISION_HOOD_H
#define CARVELL_VISION_VISION_HOOD_H

#include <array>
#include <vector>

namespace carvell::vision {

// Normals (vehicle csys) of the sweep's vertical planes through the eye for
// the side, from the plane along the forward direction (angle 0) to the one
// across the vehicle, every `step` degrees; when the step does not divide 90
// the last plane's normal is the forward direction. Empty for a step not
// above 0.
std::vector<std::array<double, 3>> hood_plane_normals(double step, int side);

}  // namespace carvell::vision

#endif
