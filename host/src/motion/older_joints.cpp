// The 2003 host's older joint calls: a joint from the library's joint code
// and two orientation frames, and a motion input by the library's kinds. Both
// are made with today's joint calls.
#include "omvra.h"
#include "quillon.h"
#include "tolvric.h"

#include <cstdio>

namespace {

// The host joint type of a library joint code: 3, 4 revolute ... 15, 16
// planar; any other code none.
int joint_type(int code) { return code < 3 || code > 16 ? HM_MOTION_NO_JOINT : (code - 1) / 2; }

// The direction a frame gives the joint: its X axis for codes 11 and 12
// (rows of the matrix are its axes), else its Z axis.
int frame_direction(tag_t frame, int code, double direction[3]) {
    double m[9];
    if (HM_CSYS_ask_matrix_values(frame, m) != 0) return HM_ERR_WRONG_TYPE;
    const int row = code == 11 || code == 12 ? 0 : 2;
    for (int i = 0; i < 3; ++i) direction[i] = m[3 * row + i];
    return 0;
}

// Objects made for a joint that is then refused are deleted again.
struct Made {
    tag_t objects[6] = {};
    int count = 0;
    bool keep = false;
    void add(tag_t t) {
        if (t) objects[count++] = t;
    }
    ~Made() {
        if (!keep)
            for (int i = count - 1; i >= 0; --i) (void)HM_OBJ_delete_object(objects[i]);
    }
};

}  // namespace

int hc6011(int code, const char* name, tag_t first_link, tag_t second_link, tag_t first_frame, tag_t second_frame,
           tag_t* joint) {
    if (!name || !joint) return HM_ERR_NULL_POINTER;
    *joint = 0;
    double first[3], second[3];
    if (const int r = frame_direction(first_frame, code, first)) return r;
    if (const int r = frame_direction(second_frame, code, second)) return r;
    HM_MOTION_joint_t record;
    (void)HM_MOTION_init_joint_struct(&record);
    std::snprintf(record.name, sizeof record.name, "%s", name);
    record.type = joint_type(code);
    record.first_link = first_link;
    record.second_link = second_link;
    record.value = 0.0;
    const double origin[3] = {0.0, 0.0, 0.0};
    Made made;
    if (const int r = HM_SO_create_dirr_doubles(0, 2, origin, first, &record.first_direction)) return r;
    made.add(record.first_direction);
    if (second_link != 0) {
        if (const int r = HM_SO_create_dirr_doubles(0, 2, origin, second, &record.second_direction)) return r;
        made.add(record.second_direction);
    }
    tag_t scalars[3];
    for (tag_t& s : scalars) {
        if (const int r = HM_SO_create_scalar_double(0, 2, 0.0, &s)) return r;
        made.add(s);
    }
    if (const int r = HM_SO_create_point_3_scalars(0, 2, scalars, &record.first_origin)) return r;
    made.add(record.first_origin);
    record.second_origin = record.first_origin;
    const int r = HM_MOTION_create_joint(&record, joint);
    made.keep = r == 0;
    return r;
}

int hc6025(tag_t joint, int kind, const char* text, double* values, int count) {
    (void)count;
    HM_MOTION_joint_motion_input_t input;
    (void)HM_MOTION_init_joint_motion_input_struct(&input);
    switch (kind) {
        case 1: {
            if (!text) return HM_ERR_NULL_POINTER;
            char line[200];
            std::snprintf(line, sizeof line, "%s", text);
            char* lines[1] = {line};
            KMC_function_data_t data;
            (void)KMC_init_function_data(&data);
            data.num_lines = 1;
            data.lines = lines;
            input.type = HM_MOTION_INPUT_FUNCTION;
            if (const int r = KMC_create_function_object(&data, &input.function)) return r;
            break;
        }
        case 3:
        case 4: {
            if (!values) return HM_ERR_NULL_POINTER;
            const int n = kind == 3 ? 3 : 4;
            input.type = kind == 3 ? HM_MOTION_INPUT_CONSTANT : HM_MOTION_INPUT_HARMONIC;
            for (int i = 0; i < n; ++i) input.values[i] = values[i];
            break;
        }
        default:
            input.type = HM_MOTION_INPUT_NONE;
            break;
    }
    const int r = HM_MOTION_set_joint_motion_input(joint, &input);
    if (r != 0 && input.function) (void)HM_OBJ_delete_object(input.function);
    return r;
}
