// tolvric: the host's mechanism functions (KMC_): the current mechanism and
// its links and joints, link parameters and markers, springs, dampers,
// forces, function objects, motion drivers, and the clean-up of a part's
// motion data. Every function answers 0 or a host_error_code and refuses
// null output pointers (HM_ERR_NULL_POINTER).
#ifndef CARVELL_HOST_TOLVRIC_H
#define CARVELL_HOST_TOLVRIC_H

#include "host_types.h"
#include "quillon.h"

#include <stdbool.h>

/* ---- the mechanism ---- */
// The work part's current mechanism; HM_ERR_NOT_FOUND (and 0) without one.
HOST_C_API int KMC_get_current_mech_tag(tag_t* mechanism);
// Links (joints) of the mechanism in creation order, in a new SM_alloc'd
// array (null when none; the caller frees it with SM_free).
HOST_C_API int KMC_get_link_tags_in_mechanism(tag_t mechanism, int* count, tag_t** links);
HOST_C_API int KMC_get_joint_tags_in_mechanism(tag_t mechanism, int* count, tag_t** joints);

/* ---- links ---- */
// A link as the mechanism holds it: the name is a host text (free with TEXT_free).
typedef struct KMC_link_s {
    TEXT_t name;
    int num_geometries;
    tag_t mechanism;
} KMC_link_t;
HOST_C_API int KMC_init_link(KMC_link_t* link);
HOST_C_API int KMC_ask_link(tag_t link, KMC_link_t* record);
// A link's parameters, in order: whether it has mass properties (1/0), its
// mass, whether it has inertias (1/0), the inertias (Ixx, Iyy, Izz, Ixy, Ixz,
// Iyz), its centre of gravity, its inertia marker, whether it has an initial
// velocity (0 here), that velocity.
HOST_C_API int KMC_get_link_parameters(tag_t link, int* has_mass, double* mass, int* has_inertias,
                                       double inertias[6], double cog[3], tag_t* marker, int* has_velocity,
                                       double velocity[3]);
// Places a link's marker (type 95) and gives it the orientation of a matrix object.
HOST_C_API int KMC_set_marker_location(tag_t marker, const double location[3]);
HOST_C_API int KMC_set_marker_coord_matrix_tag(tag_t marker, tag_t matrix);
HOST_C_API int KMC_ask_marker(tag_t marker, double location[3], tag_t* matrix);

/* ---- springs, dampers, forces ---- */
// A spring between two objects (links or markers, 0 for ground).
typedef struct KMC_spring_s {
    int kind;
    double stiffness;
    double preload;
    double first_point[3];
    double second_point[3];
    int first_option;
    int second_option;
    tag_t objects[2];
} KMC_spring_t;
typedef struct KMC_damper_s {
    int kind;
    double coefficient;
    double first_point[3];
    double second_point[3];
    int first_option;
    int second_option;
    tag_t objects[2];
} KMC_damper_t;
// A force of a magnitude function, at a point along a direction, between
// two objects; the record's label is allocated by KMC_init_force and freed
// by KMC_free_force.
typedef struct KMC_force_s {
    tag_t magnitude;
    double origin[3];
    double direction[3];
    tag_t objects[2];
    char* label;
} KMC_force_t;
HOST_C_API int KMC_init_spring(KMC_spring_t* spring);
HOST_C_API int KMC_init_damper(KMC_damper_t* damper);
HOST_C_API int KMC_init_force(KMC_force_t* force);
HOST_C_API void KMC_free_force(KMC_force_t* force);
// Each in the mechanism given (types 91 spring, 92 damper, 93 force).
// HM_ERR_INVALID_TAG for no mechanism, HM_ERR_WRONG_TYPE for attached objects
// that are not alive; a force needs a function object.
HOST_C_API int KMC_create_spring(tag_t mechanism, const KMC_spring_t* spring, tag_t* spring_obj);
HOST_C_API int KMC_create_damper(tag_t mechanism, const KMC_damper_t* damper, tag_t* damper_obj);
HOST_C_API int KMC_create_force(tag_t mechanism, const KMC_force_t* force, tag_t* force_obj);
HOST_C_API int KMC_ask_spring(tag_t spring, KMC_spring_t* record);
HOST_C_API int KMC_ask_damper(tag_t damper, KMC_damper_t* record);
// The force's label is not read back (null).
HOST_C_API int KMC_ask_force(tag_t force, KMC_force_t* record);

/* ---- function objects ---- */
// Lines of a function's text; the lines stay the caller's.
typedef struct KMC_function_data_s {
    int num_lines;
    char** lines;
} KMC_function_data_t;
HOST_C_API int KMC_init_function_data(KMC_function_data_t* data);
// A function object (type 94) of the work part holding a copy of the lines;
// HM_ERR_BAD_ARGUMENT for no line or a null line.
HOST_C_API int KMC_create_function_object(const KMC_function_data_t* data, tag_t* function);
// The function's text, lines joined by newlines, SM_alloc'd (free with SM_free).
HOST_C_API int KMC_ask_function_text(tag_t function, char** text);

/* ---- motion drivers ---- */
enum KMC_driver_kind { KMC_DRIVER_NONE = 0, KMC_DRIVER_ARTICULATION = 4 };
typedef struct KMC_motion_driver_s {
    int kind;
    double values[4];
} KMC_motion_driver_t;
HOST_C_API int KMC_init_motion_driver_data(KMC_motion_driver_t* driver);
// Sets (kind 0: removes) a joint's driver.
HOST_C_API int KMC_set_motion_driver(tag_t joint, const KMC_motion_driver_t* driver);
HOST_C_API int KMC_get_motion_driver(tag_t joint, KMC_motion_driver_t* driver);
// The mechanism's joints that have a driver, in creation order, in a new
// host list (null when none; the caller deletes it with HM_MODL_delete_list).
HOST_C_API int KMC_locate_driver_joints(tag_t mechanism, hm_list_p_t* joints);

/* ---- parts ---- */
// Drops the part's motion data that are only kept while it is simulated
// (drivers' run state); the mechanism and its records stay.
HOST_C_API int KMC_cleanup_motion_part(tag_t part);

#endif
