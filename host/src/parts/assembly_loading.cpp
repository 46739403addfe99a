// Loading of assemblies: the session's assembly-loading options, parts opened
// without becoming the work part, components loaded with their parts, part
// names given in command-line form, and load statuses.
#include "core/model.h"
#include "morvish.h"
#include "omvra.h"
#include "parts/assembly_data.h"
#include "quillon.h"
#include "ulvarth.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

bool zero_or_one(int v) { return v == 0 || v == 1; }

static_assert(sizeof(HM_ASSEM_options_t) == sizeof(int) * 10, "ten int fields");

}  // namespace

int HM_ASSEM_ask_assem_options(HM_ASSEM_options_t* options) {
    if (!options) return HM_ERR_NULL_POINTER;
    const auto& f = host::model().assembly_options;
    *options = HM_ASSEM_options_t{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]};
    return 0;
}

int HM_ASSEM_set_assem_options(const HM_ASSEM_options_t* options) {
    if (!options) return HM_ERR_NULL_POINTER;
    const HM_ASSEM_options_t& o = *options;
    if (o.load_from < 0 || o.load_from > 2) return HM_ERR_BAD_ARGUMENT;
    for (int v : {o.load_components, o.load_latest, o.partial_loading, o.keep_work_part, o.update_structure,
                  o.emphasize_work_part, o.show_unloaded, o.load_fully, o.load_interpart_data})
        if (!zero_or_one(v)) return HM_ERR_BAD_ARGUMENT;
    host::model().assembly_options = {o.load_from,      o.load_components,     o.load_latest, o.partial_loading,
                                      o.keep_work_part, o.update_structure,    o.emphasize_work_part,
                                      o.show_unloaded,  o.load_fully,          o.load_interpart_data};
    return 0;
}

void PART_free_load_status(PART_load_status_t* status) {
    if (!status) return;
    for (int i = 0; i < status->n_parts && status->file_names; ++i) SM_free(status->file_names[i]);
    SM_free(status->file_names);
    SM_free(status->statuses);
    *status = HM_PART_load_status_t{false, 0, nullptr, nullptr};
}

int BASE_open_part_quietly(const char* file_name, tag_t* part, HM_PART_load_status_t* status) {
    if (!file_name || !part || !status) return HM_ERR_NULL_POINTER;
    const tag_t work = host::model().work_part;
    const tag_t display = host::model().display_part;
    const int result = HM_PART_open_quiet(file_name, part, status);
    host::set_work_part(work);
    host::model().display_part = display;
    return result;
}

int PART_load_component(tag_t component, PART_load_status_t* status) {
    if (!status) return HM_ERR_NULL_POINTER;
    *status = HM_PART_load_status_t{false, 0, nullptr, nullptr};
    if (!host::find(component)) return HM_ERR_INVALID_TAG;
    const host::ComponentData* d = host::component_record(component);
    if (!d) return HM_ERR_WRONG_TYPE;
    if (HM_PART_ask_part_tag(d->part_name.c_str())) return 0;
    tag_t part = 0;
    const std::string file_name = d->part_name;
    if (int code = BASE_open_part_quietly(file_name.c_str(), &part, status)) return code;
    // The component now shows its part, as when it was added.
    host::show_part_in_component(component);
    return 0;
}

int PART_ensure_occ_data_loaded(tag_t part_or_component) {
    host::Object* o = host::find(part_or_component);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_part_type && !host::component_record(part_or_component)) return HM_ERR_WRONG_TYPE;
    return 0;
}

int PART_ask_filename_of_part(tag_t part, char** file_name) {
    if (!file_name) return HM_ERR_NULL_POINTER;
    *file_name = nullptr;
    if (!host::find(part)) return HM_ERR_INVALID_TAG;
    const host::PartData* p = host::part_data(part);
    if (!p) return HM_ERR_WRONG_TYPE;
    *file_name = SM_string_copy(p->file_name.c_str());
    return 0;
}

int KWMGR_decode_cli_part_file(const char* cli_name, char* file_name, size_t size) {
    if (!cli_name || !file_name) return HM_ERR_NULL_POINTER;
    if (size == 0) return HM_ERR_BAD_ARGUMENT;
    file_name[0] = '\0';
    std::string name(cli_name);
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!name.empty() && blank(name.back())) name.pop_back();
    size_t first = 0;
    while (first < name.size() && blank(name[first])) ++first;
    name.erase(0, first);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    if (name.empty() || name.size() >= size) return HM_ERR_BAD_ARGUMENT;
    std::memcpy(file_name, name.c_str(), name.size() + 1);
    return 0;
}
