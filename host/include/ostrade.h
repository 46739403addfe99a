// ostrade: the host's face extraction (minimum distance is omvra's
// HM_MODL_ask_minimum_dist).
#ifndef CARVELL_HOST_OSTRADE_H
#define CARVELL_HOST_OSTRADE_H

#include "host_types.h"

// A new sheet body ("EXTRACT_FACE") holding a copy of the face.
HOST_C_API int MODL_extract_face(tag_t face, tag_t* sheet);

// Minimum distance of two objects and the nearest points on each, as
// HM_MODL_ask_minimum_dist; the tolerance argument is the host's (not read).
HOST_C_API int MIN_object_object(tag_t object1, tag_t object2, double tolerance, double* distance, double point1[3],
                                 double point2[3]);

#endif
