// Reflection and stone-impingement exports of the 2003 release that later
// releases dropped: the degree-1 spline of the result curves, the layer of a
// list's objects and the attributes of a joined reflection feature.
#ifndef CARVELL_RELEASE2003_SI_RD_H
#define CARVELL_RELEASE2003_SI_RD_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// A spline of degree 1 through the n points (one through-point record each,
// no slope, no curvature), closed back to the first point when periodic, in
// the colour when one was made. The host's status; *spline is 0 when none
// was made; -1 for a null row or output, n < 2, more than
// HM_VD_MAX_SAMPLED_POINTS points or a coordinate that is not finite.
CARVELL_C_EXPORT int VD_create_spline_thru_points(double points[][3], int n, bool periodic, int colour,
                                                  tag_t* spline);

// Puts the list's objects, in order, on the layer (1..256), stopping at the
// first that fails: 0, or that failure's host code (the objects before it
// stay on the layer). 0 for a null list.
CARVELL_C_EXPORT int HM_VD_SI_set_layer_of_list_objects(hm_list_p_t list, int layer);

// Gives every object of the feature (a joined reflection feature) the
// colour, the layer and the name. 0 once they are set; -1 for a null name
// or an object that is not a feature, or the host's code of the first
// setting that fails; the objects are left as they were in each case.
CARVELL_C_EXPORT int HM_VD_RD_set_join_attribute(tag_t feature, int colour, int layer, const char* name);

#endif
