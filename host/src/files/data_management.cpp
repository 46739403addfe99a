// The data-management system's part names: whether the host runs under it,
// and the decoding of its part file names
// ("@DB|<part number>|<revision>|<file type>|<name>").
#include "core/sinks.h"
#include "quillon.h"
#include "sarnweld.h"
#include "ulvarth.h"

#include <cstdio>
#include <string>
#include <vector>

bool RTENV_ask_kwmanager_active(void) { return host::settings().kwmanager_active; }

int KWMGR_decode_part_filename(const char* file_name, char* part_number, char* revision, char* file_type,
                               char* name) {
    if (!file_name || !part_number || !revision || !file_type || !name) return HM_ERR_NULL_POINTER;
    std::string leaf = file_name;
    const size_t slash = leaf.rfind('/');
    if (slash != std::string::npos) leaf.erase(0, slash + 1);
    const std::string prefix = "@DB|";
    if (leaf.compare(0, prefix.size(), prefix) != 0) return HM_ERR_BAD_ARGUMENT;
    std::vector<std::string> fields;
    size_t start = prefix.size();
    for (;;) {
        const size_t bar = leaf.find('|', start);
        fields.push_back(leaf.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    if (fields.size() != 4) return HM_ERR_BAD_ARGUMENT;
    for (const std::string& field : fields)
        if (field.empty() || field.size() >= KWMGR_FIELD_BUFSIZE) return HM_ERR_BAD_ARGUMENT;
    char* outputs[4] = {part_number, revision, file_type, name};
    for (int i = 0; i < 4; ++i) std::snprintf(outputs[i], KWMGR_FIELD_BUFSIZE, "%s", fields[i].c_str());
    return 0;
}
