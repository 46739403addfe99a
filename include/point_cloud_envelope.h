// Point-cloud envelope: moving bodies (an engine rolling on its mounts, a
// wheel through its travel and steer) wrapped in one convex solid. Plain
// (extern "C") exports: the two rule-language functions, the facet-vertex
// writers, the frame transform, the two offsets of a point set, and the
// rule-callable wrappers of the point-list functions (vd_eve.h).
//
// Units. Sampled points are in the work part's units. gen_convex_envelope
// converts them to the kernel's metres (x 0.001 in a millimetre part,
// x 0.0254 in an inch part) before the offsets and the solid; the offsets
// work in metres and take their distances in part units times `factor`.
// Facet vertices come from the kernel in metres and are written in part
// units.
//
// Frames are 4x4 transforms, sixteen doubles row by row with points as
// columns: the upper-left 3x3 holds the frame's axes as columns, elements 3,
// 7 and 11 its origin.
//
// Memory. Point arrays handed out or replaced here are blocks of the host's
// memory manager (free with SM_free); arrays handed in to the offsets must be
// such blocks too, since they are replaced. Lists and values in argument
// slots are the rule language's and are never freed here.
//
// Scratch files. Points travel between the steps through a scratch file
// "<unique>.dat" in the directory that KWII_TMP_DIR names; it is deleted
// before each function returns. The `file` arguments are numbers of
// CFI_open_file.
#ifndef CARVELL_POINT_CLOUD_ENVELOPE_H
#define CARVELL_POINT_CLOUD_ENVELOPE_H

#include "carvell_export.h"
#include "gostrel.h"
#include "host_types.h"
#include "istrane.h"

// The rule language's code for a value of the wrong kind, and for a
// component whose part cannot be loaded.
#define EVE_ERR_WRONG_VALUE 1105004

// Gathers the facet vertices of the objects in the list of slot 1 (objects:
// facetted models, solid bodies or their features) and of the components in
// the list of slot 2, and reduces them to the vertices of their convex hull:
// *out_points a new block of *out_count points (three doubles each, part
// units; free with SM_free). Bodies whose features carry "Envelope" in their
// name are never sampled. More than 150000 vertices are hulled in chunks of
// 150000 first. Returns 0; -1 (null argument, both lists empty, KWII_TMP_DIR
// unset, no hull: fewer than four vertices or all on one plane, nothing
// handed out); EVE_ERR_WRONG_VALUE (a list value of the wrong kind, or a
// component whose part cannot be loaded); or the first failing host call's
// code. Opens and closes its own host-API session.
CARVELL_C_EXPORT int hm_vd_eve_sample_points(KBL_arg_slot_t* slots, int* out_count, double** out_points);

// Places the n_points point values of `point_list` (kind point, part units)
// at every frame of the list in slot 4 (the first copy carried from the
// reference frame in slot 3 to the first frame, the others from the first
// frame to theirs), offsets them by the pairs of the list in slot 6 in the
// mode of slot 5 (0 extend, other enlarge; see the offsets below), and makes
// the convex solid of the result. Writes the body (0 when none) into
// slots[0].tag. With n_points <= 0 the body is a block of 0.001 kernel units
// at the origin. Returns 0; -1 (null slots, KWII_TMP_DIR unset);
// EVE_ERR_WRONG_VALUE (a point, frame or offset value of the wrong kind;
// nothing built); the solid's code (-2 and below, or a host code) when no
// body was made; or a failing host call's code. Opens and closes its own
// host-API session.
CARVELL_C_EXPORT int gen_convex_envelope(KBL_arg_slot_t* slots, int n_points, x_DList point_list);

// Writes the facet vertices (part units, "%f %f %f" a line) of the objects
// to the open file: facetted models as they are, solid bodies through their
// facetted models (facetted now with the host's defaults when they have
// none), features through their bodies; bodies with an "Envelope" feature
// and other objects are skipped. *out_count = lines written. Returns 0 (n <
// 1 too), -1 (null count, null tags with n > 0) or the last failing host
// call's code.
CARVELL_C_EXPORT int ask_obj_facet_vertices(int n, const tag_t* tags, int* out_count, int file);

// The same for the facetted models and bodies of the work part that belong
// to one component (an occurrence of it); the work part's own when it is the
// component's part. Returns 0, -1 (null component or count, a component
// without a part), EVE_ERR_WRONG_VALUE (its part cannot be loaded) or the
// last failing host call's code.
CARVELL_C_EXPORT int ask_assembly_facet_vertices(tag_t component, int* out_count, int file);

// The transform that carries the frame `from` onto the frame `to` (a point
// with coordinates c in `from` goes to the point with coordinates c in
// `to`). Returns 0, -1 (null argument) or the host's code.
CARVELL_C_EXPORT int compute_transform(const double from[16], const double to[16], double out[16]);

// Extend: the hull of the points and of the points moved along each of the n
// directions by its distance, as the facet-vertex list of that hull (three
// points per facet, shared vertices repeated). distances[k] is multiplied by
// factor in place for each direction used; distances below 1e-7 in
// magnitude skip their direction. *points is replaced (old block freed) and
// *count updated. Returns 0, -1 (null argument, count < 1, n < 0; a point,
// direction, distance or the factor not finite or beyond 1e12, or counts
// whose arrays would pass 1 GiB; a result not finite; points unchanged) or
// the hull's code (points unchanged).
CARVELL_C_EXPORT int envelope_offset_points_extend(double** points, int* count, const double* directions,
                                                   double* distances, int n, double factor);

// Enlarge: the points form positions of per_position points each; every
// position named by a pair (position_numbers[k], from 1) is replaced by the
// vertices of its hull, each pushed outward by the largest offset naming it
// (at least 0) times factor, away from all its faces at once; other
// positions are kept as they are; points after the last whole position are
// dropped. The result is written into *points (never more than it held) and
// *count updated. Returns 0, -1 (null argument, count < 1; a point, offset
// or the factor not finite or beyond 1e12, or counts whose arrays would pass
// 1 GiB; a result not finite; points unchanged) or a position's hull code
// (points unchanged).
CARVELL_C_EXPORT int envelope_offset_points_enlarge(double** points, int* count, int per_position,
                                                    const int* position_numbers, const double* offsets, int n,
                                                    double factor);

// Rule-callable wrappers of the point-list functions of vd_eve.h.
// VD_EVE_save_sampling_points(n, 0, points, null).
CARVELL_C_EXPORT int hm_vd_eve_save_points(int n, GQ_VECTOR_t* points);
// VD_EVE_ask_points_list_filename(out); out holds 257 bytes.
CARVELL_C_EXPORT void hm_vd_eve_ask_points_filename(char* out);
// VD_EVE_read_points_vector_file; *out_count 0 when it fails.
CARVELL_C_EXPORT int hm_vd_eve_read_points_vector_file(const char* path, int* out_count, GQ_VECTOR_t** out);
// VD_EVEWIZ_save_points_list_file_from_rq(prefix, n, mode, out_path).
CARVELL_C_EXPORT int hm_vd_eve_save_points_list_file_from_rq(const char* prefix, int n, int mode, char* out_path);

#endif
