// yarrowin: the kernel's facetted models (object type 139): triangulated
// copies of solid bodies whose vertices the kernel gives in metres.
#ifndef CARVELL_HOST_YARROWIN_H
#define CARVELL_HOST_YARROWIN_H

#include "host_types.h"

#include <stdbool.h>

// Object type of facetted models; subtype 0 a model of a solid's facets,
// subtype 3 a model held as indexed vertices.
#define HM_facet_model_type 139
#define HM_facet_solid_subtype 0
#define HM_facet_indexed_subtype 3

// True for a model held as indexed vertices (subtype 3); false otherwise or
// for a tag that is no facetted model.
HOST_C_API bool FACET_is_zv_body(tag_t model);
// Number of vertices of an indexed model (indices run from 0); -1 for a
// tag that is no facetted model.
HOST_C_API int FACET_ask_max_vertex_index(tag_t model);
// Vertex i of an indexed model in metres: 0, HM_ERR_NULL_POINTER,
// HM_ERR_INVALID_TAG or HM_ERR_BAD_ARGUMENT (index out of range).
HOST_C_API int FACET_ask_vertex_of_index(tag_t model, int index, double vertex[3]);
// Every vertex of a model once, in metres, in a new SM_alloc'd array of
// count x 3 doubles (free with SM_free; null for none). `unique` is the
// host's (true). Answers the count; -1 for a tag that is no facetted model.
HOST_C_API int FACET_ask_vertices_of_topology(tag_t model, double** vertices, bool unique);

#endif
