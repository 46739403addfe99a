// brindor: the host's assembly editing: components and their reference sets.
#ifndef CARVELL_HOST_BRINDOR_H
#define CARVELL_HOST_BRINDOR_H

#include "host_types.h"

// A component's part file name, reference-set name and instance name (each an
// SM_alloc'd copy the caller frees with SM_free), its origin and orientation
// (rows are the axes). HM_ERR_WRONG_TYPE for an object that is no component.
HOST_C_API int ASSY_ask_component_data(tag_t component, char** part_name, char** refset_name,
                                       char** instance_name, double origin[3], double matrix[9]);

#endif
