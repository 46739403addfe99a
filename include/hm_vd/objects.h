// Object, feature and list utilities of the toolbox (plain names).
//
// Arrays handed back are allocated with the host's memory manager and freed
// by the caller with SM_free; lists handed back are deleted by the caller
// with HM_MODL_delete_list. Feature records are the host's internal records
// of features (TAG_ask_pointer_of_tag), not tags.
#ifndef CARVELL_HM_VD_OBJECTS_H
#define CARVELL_HM_VD_OBJECTS_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// Layer argument of HM_VD_copy_object that keeps each copy on its own layer.
#define HM_VD_KEEP_LAYER 0xFFFFFFFFu

// Copies n objects in order into out[0..n-1], putting each copy on `layer`
// unless it is HM_VD_KEEP_LAYER. -1 as soon as one copy fails (the copies
// made before it stay and are stored); 0 otherwise, also for n below 1.
// -1 with nothing copied for a null array when n is above 0.
CARVELL_C_EXPORT int HM_VD_copy_object(unsigned int layer, int n, const tag_t* objects, tag_t* copies);
// Logs every non-null object of the list for deletion at the next update,
// deletes the list and nulls the handle; 0 for a null handle.
CARVELL_C_EXPORT int HM_VD_delete_obj_list(hm_list_p_t* list);
// Deletes an object: a solid body with its features, anything else at once.
CARVELL_C_EXPORT int HM_VD_delete_object(tag_t object);
// Removes a solid body with its features at the next update; 1 (the object
// logged for deletion all the same) when it is no solid body.
CARVELL_C_EXPORT int HM_VD_delete_object_feature(tag_t body);
// Puts every object of the list on the layer; a null list does nothing.
CARVELL_C_EXPORT void HM_VD_set_obj_array_layer(hm_list_p_t list, int layer);
// Appends the source's items to *destination, creating it when null; a null
// or empty source changes nothing.
CARVELL_C_EXPORT void HM_VD_add_list_item(hm_list_p_t* destination, hm_list_p_t source);
// The list's items in a new array; an empty list gives count 0 and null.
CARVELL_C_EXPORT int HM_VD_ipv_change_list_to_array(hm_list_p_t list, int* count, tag_t** objects);
// A new list (also for n below 1) of the n objects in order.
CARVELL_C_EXPORT int HM_VD_ipv_change_array_to_list(int n, const tag_t* objects, hm_list_p_t* list);
// A feature stands for its object: a body feature for its body, another
// feature for its first object (0 when it has none); anything else for itself.
CARVELL_C_EXPORT tag_t HM_VD_change_feat_to_obj(tag_t object);
// A feature yields its object when it has exactly one (else 0), anything
// else yields itself. Answers the host status of the feature's object query,
// or of the type query for anything else.
CARVELL_C_EXPORT int HM_VD_feat_to_datum_type(tag_t object, tag_t* datum);
// Feature records of a solid body in list order, in a new array of count
// pointers (allocated also for count 0). 1, count 0 and null, for anything
// that is no solid body.
CARVELL_C_EXPORT int HM_VD_ask_body_feats(tag_t body, int* count, void*** feature_records);
// The body's features into a new list; 1 (list untouched) when the object is
// no solid (type 70); HM_ERR_NULL_POINTER for a null list pointer; the host's
// failure for a face or edge.
CARVELL_C_EXPORT int HM_VD_find_body_feats(tag_t object, hm_list_p_t* features);
// Turns the body's features, in order, into unparameterised features; stops
// at the first failure and answers its host code, else the status of
// deleting the feature list.
CARVELL_C_EXPORT int VD_convert_to_brep_feature(tag_t body);
// Sets *suppressed when any of the objects is suppressed or no longer alive.
CARVELL_C_EXPORT void HM_VD_ask_face_suppress(int n, const tag_t* objects, bool* suppressed);
// Deletes the rule-language instance parent+name and the objects it made.
CARVELL_C_EXPORT int HM_VD_delete_rule_objects(const char* parent, const char* name);
// Adopts an object into the rule language as a child rule of "root:".
CARVELL_C_EXPORT int HM_VD_adopt_feature(tag_t object);

#endif
