// The A-pillar obstruction records, the eyellipse check, the E point and the
// failure messages of the analysis.
#include "hm_vd_vision/apillar.h"
#include "vision_eye.h"

#include "omvra.h"
#include "quillon.h"
#include "sarnweld.h"
#include "tessik.h"
#include "toolbox/detail/finite.h"

#include <cstring>

namespace {

// Message texts of the status codes 1 to 23, as the tool shows them; codes
// without a text (10, 21) are null.
const char* const kMessages[24] = {
    nullptr,
    "Failed to find some input geometry which are component members not in the work part. The component part "
    "could be deleted or unloaded.",
    "Invalid eyellipse selected.",
    "The eyellipse has no pivot points.",
    "No A-Pillar geometry selected.",
    "No limit edges/curves selected.",
    "Unable to find closest eye point on selected eyellipse.",
    "The Selected A Pillar Geometry is invalid. No intersection curves exist\nbetween the geometry and cross plane "
    "through the eye point",
    "The limit point is invalid. No intersection curves exist between\nthe eyellipse and cross plane through the "
    "limit point.",
    "Failed to generate A pillar obstruction area.",
    nullptr,
    "No limit point defined.",
    "Invalid data exists.",
    "The target geometry or point is too close to the eye point.",
    "Unable to determine the outboard point position on the A-pillar\ncross section.",
    "Unable to initialize the Eyellipse data structure.",
    "Unable to create the eyellipse body.",
    "Unable to find minimum distance.",
    "No intersection curves.",
    "Multiple limit boundaries exist.",
    "No work part.",
    nullptr,
    "The eye rotation angle exceeds the allowed range.",
    "Fail to get the section curves located in front of eye.",
};

// Codes from this one on are warnings.
constexpr int kFirstWarningCode = 21;

const char* message_of(int code) { return code >= 0 && code < 24 ? kMessages[code] : nullptr; }

void delete_list(hm_list_p_t* list) {
    if (*list) (void)HM_MODL_delete_list(list);
    *list = nullptr;
}

}  // namespace

void HM_VD_APO_init_global(apo_input_t* input) {
    if (!input) return;
    std::memset(input, 0, sizeof *input);
    input->csys_matrix[0] = input->csys_matrix[4] = input->csys_matrix[8] = 1.0;
}

void HM_VD_APO_free_global(apo_input_t* input) {
    if (!input) return;
    SM_free(input->eyellipse_name);
    input->eyellipse_name = nullptr;
    SM_free(input->eyellipse_data);
    input->eyellipse_data = nullptr;
    delete_list(&input->apillar_geometry);
    delete_list(&input->additional_geometry);
    delete_list(&input->limit_geometry);
}

void HM_VD_APO_init_result_struct(apo_result_t* result) {
    if (!result) return;
    std::memset(result, 0, sizeof *result);
    result->curves_present = 1;
    result->curves_present_second = 1;
}

int HM_VD_APO_is_valid_eyellipse(const char* name, int rule_set, int eye_point_mode) {
    char* rule_string = nullptr;
    if (!name || VD_ask_rule_string(name, &rule_string)) return APO_INVALID_EYELLIPSE;
    const bool satisfied = VD_is_eyellipse_satisfied(rule_string, VD_EYELLIPSE_REQ_EYE_POINT, rule_set, eye_point_mode);
    SM_free(rule_string);
    return satisfied ? APO_OK : APO_INVALID_EYELLIPSE;
}

void HM_VD_apo_calculate_E_point(int analysis_mode, const double pivot[3], unsigned char side, double head_rotation,
                                 double e_point[3]) {
    if (!pivot || !e_point || !carvell::detail::model_point(pivot) || !carvell::detail::in_model_space({head_rotation}))
        return;
    const carvell::vision::EyePose pose = carvell::vision::e_point(analysis_mode, pivot, side, head_rotation, 0.0);
    if (!carvell::detail::model_point(pose.e)) return;
    std::memcpy(e_point, pose.e, sizeof pose.e);
}

char* HM_VD_APO_get_failmessage(int code) {
    const char* text = message_of(code);
    return text ? SM_string_copy(text) : nullptr;
}

void HM_VD_APO_display_failmessage(int code) {
    const char* text = message_of(code);
    if (!text) return;
    const char* lines[1] = {text};
    if (code >= kFirstWarningCode) (void)mtWarningDialog("Warning", lines, 1, false, nullptr, 0);
    else (void)mtErrorDialog("Error", lines, 1, false, nullptr, 0);
}
