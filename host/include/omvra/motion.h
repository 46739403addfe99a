// omvra, motion: the motion environment of the work part (one current
// mechanism per part), its links and their mass records, joints and their
// motion inputs; the parameter ("smart") objects that carry a joint's origin
// and directions and a link's centre of gravity; the mass properties of
// solid bodies. Included by omvra.h.
#ifndef CARVELL_HOST_OMVRA_MOTION_H
#define CARVELL_HOST_OMVRA_MOTION_H

#include "../host_types.h"

#include <stdbool.h>

/* ---- the motion environment ---- */
// Size of the name buffers of the motion records (names of at most 159 characters).
#define HM_MOTION_NAME_SIZE 160

// Starts the motion environment of the work part: its one current mechanism
// is made on first use and kept (KMC_get_current_mech_tag answers it).
// HM_ERR_NO_PART without a work part.
HOST_C_API int HM_MOTION_initialize(void);
// Whether the work part has its motion environment (false without a work part).
HOST_C_API int HM_MOTION_is_initialized(bool* initialized);

/* ---- links ---- */
// A link: its name and the geometry (lines, bodies or occurrences) that
// moves with it; the array stays the caller's.
typedef struct HM_MOTION_link_s {
    char name[HM_MOTION_NAME_SIZE];
    int num_geometries;
    tag_t* geometries;
} HM_MOTION_link_t;
HOST_C_API int HM_MOTION_init_link_struct(HM_MOTION_link_t* link);
// A link (type 87) of the current mechanism, named as the record says, with
// its centre-of-gravity point (three scalars) and inertia marker at the
// origin and no mass. HM_ERR_NOT_FOUND without the motion environment,
// HM_ERR_BAD_ARGUMENT for no geometry or a negative count, HM_ERR_INVALID_TAG
// for geometry that is not alive, HM_ERR_WRONG_TYPE for a motion or
// parameter object or a part given as geometry.
HOST_C_API int HM_MOTION_create_link(const HM_MOTION_link_t* link, tag_t* link_obj);

// A link's mass record: its centre-of-gravity smart point (three smart
// scalars), its inertia marker, its mass and the six inertia values
// (Ixx, Iyy, Izz, Ixy, Ixz, Iyz).
typedef struct HM_MOTION_link_mass_s {
    tag_t cog;
    tag_t inertia_marker;
    double mass;
    double inertias[6];
} HM_MOTION_link_mass_t;
HOST_C_API int HM_MOTION_init_link_mass_struct(HM_MOTION_link_mass_t* mass);
HOST_C_API int HM_MOTION_ask_link_mass_properties(tag_t link, HM_MOTION_link_mass_t* mass);
// Writes the mass record back; HM_ERR_BAD_ARGUMENT for a negative or
// non-finite mass, HM_ERR_WRONG_TYPE when cog or marker are not the link's kind.
HOST_C_API int HM_MOTION_set_link_mass_properties(tag_t link, const HM_MOTION_link_mass_t* mass);

/* ---- joints ---- */
// Host joint types.
enum HM_MOTION_joint_type {
    HM_MOTION_NO_JOINT = 0,
    HM_MOTION_REVOLUTE = 1,     // turns about its Z
    HM_MOTION_CYLINDRICAL = 2,  // turns about and slides along its Z
    HM_MOTION_SLIDER = 3,       // slides along its Z
    HM_MOTION_FIXED = 4,
    HM_MOTION_UNIVERSAL = 5,    // two crossed pins
    HM_MOTION_SPHERICAL = 6,
    HM_MOTION_PLANAR = 7        // slides in the plane normal to its Z
};
// A joint between two links (the second 0: ground): a direction object on
// the first link and (with a second link) one on the second, the origin as a
// point object in both origin fields, and a value.
typedef struct HM_MOTION_joint_s {
    char name[HM_MOTION_NAME_SIZE];
    int type;
    tag_t first_link;
    tag_t second_link;
    tag_t first_direction;
    tag_t second_direction;
    tag_t first_origin;
    tag_t second_origin;
    double value;
} HM_MOTION_joint_t;
HOST_C_API int HM_MOTION_init_joint_struct(HM_MOTION_joint_t* joint);
// A joint (type 88) of the current mechanism. HM_ERR_NOT_FOUND without the
// motion environment; HM_ERR_BAD_ARGUMENT for type 0 or above 7, the same
// link twice, or no origin; HM_ERR_WRONG_TYPE for links, directions or
// origins of another kind (directions: HM_SO_create_dirr_doubles objects).
HOST_C_API int HM_MOTION_create_joint(const HM_MOTION_joint_t* joint, tag_t* joint_obj);
HOST_C_API int HM_MOTION_ask_joint(tag_t joint, HM_MOTION_joint_t* record);

// Motion input types: 0 none, 1 a function, 2 three constants, 3 harmonic (four values).
enum HM_MOTION_input_type { HM_MOTION_INPUT_NONE = 0, HM_MOTION_INPUT_FUNCTION = 1,
                            HM_MOTION_INPUT_CONSTANT = 2, HM_MOTION_INPUT_HARMONIC = 3 };
typedef struct HM_MOTION_joint_motion_input_s {
    int type;
    tag_t function;     // type 1: a function object (KMC_create_function_object)
    double values[4];   // type 2: three values; type 3: four
} HM_MOTION_joint_motion_input_t;
HOST_C_API int HM_MOTION_init_joint_motion_input_struct(HM_MOTION_joint_motion_input_t* input);
// HM_ERR_BAD_ARGUMENT for an unknown type, HM_ERR_WRONG_TYPE for a type-1
// input without a function object.
HOST_C_API int HM_MOTION_set_joint_motion_input(tag_t joint, const HM_MOTION_joint_motion_input_t* input);
HOST_C_API int HM_MOTION_ask_joint_motion_input(tag_t joint, HM_MOTION_joint_motion_input_t* input);

/* ---- the older joint calls: only the 2003 host has them ---- */
// A joint of the current mechanism from a library joint code (3 to 16 in
// pairs: 3, 4 revolute ... 15, 16 planar; any other code makes no joint),
// its name, its two links (the second 0: ground) and its two orientation
// frames (matrix objects). The joint's direction on each link is the frame's
// X axis for codes 11 and 12, else its Z axis; the frames carry no position,
// so the joint sits at the part's origin. The codes of HM_MOTION_create_joint,
// and HM_ERR_WRONG_TYPE for a frame that is no matrix object.
HOST_C_API int hc6011(int code, const char* name, tag_t first_link, tag_t second_link, tag_t first_frame,
                      tag_t second_frame, tag_t* joint);
// A motion input on a joint by the library's kinds: 1 a function of the one
// line of text (at most 199 characters), 3 three constants, 4 harmonic (four
// values), any other none; count is not read. The codes of
// HM_MOTION_set_joint_motion_input; HM_ERR_NULL_POINTER for kind 1 without a
// text or kinds 3 and 4 without values.
HOST_C_API int hc6025(tag_t joint, int kind, const char* text, double* values, int count);

/* ---- parameter ("smart") objects ---- */
// A scalar (type 96) of the part (0: work part) with a value; update option
// as the caller gives it (2 here: updated with the part).
HOST_C_API int HM_SO_create_scalar_double(tag_t part, int update_option, double value, tag_t* scalar);
// A point (type 97) of three scalar objects.
HOST_C_API int HM_SO_create_point_3_scalars(tag_t part, int update_option, const tag_t scalars[3], tag_t* point);
HOST_C_API int HM_SO_ask_3_scalars_of_point(tag_t point, tag_t scalars[3]);
HOST_C_API int HM_SO_set_double_of_scalar(tag_t scalar, double value);
HOST_C_API int HM_SO_ask_double_of_scalar(tag_t scalar, double* value);
// Coordinates of a parameter point. (Parameter directions: HM_SO_create_dirr_doubles
// and HM_SO_ask_dirr_doubles, omvra/math.h.)
HOST_C_API int HM_SO_ask_point_coordinates(tag_t point, double coords[3]);

/* ---- mass properties of solid bodies ---- */
// Units codes of the mass properties: 3 kilograms, 1 pounds.
enum HM_WEIGHT_units { HM_WEIGHT_POUNDS = 1, HM_WEIGHT_KILOGRAMS = 3 };
typedef struct HM_WEIGHT_properties_s {
    double mass;              // in the units asked
    double volume;            // in cubic part units
    double center_of_mass[3]; // in part units
    int units;
} HM_WEIGHT_properties_t;
// Volume, mass (volume times the part's density) and centre of mass of a
// solid body, within the accuracy asked (0 < accuracy <= 1). HM_ERR_BAD_ARGUMENT
// for another units code or accuracy, HM_ERR_WRONG_TYPE for an object that
// is no solid body.
HOST_C_API int HM_WEIGHT_estab_solid_props(tag_t body, double accuracy, int units, HM_WEIGHT_properties_t* props);
// The sum of records of one units code: total mass and volume, the
// mass-weighted centre. HM_ERR_BAD_ARGUMENT for no record, mixed units or a
// total mass of 0.
HOST_C_API int HM_WEIGHT_sum_props(int count, const HM_WEIGHT_properties_t* props, HM_WEIGHT_properties_t* sum);

#endif
