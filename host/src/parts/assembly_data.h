// Records of assemblies in the stand-in's model: components and occurrences
// of objects. Internal to the stand-in.
#ifndef CARVELL_HOST_ASSEMBLY_DATA_H
#define CARVELL_HOST_ASSEMBLY_DATA_H

#include "host_types.h"

#include <gp_Trsf.hxx>

#include <array>
#include <string>

namespace host {

// A component (type 63): a part placed in the assembly part that owns the
// component. The placed part is found by its file name, so a component of a
// part that is not loaded has no prototype.
struct ComponentData {
    std::string part_name;       // file name of the placed part
    std::string refset_name;
    std::string instance_name;
    std::array<double, 3> origin{};
    std::array<double, 9> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};   // rows are the axes
};

// An occurrence of an object: it stands in the assembly part for its
// prototype in the component's part, showing the prototype's geometry placed
// by the component.
struct OccurrenceData {
    tag_t prototype = 0;
    tag_t component = 0;
};

// The placement of a component: its axes are the columns of the rotation,
// its origin the translation.
gp_Trsf component_placement(const ComponentData& component);

// A linked copy, in the work part, of a face (as a sheet body of its own) or
// a curve, placed by the component (0: where it stands), made by a new
// linked feature that remembers the source: 0 or the host's code.
int link_object(tag_t source, tag_t component, tag_t* feature);

}  // namespace host

#endif
