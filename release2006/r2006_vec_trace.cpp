// Vector and trace functions of the 2006 release: point-to-line distance and
// direction, the rotation about an axis through a point, vector length, and
// the system-log printers. The 2003 release carries the same functions.
#include "release2006/vec_trace.h"

#include "envelope/envelope_internal.h"
#include "toolbox/detail/finite.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>

namespace {

// Degrees to radians as the functions have always converted them.
constexpr double kRadiansPerDegree = 0.017453292519943295;
// An axis shorter than this gives no rotation.
constexpr double kShortestAxis = 0.0001;
constexpr size_t kLineBuffer = 256;

const char* text_or_empty(const char* text) { return text ? text : ""; }

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

double length3(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

template <typename... Args>
void log_line(const char* format, Args... args) {
    char line[kLineBuffer];
    STR_snprintf(line, sizeof line, format, args...);
    (void)HM_print_syslog(line, false);
}

}  // namespace

double vec_dist_point_line(const double p[3], const double u[3], const double q[3]) {
    if (!p || !u || !q) return -1.0;
    const double d[3] = {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
    double c[3];
    cross(d, u, c);
    return length3(c);
}

double vec_unit_to_line(const double p[3], const double u[3], const double q[3], double out[3]) {
    if (!p || !u || !q || !out) return -1.0;
    const double d[3] = {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
    const double along = d[0] * u[0] + d[1] * u[1] + d[2] * u[2];
    const double to_foot[3] = {q[0] + along * u[0] - p[0], q[1] + along * u[1] - p[1], q[2] + along * u[2] - p[2]};
    return carvell::envelope::vec3_unitize_or_zero(to_foot, out);
}

double* vec_rotation_about_axis(const double p[3], const double a[3], double degrees, double out[12]) {
    if (!out || !carvell::detail::finite3(p) || !carvell::detail::finite3(a) || !std::isfinite(degrees)) return nullptr;
    const double n = length3(a);
    if (!(n >= kShortestAxis)) return nullptr;
    const double x = a[0] / n, y = a[1] / n, z = a[2] / n;
    const double angle = degrees * kRadiansPerDegree;
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    const double r[3][3] = {{x * x + (1.0 - x * x) * c, t * x * y - z * s, t * x * z + y * s},
                            {t * x * y + z * s, y * y + (1.0 - y * y) * c, t * y * z - x * s},
                            {t * x * z - y * s, t * y * z + x * s, z * z + (1.0 - z * z) * c}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) out[4 * i + j] = r[i][j];
        out[4 * i + 3] = p[i] - (r[i][0] * p[0] + r[i][1] * p[1] + r[i][2] * p[2]);
    }
    return out;
}

double vec_length(const double v[3]) { return v ? length3(v) : -1.0; }

void syslog_text(const char* text) { log_line("%s\n", text_or_empty(text)); }

void syslog_text_text(const char* text1, const char* text2) {
    log_line("%s  %s\n", text_or_empty(text1), text_or_empty(text2));
}

void syslog_text_int(const char* text, int value) { log_line("%s  %d\n", text_or_empty(text), value); }

void syslog_text_int_int(const char* text, int value1, int value2) {
    log_line("%s  %d  %d\n", text_or_empty(text), value1, value2);
}

void syslog_int_array(const char*, const int* values, int n) {
    for (int i = 0; values && i < n; ++i) log_line("  %d", values[i]);
    log_line("%s", "\n");
}

void syslog_double_array(const char*, const double* values, int n) {
    for (int i = 0; values && i < n; ++i) log_line("  %.4f", values[i]);
    log_line("%s", "\n");
}

void syslog_text_double(const char* text, double value) { log_line("%s  %.4f\n", text_or_empty(text), value); }
