// Test fixtures of the stand-in host: facetted models. Included by
// host_testing.h.
#ifndef CARVELL_HOST_TESTING_FACETS_H
#define CARVELL_HOST_TESTING_FACETS_H

#include "../host_types.h"

#include <array>
#include <vector>

namespace host_testing {

// A facetted model of the work part held as indexed vertices (139/3), the
// vertices given in metres; made from no solid.
HOST_API tag_t make_indexed_facet_model(const std::vector<std::array<double, 3>>& vertices_m);

}  // namespace host_testing

#endif
