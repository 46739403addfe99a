// Point-cloud envelope wizard: point-list files in the temporary directory,
// the storage of a text file as list rules of the part's root, and the
// convex solid of a point file. Decorated (C++) exports.
//
// Point-list files hold one point a line, "%f %f %f" (x, y, z, part units),
// in the directory that KWII_TMP_DIR names: "points_list_eve.txt" (series
// "points_list_eve_%d.txt" when it is locked) and "points_list_eve.pts"
// (series "points_list_eve_%d.pts"). The path of the last ".txt" list saved
// is remembered for the process.
//
// A stored text file is a series of list rules of "Root:" named base,
// base_1, base_2, ..., each of at most 2000 lines as quoted strings (a
// double quote or a tilde inside a line written with a tilde before it),
// with an integer rule base_count holding the number of lists.
//
// Tables and arrays handed out are blocks of the host's memory manager:
// free each row and then the table, or the array, with SM_free. Text
// buffers: out paths and names hold 133 bytes, the remembered path 257.
#ifndef CARVELL_VD_EVE_H
#define CARVELL_VD_EVE_H

#include "carvell_export.h"
#include "gostrel.h"
#include "host_types.h"

#define VD_EVE_NAME_SIZE 133
#define VD_EVE_PATH_SIZE 257
// Modes of VD_EVEWIZ_save_points_list_file_from_rq: the ".txt" list (its
// path remembered) and the ".pts" list.
#define VD_EVE_MODE_TXT 79
#define VD_EVE_MODE_PTS -1

// Writes n points (flat when use_pointers is 0, else from the pointer array)
// into "points_list_eve.txt" or the first free name of its series, and
// remembers the path. Returns 0; -1 (null points with n > 0, n < 0,
// KWII_TMP_DIR unset, no free name, file not writable; nothing remembered);
// or the host's code when the file's protection cannot be reset.
CARVELL_CPP_EXPORT int VD_EVE_save_sampling_points(int n, int use_pointers, GQ_VECTOR_t* flat, double** pointers);

// Copies the remembered path into out (257 bytes; empty when none).
CARVELL_CPP_EXPORT void VD_EVE_ask_points_list_filename(char* out);

// Reads a table of numbers, one row per line that holds a token (tokens
// separated by blanks), into *table: *rows new rows of `columns` doubles.
// Returns 0; the existence code (1) for a missing file; -1 (null argument,
// columns < 1, a row with more or fewer tokens than columns, unreadable
// file). On failure *rows is 0 and *table null.
CARVELL_CPP_EXPORT int VD_EVE_read_points_list_file(const char* path, int columns, int* rows, double*** table);

// The same with three columns into one array of *count points.
CARVELL_CPP_EXPORT int VD_EVE_read_points_vector_file(const char* path, int* count, GQ_VECTOR_t** points);

// Stores the text file as list rules of "Root:" under `name` (count rule
// "<name>_count"), or, for a null name, under the first free of
// "%points_list", "%points_list2", "%points_list3", ... (free: neither it
// nor its count rule exists); out_name (133 bytes) receives the base.
// Returns the count rule's creation code (0); -1 (null path or out_name, an
// empty name, a name longer than 132 characters, a file that cannot be
// opened; no rule made) or a list rule's creation code.
CARVELL_CPP_EXPORT int VD_EVE_store_points_list_into_rq(const char* path, const char* name, char* out_name);

// Writes the lists base, base_1, ... base_<n_lists-1> of "Root:" one string
// a line into the point-list file of the mode (VD_EVE_MODE_TXT or
// VD_EVE_MODE_PTS; the mode is also the protection code). The base is the
// string rule "points_list_attri_name" of the owner, else "points_list";
// lists that do not exist are skipped. out_path (133 bytes) receives the
// path; in mode VD_EVE_MODE_TXT it is also remembered. Returns 0; -1 (null
// owner or out_path, another mode, KWII_TMP_DIR unset, a path longer than
// 132 characters, file not writable); or the host's code of a failing rule
// read or protection reset.
CARVELL_CPP_EXPORT int VD_EVEWIZ_save_points_list_file_from_rq(const char* owner, int n_lists, int mode,
                                                                char* out_path);

// The convex solid of the first n points of a point file ("%f %f %f" a
// line, kernel metres; read to single precision), made in the work part at
// its scale. *body is 0 until a body is made. Returns 0; -1 (null argument,
// n < 4, file cannot be opened); -2 (fewer than n points before the end or
// an empty line); or the host's code (points all on one plane, the solid
// refused, a host exception).
CARVELL_CPP_EXPORT int VD_EVE_create_bv_body_from_points(const char* path, int n, tag_t* body);

#endif
