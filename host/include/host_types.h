// Common types of the stand-in CAD host: object identifiers (tags), host
// lists and the export macro of the host's own libraries.
#ifndef CARVELL_HOST_TYPES_H
#define CARVELL_HOST_TYPES_H

#include <stddef.h>

#define HOST_API __attribute__((visibility("default")))
#ifdef __cplusplus
#define HOST_C_API extern "C" HOST_API
#else
#define HOST_C_API HOST_API
#endif

// Every host object is named by a 32-bit tag; 0 names nothing.
typedef unsigned int tag_t;
#define NULL_TAG 0u

// Object types and subtypes as the library numbers them.
enum host_object_type {
    HM_point_type = 2,
    HM_line_type = 3,
    HM_circle_type = 5,      // arcs and circles
    HM_conic_type = 6,
    HM_other_curve_type = 7, // a further curve type the library takes as a curve; the stand-in makes none
    HM_spline_type = 9,
    HM_group_type = 15,
    HM_coordinate_system_type = 45,
    HM_plane_type = 46,
    HM_matrix_type = 55,
    HM_component_type = 63,
    HM_solid_type = 70,      // subtype 0 body, 2 face, 3 edge
    HM_datum_type = 197,
    HM_category_type = 12,
    HM_reference_set_type = 69,
    HM_feature_type = 205,
    HM_expression_type = 65536,   // a feature's expressions (its parameters as text)
    HM_part_type = 1000,     // parts are objects of the stand-in too
    // motion: mechanisms and their elements, parameter ("smart") objects
    HM_motion_mechanism_type = 86,
    HM_motion_link_type = 87,
    HM_motion_joint_type = 88,
    HM_motion_spring_type = 91,
    HM_motion_damper_type = 92,
    HM_motion_force_type = 93,
    HM_motion_function_type = 94,
    HM_motion_marker_type = 95,
    HM_smart_scalar_type = 96,
    HM_smart_point_type = 97,
    HM_direction_type = 189, // smart direction objects
    HM_note_type = 158       // annotations: a text at a point (omvra/annotations.h)
};
// Objects of assemblies and their display: views of a part, the layout
// (view sequence) that shows them, and the instances that name components.
enum host_assembly_object_type {
    HM_view_type = 60,
    HM_layout_type = 62,
    HM_instance_type = 64
};
// Clearance analysis: the named data sets of a part (caldwyn.h).
enum host_clearance_type { HM_clearance_dataset_type = 176 };
enum host_solid_subtype {
    HM_solid_body_subtype = 0,
    HM_solid_face_subtype = 2,
    HM_solid_edge_subtype = 3
};

// Kinds of the entries that HM_MODL_intersect_objects answers.
enum HM_MODL_intersection_kind {
    HM_INTERSECTION_POINT = 0,   // a crossing point, in the entry's point
    HM_INTERSECTION_CURVE = 2    // a new curve object of the intersection, in the entry's curve
};

// Object status: alive objects answer 3.
#define HM_OBJ_ALIVE 3
#define HM_OBJ_DELETED 0

// Host status codes. 0 is success.
enum host_error_code {
    HM_ERR_OK = 0,
    HM_ERR_INVALID_TAG = 3500,     // tag 0 or unknown tag
    HM_ERR_WRONG_TYPE = 3501,      // object of the wrong kind
    HM_ERR_NULL_POINTER = 3502,    // a required pointer argument is null
    HM_ERR_BAD_ARGUMENT = 3503,    // out-of-range value
    HM_ERR_NOT_FOUND = 3504,       // named thing does not exist
    HM_ERR_NO_SESSION = 3505,      // no host-API session is open
    HM_ERR_NO_PART = 3506,         // no work part
    HM_ERR_GEOMETRY = 3507,        // the geometry kernel failed
    HM_ERR_FILE = 3508,            // file could not be read or written
    HM_ERR_UNDO_MARK = 3509,       // unknown undo mark
    HM_ERR_WRONG_OBJECT = 875033,  // raised by an operation for an object it does not take
    HM_ERR_TRIM_GAPS = 3510,       // a sheet trim whose curves leave gaps (HM_MODL_trim_sheet)
    HM_ERR_INTERNAL = 3599,        // the host's internal error (ERROR_internal)
    // Codes of the curve-projection input checks.
    HM_ERR_PROJ_NO_INPUT = 875005,        // no curve or no target
    HM_ERR_OBJECT_NOT_ALIVE = 875027,     // an object whose status is not alive
    HM_ERR_ZERO_DIRECTION = 875041,       // a direction that cannot be unitised
    HM_ERR_PROJ_NO_CURVES = 875124,       // the projection made no curve (or failed in the kernel)
    HM_ERR_PROJ_BAD_TYPE = 875159,        // projection type outside 1 to 6
    HM_ERR_FOREIGN_OCCURRENCE = 875161,   // an occurrence whose prototype is not in the work part
    HM_ERR_PROJ_BAD_ANGLE = 875178,       // a projection angle not strictly between -90 and 90 degrees
    HM_ERR_PROJ_SETUP = 875179            // the projection could not be set up
};

// The host's singly linked list of object identifiers. A list is a pointer to
// its head node; the items follow the head (the head's own eid is 0 and is not
// an item). A null list is empty. Deleting a list frees its nodes, never the
// objects.
typedef struct hm_list_s {
    tag_t eid;
    struct hm_list_s* next;
} hm_list_t, *hm_list_p_t;

// The host's older C point: three coordinates.
typedef struct PNT3_s {
    double x, y, z;
} PNT3_t, *PNT3_p_t;

// Kinds of faces (HM_MODL_ask_face_data, HM_MODL_ask_face_type).
enum host_face_kind {
    HM_FACE_CYLINDRICAL = 16,
    HM_FACE_CONICAL = 17,
    HM_FACE_SPHERICAL = 18,
    HM_FACE_TOROIDAL = 19,
    HM_FACE_SWEPT = 20,       // swept and offset surfaces
    HM_FACE_PLANAR = 22,
    HM_FACE_PARAMETRIC = 23,  // B-spline and Bezier surfaces
    HM_FACE_REVOLVED = 24,
    HM_FACE_EXTRUDED = 25
};

#ifdef __cplusplus
#include <cstdint>
static_assert(sizeof(tag_t) == 4, "host tags are 32 bits");
#endif

#endif
