// ambrith: the host's solid-modelling kernel. Kernel entities of the
// stand-in are the tags of the objects themselves (nethrow gives them).
#ifndef CARVELL_HOST_AMBRITH_H
#define CARVELL_HOST_AMBRITH_H

#include "host_types.h"

// Kernel types of bodies.
enum GQ_BODY_type_e {
    GQ_BODY_type_minimum = 5601,   // vertices only
    GQ_BODY_type_solid = 5602,     // solid or sheet body
    GQ_BODY_type_wire = 5603,      // edges without faces
    GQ_BODY_type_general = 5604    // faces together with loose edges or vertices
};

// Kernel type of a body entity.
HOST_C_API int GQ_BODY_ask_type(tag_t body, int* type);
// Faces of a body entity in kernel order, in a new array (free with SM_free); null when none.
HOST_C_API int GQ_BODY_ask_faces(tag_t body, int* count, tag_t** faces);

/* ---- Booleans and mass properties ---- */
// The stand-in's kernel has one partition; every entity lies in it.
enum { GQ_THE_PARTITION = 1 };
// Partition of a kernel entity: GQ_THE_PARTITION.
HOST_C_API int GQ_ENTITY_ask_partition(tag_t entity, tag_t* partition);
// A copy of a body entity: a new body.
HOST_C_API int GQ_ENTITY_copy(tag_t entity, tag_t* copy);
// Moves a body into a partition: only GQ_THE_PARTITION (nothing to do).
HOST_C_API int GQ_BODY_change_partition(tag_t body, tag_t partition);
// Booleans of the target with exactly one tool: the result as new bodies,
// one per connected piece (a solid; faces joined through shared edges; a
// set of loose edges), in a new array (free with SM_free; null when none).
// Target and tool stay as they are. Count 0 when nothing results.
HOST_C_API int GQ_BODY_unite_bodies(tag_t target, int tool_count, const tag_t* tools, int* body_count,
                                    tag_t** bodies);
HOST_C_API int GQ_BODY_subtract_bodies(tag_t target, int tool_count, const tag_t* tools, int* body_count,
                                       tag_t** bodies);
HOST_C_API int GQ_BODY_intersect_bodies(tag_t target, int tool_count, const tag_t* tools, int* body_count,
                                        tag_t** bodies);
// Mass properties of body entities in part units: *amount the volume of
// solids and the area of sheets (summed), and, where asked (null: not),
// the same as mass, the centre and the length of all edges. The accuracy
// must be positive; the option values are the kernel's selections and are
// not read by the stand-in.
HOST_C_API int GQ_TOPOL_eval_mass_props(int count, const tag_t* topols, double accuracy, int option_count,
                                        const int* options, double* amount, double* mass, double c_of_g[3],
                                        double* periphery);

#endif
