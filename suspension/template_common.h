// What the suspension templates share: the copy of a table name, the hard
// points built in (point, mirror) pairs, lines and links built from tables,
// joints described by their directions and created in a chain, the
// articulation drivers, the deletion by name, and the bracket every
// building or deleting export opens.
#ifndef CARVELL_SUSPENSION_TEMPLATE_COMMON_H
#define CARVELL_SUSPENSION_TEMPLATE_COMMON_H

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <vector>

#include "host_types.h"
#include "suspension_motion.h"
#include "toolbox/detail/finite.h"

namespace carvell::suspension {

// Copies a table name into the caller's buffer of `size` bytes; an absent
// name (slot out of range) gives "".
void copy_table_name(const char* from, char* to, std::size_t size);

// The table's slot n, or "" when n is outside 0 .. count - 1.
inline const char* table_slot(const char* const* table, int count, int n) {
    return n >= 0 && n < count ? table[n] : "";
}

/* ---- points ---- */

// A hard point and its mirror image, built under their names. With
// `mirror_at_build` the mirror is recomputed through the plane before it is
// built; otherwise the caller's value is kept.
struct PointPair {
    const char* name;
    const char* mirror_name;
    const double* point;
    double* mirror;
    bool mirror_at_build;
};

// Builds the pairs in order. The first nonzero code of a point build ends
// the building and is returned; the mirroring goes on for every pair.
int build_point_pairs(const std::vector<PointPair>& pairs, const double plane_origin[3], const double plane_normal[3]);

/* ---- lines ---- */

struct LineSpec {
    const char* name;
    const double* from;
    const double* to;
};

// Builds (or moves) each named line. The codes of the line builds are not
// the structure's: a line the host refuses (one of length 0) is simply absent,
// which the links' search reports later.
void build_lines(const std::vector<LineSpec>& lines);

/* ---- links ---- */

struct LinkSpec {
    int slot;  // index into the record's links
    const char* name;
    std::vector<const char*> lines;  // names of the link's lines
};

// The first object of each name of the work part, appended to `found`. A
// search failure gives its code, a missing name -1.
int find_named_objects(const std::vector<const char*>& names, std::vector<tag_t>& found);

// Builds one link from the geometry and stores it in *link (0 when none was
// made); the code of the build.
int build_link(const char* name, std::vector<tag_t>& geometry, tag_t* link);

// Builds each link from its lines in order and stores it in links[slot].
// The first failure (a search failure, a missing line -1, a refused link)
// stops the building, so that no joint is later made to a link that is not.
int build_links(const std::vector<LinkSpec>& rows, tag_t* links);

/* ---- stabilizer bars ---- */

// The most components a stabilizer bar is given.
constexpr int kMaxBarComponents = 1000;

// Whether a bar's component array can be read for its count: a count of 0
// (nothing read), or a count up to kMaxBarComponents over an array that
// holds it (an array of the memory manager is checked against its size).
bool bar_components_fit(const tag_t* components, int count);

// The first object of the work part that is an occurrence of the prototype;
// 0 when there is none (or no work part).
tag_t first_occurrence_of(tag_t prototype);

// The first occurrence of each prototype, in order; prototypes without one
// are passed over.
std::vector<tag_t> occurrences_of(const tag_t* prototypes, int count);

/* ---- joints ---- */

constexpr int kGround = -1;  // second link of a joint to ground
constexpr double kAxisZ[3] = {0, 0, 1};

// A joint of a template, its directions and origin worked out from the record.
struct JointSpec {
    int slot;  // index into the record's joints
    const char* name;
    int code;         // library joint code
    int first_link;   // index into the record's links
    int second_link;  // index into the record's links, or kGround
    double first[3];
    double second[3];
    double origin[3];
};

// A joint with two given directions.
JointSpec joint_with(int slot, const char* name, int code, int first_link, int second_link,
                     const double first_direction[3], const double second_direction[3], const double origin[3]);

// The sense of a joint's second direction against its first.
enum class Sense { same, opposite };

// A joint whose first direction runs from a to b and whose second runs the
// same way or back.
JointSpec joint_along(int slot, const char* name, int code, int first_link, int second_link, const double a[3],
                      const double b[3], Sense sense, const double origin[3]);

// A joint whose two directions are both Z (the spherical joints).
JointSpec joint_on_z(int slot, const char* name, int code, int first_link, int second_link, const double origin[3]);

// The vector b - a.
void direction(const double a[3], const double b[3], double d[3]);

// Deletes the work part's motion joints of the name, so that a rebuilt
// template replaces its joints instead of adding a second set.
void delete_joints_named(const char* name);

// Called after a joint was created with code 0 (its slot and identifier).
using JointCreated = std::function<void(int slot, tag_t joint)>;

// Creates the joints in order, each replacing the template's joint of its
// name. A joint is created only when every earlier one returned 0; its
// identifier (0 when not created) goes to joints[slot]. The first nonzero
// code is returned.
int build_joints(const std::vector<JointSpec>& rows, const tag_t* links, tag_t* joints,
                 const JointCreated& created = {});

// Makes each joint an articulation driver of the mechanism.
void set_articulation_drivers(std::initializer_list<tag_t> joints);

/* ---- deletion ---- */

// Deletes the first object of the work part of each non-empty name.
void delete_first_of_each_name(const char* const* names, int count);

/* ---- the record's numbers ---- */

// Whether a template record's hard points and mirror plane are all finite:
// a record with a NaN or infinite coordinate is refused before anything is built.
template <class Record>
bool record_finite(const Record& s) {
    return detail::all_finite(&s.points[0][0], static_cast<int>(sizeof s.points / sizeof(double))) &&
           detail::finite3(s.plane_origin) && detail::finite3(s.plane_normal);
}

/* ---- the exports' bracket ---- */

// Runs a template step on a record inside a host-API session of its own:
// -1 for a null record, else the step's code.
template <class Record, class Step>
int in_session(Record* record, Step step) {
    if (!record) return kBadInput;
    HostSession session;
    return step(*record);
}

}  // namespace carvell::suspension

#endif
