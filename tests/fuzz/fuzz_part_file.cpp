// Fuzz target of the part-file reader: each input is written to a part file
// and opened with the host's own call, as a user opening a stored part
// would. Whatever the file holds, the open must answer (a part or a failed
// load status) without crashing, reading out of bounds, running away with
// memory or leaking; the host's memory-manager blocks must all come back.
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const std::string& scratch_file() {
    static const std::string path = "/tmp/carvell_fuzz_part_" + std::to_string(getpid()) + ".prt";
    return path;
}

void free_status(HM_PART_load_status_t& status) {
    for (int i = 0; i < status.n_parts && status.file_names; ++i) SM_free(status.file_names[i]);
    SM_free(status.file_names);
    SM_free(status.statuses);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host_testing::reset();
    const size_t blocks = host_testing::live_allocations();
    {
        std::FILE* f = std::fopen(scratch_file().c_str(), "wb");
        if (!f) std::abort();
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    tag_t part = 0;
    HM_PART_load_status_t status{};
    const int result = HM_PART_open_quiet(scratch_file().c_str(), &part, &status);
    // Success and failure are told apart and reported consistently.
    if (result == 0) {
        if (!part || status.failed) std::abort();
        if (HM_PART_close(part, 0, 1) != 0) std::abort();
    } else {
        if (part || !status.failed || status.n_parts != 1) std::abort();
        free_status(status);
    }
    if (host_testing::live_allocations() != blocks) std::abort();
    std::remove(scratch_file().c_str());
    return 0;
}
