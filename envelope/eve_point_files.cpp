// Point-list files in the temporary directory (writing, reading, the
// remembered last path) and the storage of a whole text file as list rules
// of the part's root, with the writing of such rules back into a file.
#include "eve_internal.h"

#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/rule_path.h"
#include "toolbox/detail/undo_scope.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

// The path of the last ".txt" point list saved, for the process.
char eve_points_list_filename[VD_EVE_PATH_SIZE] = "";

void remember(const std::string& path) {
    std::snprintf(eve_points_list_filename, sizeof eve_points_list_filename, "%s", path.c_str());
}

// Resets a file's protection; a refusal raises the host error at `line`.
void reset_protection(const char* path, int code, int line) {
    if (const int failed = CFI_modify_file_protection(path, code, kWritableMode, 0))
        ERROR_raise(kEveSource, line, failed, "");
}

// Lines of a table file that hold a token, split at blanks (the line end
// is no token).
bool split_row(char* line, std::vector<double>* values) {
    values->clear();
    for (char* token = std::strtok(line, " \r\n"); token; token = std::strtok(nullptr, " \r\n"))
        values->push_back(std::atof(token));
    return !values->empty();
}

// Reads every row of `columns` numbers; -1 on a row of another length.
int read_rows(const char* path, int columns, std::vector<double>* numbers, int* rows) {
    *rows = 0;
    if (const int exists = CFI_ask_file_exist(path)) return exists;
    std::FILE* file = std::fopen(path, "rt");
    if (!file) return -1;
    char line[VD_EVE_NAME_SIZE];
    std::vector<double> values;
    int result = 0;
    bool rest_of_line = false;
    while (std::fgets(line, sizeof line, file)) {
        // A line longer than the buffer holds is a bad row, not two rows.
        const bool whole = std::strchr(line, '\n') || std::feof(file);
        if (rest_of_line || !whole) {
            rest_of_line = !whole;
            result = -1;
            break;
        }
        if (!split_row(line, &values)) continue;
        if (static_cast<int>(values.size()) != columns) {
            result = -1;
            break;
        }
        numbers->insert(numbers->end(), values.begin(), values.end());
        ++*rows;
    }
    std::fclose(file);
    if (result != 0) {
        numbers->clear();
        *rows = 0;
    }
    return result;
}

bool fits_name(const char* text) { return std::strlen(text) < VD_EVE_NAME_SIZE; }

}  // namespace

int write_points_file(const char* path, int n, int use_pointers, const double* flat, double** pointers) {
    if (CFI_ask_file_exist(path) == 0) reset_protection(path, kTxtProtection, __LINE__);
    std::FILE* file = std::fopen(path, "wt");
    if (!file) return -1;
    for (int i = 0; i < n; ++i) {
        const double* p = use_pointers ? pointers[i] : flat + 3 * i;
        std::fprintf(file, "%f %f %f\n", p[0], p[1], p[2]);
    }
    std::fclose(file);
    reset_protection(path, kTxtProtection, __LINE__);
    return 0;
}

bool choose_point_list_path(const std::string& dir, const char* name, const char* series, int code, size_t size,
                            std::string* path) {
    auto usable = [&](const std::string& candidate) {
        return CFI_ask_file_exist(candidate.c_str()) != 0 ||
               CFI_modify_file_protection(candidate.c_str(), code, kWritableMode, 0) == 0;
    };
    std::string candidate = dir + name;
    if (candidate.size() >= size) return false;
    if (usable(candidate)) {
        *path = candidate;
        return true;
    }
    // Numbered names until one is free; a bound keeps a locked directory
    // from holding the caller forever.
    for (int i = 0; i < 10000; ++i) {
        char numbered[64];
        std::snprintf(numbered, sizeof numbered, series, i);
        candidate = dir + numbered;
        if (candidate.size() >= size) return false;
        if (usable(candidate)) {
            *path = candidate;
            return true;
        }
    }
    return false;
}

std::string quoted_line(const char* line) {
    std::string text = "\"";
    for (const char* c = line; *c; ++c) {
        if (*c == '"' || *c == '~') text += '~';
        text += *c;
    }
    text += '"';
    return text;
}

int store_file_as_lists(std::FILE* file, const char* owner, const char* base, int* lists) {
    *lists = 0;
    char line[132];   // at most 131 characters a read
    std::string text;
    int in_list = 0;
    auto close_list = [&]() -> int {
        text = in_list == 0 ? std::string("{ }") : text.substr(0, text.size() - 1) + " }";
        std::string name = base;
        if (*lists > 0) name += "_" + std::to_string(*lists);
        const int code = VD_RQ_create_rule_no_update(owner, name.c_str(), "list parameter modifiable", text.c_str(),
                                                      nullptr);
        if (code == 0) ++*lists;
        text = "{";
        in_list = 0;
        return code;
    };
    text = "{";
    while (std::fgets(line, sizeof line, file)) {
        text += quoted_line(line) + ",";
        if (++in_list == kLinesPerList)
            if (const int code = close_list()) return code;
    }
    return close_list();
}

}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVE_save_sampling_points(int n, int use_pointers, GQ_VECTOR_t* flat, double** pointers) {
    eve_points_list_filename[0] = '\0';
    if (n < 0 || (n > 0 && (use_pointers ? !pointers : !flat))) return -1;
    // Every point present and finite (a null entry among the pointers, NaN
    // or a count too large for one block is refused before any file is made).
    if (use_pointers ? !carvell::detail::count_fits(n, 3 * sizeof(double)) || !carvell::detail::finite_point_row(n, pointers)
                     : n > 0 && !carvell::detail::all_modelled(reinterpret_cast<const double*>(flat), 3LL * n))
        return -1;
    std::string dir, path;
    if (!temporary_directory(&dir) ||
        !choose_point_list_path(dir, "points_list_eve.txt", "points_list_eve_%d.txt", kTxtProtection,
                                VD_EVE_PATH_SIZE, &path))
        return -1;
    try {
        const int result = write_points_file(path.c_str(), n, use_pointers != 0, reinterpret_cast<double*>(flat),
                                             pointers);
        if (result == 0) remember(path);
        return result;
    } catch (...) {
        return carvell::detail::caught_code(kEveSource, __LINE__);
    }
}

void VD_EVE_ask_points_list_filename(char* out) {
    if (out) std::snprintf(out, VD_EVE_PATH_SIZE, "%s", eve_points_list_filename);
}

int VD_EVE_read_points_list_file(const char* path, int columns, int* rows, double*** table) {
    if (rows) *rows = 0;
    if (table) *table = nullptr;
    if (!path || !rows || !table || columns < 1 || !carvell::detail::count_fits(columns, sizeof(double))) return -1;
    std::vector<double> numbers;
    int count = 0;
    if (const int result = read_rows(path, columns, &numbers, &count)) return result;
    if (count == 0) return 0;
    carvell::detail::SmBlock<double*> out(static_cast<double**>(SM_calloc(count, sizeof(double*))));
    if (!out) return -1;
    for (int r = 0; r < count; ++r) {
        out[r] = static_cast<double*>(SM_alloc(columns * sizeof(double)));
        if (!out[r]) {
            for (int k = 0; k < r; ++k) SM_free(out[k]);
            return -1;
        }
        std::memcpy(out[r], &numbers[static_cast<size_t>(r) * columns], columns * sizeof(double));
    }
    *rows = count;
    *table = out.release();
    return 0;
}

int VD_EVE_read_points_vector_file(const char* path, int* count, GQ_VECTOR_t** points) {
    if (count) *count = 0;
    if (points) *points = nullptr;
    if (!path || !count || !points) return -1;
    std::vector<double> numbers;
    int rows = 0;
    if (const int result = read_rows(path, 3, &numbers, &rows)) return result;
    if (rows == 0) return 0;
    auto* out = static_cast<GQ_VECTOR_t*>(SM_alloc(rows * sizeof(GQ_VECTOR_t)));
    if (!out) return -1;
    for (int i = 0; i < rows; ++i) out[i] = GQ_VECTOR_t{numbers[3 * i], numbers[3 * i + 1], numbers[3 * i + 2]};
    *count = rows;
    *points = out;
    return 0;
}

int VD_EVE_store_points_list_into_rq(const char* path, const char* name, char* out_name) {
    if (!path || !out_name) return -1;
    std::string base;
    if (name) {
        if (!*name || !fits_name(name)) return -1;
        base = name;
    } else {
        base = "%points_list";
        for (int i = 2; VD_RQ_ask_rule_exist("Root:", base.c_str()) ||
                        VD_RQ_ask_rule_exist("Root:", (base + "_count").c_str());
             ++i)
            base = "%points_list" + std::to_string(i);
    }
    const std::string count_name = base + "_count";
    if (!fits_name(count_name.c_str())) return -1;
    std::FILE* file = std::fopen(path, "r");
    if (!file) return -1;
    int lists = 0;
    const int stored = store_file_as_lists(file, "Root:", base.c_str(), &lists);
    std::fclose(file);
    if (stored != 0) return stored;
    const std::string count_text = std::to_string(lists);
    const int result = VD_RQ_create_rule_no_update("Root:", count_name.c_str(), "integer parameter modifiable",
                                                   count_text.c_str(), nullptr);
    std::snprintf(out_name, VD_EVE_NAME_SIZE, "%s", base.c_str());
    return result;
}

namespace {

// The base name of the stored point lists of an owner.
int stored_list_base(const char* owner, std::string* base) {
    *base = "points_list";
    if (!VD_RQ_ask_rule_exist(owner, "points_list_attri_name")) return 0;
    carvell::detail::RulePath path(owner, "points_list_attri_name");
    carvell::detail::SmBlock<char> value;
    if (const int code = VD_RQ_ask_string(path.text(), value.out())) return code;
    if (!value || !*value.get() || !fits_name(value.get())) return -1;
    *base = value.get();
    return 0;
}

int write_stored_lists(std::FILE* file, const std::string& base, int n_lists) {
    for (int i = 0; i < n_lists; ++i) {
        const std::string name = i == 0 ? base : base + "_" + std::to_string(i);
        if (!VD_RQ_ask_rule_exist("Root:", name.c_str())) continue;
        carvell::detail::RulePath path("Root:", name.c_str());
        int count = 0;
        char** strings = nullptr;
        if (const int code = VD_RQ_ask_string_list(path.text(), &count, &strings)) return code;
        for (int k = 0; k < count; ++k) {
            std::fprintf(file, "%s\n", strings[k]);
            SM_free(strings[k]);
        }
        SM_free(strings);
    }
    return 0;
}

}  // namespace

int VD_EVEWIZ_save_points_list_file_from_rq(const char* owner, int n_lists, int mode, char* out_path) {
    if (!owner || !out_path) return -1;
    out_path[0] = '\0';
    if (n_lists < 0 || n_lists > VD_EVE_MAX_POINT_LISTS) return -1;
    const char* name = mode == VD_EVE_MODE_TXT ? "points_list_eve.txt"
                       : mode == VD_EVE_MODE_PTS ? "points_list_eve.pts" : nullptr;
    const char* series = mode == VD_EVE_MODE_TXT ? "points_list_eve_%d.txt" : "points_list_eve_%d.pts";
    if (!name) return -1;
    std::string base, dir, path;
    if (const int code = stored_list_base(owner, &base)) return code;
    if (!temporary_directory(&dir, VD_EVE_NAME_SIZE) ||
        !choose_point_list_path(dir, name, series, mode, VD_EVE_NAME_SIZE, &path))
        return -1;
    std::FILE* file = std::fopen(path.c_str(), "wt");
    if (!file) return -1;
    const int written = write_stored_lists(file, base, n_lists);
    std::fclose(file);
    if (written != 0) return written;
    if (const int code = CFI_modify_file_protection(path.c_str(), mode, kWritableMode, 0)) return code;
    std::snprintf(out_path, VD_EVE_NAME_SIZE, "%s", path.c_str());
    if (mode == VD_EVE_MODE_TXT) remember(path);
    return 0;
}
