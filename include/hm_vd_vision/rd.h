// Reflection and refraction data (C++ linkage): where light from points of
// source objects reaches the driver's eye after reflection on a surface (a
// plane object, a datum plane or faces), or on the rear face of a glass
// plate with refraction at its front face; the grouping of picked faces into
// smooth sets; each source's error number; the result as named geometry.
//
// Sources are points (type 2), curves (3, 5, 6, 7, 9) and edges (70/3); other
// objects are skipped. The surface kind is that of the first surface object.
// Angles are degrees. The distance tolerance of the searches is 0.1 in a
// metric work part, 0.004 otherwise. Arrays handed out are allocated with
// the host's memory manager; the caller frees each point, each row, then the
// arrays, with SM_free. No status is returned: a point whose path is not
// found has a zero result point and a false flag. The display is suspended
// while they work (left on at a checking level of 1 and above).
//
// What the exports refuse (they hand out nothing, build nothing and write
// no error number): a negative count or a count without its array, an eye
// or a number (offset, thickness, index, angle tolerance) that is not
// finite or lies beyond the host's model space (1e12 part units), and more
// than HM_VD_RD_MAX_POINTS points asked per source. A path whose points come
// out beyond the model space counts as not found.
#ifndef CARVELL_HM_VD_VISION_RD_H
#define CARVELL_HM_VD_VISION_RD_H

#include "carvell_export.h"
#include "host_types.h"

// The most points the exports take along one source.
#define HM_VD_RD_MAX_POINTS 100000

// Rows of input points: a point is one row; a curve with corners a row per
// segment (at least 3 points); a smooth curve or an edge N points (chained
// curves a row each, sized by their share of the loop's length). Groups are
// the rows of one source piece. Reflection: result points then input points
// per row; found flags per row; closed flags per row. A closed row whose
// first point was found begins at its first point not found.
CARVELL_CPP_EXPORT void HM_VD_RD_create_reflect_data(int n_surfaces, const tag_t* surfaces, bool rear, int n_sources,
                                                     const tag_t* sources, const double eye[3], int n_points,
                                                     double offset, double angle_tolerance, int* group_count,
                                                     int** group_sizes, int* row_count, int** points_per_row,
                                                     double**** result_points, double**** input_points,
                                                     bool*** found, bool** closed);
// The same for a rear-surface mirror behind a glass plate of the thickness
// and refraction index: mirror, input, entry and exit points per row. The
// surface objects are the plate's front face (its rear face with the rear
// flag): a plane object, a datum plane or faces.
CARVELL_CPP_EXPORT void HM_VD_RD_create_refract_data(int n_surfaces, const tag_t* surfaces, bool rear, int n_sources,
                                                     const tag_t* sources, const double eye[3], int n_points,
                                                     double index, double thickness, double angle_tolerance,
                                                     int* group_count, int** group_sizes, int* row_count,
                                                     int** points_per_row, double**** mirror_points,
                                                     double**** input_points, double**** entry_points,
                                                     double**** exit_points, bool*** found, bool** closed);
// Groups of the objects: a plane or datum plane alone; faces with every
// face joining them smoothly along a shared edge (breadth first from the
// first face in input order); other objects in no group.
CARVELL_CPP_EXPORT void HM_VD_RD_judge_face_continuity(int n_objects, const tag_t* objects, int* group_count,
                                                       int** group_sizes, tag_t*** groups);
// Error number of each source (an array of n_sources, zeroed then written):
// 0 covered, 1 an end stretch left uncovered by more than the largest
// spacing of the points on it, 2 no point on it (also any other object
// kind), 3 a curve that touches a surface object.
CARVELL_CPP_EXPORT void HM_VD_RD_ask_error_no(int n_surfaces, const tag_t* surfaces, int n_sources,
                                              const tag_t* sources, int n_points, double** points,
                                              int** error_numbers);

// 0 reflection, any other value refraction.
typedef int refl_reflect_type_t;
// Display settings: result curves of reflection and of refraction, then the
// rays of each (drawn only when their flag is set).
struct refl_output_s {
    struct entry {
        unsigned char flag;
        unsigned int colour;
        unsigned int layer;
    } display[4];
};
// The searches of the data exports on the sources, and the results as
// geometry named "Reflect Data" or "Refract Data" in the settings' colour and
// layer, appended to the caller's list: a point or a spline per run of found
// points (periodic for a closed row found all round; joined per source curve
// with corners), and 2 (reflection) or 4 (refraction) lines per found point
// when the rays are on. error_numbers: as HM_VD_RD_ask_error_no (3 also for
// a point source touching a surface).
CARVELL_CPP_EXPORT void HM_VD_RD_create_reflect_refract_geometry(refl_reflect_type_t type,
                                                                 const refl_output_s& settings, int n_surfaces,
                                                                 const tag_t* surfaces, bool rear, int n_sources,
                                                                 const tag_t* sources, const double eye[3],
                                                                 int n_points, double index, double thickness,
                                                                 double angle_tolerance, hm_list_p_t* list,
                                                                 int* error_numbers);

#endif
