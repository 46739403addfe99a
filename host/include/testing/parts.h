// Test fixtures of the stand-in host: parts (components and occurrences of
// assemblies, features). Included by host_testing.h.
#ifndef CARVELL_HOST_TESTING_PARTS_H
#define CARVELL_HOST_TESTING_PARTS_H

#include "../host_types.h"

#include "geometry.h"

#include <string>
#include <vector>

namespace host_testing {

// A component in the work part placing `part` (reference set "MODEL", the
// instance named after the part) at an origin with an orientation (rows are
// the axes; null: identity). A null or empty name leaves it unnamed.
HOST_API tag_t add_component(tag_t part, const char* name = nullptr, const double origin[3] = nullptr,
                             const double matrix[9] = nullptr);
// An occurrence, in the component's assembly part, of an object of the
// component's part, showing its geometry placed by the component (a face or
// an edge shows as a body of its own); 0 when the prototype is not of that
// part.
HOST_API tag_t add_occurrence(tag_t component, tag_t prototype);
// A linked feature copying a curve (or a face) of a loaded part into the
// work part, placed by the component (0: where it stands); 0 on failure.
HOST_API tag_t add_linked_copy(tag_t source, tag_t component = 0);
// A feature of the given kind that made `body` (0: none) and `objects`.
HOST_API tag_t add_feature(const char* kind, tag_t body, const std::vector<tag_t>& objects = {});
// A sketch named `name` whose plane has the origin and orientation (rows x,
// y, z; null: the absolute frame), holding the curves as members.
HOST_API tag_t add_sketch(const char* name, const double origin[3], const double orientation[9],
                          const std::vector<tag_t>& curves);
// Whether a feature still has its parameters (false once converted to an
// unparameterised feature, and for anything that is no feature).
HOST_API bool feature_is_parameterised(tag_t feature);
// The text of a note and the point it stands at ("" and the origin for
// anything that is no note).
HOST_API std::string note_text(tag_t note);
HOST_API Point3 note_origin(tag_t note);

// A view of the part with the name; the part's first view also makes the
// part's layout and is its work view, later views join the layout.
HOST_API tag_t add_view(tag_t part, const char* name);
// The work view of the display part's layout (0 for none).
HOST_API tag_t work_view();

}  // namespace host_testing

#endif
