// Body utilities of the toolbox (plain names): boxes in a coordinate
// system, mapping object lists between a coordinate system and absolute,
// datum-plane parameters, the placement of a component, and the operations
// that build sheets and solids (bounded planes, ruled sheets, ellipsoids,
// scaled copies, faces sewn into one sheet).
//
// A coordinate system is its origin (double[3]) and its orientation
// (double[9], rows are the axes). Arrays handed back are allocated with the
// host's memory manager and freed by the caller with SM_free; lists handed
// back are deleted by the caller with HM_MODL_delete_list. A null pointer
// answers HM_ERR_NULL_POINTER and a coordinate, matrix value or factor that
// is not finite (NaN, infinite) HM_ERR_BAD_ARGUMENT, with nothing built and
// no output written (no copy for HM_VD_scale_object); a result that comes
// out not finite is HM_ERR_GEOMETRY, never written.
#ifndef CARVELL_HM_VD_BODIES_H
#define CARVELL_HM_VD_BODIES_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// Box of the object aligned to the coordinate system, written in that
// system's coordinates: minimum x, y, z then maximum x, y, z. Answers the
// result of the host's aligned-box query; leaves no objects behind.
CARVELL_C_EXPORT int HM_VD_ask_bounding_box_local(tag_t object, const double origin[3], const double matrix[9],
                                                  double box[6]);

// A new list holding, in order, each object of the list mapped from the
// coordinate system into absolute coordinates (new objects). Answers the
// result of storing the last item (of the count query for an empty list), or
// the code of the first mapping that failed (that object is left out).
CARVELL_C_EXPORT int VD_map_geom_csys2abs_list(hm_list_p_t list, const double origin[3], const double matrix[9],
                                               hm_list_p_t* mapped);
// The same from absolute coordinates into the coordinate system.
CARVELL_C_EXPORT int VD_map_geom_abs2csys_list(hm_list_p_t list, const double origin[3], const double matrix[9],
                                               hm_list_p_t* mapped);

// Origin and normal of a datum plane (type 197) or datum-plane feature (type
// 205 of kind "DATUM_PLANE"). 875033 for other objects and for a feature
// without its one datum (outputs then untouched); otherwise the host's result.
CARVELL_C_EXPORT int HM_VD_ask_datum_plane_parms(tag_t datum, double origin[3], double normal[3]);

// Placement of the loaded part of that name in the display part: the origin
// and the x and y axes of its work occurrence; (0, 0, 0), (1, 0, 0) and
// (0, 1, 0) when it has none or is not loaded. The work part is restored and
// the display resumed; answers the host's failure to read the placement (one
// that is not finite: HM_ERR_BAD_ARGUMENT, the defaults written), else the
// result of resuming the display.
CARVELL_C_EXPORT int HM_VD_ask_component_csys(const char* part_name, double origin[3], double x_axis[3],
                                              double y_axis[3]);

// Planar sheet bounded by all curves of the list as one string. 0, -1 for a
// null or empty list, or the host's failure (its message also goes to the
// system log); *sheet is 0 unless one was made.
CARVELL_C_EXPORT int HM_VD_create_bplane(hm_list_p_t curves, tag_t* sheet);

// Ruled sheet between the curves of list 1 (a point alone makes a cone) and
// those of list 2, the second string taken as given when `same_direction` is
// set and reversed otherwise. The options (the host's alignments) are tried in
// order: 0 at the first success, else the last failure; -1 when there are no
// options. *sheet is 0 unless one was made. `value` goes to the host as is.
CARVELL_C_EXPORT int HM_VD_create_ruled(hm_list_p_t list1, hm_list_p_t list2, int value, bool same_direction,
                                        const int* options, int n_options, tag_t* sheet);

// Ellipsoid body about the centre with the semi-axes along the x direction,
// the y direction (axes[0..2], axes[3..5]) and their normal. Answers the
// result of the scaling; *body is 0 (nothing left behind) on failure.
// HM_ERR_NULL_POINTER for a null pointer; HM_ERR_BAD_ARGUMENT (nothing built)
// for a value that is not finite or a semi-axis whose doubled length is not
// finite. The scale factors reach the host at full precision.
CARVELL_C_EXPORT int HM_VD_create_ellipsoid(const double centre[3], const double semi_axes[3], const double axes[6],
                                            tag_t* body);

// A copy of the object (a feature stands for its object) scaled uniformly
// about the centre by |factor|; *copy is 0 when the host made none.
CARVELL_C_EXPORT void HM_VD_scale_object(tag_t object, const double centre[3], double factor, tag_t* copy);

// Internal to the library (not exported). Extracts each face as a sheet and,
// for n above 1, sews the first n - 1 onto the last at five times the
// distance tolerance. After a sew the array holds the sewn sheet followed by
// any sheets the sew could not join (count 1 only when every face went into
// the one sheet); a failed sew leaves the extracted sheets (count n). Faces
// that cannot be extracted are left out. Always 0; the caller frees the array.
int extract_and_sew_faces(int n, const tag_t* faces, int* count, tag_t** sheets);
// As extract_and_sew_faces, except that a failed sew gives count 0, a null
// array and no sheets left in the part.
int extract_and_sew_faces_with_disjoint(int n, const tag_t* faces, int* count, tag_t** sheets);

#endif
