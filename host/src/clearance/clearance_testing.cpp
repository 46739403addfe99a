// Fixtures of clearance data sets for tests: making a data set by hand, as a
// user of the host does in its clearance dialog, and reading what the
// library left in it.
#include "clearance/dataset_data.h"
#include "core/model.h"
#include "host_testing.h"

namespace host_testing {

namespace {

const host::ClearanceDataset* record(tag_t dataset) {
    const host::Object* o = host::find(dataset, HM_clearance_dataset_type);
    return o ? std::any_cast<host::ClearanceDataset>(&o->data) : nullptr;
}

}  // namespace

tag_t make_clearance_dataset(const char* name, tag_t part) {
    if (!name) return 0;
    const tag_t owner = part ? part : host::model().work_part;
    if (!host::part_data(owner)) return 0;
    host::Object& o = host::create(HM_clearance_dataset_type, 0, owner);
    o.name = name;
    o.data = host::ClearanceDataset{};
    return o.tag;
}

std::vector<tag_t> clearance_list(tag_t dataset, int list) {
    const host::ClearanceDataset* d = record(dataset);
    if (!d || (list != 1 && list != 2)) return {};
    return d->lists[list - 1].objects;
}

tag_t clearance_zone(tag_t dataset, tag_t object) {
    const host::ClearanceDataset* d = record(dataset);
    if (!d) return 0;
    auto it = d->zones.find(object);
    return it == d->zones.end() ? 0 : it->second;
}

}  // namespace host_testing
