// The windshield record: its defaults, its release, the result groups that
// grow by sampled curves, the vehicle frame and the tool's trace lines.
#include "ws_internal.h"

#include "quillon.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace carvell::windshield {

Frame frame_of(const MTX4_t* mtx) {
    Frame frame{{0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1}};
    if (mtx) (void)VD_MTX4_ask_matrix(mtx, frame.origin, frame.matrix);
    return frame;
}

void ws_ask_default_projection_vector(const Frame& frame, double direction[3]) {
    for (int i = 0; i < 3; ++i) direction[i] = -frame.x_axis()[i];
}

bool ws_tracing() { return MACH__checking_level >= 1 && DEBUG_ask_key("VD_WS"); }

void ws_trace(const char* format, ...) {
    if (!ws_tracing()) return;
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fputs(line, stdout);
    ERROR_lprintf("%s", line);
}

void group_append(int& count, int*& point_counts, double***& points, const std::vector<std::vector<double>>& curve) {
    const int n = static_cast<int>(curve.size());
    auto* counts = static_cast<int*>(SM_realloc(point_counts, (count + 1) * sizeof(int)));
    if (!counts) return;
    point_counts = counts;
    auto* rows = static_cast<double***>(SM_realloc(points, (count + 1) * sizeof(double**)));
    if (!rows) return;
    points = rows;
    auto* row = static_cast<double**>(SM_alloc(n * sizeof(double*)));
    for (int i = 0; i < n && row; ++i) {
        row[i] = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        std::memcpy(row[i], curve[i].data(), 3 * sizeof(double));
    }
    point_counts[count] = row ? n : 0;
    points[count] = row;
    ++count;
}

void group_free(int& count, int*& point_counts, double***& points) {
    for (int i = 0; points && i < count; ++i) {
        for (int j = 0; points[i] && point_counts && j < point_counts[i]; ++j) SM_free(points[i][j]);
        SM_free(points[i]);
    }
    SM_free(points);
    SM_free(point_counts);
    points = nullptr;
    point_counts = nullptr;
    count = 0;
}

void group_free(ws_point_group_t& group) { group_free(group.count, group.point_counts, group.points); }

}  // namespace carvell::windshield

using namespace carvell::windshield;

void HM_VD_WS_init_windshield_data(ws_data_t* data) {
    if (!data) return;
    std::memset(data, 0, sizeof *data);
    data->arm_angle_at_start = true;
    data->angle_step = 1.0;
    data->points_per_curve = 30;
}

void HM_VD_WS_release_windshield_data(ws_data_t* data) {
    if (!data) return;
    SM_free(data->faces);
    data->faces = nullptr;
    data->face_count = 0;
    group_free(data->offset_result);
    for (ws_point_group_t& zone : data->zone_result) group_free(zone);
    group_free(data->wiped_result.count, data->wiped_result.point_counts, data->wiped_result.points);
    data->wiped_result.first_wiper_curve_count = 0;
    group_free(data->flat_result);
}
