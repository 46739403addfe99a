// jorvale: the host's convex hulls and the polyhedral solids made from them.
// Hull points and facets are in the caller's units; the solid maker reads
// the kernel's metres and builds the body at the work part's scale.
#ifndef CARVELL_HOST_JORVALE_H
#define CARVELL_HOST_JORVALE_H

#include "host_types.h"

#include <stdint.h>

// A hull facet: three indices into the hull's vertices (the request's points
// after CHULL_convex_hull), counter-clockwise seen from outside, and the
// facet's outward unit normal.
typedef struct CHULL_facet_s {
    int verts[3];
    double normal[3];
} CHULL_facet_t;

// A hull request, in the host's field order. The caller sets flag 0, option
// 2, the tolerance, reserved 0, the point count and the points (three
// doubles each, the caller's block). A successful hull replaces count and
// points by the hull's vertices in a block of the host's; the caller keeps
// its own pointer to free its points.
typedef struct CHULL_input_s {
    unsigned char flag;
    int option;
    double tolerance;      // length below which the points count as flat; >= 0
    uint64_t reserved;
    int count;
    double (*points)[3];
} CHULL_input_t;

// The facets of a hull.
typedef struct CHULL_output_s {
    int n_facets;
    CHULL_facet_t* facets;
} CHULL_output_t;

// The convex hull of the request's points as triangles with outward normals;
// points inside the hull or on its faces are not vertices. 0, or
// HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (fewer than 4 points, a point or
// the tolerance not finite, negative tolerance) or HM_ERR_GEOMETRY (the
// points lie on one plane or line, or span no more than the tolerance); on
// failure nothing is allocated and the request and output are unchanged.
HOST_C_API int CHULL_convex_hull(CHULL_input_t* input, CHULL_output_t* output);
// Frees the vertices and facets that CHULL_convex_hull made and zeroes the
// output and the request's count and points; points of the caller's that no
// hull made are left alone. Null arguments: nothing.
HOST_C_API void CHULL_free_hull(CHULL_input_t* input, CHULL_output_t* output);

// A closed polyhedral solid body (type 70/0) of the work part from the hull
// facets over the request's vertices (kernel metres, scaled to the part's
// units): neighbouring facets share their edges, nothing is sewn. The
// tolerance argument is the host's (0.0). 0, or HM_ERR_NULL_POINTER,
// HM_ERR_NO_PART, HM_ERR_BAD_ARGUMENT (no facets, an index out of range) or
// HM_ERR_GEOMETRY (the facets do not close a solid); *body is 0 on failure.
HOST_C_API int GWRAP__create_bv_body(const CHULL_input_t* input, const CHULL_output_t* output, double tolerance,
                                     tag_t* body);

#endif
