// Motion mechanisms of the work part: the named builders (points, lines, a
// mechanism and links found again by name, so that building twice edits or
// replaces instead of adding), the mirror point through a plane, and the
// motion functions: the mechanism, links with their mass properties,
// joints, springs, dampers, forces and motion inputs.
//
// Conventions. Points and vectors are three doubles in absolute
// coordinates of the work part, in its units. Names are object names of the
// work part. Link 0 is ground. Every HM_VD_MOTION_ export, HM_VD_build_mechanism
// and HM_VD_build_link open a host-API session on entry and close it on
// every way out (sessions nest); HM_VD_mirror_point_through_plane,
// HM_VD_build_point and HM_VD_build_line need the caller's open session.
// Geometry arrays passed in stay the caller's. Codes: 0 success; the host's
// code of a refused call, unchanged; -1 as each contract says.
#ifndef CARVELL_HM_VD_MOTION_H
#define CARVELL_HM_VD_MOTION_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

#define HM_VD_MOTION_MAX_LINK_GEOMETRY 10000 /* objects a link is made of */

/* ---- named builders ---- */

// The mirror image of a point through the plane (plane point, normal of any
// length). 0, or -1 for a zero normal, a NaN or infinite coordinate, or a
// mirror point beyond the doubles (mirror left untouched).
CARVELL_CPP_EXPORT int HM_VD_mirror_point_through_plane(const double point[3], const double plane_point[3],
                                                        const double plane_normal[3], double mirror[3]);
// Moves the work part's first point of the name to the coordinates, or
// creates and names one. 0 or the host's code; -1 without a work part or
// with a null argument.
CARVELL_CPP_EXPORT int HM_VD_build_point(const char* name, const double coords[3]);
// The same for a line (type 3) from start to end; a new line is named only
// when it was made. 0 or the host's code; -1 without a work part or with a
// null argument.
CARVELL_CPP_EXPORT int HM_VD_build_line(const char* name, const double start[3], const double end[3]);
// The work part's current mechanism (made when needed) into *mechanism; the
// code of HM_VD_MOTION_create_mech; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_build_mechanism(const char* name, tag_t* mechanism);
// Deletes the first motion link whose name matches (last component, any
// case) and makes a new link of the geometry under the name; *link is the
// new link (0 when none was made). The code of the link creation (a link
// that is not made leaves the one of the name in place); -1 for a null
// argument or a count as HM_VD_MOTION_create_simple_link refuses it.
CARVELL_CPP_EXPORT int HM_VD_build_link(const char* name, tag_t* geometry, int count, tag_t* link);

/* ---- mechanism, links and mass properties ---- */

// A link's mass information as the host's link parameters give it, after
// the link: has mass (1/0), mass, has inertias (1/0), inertias (Ixx, Iyy,
// Izz, Ixy, Ixz, Iyz), centre of gravity, inertia marker, has initial
// velocity (1/0), initial velocity; then the host's code.
typedef struct mot_link_mass_info_s {
    unsigned int link;
    int has_mass;
    double mass;
    int has_inertias;
    double inertias[6];
    double cog[3];
    tag_t marker;
    int has_velocity;
    double velocity[3];
    int result;
} mot_link_mass_info_s;

// Starts the work part's motion environment and answers its one current
// mechanism (the name is not passed on). The initialisation's code; -1 for a
// null out argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_mech(char* name, tag_t* mechanism);
// A link of the geometry under the name. The host's code; -1 for a null
// name or output, or a count above HM_VD_MOTION_MAX_LINK_GEOMETRY or past
// an SM_alloc'd array (nothing read past it).
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_simple_link(const char* name, tag_t* geometry, int count, tag_t* link);
// A link of every object of the work part named object_name; *count their
// number. With none: 0, count 0, *link untouched. The host's code otherwise;
// -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_link_by_name(const char* link_name, char* object_name, int* count,
                                                        tag_t* link);
// A link with mass: the link, then its centre of gravity, then its weight.
// 0; the host's code when the link is refused; 1 when the centre of gravity
// and 2 when the weight could not be set (these two with *link 0 and the
// link deleted); -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_link(const char* name, tag_t* geometry, int count, double* weight,
                                                double cog[3], tag_t* link);
// A link of one solid body with its mass (units code 3) and centre of mass;
// codes as HM_VD_MOTION_create_link, and the host's code of the mass properties.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_link_with_single_body(const char* name, tag_t body, tag_t* link);
// A link of the bodies with their summed mass (units code 3 in a metric
// part, 1 otherwise) and common centre; codes as above (a count as
// HM_VD_MOTION_create_simple_link refuses it: -1).
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_link_with_multi_body(const char* name, tag_t* bodies, int count,
                                                                tag_t* link);
// Moves the link's centre of gravity (its three scalars and the inertia
// marker). 0 or the host's code; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_set_cog(tag_t* link, double point[3]);
// Sets the link's mass. 0 or the host's code; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_set_weight(tag_t* link, double weight);
// Sets the six inertias, moves the inertia marker to the location and gives
// it the orientation of the matrix object. 0 or the host's code; -1 for a
// null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_set_inertias(tag_t* link, double inertias[6], double location[3],
                                                 tag_t* orientation);
// Fills the record from the host's link parameters; the host's code (also in
// the record); -1 for a null record.
CARVELL_CPP_EXPORT int HM_VD_MOTION_info_link_mass_prop(tag_t link, mot_link_mass_info_s* info);
// The next object of the type in the work part after *object (0 starts, 0
// ends). 0, or HM_ERR_NO_PART without a work part; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_cycle_obj(tag_t* object, int* type);

/* ---- joints, springs, dampers, forces, motion inputs ---- */

// Joint codes of the library and the host joint types they give: 3, 4
// revolute; 5, 6 cylindrical; 7, 8 slider; 9, 10 fixed; 11, 12 universal;
// 13, 14 spherical; 15, 16 planar; any other none (0, which the host refuses).
// A joint of the code between the links (second 0: ground) at the origin;
// codes 11 and 12 take the first direction as the first frame's X and need
// a second direction not parallel to that frame's Z; the other codes take
// it as Z. The host's code; -1 when the frames cannot be built, for a null
// argument or a NaN or infinite direction or origin (nothing made).
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_joint(const char* name, int code, tag_t first_link, tag_t second_link,
                                                 double value, double first_direction[3],
                                                 double second_direction[3], double origin[3], tag_t* joint);
// A spring in the current mechanism, named; the arguments go into the
// host's spring record in order (kind, stiffness, preload, the two points,
// the first and the second option, the two objects). The host's code; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_spring(const char* name, int kind, int first_option, double stiffness,
                                                  double preload, double first_point[3], double second_point[3],
                                                  int second_option, unsigned int objects[2], tag_t* spring);
// A damper in the current mechanism, named. The host's code; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_damper(const char* name, int kind, int first_option, double coefficient,
                                                  double first_point[3], double second_point[3], int second_option,
                                                  unsigned int objects[2], tag_t* damper);
// A force of constant magnitude between the two objects, at the origin along
// the direction. The host's code; -1 for a null argument, a NaN or infinite
// magnitude, origin or direction, or a zero direction (nothing made).
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_external_force_mag(tag_t first, tag_t second, double origin[3],
                                                              double direction[3], double magnitude, tag_t* force);
// A motion input on the joint: kind 1 a function of the text (at most 199
// characters kept), 3 three constant values, 4 four harmonic values, other
// kinds none. The count is the number of values the array holds; 0 means
// "not given", and kinds 3 and 4 read their 3 (4) values. The host's code;
// -1 for kind 1 without text, kinds 3 and 4 without values, with a negative
// count or with a count of fewer than 3 (4) values (nothing set).
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_motion_input(tag_t joint, int kind, const char* text, double* values,
                                                        int count);
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_motion_input_constant(tag_t joint, double a, double b, double c);
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_motion_input_harmonic(tag_t joint, double a, double b, double c,
                                                                 double d);
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_motion_input_general(tag_t joint, const char* text);

/* ---- simulation scenarios ----
 * A scenario is a part of its own derived from the root part; its part file
 * lies in the master's scenario folder, a folder beside the master's part
 * file named after it without its extension. Names compare in any case. */

// Whether the work part has a scenario of the name (any case) into *exists.
// The code of the host's listing of scenario files; the host's error code
// (*exists false) when a listed file name cannot be decoded under the
// data-management system; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_is_scenario_exist(const char* name, bool* exists);
// Makes a scenario of the name from the root part, saves it, makes it the
// work part and saves that; *scenario is the scenario part (the root part
// when the root is a scenario part already, nothing made then). 0; 1 when a
// scenario of the name exists (nothing made); the code of a host exception
// while making it (everything since the undo mark rolled back, *scenario
// untouched); the host's code of the existence test, of setting the work
// part or of the save; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_scenario(char* name, tag_t* scenario);
// The same without saving anything.
CARVELL_CPP_EXPORT int HM_VD_MOTION_create_scenario_nosave(char* name, tag_t* scenario);
// Closes and deletes every scenario part file of the work part, then its
// scenario folder when there is one. The listing's code; 1 when a listed
// file does not exist (it and the files after it, and the folder, stay);
// the host's code of a failed deletion.
CARVELL_CPP_EXPORT int HM_VD_MOTION_remove_all_scenarios();
// Deletes the master part's scenario folder with what it holds, and writes
// the folder and the deletion's code to the host's log. Needs the caller's
// session. The deletion's code; -1 for part 0, a part without a scenario
// folder, or a folder that does not lie beside the master's part file
// (nothing deleted, nothing written).
CARVELL_CPP_EXPORT int HM_VD_MOTION_remove_scenario_folder(tag_t master);

/* ---- articulation drivers ---- */

// The current mechanism's joints whose driver is of the articulation kind,
// in a new array of the memory manager (the caller frees it with SM_free),
// or null with count 0 when there is none. 0; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_MOTION_ask_articulation_drive_joints(int* count, tag_t** joints);

#endif
