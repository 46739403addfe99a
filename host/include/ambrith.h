// ambrith: the host's solid-modelling kernel. Kernel entities of the
// stand-in are the tags of the objects themselves (nethrow gives them).
#ifndef CARVELL_HOST_AMBRITH_H
#define CARVELL_HOST_AMBRITH_H

#include "host_types.h"

// Kernel types of bodies.
enum GQ_BODY_type_e {
    GQ_BODY_type_minimum = 5601,   // vertices only
    GQ_BODY_type_solid = 5602,     // solid or sheet body
    GQ_BODY_type_wire = 5603,      // edges without faces
    GQ_BODY_type_general = 5604    // faces together with loose edges or vertices
};

// Kernel type of a body entity.
HOST_C_API int GQ_BODY_ask_type(tag_t body, int* type);
// Faces of a body entity in kernel order, in a new array (free with SM_free); null when none.
HOST_C_API int GQ_BODY_ask_faces(tag_t body, int* count, tag_t** faces);

// The kernel's linear precision (its confusion distance).
HOST_C_API int GQ_SESSION_ask_precision(double* precision);

#endif
