// The rule-callable wrappers of the point-list functions.
#include "eve_internal.h"

int hm_vd_eve_save_points(int n, GQ_VECTOR_t* points) { return VD_EVE_save_sampling_points(n, 0, points, nullptr); }

void hm_vd_eve_ask_points_filename(char* out) { VD_EVE_ask_points_list_filename(out); }

int hm_vd_eve_read_points_vector_file(const char* path, int* out_count, GQ_VECTOR_t** out) {
    int count = 0;
    const int result = VD_EVE_read_points_vector_file(path, &count, out);
    if (out_count) *out_count = result == 0 ? count : 0;
    return result;
}

int hm_vd_eve_save_points_list_file_from_rq(const char* prefix, int n, int mode, char* out_path) {
    return VD_EVEWIZ_save_points_list_file_from_rq(prefix, n, mode, out_path);
}
