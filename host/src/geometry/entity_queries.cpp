// Basic entities and enquiries of the modelling internals: points and lines
// made in the work part, the minimum distance of two objects and the
// parameter ranges of a face.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "hathmor.h"
#include "nethrow.h"
#include "omvra.h"
#include "ostrade.h"


int ES_create_point(const double coords[3], tag_t* point) { return HM_CURVE_create_point(coords, point); }

int ES_create_line_in_part(const double start[3], const double end[3], tag_t* line) {
    if (!start || !end || !line) return HM_ERR_NULL_POINTER;
    HM_CURVE_line_t data = {{start[0], start[1], start[2]}, {end[0], end[1], end[2]}};
    return HM_CURVE_create_line(&data, line);
}

int MIN_object_object(tag_t object1, tag_t object2, double, double* distance, double point1[3], double point2[3]) {
    if (!distance || !point1 || !point2) return HM_ERR_NULL_POINTER;
    return HM_MODL_ask_minimum_dist(object1, object2, 0, nullptr, 0, nullptr, distance, point1, point2);
}

int pxpben(tag_t face, double ranges[4]) {
    if (!ranges) return HM_ERR_NULL_POINTER;
    if (!host::find(face)) return HM_ERR_INVALID_TAG;
    if (!host::find_face(face)) return HM_ERR_WRONG_TYPE;
    ranges[0] = 0.0;
    ranges[1] = 1.0;
    ranges[2] = 0.0;
    ranges[3] = 1.0;
    return 0;
}
