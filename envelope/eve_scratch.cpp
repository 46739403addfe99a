// The point-cloud envelope's working ground: the temporary directory, the
// scratch point files, the work part's scale against the kernel's metres,
// and the hull request.
#include "eve_internal.h"

#include "quillon.h"
#include "rostval.h"

#include <cstdio>
#include <cstring>

namespace carvell::envelope {

bool temporary_directory(std::string* dir, size_t size) {
    char* value = nullptr;
    if (ENV_translate_variable("KWII_TMP_DIR", &value) != 0 || !value) return false;
    std::vector<char> buffer(size, '\0');
    const bool fits = std::strlen(value) < size;
    if (fits) std::strcpy(buffer.data(), value);
    SM_free(value);
    if (!fits || buffer[0] == '\0' || CFI_append_delimiter(buffer.data(), size) != 0) return false;
    *dir = buffer.data();
    return true;
}

bool scratch_path(std::string* path) {
    std::string dir;
    char name[VD_EVE_PATH_SIZE];
    if (!temporary_directory(&dir) || CFI_create_unique_filename(name, sizeof name) != 0) return false;
    char buffer[VD_EVE_PATH_SIZE];
    const int length = std::snprintf(buffer, sizeof buffer, "%s%s.dat", dir.c_str(), name);
    if (length < 0 || length >= static_cast<int>(sizeof buffer)) return false;
    *path = buffer;
    return true;
}

ScratchFile::~ScratchFile() {
    close();
    if (remove_) CFI_delete_file(path_.c_str(), kScratchFileType);
}

int ScratchFile::open(int access) {
    close();
    const int code = CFI_open_file(path_.c_str(), access, kScratchFileType, 2, &file_);
    if (code == 0) {
        open_ = true;
        remove_ = true;
    }
    return code;
}

void ScratchFile::close() {
    if (open_) CFI_close_file(file_);
    open_ = false;
}

int write_point(int file, const double p[3]) {
    char line[VD_EVE_PATH_SIZE];
    std::snprintf(line, sizeof line, "%f %f %f", p[0], p[1], p[2]);
    return CFI_write_line(file, line);
}

int read_points(int file, int n, double scale, std::vector<double>* points) {
    char line[VD_EVE_PATH_SIZE];
    for (int i = 0; i < n; ++i) {
        float x = 0.0f, y = 0.0f, z = 0.0f;
        if (CFI_read_line(file, line, sizeof line) != 0 || std::sscanf(line, "%f %f %f", &x, &y, &z) != 3)
            return -2;
        points->insert(points->end(), {x * scale, y * scale, z * scale});
    }
    return 0;
}

double metres_per_part_unit() { return pxsfac[0]; }

double hull_tolerance() { return srfc1 * pxsfac[0]; }

int Hull::make(const double* points, int count) {
    CHULL_free_hull(&input_, &output_);
    if (!points || count < 4) return HM_ERR_BAD_ARGUMENT;
    points_.assign(points, points + 3 * static_cast<size_t>(count));
    input_ = CHULL_input_t{};
    input_.flag = 0;
    input_.option = 2;
    input_.tolerance = hull_tolerance();
    input_.reserved = 0;
    input_.count = count;
    input_.points = reinterpret_cast<double(*)[3]>(points_.data());
    const int code = CHULL_convex_hull(&input_, &output_);
    if (code != 0) {
        input_ = CHULL_input_t{};
        output_ = CHULL_output_t{};
    }
    points_.clear();
    points_.shrink_to_fit();
    return code;
}

}  // namespace carvell::envelope
