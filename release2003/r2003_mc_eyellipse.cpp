// The 2003 mirror-certification engine's eyellipse through the rule language:
// the design parameters of an eyellipse instance read into a record, a new
// eyellipse instance made from such a record, and the eye geometry that an
// instance works out.
#include "r2003_mirror.h"

#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/owners.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

namespace carvell::r2003 {
namespace {

constexpr int kTextSize = 133;   // a rule name or a rule text with its terminator
constexpr int kParameterCount = 29;

enum class Kind { text, integer, number, boolean };

struct Field {
    const char* attribute;
    Kind kind;
    std::size_t offset;
};

#define MC_FIELD(attribute, kind, member) {attribute, Kind::kind, offsetof(mc_eyellipse_params_s, member)}
// The single-valued parameters in the order of the class; the three entity
// lists follow them.
const Field kFields[] = {
    MC_FIELD("Name", text, name),
    MC_FIELD("Standard", integer, standard),
    MC_FIELD("Unit", integer, unit),
    MC_FIELD("Vehicle_Class", integer, vehicle_class),
    MC_FIELD("Population_Percentile", integer, population_percentile),
    MC_FIELD("Male_Female_Ratio", integer, male_female_ratio),
    MC_FIELD("Back_Angle", number, back_angle),
    MC_FIELD("Seat_Track_Travel", integer, seat_track_travel),
    MC_FIELD("Hip_Point_X", number, hip_point_x),
    MC_FIELD("Hip_Point_Y", number, hip_point_y),
    MC_FIELD("Hip_Point_Z", number, hip_point_z),
    MC_FIELD("Heel_Point_X", number, heel_point_x),
    MC_FIELD("Heel_Point_Z", number, heel_point_z),
    MC_FIELD("Left_Side", boolean, left_side),
    MC_FIELD("Seat_Position", integer, seat_position),
    MC_FIELD("PRP_X", number, prp_x),
    MC_FIELD("Chair_Height", number, chair_height),
    MC_FIELD("PRP_SWC_Length", number, prp_swc_length),
    MC_FIELD("Transmission_Type", integer, transmission_type),
    MC_FIELD("Use_Lean", boolean, use_lean),
    MC_FIELD("Shoulder_Room", number, shoulder_room),
    MC_FIELD("Steering_Center_Y", number, steering_center_y),
    MC_FIELD("Use_Head_Movement", boolean, use_head_movement),
    MC_FIELD("Head_Movement_Dir", integer, head_movement_dir),
    MC_FIELD("Angle", number, angle),
    MC_FIELD("Distance", number, distance),
};
#undef MC_FIELD
constexpr int kFieldCount = static_cast<int>(sizeof kFields / sizeof kFields[0]);
const char* const kVisible = "entity_visible";
const char* const kColour = "entity_color";
const char* const kLayer = "entity_layer";
static_assert(kFieldCount + 3 == kParameterCount, "every parameter of the class has its rule");

template <typename T>
T& member(mc_eyellipse_params_s& p, const Field& f) {
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(&p) + f.offset);
}
template <typename T>
const T& member(const mc_eyellipse_params_s& p, const Field& f) {
    return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&p) + f.offset);
}

// Evaluates the attribute of the instance: the host's code, -1 when the
// rule name does not fit its text.
int evaluate(const char* prefix, const char* attribute, HM_RQ_value_t* value) {
    char rule[kTextSize];
    const int length = STR_snprintf(rule, sizeof rule, "%s%s:", prefix, attribute);
    if (length < 0 || length >= kTextSize) return -1;
    return HM_RQ_evaluate_rule(rule, value);
}

int evaluate_list(const char* prefix, const char* attribute, HM_RQ_value_t* list) {
    HM_RQ_value_t value = 0;
    if (int r = evaluate(prefix, attribute, &value)) return r;
    return HM_RQ_ask_list(value, list);
}

int ask_byte(HM_RQ_value_t value, unsigned char* out) {
    bool b = false;
    if (int r = HM_RQ_ask_boolean(value, &b)) return r;
    *out = b ? 1 : 0;
    return 0;
}

int read_field(const char* prefix, const Field& f, mc_eyellipse_params_s& p) {
    HM_RQ_value_t value = 0;
    if (int r = evaluate(prefix, f.attribute, &value)) return r;
    switch (f.kind) {
        case Kind::text: {
            detail::SmBlock<char> text;
            if (int r = HM_RQ_ask_string(value, text.out())) return r;
            // The field holds 31 characters; a longer name is cut.
            STR_snprintf(p.name, sizeof p.name, "%s", text.get());
            return 0;
        }
        case Kind::integer: return HM_RQ_ask_integer(value, &member<int>(p, f));
        case Kind::number: return HM_RQ_ask_number(value, &member<double>(p, f));
        case Kind::boolean: return ask_byte(value, &member<unsigned char>(p, f));
    }
    return -1;
}

// Writes the field's rule text: the name quoted (a tilde escapes a quote or
// a tilde in it), integers "%d", numbers "%f", booleans True or False.
// False when a number is not finite or its text does not fit.
bool write_field(const mc_eyellipse_params_s& p, const Field& f, char text[kTextSize]) {
    switch (f.kind) {
        case Kind::text: {
            std::string quoted = "\"";
            for (const char* c = p.name; *c && c < p.name + sizeof p.name; ++c) {
                if (*c == '"' || *c == '~') quoted += '~';
                quoted += *c;
            }
            quoted += '"';
            return STR_snprintf(text, kTextSize, "%s", quoted.c_str()) < kTextSize;
        }
        case Kind::integer: return STR_snprintf(text, kTextSize, "%d", member<int>(p, f)) < kTextSize;
        case Kind::number: {
            const double v = member<double>(p, f);
            return std::isfinite(v) && STR_snprintf(text, kTextSize, "%f", v) < kTextSize;
        }
        case Kind::boolean:
            STR_snprintf(text, kTextSize, "%s", member<unsigned char>(p, f) ? "True" : "False");
            return true;
    }
    return false;
}

const char* truth(unsigned char b) { return b ? "True" : "False"; }

}  // namespace

int mc_read_eyellipse_params(const char* prefix, mc_eyellipse_params_s* params) {
    if (!prefix || !params) return -1;
    mc_eyellipse_params_s p{};
    for (const Field& f : kFields)
        if (int r = read_field(prefix, f, p)) return r;
    HM_RQ_value_t visible = 0, colour = 0, layer = 0;
    if (int r = evaluate_list(prefix, kVisible, &visible)) return r;
    if (int r = evaluate_list(prefix, kColour, &colour)) return r;
    if (int r = evaluate_list(prefix, kLayer, &layer)) return r;
    for (int i = 0; i < MC_EYELLIPSE_ENTITIES; ++i) {
        HM_RQ_value_t item = 0;
        if (int r = HM_RQ_list_pop(visible, &item)) return r;
        if (int r = ask_byte(item, &p.entity_visible[i])) return r;
        if (int r = HM_RQ_list_pop(colour, &item)) return r;
        if (int r = HM_RQ_ask_integer(item, &p.entity_color[i])) return r;
        if (int r = HM_RQ_list_pop(layer, &item)) return r;
        if (int r = HM_RQ_ask_integer(item, &p.entity_layer[i])) return r;
    }
    *params = p;
    return 0;
}

int mc_create_eyellipse_rule(const char* rule_name, const mc_eyellipse_params_s* params) {
    if (!rule_name || !params) return -1;
    const char* first = std::strchr(rule_name, ':');
    const char* second = first ? std::strchr(first + 1, ':') : nullptr;
    if (!second) return -1;
    const std::string child(first + 1, second);

    char names[kParameterCount][kTextSize];
    char values[kParameterCount][kTextSize];
    for (int i = 0; i < kFieldCount; ++i) {
        STR_snprintf(names[i], kTextSize, "%s", kFields[i].attribute);
        if (!write_field(*params, kFields[i], values[i])) return -1;
    }
    const auto& v = params->entity_visible;
    const auto& c = params->entity_color;
    const auto& l = params->entity_layer;
    STR_snprintf(names[kFieldCount], kTextSize, "%s", kVisible);
    STR_snprintf(values[kFieldCount], kTextSize, "{%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s}", truth(v[0]),
                 truth(v[1]), truth(v[2]), truth(v[3]), truth(v[4]), truth(v[5]), truth(v[6]), truth(v[7]),
                 truth(v[8]), truth(v[9]), truth(v[10]), truth(v[11]), truth(v[12]), truth(v[13]));
    const char* const integers = "{%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d}";
    STR_snprintf(names[kFieldCount + 1], kTextSize, "%s", kColour);
    STR_snprintf(values[kFieldCount + 1], kTextSize, integers, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8],
                 c[9], c[10], c[11], c[12], c[13]);
    STR_snprintf(names[kFieldCount + 2], kTextSize, "%s", kLayer);
    STR_snprintf(values[kFieldCount + 2], kTextSize, integers, l[0], l[1], l[2], l[3], l[4], l[5], l[6], l[7], l[8],
                 l[9], l[10], l[11], l[12], l[13]);

    const char* name_texts[kParameterCount];
    const char* value_texts[kParameterCount];
    for (int i = 0; i < kParameterCount; ++i) {
        name_texts[i] = names[i];
        value_texts[i] = values[i];
    }
    return HM_RQ_create_child_rule(HM_ASSEM_ask_work_part(), "Root:", child.c_str(), VD_EYELLIPSE_CLASS,
                                   kParameterCount, name_texts, value_texts);
}

int mc_read_eyellipse_eye_geometry(const char* prefix, double centroids[2][3], double axis_lengths[2],
                                   double first_dir[3], double second_dir[3], double hip_point[3]) {
    if (!prefix || !centroids || !axis_lengths || !first_dir || !second_dir || !hip_point) return -1;
    double eyes[2][3], lengths[2], dirs[2][3], hip[3];
    HM_RQ_value_t list = 0, item = 0;
    // The left and right eyes: the first and third centroid, the cyclops eye
    // between them skipped.
    if (int r = evaluate_list(prefix, "Centroid_coords", &list)) return r;
    if (int r = HM_RQ_list_pop(list, &item)) return r;
    if (int r = HM_RQ_ask_point(item, eyes[0])) return r;
    if (int r = HM_RQ_list_pop(list, &item)) return r;
    if (int r = HM_RQ_list_pop(list, &item)) return r;
    if (int r = HM_RQ_ask_point(item, eyes[1])) return r;
    if (int r = evaluate_list(prefix, "Axis_Length", &list)) return r;
    for (double& length : lengths) {
        if (int r = HM_RQ_list_pop(list, &item)) return r;
        if (int r = HM_RQ_ask_number(item, &length)) return r;
    }
    if (int r = evaluate_list(prefix, "Axis_dir", &list)) return r;
    for (auto& dir : dirs) {
        if (int r = HM_RQ_list_pop(list, &item)) return r;
        if (int r = HM_RQ_ask_vector(item, dir)) return r;
    }
    const char* const hip_attributes[3] = {"Hip_Point_X", "Hip_Point_Y", "Hip_Point_Z"};
    for (int i = 0; i < 3; ++i) {
        HM_RQ_value_t value = 0;
        if (int r = evaluate(prefix, hip_attributes[i], &value)) return r;
        if (int r = HM_RQ_ask_number(value, &hip[i])) return r;
    }
    std::memcpy(centroids, eyes, sizeof eyes);
    std::memcpy(axis_lengths, lengths, sizeof lengths);
    std::memcpy(first_dir, dirs[0], sizeof dirs[0]);
    std::memcpy(second_dir, dirs[1], sizeof dirs[1]);
    std::memcpy(hip_point, hip, sizeof hip);
    return 0;
}

}  // namespace carvell::r2003
