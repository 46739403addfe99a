// Records of assemblies in the stand-in's model: components and occurrences
// of objects. Internal to the stand-in.
#ifndef CARVELL_HOST_ASSEMBLY_DATA_H
#define CARVELL_HOST_ASSEMBLY_DATA_H

#include "host_types.h"

#include <gp_Trsf.hxx>

#include <array>
#include <string>
#include <vector>

namespace host {

struct Object;

// A component (type 63): a part placed in the assembly part that owns the
// component. The placed part is found by its file name, so a component of a
// part that is not loaded has no prototype.
struct ComponentData {
    std::string part_name;       // file name of the placed part
    std::string refset_name;
    std::string instance_name;
    std::array<double, 3> origin{};
    std::array<double, 9> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};   // rows are the axes
    // The part occurrence this one is a child of (0: a child of the
    // assembly part itself) and the instance that names it there (0: none).
    // The placement above is in the assembly part's coordinates.
    tag_t parent = 0;
    tag_t instance = 0;
};

// An instance (HM_instance_type): the named use of a part in an assembly
// part; its part occurrence is the component it was made with.
struct InstanceData {
    tag_t component = 0;
};

// An occurrence of an object: it stands in the assembly part for its
// prototype in the component's part, showing the prototype's geometry placed
// by the component.
struct OccurrenceData {
    tag_t prototype = 0;
    tag_t component = 0;
};

// A layout (view sequence, HM_layout_type): the views it shows and which of
// them is the work view.
struct LayoutData {
    std::vector<tag_t> views;
    size_t work = 0;
};
LayoutData* layout_record(tag_t layout);   // null for anything else

// The records behind a tag; null for 0, deleted tags and other objects.
ComponentData* component_record(tag_t component);
OccurrenceData* occurrence_record(tag_t occurrence);

// A component's placement as a rigid motion (the axes are the columns of the
// rotation, the origin the translation), and its setting from one.
gp_Trsf placement_of(const ComponentData& component);
void set_placement(ComponentData& component, const gp_Trsf& placement);

// Moves an object's own geometry (point, curve, surface, shape) by the
// motion; false when the kernel refuses (the object is then unchanged).
bool transform_geometry(Object& object, const gp_Trsf& motion);

// A new occurrence, in the component's assembly part, of an object of the
// component's part, showing the prototype's geometry placed by the
// component; 0 when the prototype is not of that part or cannot be placed.
tag_t make_occurrence(tag_t component, tag_t prototype);

// Shows a component's part in its assembly part (when that part is loaded):
// occurrences of the bodies and facetted models it shows (those of its
// reference set, when the part has one of that name), and the part's own
// components as children placed through it.
void show_part_in_component(tag_t component);

// The part-occurrence children of a component (or, for a part, the
// components placed in it directly), in creation order.
std::vector<tag_t> part_occ_children(tag_t part_occ);

// A linked copy, in the work part, of a face (as a sheet body of its own) or
// a curve, placed by the component (0: where it stands), made by a new
// linked feature that remembers the source: 0 or the host's code.
int link_object(tag_t source, tag_t component, tag_t* feature);

}  // namespace host

#endif
