// The 2003 release's motion calls: joints made by the host's older joint
// call from the library's code and the two orientation frames, and motion
// inputs handed to the host's older input call as they come.
#include "suspension/suspension_motion.h"

#include "hm_vd_motion.h"
#include "omvra.h"

namespace carvell::suspension {

int create_host_joint(const char* name, int code, tag_t first_link, tag_t second_link, double, tag_t first_frame,
                      tag_t second_frame, const double[3], const double[3], const double[3],
                      carvell::detail::Temporaries&, tag_t* joint) {
    return hc6011(code, name, first_link, second_link, first_frame, second_frame, joint);
}

}  // namespace carvell::suspension

int HM_VD_MOTION_create_motion_input(tag_t joint, int kind, const char* text, double* values, int count) {
    carvell::suspension::HostSession session;
    return hc6025(joint, kind, text, values, count);
}
