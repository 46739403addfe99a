// omvra: assemblies. Included by omvra.h; not included on its own.
// Components and occurrences, part files, and the features of bodies.
#ifndef CARVELL_HOST_OMVRA_ASSEMBLIES_H
#define CARVELL_HOST_OMVRA_ASSEMBLIES_H

#include "../host_types.h"

#include <stdbool.h>

/* ---- components and occurrences ----
 * A component (type 63) places a part in an assembly part; it is the
 * occurrence of that part there. An occurrence of an object stands in the
 * assembly part for an object (its prototype) of a component's part. */

// Capacity of the part-name and the reference-set/instance-name buffers of
// HM_ASSEM_ask_component_data, terminator included.
#define HM_MAX_FSPEC_BUFSIZE 257
#define HM_MAX_NAME_BUFSIZE 133

HOST_C_API bool HM_ASSEM_is_occurrence(tag_t object);   // false for 0 and unknown tags
// The prototype of an occurrence (a component's prototype is its part, 0 when
// that part is not loaded); any other object is its own prototype; 0 for none.
HOST_C_API tag_t HM_ASSEM_ask_prototype_of_occ(tag_t occurrence);
// The component that places the work part in the display part; 0 when the
// work part is the display part or is not placed in it.
HOST_C_API tag_t HM_ASSEM_ask_work_occurrence(void);
// A component's data: part file name, reference-set name, instance name (into
// buffers of HM_MAX_FSPEC_BUFSIZE / HM_MAX_NAME_BUFSIZE bytes), origin, the
// orientation (rows are the axes) and the 4x4 transform (MTX4 layout); every
// output may be null. A placement that is not finite answers
// HM_ERR_BAD_ARGUMENT with nothing written.
HOST_C_API int HM_ASSEM_ask_component_data(tag_t component, char* part_name, char* refset_name,
                                           char* instance_name, double origin[3], double matrix[9],
                                           double transform[16]);

/* ---- part files ---- */

// Outcome of opening a part file. On failure `failed` is set and the file
// names (SM_alloc'd strings in an SM_alloc'd array) and their statuses
// (SM_alloc'd) name what could not be loaded; the caller frees all three.
typedef struct HM_PART_load_status_s {
    bool failed;
    int n_parts;
    char** file_names;
    int* statuses;
} HM_PART_load_status_t;

// Opens a part file into a new part (a part already loaded from that file is
// answered as it is); the part becomes the work and display part.
// HM_ERR_FILE with a failed load status when the file cannot be read.
HOST_C_API int HM_PART_open_quiet(const char* file_name, tag_t* part, HM_PART_load_status_t* status);

// How HM_PART_export_with_options writes: `new_file` replaces the file's
// contents instead of adding to them; `parameters` and `expressions` are the
// host's modes for feature parameters and expressions (exported objects
// always carry plain geometry in this host, so they are only range-checked:
// 0..2 each).
typedef struct HM_PART_export_options_s {
    bool new_file;
    int parameters;
    int expressions;
} HM_PART_export_options_t;

// Copies the objects into the part file: into its part when that part is
// loaded (which is then saved), otherwise into the file itself (created when
// missing). Occurrences are copied as the geometry they show.
HOST_C_API int HM_PART_export_with_options(const char* file_name, int count, const tag_t* objects,
                                           const HM_PART_export_options_t* options);
HOST_C_API int HM_PART_save(tag_t part);   // writes the part to its file
// Closes a part: the part and its objects leave the session (scope and
// mode are accepted as the host's, 0/1 each). A closed work or display part
// leaves none.
HOST_C_API int HM_PART_close(tag_t part, int scope, int mode);

/* ---- features of bodies ---- */

// Features of a body, of the body of a face or of an edge, in creation order,
// in a new list (empty when there are none).
HOST_C_API int HM_MODL_ask_body_feats(tag_t body, hm_list_p_t* features);
HOST_C_API int HM_MODL_ask_face_feats(tag_t face, hm_list_p_t* features);
HOST_C_API int HM_MODL_ask_edge_feats(tag_t edge, hm_list_p_t* features);
HOST_C_API int HM_MODL_is_body_feature(tag_t feature, bool* is_body_feature);  // it made a body
HOST_C_API int HM_MODL_ask_feat_body(tag_t feature, tag_t* body);              // 0 when it made none
// Objects the feature made (its body first, if any), in an SM_alloc'd array
// (null when there are none).
HOST_C_API int HM_MODL_ask_feat_object(tag_t feature, int* count, tag_t** objects);
HOST_C_API int HM_MODL_ask_feat_type(tag_t feature, char** type);   // kind text, SM_alloc'd
HOST_C_API int HM_MODL_ask_suppress_feature(tag_t feature, bool* suppressed);
HOST_C_API int HM_MODL_suppress_feature(hm_list_p_t features);      // suppresses each listed feature

/* ---- linked features ----
 * A linked feature (type 205) copies an object of a loaded part into the
 * work part, placed as a component places that part; the copy stays with
 * the feature and the feature remembers its source. */

// A linked copy of a face: a sheet body of the work part holding the face
// placed by `component` (0: where it stands), made by a new linked feature.
// HM_ERR_WRONG_TYPE when `face` is no face or `component` no component,
// HM_ERR_NO_PART without a work part; *feature is 0 on failure.
HOST_C_API int HM_LINK_create_linked_face(tag_t face, tag_t component, tag_t* feature);
// The geometry a linked feature made: the linked face (or curve). 0 and
// HM_ERR_WRONG_TYPE for a feature that is no link.
HOST_C_API int HM_LINK_ask_linked_feature_geom(tag_t feature, tag_t* geometry);
// The object a linked feature copies. With `follow` set, a source that is
// itself the geometry of a linked feature is followed to the first object
// that is no linked copy. 0 and HM_ERR_WRONG_TYPE for a feature that is no
// link; 0 when the source is gone.
HOST_C_API int HM_LINK_ask_link_source(tag_t feature, int follow, tag_t* source);

/* ---- sketches ----
 * A sketch is a feature (type 205, kind "SKETCH") of the work part: a name,
 * the plane it is drawn in (an origin and an orientation whose rows are the
 * sketch's x, y and z axes) and its member curves. */
typedef struct HM_SKET_info_s {
    char name[31];            // at most 30 characters
    double orientation[9];    // rows: the sketch's x, y and z axes
    double origin[3];
} HM_SKET_info_t;
// The sketch that holds the curve as a member; 0 (and result 0) when none.
HOST_C_API int SKET_ask_sketch_of_member(tag_t curve, tag_t* sketch);
// Name and placement of a sketch; HM_ERR_WRONG_TYPE for a feature that is no sketch.
HOST_C_API int HM_SKET_ask_sketch_info(tag_t sketch, HM_SKET_info_t* info);
// The live member curves of a sketch in a new SM_alloc'd array (null when none).
HOST_C_API int HM_SKET_ask_geoms_of_sketch(tag_t sketch, int* count, tag_t** geoms);

/* ---- reference sets ----
 * A reference set (type 69) of the work part: a name (at most 30
 * characters), an origin, an orientation (rows are the axes) and members. */
HOST_C_API int HM_ASSEM_create_ref_set(const char* name, const double origin[3], const double matrix[9],
                                       const tag_t* members, int count, tag_t* ref_set);
HOST_C_API int HM_ASSEM_add_ref_set_members(tag_t ref_set, int count, const tag_t* members);
// Alive members in an SM_alloc'd array (null when none); the caller frees it.
HOST_C_API int HM_ASSEM_ask_ref_set_members(tag_t ref_set, int* count, tag_t** members);
HOST_C_API int HM_ASSEM_remove_ref_set_members(tag_t ref_set, int count, const tag_t* members);

/* ---- occurrences of objects ---- */
// The occurrence that stands for `prototype` (an object of the component's
// part) under the component; 0 for none.
HOST_C_API tag_t HM_ASSEM_find_occurrence(tag_t component, tag_t prototype);
// The component (part occurrence) an occurrence belongs to; a component
// answers itself; 0 for any other object.
HOST_C_API tag_t HM_ASSEM_ask_part_occurrence(tag_t occurrence);

/* ---- assembly structure and loading options ---- */
// The part-occurrence children of a component, in creation order (for a
// part: the components placed in it directly), in an SM_alloc'd array (null
// when there are none); the caller frees it.
HOST_C_API int HM_ASSEM_ask_part_occ_children(tag_t part_occ, int* count, tag_t** children);
// The instance that names a component in its assembly; 0 for none.
HOST_C_API tag_t HM_ASSEM_ask_inst_of_part_occ(tag_t part_occ);

// How the session loads the components of assemblies. Every field is 0 or 1
// except `load_from` (0 the assembly's folder, 1 the search folders, 2 as
// saved). This host always loads a part fully; the fields are kept for the
// callers that set and restore them.
typedef struct HM_ASSEM_options_s {
    int load_from;
    int load_components;
    int load_latest;
    int partial_loading;
    int keep_work_part;
    int update_structure;
    int emphasize_work_part;
    int show_unloaded;
    int load_fully;             // components load their whole part
    int load_interpart_data;    // data that links parts are loaded with them
} HM_ASSEM_options_t;
HOST_C_API int HM_ASSEM_ask_assem_options(HM_ASSEM_options_t* options);
// HM_ERR_BAD_ARGUMENT (nothing changed) for a field out of its range.
HOST_C_API int HM_ASSEM_set_assem_options(const HM_ASSEM_options_t* options);

#endif
