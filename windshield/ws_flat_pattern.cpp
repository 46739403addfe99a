// The flat pattern: the windshield unrolled into the plane by the host's
// sheet-metal flat pattern, carrying the offset, zone and wiped-area curves,
// sampled into the record's point lists.
#include "ws_internal.h"

#include "hm_vd.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "farquil.h"
#include "morvish.h"
#include "quillon.h"
#include "zelvadt.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace carvell::windshield {
namespace {

constexpr const char* kFlatPatternName = "TMP_WINDSHIELD_CURVE_FLATTEN";
constexpr int kFlatPatternOption = 1;
constexpr int kLayoutOption = 4;
// The host's curve-entry flag for a curve carried into the flat pattern.
constexpr int kCarriedCurveFlag = 256;
// Size value of the layout: 36 mm, or 1.5 in for inch parts.
constexpr double kSizeMillimetres = 36.0;
constexpr double kSizeInches = 1.5;
constexpr size_t kFormulaLength = 255;
constexpr int kNoReference = -1;

// The sheet's face nearest to the point, with the parameters of its nearest point.
tag_t reference_face(tag_t sheet, const double point[3], double parm[2]) {
    detail::HostList faces;
    if (HM_MODL_ask_body_faces(sheet, faces.out())) return 0;
    tag_t best = 0;
    double nearest = 0.0;
    for (tag_t face : faces.items()) {
        double uv[2], foot[3];
        if (HM_MODL_ask_face_parm(face, point, uv, foot)) continue;
        const double d = std::sqrt((foot[0] - point[0]) * (foot[0] - point[0]) +
                                   (foot[1] - point[1]) * (foot[1] - point[1]) +
                                   (foot[2] - point[2]) * (foot[2] - point[2]));
        if (best == 0 || d < nearest) {
            best = face;
            nearest = d;
            parm[0] = uv[0];
            parm[1] = uv[1];
        }
    }
    return best;
}

// The work coordinate system set to the vehicle frame for the length of the
// step; the saved one is restored and the temporary objects deleted after.
class VehicleWcs {
public:
    explicit VehicleWcs(const Frame& frame) {
        (void)HM_CSYS_ask_wcs(&saved_);
        if (HM_CSYS_create_matrix(frame.matrix, &matrix_) == 0 &&
            HM_CSYS_create_csys(frame.origin, matrix_, &csys_) == 0)
            (void)HM_CSYS_set_wcs(csys_);
    }
    ~VehicleWcs() {
        (void)HM_CSYS_set_wcs(saved_);
        detail::delete_if_alive(csys_);
        detail::delete_if_alive(matrix_);
    }
    VehicleWcs(const VehicleWcs&) = delete;
    VehicleWcs& operator=(const VehicleWcs&) = delete;

private:
    tag_t saved_ = 0, matrix_ = 0, csys_ = 0;
};

// The layout of the flat pattern: the curves to carry and the settings.
int fill_layout(SMDFLAT_layout_t& layout, int layout_type, const std::vector<tag_t>& curves, tag_t direction,
                tag_t face, const double parm[2]) {
    (void)SMDFLAT__initialize_layout(&layout);
    if (int r = SMDFLAT_load_layout_from_prefs(HM_ASSEM_ask_work_part(), &layout)) return r;
    if (!curves.empty()) {
        layout.curves =
            static_cast<SMDFLAT_curve_entry_t*>(SM_alloc(curves.size() * sizeof(SMDFLAT_curve_entry_t)));
        for (size_t i = 0; i < curves.size(); ++i) layout.curves[i] = {curves[i], 0, 0, kCarriedCurveFlag};
        layout.curve_count = int(curves.size());
    }
    layout.direction = direction;
    char* formula = nullptr;
    if (SMDUTL_ask_def_baf(&formula) == 1 && formula) {
        if (std::strlen(formula) > kFormulaLength) formula[kFormulaLength] = '\0';
        layout.bend_allowance = static_cast<char*>(SM_realloc(formula, kFormulaLength + 1));
    } else {
        SM_free(formula);
    }
    layout.layout_option = kLayoutOption;
    layout.type_flag = layout_type == 1 ? 0 : 1;
    layout.size = PART_ask_units(HM_ASSEM_ask_work_part()) == 0 ? kSizeMillimetres : kSizeInches;
    return SMDFLAT_fill_structure(&layout, face, parm);
}

// Steps 6 to 9 under the mark: the normal turned up along the frame's z
// axis, then the flat pattern of the sheet.
int unroll(const Frame& frame, tag_t sheet, int layout_type, const std::vector<tag_t>& curves, tag_t direction,
           tag_t face, const double parm[2], tag_t& group) {
    double point[3], u1[3], v1[3], u2[3], v2[3], normal[3], radii[2];
    if (int r = HM_MODL_ask_face_props(face, parm, point, u1, v1, u2, v2, normal, radii)) return r;
    const double* z = frame.z_axis();
    if (normal[0] * z[0] + normal[1] * z[1] + normal[2] * z[2] < 0.0) {
        tag_t flip = 0;
        if (int r = FLIPNORMAL_construct(sheet, &flip)) return r;
    }
    SMDFLAT_layout_t layout;
    int code = 0;
    try {
        code = fill_layout(layout, layout_type, curves, direction, face, parm);
        if (code == 0) code = SMDFLAT_create_flat_pattern(sheet, kFlatPatternName, kFlatPatternOption, &layout, &group);
    } catch (...) {
        (void)SMDFLAT__free_layout(&layout);
        throw;
    }
    (void)SMDFLAT__free_layout(&layout);
    return code;
}

}  // namespace

int ws_create_flat_pattern(const Frame& frame, tag_t sheet, int points_per_curve, int layout_type,
                           const std::vector<tag_t>& curves, ws_point_group_t& group) {
    double mid[3], low[3];
    if (sheet == 0 || ws_ask_center_section_points(sheet, frame, mid, low) != 0) return kNoReference;
    VehicleWcs wcs(frame);
    tag_t direction = 0;
    (void)HM_SO_create_dirr_doubles(0, 0, frame.origin, frame.z_axis(), &direction);
    double parm[2] = {0.5, 0.5};
    const tag_t face = reference_face(sheet, low, parm);
    if (face == 0) return kNoReference;
    (void)UI_set_status("creating flat pattern curves");
    // The flat pattern stays as the user's step under this mark.
    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, "Create flat pattern curves");
    tag_t flat_group = 0;
    int code = 0;
    try {
        code = unroll(frame, sheet, layout_type, curves, direction, face, parm, flat_group);
    } catch (...) {
        ws_trace("\n +++can I catch the failure of SMDFLAT_create_flat_pattern?");
        code = detail::caught_code(kSource, __LINE__);
        if (code == 0) code = HM_ERR_GEOMETRY;
    }
    if (code != 0) {
        // Nothing of a failed flat pattern stays in the part.
        if (mark) (void)UNDO_KW_undo_to_mark(mark);
        return code;
    }
    int count = 0;
    detail::SmBlock<tag_t> members;
    code = HM_GROUP_ask_group_data(flat_group, members.out(), &count);
    if (code == 0) {
        const std::vector<tag_t> flat(members.get(), members.get() + count);
        if (ws_sample_curve_list(flat, points_per_curve, group.count, group.point_counts, group.points))
            code = HM_ERR_GEOMETRY;
    }
    return code;
}

}  // namespace carvell::windshield
