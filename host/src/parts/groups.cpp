// Groups of objects of a part (type 15): an object that names its members.
#include "omvra.h"
#include "core/model.h"

#include <algorithm>
#include <vector>

namespace {

struct GroupData {
    std::vector<tag_t> members;
};

}  // namespace

int HM_GROUP_create_group(const tag_t* members, int count, tag_t* group) {
    if (!group || (count > 0 && !members)) return HM_ERR_NULL_POINTER;
    if (count < 0) return HM_ERR_BAD_ARGUMENT;
    if (!host::model().work_part) return HM_ERR_NO_PART;
    for (int i = 0; i < count; ++i)
        if (!host::find(members[i])) return HM_ERR_INVALID_TAG;
    host::Object& o = host::create(HM_group_type, 0);
    o.data = GroupData{std::vector<tag_t>(members, members + count)};
    *group = o.tag;
    return 0;
}

int HM_GROUP_add_member_to_group(tag_t member, tag_t group) {
    host::Object* g = host::find(group, HM_group_type);
    if (!g) return HM_ERR_INVALID_TAG;
    if (!host::find(member)) return HM_ERR_INVALID_TAG;
    auto* d = std::any_cast<GroupData>(&g->data);
    if (std::find(d->members.begin(), d->members.end(), member) == d->members.end()) d->members.push_back(member);
    return 0;
}

int HM_GROUP_ask_group_data(tag_t group, tag_t** members, int* count) {
    if (!members || !count) return HM_ERR_NULL_POINTER;
    host::Object* g = host::find(group, HM_group_type);
    if (!g) return HM_ERR_INVALID_TAG;
    std::vector<tag_t> alive;
    for (tag_t t : std::any_cast<GroupData>(&g->data)->members)
        if (host::find(t)) alive.push_back(t);
    *count = static_cast<int>(alive.size());
    *members = host::tag_array(alive);
    return 0;
}

int HM_GROUP_ungroup_top(tag_t group) {
    if (!host::find(group, HM_group_type)) return HM_ERR_INVALID_TAG;
    host::erase(group);
    return 0;
}
