// Motion functions: joints with their orientation frames, springs,
// dampers, external forces of constant magnitude, and motion inputs.
#include "suspension_motion.h"

#include "hm_vd_motion.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "tolvric.h"

#include <cstdio>
#include <vector>

namespace sus = carvell::suspension;

namespace {

// Length of the magnitude text of an external force.
constexpr size_t kMagnitudeSize = 133;

bool uses_x_frame(int code) { return code == 11 || code == 12; }

// The joint's two orientation frames as matrix objects of the work part:
// the first with X (codes 11, 12) or Z along the first direction; the
// second the first frame for even codes but 12, else X along the second
// direction with Y towards the first frame's Z (codes 11, 12), or Z along
// the second direction. -1 when a frame cannot be made.
int make_frames(int code, const double first[3], const double second[3], tag_t* first_frame, tag_t* second_frame) {
    double m1[9];
    if ((uses_x_frame(code) ? HM_MTX3_initialize_x(first, m1) : HM_MTX3_initialize_z(first, m1)) != 0)
        return sus::kBadInput;
    if (int status = HM_CSYS_create_matrix(m1, first_frame)) return status;
    if (code % 2 == 0 && code != 12) {
        *second_frame = *first_frame;
        return sus::kOk;
    }
    double m2[9];
    if (uses_x_frame(code)) {
        const double z[3] = {m1[6], m1[7], m1[8]};
        int parallel = 0;
        (void)HM_VEC3_is_parallel(z, second, 0.0, &parallel);
        if (parallel) {
            // Refused: the first frame made for it is not left in the part.
            (void)HM_OBJ_delete_object(*first_frame);
            *first_frame = 0;
            return sus::kBadInput;
        }
        double zd[3], y[3];
        (void)HM_VEC3_cross(z, second, zd);
        (void)HM_VEC3_cross(zd, second, y);
        if (HM_MTX3_initialize(second, y, m2) != 0) return sus::kBadInput;
    } else if (HM_MTX3_initialize_z(second, m2) != 0) {
        return sus::kBadInput;
    }
    return HM_CSYS_create_matrix(m2, second_frame);
}

// Fills what a spring's and a damper's records share: the kind, the two
// points, the two options and the two objects.
template <typename Record>
void set_connection(Record& record, int kind, int first_option, const double first_point[3],
                    const double second_point[3], int second_option, const unsigned int objects[2]) {
    record.kind = kind;
    for (int i = 0; i < 3; ++i) {
        record.first_point[i] = first_point[i];
        record.second_point[i] = second_point[i];
    }
    record.first_option = first_option;
    record.second_option = second_option;
    record.objects[0] = objects[0];
    record.objects[1] = objects[1];
}

// Makes the element of the record in the current mechanism and names it.
template <typename Record>
int create_named(const char* name, const Record& record, int (*create)(tag_t, const Record*, tag_t*),
                 tag_t* element) {
    tag_t mechanism = 0;
    (void)KMC_get_current_mech_tag(&mechanism);
    if (int status = create(mechanism, &record, element)) return status;
    return HM_OBJ_set_name(*element, name);
}

}  // namespace

namespace carvell::suspension {

// A function object of one line of text (cut to fit size bytes).
int one_line_function(const char* text, size_t size, tag_t* function) {
    carvell::detail::SmBlock<char*> lines(static_cast<char**>(SM_calloc(1, sizeof(char*))));
    carvell::detail::SmBlock<char> line(static_cast<char*>(SM_alloc(size)));
    if (!lines || !line) return kBadInput;
    STR_snprintf(line.get(), size, "%s", text);
    lines[0] = line.get();
    KMC_function_data_t data;
    (void)KMC_init_function_data(&data);
    data.num_lines = 1;
    data.lines = lines.get();
    return KMC_create_function_object(&data, function);
}

int joint_type_of_code(int code) {
    if (code < 3 || code > 16) return HM_MOTION_NO_JOINT;
    return (code - 1) / 2;   // 3, 4 -> 1; 5, 6 -> 2; ... 15, 16 -> 7
}

}  // namespace carvell::suspension

int HM_VD_MOTION_create_joint(const char* name, int code, tag_t first_link, tag_t second_link, double value,
                              double first_direction[3], double second_direction[3], double origin[3], tag_t* joint) {
    if (!name || !first_direction || !second_direction || !origin || !joint) return sus::kBadInput;
    if (!carvell::detail::finite3(first_direction) || !carvell::detail::finite3(second_direction) ||
        !carvell::detail::finite3(origin))
        return sus::kBadInput;
    sus::HostSession session;
    // What is made for the joint goes again when the joint is not made.
    carvell::detail::Temporaries made;
    tag_t first_frame = 0, second_frame = 0;
    const int frames = make_frames(code, first_direction, second_direction, &first_frame, &second_frame);
    made.add(first_frame);
    if (second_frame != first_frame) made.add(second_frame);
    if (frames != 0) return frames;

    const int status = sus::create_host_joint(name, code, first_link, second_link, value, first_frame, second_frame,
                                              first_direction, second_direction, origin, made, joint);
    if (status == 0)
        for (tag_t object : std::vector<tag_t>(made.objects())) made.release(object);
    return status;
}

int HM_VD_MOTION_create_spring(const char* name, int kind, int first_option, double stiffness, double preload,
                               double first_point[3], double second_point[3], int second_option,
                               unsigned int objects[2], tag_t* spring) {
    if (!name || !first_point || !second_point || !objects || !spring) return sus::kBadInput;
    sus::HostSession session;
    KMC_spring_t record;
    (void)KMC_init_spring(&record);
    set_connection(record, kind, first_option, first_point, second_point, second_option, objects);
    record.stiffness = stiffness;
    record.preload = preload;
    return create_named(name, record, KMC_create_spring, spring);
}

int HM_VD_MOTION_create_damper(const char* name, int kind, int first_option, double coefficient,
                               double first_point[3], double second_point[3], int second_option,
                               unsigned int objects[2], tag_t* damper) {
    if (!name || !first_point || !second_point || !objects || !damper) return sus::kBadInput;
    sus::HostSession session;
    KMC_damper_t record;
    (void)KMC_init_damper(&record);
    set_connection(record, kind, first_option, first_point, second_point, second_option, objects);
    record.coefficient = coefficient;
    return create_named(name, record, KMC_create_damper, damper);
}

int HM_VD_MOTION_create_external_force_mag(tag_t first, tag_t second, double origin[3], double direction[3],
                                           double magnitude, tag_t* force) {
    if (!origin || !direction || !force) return sus::kBadInput;
    // A force needs a finite magnitude along a direction from a point.
    if (!carvell::detail::finite3(origin) || !carvell::detail::finite3(direction) ||
        !carvell::detail::all_finite({magnitude}) ||
        (direction[0] == 0.0 && direction[1] == 0.0 && direction[2] == 0.0))
        return sus::kBadInput;
    sus::HostSession session;
    char text[kMagnitudeSize];
    std::snprintf(text, sizeof text, "%f", magnitude);
    tag_t function = 0;
    if (int status = sus::one_line_function(text, kMagnitudeSize, &function)) return status;
    tag_t mechanism = 0;
    (void)KMC_get_current_mech_tag(&mechanism);
    KMC_force_t record;
    (void)KMC_init_force(&record);
    record.magnitude = function;
    for (int i = 0; i < 3; ++i) {
        record.origin[i] = origin[i];
        record.direction[i] = direction[i];
    }
    record.objects[0] = first;
    record.objects[1] = second;
    const int status = KMC_create_force(mechanism, &record, force);
    KMC_free_force(&record);
    return status;
}

int HM_VD_MOTION_create_motion_input_constant(tag_t joint, double a, double b, double c) {
    double values[3] = {a, b, c};
    return HM_VD_MOTION_create_motion_input(joint, sus::kInputConstant, "", values, 3);
}

int HM_VD_MOTION_create_motion_input_harmonic(tag_t joint, double a, double b, double c, double d) {
    double values[4] = {a, b, c, d};
    return HM_VD_MOTION_create_motion_input(joint, sus::kInputHarmonic, "", values, 4);
}

int HM_VD_MOTION_create_motion_input_general(tag_t joint, const char* text) {
    return HM_VD_MOTION_create_motion_input(joint, sus::kInputFunction, text, nullptr, 0);
}
