// Simulation scenarios: scenario parts derived from a master part, their
// part files in the master's scenario folder (a folder named after the
// master's part file without its extension, beside it), the listing of
// those files and the scenario session.
//
// A scenario's part file is "<folder>/<name>.prt"; under the
// data-management system its leaf is the system's form
// "@DB|<master>|A|scenario|<name>.prt". The record of which parts are
// scenarios is in the model, so an undo mark takes it back with the parts.
#include "core/model.h"
#include "core/sinks.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "sarnweld.h"
#include "vornesk.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The scenario session of the last SFMOD_enter_scenario. It is not part of
// the model: an undo does not bring back a session that was left.
SFMOD_session_t g_session{0, 0};

// Raises the failure a test armed for this function of the module, once.
void raise_if_armed(const char* function) {
    host::Settings& s = host::settings();
    if (s.failing_scenario_call.empty() || s.failing_scenario_call != function) return;
    s.failing_scenario_call.clear();
    ERROR_raise(__FILE__, __LINE__, s.failing_scenario_code, "scenario module failure");
}

// The scenario folder of a master part file: beside it, named after it
// without its extension.
std::string scenario_folder(const std::string& master_file) {
    char folder[HM_MAX_FSPEC_BUFSIZE], leaf[HM_MAX_FSPEC_BUFSIZE], stem[HM_MAX_FSPEC_BUFSIZE],
        joined[HM_MAX_FSPEC_BUFSIZE];
    if (master_file.empty() || hc4576(master_file.c_str(), HC_FILE_PART, folder, leaf) != 0 ||
        hc4574(leaf, HC_FILE_PART, stem) != 0 || !*stem || hc4575(folder, stem, HC_FILE_FOLDER, joined) != 0)
        return std::string();
    return joined;
}

// The master part file whose scenarios a part has: its own, or its
// master's when it is a scenario part.
std::string master_file_of(tag_t part) {
    auto it = host::model().scenarios.find(part);
    if (it != host::model().scenarios.end()) return it->second.master_file;
    const host::PartData* p = host::part_data(part);
    return p ? p->file_name : std::string();
}

// The part file of the master's scenario of the name.
std::string scenario_file(const std::string& master_file, const std::string& name) {
    const std::string folder = scenario_folder(master_file);
    if (!RTENV_ask_kwmanager_active()) return folder + "/" + name + ".prt";
    std::string stem = fs::path(master_file).filename().string();
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".prt") == 0) stem.erase(stem.size() - 4);
    return folder + "/@DB|" + stem + "|A|scenario|" + name + ".prt";
}

char** string_array(const std::vector<std::string>& texts) {
    if (texts.empty()) return nullptr;
    auto** array = static_cast<char**>(SM_alloc(texts.size() * sizeof(char*)));
    for (size_t i = 0; i < texts.size(); ++i) array[i] = SM_string_copy(texts[i].c_str());
    return array;
}

}  // namespace

/* ---- the listing ---- */

int HM_SF_locate_scenarios(int* count, char*** files) {
    if (!count || !files) return HM_ERR_NULL_POINTER;
    *count = 0;
    *files = nullptr;
    const tag_t work = HM_ASSEM_ask_work_part();
    if (!work) return HM_ERR_NO_PART;
    const std::string folder = scenario_folder(master_file_of(work));
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) return 0;
    std::vector<std::string> found;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        // Every entry but a folder: a part file that went missing behind a
        // link is listed too, for the caller to find missing.
        const std::string leaf = it->path().filename().string();
        std::error_code unreadable;
        if (!it->is_directory(unreadable) && leaf.size() > 4 && leaf.compare(leaf.size() - 4, 4, ".prt") == 0)
            found.push_back(it->path().string());
    }
    if (error) return HM_ERR_FILE;
    std::sort(found.begin(), found.end());
    *files = string_array(found);
    *count = static_cast<int>(found.size());
    return 0;
}

void HM_free_string_array(int count, char** strings) {
    if (!strings) return;
    for (int i = 0; i < count; ++i) SM_free(strings[i]);
    SM_free(strings);
}

/* ---- the scenario module ---- */

bool SFMOD_is_scenario_part(tag_t part) {
    return host::part_data(part) && host::model().scenarios.count(part) > 0;
}

SFMOD_session_t* SFMOD_enter_scenario() {
    raise_if_armed(__func__);
    const tag_t root = CONTEXT_ask_root_part();
    if (!root) ERROR_raise(__FILE__, __LINE__, HM_ERR_NO_PART, "no root part to derive scenarios from");
    g_session = SFMOD_session_t{root, 0};
    return &g_session;
}

tag_t SFMOD_create_scen_from_root(const char* name) {
    raise_if_armed(__func__);
    const host::PartData* master = host::part_data(g_session.master);
    if (!master) ERROR_raise(__FILE__, __LINE__, HM_ERR_NO_PART, "no scenario session");
    if (!name || !*name || std::string(name).find('/') != std::string::npos)
        ERROR_raise(__FILE__, __LINE__, HM_ERR_BAD_ARGUMENT, "not a scenario name");
    const std::string file = scenario_file(master_file_of(g_session.master), name);
    if (scenario_folder(master_file_of(g_session.master)).empty())
        ERROR_raise(__FILE__, __LINE__, HM_ERR_BAD_ARGUMENT, "the master part has no file name");
    if (HM_PART_ask_part_tag(file.c_str()))
        ERROR_raise(__FILE__, __LINE__, HM_ERR_BAD_ARGUMENT, "a part of the scenario's file is loaded");
    host::PartData p = *master;
    p.file_name = file;
    p.wcs = 0;
    host::Object& o = host::create(HM_part_type, 0, 0);
    o.part = o.tag;
    o.name = file;
    o.data = p;
    return o.tag;
}

void SFMOD_add_scenario(const char* name, bool active) {
    raise_if_armed(__func__);
    if (!host::part_data(g_session.scenario) || !host::part_data(g_session.master))
        ERROR_raise(__FILE__, __LINE__, HM_ERR_NOT_FOUND, "the scenario session has no scenario part");
    auto& scenarios = host::model().scenarios;
    const std::string master = master_file_of(g_session.master);
    if (active)
        for (auto& [tag, record] : scenarios)
            if (record.master_file == master) record.active = false;
    scenarios[g_session.scenario] = host::ScenarioRecord{master, name ? name : "", active};
}

void SFMOD__save_scenario(tag_t scenario) {
    raise_if_armed(__func__);
    if (!SFMOD_is_scenario_part(scenario))
        ERROR_raise(__FILE__, __LINE__, HM_ERR_WRONG_TYPE, "not a scenario part");
    const fs::path folder = fs::path(host::part_data(scenario)->file_name).parent_path();
    std::error_code error;
    const bool made = fs::create_directory(folder, error);
    const int saved = error ? HM_ERR_FILE : HM_PART_save(scenario);
    if (saved == 0) return;
    if (made) fs::remove(folder, error);
    ERROR_raise(__FILE__, __LINE__, saved, "the scenario part file cannot be written");
}

char* SFMOD__ask_scen_dir_fm_master(tag_t master) {
    if (!host::part_data(master)) return nullptr;
    const std::string folder = scenario_folder(master_file_of(master));
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) return nullptr;
    return SM_string_copy(folder.c_str());
}
