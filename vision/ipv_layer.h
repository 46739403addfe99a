// The lower layer of the instrument-panel visibility tool: the host-facing
// operations that the two releases holding the tool build in their own ways.
// The current release builds them on the shared toolbox and curve functions
// (ipv_layer.cpp); the 2003 release on its own instrument-panel utilities.
// The tool calls nothing else of the layer's kind directly.
#ifndef CARVELL_VISION_IPV_LAYER_H
#define CARVELL_VISION_IPV_LAYER_H

#include "host_types.h"

namespace carvell::vision {

// A spline through the n points in order, of the given degree (0: chosen
// from the count), closed when periodic is 1. The host's code; *spline is 0
// when none was made.
int ipv_layer_spline(int n, double** points, int periodic, int degree, tag_t* spline);

}  // namespace carvell::vision

#endif
