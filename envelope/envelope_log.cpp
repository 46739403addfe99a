// The record a tire-envelope run leaves in the work part: the log header,
// the log copied into the part's DESLOG string attributes, the layer
// categories, the reference set "PART", and the removal of the previous
// run's attributes, categories and reference sets.
#include "envelope_internal.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

constexpr int kAttributeLength = 132;   // characters of each DESLOG value
constexpr const char* kLogTitle = "DESLOG";
constexpr const char* kSeparator = "\n\n -------------------------------------------------------\n";
const char* const kFixedCategories[] = {"SOLID", "PART", "SECTION", "CENTERLINE", "DEVELOPMENTAL",
                                        "WIREFRAME", "THEORETICAL", "MATE"};

void zero_blanks(char* text, int count) {
    for (int i = 0; i < count && text[i]; ++i)
        if (text[i] == ' ') text[i] = '0';
}

int assign_attribute(tag_t holder, int n, const std::string& value) {
    char title[32];
    std::snprintf(title, sizeof title, "%s%d", kLogTitle, n);
    HM_ATTR_value_t v{};
    v.type = HM_ATTR_string;
    v.value.string = value.c_str();
    return ENVELOPE_CHECK("copy_log_attributes", HM_ATTR_assign(holder, title, &v));
}

// Whether a category name is one this engine makes: the fixed names, and
// "R" followed by a section angle ("R000", "R067.5", "R67.5", "R345", ...).
bool is_envelope_category(const std::string& name) {
    for (const char* fixed : kFixedCategories)
        if (name == fixed) return true;
    if (name.size() < 2 || name[0] != 'R') return false;
    bool digit = false;
    for (size_t i = 1; i < name.size(); ++i) {
        const char c = name[i];
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '.' && c != ' ')
            return false;
    }
    return digit;
}

int create_category(const char* name, const bool* mask, const char* description, std::string* failed) {
    HM_LAYER_category_info_t info{};
    std::snprintf(info.name, sizeof info.name, "%s", name);
    std::snprintf(info.descr, sizeof info.descr, "%s", description ? description : "");
    for (int i = 0; i < 256; ++i) info.layer_mask[i] = mask[i];
    tag_t category = 0;
    if (HM_LAYER_create_category(&info, &category) != 0) {
        *failed += name;
        *failed += ", ";
        return kFailed;
    }
    return 0;
}

bool valid_layer(int layer) { return layer >= 1 && layer <= 256; }

}  // namespace

void format_date_time(char* text, size_t size) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int year = local.tm_year + (local.tm_year < 97 ? 2000 : 1900);
    char date[32], time_text[32];
    std::snprintf(date, sizeof date, "%2d/%2d/%4d", local.tm_mon + 1, local.tm_mday, year);
    std::snprintf(time_text, sizeof time_text, "%2d:%2d:%2d", local.tm_hour, local.tm_min, local.tm_sec);
    zero_blanks(date, 8);
    zero_blanks(time_text, 8);
    const size_t used = strnlen(text, size);
    if (used < size) std::snprintf(text + used, size - used, "%s    %s", date, time_text);
}

std::string section_category_name(double a) {
    char name[32];
    if (a < 0.0) {
        a += 360.0;
        if (static_cast<int>(a * 10.0) % 10 == 0)
            std::snprintf(name, sizeof name, "R%03.0f", a);
        else
            std::snprintf(name, sizeof name, "R%-3.2f", a);
    } else if (static_cast<int>(a * 10.0) % 10 == 0) {
        std::snprintf(name, sizeof name, "R%03.0f", a);
    } else {
        std::snprintf(name, sizeof name, "R%3.1f", a);
    }
    return name;
}

void write_tire_envelope_log(tire_envelope_params_s* p) {
    if (p->profile_type < 0 || p->profile_type > 2) p->profile_type = 0;
    if (p->offset_method < 0 || p->offset_method > 1) p->offset_method = 0;
    if (p->point_cloud < 0 || p->point_cloud > 1) p->point_cloud = 0;
    std::FILE* f = p->log_file;
    if (!f) return;
    static const char* const kTypes[] = {"MAX GROWN", "8 KPH CHAINS", "72 KPH CHAINS"};
    static const char* const kMethods[] = {"BETWEEN TANGENTS", "BETWEEN ENDS"};
    std::fprintf(f, "%-24s%s\n", "DATE TIME", p->date_time);
    std::fprintf(f, "%-24s%s\n", "OPTIONAL NOTES", p->notes);
    std::fprintf(f, "%-24s%s\n", "RIM SIZE", p->rim_size);
    std::fprintf(f, "%-24s%.3f\n", "RIM DIAMETER", p->rim_diameter);
    std::fprintf(f, "%-24s%s\n", "TIRE PROFILE TYPE", kTypes[p->profile_type]);
    std::fprintf(f, "%-24s%s\n", "TIRE PROFILE FILE", p->profile_file);
    std::fprintf(f, "%-24s%s\n", "VEHICLE PROGRAM", p->vehicle_program);
    std::fprintf(f, "%-24s%s\n", "SUSPENSION", p->suspension);
    std::fprintf(f, "%-24s%s\n", "SPINDLE POINTS FILE", p->spindle_file);
    std::fprintf(f, "%-24s%.3f\n", "WHEEL CENTERLINE SHIFT", p->centerline_shift);
    std::fprintf(f, "%-24s%s\n", "ENVELOPE OFFSET", p->offset_from_file ? "FROM FILE" : "NONE");
    if (p->offset_from_file) {
        std::fprintf(f, "%-24s%s\n", "OFFSET FILE", p->offset_file);
        std::fprintf(f, "%-24s%s\n", "OFFSET METHOD", kMethods[p->offset_method]);
    }
    std::fprintf(f, "%-24s%.3f\n", "RADIAL ANGSTART", p->radial_start);
    std::fprintf(f, "%-24s%.3f\n", "RADIAL ANGEND", p->radial_end);
    std::fprintf(f, "%-24s%.3f\n", "SURFACE TOL", p->surface_tol);
    std::fprintf(f, "%-24s%.3f\n", "TRIM DIST SPINDLE", p->trim_dist);
    std::fprintf(f, "%-24s%d\n", "SEC 1 LAYER", p->sec1_layer);
    std::fprintf(f, "%-24s%d\n", "SURFACE LAYER", p->surface_layer);
    std::fprintf(f, "%-24s%d\n", "PROFILE LAYER", p->profile_layer);
    std::fprintf(f, "%-24s%d\n", "SPINDLE LINE LAYER", p->spindle_line_layer);
    std::fprintf(f, "%-24s%s\n", "POINT CLOUD", p->point_cloud ? "YES" : "NO");
    std::fprintf(f, "%-24s%.3f\n", "CONCAVITY SENSITIVITY", p->concavity);
    // The offset file is copied whenever it opens.
    if (std::FILE* offsets = p->offset_file[0] ? std::fopen(p->offset_file, "r") : nullptr) {
        std::fprintf(f, "%s", kSeparator);
        std::fprintf(f, "OFFSET FILE CONTENTS:\n");
        char line[132];
        while (std::fgets(line, sizeof line, offsets)) std::fprintf(f, "%s", line);
        std::fclose(offsets);
    }
}

int copy_log_attributes(const tire_envelope_params_s* p) {
    tag_t holder = 0;
    if (ENVELOPE_CHECK("copy_log_attributes", HM_ATTR_ask_part_attribute(&holder)) != 0) return kFailed;
    std::FILE* f = std::fopen(p->log_path, "r");
    if (!f) {
        warn("Log File", {"Error reading log file"});
        return kFailed;
    }
    char line[256];
    if (!std::fgets(line, sizeof line, f)) {
        warn("Log File", {std::feof(f) ? "Log file is empty" : "Error reading log file"});
        std::fclose(f);
        return kFailed;
    }
    std::string buffer;
    int n = 1;
    do {
        const size_t length = std::strlen(line);
        if (length <= 1) continue;
        if (line[length - 1] != '\n' && std::strspn(line, " ") == length) continue;
        for (size_t i = 0; i < length; ++i) {
            if (buffer.size() == kAttributeLength) {
                if (assign_attribute(holder, n++, buffer) != 0) {
                    std::fclose(f);
                    return kFailed;
                }
                buffer.clear();
            }
            buffer += line[i];
        }
    } while (std::fgets(line, sizeof line, f));
    std::fclose(f);
    if (buffer.empty()) return 0;
    const bool short_value = buffer.size() < kAttributeLength;
    buffer.resize(kAttributeLength, ' ');
    if (short_value) buffer[kAttributeLength - 1] = '\n';
    return assign_attribute(holder, n, buffer);
}

int create_envelope_categories(const tire_envelope_params_s* p) {
    bool used[256] = {};
    std::string failed;
    bool mask[256];
    auto only = [&](std::initializer_list<int> layers) {
        std::memset(mask, 0, sizeof mask);
        for (int l : layers)
            if (valid_layer(l)) mask[l - 1] = true;
    };
    auto mark = [&](int layer) {
        if (valid_layer(layer)) used[layer - 1] = true;
    };
    auto is_used = [&](int layer) { return valid_layer(layer) && used[layer - 1]; };
    for (int i = 0; i < p->num_sections; ++i) {
        const int layer = p->sec1_layer + i;
        only({layer});
        create_category(section_category_name(p->section_angles[i]).c_str(), mask, "Tire Env Radial Section",
                        &failed);
        mark(layer);
    }
    only({p->surface_layer});
    if (is_used(p->surface_layer)) syslog("\nWARNING: Category SOLID clashes with other categories.\n");
    create_category("SOLID", mask, nullptr, &failed);
    mark(p->surface_layer);
    only({p->surface_layer, p->spindle_line_layer});
    create_category("PART", mask, nullptr, &failed);
    mark(p->surface_layer);
    mark(p->spindle_line_layer);
    std::memset(mask, 0, sizeof mask);
    for (int i = 0; i < p->num_sections; ++i)
        if (valid_layer(p->sec1_layer + i)) mask[p->sec1_layer + i - 1] = true;
    create_category("SECTION", mask, nullptr, &failed);
    only({p->spindle_line_layer});
    create_category("CENTERLINE", mask, nullptr, &failed);
    mark(p->spindle_line_layer);
    only({p->profile_layer});
    if (is_used(p->profile_layer)) syslog("\nWARNING: Category DEVELOPMENTAL clashes with other categories.\n");
    create_category("DEVELOPMENTAL", mask, nullptr, &failed);
    mark(p->profile_layer);
    only({});
    for (const char* name : {"WIREFRAME", "THEORETICAL", "MATE"}) create_category(name, mask, nullptr, &failed);
    if (failed.empty()) return 0;
    const std::string text = "Error creating the following categories:\n" + failed;
    warn("Categories", {text.c_str()});
    return kFailed;
}

int add_part_reference_set(const char* name, const tag_t* members, int count) {
    const tag_t part = HM_ASSEM_ask_work_part();
    for (tag_t set = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, 0); set;
         set = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, set)) {
        char set_name[64] = "";
        if (HM_OBJ_ask_name(set, set_name, sizeof set_name) == 0 && std::strcmp(set_name, name) == 0)
            return HM_ASSEM_add_ref_set_members(set, count, members);
    }
    const double origin[3] = {0, 0, 0};
    const double matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    tag_t set = 0;
    if (HM_ASSEM_create_ref_set(name, origin, matrix, members, count, &set) != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "Cannot create reference set: %s", name);
        warn("Reference Set", {text});
        return kFailed;
    }
    return 0;
}

int delete_dcs() {
    tag_t holder = 0;
    int code = ENVELOPE_CHECK("delete_dcs", HM_ATTR_ask_part_attribute(&holder));
    if (code) return code;
    int count = 0;
    code = ENVELOPE_CHECK("delete_dcs", HM_ATTR_count_attributes(holder, HM_ATTR_string, &count));
    if (code) return code;
    for (int k = 1; k <= count; ++k) {
        char title[32];
        std::snprintf(title, sizeof title, "%s%d", kLogTitle, k);
        code = ENVELOPE_CHECK("delete_dcs", HM_ATTR_delete(holder, HM_ATTR_string, title));
        if (code) return code;
    }
    const tag_t part = HM_ASSEM_ask_work_part();
    std::vector<tag_t> doomed;
    for (tag_t c = HM_OBJ_cycle_objs_in_part(part, HM_category_type, 0); c;
         c = HM_OBJ_cycle_objs_in_part(part, HM_category_type, c)) {
        char name[64] = "";
        if (HM_OBJ_ask_name(c, name, sizeof name) != 0) {
            std::printf("\nError getting category name tag=%d\n", static_cast<int>(c));
            continue;
        }
        if (is_envelope_category(name)) doomed.push_back(c);
    }
    for (tag_t c : doomed) {
        code = ENVELOPE_CHECK("delete_dcs", HM_OBJ_delete_object(c));
        if (code) return code;
    }
    std::vector<tag_t> sets;
    for (tag_t s = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, 0); s;
         s = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, s)) {
        char name[64] = "";
        if (HM_OBJ_ask_name(s, name, sizeof name) == 0 && (!std::strcmp(name, "PART") || !std::strcmp(name, "REP")))
            sets.push_back(s);
    }
    int result = 0;
    for (tag_t s : sets) {
        int n = 0;
        tag_t* members = nullptr;
        code = ENVELOPE_CHECK("delete_dcs", HM_ASSEM_ask_ref_set_members(s, &n, &members));
        if (code) return code;
        if (n == 0) {
            SM_free(members);
            continue;
        }
        code = ENVELOPE_CHECK("delete_dcs", HM_ASSEM_remove_ref_set_members(s, n, members));
        SM_free(members);
        if (code) return code;
        result = ENVELOPE_CHECK("delete_dcs", HM_OBJ_delete_object(s));
        if (result) return result;
    }
    return result;
}

}  // namespace carvell::envelope
