// caldwyn: the host's clearance analysis. A clearance data set is a named
// object of a part (type HM_clearance_dataset_type) that holds two object
// lists with their list data, a list of configurations and a clearance zone
// per object. A configuration has a name and positions; a position has a 4x4
// transform (MTX4_t of tessik.h), an int the host keeps for it and the
// objects it moves. Data sets are model objects: undo restores them.
// Every function answers 0 or a host_error_code: HM_ERR_NULL_POINTER for a
// null output or required input (nothing written), HM_ERR_INVALID_TAG for a
// tag that is no live data set (or an unknown object), HM_ERR_BAD_ARGUMENT
// for a list, configuration or position out of range, a negative count or a
// matrix that is not finite. Nothing changes on failure.
#ifndef CARVELL_HOST_CALDWYN_H
#define CARVELL_HOST_CALDWYN_H

#include "host_types.h"
#include "tessik.h"

#include <stdbool.h>

// Size of a name buffer of a data set or a configuration: names of at most
// 132 characters.
enum { CLEAR_NAME_BUFSIZE = 133 };

/* ---- data sets of a part ---- */
// Number of clearance data sets of the part (HM_ERR_INVALID_TAG: no part).
HOST_C_API int CLEAR_count_datasets(tag_t part, int* count);
// The part's data sets in creation order into the caller's array of `size`
// entries (at most `size` written; size from CLEAR_count_datasets).
HOST_C_API int CLEAR_ask_dataset_array(tag_t part, int size, tag_t* datasets);
// A copy of the data set's name, as it was given (case kept).
HOST_C_API int CLEAR_ask_dataset_name(tag_t dataset, char name[CLEAR_NAME_BUFSIZE]);

/* ---- object lists ---- */
// The kind of objects the lists hold: 0 bodies of the part, 1 occurrences of
// components. A new data set has 0; the setter takes 0 or 1.
HOST_C_API int CLEAR_ask_lists_obj_type(tag_t dataset, int* type);
HOST_C_API int CLEAR_set_lists_obj_type(tag_t dataset, int type);
// Replaces object list 1 or 2 by the count objects (0 empties it), with the
// list's comparison kind (0 to 4, the host's: 2 each object against its pair
// in the other list, 4 every object against every other) and a flag (0).
HOST_C_API int CLEAR_set_obj_list(tag_t dataset, int list, int kind, int count, const tag_t* objects, int flag);
// What the host keeps of a data set's lists, in the host's order.
typedef struct CLEAR_list_data_s {
    int obj_type;           // as CLEAR_ask_lists_obj_type
    int list1_kind;         // comparison kind last set for list 1 (0 never set)
    int list2_kind;         // comparison kind last set for list 2 (0 never set)
    int list1_count;        // objects in list 1
    int n_configurations;   // configurations of the data set
    int list2_count;        // objects in list 2
} CLEAR_list_data_t;
HOST_C_API int CLEAR_ask_list_data(tag_t dataset, CLEAR_list_data_t* data);

/* ---- configurations ---- */
HOST_C_API int CLEAR_ask_num_configurations(tag_t dataset, int* count);
// Number of positions of configuration `configuration` (0 = the first).
HOST_C_API int CLEAR_ask_num_configuration_positions(tag_t dataset, int configuration, int* count);
// A copy of configuration `configuration`'s name.
HOST_C_API int CLEAR_ask_configuration_name(tag_t dataset, int configuration, char name[CLEAR_NAME_BUFSIZE]);
// Position `position` of a configuration: its transform, its int and its
// objects in a new SM_alloc'd array the caller frees with SM_free (null when
// it has none). Any of matrix, value may be null; count and objects not.
HOST_C_API int CLEAR_ask_configuration_position_data(tag_t dataset, int configuration, int position,
                                                     MTX4_t* matrix, int* value, int* count, tag_t** objects);
// Replaces position `position` of a configuration by the transform, the int
// and the count objects (live objects).
HOST_C_API int CLEAR_set_configuration_position_data(tag_t dataset, int configuration, int position,
                                                     const MTX4_t* matrix, int value, int count,
                                                     const tag_t* objects);
// Removes every configuration of the data set.
HOST_C_API int CLEAR_remove_configurations(tag_t dataset);
// Appends a configuration named `name` (1 to 132 characters) with
// n_positions (>= 1) positions: position k has matrices[k], int 0 and the
// count objects (live objects; none for count 0).
HOST_C_API int CLEAR_add_configuration(tag_t dataset, int n_positions, const MTX4_t* matrices, int count,
                                       const tag_t* objects, const char* name);

/* ---- objects ---- */
// Whether an object of a component stands for a part that is not loaded (a
// component, or an occurrence of one, whose part is not in the session);
// false for any other live object.
HOST_C_API int CLEAR_obj_is_unloaded(tag_t object, bool* unloaded);
// Gives a live object the clearance zone `zone` in the data set (the
// tag of an expression holding the zone's distance; 0 takes the zone away).
HOST_C_API int HM_CLEAR_set_object_clear_zone(tag_t dataset, tag_t object, tag_t zone);

#endif
