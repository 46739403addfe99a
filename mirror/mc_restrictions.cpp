// Vision restrictions: the vision sheet cut down to what the two outer eyes
// see in the mirror past the obstructions on the mirror and between the
// mirror and the target, with the share of the sheet that is lost.
#include "mirror_helpers.h"
#include "mirror_optics.h"
#include "mirror_record.h"
#include "mirror_restrictions.h"

#include "farquil.h"
#include "hm_vd/objects.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

namespace carvell::mirror {
namespace {

using detail::HostList;
using detail::SmBlock;
using detail::UndoScope;

constexpr double kAreaGuard = 1e-10;
constexpr double kNoLossShare = 0.1;   // percent
constexpr int kGridLines = 12;
constexpr int kOnMirror = 0;     // outline points lie on the mirror
constexpr int kSeenInMirror = 1; // outline points are targets seen in it
constexpr int kIntersect = 2;
constexpr double kUvUnknown = 1e10;

int fail(const char* message, int status) {
    ERROR_lprintf("%s", message);
    (void)HM_print_syslog("Mirror Certification Error", true);
    return status;
}

double area_of(tag_t sheet, bool* ok) {
    double props[47] = {};
    const double accuracy[11] = {0.9};
    *ok = HM_MODL_ask_mass_props_3d(1, &sheet, 2, 1, 1.0, 1, accuracy, props, nullptr) == 0;
    return props[0];
}

tag_t copy_of(tag_t object) {
    tag_t copy = NULL_TAG;
    return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &object, &copy) == 0 ? copy : NULL_TAG;
}

// The faces of the bodies of a list extracted as sheets.
std::vector<tag_t> extracted_faces(hm_list_p_t bodies) {
    std::vector<tag_t> sheets;
    for (tag_t body : detail::list_items(bodies)) {
        HostList faces;
        if (HM_MODL_ask_body_faces(body, faces.out()) != 0) continue;
        for (tag_t face : faces.items()) {
            tag_t sheet = NULL_TAG;
            if (HM_MODL_extract_face(face, 0, &sheet) == 0 && sheet != NULL_TAG) sheets.push_back(sheet);
        }
    }
    return sheets;
}

// One run of the restriction: the working field V and what the steps made.
class Restriction {
public:
    Restriction(const mc_mirror_surface_record* mirror, mc_data_s* data, const double eyes[3][3],
                const double target_point[3], tag_t projection_object, hm_list_p_t results, int colour0, int colour2)
        : mirror_(mirror), data_(data), eyes_(eyes), target_(target_point), projection_(projection_object),
          results_(results), colours_{colour0, colour2} {
        tolerances_[0] = data->distance_tolerance;
        tolerances_[1] = data->angle_tolerance;
    }
    ~Restriction() {
        for (tag_t t : extracted_) detail::delete_if_alive(t);
        (void)mc_free_geometry_set(&set_);
    }

    int start(tag_t vision_sheet) {
        v_ = copy_of(vision_sheet);
        if (v_ == NULL_TAG) return fail("Fail to copy the object.\n", kRestrictCopy);
        bool ok = false;
        a0_ = area_of(v_, &ok);
        if (!ok) return fail("Fail to ask mass props 3d.\n", kRestrictArea);
        if (a0_ <= kAreaGuard) return fail("The vision sheet has no area.\n", kRestrictArea);
        return 0;
    }

    // V within the union of the two eye sheets; `second` marks the second pair.
    int eye_field(tag_t eye0, tag_t eye2, bool second) {
        const int base = second ? 10 : 0;
        tag_t united = NULL_TAG;
        if (mc_unite_sheets(eye0, eye2, &united) != 0)
            return fail(second ? "Fail to ask union sheets.\n" : "Fail to union sheets.\n", kRestrictUnion);
        HostList faces_of_v;
        if (HM_MODL_ask_body_faces(v_, faces_of_v.out()) != 0) {
            detail::delete_if_alive(united);
            return fail("Fail to ask body faces.\n", kRestrictFaces + base);
        }
        HostList profile;
        if (HM_MODL_create_list(profile.out()) != 0) {
            detail::delete_if_alive(united);
            return fail(second ? "Fail to create list.\n" : "Fail to create the list.\n", kRestrictList + base);
        }
        for (tag_t face : faces_of_v.items()) (void)HM_MODL_put_list_item(profile.get(), face);
        const char* limits[2] = {"-1.0", "1.0"};
        const double origin[3] = {0.0, 0.0, 0.0}, along_x[3] = {1.0, 0.0, 0.0};
        HostList features;
        if (HM_MODL_create_extruded(profile.get(), "0.0", limits, origin, along_x, HM_NULLSIGN, features.out()) != 0) {
            detail::delete_if_alive(united);
            return fail("Fail to create extruded.\n", kRestrictExtrude + base);
        }
        const std::vector<tag_t> made = features.items();
        tag_t slab = NULL_TAG;
        if (made.empty()) {
            detail::delete_if_alive(united);
            return fail("Fail to ask list item.\n", kRestrictFeature + base);
        }
        keep_for_cleanup(made[0]);
        if (HM_MODL_ask_feat_body(made[0], &slab) != 0 || slab == NULL_TAG) {
            detail::delete_if_alive(united);
            return fail("Fail to ask feat body.\n", kRestrictFeatureBody + base);
        }
        cleanup_.push_back(slab);
        if (HM_MODL_operations(united, slab, HM_MODL_INTERSECT) != 0) {
            detail::delete_if_alive(united);
            return kRestrictBoolean;
        }
        replace_v(united);
        return 0;
    }

    // Obstructions on the mirror: the shadow that neither eye sees comes off V.
    int eye_mirror_restrictions() {
        std::vector<tag_t> sheets = extracted_faces(data_->eye_mirror_restrictions);
        extracted_.insert(extracted_.end(), sheets.begin(), sheets.end());
        for (tag_t sheet : sheets) {
            tag_t on_mirror[2] = {}, reflected[2] = {};
            for (int e = 0; e < 2; ++e)
                if (const int status = carry(sheet, kOnMirror, e, &on_mirror[e], &reflected[e]); status != 0)
                    return status;
            tag_t shadow = copy_of(reflected[0]);
            const tag_t other = copy_of(reflected[1]);
            if (shadow == NULL_TAG || other == NULL_TAG) {
                detail::delete_if_alive(shadow);
                detail::delete_if_alive(other);
                return fail("Fail to copy the object.\n", kRestrictCopy);
            }
            if (HM_MODL_operations(shadow, other, HM_MODL_INTERSECT) != 0) {
                // The eyes' shadows do not overlap: one eye always sees past it.
                detail::delete_if_alive(shadow);
                detail::delete_if_alive(other);
                continue;
            }
            const int status = cut(&v_, shadow, "emrestrictions", {reflected[0], reflected[1]});
            detail::delete_if_alive(shadow);
            (void)mc_free_geometry_set(&set_);
            if (status != 0) return status;
        }
        return 0;
    }

    // Obstructions seen in the mirror: each comes off each eye's sheet; V keeps
    // what the eyes still see.
    int mirror_target_restrictions(tag_t eye0, tag_t eye2) {
        if (detail::list_items(data_->mirror_target_restrictions).empty()) return 0;
        std::vector<tag_t> sheets = extracted_faces(data_->mirror_target_restrictions);
        extracted_.insert(extracted_.end(), sheets.begin(), sheets.end());
        tag_t seen[2] = {copy_of(eye0), copy_of(eye2)};
        struct Owner {
            tag_t* seen;
            ~Owner() {
                detail::delete_if_alive(seen[0]);
                detail::delete_if_alive(seen[1]);
            }
        } owner{seen};
        if (seen[0] == NULL_TAG || seen[1] == NULL_TAG) return fail("Fail to copy the object.\n", kRestrictCopy);
        for (int e = 0; e < 2; ++e)
            for (tag_t sheet : sheets) {
                tag_t on_mirror = NULL_TAG, reflected = NULL_TAG;
                if (const int status = carry(sheet, kSeenInMirror, e, &on_mirror, &reflected); status != 0)
                    return status;
                const tag_t shadow = copy_of(reflected);
                if (shadow == NULL_TAG) return fail("Fail to copy the object.\n", kRestrictCopy);
                target_list_.push_back(reflected);
                const int status = seen[e] == NULL_TAG ? 0 : cut(&seen[e], shadow, "restriction", {reflected});
                detail::delete_if_alive(shadow);
                (void)mc_free_geometry_set(&set_);
                if (status != 0) return status;
            }
        // What the eyes still see.
        tag_t visible = NULL_TAG;
        if (seen[0] != NULL_TAG && seen[1] != NULL_TAG) {
            if (mc_unite_sheets(seen[1], seen[0], &visible) != 0)
                return fail("Fail to union sheets.\n", kRestrictUnion);
        } else if (seen[0] != NULL_TAG || seen[1] != NULL_TAG) {
            visible = copy_of(seen[0] != NULL_TAG ? seen[0] : seen[1]);
            if (visible == NULL_TAG) return fail("Fail to copy the object.\n", kRestrictCopy);
        } else {
            covered_ = true;   // both eyes' sheets are wholly shadowed
            return 0;
        }
        const int status = keep_visible(visible);
        detail::delete_if_alive(visible);
        return status;
    }

    // Dotted split restrictions, the lost share and its warnings, V shown
    // with its grid lines.
    int finish(double* lost_share) {
        split_ = split_ || target_split_;
        if (split_) {
            for (tag_t sheet : target_split_ ? target_list_ : split_list_) {
                (void)HM_OBJ_set_font(sheet, HM_FONT_DOTTED);
                HostList faces;
                if (HM_MODL_ask_body_faces(sheet, faces.out()) == 0)
                    for (tag_t face : faces.items()) (void)hm5401(face, kGridLines, kGridLines);
            }
            add_warning(data_, kSplitRestrictions);
        }
        double a1 = 0.0;
        if (target_split_) {
            a1 = overlap_;
        } else if (!covered_) {
            bool ok = false;
            a1 = area_of(v_, &ok);
            if (!ok) return fail("Fail to ask mass props 3d.\n", kRestrictArea);
        }
        *lost_share = std::clamp((1.0 - a1 / a0_) * 100.0, 0.0, 100.0);
        if (!restricted_ && !split_ && *lost_share <= kNoLossShare) add_warning(data_, kNoRestrictions);
        finished_ = true;
        return 0;
    }

    // V as a plain new sheet; the slabs and their features' expressions go.
    // After a finished run *status takes the grid lines' status.
    tag_t result(int* status) {
        for (tag_t t : cleanup_) {
            if (t != NULL_TAG && HM_OBJ_ask_status(t) == HM_OBJ_ALIVE) {
                int type = 0, subtype = 0;
                if (HM_OBJ_ask_type_and_subtype(t, &type, &subtype) == 0 && type == HM_expression_type)
                    (void)UPDATE_log_entity_to_delete(t);
                else
                    detail::delete_if_alive(t);
            }
        }
        cleanup_.clear();
        if (v_ == NULL_TAG) return NULL_TAG;
        const tag_t copy = copy_of(v_);
        if (copy != NULL_TAG) replace_v(copy);
        // Shown with its grid lines (set on the final sheet: a copy has its own faces).
        if (finished_) {
            (void)HM_OBJ_set_blank_status(v_, false);
            *status = grid_lines();
        }
        return std::exchange(v_, NULL_TAG);
    }

private:
    void replace_v(tag_t sheet) { replace(&v_, sheet); }
    static void replace(tag_t* held, tag_t sheet) {
        if (*held != sheet) detail::delete_if_alive(*held);
        *held = sheet;
    }

    void keep_for_cleanup(tag_t feature) {
        cleanup_.push_back(feature);
        tag_t* expressions = nullptr;
        int count = 0;
        if (HM_MODL_ask_exps_of_feature(feature, &expressions, &count) == 0) {
            SmBlock<tag_t> owned(expressions);
            for (int i = 0; i < count; ++i) cleanup_.push_back(expressions[i]);
        }
    }

    // The outline of the sheet carried through the mirror from eye e (0 or
    // 1 for entries 0 and 2), the two sheets shown in the eye's colour.
    int carry(tag_t sheet, int mode, int e, tag_t* on_mirror, tag_t* reflected) {
        if (mc_sheet_elements(sheet, nullptr, 0, data_->third_tolerance, &set_) != 0) return kRestrictReflect;
        const int status = mc_reflect_mirror_outline(&set_, mode, eyes_[e == 0 ? 0 : 2], mirror_, tolerances_,
                                                     target_, projection_, on_mirror, reflected);
        if ((status != 0 && status != 2 && status != 3) || *on_mirror == NULL_TAG || *reflected == NULL_TAG)
            return kRestrictReflect;
        for (tag_t made : {*on_mirror, *reflected})
            if (mc_set_object_attributes(made, nullptr, colours_[e], 0, results_) != 0)
                return fail("Fail to set obj attribute.\n", kRestrictAttributes);
        return 0;
    }

    // The shadow subtracted from the sheet, unless that would split it (then
    // the restriction's sheets go to the split list).
    int cut(tag_t* sheet, tag_t shadow, const char* mark, std::initializer_list<tag_t> restriction_sheets) {
        ShadowCut outcome = ShadowCut::kApart;
        if (mc_subtract_shadow(sheet, shadow, data_->distance_tolerance, mark, &outcome) != 0) return kRestrictBoolean;
        switch (outcome) {
            case ShadowCut::kApart:
                break;
            case ShadowCut::kSplit:
                split_ = true;
                split_list_.insert(split_list_.end(), restriction_sheets.begin(), restriction_sheets.end());
                break;
            case ShadowCut::kCovered:
                if (sheet == &v_) covered_ = true;
                restricted_ = true;
                break;
            case ShadowCut::kCut:
                restricted_ = true;
                break;
        }
        return 0;
    }

    // V keeps what is visible, unless that would split it (then its area
    // within the visible region is the result area and V stays).
    int keep_visible(tag_t visible) {
        UndoScope scope(UNDO_invisible, "Intersect");
        int bodies = 0;
        const int trial = mc_trial_boolean(v_, visible, kIntersect, data_->distance_tolerance, &bodies);
        if (trial == 1) {   // nothing of V is visible
            covered_ = true;
            scope.keep();
            return 0;
        }
        if (trial != 0) {
            scope.roll_back();
            return kRestrictBoolean;
        }
        if (bodies >= 2) {
            target_split_ = true;
            (void)mc_overlap_amount(v_, visible, &overlap_);
            scope.roll_back();
            return 0;
        }
        int count = 0;
        SmBlock<tag_t> pieces;
        if (HM_MODL_intersect_bodies(v_, visible, &count, pieces.out()) != 0) {
            scope.roll_back();
            return kRestrictBoolean;
        }
        std::vector<tag_t> sheets(pieces.get(), pieces.get() + count);
        for (size_t i = 1; i < sheets.size(); ++i) detail::delete_if_alive(sheets[i]);
        if (sheets.empty())
            covered_ = true;
        else
            replace_v(sheets[0]);
        scope.keep();
        return 0;
    }

    // Grid line counts of V's faces: 12 by 12 for one face, else in
    // proportion to each face's share of the whole parameter spans.
    int grid_lines() {
        HostList faces;
        if (HM_MODL_ask_body_faces(v_, faces.out()) != 0)
            return fail("Fail to ask body faces.\n", kRestrictResultFaces);
        const std::vector<tag_t> items = faces.items();
        if (items.empty()) return fail("Fail to ask list count.\n", kRestrictResultFaceCount);
        if (items.size() == 1) {
            (void)hm5401(items[0], kGridLines, kGridLines);
            return 0;
        }
        std::vector<std::array<double, 4>> boxes(items.size());
        double whole[4] = {-kUvUnknown, kUvUnknown, -kUvUnknown, kUvUnknown};
        for (size_t i = 0; i < items.size(); ++i) {
            const bool ok = HM_MODL_ask_face_uv_minmax(items[i], boxes[i].data()) == 0;
            if (!ok) boxes[i] = {0, 0, 0, 0};
            if (i == 0) {
                if (ok) std::copy(boxes[0].begin(), boxes[0].end(), whole);
                continue;
            }
            if (!ok) continue;
            whole[0] = std::min(whole[0], boxes[i][0]);
            whole[1] = std::max(whole[1], boxes[i][1]);
            whole[2] = std::min(whole[2], boxes[i][2]);
            whole[3] = std::max(whole[3], boxes[i][3]);
        }
        const double du = whole[1] - whole[0], dv = whole[3] - whole[2];
        for (size_t i = 0; i < items.size(); ++i) {
            const int u = du > 0.0 ? static_cast<int>(std::floor(kGridLines * (boxes[i][1] - boxes[i][0]) / du)) : 0;
            const int v = dv > 0.0 ? static_cast<int>(std::floor(kGridLines * (boxes[i][3] - boxes[i][2]) / dv)) : 0;
            (void)hm5401(items[i], u, v);
        }
        return 0;
    }

    const mc_mirror_surface_record* mirror_;
    mc_data_s* data_;
    const double (*eyes_)[3];
    const double* target_;
    tag_t projection_;
    hm_list_p_t results_;
    int colours_[2];
    double tolerances_[2];

    tag_t v_ = NULL_TAG;
    double a0_ = 0.0;
    double overlap_ = 0.0;
    bool restricted_ = false;
    bool split_ = false;
    bool target_split_ = false;
    bool covered_ = false;
    bool finished_ = false;
    mc_geometry_set_s set_{};
    std::vector<tag_t> extracted_;
    std::vector<tag_t> cleanup_;
    std::vector<tag_t> split_list_;
    std::vector<tag_t> target_list_;
};

}  // namespace

int mc_subtract_shadow(tag_t* sheet, tag_t shadow, double tolerance, const char* mark, ShadowCut* outcome) {
    if (!sheet || !outcome) return -1;
    *outcome = ShadowCut::kApart;
    UndoScope scope(UNDO_invisible, mark);
    double gap = 0.0, p1[3], p2[3];
    if (HM_MODL_ask_minimum_dist(*sheet, shadow, 0, nullptr, 0, nullptr, &gap, p1, p2) != 0) {
        scope.roll_back();
        return kRestrictBoolean;
    }
    if (gap > tolerance) {   // apart: nothing to take off
        scope.keep();
        return 0;
    }
    // The subtraction is made once: a split shows in its pieces, and is rolled back.
    int count = 0;
    SmBlock<tag_t> pieces;
    if (HM_MODL_subtract_bodies(*sheet, shadow, &count, pieces.out()) != 0) {
        scope.roll_back();
        return kRestrictBoolean;
    }
    if (count >= 2) {
        scope.roll_back();
        *outcome = ShadowCut::kSplit;
        return 0;
    }
    if (count == 0) {
        detail::delete_if_alive(*sheet);
        *sheet = NULL_TAG;
        *outcome = ShadowCut::kCovered;
    } else {
        if (pieces[0] != *sheet) detail::delete_if_alive(*sheet);
        *sheet = pieces[0];
        *outcome = ShadowCut::kCut;
    }
    scope.keep();
    return 0;
}

int mc_restrict_vision_sheet(tag_t vision_sheet, tag_t eye0_sheet, tag_t eye2_sheet, tag_t second_eye0_sheet,
                             tag_t second_eye2_sheet, int colour0, int colour2,
                             const mc_mirror_surface_record* mirror, mc_data_s* data, const double eyes[3][3],
                             const double target_point[3], tag_t projection_object, hm_list_p_t result_list,
                             double* lost_share, tag_t* result_sheet) {
    if (!mirror || !data || !eyes || !target_point || !lost_share || !result_sheet) return -1;
    *lost_share = 0.0;
    *result_sheet = NULL_TAG;
    Restriction run(mirror, data, eyes, target_point, projection_object, result_list, colour0, colour2);
    int status = run.start(vision_sheet);
    if (status == 0) status = run.eye_field(eye0_sheet, eye2_sheet, false);
    if (status == 0 && second_eye0_sheet != NULL_TAG && second_eye2_sheet != NULL_TAG)
        status = run.eye_field(second_eye0_sheet, second_eye2_sheet, true);
    if (status == 0) status = run.eye_mirror_restrictions();
    if (status == 0) status = run.mirror_target_restrictions(eye0_sheet, eye2_sheet);
    if (status == 0) status = run.finish(lost_share);
    *result_sheet = run.result(&status);
    if (status == kRestrictBoolean) add_warning(data, kTriangleOutOfRange);
    return status;
}

}  // namespace carvell::mirror
