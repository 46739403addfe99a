// The point-cloud envelope wizard's steps on clearance data sets: a data set
// found by its upper-case name, and the engine-roll copies of the moving
// objects brought back to the static position.
#include "eve_internal.h"
#include "vd_eve.h"

#include "caldwyn.h"
#include "lurvane.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/owners.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

// The objects of position 0 of the data set's first configuration; none when
// it has no configuration position.
std::vector<tag_t> first_position_objects(tag_t dataset) {
    int positions = 0;
    if (CLEAR_ask_num_configuration_positions(dataset, 0, &positions) != 0 || positions < 1) return {};
    int count = 0;
    detail::SmBlock<tag_t> objects;
    if (CLEAR_ask_configuration_position_data(dataset, 0, 0, nullptr, nullptr, &count, objects.out()) != 0 ||
        !objects)
        return {};
    return std::vector<tag_t>(objects.get(), objects.get() + count);
}

}  // namespace

// The occurrence that stands for `occurrence` (the data set's i-th moving
// object, or an occurrence under it) in engine-roll copy i; the occurrence
// itself when the data set has no moving objects or the copy shows nothing
// for it; 0 when there is no such copy.
tag_t eve_roll_copy_occurrence(tag_t dataset, tag_t occurrence, int i) {
    const std::string name = roll_copy_name(i);
    const std::vector<tag_t> moving = first_position_objects(dataset);
    if (moving.empty() || i < 0 || i >= static_cast<int>(moving.size())) return occurrence;
    tag_t part = 0;
    if (HM_OBJ_ask_owning_part(dataset, &part) != 0) return occurrence;
    const tag_t copy = OCC_ask_part_occ_of_instance(part, OCC_ask_instance_of_name(part, name.c_str()));
    if (HM_ASSEM_ask_part_occurrence(occurrence) == occurrence && occurrence == moving[i]) return copy;
    const tag_t remapped = OCC_remap_occurrence(copy, moving[i], occurrence);
    return remapped ? remapped : occurrence;
}

// Places engine-roll copy i of the occurrence at the occurrence's transform
// followed by the configuration's motion M. 0 or the host's code (-1 when
// there is no copy to place).
int eve_apply_config_transform(tag_t dataset, tag_t occurrence, const double motion[16], bool set_instance, int i) {
    const tag_t target = HM_ASSEM_ask_part_occurrence(eve_roll_copy_occurrence(dataset, occurrence, i));
    const tag_t source = HM_ASSEM_ask_part_occurrence(occurrence);
    if (!target || !source) return -1;
    double current[16], placed[16];
    if (const int code = OCC_ask_transform_of_part_occ(source, current)) return code;
    if (const int code = MTX4_multiply(current, motion, placed)) return code;
    if (const int code = OCC_set_part_occ_transform(target, placed)) return code;
    if (set_instance) return OCC_set_instance_transform(HM_ASSEM_ask_inst_of_part_occ(target), placed);
    return 0;
}

}  // namespace carvell::envelope

using namespace carvell::envelope;

tag_t VD_EVEWIZ_find_dataset(const char* name) {
    if (!name || std::strlen(name) >= CLEAR_NAME_BUFSIZE) return 0;
    char wanted[CLEAR_NAME_BUFSIZE];
    std::snprintf(wanted, sizeof wanted, "%s", name);
    VD_convert_char_toupper(wanted);
    const tag_t root = HM_PART_ask_display_part();
    int count = 0;
    if (CLEAR_count_datasets(root, &count) != 0 || count < 1) return 0;
    std::vector<tag_t> datasets(static_cast<size_t>(count));
    if (CLEAR_ask_dataset_array(root, count, datasets.data()) != 0) return 0;
    tag_t found = 0;
    for (tag_t dataset : datasets) {
        char dataset_name[CLEAR_NAME_BUFSIZE] = "";
        if (CLEAR_ask_dataset_name(dataset, dataset_name) == 0 && std::strcmp(dataset_name, wanted) == 0)
            found = dataset;
    }
    return found;
}

void VD_EVEWIZ_recover_static_position(tag_t dataset) {
    // The number of configurations visited is the first configuration's
    // count of positions, as the wizard reads it.
    int count = 0;
    if (CLEAR_ask_num_configuration_positions(dataset, 0, &count) != 0) return;
    for (int c = 0; c < count; ++c) {
        MTX4_t motion{};
        int value = 0, n = 0;
        carvell::detail::SmBlock<tag_t> objects;
        if (CLEAR_ask_configuration_position_data(dataset, c, 0, &motion, &value, &n, objects.out()) != 0) continue;
        for (int i = 0; i < n; ++i) (void)eve_apply_config_transform(dataset, objects[i], motion.m, false, i);
    }
}
