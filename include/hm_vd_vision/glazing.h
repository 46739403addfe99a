// Glazing checks (C++ linkage): whether glazing faces lie in front of or
// behind the eyellipse, and characteristic points of the forward glazing
// cut by planes and lines the host supplies.
#ifndef CARVELL_HM_VD_VISION_GLAZING_H
#define CARVELL_HM_VD_VISION_GLAZING_H

#include "carvell_export.h"
#include "host_types.h"

// Points exchanged with the forward-data export (absolute): slots 0-5 and
// 10-11 in (plane points and normals), 12-16 out, 6-9 unused.
typedef struct output_s {
    double slot[17][3];   // [length] points, [-] normals
} output_t;

// Slots of output_s.
enum glaze_slot_e {
    GLAZE_SECTION_POINT = 0,
    GLAZE_SECTION_NORMAL = 1,
    GLAZE_PLANE2_POINT = 2,
    GLAZE_PLANE2_NORMAL = 3,
    GLAZE_PLANE3_POINT = 4,
    GLAZE_PLANE3_NORMAL = 5,
    GLAZE_PLANE4_POINT = 10,
    GLAZE_PLANE4_NORMAL = 11,
    GLAZE_SECTION_MIN_Y = 12,
    GLAZE_SECTION_MAX_Y = 13,
    GLAZE_HIT_LEFT = 14,     // lateral coordinate <= 0
    GLAZE_HIT_RIGHT = 15,    // lateral coordinate > 0
    GLAZE_NEAREST = 16
};

// Mode 0: every face must reach ahead of the eyellipse (box minimum x below
// the middle centroid's x less the first 95th-percentile axis length); mode
// 2: behind it (maximum x above x plus that length); other modes ask
// nothing. True when every face passes, also for a face count below 1; false
// when the eyellipse's "Centroid_coords:" or "Axis_Length_95:" attribute is
// missing or short, for a null prefix, faces missing for a positive count,
// or a csys not finite or beyond the host's model space (1e12 part units).
CARVELL_CPP_EXPORT bool HM_VD_GLAZE_check_glazing_face(int mode, int face_count, const tag_t* faces,
                                                       const char* eyellipse_prefix, const double origin[3],
                                                       const double matrix[9]);

// Fills slots 12 to 16: the section's lateral extremes, where the sight line
// (planes 2 and 3) and its mirror image pierce the glazing, and the glazing
// point nearest to the line of planes 4 and 3. Returns 0; 1 no faces (or a
// null argument, a count without its array, or a csys or input slot not
// finite or beyond the host's model space, 1e12 part units) or faces that
// do not sew into one sheet; 2 a bad section;
// 3 a section that does not cross the centre plane; 4 a sight line that
// meets a face in more than one point or more than one face (or planes that
// meet in no line); 5 a sight line that misses the glazing. The part is
// rolled back on every exit; slots written before a failure keep their values.
CARVELL_CPP_EXPORT int HM_VD_GLAZE_forward_glazing_data(int face_count, const tag_t* faces, const double origin[3],
                                                        const double matrix[9], output_t* output);

#endif
