// Shared inside the suspension family: the host-API session bracket of the
// motion exports, the library's joint codes as host joint types, and the
// status codes the family answers itself.
#ifndef CARVELL_SUSPENSION_MOTION_H
#define CARVELL_SUSPENSION_MOTION_H

#include "omvra.h"
#include "toolbox/detail/owners.h"

#include <cstddef>

namespace carvell::suspension {

// The family's own status codes.
enum Status {
    kOk = 0,
    kBadInput = -1,          // no work part, a null or unusable argument, a missing line
    kCogNotSet = 1,          // link with mass: the centre of gravity could not be set
    kWeightNotSet = 2        // link with mass: the weight could not be set
};

// Opens a host-API session for the length of an export (sessions nest, so
// an export called from another opens and closes its own).
class HostSession {
public:
    HostSession() { (void)HM_initialize(); }
    ~HostSession() { (void)HM_terminate(); }
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;
};

// Whether an array of object identifiers may be read as far as its count
// says: a count up to the limit, and within the array when it is one of the
// memory manager's (the caller's own arrays are taken at their count).
// Counts below 1 and null arrays are left to the host to refuse.
inline bool tags_within(const tag_t* tags, int count, int limit) {
    if (!tags || count < 1) return true;
    if (count > limit) return false;
    return SM_ask_block_size(tags) == 0 || carvell::detail::block_holds(tags, count, sizeof(tag_t));
}

// Motion input kinds of the library.
enum InputKind { kInputFunction = 1, kInputConstant = 3, kInputHarmonic = 4 };
// Length of a function line: at most 199 characters and the terminator.
constexpr size_t kFunctionLineSize = 200;
// A function object of one line of text (the text cut at size - 1
// characters). 0, kBadInput or the host's code.
int one_line_function(const char* text, size_t size, tag_t* function);

// The joint of a library code made by the host from its orientation frames
// (matrix objects made before) and the joint's parts; objects made for it
// go to `made`. Defined once per release (motion_joint_host.cpp in this
// one). The host's code.
int create_host_joint(const char* name, int code, tag_t first_link, tag_t second_link, double value,
                      tag_t first_frame, tag_t second_frame, const double first_direction[3],
                      const double second_direction[3], const double origin[3], carvell::detail::Temporaries& made,
                      tag_t* joint);

// Whether a work part with a name finds it among the scenario files; *exists
// false on failure. The listing's code, or that of the error a listed file
// raised.
int find_scenario(const char* name, bool* exists);
// Whether the scenario files' names are decoded as the data-management
// system's part names (when that system is active); defined once per
// release (motion_scenario_names.cpp in this one).
bool scenario_names_decoded();

// The host joint type of a library joint code: codes go in pairs from 3
// (3, 4 revolute ... 15, 16 planar); any other code is 0.
int joint_type_of_code(int code);

// Midpoint of two points.
inline void midpoint(const double a[3], const double b[3], double m[3]) {
    for (int i = 0; i < 3; ++i) m[i] = (a[i] + b[i]) * 0.5;
}

// The message of a scenario file whose part name the data-management
// system cannot decode, naming that system; defined once per release
// (motion_scenario_texts.cpp in this one).
const char* undecodable_part_name_message();

}  // namespace carvell::suspension

#endif
