// Motion functions: the mechanism, links (plain, by the name of their
// geometry, with mass, from solid bodies) and their mass properties.
#include "suspension_motion.h"

#include "hm_vd_motion.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "tolvric.h"

#include <cstdio>
#include <vector>

namespace sus = carvell::suspension;

namespace {

// Accuracy asked of the host's mass properties.
constexpr double kMassAccuracy = 0.999;

// A link with mass: the link, then its centre of gravity, then its weight.
// A link whose mass cannot be set is deleted again, so nothing half-made is left.
int link_with_mass(const char* name, tag_t* geometry, int count, double weight, double cog[3], tag_t* link) {
    tag_t made = 0;
    if (int status = HM_VD_MOTION_create_simple_link(name, geometry, count, &made)) {
        *link = 0;
        return status;
    }
    int status = HM_VD_MOTION_set_cog(&made, cog) == 0 ? sus::kOk : sus::kCogNotSet;
    if (status == sus::kOk && HM_VD_MOTION_set_weight(&made, weight) != 0) status = sus::kWeightNotSet;
    if (status != sus::kOk) {
        (void)HM_OBJ_delete_object(made);
        made = 0;
    }
    *link = made;
    return status;
}

}  // namespace

int HM_VD_MOTION_create_mech(char* /*name*/, tag_t* mechanism) {
    if (!mechanism) return sus::kBadInput;
    sus::HostSession session;
    const int status = HM_MOTION_initialize();
    tag_t current = 0;
    (void)KMC_get_current_mech_tag(&current);
    *mechanism = current;
    return status;
}

int HM_VD_MOTION_create_simple_link(const char* name, tag_t* geometry, int count, tag_t* link) {
    if (!name || !link || !sus::tags_within(geometry, count, HM_VD_MOTION_MAX_LINK_GEOMETRY)) return sus::kBadInput;
    sus::HostSession session;
    HM_MOTION_link_t record;
    (void)HM_MOTION_init_link_struct(&record);
    std::snprintf(record.name, sizeof record.name, "%s", name);
    record.num_geometries = count;
    record.geometries = geometry;
    return HM_MOTION_create_link(&record, link);
}

int HM_VD_MOTION_create_link_by_name(const char* link_name, char* object_name, int* count, tag_t* link) {
    if (!link_name || !object_name || !count || !link) return sus::kBadInput;
    sus::HostSession session;
    *count = 0;
    std::vector<tag_t> objects;
    tag_t object = 0;
    while (true) {
        if (int status = HM_OBJ_cycle_by_name(object_name, &object)) return status;
        if (object == 0) break;
        objects.push_back(object);
    }
    *count = static_cast<int>(objects.size());
    if (objects.empty()) return sus::kOk;
    return HM_VD_MOTION_create_simple_link(link_name, objects.data(), *count, link);
}

int HM_VD_MOTION_create_link(const char* name, tag_t* geometry, int count, double* weight, double cog[3],
                             tag_t* link) {
    if (!name || !weight || !cog || !link) return sus::kBadInput;
    sus::HostSession session;
    return link_with_mass(name, geometry, count, *weight, cog, link);
}

int HM_VD_MOTION_create_link_with_single_body(const char* name, tag_t body, tag_t* link) {
    if (!name || !link) return sus::kBadInput;
    sus::HostSession session;
    HM_WEIGHT_properties_t props;
    // Always kilograms, whatever the part's units.
    if (int status = HM_WEIGHT_estab_solid_props(body, kMassAccuracy, HM_WEIGHT_KILOGRAMS, &props)) return status;
    return link_with_mass(name, &body, 1, props.mass, props.center_of_mass, link);
}

int HM_VD_MOTION_create_link_with_multi_body(const char* name, tag_t* bodies, int count, tag_t* link) {
    if (!name || !bodies || !link || count <= 0 || !sus::tags_within(bodies, count, HM_VD_MOTION_MAX_LINK_GEOMETRY))
        return sus::kBadInput;
    sus::HostSession session;
    int units = 1;
    (void)HM_PART_ask_units(HM_ASSEM_ask_work_part(), &units);
    const int mass_units = units == 1 ? HM_WEIGHT_KILOGRAMS : HM_WEIGHT_POUNDS;
    carvell::detail::SmBlock<HM_WEIGHT_properties_t> props(
        static_cast<HM_WEIGHT_properties_t*>(SM_calloc(count, sizeof(HM_WEIGHT_properties_t))));
    if (!props) return sus::kBadInput;
    for (int i = 0; i < count; ++i)
        if (int status = HM_WEIGHT_estab_solid_props(bodies[i], kMassAccuracy, mass_units, &props[i])) return status;
    HM_WEIGHT_properties_t sum;
    if (int status = HM_WEIGHT_sum_props(count, props.get(), &sum)) return status;
    return link_with_mass(name, bodies, count, sum.mass, sum.center_of_mass, link);
}

int HM_VD_MOTION_set_cog(tag_t* link, double point[3]) {
    if (!link || !point) return sus::kBadInput;
    sus::HostSession session;
    HM_MOTION_link_mass_t mass;
    (void)HM_MOTION_init_link_mass_struct(&mass);
    if (int status = HM_MOTION_ask_link_mass_properties(*link, &mass)) return status;
    tag_t scalars[3];
    if (int status = HM_SO_ask_3_scalars_of_point(mass.cog, scalars)) return status;
    for (int i = 0; i < 3; ++i)
        if (int status = HM_SO_set_double_of_scalar(scalars[i], point[i])) return status;
    if (int status = KMC_set_marker_location(mass.inertia_marker, point)) return status;
    return HM_MOTION_set_link_mass_properties(*link, &mass);
}

int HM_VD_MOTION_set_weight(tag_t* link, double weight) {
    if (!link) return sus::kBadInput;
    sus::HostSession session;
    HM_MOTION_link_mass_t mass;
    (void)HM_MOTION_init_link_mass_struct(&mass);
    if (int status = HM_MOTION_ask_link_mass_properties(*link, &mass)) return status;
    mass.mass = weight;
    return HM_MOTION_set_link_mass_properties(*link, &mass);
}

int HM_VD_MOTION_set_inertias(tag_t* link, double inertias[6], double location[3], tag_t* orientation) {
    if (!link || !inertias || !location || !orientation) return sus::kBadInput;
    sus::HostSession session;
    HM_MOTION_link_mass_t mass;
    (void)HM_MOTION_init_link_mass_struct(&mass);
    if (int status = HM_MOTION_ask_link_mass_properties(*link, &mass)) return status;
    for (int i = 0; i < 6; ++i) mass.inertias[i] = inertias[i];
    if (int status = KMC_set_marker_location(mass.inertia_marker, location)) return status;
    if (int status = KMC_set_marker_coord_matrix_tag(mass.inertia_marker, *orientation)) return status;
    return HM_MOTION_set_link_mass_properties(*link, &mass);
}

int HM_VD_MOTION_info_link_mass_prop(tag_t link, mot_link_mass_info_s* info) {
    if (!info) return sus::kBadInput;
    sus::HostSession session;
    info->link = link;
    info->result = KMC_get_link_parameters(link, &info->has_mass, &info->mass, &info->has_inertias, info->inertias,
                                           info->cog, &info->marker, &info->has_velocity, info->velocity);
    return info->result;
}

int HM_VD_MOTION_cycle_obj(tag_t* object, int* type) {
    if (!object || !type) return sus::kBadInput;
    sus::HostSession session;
    const tag_t part = HM_ASSEM_ask_work_part();
    if (!part) return HM_ERR_NO_PART;
    *object = HM_OBJ_cycle_objs_in_part(part, *type, *object);
    return sus::kOk;
}
