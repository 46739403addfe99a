// omvra: the host's public programming interface, the HM_ functions.
// Every function answers 0 on success or a host_error_code, and refuses null
// output pointers (HM_ERR_NULL_POINTER) without writing anything.
#ifndef CARVELL_HOST_OMVRA_H
#define CARVELL_HOST_OMVRA_H

#include "host_types.h"

#include <stdbool.h>

/* ---- sessions ---- */
// Opens a host-API session. Sessions nest: each HM_initialize needs its own
// HM_terminate, and only the last one closes the session.
HOST_C_API int HM_initialize(void);
HOST_C_API int HM_terminate(void);
HOST_C_API bool HM_is_initialized(void);

/* ---- undo marks of the modelling interface ---- */
// The marks of farquil.h (UNDO_mark_t, nesting, whole-model restore).
// Sets a mark (name may be null) and writes it to *mark.
HOST_C_API int HM_UNDO_set_mark(int visibility, const char* name, int* mark);
// Restores the model to the most recently set mark that still exists and
// forgets that mark; HM_ERR_UNDO_MARK when there is none.
HOST_C_API int HM_UNDO_undo_to_last_mark(void);
// Restores the model to the newest mark of that name and forgets the marks
// set after it (that mark stays); HM_ERR_UNDO_MARK when no mark has the name.
HOST_C_API int HM_UNDO_undo_to_mark(const char* name);
// Forgets every mark and keeps the model as it is.
HOST_C_API int HM_UNDO_delete_all_marks(void);

/* ---- memory of enquiries ---- */
HOST_C_API void HM_free(void* block);   // same allocator as SM_free
// A block of the memory manager (free with HM_free): 0, or HM_ERR_BAD_ARGUMENT
// (size 0, *block null) when no block was made.
HOST_C_API int HM_allocate_memory(size_t size, void** block);
HOST_C_API const char* HM_get_fail_message(int code);  // static text; never null

/* ---- objects ---- */
HOST_C_API int HM_OBJ_ask_type_and_subtype(tag_t object, int* type, int* subtype);
HOST_C_API int HM_OBJ_ask_status(tag_t object);        // 3 alive, 0 deleted or unknown
HOST_C_API int HM_OBJ_delete_object(tag_t object);
HOST_C_API int HM_OBJ_delete_array_of_objects(int count, const tag_t* objects);
// Writes a copy of the object's name (at most size-1 characters); "" when unnamed.
HOST_C_API int HM_OBJ_ask_name(tag_t object, char* name, size_t size);
HOST_C_API int HM_OBJ_set_name(tag_t object, const char* name);
HOST_C_API int HM_OBJ_ask_layer(tag_t object, int* layer);
HOST_C_API int HM_OBJ_set_layer(tag_t object, int layer);   // layers 1..256
HOST_C_API int HM_OBJ_ask_color(tag_t object, int* colour);
HOST_C_API int HM_OBJ_set_color(tag_t object, int colour);
HOST_C_API int HM_OBJ_ask_blank_status(tag_t object, bool* blanked);
HOST_C_API int HM_OBJ_set_blank_status(tag_t object, bool blanked);
// Line font of an object: 0 solid .. HM_FONT_LAST; 5 dotted.
enum { HM_FONT_DOTTED = 5, HM_FONT_LAST = 7 };
HOST_C_API int HM_OBJ_set_font(tag_t object, int font);
HOST_C_API int HM_OBJ_ask_font(tag_t object, int* font);
// Grid line counts of a face along u and v (hm5401 sets, hm5402 asks; 0 none).
HOST_C_API int hm5401(tag_t face, int u_count, int v_count);
HOST_C_API int hm5402(tag_t face, int* u_count, int* v_count);
// The older host's names (only the 2003 host defines them): hm5401_ is
// hm5401; hm6520_ is the older Boolean of two bodies, of which operation 2
// (subtract) is offered: the tool is taken from the target in place (the
// target holds every piece left, the tool is consumed) and *body_count is the
// number of connected pieces. HM_ERR_GEOMETRY, with nothing changed, when
// the kernel fails or nothing of the target would be left.
HOST_C_API int hm5401_(tag_t face, int u_count, int v_count);
HOST_C_API int hm6520_(tag_t target, tag_t tool, int operation, int* body_count);
HOST_C_API int HM_OBJ_ask_owning_part(tag_t object, tag_t* part);
// Objects of a part of the given type in creation order: pass 0 to start,
// the previous answer to go on; 0 ends.
HOST_C_API tag_t HM_OBJ_cycle_objs_in_part(tag_t part, int type, tag_t current);
// Every object of a part, of any type but the part itself, in creation
// order: pass 0 to start, the previous answer to go on; 0 ends.
HOST_C_API tag_t HM_OBJ_cycle_all(tag_t part, tag_t current);
// Objects of the part with the given name (and type, when type > 0).
HOST_C_API tag_t HM_OBJ_cycle_by_name_and_type(tag_t part, const char* name, int type, tag_t current);
// The next object of the work part with the name after *object (0 starts
// the walk); *object becomes 0 after the last one. HM_ERR_NO_PART without a
// work part.
HOST_C_API int HM_OBJ_cycle_by_name(const char* name, tag_t* object);

/* ---- attributes of objects ---- */
HOST_C_API int HM_ATTR_set_string(tag_t object, const char* title, const char* value);
HOST_C_API int HM_ATTR_set_integer(tag_t object, const char* title, int value);
HOST_C_API int HM_ATTR_set_real(tag_t object, const char* title, double value);
// String value as an SM_alloc'd copy; HM_ERR_NOT_FOUND when the attribute is missing.
HOST_C_API int HM_ATTR_ask_string(tag_t object, const char* title, char** value);
HOST_C_API int HM_ATTR_ask_integer(tag_t object, const char* title, int* value);
HOST_C_API int HM_ATTR_ask_real(tag_t object, const char* title, double* value);
// Attribute types of the typed calls; HM_ATTR_any matches every type.
enum HM_ATTR_type { HM_ATTR_any = 0, HM_ATTR_integer = 1, HM_ATTR_real = 2, HM_ATTR_string = 3 };
// Deletes the attribute of that title and type; 0 also when there is none.
HOST_C_API int HM_ATTR_delete(tag_t object, int type, const char* title);
HOST_C_API int HM_ATTR_count(tag_t object, int* count);

/* ---- parts ---- */
HOST_C_API tag_t HM_PART_ask_display_part(void);
HOST_C_API int HM_PART_set_display_part(tag_t part);
HOST_C_API int HM_PART_ask_units(tag_t part, int* units);       // 1 millimetres, 2 inches
HOST_C_API int HM_PART_ask_part_name(tag_t part, char* file_name, size_t size);
HOST_C_API tag_t HM_PART_ask_part_tag(const char* file_name);   // 0 when not loaded
HOST_C_API int HM_PART_is_loaded(const char* file_name);        // 1 fully loaded, 0 not
HOST_C_API tag_t HM_ASSEM_ask_work_part(void);
HOST_C_API int HM_ASSEM_set_work_part(tag_t part);
HOST_C_API int HM_MODL_ask_distance_tolerance(double* tolerance);
HOST_C_API int HM_MODL_set_distance_tolerance(double tolerance);
HOST_C_API int HM_MODL_ask_angle_tolerance(double* degrees);
HOST_C_API int HM_MODL_set_angle_tolerance(double degrees);
// Carries out the model update: deletions logged with UPDATE_log_entity_to_delete.
HOST_C_API int HM_MODL_update(void);

/* ---- lists ---- */
HOST_C_API int HM_MODL_create_list(hm_list_p_t* list);
HOST_C_API int HM_MODL_put_list_item(hm_list_p_t list, tag_t item);
HOST_C_API int HM_MODL_ask_list_count(hm_list_p_t list, int* count);   // null list: 0
// Zero-based index; HM_ERR_BAD_ARGUMENT outside the list.
HOST_C_API int HM_MODL_ask_list_item(hm_list_p_t list, int index, tag_t* item);
// Frees the nodes and sets the handle to null.
HOST_C_API int HM_MODL_delete_list(hm_list_p_t* list);

/* ---- what the user sees ---- */
HOST_C_API int HM_UI_open_listing_window(void);
HOST_C_API bool HM_UI_is_listing_window_open(void);
HOST_C_API int HM_UI_write_listing_window(const char* text);   // text as given, newlines included
HOST_C_API int HM_print_syslog(const char* text, bool flush);  // one line of the system log

/* ---- attributes of the part, typed ---- */
typedef struct HM_ATTR_value_s {
    int type;   // HM_ATTR_integer, HM_ATTR_real or HM_ATTR_string
    union {
        int integer;
        double real;
        const char* string;   // copied
    } value;
} HM_ATTR_value_t;
// The holder of the work part's own attributes.
HOST_C_API int HM_ATTR_ask_part_attribute(tag_t* holder);
// Sets (or replaces) the attribute of that title with the typed value.
HOST_C_API int HM_ATTR_assign(tag_t object, const char* title, const HM_ATTR_value_t* value);
// Number of attributes of the type (HM_ATTR_any: all).
HOST_C_API int HM_ATTR_count_attributes(tag_t object, int type, int* count);

/* ---- layers, layer categories and groups ---- */
enum HM_LAYER_status { HM_LAYER_WORK_LAYER = 0 };
#define HM_LAYER_CATEGORY_NAME_MAX 30
#define HM_LAYER_CATEGORY_DESCR_MAX 80
// A layer category: a name (at most 30 characters), a mask of the 256
// layers (element i is layer i + 1) and a description (at most 80).
typedef struct HM_LAYER_category_info_s {
    char name[HM_LAYER_CATEGORY_NAME_MAX + 1];
    bool layer_mask[256];
    char descr[HM_LAYER_CATEGORY_DESCR_MAX + 1];
} HM_LAYER_category_info_t;
// Makes the layer (1..256) the work layer of the work part: new objects go on it.
HOST_C_API int HM_LAYER_set_status(int layer, int status);
HOST_C_API int HM_LAYER_ask_work_layer(int* layer);
// Creates a category (type 12) in the work part; HM_ERR_BAD_ARGUMENT for an
// empty or too long name or description, or a name the part already has.
HOST_C_API int HM_LAYER_create_category(const HM_LAYER_category_info_t* info, tag_t* category);
HOST_C_API int HM_LAYER_ask_category_info(tag_t category, HM_LAYER_category_info_t* info);
// A group (type 15) of existing objects of the work part.
HOST_C_API int HM_GROUP_create_group(const tag_t* members, int count, tag_t* group);
HOST_C_API int HM_GROUP_add_member_to_group(tag_t member, tag_t group);
// Alive members in an SM_alloc'd array (null when none).
HOST_C_API int HM_GROUP_ask_group_data(tag_t group, tag_t** members, int* count);
// Dissolves the group; its members stay.
HOST_C_API int HM_GROUP_ungroup_top(tag_t group);

/* ---- the rest of the interface, by area ---- */
#include "omvra/math.h"        // vectors, matrices, coordinate systems, transformations
#include "omvra/curves.h"      // points, lines, arcs, conics, splines, planes, evaluation, intersection
#include "omvra/bodies.h"      // bodies, faces, edges, boxes, distance, sewing, ruled and bounded sheets
#include "omvra/rules.h"       // rule-language queries and rule creation
#include "omvra/assemblies.h"  // components, occurrences, part files, features
#include "omvra/motion.h"      // motion environment, links, joints, parameter objects, mass properties
#include "omvra/annotations.h" // notes: texts placed at points
#include "omvra/scenarios.h"   // simulation scenario part files

#endif
