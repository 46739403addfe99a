// The convex solid of a point file: the points read back (to single
// precision, as they were written), their hull, and the kernel body made
// from its facets.
#include "eve_internal.h"

#include "quillon.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/undo_scope.h"

#include <cstdio>
#include <vector>

namespace carvell::envelope {
namespace {

// -2 when the file ends, or holds an empty line, before n points.
int read_point_file(const char* path, int n, std::vector<double>* points) {
    int file = 0;
    if (CFI_open_file(path, CFI_OPEN_READ, kScratchFileType, 2, &file) != 0) return -1;
    char line[VD_EVE_PATH_SIZE];
    int read = 0;
    while (read < n && CFI_read_line(file, line, sizeof line) == 0 && line[0] != '\0') {
        float x = 0.0f, y = 0.0f, z = 0.0f;
        if (std::sscanf(line, "%f %f %f", &x, &y, &z) != 3) break;
        points->insert(points->end(), {x, y, z});
        ++read;
    }
    CFI_close_file(file);
    return read < n ? -2 : 0;
}

}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVE_create_bv_body_from_points(const char* path, int n, tag_t* body) {
    if (body) *body = 0;
    if (!path || !body || n < 4 || !carvell::detail::count_fits(n, 3 * sizeof(double))) return -1;
    try {
        std::vector<double> points;
        if (const int code = read_point_file(path, n, &points)) return code;
        Hull hull;
        if (const int code = hull.make(points.data(), n)) return code;
        return GWRAP__create_bv_body(&hull.input(), &hull.output(), 0.0, body);
    } catch (...) {
        *body = 0;
        return carvell::detail::caught_code(kEveSource, __LINE__);
    }
}
