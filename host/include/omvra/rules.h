// omvra: rules. Included by omvra.h; not included on its own.
//
// Rule-language instances are named by chains of the work part, "root:NAME:"
// ("Root:" alike), and rules by "root:NAME:attr:". An instance is also
// identified by a tag (not an object of the object table: the object
// functions do not know it); its chain is asked with
// HM_RQ_ask_name_chain_of_instance. Rule values are host-owned snapshots
// named by HM_RQ_value_t (0 is no value); the caller frees nothing for them.
#ifndef CARVELL_HOST_OMVRA_RULES_H
#define CARVELL_HOST_OMVRA_RULES_H

#include "../host_types.h"

#include <stdbool.h>

typedef unsigned int HM_RQ_value_t;

// Class of the instance at a chain, as an SM_alloc'd text (HM_ERR_NOT_FOUND: no such chain, HM_ERR_WRONG_TYPE: a plain rule).
HOST_C_API int HM_RQ_ask_instance_class(const char* chain, char** class_name);
// Evaluates the rule at a path of the work part into a value (HM_ERR_WRONG_TYPE when the path names an instance).
HOST_C_API int HM_RQ_evaluate_rule(const char* rule, HM_RQ_value_t* value);
// Number of a value (an integer value is widened); HM_ERR_WRONG_TYPE for other kinds, HM_ERR_BAD_ARGUMENT for an unknown value.
HOST_C_API int HM_RQ_ask_number(HM_RQ_value_t value, double* number);
// Point of a value (point values only).
HOST_C_API int HM_RQ_ask_point(HM_RQ_value_t value, double point[3]);
// Creates the child instance `name` of class `class_name` under the chain `parent` of `part`, with count rules whose texts
// values[i] are parsed (HM_ERR_BAD_ARGUMENT, nothing made, when one does not parse); an existing instance of that chain is
// redefined: class and rules replaced, its tag, objects and child instances kept. An eyellipse (VD_EYELLIPSE_CLASS) made
// from its design parameters also answers the ellipsoid it works out from them (tessik.h).
HOST_C_API int HM_RQ_create_child_rule(tag_t part, const char* parent, const char* name, const char* class_name, int count,
                                       const char* const* names, const char* const* values);
// Deletes the instance parent+name of the work part and the instances below it; their objects stay. Non-zero when absent.
HOST_C_API int HM_RQ_delete_instance_rule(const char* parent, const char* name);
// Adopts existing objects as new instances "root:<kind>_<n>:" of their part, of a class named from the object's kind
// ("kw_sphere" for a sphere body or its SPHERE feature, "kw_point", "kw_line", "kw_arc", "kw_conic", "kw_spline",
// "kw_plane", "kw_datum", "kw_csys", "kw_component", "kw_face", "kw_edge", "kw_body", "kw_<feature kind>"); a sphere
// answers the rules "Diameter" and "Center". The instance owns the object (a feature's body, when it has one). The tags
// come in a new array (free with HM_free). All objects are checked before any is adopted.
HOST_C_API int HM_RQ_adopt_kw_objects(int count, const tag_t* objects, tag_t** instances);
// Name chain of an instance ("root:NAME:") as an SM_alloc'd text; HM_ERR_INVALID_TAG for an unknown instance.
HOST_C_API int HM_RQ_ask_name_chain_of_instance(tag_t instance, char** chain);

// Run-time values of the rule language (istrane.h). Each answers 0,
// HM_ERR_NULL_POINTER or HM_ERR_WRONG_TYPE (another kind; nothing written).
struct Value_s;
// The object of an object value.
HOST_C_API int HM_RQ_ask_tag(const struct Value_s* value, tag_t* tag);
// The transform (double[16], rows of the upper-left 3x3 hold the axes as
// columns, origin in elements 3, 7, 11) of a frame value.
HOST_C_API int HM_RQ_ask_frame(const struct Value_s* value, double mtx[16]);

// Evaluated values (HM_RQ_evaluate_rule): kind, lists and single values.
// Each answers 0, HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (unknown value) or
// HM_ERR_WRONG_TYPE (another kind; nothing written).
// Kind of a value, as the rule language numbers them (KBL_KIND_..., istrane.h).
HOST_C_API int HM_RQ_ask_value_kind(HM_RQ_value_t value, int* kind);
// A list value's items as a new value that HM_RQ_list_pop consumes.
HOST_C_API int HM_RQ_ask_list(HM_RQ_value_t value, HM_RQ_value_t* list);
// Items not yet popped.
HOST_C_API int HM_RQ_ask_list_count(HM_RQ_value_t list, int* count);
// The next item, removed from the list; HM_ERR_NOT_FOUND when none is left.
HOST_C_API int HM_RQ_list_pop(HM_RQ_value_t list, HM_RQ_value_t* item);
HOST_C_API int HM_RQ_ask_boolean(HM_RQ_value_t value, bool* boolean);
// Integer (a whole number reads as its integer).
HOST_C_API int HM_RQ_ask_integer(HM_RQ_value_t value, int* integer);
// String as an SM_alloc'd copy (free with SM_free).
HOST_C_API int HM_RQ_ask_string(HM_RQ_value_t value, char** text);
// The object of an object value.
HOST_C_API int HM_RQ_ask_value_tag(HM_RQ_value_t value, tag_t* tag);
// Vector of a value (vector values only).
HOST_C_API int HM_RQ_ask_vector(HM_RQ_value_t value, double vector[3]);

// The older numbering of a value's rule type, as HM_RQ_ask_type answers it.
// Only these kinds are told apart; every other kind is HM_RQ_TYPE_OTHER.
enum HM_RQ_type {
    HM_RQ_TYPE_OTHER = 0,
    HM_RQ_TYPE_TAG = 6,        // an object value
    HM_RQ_TYPE_LIST = 8,       // a list value
    HM_RQ_TYPE_INSTANCE = 13   // an instance value (rule text "Instance(tag)")
};
HOST_C_API int HM_RQ_ask_type(HM_RQ_value_t value, int* type);
// The instance (its tag, as HM_RQ_ask_name_chain_of_instance takes it) of an instance value.
HOST_C_API int HM_RQ_ask_instance(HM_RQ_value_t value, tag_t* instance);
// The host object of an instance: the first of the objects it made that is
// still alive, 0 when none is. HM_ERR_INVALID_TAG for an unknown instance.
HOST_C_API int HM_RQ_ask_kw_object(tag_t instance, tag_t* object);

#endif
