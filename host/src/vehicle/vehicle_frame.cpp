// The vehicle frame as a 4x4 transform.
#include "tessik.h"

int VD_MTX4_ask_matrix(const MTX4_t* mtx, double origin[3], double matrix[9]) {
    if (!mtx || !origin || !matrix) return HM_ERR_NULL_POINTER;
    for (int r = 0; r < 3; ++r) {
        origin[r] = mtx->m[4 * r + 3];
        for (int c = 0; c < 3; ++c) matrix[3 * r + c] = mtx->m[4 * r + c];
    }
    return 0;
}
