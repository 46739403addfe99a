// The point-cloud envelope's working ground: the temporary directory, the
// scratch point files, the work part's scale against the kernel's metres,
// and the hull request.
#include "eve_internal.h"

#include "quillon.h"
#include "rostval.h"

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
