// What the point-cloud envelope's steps share: the temporary directory and
// scratch files, the hull request, the point-list writer, the storage of a
// text file as list rules, the offsets and their direction rule, and the
// facet-vertex writer.
#ifndef CARVELL_ENVELOPE_EVE_INTERNAL_H
#define CARVELL_ENVELOPE_EVE_INTERNAL_H

#include "point_cloud_envelope.h"
#include "vd_eve.h"

#include "jorvale.h"
#include "omvra.h"
#include "toolbox/detail/finite.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace carvell::envelope {

// Error source of the point-cloud envelope's host errors.
constexpr const char* kEveSource = "vd_eve_util";
// File-type code of scratch point files, and the host's writable mode.
constexpr int kScratchFileType = 87;
constexpr int kWritableMode = 13107;
// Protection code of ".txt" point-list files.
constexpr int kTxtProtection = 79;
// Lines a list rule of a stored file holds at most.
constexpr int kLinesPerList = 2000;
// Vertices hulled at once while sampling.
constexpr int kSampleChunk = 150000;

// KWII_TMP_DIR with the delimiter appended; false when unset or too long
// for `size` bytes.
bool temporary_directory(std::string* dir, size_t size = VD_EVE_PATH_SIZE);
// "<dir><unique>.dat"; false when the directory is unset or the name does
// not fit 257 bytes.
bool scratch_path(std::string* path);
// Metres per unit of the work part (0.001 millimetres, 0.0254 inches): the
// host's part-to-kernel factor.
double metres_per_part_unit();
// The hull tolerance: the surface setting times the part-to-kernel scale.
double hull_tolerance();

// The host-API session of one rule function, closed on every way out.
class RuleSession {
public:
    RuleSession() { HM_initialize(); }
    ~RuleSession() { HM_terminate(); }
    RuleSession(const RuleSession&) = delete;
    RuleSession& operator=(const RuleSession&) = delete;
};

// A scratch file open under its number, closed when it goes out of scope
// and deleted once it was opened.
class ScratchFile {
public:
    explicit ScratchFile(std::string path) : path_(std::move(path)) {}
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    int open(int access);
    void close();
    int number() const { return file_; }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
    int file_ = 0;
    bool open_ = false;
    bool remove_ = false;
};
// One point as a line "%f %f %f" of the open file.
int write_point(int file, const double p[3]);
// Reads n points ("%f %f %f", single precision) scaled by `scale`; -2 when
// the file ends or a line is no point.
int read_points(int file, int n, double scale, std::vector<double>* points);

// A hull of points; the request's points are the hull's vertices once made.
class Hull {
public:
    Hull() = default;
    ~Hull() { CHULL_free_hull(&input_, &output_); }
    Hull(const Hull&) = delete;
    Hull& operator=(const Hull&) = delete;
    // 0 or the hull's code. `points` stays the caller's.
    int make(const double* points, int count);
    int vertex_count() const { return input_.count; }
    const double* vertex(int i) const { return input_.points[i]; }
    int facet_count() const { return output_.n_facets; }
    const CHULL_facet_t& facet(int i) const { return output_.facets[i]; }
    const CHULL_input_t& input() const { return input_; }
    const CHULL_output_t& output() const { return output_; }

private:
    std::vector<double> points_;
    CHULL_input_t input_{};
    CHULL_output_t output_{};
};

// ---- point-list files and list rules ----
// Writes n points "%f %f %f\n"; the file's protection is reset before (when
// it exists) and after; a failing reset raises a host error. -1 when the
// file cannot be opened, else 0.
int write_points_file(const char* path, int n, int use_pointers, const double* flat, double** pointers);
// "<dir><name>" or the first name of "<dir><series>" (numbers from 0) that
// does not exist or whose protection can be reset with `code`; false when
// none fits `size` bytes.
bool choose_point_list_path(const std::string& dir, const char* name, const char* series, int code, size_t size,
                            std::string* path);
// The text of a stored line: the line in double quotes, a double quote or a
// tilde inside it escaped with a tilde.
std::string quoted_line(const char* line);
// Stores the open file as list rules base, base_1, ... of `owner`;
// *lists = lists made. 0 or the first failing creation's code.
int store_file_as_lists(std::FILE* file, const char* owner, const char* base, int* lists);

// ---- offsets ----
int apply_envelope_offsets(double** points, int* count, int per_position, x_DList offsets, int mode,
                           double factor);
void combine_offset_directions(const double a[3], const double b[3], double out[3]);
int envelope_line_intersect(const double p0[3], const double p1[3], const double q[3], const double d[3],
                            double out[3]);
// The enlargement's corner rule, defined once per release
// (eve_enlarge_rule.cpp in this one): a vertex's direction so far combined
// with one more facet normal, and whether the offsets write trace lines.
void enlarge_corner_direction(const double direction[3], const double normal[3], double out[3]);
bool enlarge_traces();

// ---- sampling ----
// Whether a feature of the body has "Envelope" in its name: a body that an
// envelope made, never sampled again.
bool made_by_envelope(tag_t body);
// The body's facetted models; one made now with the host's default
// settings when it has none (*made set). 0 or the host's code.
int models_of_body(tag_t body, std::vector<tag_t>* models, bool* made);
// The first n point values of a list, appended; EVE_ERR_WRONG_VALUE for a
// value of another kind, -1 for a point not finite or beyond the model space.
int pop_point_values(x_DList list, int n, std::vector<double>* points);
// The tags of a list's values read with `ask` (HM_RQ_ask_tag,
// VD_RQ_ask_object_tag), appended; EVE_ERR_WRONG_VALUE for a value of
// another kind.
int list_tags(x_DList list, int (*ask)(const Value*, tag_t*), std::vector<tag_t>* tags);
// Facet vertices of one facetted model written to the file, part units;
// *count = lines written. 0 or the host's code.
int write_facet_model_vertices(tag_t model, int file, int* count);
// The n points placed at the frames (see gen_convex_envelope), each handed
// to `emit` (its nonzero code ends the placing); k = frames - 1 (-1 without
// frames): the points are carried from the reference onto the first frame
// (in place) and each further frame's copy from the first frame. 0 or a
// host code.
int place_at_frames(int n, double* points, const double reference[16], int k, x_DList frames,
                    const std::function<int(const double*)>& emit, int* out_count);
// The same, written to the file.
int write_framed_points(int n, double* points, const double reference[16], int k, x_DList frames, int* out_count,
                        int file);
// Reads `total` points from the open file, in chunks of `chunk` points when
// there are more; each chunk is reduced to its hull's vertices (a chunk too
// small or flat for a hull kept as it is). The collected points.
int read_points_in_chunks(int file, int total, int chunk, std::vector<double>* points);

// ---- assemblies of the wizards ----
// The host-API session bracket, left on every way out.
struct SessionBracket {
    SessionBracket();
    ~SessionBracket();
    SessionBracket(const SessionBracket&) = delete;
    SessionBracket& operator=(const SessionBracket&) = delete;
};
// Adds a part file as a component of the parent (VD_EVEWIZ_add_part_to_assy).
int add_part_to_assembly(tag_t parent, const char* part_name, const char* refset, const char* instance_name,
                         const double placement[16], tag_t* instance);
// Name of engine-roll copy i: "ROLL_MOVING_COMP_COPY_<i>".
std::string roll_copy_name(int i);
// The three axis points, in order, as the rows of the orientation matrix:
// the wizard's reference orientation from points of any type with x, y, z.
// 0; -1 for a null argument or an axis point that is not finite.
template <typename Point>
int eve_reference_orientation(const Point* axes, double matrix[9]) {
    if (!axes || !matrix) return -1;
    for (int i = 0; i < 3; ++i)
        if (!carvell::detail::all_finite({axes[i].x, axes[i].y, axes[i].z})) return -1;
    for (int i = 0; i < 3; ++i) {
        matrix[3 * i] = axes[i].x;
        matrix[3 * i + 1] = axes[i].y;
        matrix[3 * i + 2] = axes[i].z;
    }
    return 0;
}
// The component's subtree as the wizard's child-part enquiry appends it:
// the component itself when asked, then its part-occurrence children, each
// followed by its own subtree. False (nothing added) for a tag that is no
// component.
bool eve_child_part_tags(tag_t component, bool with_itself, std::vector<tag_t>* tags);
// Engine-roll copy i's occurrence standing for the occurrence, and the copy
// placed by a configuration's motion (eve_wizard_datasets.cpp).
tag_t eve_roll_copy_occurrence(tag_t dataset, tag_t occurrence, int i);
int eve_apply_config_transform(tag_t dataset, tag_t occurrence, const double motion[16], bool set_instance, int i);

}  // namespace carvell::envelope

#endif
