// Internals of a certification run shared by its stages: failure and trace
// lines, the record's error text, result naming, and the stages' entries.
#ifndef CARVELL_MIRROR_MIRROR_FLOW_H
#define CARVELL_MIRROR_MIRROR_FLOW_H

#include "hm_vd_mc.h"

#include <vector>

namespace carvell::mirror {

// Logs the line to the system log, reports "Mirror Certification Error" and
// answers the status.
int log_failure(const char* line, int status);
// The same, after copying the long explanation into the record's error text.
int stage_failure(mc_data_s* data, const char* line, const char* long_text, int status);
// The tool's debug key: with it set and the host's checking level at least 1
// a run prints its progress lines and leaves its debug copies in the part.
inline constexpr const char* kDebugKey = "MIRROR_CERT";
bool debugging();
// A progress line, printed only while debugging().
void trace(const char* format, ...);

// Layer that temporaries go to before they are deleted.
inline constexpr int kScratchLayer = 256;

// Deletes each object that is still alive (bodies with their features).
void delete_alive(const std::vector<tag_t>& objects);

// A new host list holding the tags, or null for none.
hm_list_p_t make_host_list(const std::vector<tag_t>& tags);
// Replaces the list's items: the old list is deleted, a new one made (null
// when there are none).
void replace_host_list(hm_list_p_t* list, const std::vector<tag_t>& tags);

/* ---- the analyses ---- */

// The inside analysis through the backlite (mirror kind 0). 0; 2 the mirror's
// elements or plane; 3 the backlite's elements; 4 no least-squares plane; 5
// the centering plane or the vision analysis. The error text is written.
int mc_inside_process(mc_data_s* data);

// The inside search's score of an unsettled iteration from its errors in
// tolerances: f(plane error) + f(side distance) + g(side error), with
// f(x) = x - 1 from 1 on and g(y) = y - 1 from 3 on (0 below).
double inside_search_score(double plane_error, double side_distance, double side_error);

// Where the eye sees, on the mirror as recorded, the point straight behind
// it: the reflection point of a ray leaving the mirror along +x.
void mc_mirror_reflection_point(const mc_mirror_surface_record* mirror, const double eye[3], double point[3]);
// The point on the sphere where a ray from `point` is reflected into
// `direction` (bisection over the great circle through the point).
void mc_sphere_reflection_point(const double centre[3], double radius, const double point[3],
                                const double direction[3], double out[3]);

}  // namespace carvell::mirror

#endif
