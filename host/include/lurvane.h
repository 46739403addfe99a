// lurvane: the host's assembly occurrences and instance transforms.
#ifndef CARVELL_HOST_LURVANE_H
#define CARVELL_HOST_LURVANE_H

#include "host_types.h"

#include <stdbool.h>

// Whether the object is an occurrence in an assembly (a component, or an
// object that stands for its prototype in a component's part).
HOST_C_API bool OCC_is_occurrence(tag_t object);

// Transforms are 4x4 in the MTX4 layout (points as columns); a part
// occurrence's transform places its part in the assembly part. A transform
// that is not rigid is refused with HM_ERR_BAD_ARGUMENT.

// The instance of that name among the children of a part occurrence (for a
// part: its own components); 0 for none.
HOST_C_API tag_t OCC_ask_instance_of_name(tag_t parent_occ, const char* name);
// The part occurrence of an instance under a parent occurrence (or part);
// 0 for none.
HOST_C_API tag_t OCC_ask_part_occ_of_instance(tag_t parent_occ, tag_t instance);
HOST_C_API int OCC_ask_transform_of_part_occ(tag_t part_occ, double transform[16]);
// Moves a part occurrence, its subtree and the occurrences they show.
HOST_C_API int OCC_set_part_occ_transform(tag_t part_occ, const double transform[16]);
// Places an instance: this host shows each instance by one part occurrence,
// which moves as with OCC_set_part_occ_transform.
HOST_C_API int OCC_set_instance_transform(tag_t instance, const double transform[16]);
// The transform of an occurrence: its own for a part occurrence, its
// component's for an occurrence of an object.
HOST_C_API int OCC_ask_transform_of_occurrence(tag_t occurrence, double transform[16]);
// The occurrence under `target` that stands for what `occurrence` stands for
// under `source` (the same prototype through the same instance names); 0 for
// none.
HOST_C_API tag_t OCC_remap_occurrence(tag_t target, tag_t source, tag_t occurrence);
// Blanks (blank 1) or shows (blank 0) a part occurrence and the occurrences
// it shows; scope 1 takes its subtree too. `reserved` must be null and
// `n_reserved` 0.
HOST_C_API int OCC_blank_component(tag_t part_occ, int scope, int blank, const tag_t* reserved, int n_reserved);

#endif
