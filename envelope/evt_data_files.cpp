// The tire-envelope tool's spindle-points and joint-displacement files:
// counting and reading the spindle records, and storing either file as list
// rules of the tool's instance.
#include "eve_internal.h"
#include "tire_envelope.h"
#include "vd_evt.h"

#include "quillon.h"
#include "tessik.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

// A header terminator begins with at least six '#'.
bool is_terminator(const char* line) { return std::strncmp(line, "######", 6) == 0; }

// Reader codes of one record.
constexpr int kEndOfFile = -1;
constexpr int kTooManyNumbers = -98;
// Results of the spindle-file reader.
constexpr int kShortRecord = -2;
constexpr int kBadRecord = -3;

void free_points(std::vector<double*>* points) {
    for (double* p : *points) SM_free(p);
    points->clear();
}

double** point_array(std::vector<double*>* points) {
    auto** out = static_cast<double**>(SM_alloc(points->size() * sizeof(double*)));
    std::copy(points->begin(), points->end(), out);
    points->clear();
    return out;
}

// Records after the header into P and Q; 0 or the reader's code.
int read_records(std::FILE* file, std::vector<double*>* p, std::vector<double*>* q) {
    for (;;) {
        double values[6];
        int n = 0;
        const int code = readvalues(file, 6, values, &n);
        if (code == kEndOfFile) return 0;
        if (code == kTooManyNumbers || code != 0) return kBadRecord;
        if (n != 6) return kShortRecord;
        auto* a = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        auto* b = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        std::memcpy(a, values, 3 * sizeof(double));
        std::memcpy(b, values + 3, 3 * sizeof(double));
        p->push_back(a);
        q->push_back(b);
    }
}

}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVT_count_spindle_pts(const char* path, bool* has_header, long* count) {
    if (has_header) *has_header = false;
    if (count) *count = 0;
    if (!path || !has_header || !count) return -1;
    int handle = 0;
    if (hc4504(path, 1, 4, &handle) != 0) return -1;
    char line[VD_EVE_NAME_SIZE];
    int length = 0;
    bool in_line = false;   // a read that continues a line longer than the buffer
    while (hc4514(handle, line, sizeof line, &length) == 0) {
        const bool starts = !in_line;
        in_line = length > 0 && line[length - 1] != '\n';
        if (starts && is_terminator(line)) {
            *count = 0;
            *has_header = true;
        } else if (starts && !std::strchr(line, '#')) {
            ++*count;
        }
    }
    hc4540(handle);
    return 0;
}

int VD_EVTWIZ_read_spindle_file(const char* path, int order, int* count, double*** first, double*** second) {
    if (count) *count = 0;
    if (first) *first = nullptr;
    if (second) *second = nullptr;
    if (!path || !count || !first || !second) return -1;
    if (CFI_ask_file_exist(path) != 0) return 0;
    std::FILE* file = std::fopen(path, "rt");
    if (!file) return 0;
    char line[VD_EVE_NAME_SIZE];
    bool header = false;
    while (!header && std::fgets(line, sizeof line, file)) header = is_terminator(line);
    if (!header) std::rewind(file);
    std::vector<double*> p, q;
    const int code = read_records(file, &p, &q);
    std::fclose(file);
    if (code != 0) {
        free_points(&p);
        free_points(&q);
        return code;
    }
    *count = static_cast<int>(p.size());
    if (*count == 0) return 0;
    *first = point_array(order != 0 ? &p : &q);
    *second = point_array(order != 0 ? &q : &p);
    return 0;
}

int VD_EVT_store_data_file_into_rq(const char* path, const char* owner, int kind) {
    if (!path || !owner) return -1;
    const char* base = kind == VD_EVT_DATA_SPINDLE               ? "spindle_file_data"
                       : kind == VD_EVT_DATA_JOINT_DISPLACEMENT ? "joints_disp_file_data"
                                                                : nullptr;
    const char* count_name = kind == VD_EVT_DATA_SPINDLE ? "spindle_line_count" : "joints_disp_line_count";
    if (!base) return -1;
    std::FILE* file = std::fopen(path, "r");
    if (!file) return -1;
    int lists = 0;
    const int stored = store_file_as_lists(file, owner, base, &lists);
    std::fclose(file);
    if (stored != 0) return stored;
    const std::string text = std::to_string(lists);
    return VD_RQ_create_rule_no_update(owner, count_name, "integer parameter modifiable", text.c_str(), nullptr);
}
