// gostrel: the host's curve evaluator. An evaluator belongs to a curve or an
// edge and works in normalised parameters: its range is always [0, 1].
// Evaluators are the same as omvra's HM_EVAL ones.
#ifndef CARVELL_HOST_GOSTREL_H
#define CARVELL_HOST_GOSTREL_H

#include "host_types.h"
#include "omvra.h"

typedef HM_EVAL_p_t EVC_p_t;

// Opens an evaluator of a curve or edge; free it with EVC_free.
HOST_C_API int EVC_initialize(tag_t curve, EVC_p_t* evaluator);
HOST_C_API int EVC_free(EVC_p_t evaluator);   // null: nothing
// The same under the evaluator's short names.
HOST_C_API int evcrvu(tag_t curve, EVC_p_t* evaluator);
HOST_C_API int evcrvf(EVC_p_t evaluator);
// Parameter range of the evaluator: [0, 1].
HOST_C_API int evcrvp(EVC_p_t evaluator, double limits[2]);
// The C0 break parameters (corners) of the curve, both ends included, in an
// SM_alloc'd array of *n_breaks ascending values, and one evaluator per piece
// between consecutive breaks in an SM_alloc'd array of *n_breaks - 1; the
// caller frees each piece evaluator (EVC_free) and both arrays (SM_free).
HOST_C_API int ev_bk_cv_at_c0(EVC_p_t evaluator, int* n_breaks, double** breaks, EVC_p_t** pieces);
// Evaluator of the part of the curve between two normalised parameters
// (start below end; on a periodic curve a start above the end runs through the seam).
HOST_C_API int kpart_cv(EVC_p_t evaluator, double start, double end, EVC_p_t* partial);
// A new curve object with the evaluator's geometry (line, arc, conic or spline).
HOST_C_API int kcrvev(EVC_p_t evaluator, tag_t* curve);

// A new curve object along an edge (type 70, subtype 3); the tolerance is the
// surface setting (srfc1) and does not change the exact extraction. The _disp
// form is the one used in an assembly context; both do the same here.
HOST_C_API int kfp_edge(tag_t edge, double tolerance, tag_t* curve);
HOST_C_API int kfp_edge_disp(tag_t edge, double tolerance, tag_t* curve);

// Kernel curves: a kernel copy of a curve's (or edge's) geometry, named by a
// tag like every kernel entity of the stand-in; its interval and its length
// over an interval (kernel units; pxsfac[1] converts to part units).
HOST_C_API int pxcutc(tag_t curve, tag_t* kernel_curve);
HOST_C_API int GQ_CURVE_ask_interval(tag_t kernel_curve, double interval[2]);
HOST_C_API int GQ_CURVE_find_length(tag_t kernel_curve, const double interval[2], double* length);
// Deletes a kernel curve made by pxcutc (other entities: HM_ERR_WRONG_TYPE).
HOST_C_API int GQ_ENTITY_delete(tag_t entity);

// A solid block of the kernel x by y by z (kernel units; pxsfac[1] gives
// part lengths) at the origin along the axes; basis null. Answers the body.
HOST_C_API int GQ_BODY_create_solid_block(double x, double y, double z, const double* basis, tag_t* body);
// Parameter range of the evaluator ([0, 1]) and the point with its first
// n_derivatives derivatives at a parameter: as HM_EVAL_ask_limits and
// HM_EVAL_evaluate.
HOST_C_API int EVC_ask_curve_limits(EVC_p_t evaluator, double limits[2]);
HOST_C_API int EVC_evaluate(EVC_p_t evaluator, int n_derivatives, double parm, double point[3], double derivatives[]);


// Number of poles of the evaluated curve's B-spline form (exact conversion).
HOST_C_API int EVC_ask_pole_count(EVC_p_t evaluator, int* count);

#endif
