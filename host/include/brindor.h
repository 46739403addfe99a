// brindor: the host's assembly editing: components and their reference sets.
#ifndef CARVELL_HOST_BRINDOR_H
#define CARVELL_HOST_BRINDOR_H

#include "host_types.h"

// A component's part file name, reference-set name and instance name (each an
// SM_alloc'd copy the caller frees with SM_free), its origin and orientation
// (rows are the axes). HM_ERR_WRONG_TYPE for an object that is no component.
HOST_C_API int ASSY_ask_component_data(tag_t component, char** part_name, char** refset_name,
                                       char** instance_name, double origin[3], double matrix[9]);

// Adds a part to an assembly as a new component: `parent` is the assembly
// part, or a component whose part the new one is placed under. The placement
// is a rigid 4x4 transform (MTX4 layout) in the parent's coordinates. A null
// or empty instance name takes the part's bare file name; a null reference
// set name shows the entire part, otherwise the members of the part's
// reference set of that name (the entire part when it has none). Bodies and
// facetted models shown get occurrences; the part's own components become
// children. A part that shows the assembly part (itself, or anywhere below
// it) is refused with HM_ERR_BAD_ARGUMENT. `layer`: 0 the objects' own, -1 the work layer, 1..256;
// `update` 0 or 1. The new component's instance is answered.
HOST_C_API int ASSY_add_part_to_assembly(tag_t parent, tag_t part, const char* refset_name, const char* instance_name,
                                         int layer, const double placement[16], int update, tag_t* instance);
// Removes a component (or the component of an instance) with its instance,
// its whole subtree and the occurrences they show.
HOST_C_API int ASSY_remove_component(tag_t component);
// The name of the reference set a component shows, as an SM_alloc'd text the
// caller frees: "None" when it shows none.
HOST_C_API int ASSY_get_name_of_ref_set(tag_t component, char** name);

#endif
