// Motion inputs on joints: a function of one line of text, three constants
// or a harmonic input, by the library's kinds. Each release defines this
// export once (this file in the current one).
#include "suspension_motion.h"

#include "hm_vd_motion.h"
#include "omvra.h"

namespace sus = carvell::suspension;

int HM_VD_MOTION_create_motion_input(tag_t joint, int kind, const char* text, double* values, int count) {
    sus::HostSession session;
    HM_MOTION_joint_motion_input_t input;
    (void)HM_MOTION_init_joint_motion_input_struct(&input);
    switch (kind) {
        case sus::kInputFunction:
            if (!text) return sus::kBadInput;
            input.type = HM_MOTION_INPUT_FUNCTION;
            if (int status = sus::one_line_function(text, sus::kFunctionLineSize, &input.function)) return status;
            break;
        case sus::kInputConstant:
        case sus::kInputHarmonic: {
            // A count of 0 leaves the number of values to the kind; a count
            // the caller gives is held against what the kind reads.
            const int needed = kind == sus::kInputConstant ? 3 : 4;
            if (!values || count < 0 || (count > 0 && count < needed)) return sus::kBadInput;
            input.type = kind == sus::kInputConstant ? HM_MOTION_INPUT_CONSTANT : HM_MOTION_INPUT_HARMONIC;
            for (int i = 0; i < needed; ++i) input.values[i] = values[i];
            break;
        }
        default:
            input.type = HM_MOTION_INPUT_NONE;
            break;
    }
    return HM_MOTION_set_joint_motion_input(joint, &input);
}

