// The motion environment of a part: its one current mechanism, the links
// with their mass records and markers, the joints with their motion inputs
// and drivers.
#include "motion/motion_records.h"

#include "core/checks.h"
#include "omvra.h"
#include "quillon.h"
#include "tolvric.h"

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace host::motion;

namespace host::motion {

tag_t current_mechanism() {
    auto it = model().mechanisms.find(model().work_part);
    if (it == model().mechanisms.end()) return 0;
    return find(it->second, HM_motion_mechanism_type) ? it->second : 0;
}

}  // namespace host::motion

namespace {

int missing_or_wrong(tag_t tag) { return host::find(tag) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG; }

// Objects of a type whose record belongs to the mechanism, in creation order.
template <class T>
std::vector<tag_t> members(tag_t mechanism, int type) {
    std::vector<tag_t> tags;
    for (auto& [tag, o] : host::model().objects)
        if (o.status == HM_OBJ_ALIVE && o.type == type)
            if (const T* d = std::any_cast<T>(&o.data); d && d->mechanism == mechanism) tags.push_back(tag);
    return tags;
}

int answer_tags(const std::vector<tag_t>& tags, int* count, tag_t** array) {
    *count = static_cast<int>(tags.size());
    *array = host::tag_array(tags);
    return 0;
}

void copy_name(char* to, const char* from) { std::snprintf(to, HM_MOTION_NAME_SIZE, "%s", from ? from : ""); }

// A link (0 for ground) that belongs to the mechanism.
bool is_link_or_ground(tag_t link, tag_t mechanism) {
    if (link == 0) return true;
    const LinkData* d = record<LinkData>(link, HM_motion_link_type);
    return d && d->mechanism == mechanism;
}

}  // namespace

/* ---- the motion environment ---- */

int HM_MOTION_initialize(void) {
    const tag_t part = host::model().work_part;
    if (!host::part_data(part)) return HM_ERR_NO_PART;
    if (current_mechanism()) return 0;
    host::Object& m = host::create(HM_motion_mechanism_type, 0, part);
    m.data = MechanismData{};
    host::model().mechanisms[part] = m.tag;
    return 0;
}

int HM_MOTION_is_initialized(bool* initialized) {
    if (!initialized) return HM_ERR_NULL_POINTER;
    *initialized = current_mechanism() != 0;
    return 0;
}

int KMC_get_current_mech_tag(tag_t* mechanism) {
    if (!mechanism) return HM_ERR_NULL_POINTER;
    *mechanism = current_mechanism();
    return *mechanism ? 0 : HM_ERR_NOT_FOUND;
}

int KMC_get_link_tags_in_mechanism(tag_t mechanism, int* count, tag_t** links) {
    if (!count || !links) return HM_ERR_NULL_POINTER;
    if (!host::find(mechanism, HM_motion_mechanism_type)) return missing_or_wrong(mechanism);
    return answer_tags(members<LinkData>(mechanism, HM_motion_link_type), count, links);
}

int KMC_get_joint_tags_in_mechanism(tag_t mechanism, int* count, tag_t** joints) {
    if (!count || !joints) return HM_ERR_NULL_POINTER;
    if (!host::find(mechanism, HM_motion_mechanism_type)) return missing_or_wrong(mechanism);
    return answer_tags(members<JointData>(mechanism, HM_motion_joint_type), count, joints);
}

int KMC_cleanup_motion_part(tag_t part) {
    if (!host::part_data(part)) return missing_or_wrong(part);
    return 0;
}

/* ---- links ---- */

int HM_MOTION_init_link_struct(HM_MOTION_link_t* link) {
    if (!link) return HM_ERR_NULL_POINTER;
    *link = HM_MOTION_link_t{};
    return 0;
}

namespace {
// What a link is made of: geometry, not the mechanism's own objects (links,
// joints, markers, functions, parameter objects) nor a part.
bool is_link_geometry(const host::Object& o) {
    const bool motion = o.type >= HM_motion_mechanism_type && o.type <= HM_smart_point_type;
    return !motion && o.type != HM_direction_type && o.type != HM_part_type;
}
}  // namespace

int HM_MOTION_create_link(const HM_MOTION_link_t* link, tag_t* link_obj) {
    if (!link || !link_obj) return HM_ERR_NULL_POINTER;
    const tag_t mechanism = current_mechanism();
    if (!mechanism) return HM_ERR_NOT_FOUND;
    if (link->num_geometries <= 0) return HM_ERR_BAD_ARGUMENT;
    if (!link->geometries) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < link->num_geometries; ++i) {
        const host::Object* g = host::find(link->geometries[i]);
        if (!g) return HM_ERR_INVALID_TAG;
        if (!is_link_geometry(*g)) return HM_ERR_WRONG_TYPE;
    }
    const tag_t part = host::model().work_part;
    const double origin[3] = {0, 0, 0};
    host::Object& l = host::create(HM_motion_link_type, 0, part);
    const tag_t tag = l.tag;
    l.name = std::string(link->name, strnlen(link->name, HM_MOTION_NAME_SIZE));
    LinkData d;
    d.mechanism = mechanism;
    d.geometry.assign(link->geometries, link->geometries + link->num_geometries);
    // The centre-of-gravity point, its scalars and the marker go with the link.
    d.cog = new_parameter_point(part, origin);
    const PointData* cog = record<PointData>(d.cog, HM_smart_point_type);
    for (tag_t scalar : cog->scalars) host::find(scalar)->owner = tag;
    host::find(d.cog)->owner = tag;
    host::Object& marker = host::create(HM_motion_marker_type, 0, part);
    marker.data = MarkerData{};
    marker.owner = tag;
    d.marker = marker.tag;
    host::find(tag)->data = d;
    *link_obj = tag;
    return 0;
}

int HM_MOTION_init_link_mass_struct(HM_MOTION_link_mass_t* mass) {
    if (!mass) return HM_ERR_NULL_POINTER;
    *mass = HM_MOTION_link_mass_t{};
    return 0;
}

int HM_MOTION_ask_link_mass_properties(tag_t link, HM_MOTION_link_mass_t* mass) {
    if (!mass) return HM_ERR_NULL_POINTER;
    const LinkData* d = record<LinkData>(link, HM_motion_link_type);
    if (!d) return missing_or_wrong(link);
    mass->cog = d->cog;
    mass->inertia_marker = d->marker;
    mass->mass = d->mass;
    for (int i = 0; i < 6; ++i) mass->inertias[i] = d->inertias[i];
    return 0;
}

int HM_MOTION_set_link_mass_properties(tag_t link, const HM_MOTION_link_mass_t* mass) {
    if (!mass) return HM_ERR_NULL_POINTER;
    LinkData* d = record<LinkData>(link, HM_motion_link_type);
    if (!d) return missing_or_wrong(link);
    if (!host::finite_value(mass->mass) || mass->mass < 0.0 || !host::finite_values(mass->inertias, 6))
        return HM_ERR_BAD_ARGUMENT;
    if (!record<PointData>(mass->cog, HM_smart_point_type) || !record<MarkerData>(mass->inertia_marker, HM_motion_marker_type))
        return HM_ERR_WRONG_TYPE;
    d->cog = mass->cog;
    d->marker = mass->inertia_marker;
    d->mass = mass->mass;
    d->has_mass = true;
    bool inertias = false;
    for (int i = 0; i < 6; ++i) {
        d->inertias[i] = mass->inertias[i];
        inertias = inertias || mass->inertias[i] != 0.0;
    }
    d->has_inertias = inertias;
    return 0;
}

int KMC_init_link(KMC_link_t* link) {
    if (!link) return HM_ERR_NULL_POINTER;
    link->name.text = nullptr;
    link->num_geometries = 0;
    link->mechanism = 0;
    return 0;
}

int KMC_ask_link(tag_t link, KMC_link_t* record_out) {
    if (!record_out) return HM_ERR_NULL_POINTER;
    const LinkData* d = record<LinkData>(link, HM_motion_link_type);
    if (!d) return missing_or_wrong(link);
    TEXT_init_string(&record_out->name, host::find(link)->name.c_str());
    record_out->num_geometries = static_cast<int>(d->geometry.size());
    record_out->mechanism = d->mechanism;
    return 0;
}

int KMC_get_link_parameters(tag_t link, int* has_mass, double* mass, int* has_inertias, double inertias[6],
                            double cog[3], tag_t* marker, int* has_velocity, double velocity[3]) {
    if (!has_mass || !mass || !has_inertias || !inertias || !cog || !marker || !has_velocity || !velocity)
        return HM_ERR_NULL_POINTER;
    const LinkData* d = record<LinkData>(link, HM_motion_link_type);
    if (!d) return missing_or_wrong(link);
    double c[3] = {0, 0, 0};
    (void)point_coordinates(d->cog, c);
    *has_mass = d->has_mass ? 1 : 0;
    *mass = d->mass;
    *has_inertias = d->has_inertias ? 1 : 0;
    for (int i = 0; i < 6; ++i) inertias[i] = d->inertias[i];
    for (int i = 0; i < 3; ++i) cog[i] = c[i];
    *marker = d->marker;
    *has_velocity = 0;
    for (int i = 0; i < 3; ++i) velocity[i] = 0.0;
    return 0;
}

int KMC_set_marker_location(tag_t marker, const double location[3]) {
    if (!location) return HM_ERR_NULL_POINTER;
    MarkerData* m = record<MarkerData>(marker, HM_motion_marker_type);
    if (!m) return missing_or_wrong(marker);
    if (!host::finite_values(location, 3)) return HM_ERR_BAD_ARGUMENT;
    m->location = {location[0], location[1], location[2]};
    return 0;
}

int KMC_set_marker_coord_matrix_tag(tag_t marker, tag_t matrix) {
    MarkerData* m = record<MarkerData>(marker, HM_motion_marker_type);
    if (!m) return missing_or_wrong(marker);
    if (!host::find(matrix, HM_matrix_type)) return missing_or_wrong(matrix);
    m->matrix = matrix;
    return 0;
}

int KMC_ask_marker(tag_t marker, double location[3], tag_t* matrix) {
    if (!location || !matrix) return HM_ERR_NULL_POINTER;
    const MarkerData* m = record<MarkerData>(marker, HM_motion_marker_type);
    if (!m) return missing_or_wrong(marker);
    for (int i = 0; i < 3; ++i) location[i] = m->location[i];
    *matrix = m->matrix;
    return 0;
}

/* ---- joints ---- */

int HM_MOTION_init_joint_struct(HM_MOTION_joint_t* joint) {
    if (!joint) return HM_ERR_NULL_POINTER;
    *joint = HM_MOTION_joint_t{};
    return 0;
}

int HM_MOTION_create_joint(const HM_MOTION_joint_t* joint, tag_t* joint_obj) {
    if (!joint || !joint_obj) return HM_ERR_NULL_POINTER;
    const tag_t mechanism = current_mechanism();
    if (!mechanism) return HM_ERR_NOT_FOUND;
    if (joint->type < HM_MOTION_REVOLUTE || joint->type > HM_MOTION_PLANAR) return HM_ERR_BAD_ARGUMENT;
    if (joint->first_link == 0 || joint->first_link == joint->second_link) return HM_ERR_BAD_ARGUMENT;
    if (!is_link_or_ground(joint->first_link, mechanism) || !is_link_or_ground(joint->second_link, mechanism))
        return HM_ERR_WRONG_TYPE;
    if (joint->first_origin == 0) return HM_ERR_BAD_ARGUMENT;
    double v[3];
    if (!point_coordinates(joint->first_origin, v) ||
        (joint->second_origin && !point_coordinates(joint->second_origin, v)))
        return HM_ERR_WRONG_TYPE;
    if (!direction_vector(joint->first_direction, v) ||
        (joint->second_direction && !direction_vector(joint->second_direction, v)))
        return HM_ERR_WRONG_TYPE;
    if (!host::finite_value(joint->value)) return HM_ERR_BAD_ARGUMENT;
    JointData d;
    d.mechanism = mechanism;
    d.record = *joint;
    d.record.name[HM_MOTION_NAME_SIZE - 1] = '\0';
    host::Object& j = host::create(HM_motion_joint_type, 0, host::model().work_part);
    j.name = d.record.name;
    j.data = d;
    *joint_obj = j.tag;
    return 0;
}

int HM_MOTION_ask_joint(tag_t joint, HM_MOTION_joint_t* record_out) {
    if (!record_out) return HM_ERR_NULL_POINTER;
    const JointData* d = record<JointData>(joint, HM_motion_joint_type);
    if (!d) return missing_or_wrong(joint);
    *record_out = d->record;
    copy_name(record_out->name, host::find(joint)->name.c_str());
    return 0;
}

int HM_MOTION_init_joint_motion_input_struct(HM_MOTION_joint_motion_input_t* input) {
    if (!input) return HM_ERR_NULL_POINTER;
    *input = HM_MOTION_joint_motion_input_t{};
    return 0;
}

int HM_MOTION_set_joint_motion_input(tag_t joint, const HM_MOTION_joint_motion_input_t* input) {
    if (!input) return HM_ERR_NULL_POINTER;
    JointData* d = record<JointData>(joint, HM_motion_joint_type);
    if (!d) return missing_or_wrong(joint);
    if (input->type < HM_MOTION_INPUT_NONE || input->type > HM_MOTION_INPUT_HARMONIC) return HM_ERR_BAD_ARGUMENT;
    if (input->type == HM_MOTION_INPUT_FUNCTION && !host::find(input->function, HM_motion_function_type))
        return HM_ERR_WRONG_TYPE;
    if (!host::finite_values(input->values, 4)) return HM_ERR_BAD_ARGUMENT;
    d->input = *input;
    return 0;
}

int HM_MOTION_ask_joint_motion_input(tag_t joint, HM_MOTION_joint_motion_input_t* input) {
    if (!input) return HM_ERR_NULL_POINTER;
    const JointData* d = record<JointData>(joint, HM_motion_joint_type);
    if (!d) return missing_or_wrong(joint);
    *input = d->input;
    return 0;
}

/* ---- motion drivers ---- */

int KMC_init_motion_driver_data(KMC_motion_driver_t* driver) {
    if (!driver) return HM_ERR_NULL_POINTER;
    *driver = KMC_motion_driver_t{};
    return 0;
}

int KMC_set_motion_driver(tag_t joint, const KMC_motion_driver_t* driver) {
    if (!driver) return HM_ERR_NULL_POINTER;
    JointData* d = record<JointData>(joint, HM_motion_joint_type);
    if (!d) return missing_or_wrong(joint);
    if (driver->kind < 0 || !host::finite_values(driver->values, 4)) return HM_ERR_BAD_ARGUMENT;
    d->driver = *driver;
    return 0;
}

int KMC_get_motion_driver(tag_t joint, KMC_motion_driver_t* driver) {
    if (!driver) return HM_ERR_NULL_POINTER;
    const JointData* d = record<JointData>(joint, HM_motion_joint_type);
    if (!d) return missing_or_wrong(joint);
    *driver = d->driver;
    return 0;
}

int KMC_locate_driver_joints(tag_t mechanism, hm_list_p_t* joints) {
    if (!joints) return HM_ERR_NULL_POINTER;
    *joints = nullptr;
    if (!host::find(mechanism, HM_motion_mechanism_type)) return missing_or_wrong(mechanism);
    std::vector<tag_t> driven;
    for (tag_t j : members<JointData>(mechanism, HM_motion_joint_type))
        if (record<JointData>(j, HM_motion_joint_type)->driver.kind != KMC_DRIVER_NONE) driven.push_back(j);
    if (driven.empty()) return 0;
    return host::new_list(driven, joints);
}
