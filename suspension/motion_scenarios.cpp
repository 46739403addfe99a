// Simulation scenarios of the work part: the existence test by name (any
// case), the removal of every scenario with the master's scenario folder,
// and the removal of the scenario folder alone.
#include "suspension_motion.h"

#include "farquil.h"
#include "hm_vd_motion.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "sarnweld.h"
#include "tolvric.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"
#include "ulvarth.h"
#include "vornesk.h"

#include <cctype>
#include <string>

namespace sus = carvell::suspension;
using carvell::detail::SmBlock;

namespace {

// The source and lines the host's errors of these operations name.
constexpr const char* kSource = "hm_vd_motion_util";
constexpr int kDecodeLine = 1369;

// Remove all: a listed scenario file does not exist.
constexpr int kScenarioFileMissing = 1;

// The scenario part files of the work part, freed with HM_free_string_array.
class ScenarioFiles {
public:
    ScenarioFiles() = default;
    ~ScenarioFiles() { HM_free_string_array(count_, files_); }
    ScenarioFiles(const ScenarioFiles&) = delete;
    ScenarioFiles& operator=(const ScenarioFiles&) = delete;

    int locate() { return HM_SF_locate_scenarios(&count_, &files_); }
    int count() const { return count_; }
    const char* operator[](int i) const { return files_[i]; }

private:
    int count_ = 0;
    char** files_ = nullptr;
};

std::string lower_case(const char* text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The scenario name of a listed file: under the data-management system the
// name its part file name decodes to (an undecodable one raises the host's
// internal error), else the file's leaf; without the part's extension, then
// without that of scenario data.
std::string scenario_name_of(const char* file) {
    char leaf[HM_MAX_FSPEC_BUFSIZE] = "", name[HM_MAX_FSPEC_BUFSIZE] = "";
    if (sus::scenario_names_decoded()) {
        char number[KWMGR_FIELD_BUFSIZE], revision[KWMGR_FIELD_BUFSIZE], type[KWMGR_FIELD_BUFSIZE],
            decoded[KWMGR_FIELD_BUFSIZE];
        if (KWMGR_decode_part_filename(file, number, revision, type, decoded) != 0)
            ERROR_internal(kSource, kDecodeLine, sus::undecodable_part_name_message());
        (void)hc4574(decoded, HC_FILE_PART, leaf);
        (void)hc4574(leaf, HC_FILE_SCENARIO_DATA, name);
    } else {
        (void)hc4574(file, HC_FILE_PART, name);
    }
    return name;
}

}  // namespace

namespace carvell::suspension {

int find_scenario(const char* wanted_name, bool* exists) {
    *exists = false;
    ScenarioFiles files;
    const int listed = files.locate();
    const std::string wanted = lower_case(wanted_name);
    try {
        for (int i = 0; i < files.count(); ++i) {
            if (lower_case(scenario_name_of(files[i]).c_str()) == wanted) {
                *exists = true;
                break;
            }
        }
    } catch (...) {
        *exists = false;
        return carvell::detail::caught_code(kSource, kDecodeLine);
    }
    return listed;
}

}  // namespace carvell::suspension

int HM_VD_MOTION_is_scenario_exist(const char* name, bool* exists) {
    if (!name || !exists) return sus::kBadInput;
    sus::HostSession session;
    return sus::find_scenario(name, exists);
}

namespace {

// The work part's scenario folder: beside its part file, named after it
// without the extension. Empty when the name cannot be built.
std::string work_part_scenario_folder() {
    char file[HM_MAX_FSPEC_BUFSIZE], folder[HM_MAX_FSPEC_BUFSIZE], leaf[HM_MAX_FSPEC_BUFSIZE],
        stem[HM_MAX_FSPEC_BUFSIZE], joined[HM_MAX_FSPEC_BUFSIZE];
    if (HM_PART_ask_part_name(HM_ASSEM_ask_work_part(), file, sizeof file) != 0 ||
        hc4576(file, HC_FILE_PART, folder, leaf) != 0 || hc4574(leaf, HC_FILE_PART, stem) != 0 || !*stem ||
        hc4575(folder, stem, HC_FILE_FOLDER, joined) != 0)
        return std::string();
    return joined;
}

// Closes the scenario's part when it is loaded, then deletes its file: 0,
// kScenarioFileMissing, or the host's code of the deletion.
int remove_scenario_file(const char* file) {
    if (HM_PART_is_loaded(file)) (void)HM_PART_close(HM_PART_ask_part_tag(file), 0, 1);
    int missing = 0;
    const int asked = HM_CFI_ask_file_exist(file, &missing);
    if (asked != 0) return asked;
    if (missing != 0) return kScenarioFileMissing;
    return hc4561(file, HC_FILE_PART);
}

}  // namespace

int HM_VD_MOTION_remove_all_scenarios() {
    sus::HostSession session;
    // The folder is named before any scenario part is closed: a scenario
    // work part closed on the way leaves no work part to name it by.
    const std::string folder = work_part_scenario_folder();
    int listed = 0;
    {
        ScenarioFiles files;
        listed = files.locate();
        for (int i = 0; i < files.count(); ++i) {
            const int removed = remove_scenario_file(files[i]);
            if (removed != 0) return removed;
        }
    }
    int missing = 1;
    if (!folder.empty() && HM_CFI_ask_file_exist(folder.c_str(), &missing) == 0 && missing == 0) {
        const int deleted = hc4561(folder.c_str(), HC_FILE_FOLDER);
        if (deleted != 0) return deleted;
    }
    return listed;
}

namespace {

// Whether the folder lies beside the master's part file and is named after
// it: the only folder the removal may delete.
bool is_scenario_folder_of(tag_t master, const char* folder) {
    char file[HM_MAX_FSPEC_BUFSIZE], master_folder[HM_MAX_FSPEC_BUFSIZE], leaf[HM_MAX_FSPEC_BUFSIZE],
        stem[HM_MAX_FSPEC_BUFSIZE];
    if (HM_PART_ask_part_name(master, file, sizeof file) != 0 ||
        hc4576(file, HC_FILE_PART, master_folder, leaf) != 0 || hc4574(leaf, HC_FILE_PART, stem) != 0)
        return false;
    SmBlock<char> directory, name;
    if (CFI_split_filespec(folder, 0, directory.out(), name.out()) != 0) return false;
    return std::string(directory.get()) == master_folder && std::string(name.get()) == stem;
}

}  // namespace

int HM_VD_MOTION_remove_scenario_folder(tag_t master) {
    if (!master) return sus::kBadInput;
    SmBlock<char> folder(SFMOD__ask_scen_dir_fm_master(master));
    if (!folder || !is_scenario_folder_of(master, folder.get())) return sus::kBadInput;
    const int deleted = CFI_delete_file(folder.get(), CFI_FILE_TYPE_FOLDER);
    ERROR_lprintf("\n+++Remove scenario path: %s Return = %d\n", folder.get(), deleted);
    return deleted;
}
