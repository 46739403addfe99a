// What the envelope family's fuzz targets share: each input written to a
// scratch file of this process in the temporary directory, as a user's
// stored file would lie there.
#ifndef CARVELL_TESTS_FUZZ_INPUT_FILE_H
#define CARVELL_TESTS_FUZZ_INPUT_FILE_H

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz {

// The directory of this process's scratch files.
inline const std::string& scratch_dir() {
    static const std::string dir = [] {
        const std::string d = "/tmp/carvell_fuzz_" + std::to_string(getpid());
        std::error_code error;
        std::filesystem::create_directories(d, error);
        if (error) std::abort();
        return d + "/";
    }();
    return dir;
}

// Writes the input to <dir>/<name> and answers the path.
inline std::string write_input(const char* name, const uint8_t* data, size_t size) {
    const std::string path = scratch_dir() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
}

}  // namespace fuzz

#endif
