// Reference sets of a part (type 69): a named set of the part's objects with
// an origin and an orientation, which an assembly uses to show the part.
#include "omvra.h"
#include "core/model.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

struct ReferenceSetData {
    std::array<double, 3> origin{};
    std::array<double, 9> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::vector<tag_t> members;
};

ReferenceSetData* reference_set(tag_t set) {
    host::Object* o = host::find(set, HM_reference_set_type);
    return o ? std::any_cast<ReferenceSetData>(&o->data) : nullptr;
}

int check_members(int count, const tag_t* members) {
    if (count < 0) return HM_ERR_BAD_ARGUMENT;
    if (count > 0 && !members) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < count; ++i)
        if (!host::find(members[i])) return HM_ERR_INVALID_TAG;
    return 0;
}

}  // namespace

int HM_ASSEM_create_ref_set(const char* name, const double origin[3], const double matrix[9], const tag_t* members,
                            int count, tag_t* ref_set) {
    if (!name || !origin || !matrix || !ref_set) return HM_ERR_NULL_POINTER;
    if (!*name || std::string(name).size() > 30) return HM_ERR_BAD_ARGUMENT;
    if (!host::model().work_part) return HM_ERR_NO_PART;
    if (int code = check_members(count, members)) return code;
    host::Object& o = host::create(HM_reference_set_type, 0);
    o.name = name;
    ReferenceSetData d;
    std::copy(origin, origin + 3, d.origin.begin());
    std::copy(matrix, matrix + 9, d.matrix.begin());
    for (int i = 0; i < count; ++i)
        if (std::find(d.members.begin(), d.members.end(), members[i]) == d.members.end())
            d.members.push_back(members[i]);
    o.data = d;
    *ref_set = o.tag;
    return 0;
}

int HM_ASSEM_add_ref_set_members(tag_t ref_set, int count, const tag_t* members) {
    ReferenceSetData* d = reference_set(ref_set);
    if (!d) return HM_ERR_INVALID_TAG;
    if (int code = check_members(count, members)) return code;
    for (int i = 0; i < count; ++i)
        if (std::find(d->members.begin(), d->members.end(), members[i]) == d->members.end())
            d->members.push_back(members[i]);
    return 0;
}

int HM_ASSEM_ask_ref_set_members(tag_t ref_set, int* count, tag_t** members) {
    if (!count || !members) return HM_ERR_NULL_POINTER;
    ReferenceSetData* d = reference_set(ref_set);
    if (!d) return HM_ERR_INVALID_TAG;
    std::vector<tag_t> alive;
    for (tag_t t : d->members)
        if (host::find(t)) alive.push_back(t);
    *count = static_cast<int>(alive.size());
    *members = host::tag_array(alive);
    return 0;
}

int HM_ASSEM_remove_ref_set_members(tag_t ref_set, int count, const tag_t* members) {
    ReferenceSetData* d = reference_set(ref_set);
    if (!d) return HM_ERR_INVALID_TAG;
    if (count < 0) return HM_ERR_BAD_ARGUMENT;
    if (count > 0 && !members) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < count; ++i) d->members.erase(std::remove(d->members.begin(), d->members.end(), members[i]),
                                                     d->members.end());
    return 0;
}
