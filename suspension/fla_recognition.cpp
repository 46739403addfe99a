// Recognition of the five-link-axle mechanism: the current mechanism of the
// work part has the template's 15 links and 23 joints under the template's
// names, each joint of its host type between the links the template joins,
// and the two shock joints as its articulation drivers.
#include "fla_tables.h"
#include "suspension_motion.h"

#include "hm_vd_fla_susp.h"
#include "hm_vd_motion.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "tolvric.h"

#include <cstdio>
#include <cstring>

namespace sus = carvell::suspension;

namespace {

constexpr const char* kGround = "GROUND";
constexpr int kLeftShockEntry = 7;
constexpr int kRightShockEntry = 18;

int table_index(const char* name, const char* const* table, int count) {
    for (int i = 0; i < count; ++i)
        if (std::strcmp(name, table[i]) == 0) return i;
    return -1;
}

// The articulation drivers: at least two, and when exactly two, named as
// the two shock joints.
bool drivers_match() {
    int count = 0;
    tag_t* joints = nullptr;
    (void)HM_VD_MOTION_ask_articulation_drive_joints(&count, &joints);
    carvell::detail::SmBlock<tag_t> owned(joints);
    if (count < 2) return false;
    if (count > 2) return true;
    for (int i = 0; i < 2; ++i) {
        char name[HM_MOTION_NAME_SIZE] = "";
        (void)HM_OBJ_ask_name(joints[i], name, sizeof name);
        if (std::strcmp(name, sus::kFlaJointNames[kLeftShockEntry]) != 0 &&
            std::strcmp(name, sus::kFlaJointNames[kRightShockEntry]) != 0)
            return false;
    }
    return true;
}

bool link_names_match(const tag_t* links, int count) {
    for (int i = 0; i < count; ++i) {
        KMC_link_t link;
        (void)KMC_init_link(&link);
        if (KMC_ask_link(links[i], &link) != 0) return false;
        const bool known = table_index(TEXT_ask_string(&link.name), sus::kFlaLinkNames, FLA_SUSP_LINK_COUNT) >= 0;
        TEXT_free(&link.name);
        if (!known) return false;
    }
    return true;
}

// The name of a joint's link, "GROUND" for none.
void link_name(tag_t link, char* name, size_t size) {
    if (link == 0) {
        std::snprintf(name, size, "%s", kGround);
        return;
    }
    name[0] = '\0';
    (void)HM_OBJ_ask_name(link, name, size);
}

bool joint_matches(tag_t joint) {
    HM_MOTION_joint_t record;
    (void)HM_MOTION_init_joint_struct(&record);
    if (HM_MOTION_ask_joint(joint, &record) != 0) return false;
    const int entry = table_index(record.name, sus::kFlaJointNames, FLA_SUSP_JOINT_COUNT);
    if (entry < 0) return false;
    const sus::FlaExpectedJoint& expected = sus::kFlaExpectedJoints[entry];
    if (record.type != expected.type) return false;
    // Each link tested alone: the order of the two does not matter.
    for (tag_t link : {record.first_link, record.second_link}) {
        char name[HM_MOTION_NAME_SIZE];
        link_name(link, name, sizeof name);
        if (std::strcmp(name, expected.links[0]) != 0 && std::strcmp(name, expected.links[1]) != 0) return false;
    }
    return true;
}

bool structure_matches() {
    tag_t mechanism = 0;
    (void)KMC_get_current_mech_tag(&mechanism);
    int link_count = 0, joint_count = 0;
    tag_t *links = nullptr, *joints = nullptr;
    (void)KMC_get_link_tags_in_mechanism(mechanism, &link_count, &links);
    carvell::detail::SmBlock<tag_t> owned_links(links);
    (void)KMC_get_joint_tags_in_mechanism(mechanism, &joint_count, &joints);
    carvell::detail::SmBlock<tag_t> owned_joints(joints);
    if (link_count != FLA_SUSP_LINK_COUNT || joint_count != FLA_SUSP_JOINT_COUNT) return false;
    if (!link_names_match(links, link_count)) return false;
    for (int i = 0; i < joint_count; ++i)
        if (!joint_matches(joints[i])) return false;
    return true;
}

}  // namespace

int HM_VD_is_fla_template(bool* is_fla) {
    if (!is_fla) return sus::kBadInput;
    *is_fla = false;
    bool initialized = false;
    if (HM_MOTION_is_initialized(&initialized) != 0 || !initialized) return sus::kBadInput;
    *is_fla = drivers_match() && structure_matches();
    return sus::kOk;
}
