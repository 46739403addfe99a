// The 2003 mirror-certification engine's working record: its initialisation
// from the caller's input (with the eyellipse's eye ellipses), its release,
// the region and standard names of the 2003 standards table and the run's
// message slots.
#include "r2003_mirror.h"

#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace carvell::r2003 {
namespace {

struct NamePair {
    const char* region;
    const char* standard;
};

// Passenger outside mirror (kind 2), standards 0 to 7.
const NamePair kPassengerTable[] = {
    {"USA/canada", "FMVSS 111 - CMVSS 111"},
    {"Europe (M1/N1 only)", "71/127/EEC - ECE R46.01"},
    {"Europe (Not M1/N1)near", "71/127/EEC - ECE R46.01"},
    {"Europe (Not M1/N1) far", "71/127/EEC - ECE R46.01"},
    {"Japan", "Article 44/TRIAS 29/TRIAS 39"},
    {"Australia", "ADR 14/02"},
    {"Saudi Arabia / Gulf States near", "SSA 770/771 - GS 421/422"},
    {"Saudi Arabia / Gulf States far", "SSA 770/771 - GS 421/422"},
};

// Inside mirror and driver outside mirror (kinds 0 and 1), standards 0 to 4.
const NamePair kDriverTable[] = {
    {"USA/canada", "FMVSS 111 - CMVSS 111"},
    {"Europe", "71/127/EEC - ECE R46.01"},
    {"Japan", "Article 44/TRIAS 29/TRIAS 39"},
    {"Australia", "ADR 14/02"},
    {"Saudi Arabia / Gulf States", "SSA 770/771 - GS 421/422"},
};

constexpr const char* kMessageLimitText = "WARNINGS EXCEEDED MESSAGE LIMIT";
constexpr int kDefaultColour = 2;

bool counted(int count, const tag_t* tags) {
    return count == 0 || (count > 0 && count <= HM_VD_MC_MAX_OBJECTS && tags);
}

// Every count fits its array and every number that the record takes is
// finite and inside the model space.
bool input_is_sound(const mc_input_data_2003_t& in) {
    if (!counted(in.bezel_count, in.bezel_curves) || !counted(in.em_restriction_count, in.em_restrictions) ||
        !counted(in.mt_restriction_count, in.mt_restrictions))
        return false;
    const double* points[] = {in.eye_reference_point, in.pivot_point, in.prime_point, in.caller_points[0],
                              in.caller_points[1], in.caller_points[2], in.loading_vectors[0],
                              in.loading_vectors[1], in.loading_vectors[2]};
    for (const double* p : points)
        if (!detail::model_point(p)) return false;
    const double values[] = {in.mirror_radius[0], in.mirror_radius[1], in.mirror_radius[2], in.user_distance,
                             in.user_width,       in.user_angle,       in.standard_distance, in.standard_width,
                             in.standard_angle};
    return detail::all_modelled(values, static_cast<int>(sizeof values / sizeof values[0]));
}

// 0 farthest, 2 nearest (caller's 1), 1 middle (any other).
int stored_eye_type(int caller) { return caller == 0 ? 0 : caller == 1 ? 2 : 1; }

// Eye points from the eyellipse for the inside and driver mirrors of the
// USA/canada and Australia rows, and for the passenger mirror of the
// USA/canada and Australia rows; from the user's reference point otherwise.
int user_eye_flag(int kind, int standard) {
    if ((kind == 0 || kind == 1) && (standard == 0 || standard == 3)) return 0;
    if (kind == 2 && (standard == 0 || standard == 5)) return 0;
    return 1;
}

void allocate_result_record(mc_data_2003_s* data) {
    if (data->mirror_kind == 0) {
        data->inside = detail::zeroed_block<mc_inside_result_2003_s>();
        if (!data->inside) return;
        data->inside->up = detail::zeroed_block<mc_inside_pass_s>();
        data->inside->down = detail::zeroed_block<mc_inside_pass_s>();
        (void)HM_MODL_create_list(&data->inside->result_objects);
        return;
    }
    data->outside = detail::zeroed_block<mc_outside_result_s>();
    if (!data->outside) return;
    data->outside->surface = detail::zeroed_block<mc_mirror_surface_s>();
    data->outside->first = detail::zeroed_block<mc_target_result_s>();
    data->outside->second = detail::zeroed_block<mc_target_result_s>();
    (void)HM_MODL_create_list(&data->outside->result_objects);
}

void release_result_record(mc_data_2003_s* data) {
    if (mc_outside_result_s* outside = data->outside) {
        detail::delete_list(&outside->result_objects);
        detail::free_block(&outside->surface);
        detail::free_block(&outside->first);
        detail::free_block(&outside->second);
        detail::free_block(&data->outside);
    }
    if (mc_inside_result_2003_s* inside = data->inside) {
        detail::delete_list(&inside->result_objects);
        detail::free_block(&inside->up);
        detail::free_block(&inside->down);
        detail::free_block(&data->inside);
    }
}

char** make_message_slots() {
    auto** slots = static_cast<char**>(SM_calloc(MC_MAX_MESSAGES, sizeof(char*)));
    if (!slots) return nullptr;
    for (int i = 0; i < MC_MAX_MESSAGES; ++i) slots[i] = static_cast<char*>(SM_calloc(MC_NAME_SIZE, 1));
    return slots;
}

// The eyellipse's hip point, which becomes the eye reference, and its two
// plan-view eye ellipses.
struct EyellipseEyes {
    bool drawn = false;
    double hip[3] = {};
    tag_t ellipses[2] = {NULL_TAG, NULL_TAG};

    bool draw(const char* eyellipse) {
        double centroids[2][3], lengths[2], first_dir[3], second_dir[3];
        drawn = mc_read_eyellipse_eye_geometry(eyellipse, centroids, lengths, first_dir, second_dir, hip) == 0 &&
                mc_create_eye_ellipses_2003(centroids, lengths, first_dir, second_dir, ellipses) == 0;
        return drawn;
    }
};

void copy_inputs(const mc_input_data_2003_t& in, mc_data_2003_s* data) {
    data->eyellipse_name = in.eyellipse_name;
    data->eye_type = stored_eye_type(in.eye_type);
    detail::copy3(in.eye_reference_point, data->eye_reference);
    data->head_rotation = in.head_rotation ? 1 : 0;
    data->mirror_sheet = in.mirror_sheet;
    data->caller_mirror_sheet = in.mirror_sheet;
    detail::copy3(in.pivot_point, data->pivot);
    detail::copy3(in.pivot_point, data->start_pivot);
    detail::copy3(in.prime_point, data->prime);
    detail::copy3(in.prime_point, data->start_prime);
    data->bezel_curves = detail::list_of_tags(in.bezel_count, in.bezel_curves);
    data->bezel_present = data->bezel_curves ? 1 : 0;
    data->bezel_copy = detail::copy_of_list(data->bezel_curves);
    data->opposite_mirror_sheet = in.opposite_mirror_sheet;
    data->further_value = in.further_value;
    data->skip_area_test = in.skip_area_test ? 1 : 0;
    std::memcpy(data->caller_points, in.caller_points, sizeof data->caller_points);
    data->backlite_sheet = in.backlite_sheet;
    data->backlite_copy = in.backlite_sheet;
    data->mirror_radius[0] = in.mirror_radius[0];
    data->mirror_radius[1] = in.mirror_radius[1] != 0.0 ? in.mirror_radius[1] : 100.0;
    data->mirror_radius[2] = in.mirror_radius[2] != 0.0 ? in.mirror_radius[2] : 999999.0;
    data->mirror_shape = in.mirror_shape;
}

void copy_values(const mc_input_data_2003_t& in, mc_data_2003_s* data) {
    data->user_override = in.user_override ? 1 : 0;
    data->user_distance = in.user_distance;
    data->user_width = in.user_width;
    data->user_angle = in.user_angle;
    data->standard_distance = in.standard_distance;
    data->standard_width = in.standard_width;
    data->standard_angle = in.standard_angle;
    // The far side of the second target: 300 mm (11.811 in) for the driver
    // mirror of the Japan row and the passenger mirror of the Japan row.
    if ((data->mirror_kind == 1 && data->standard == 2) || (data->mirror_kind == 2 && data->standard == 4))
        data->far_side_value = data->units == 1 ? 11.811 : 300.0;
    data->loading = in.loading ? 1 : 0;
    std::memcpy(data->loading_vectors, in.loading_vectors, sizeof data->loading_vectors);
    data->em_restrictions = detail::list_of_tags(in.em_restriction_count, in.em_restrictions);
    data->em_present = data->em_restrictions ? 1 : 0;
    data->mt_restrictions = detail::list_of_tags(in.mt_restriction_count, in.mt_restrictions);
    data->mt_present = data->mt_restrictions ? 1 : 0;
    data->em_copy = detail::copy_of_list(data->em_restrictions);
    data->mt_copy = detail::copy_of_list(data->mt_restrictions);
    for (int i = 0; i < 9; ++i) data->colours[i] = in.colours[i] != 0 ? in.colours[i] : kDefaultColour;
}

}  // namespace

void mc_set_standard_names_2003(mc_data_2003_s* data) {
    if (!data) return;
    const bool driver_table = data->mirror_kind == 0 || data->mirror_kind == 1;
    const NamePair* table = driver_table ? kDriverTable : kPassengerTable;
    const int rows = driver_table ? static_cast<int>(sizeof kDriverTable / sizeof kDriverTable[0])
                                  : static_cast<int>(sizeof kPassengerTable / sizeof kPassengerTable[0]);
    if (data->standard < 0 || data->standard >= rows) return;
    std::snprintf(data->region_name, MC_NAME_SIZE, "%s", table[data->standard].region);
    std::snprintf(data->standard_name, MC_NAME_SIZE, "%s", table[data->standard].standard);
}

void mc_add_message(mc_data_2003_s* data, const char* text) {
    if (!data || !data->messages || !text) return;
    if (data->message_count < MC_MAX_MESSAGES) {
        if (char* slot = data->messages[data->message_count]) {
            std::snprintf(slot, MC_NAME_SIZE, "%s", text);
            ++data->message_count;
        }
        return;
    }
    if (char* last = data->messages[MC_MAX_MESSAGES - 1]) std::snprintf(last, MC_NAME_SIZE, "%s", kMessageLimitText);
}

}  // namespace carvell::r2003

using namespace carvell::r2003;
namespace detail = carvell::detail;

int HM_VD_MC_init_data(mc_input_data_2003_t* input, mc_data_2003_s* data) {
    if (!input || !data || !input_is_sound(*input)) return -1;
    const mc_input_data_2003_t& in = *input;
    // With eye points from the eyellipse its two eye ellipses are drawn
    // first: a named instance that cannot be read or drawn is refused as
    // unreadable input, with the record and the part as they were.
    EyellipseEyes eyellipse;
    if (user_eye_flag(in.mirror_kind, in.standard) == 0 && in.eyellipse_name && *in.eyellipse_name &&
        !eyellipse.draw(in.eyellipse_name))
        return -1;
    // A record that still holds an earlier initialisation loses nothing.
    if (data->messages) HM_VD_MC_release_data(data);
    std::memset(data, 0, sizeof *data);
    data->mirror_kind = in.mirror_kind;
    data->standard = in.standard;
    data->result_layer = in.result_layer;
    mc_set_standard_names_2003(data);
    data->user_eye_flag = user_eye_flag(data->mirror_kind, data->standard);
    int units = 1;
    if (HM_PART_ask_units(HM_ASSEM_ask_work_part(), &units) == 0) data->units = units - 1;
    copy_inputs(in, data);
    copy_values(in, data);
    data->distance_tolerance = 0.01;
    double tolerance = 0.0;
    if (HM_MODL_ask_distance_tolerance(&tolerance) == 0) data->distance_tolerance = tolerance;
    data->angle_tolerance = 0.05;
    data->third_tolerance = 0.01;
    allocate_result_record(data);
    if (data->user_eye_flag == 0) {
        data->head_rotation = 1;
        data->eye_step_eyellipse_name = data->eyellipse_name;
        if (eyellipse.drawn) {
            detail::copy3(eyellipse.hip, data->eye_reference);
            data->first_ellipse = eyellipse.ellipses[0];
            data->second_ellipse = eyellipse.ellipses[1];
        }
    } else {
        detail::copy3(data->eye_reference, data->eye_reference_copy);
    }
    data->message_count = 0;
    data->messages = make_message_slots();
    return 0;
}

void HM_VD_MC_release_data(mc_data_2003_s* data) {
    if (!data) return;
    detail::delete_list(&data->bezel_curves);
    detail::delete_list(&data->bezel_copy);
    detail::delete_list(&data->em_restrictions);
    detail::delete_list(&data->mt_restrictions);
    detail::delete_list(&data->em_copy);
    detail::delete_list(&data->mt_copy);
    release_result_record(data);
    // The eye ellipses are the part's geometry; the record only forgets them.
    data->first_ellipse = NULL_TAG;
    data->second_ellipse = NULL_TAG;
    if (data->messages) {
        for (int i = 0; i < MC_MAX_MESSAGES; ++i) SM_free(data->messages[i]);
        SM_free(data->messages);
        data->messages = nullptr;
    }
    data->message_count = 0;
}
