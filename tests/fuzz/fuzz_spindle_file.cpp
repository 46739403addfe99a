// Fuzz target of the spindle-points file readers: each input is a spindle
// file, read by the tire-envelope tool's counter and record reader (both
// orders), by the tire envelope engine's counter and reader, and line by line
// with readvalues. Whatever the file holds, each must answer its code
// without crashing, reading out of bounds or leaking; the engine's reader
// never takes more records than the counter sized its arrays for, and the
// tool's reader hands back a point pair per record or nothing.
#include "fuzz_input_file.h"

#include "envelope_internal.h"
#include "host_testing.h"
#include "quillon.h"
#include "tire_envelope.h"
#include "vd_evt.h"

#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host_testing::reset();
    host_testing::make_part("fuzz_part");
    const size_t blocks = host_testing::live_allocations();
    const std::string path = fuzz::write_input("spindle.pts", data, size);

    bool header = false;
    long records = -1;
    if (VD_EVT_count_spindle_pts(path.c_str(), &header, &records) != 0 || records < 0) std::abort();
    for (int order = 0; order < 2; ++order) {
        int count = -1;
        double** first = nullptr;
        double** second = nullptr;
        const int rc = VD_EVTWIZ_read_spindle_file(path.c_str(), order, &count, &first, &second);
        if (rc == 0) {
            for (int i = 0; i < count; ++i) {
                if (!first[i] || !second[i]) std::abort();
                SM_free(first[i]);
                SM_free(second[i]);
            }
            SM_free(first);
            SM_free(second);
        } else if ((rc != -2 && rc != -3) || count != 0 || first || second) {
            std::abort();
        }
    }

    auto params = std::make_unique<tire_envelope_params_s>();
    std::memset(params.get(), 0, sizeof *params);
    std::snprintf(params->spindle_file, sizeof params->spindle_file, "%s", path.c_str());
    params->csys_matrix[0] = params->csys_matrix[4] = params->csys_matrix[8] = 1.0;
    carvell::envelope::SpindleCount counted;
    if (carvell::envelope::count_spindle_records(params.get(), &counted) == 0) {
        std::vector<double> points, directions;
        int n = 0;
        if (carvell::envelope::read_spindle_points(params.get(), counted.has_header, counted.capacity, &points,
                                                   &directions, &n) == 0 &&
            (n < 0 || n > counted.capacity))
            std::abort();
    }

    // readvalues ends at the end of the file, one line at least per call.
    std::FILE* file = std::fopen(path.c_str(), "r");
    double values[6];
    int n = 0;
    size_t calls = 0;
    for (int rc = 0; (rc = readvalues(file, 6, values, &n)) != -1;) {
        if ((rc == 0 && (n < 1 || n > 6)) || ++calls > size + 1) std::abort();
    }
    std::fclose(file);
    std::remove(path.c_str());
    if (host_testing::live_allocations() != blocks) std::abort();
    return 0;
}
