// The vision-triangle test of the 2003 mirror-certification engine: the
// vision triangle on the target plane cut down to what the two outer eyes see
// in the mirror, less what the restrictions hide (those seen in the mirror,
// per eye, and those between the eyes and the mirror, what both eyes lose),
// and the obstructed share in percent. Restrictions whose images would split
// an area are drawn dotted instead of subtracted.
#include "r2003_mirror.h"

#include "hm_vd.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace carvell::r2003 {
namespace {

using detail::HostList;
using detail::UndoScope;

// Status codes of the test.
enum JudgeStatus : int {
    kJudgeBadArgument = -1,
    kJudgeArea = 1,
    kJudgeCopy = 3,
    kJudgeProjection = 4,
    kJudgeDisplay = 5,
    kJudgeUnion = 6,
    kJudgeDotted = 7,
    // The cut to a pair of views, counted from 10 (first views) or 20 (second).
    kFirstViews = 10,
    kSecondViews = 20,
    kViewList = 0,
    kViewFaces = 1,
    kViewExtrusion = 3,
    kViewFeature = 4,
    kViewSlab = 5,
    kJudgeResultFaces = 30,
    kJudgeResultFaceCount = 31,
    kJudgeOutOfRange = 100,
};

constexpr int kGridLines = 12;
constexpr double kUnobstructedPercent = 0.1;
constexpr int kOnMirror = 0;      // restriction outlines lie between the eyes and the mirror
constexpr int kSeenInMirror = 1;  // restriction outlines are seen in the mirror
constexpr int kSubtractOperation = 2;   // the older Boolean's subtraction

const char kOutOfRangeText[] = "\nThe triangle is out of viewing range.";
const char kSplitText[] = "\nDotted sheets split vision triangle.";
const char kUnobstructedText[] = "\nVision triangle is not obstructed.";

// What a restriction's subtraction did to an area.
enum class Cut { reduced, split, ignored };

// One run of the test: the current triangle, the eyes' visible areas and
// what the restrictions did.
class Judgement {
public:
    Judgement(const mc_mirror_surface_s* surface, mc_data_2003_s* data, const double eyes[3][3],
              const double* target_x, tag_t projection_target, hm_list_p_t results, int colour_eye0, int colour_eye2)
        : surface_(surface), data_(data), eyes_(eyes), target_x_(target_x), projection_target_(projection_target),
          results_(results), colours_{colour_eye0, colour_eye2} {}
    Judgement(const Judgement&) = delete;
    Judgement& operator=(const Judgement&) = delete;
    ~Judgement() {
        for (tag_t& area : visible_) detail::delete_if_alive(area);
        mc_free_geometry_set(&set_);
    }

    // Steps up to the obstruction; the first failing status ends them.
    int run(tag_t triangle, const tag_t first_views[2], const tag_t second_views[2], double* obstruction) {
        int status = start(triangle);
        if (status == 0) status = cut_to_views(first_views[1], first_views[0], kFirstViews);
        if (status == 0 && second_views[0] != NULL_TAG && second_views[1] != NULL_TAG)
            status = cut_to_views(second_views[0], second_views[1], kSecondViews);
        if (status == 0) status = restrictions_seen_in_mirror(first_views);
        if (status == 0) status = restrictions_on_mirror();
        if (status == 0) status = measure(obstruction);
        return status;
    }

    // The remaining triangle as a plain copy of the current one, shown with
    // its grid lines after a finished run; the status becomes the display's.
    tag_t finish(int* status) {
        if (triangle_ == NULL_TAG) return NULL_TAG;
        tag_t copy = NULL_TAG;
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &triangle_, &copy) == 0 && copy != NULL_TAG) {
            detail::delete_if_alive(triangle_);
            triangle_ = copy;
        }
        if (*status == 0) *status = show(triangle_);
        if (*status == kJudgeOutOfRange) mc_add_message(data_, kOutOfRangeText);
        return triangle_;
    }

private:
    int area_of(tag_t sheet, double* area) const {
        return mc_ask_shell_area(sheet, data_->units == 0 ? HM_MASS_UNITS_CM : HM_MASS_UNITS_INCH, area);
    }

    static tag_t copy_of(tag_t object) {
        tag_t copy = NULL_TAG;
        return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &object, &copy) == 0 ? copy : NULL_TAG;
    }

    // The triangle's copy and its area, which must be positive to be judged.
    int start(tag_t triangle) {
        triangle_ = copy_of(triangle);
        if (triangle_ == NULL_TAG) return kJudgeCopy;
        if (area_of(triangle_, &initial_area_) != 0 || !(initial_area_ > 0.0)) return kJudgeArea;
        return 0;
    }

    // The union of copies of the two sheets, in the order given or else the
    // other.
    static int unite(tag_t a, tag_t b, tag_t* united) {
        if (mc_unite_sheet_copies(a, b, united) == 0) return 0;
        return mc_unite_sheet_copies(b, a, united) == 0 ? 0 : kJudgeUnion;
    }

    // A slab about the target plane made from the triangle's faces; the
    // status counted from `base`.
    int slab_of_triangle(int base, tag_t* slab) const {
        HostList profile, faces;
        if (HM_MODL_create_list(profile.out()) != 0) return base + kViewList;
        if (HM_MODL_ask_body_faces(triangle_, faces.out()) != 0) return base + kViewFaces;
        for (tag_t face : faces.items()) (void)HM_MODL_put_list_item(profile.get(), face);
        const char* limits[2] = {"-1.0", "1.0"};
        const double origin[3] = {0.0, 0.0, 0.0}, along_x[3] = {1.0, 0.0, 0.0};
        HostList features;
        if (HM_MODL_create_extruded(profile.get(), "0.0", limits, origin, along_x, HM_NULLSIGN, features.out()) != 0)
            return base + kViewExtrusion;
        const auto discard = [&features](int status) {
            for (tag_t feature : features.items()) detail::delete_if_alive(feature);
            return status;
        };
        tag_t feature = NULL_TAG;
        if (HM_MODL_ask_list_item(features.get(), 0, &feature) != 0 || feature == NULL_TAG)
            return discard(base + kViewFeature);
        if (HM_MODL_ask_feat_body(feature, slab) != 0 || *slab == NULL_TAG) return discard(base + kViewSlab);
        return 0;
    }

    // The triangle cut to the union of the two views (tried in the order
    // given, then the other): what of it the eyes see in the mirror.
    int cut_to_views(tag_t first, tag_t second, int base) {
        tag_t united = NULL_TAG;
        if (unite(first, second, &united) != 0) return kJudgeUnion;
        tag_t slab = NULL_TAG;
        if (const int status = slab_of_triangle(base, &slab); status != 0) {
            detail::delete_if_alive(united);
            return status;
        }
        // The union keeps its part within the slab, which the intersection
        // consumes; none means the eyes see nothing of the triangle.
        if (HM_MODL_operations(united, slab, HM_MODL_INTERSECT) != 0) {
            detail::delete_if_alive(united);
            detail::delete_if_alive(slab);
            return kJudgeOutOfRange;
        }
        detail::delete_if_alive(triangle_);
        triangle_ = united;
        return 0;
    }

    // The restriction's outline carried through the mirror from eye 0 or 2
    // (index 0 or 1): its image on the mirror and on the target plane. The
    // set stays built for the caller to release. A projection onto the
    // projection target that failed still gives both images.
    int carry(int mode, int eye, tag_t* on_mirror, tag_t* on_target) {
        const double tolerances[2] = {data_->distance_tolerance, data_->angle_tolerance};
        const int status = mc_project_outline_through_mirror(&set_, mode, eyes_[eye == 0 ? 0 : 2], surface_,
                                                             tolerances, target_x_, projection_target_, on_mirror,
                                                             on_target);
        if ((status == 0 || status == 2 || status == 3) && *on_mirror != NULL_TAG && *on_target != NULL_TAG) return 0;
        detail::delete_if_alive(*on_mirror);
        detail::delete_if_alive(*on_target);
        *on_mirror = *on_target = NULL_TAG;
        return kJudgeProjection;
    }

    // The images in the eye's colour, unnamed and shown, in the result list.
    int display(std::initializer_list<tag_t> images, int eye) const {
        for (tag_t image : images)
            if (mc_set_object_display(image, nullptr, colours_[eye], false, results_) != 0) return kJudgeDisplay;
        return 0;
    }

    int add_dotted(tag_t image) {
        if (!dotted_.get() && HM_MODL_create_list(dotted_.out()) != 0) return kJudgeDotted;
        return HM_MODL_put_list_item(dotted_.get(), image) == 0 ? 0 : kJudgeDotted;
    }

    // The tool taken from the area under the named undo mark: kept when the
    // area stays in one piece, undone when it would split. A subtraction the
    // host refuses hides nothing. Only this mark is dropped; marks the caller
    // set stay.
    static Cut subtract(tag_t area, tag_t tool, const char* mark) {
        UndoScope scope(UNDO_visible, mark);
        if (!scope.is_set()) return Cut::ignored;
        int bodies = 0;
        if (hm6520_(area, tool, kSubtractOperation, &bodies) != 0) {
            scope.roll_back();
            return Cut::ignored;
        }
        if (bodies < 2) {
            scope.keep();
            return Cut::reduced;
        }
        scope.roll_back();
        return Cut::split;
    }

    // Restrictions seen in the mirror: each image comes off the visible area
    // of its eye; the triangle then keeps what either eye still sees.
    int restrictions_seen_in_mirror(const tag_t first_views[2]) {
        const std::vector<tag_t> restrictions = detail::list_items(data_->mt_restrictions);
        if (restrictions.empty()) return 0;
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 2, first_views, visible_) != 0) return kJudgeCopy;
        for (int eye = 0; eye < 2; ++eye)
            for (tag_t restriction : restrictions)
                if (const int status = restriction_seen_in_mirror(restriction, eye); status != 0) return status;
        if (!reduced_) return 0;
        tag_t united = NULL_TAG;
        if (unite(visible_[0], visible_[1], &united) != 0) return kJudgeUnion;
        if (HM_MODL_operations(triangle_, united, HM_MODL_INTERSECT) != 0) {
            detail::delete_if_alive(united);
            return kJudgeOutOfRange;
        }
        return 0;
    }

    int restriction_seen_in_mirror(tag_t restriction, int eye) {
        if (mc_build_geometry_set(restriction, nullptr, 0, &set_) != 0) return kJudgeProjection;
        tag_t on_mirror = NULL_TAG, on_target = NULL_TAG;
        if (const int status = carry(kSeenInMirror, eye, &on_mirror, &on_target); status != 0) return status;
        if (const int status = display({on_mirror, on_target}, eye); status != 0) return status;
        const tag_t copy = copy_of(on_target);
        if (copy == NULL_TAG) return kJudgeCopy;
        int status = 0;
        switch (subtract(visible_[eye], copy, "restriction")) {
            case Cut::reduced:
                reduced_ = true;
                break;
            case Cut::split:
                split_ = true;
                status = add_dotted(on_target);
                break;
            case Cut::ignored:
                break;
        }
        detail::delete_if_alive(copy);
        mc_free_geometry_set(&set_);
        return status;
    }

    // Restrictions between the eyes and the mirror: the triangle loses the
    // overlap of the two eyes' images, which neither eye sees past.
    int restrictions_on_mirror() {
        for (tag_t restriction : detail::list_items(data_->em_restrictions))
            if (const int status = restriction_on_mirror(restriction); status != 0) return status;
        return 0;
    }

    int restriction_on_mirror(tag_t restriction) {
        if (mc_build_geometry_set(restriction, nullptr, 0, &set_) != 0) return kJudgeProjection;
        tag_t on_mirror[2] = {NULL_TAG, NULL_TAG}, on_target[2] = {NULL_TAG, NULL_TAG};
        for (int eye = 0; eye < 2; ++eye)
            if (const int status = carry(kOnMirror, eye, &on_mirror[eye], &on_target[eye]); status != 0) return status;
        for (int eye = 0; eye < 2; ++eye)
            if (const int status = display({on_mirror[eye], on_target[eye]}, eye); status != 0) return status;
        tag_t copies[2] = {NULL_TAG, NULL_TAG};
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 2, on_target, copies) != 0) {
            detail::delete_if_alive(copies[0]);
            return kJudgeCopy;
        }
        // The images of the two eyes that do not overlap hide nothing.
        if (HM_MODL_operations(copies[0], copies[1], HM_MODL_INTERSECT) != 0) {
            detail::delete_if_alive(copies[0]);
            detail::delete_if_alive(copies[1]);
            mc_free_geometry_set(&set_);
            return 0;
        }
        const tag_t overlap = copies[0];
        int status = 0;
        switch (subtract(triangle_, overlap, "undo")) {
            case Cut::reduced:
                reduced_ = true;
                break;
            case Cut::split:
                split_ = true;
                status = add_dotted(on_target[0]);
                if (status == 0) status = add_dotted(on_target[1]);
                break;
            case Cut::ignored:
                break;
        }
        detail::delete_if_alive(overlap);
        mc_free_geometry_set(&set_);
        return status;
    }

    // The split images dotted with 12 by 12 grid lines, and the obstructed
    // share of the triangle.
    int measure(double* obstruction) {
        if (split_) {
            for (tag_t image : dotted_.items()) {
                (void)HM_OBJ_set_font(image, HM_FONT_DOTTED);
                HostList faces;
                if (HM_MODL_ask_body_faces(image, faces.out()) != 0) continue;
                for (tag_t face : faces.items()) (void)hm5401_(face, kGridLines, kGridLines);
            }
            mc_add_message(data_, kSplitText);
        }
        double remaining = 0.0;
        if (area_of(triangle_, &remaining) != 0) return kJudgeArea;
        // A cut within the distance tolerance can leave the remainder larger
        // by rounding; nothing hidden is 0 %, never less.
        *obstruction = std::max(0.0, (1.0 - remaining / initial_area_) * 100.0);
        if (!reduced_ && !split_ && *obstruction <= kUnobstructedPercent) mc_add_message(data_, kUnobstructedText);
        return 0;
    }

    // Grid lines of a face: 12 times its share of the whole parameter range;
    // 12 where the whole range has no extent.
    static int grid_count(double low, double high, double whole_low, double whole_high) {
        const double whole = whole_high - whole_low;
        if (!(whole > 0.0)) return kGridLines;
        return static_cast<int>(kGridLines * (high - low) / whole);
    }

    // The triangle shown, with 12 by 12 grid lines on one face, or on each
    // of several in proportion to its share of their combined parameter box.
    static int show(tag_t triangle) {
        (void)HM_OBJ_set_blank_status(triangle, false);
        HostList faces;
        if (HM_MODL_ask_body_faces(triangle, faces.out()) != 0) return kJudgeResultFaces;
        int count = 0;
        if (HM_MODL_ask_list_count(faces.get(), &count) != 0 || count < 1) return kJudgeResultFaceCount;
        const std::vector<tag_t> items = faces.items();
        if (items.size() == 1) {
            (void)hm5401_(items[0], kGridLines, kGridLines);
            return 0;
        }
        std::vector<std::array<double, 4>> boxes(items.size(), {0.0, 0.0, 0.0, 0.0});
        for (size_t i = 0; i < items.size(); ++i) (void)HM_MODL_ask_face_uv_minmax(items[i], boxes[i].data());
        std::array<double, 4> whole = boxes[0];
        for (const auto& box : boxes) {
            whole[0] = std::fmin(whole[0], box[0]);
            whole[1] = std::fmax(whole[1], box[1]);
            whole[2] = std::fmin(whole[2], box[2]);
            whole[3] = std::fmax(whole[3], box[3]);
        }
        for (size_t i = 0; i < items.size(); ++i)
            (void)hm5401_(items[i], grid_count(boxes[i][0], boxes[i][1], whole[0], whole[1]),
                          grid_count(boxes[i][2], boxes[i][3], whole[2], whole[3]));
        return 0;
    }

    const mc_mirror_surface_s* surface_;
    mc_data_2003_s* data_;
    const double (*eyes_)[3];
    const double* target_x_;
    tag_t projection_target_;
    hm_list_p_t results_;
    int colours_[2];

    tag_t triangle_ = NULL_TAG;
    double initial_area_ = 0.0;
    tag_t visible_[2] = {NULL_TAG, NULL_TAG};
    HostList dotted_;
    mc_geometry_set_s set_{};
    bool reduced_ = false;
    bool split_ = false;
};

}  // namespace

int mc_judge_vision_triangle(tag_t triangle, tag_t first_view_eye0, tag_t first_view_eye2, tag_t second_view_eye0,
                             tag_t second_view_eye2, int colour_eye0, int colour_eye2,
                             const mc_mirror_surface_s* surface, mc_data_2003_s* data, const double eyes[3][3],
                             const double* target_x, tag_t projection_target, hm_list_p_t result_list,
                             double* obstruction, tag_t* out_triangle) {
    if (out_triangle) *out_triangle = NULL_TAG;
    if (obstruction) *obstruction = 0.0;
    if (!surface || !data || !eyes || !target_x || !result_list || !obstruction || !out_triangle)
        return kJudgeBadArgument;
    const tag_t first_views[2] = {first_view_eye0, first_view_eye2};
    const tag_t second_views[2] = {second_view_eye0, second_view_eye2};
    Judgement judgement(surface, data, eyes, target_x, projection_target, result_list, colour_eye0, colour_eye2);
    int status = judgement.run(triangle, first_views, second_views, obstruction);
    *out_triangle = judgement.finish(&status);
    return status;
}

}  // namespace carvell::r2003
