// The point-cloud envelope's wrapping rule function: a point set placed at
// every position of a motion, optionally offset, wrapped in one convex
// solid. Each release defines this export once (this file in the current
// one).
#include "eve_internal.h"

#include "elvosk.h"
#include "gostrel.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <algorithm>
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

// The placed points written to the scratch file, read back in metres,
// offset when asked; the solid made of them. *body 0 when none was made.
int build_envelope(KBL_arg_slot_t* slots, std::vector<double>& points, ScratchFile& scratch, double factor,
                   tag_t* body) {
    const int n = static_cast<int>(points.size() / 3);
    double reference[16];
    const Value* reference_value = slots[3].value;
    if (HM_RQ_ask_frame(reference_value, reference) != 0) return EVE_ERR_WRONG_VALUE;
    const int frames = KBL_list_length(slots[4].list);
    int count = 0;
    if (const int code = scratch.open(CFI_OPEN_WRITE)) return code;
    if (const int code = write_framed_points(n, points.data(), reference, frames - 1, slots[4].list, &count,
                                             scratch.number()))
        return code;
    scratch.close();
    points.clear();
    if (const int code = scratch.open(CFI_OPEN_READ)) return code;
    detail::SmBlock<double> placed;
    {
        std::vector<double> read;
        if (const int code = read_points(scratch.number(), count, factor, &read)) return code;
        scratch.close();
        placed.reset(static_cast<double*>(SM_alloc(std::max<size_t>(read.size(), 3) * sizeof(double))));
        if (!placed) return -1;
        std::copy(read.begin(), read.end(), placed.get());
    }
    const int per_position = frames >= 1 ? count / frames : count;
    if (KBL_list_length(slots[6].list) > 0) {
        double* block = placed.release();
        const int code = apply_envelope_offsets(&block, &count, per_position, slots[6].list, slots[5].integer, factor);
        placed.reset(block);
        if (code != 0) return code;
    }
    if (const int code = scratch.open(CFI_OPEN_WRITE)) return code;
    for (int i = 0; i < count; ++i)
        if (const int code = write_point(scratch.number(), placed.get() + 3 * i)) return code;
    scratch.close();
    return VD_EVE_create_bv_body_from_points(scratch.path(), count, body);
}


}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

int gen_convex_envelope(KBL_arg_slot_t* slots, int n_points, x_DList point_list) {
    if (!slots) return -1;
    slots[0].tag = 0;
    std::string path;
    if (!scratch_path(&path)) return -1;
    const double factor = metres_per_part_unit();
    mtStatusArea("Generating envelope");
    HM_print_syslog("Generating envelope ...\n", false);
    RuleSession session;
    tag_t body = 0;
    int status = 0;
    if (n_points <= 0) {
        status = GQ_BODY_create_solid_block(0.001, 0.001, 0.001, nullptr, &body);
    } else {
        std::vector<double> points;
        status = pop_point_values(point_list, n_points, &points);
        ScratchFile scratch(path);
        if (status == 0) status = build_envelope(slots, points, scratch, factor, &body);
    }
    if (body == 0 && status == 0) status = -1;
    slots[0].tag = status == 0 ? body : 0;
    return status;
}
