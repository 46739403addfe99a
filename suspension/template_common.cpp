// What the suspension templates share: points in (point, mirror) pairs,
// lines and links from tables, chained joints, drivers and the deletion by
// name.
#include "template_common.h"

#include "hm_vd_motion.h"
#include "morvish.h"
#include "omvra.h"
#include "tolvric.h"

#include <cstdio>
#include <cstring>

namespace carvell::suspension {

namespace {

void set3(double* to, const double* from) { std::memcpy(to, from, 3 * sizeof(double)); }

}  // namespace

void copy_table_name(const char* from, char* to, std::size_t size) {
    if (!to || size == 0) return;
    std::snprintf(to, size, "%s", from ? from : "");
}

int build_point_pairs(const std::vector<PointPair>& pairs, const double plane_origin[3], const double plane_normal[3]) {
    int status = kOk;
    for (const PointPair& pair : pairs) {
        if (status == kOk) status = HM_VD_build_point(pair.name, pair.point);
        if (pair.mirror_at_build)
            (void)HM_VD_mirror_point_through_plane(pair.point, plane_origin, plane_normal, pair.mirror);
        if (status == kOk) status = HM_VD_build_point(pair.mirror_name, pair.mirror);
    }
    return status;
}

void build_lines(const std::vector<LineSpec>& lines) {
    for (const LineSpec& line : lines) (void)HM_VD_build_line(line.name, line.from, line.to);
}

int find_named_objects(const std::vector<const char*>& names, std::vector<tag_t>& found) {
    for (const char* name : names) {
        tag_t object = 0;
        if (int status = HM_OBJ_cycle_by_name(name, &object)) return status;
        if (!object) return kBadInput;
        found.push_back(object);
    }
    return kOk;
}

int build_link(const char* name, std::vector<tag_t>& geometry, tag_t* link) {
    tag_t made = 0;
    const int status = HM_VD_build_link(name, geometry.data(), static_cast<int>(geometry.size()), &made);
    *link = made;
    return status;
}

int build_links(const std::vector<LinkSpec>& rows, tag_t* links) {
    for (const LinkSpec& row : rows) {
        std::vector<tag_t> geometry;
        if (int status = find_named_objects(row.lines, geometry)) return status;
        if (int status = build_link(row.name, geometry, &links[row.slot])) return status;
    }
    return kOk;
}

bool bar_components_fit(const tag_t* components, int count) {
    if (count == 0) return true;
    return count > 0 && components && tags_within(components, count, kMaxBarComponents);
}

tag_t first_occurrence_of(tag_t prototype) {
    const tag_t part = CONTEXT_ask_work_part();
    if (!part || !prototype) return 0;
    for (tag_t object = HM_OBJ_cycle_all(part, 0); object; object = HM_OBJ_cycle_all(part, object))
        if (HM_ASSEM_is_occurrence(object) && HM_ASSEM_ask_prototype_of_occ(object) == prototype) return object;
    return 0;
}

std::vector<tag_t> occurrences_of(const tag_t* prototypes, int count) {
    std::vector<tag_t> found;
    for (int i = 0; prototypes && i < count; ++i)
        if (tag_t occurrence = first_occurrence_of(prototypes[i])) found.push_back(occurrence);
    return found;
}

JointSpec joint_with(int slot, const char* name, int code, int first_link, int second_link,
                     const double first_direction[3], const double second_direction[3], const double origin[3]) {
    JointSpec j{slot, name, code, first_link, second_link, {}, {}, {}};
    set3(j.first, first_direction);
    set3(j.second, second_direction);
    set3(j.origin, origin);
    return j;
}

void direction(const double a[3], const double b[3], double d[3]) {
    for (int i = 0; i < 3; ++i) d[i] = b[i] - a[i];
}

JointSpec joint_along(int slot, const char* name, int code, int first_link, int second_link, const double a[3],
                      const double b[3], Sense sense, const double origin[3]) {
    double first[3], second[3];
    direction(a, b, first);
    for (int i = 0; i < 3; ++i) second[i] = sense == Sense::opposite ? -first[i] : first[i];
    return joint_with(slot, name, code, first_link, second_link, first, second, origin);
}

JointSpec joint_on_z(int slot, const char* name, int code, int first_link, int second_link, const double origin[3]) {
    return joint_with(slot, name, code, first_link, second_link, kAxisZ, kAxisZ, origin);
}

void delete_joints_named(const char* name) {
    const tag_t part = CONTEXT_ask_work_part();
    if (!part) return;
    while (tag_t old = HM_OBJ_cycle_by_name_and_type(part, name, HM_motion_joint_type, 0))
        if (HM_OBJ_delete_object(old) != 0) break;
}

int build_joints(const std::vector<JointSpec>& rows, const tag_t* links, tag_t* joints, const JointCreated& created) {
    for (const JointSpec& j : rows) {
        delete_joints_named(j.name);
        const tag_t first_link = links[j.first_link];
        const tag_t second_link = j.second_link == kGround ? 0 : links[j.second_link];
        double first[3], second[3], origin[3];
        set3(first, j.first);
        set3(second, j.second);
        set3(origin, j.origin);
        tag_t joint = 0;
        const int status =
            HM_VD_MOTION_create_joint(j.name, j.code, first_link, second_link, 0.0, first, second, origin, &joint);
        joints[j.slot] = status == kOk ? joint : 0;
        if (status != kOk) return status;
        if (created) created(j.slot, joint);
    }
    return kOk;
}

void set_articulation_drivers(std::initializer_list<tag_t> joints) {
    KMC_motion_driver_t driver;
    (void)KMC_init_motion_driver_data(&driver);
    driver.kind = KMC_DRIVER_ARTICULATION;
    for (tag_t joint : joints) (void)KMC_set_motion_driver(joint, &driver);
}

void delete_first_of_each_name(const char* const* names, int count) {
    for (int n = 0; n < count; ++n) {
        const char* name = names[n];
        if (!name || !*name) continue;
        tag_t found = 0;
        if (HM_OBJ_cycle_by_name(name, &found) == 0 && found) (void)HM_OBJ_delete_object(found);
    }
}

}  // namespace carvell::suspension
