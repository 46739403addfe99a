// The spindle-points file: its tokenizer, the copy written back from the
// tool instance's list rules into the temporary directory, the record count
// and the reading of the spindle positions with the travel, steering, camber
// and toe of the wheel.
#include "envelope_internal.h"

#include "belmorra.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/constants.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace carvell::envelope {
namespace {

// A line is read into a buffer of 132 bytes: at most 131 characters a read.
constexpr int kLineBuffer = 132;
constexpr double kDegreesPerRadian = 57.29577951308232;

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\n' || c == '\r'; }

// A header terminator begins with at least six '#'.
bool is_terminator(const char* line) {
    for (int i = 0; i < 6; ++i)
        if (line[i] != '#') return false;
    return true;
}

// Whether the useful part of a line (before any '#') holds a character
// that is not a separator.
bool holds_value(const char* line) {
    for (const char* c = line; *c && *c != '#'; ++c)
        if (!is_separator(*c)) return true;
    return false;
}

// Tokenizes one line; -1 when it holds no value.
int parse_line(char* line, int max_values, double* values, int* count) {
    if (char* hash = std::strchr(line, '#')) *hash = '\0';
    int n = 0;
    char* c = line;
    while (*c) {
        while (*c && is_separator(*c)) ++c;
        if (!*c) break;
        char* start = c;
        while (*c && !is_separator(*c)) ++c;
        const char saved = *c;
        *c = '\0';
        const char first = *start;
        const bool legal = (first >= '0' && first <= '9') || first == '.' || first == '-' || first == '+' ||
                           first == 'e' || first == 'E';
        double value = 0.0;
        if (!legal || std::sscanf(start, "%lf", &value) != 1) {
            *c = saved;
            *count = n;
            return -99;
        }
        if (n >= max_values) {
            *c = saved;
            *count = n;
            return -98;
        }
        values[n++] = value;
        *c = saved;
    }
    *count = n;
    return n > 0 ? 0 : -1;
}

// Reading state of the records beyond the first.
struct Extremes {
    double z_max = 0.0, z_min = 0.0;
    double steer_min = 90.0, steer_max = -90.0;
    double min_abs_y = 1.0;
    int zero_length = 0, parallel = 0;
};

void report_design_angles(tire_envelope_params_s* p, const double d[3], const Extremes& e) {
    char text[256];
    std::snprintf(text, sizeof text, "\nSuspension Travel:  Jounce: %.2f mm     Rebound: %.2f\n",
                  e.z_max - p->design_point[2], e.z_min - p->design_point[2]);
    syslog(text);
    std::snprintf(text, sizeof text, "Steering Angles:    Left: %.2f deg.     Right: %.2f deg.\n", e.steer_min,
                  e.steer_max);
    syslog(text);
    p->concavity_base /= e.min_abs_y;
    const double x = d[1] * p->side;
    const double toe = -std::atan2(d[0], x) * kDegreesPerRadian;
    const double camber = -std::atan2(d[2], x) * kDegreesPerRadian;
    std::snprintf(text, sizeof text, "\nDesign position camber angle: %.2f deg.\n", camber);
    syslog(text);
    std::snprintf(text, sizeof text, "Design position toe angle:    %.2f deg.\n", toe);
    syslog(text);
    if (toe > 1.0 || toe < 0.0) {
        std::snprintf(text, sizeof text,
                      "\nWARNING: Bogus toe angle = %.2f degrees.\nNormal Range 0.0 to +1.0 degree.\n", toe);
        syslog(text);
    }
    if (camber < -2.0 || camber > 1.5) {
        std::snprintf(text, sizeof text,
                      "\nWARNING:  Bogus camber angle = %.2f degrees.\nNormal Range -2.0 to +1.5 degrees.\n",
                      camber);
        syslog(text);
    }
}

void copy_header_to_log(std::FILE* file, std::FILE* log) {
    if (log) {
        std::fprintf(log, "\n\n -------------------------------------------------------\n");
        std::fprintf(log, "HEADER FROM SPINDLE FILE:\n");
    }
    char line[kLineBuffer];
    while (std::fgets(line, sizeof line, file)) {
        if (is_terminator(line)) break;
        if (log) std::fprintf(log, "%s\n", line);
    }
}

}  // namespace

int generate_spindle_copy(tire_envelope_params_s* p) {
    std::FILE* existing = std::fopen(p->spindle_file, "r");
    struct Closer {
        std::FILE*& f;
        ~Closer() {
            if (f) std::fclose(f);
        }
    } close_existing{existing};
    const bool has_instance = p->instance_name[0] && VD_RQ_ask_rule_exist("root:", p->instance_name);
    if (!existing && !has_instance) return kFailed;
    const std::string chain = std::string("root:") + p->instance_name + ":";
    if (!has_instance || !VD_RQ_ask_rule_exist(chain.c_str(), "spindle_file_data")) {
        char text[TIRE_ENVELOPE_TEXT_SIZE + 32];
        std::snprintf(text, sizeof text, "Cannot read file:\n%s", p->spindle_file);
        warn("Spindle Points File", {text});
        return kFailed;
    }
    return write_spindle_copy(p);
}

int count_spindle_records(const tire_envelope_params_s* p, SpindleCount* count) {
    *count = SpindleCount{};
    int handle = 0;
    if (hc4504(p->spindle_file, 1, 4, &handle) != 0) {
        char text[TIRE_ENVELOPE_TEXT_SIZE + 40];
        std::snprintf(text, sizeof text, "Cannot read spindle points file:\n%s", p->spindle_file);
        warn("Spindle Points File", {text});
        return kFailed;
    }
    char line[kLineBuffer];
    int length = 0;
    int lines = 0;
    bool seen_terminator = false;
    while (hc4514(handle, line, sizeof line, &length) == 0) {
        if (is_terminator(line)) {
            count->has_header = true;
            count->records = 0;
            if (!seen_terminator) lines = 0;
            seen_terminator = true;
            continue;
        }
        if (!std::strchr(line, '#')) ++count->records;
        if (holds_value(line)) ++lines;
    }
    count->capacity = lines;
    (void)hc4540(handle);
    return 0;
}

int read_spindle_points(tire_envelope_params_s* p, bool has_header, int capacity, std::vector<double>* points,
                        std::vector<double>* directions, int* count) {
    p->side = 0.0;
    *count = 0;
    p->design_point[0] = p->design_point[1] = p->design_point[2] = 0.0;
    points->assign(3 * static_cast<size_t>(capacity), 0.0);
    directions->assign(3 * static_cast<size_t>(capacity), 0.0);
    std::FILE* file = std::fopen(p->spindle_file, "r");
    if (!file) {
        char text[TIRE_ENVELOPE_TEXT_SIZE + 32];
        std::snprintf(text, sizeof text, "Cannot read file:\n%s", p->spindle_file);
        warn("Spindle Points File", {text});
        return kFailed;
    }
    if (has_header) copy_header_to_log(file, p->log_file);
    const bool identity = VD_csys_is_identity(p->csys_origin, p->csys_matrix);
    double record[6];
    int n = 0;
    int code = readvalues(file, 6, record, &n);
    if (code == -1) {
        std::fclose(file);
        warn("Spindle Points File", {"Spindle points file has no data."});
        return kFailed;
    }
    int result = 0;
    bool spindle_inner = false;
    Extremes e;
    double design_direction[3] = {0, 0, 0};
    bool first = true;
    while (n == 6 || code != 0) {
        if (code != 0) {
            warn("Spindle Points Record", {"Badly formatted spindle points file"});
            result = kFailed;
            break;
        }
        double a[3] = {record[0], record[1], record[2]}, b[3] = {record[3], record[4], record[5]};
        if (!identity) {
            VD_map_point_abs2csys(a, p->csys_origin, p->csys_matrix, a);
            VD_map_point_abs2csys(b, p->csys_origin, p->csys_matrix, b);
        }
        if (first) {
            for (int i = 0; i < 3; ++i) p->design_point[i] = a[i];
            p->side = a[1] < 0.0 ? -1.0 : 1.0;
            syslog(p->side < 0.0 ? "\nLeft" : "\nRight");
            syslog(" side of vehicle is modeled.\n");
            spindle_inner = std::fabs(a[1]) < std::fabs(b[1]);
            e.z_max = e.z_min = a[2];
        }
        double d[3];
        if (spindle_inner)
            vec3_sub(b, a, d);
        else
            vec3_sub(a, b, d);
        bool accepted = false;
        if (vec3_unitize_or_zero(d, d) == 0.0) {
            if (first) {
                warn("Spindle Vector", {"Error: First spindle vector has zero length!"});
                result = kFailed;
                break;
            }
            ++e.zero_length;
        } else if (d[1] == 0.0) {
            if (first) {
                warn("Spindle Vector", {"Error: First spindle vector is parallel to XZ plane"});
                result = kFailed;
                break;
            }
            ++e.parallel;
        } else if (*count < capacity) {
            accepted = true;
        }
        if (accepted) {
            for (int i = 0; i < 3; ++i) {
                (*points)[3 * *count + i] = a[i];
                (*directions)[3 * *count + i] = d[i];
            }
            if (first)
                for (int i = 0; i < 3; ++i) design_direction[i] = d[i];
            e.z_max = std::max(e.z_max, a[2]);
            e.z_min = std::min(e.z_min, a[2]);
            const double steer = std::atan(d[0] / d[1]) * kDegreesPerRadian;
            e.steer_min = std::min(e.steer_min, steer);
            e.steer_max = std::max(e.steer_max, steer);
            e.min_abs_y = std::min(e.min_abs_y, std::fabs(d[1]));
            ++*count;
        }
        first = false;
        code = readvalues(file, 6, record, &n);
        if (code == -1) break;
    }
    if (result == 0 && code == 0 && n != 6) {
        char text[128];
        std::snprintf(text, sizeof text, "%s\nSpindle points record does not have 6 numbers",
                      "Badly formatted spindle points file");
        warn("Spindle Points Record", {text});
        result = kFailed;
    }
    std::fclose(file);
    if (*count == 0) {
        if (result == 0) {
            warn("Spindle Points File", {"Spindle points file has no data."});
            result = kFailed;
        }
        return result;
    }
    if (e.zero_length) warn("Spindle Points File", {"Spindle points file had zero-length lines."});
    if (e.parallel) warn("Spindle Points File", {"Spindle points file has spindles parallel to XZ plane."});
    report_design_angles(p, design_direction, e);
    return result;
}

}  // namespace carvell::envelope

extern "C" int readvalues(FILE* file, int max_values, double* values, int* count) {
    if (count) *count = 0;
    if (!file || !values || !count || max_values < 0) return -1;
    char line[carvell::envelope::kLineBuffer];
    while (std::fgets(line, sizeof line, file)) {
        int code = carvell::envelope::parse_line(line, max_values, values, count);
        if (code != -1) return code;
    }
    *count = 0;
    return -1;
}
