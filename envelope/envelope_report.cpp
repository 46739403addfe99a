// The tire envelope engine's error reporter, its dialogs and system-log
// lines, and its 3-vector and rigid 3x4-matrix helpers.
#include "envelope_internal.h"

#include "omvra.h"
#include "sarnweld.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::envelope {

int report_host_error(const char* source, int line, const char* call_text, int code) {
    if (code == 0) return 0;
    const char* message = HM_get_fail_message(code);
    char text[665];
    std::snprintf(text, sizeof text, "\t%s\n\terror %d at line %d in %s\n\t%s", message, code, line,
                  source ? source : "", call_text ? call_text : "");
    std::printf("%s\n", text);
    warn("Report", {message});
    return code;
}

void print_matrix_to_syslog(const char* title, const double m[12]) {
    char line[128];
    std::snprintf(line, sizeof line, "%s\n", title);
    syslog(line);
    for (int j = 0; j < 4; ++j) {
        std::snprintf(line, sizeof line, "   %8.3f %8.3f %8.3f\n", m[j], m[4 + j], m[8 + j]);
        syslog(line);
    }
}

void warn(const char* title, std::initializer_list<const char*> lines) {
    std::vector<const char*> texts(lines);
    (void)mtWarningDialog(title, texts.data(), static_cast<int>(texts.size()), false, nullptr, 0);
}

void syslog(const char* text) { (void)HM_print_syslog(text, false); }

double vec3_unitize_or_zero(const double v[3], double out[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length < 0.0001) {
        out[0] = out[1] = out[2] = 0.0;
        return 0.0;
    }
    for (int i = 0; i < 3; ++i) out[i] = v[i] / length;
    return length;
}

void vec3_sub(const double a[3], const double b[3], double out[3]) {
    for (int i = 0; i < 3; ++i) out[i] = a[i] - b[i];
}

void vec3_scale(const double v[3], double s, double out[3]) {
    for (int i = 0; i < 3; ++i) out[i] = s * v[i];
}

void vec3_add(const double a[3], const double b[3], double out[3]) {
    for (int i = 0; i < 3; ++i) out[i] = a[i] + b[i];
}

void vec3_cross(const double a[3], const double b[3], double out[3]) {
    const double x = a[1] * b[2] - a[2] * b[1];
    const double y = a[2] * b[0] - a[0] * b[2];
    const double z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

double vec3_dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double vec3_distance(const double a[3], const double b[3]) {
    double d[3];
    vec3_sub(a, b, d);
    return std::sqrt(vec3_dot(d, d));
}

void mtx34_transform_point(const double m[12], const double p[3], double out[3]) {
    double r[3];
    for (int i = 0; i < 3; ++i) r[i] = m[4 * i] * p[0] + m[4 * i + 1] * p[1] + m[4 * i + 2] * p[2] + m[4 * i + 3];
    for (int i = 0; i < 3; ++i) out[i] = r[i];
}

void mtx34_rotate_vector(const double m[12], const double v[3], double out[3]) {
    double r[3];
    for (int i = 0; i < 3; ++i) r[i] = m[4 * i] * v[0] + m[4 * i + 1] * v[1] + m[4 * i + 2] * v[2];
    for (int i = 0; i < 3; ++i) out[i] = r[i];
}

void mtx34_invert_rigid(const double m[12], double out[12]) {
    double r[12];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[4 * i + j] = m[4 * j + i];
    for (int i = 0; i < 3; ++i)
        r[4 * i + 3] = -(r[4 * i] * m[3] + r[4 * i + 1] * m[7] + r[4 * i + 2] * m[11]);
    mtx34_copy(r, out);
}

void mtx34_copy(const double m[12], double out[12]) {
    for (int i = 0; i < 12; ++i) out[i] = m[i];
}

void mtx34_from_axes(const double u[3], const double v[3], const double w[3], const double o[3], double out[12]) {
    for (int i = 0; i < 3; ++i) {
        out[4 * i] = u[i];
        out[4 * i + 1] = v[i];
        out[4 * i + 2] = w[i];
        out[4 * i + 3] = o[i];
    }
}

}  // namespace carvell::envelope
