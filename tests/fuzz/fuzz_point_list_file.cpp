// Fuzz target of the point-list file readers: each input is a point-list
// file, read as a table of as many columns as its first byte says (1 to 4),
// as a vector file, as the point file of a convex solid, and stored as list
// rules and written back. Whatever the file holds, each must answer without
// crashing, reading out of bounds or leaking; a reader that fails hands back
// nothing, and a solid that is not made leaves no body.
#include "fuzz_input_file.h"

#include "host_testing.h"
#include "quillon.h"
#include "vd_eve.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host_testing::reset();
    host_testing::make_part("fuzz_part");
    host_testing::set_env("KWII_TMP_DIR", fuzz::scratch_dir().c_str());
    const size_t blocks = host_testing::live_allocations();
    const std::string path = fuzz::write_input("points_in.txt", data, size);

    const int columns = 1 + (size ? data[0] % 4 : 0);
    int rows = -1;
    double** table = nullptr;
    if (VD_EVE_read_points_list_file(path.c_str(), columns, &rows, &table) == 0) {
        for (int r = 0; r < rows; ++r) SM_free(table[r]);
        SM_free(table);
    } else if (rows != 0 || table) {
        std::abort();
    }
    int count = -1;
    GQ_VECTOR_t* vectors = nullptr;
    if (VD_EVE_read_points_vector_file(path.c_str(), &count, &vectors) == 0)
        SM_free(vectors);
    else if (count != 0 || vectors)
        std::abort();
    tag_t body = 0;
    if (VD_EVE_create_bv_body_from_points(path.c_str(), 4 + (size ? data[size - 1] % 8 : 0), &body) != 0 && body)
        std::abort();

    char name[VD_EVE_NAME_SIZE] = "";
    if (VD_EVE_store_points_list_into_rq(path.c_str(), "points_list", name) == 0) {
        char out[VD_EVE_NAME_SIZE] = "";
        (void)VD_EVEWIZ_save_points_list_file_from_rq("Root:", 3, VD_EVE_MODE_PTS, out);
        if (*out) std::remove(out);
    }
    std::remove(path.c_str());
    if (host_testing::live_allocations() != blocks) std::abort();
    return 0;
}
