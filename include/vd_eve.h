// Point-cloud envelope wizard: point-list files in the temporary directory,
// the storage of a text file as list rules of the part's root, and the
// convex solid of a point file. Decorated (C++) exports.
//
// Point-list files hold one point a line, "%f %f %f" (x, y, z, part units),
// in the directory that KWII_TMP_DIR names: "points_list_eve.txt" (series
// "points_list_eve_%d.txt" when it is locked) and "points_list_eve.pts"
// (series "points_list_eve_%d.pts"). The path of the last ".txt" list saved
// is remembered for the process.
//
// A stored text file is a series of list rules of "Root:" named base,
// base_1, base_2, ..., each of at most 2000 lines as quoted strings (a
// double quote or a tilde inside a line written with a tilde before it),
// with an integer rule base_count holding the number of lists.
//
// Tables and arrays handed out are blocks of the host's memory manager:
// free each row and then the table, or the array, with SM_free. Text
// buffers: out paths and names hold 133 bytes, the remembered path 257.
#ifndef CARVELL_VD_EVE_H
#define CARVELL_VD_EVE_H

#include "carvell_export.h"
#include "gostrel.h"
#include "host_types.h"
#include "quillon.h"

#define VD_EVE_NAME_SIZE 133
#define VD_EVE_PATH_SIZE 257
// Modes of VD_EVEWIZ_save_points_list_file_from_rq: the ".txt" list (its
// path remembered) and the ".pts" list.
#define VD_EVE_MODE_TXT 79
#define VD_EVE_MODE_PTS -1
// Most lists VD_EVEWIZ_save_points_list_file_from_rq writes (of 2000 lines
// each: 200 million lines).
#define VD_EVE_MAX_POINT_LISTS 100000

// Writes n points (flat when use_pointers is 0, else from the pointer array)
// into "points_list_eve.txt" or the first free name of its series, and
// remembers the path. Returns 0; -1 (null points with n > 0, n < 0, a null
// point pointer, a coordinate not finite (or, flat, beyond 1e12), n points
// that would pass 1 GiB, KWII_TMP_DIR unset, no free name, file not
// writable; no file written, nothing remembered);
// or the host's code when the file's protection cannot be reset.
CARVELL_CPP_EXPORT int VD_EVE_save_sampling_points(int n, int use_pointers, GQ_VECTOR_t* flat, double** pointers);

// Copies the remembered path into out (257 bytes; empty when none).
CARVELL_CPP_EXPORT void VD_EVE_ask_points_list_filename(char* out);

// Reads a table of numbers, one row per line that holds a token (tokens
// separated by blanks), into *table: *rows new rows of `columns` doubles.
// Returns 0; the existence code (1) for a missing file; -1 (null argument,
// columns < 1, a row with more or fewer tokens than columns, unreadable
// file). On failure *rows is 0 and *table null.
CARVELL_CPP_EXPORT int VD_EVE_read_points_list_file(const char* path, int columns, int* rows, double*** table);

// The same with three columns into one array of *count points.
CARVELL_CPP_EXPORT int VD_EVE_read_points_vector_file(const char* path, int* count, GQ_VECTOR_t** points);

// Stores the text file as list rules of "Root:" under `name` (count rule
// "<name>_count"), or, for a null name, under the first free of
// "%points_list", "%points_list2", "%points_list3", ... (free: neither it
// nor its count rule exists); out_name (133 bytes) receives the base.
// Returns the count rule's creation code (0); -1 (null path or out_name, an
// empty name, a name longer than 132 characters, a file that cannot be
// opened; no rule made) or a list rule's creation code.
CARVELL_CPP_EXPORT int VD_EVE_store_points_list_into_rq(const char* path, const char* name, char* out_name);

// Writes the lists base, base_1, ... base_<n_lists-1> of "Root:" one string
// a line into the point-list file of the mode (VD_EVE_MODE_TXT or
// VD_EVE_MODE_PTS; the mode is also the protection code). The base is the
// string rule "points_list_attri_name" of the owner, else "points_list";
// lists that do not exist are skipped. out_path (133 bytes) receives the
// path; in mode VD_EVE_MODE_TXT it is also remembered. Returns 0; -1 (null
// owner or out_path, n_lists negative or above VD_EVE_MAX_POINT_LISTS,
// another mode, KWII_TMP_DIR unset, a path longer than
// 132 characters, file not writable); or the host's code of a failing rule
// read or protection reset.
CARVELL_CPP_EXPORT int VD_EVEWIZ_save_points_list_file_from_rq(const char* owner, int n_lists, int mode,
                                                                char* out_path);

// The convex solid of the first n points of a point file ("%f %f %f" a
// line, kernel metres; read to single precision), made in the work part at
// its scale. *body is 0 until a body is made. Returns 0; -1 (null argument,
// n < 4, file cannot be opened); -2 (fewer than n points before the end or
// an empty line); or the host's code (points all on one plane, the solid
// refused, a host exception).
CARVELL_CPP_EXPORT int VD_EVE_create_bv_body_from_points(const char* path, int n, tag_t* body);

/* ---- wizard steps of an envelope study in an assembly ----
 * Tags are unsigned host tags; 4x4 placements are MTX4 transforms (points as
 * columns). Rule-language reference texts are those of VD_reference_object.
 * Engine-roll copies are components named "ROLL_MOVING_COMP_COPY_<i>". */

// Adds the part file (command-line form) as a component of the parent (the
// assembly part, or a component), opening the part quietly when it is not
// loaded; *instance receives the new instance. 0, or the host's code (of the
// name, of the opening: the load status's first code, or of the addition);
// a part opened here is closed again when the addition fails.
CARVELL_CPP_EXPORT int VD_EVEWIZ_add_part_to_assy(tag_t parent, const char* part_name, const char* refset,
                                                  const char* instance_name, double placement[4][4],
                                                  tag_t* instance);
// Makes the part's view named "TRIMETRIC" the work view; nothing without one.
CARVELL_CPP_EXPORT void VD_EVEWIZ_adjust_view(tag_t part);
// The object that stands for a component in the display part: its facetted
// model's occurrence, else its body's; a solid answers itself. 0, or -1 with
// *out 0 (no such object, another type, tag 0, null out).
CARVELL_CPP_EXPORT int VD_EVEWIZ_ask_obj_tag_of_component(tag_t object, tag_t* out);
// The work part's component whose part owns the object's prototype, and its
// name (133 bytes). 0; -1 when none, for null outputs, and (with *component
// the object itself) for a component or an object of the display part.
CARVELL_CPP_EXPORT int VD_EVEWIZ_ask_comp_tag_name_of_obj(tag_t object, tag_t* component, char* name);
// Moves (move_or_copy 1) or copies (2) the objects by the motion that carries
// from_csys onto to_csys; copies[i] receives each result. -1 for a
// coordinate system 0 or null arrays with n > 0; else the transformation's
// status.
CARVELL_CPP_EXPORT int VD_EVEWIZ_reposition_csys_to_csys(tag_t from_csys, tag_t to_csys, int n, tag_t* objects,
                                                         int move_or_copy, int layer, tag_t* copies);
// The clearance data set of the display part whose name is the given name
// upper-cased (the last one when several match); 0 when none.
CARVELL_CPP_EXPORT tag_t VD_EVEWIZ_find_dataset(const char* name);
// Places each engine-roll copy of the data set's moving objects at its
// object's transform followed by the motion of position 0 of the
// configurations (as many as the first configuration has positions).
CARVELL_CPP_EXPORT void VD_EVEWIZ_recover_static_position(tag_t dataset);
// The three axis points, in order, as the rows of the orientation matrix.
// 0; -1 for a null argument.
CARVELL_CPP_EXPORT int VD_EVEWIZ_create_reference_csys(Korvath::Math::Point3 axes[3], double matrix[9]);
// Appends the component's subtree to *array (SM_realloc'd; the caller frees
// it): the component itself when *count is 0, then its part-occurrence
// children in order, then each child's subtree the same way. 0; -1 (nothing
// changed) for null arguments or a tag that is no component.
CARVELL_CPP_EXPORT int VD_EVEWIZ_ask_child_part_tags(tag_t component, int* count, tag_t** array);
// Two rule-language list texts (SM_alloc'd; the caller frees them): the
// references of the components' subtrees (each child before its parent, each
// reference once) and of the work part's plain objects, "{a,b}" ("{}" when
// empty). 0; -1 (nothing allocated) for n < 0, null tags with n > 0 or null
// outputs.
CARVELL_CPP_EXPORT int VD_EVEWIZ_generate_envelope_obj_chain(int n, const tag_t* tags, char** components_text,
                                                             char** objects_text);
// The components (with their subtrees, each once) and the work part's plain
// objects among the tags, in SM_alloc'd arrays (null when empty). 0; -1
// (nothing allocated) for n < 0, null tags with n > 0 or null outputs.
CARVELL_CPP_EXPORT int VD_EVEWIZ_get_eveobj_tags(int n, const tag_t* tags, int* n_components, tag_t** components,
                                                 int* n_objects, tag_t** objects);

#endif
