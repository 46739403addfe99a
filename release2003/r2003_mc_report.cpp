// The 2003 working record read into the summary report's view: the report's
// rows and texts are the current engine's code.
#include "r2003_mirror.h"

#include "mirror/mirror_report.h"

namespace carvell::r2003 {
namespace {

namespace mirror = carvell::mirror;

mirror::ReportInsidePass pass_of(const mc_inside_pass_s* pass) {
    mirror::ReportInsidePass p;
    if (!pass) return p;
    p.side_view_angle = pass->side_angle;
    p.plan_view_angle = pass->plan_angle;
    // The search's second value is the head turn of its last outboard view.
    p.head_turn = pass->search_values[1];
    p.ambinocular_angle = pass->ambinocular_angle[0];
    p.backlite_restriction = pass->restriction_result;
    p.up_angle = pass->up_angle;
    p.down_angle = pass->down_angle;
    return p;
}

}  // namespace

int mc_write_report_2003(const mc_data_2003_s* data) {
    if (!data) return -1;
    const mc_data_2003_s& d = *data;
    mirror::ReportView view;
    view.mirror_kind = d.mirror_kind;
    view.region_name = d.region_name;
    view.standard_name = d.standard_name;
    view.user_override = d.user_override != 0;
    view.eye_method = d.user_eye_flag;
    view.standard_distance = d.standard_distance;
    view.user_distance = d.user_distance;
    view.standard_width = d.standard_width;
    view.user_width = d.user_width;
    view.standard_angle = d.standard_angle;
    view.user_angle = d.user_angle;
    // The 2003 inside analysis always turns the mirror: both passes are shown.
    view.positioning = true;
    if (d.inside) {
        view.up = pass_of(d.inside->up);
        view.down = pass_of(d.inside->down);
    }
    if (d.outside) {
        const mc_outside_result_s& r = *d.outside;
        view.has_outside = true;
        view.mirror_rotation_angle_ls = r.mirror_rotation_angle_ls;
        view.mirror_rotation_angle_pv = r.mirror_rotation_angle_pv;
        view.head_turn_angle_pv = r.head_turn_angle;
        view.max_ambinocular_angle_pv = r.max_ambinocular_angle;
        view.ambinocular_angle_at_ground_pv = r.ambinocular_angle_at_ground;
        if (r.first) {
            view.inboard_deviation = r.first->inboard_deviation;
            view.outboard_deviation = r.first->outboard_deviation;
        }
        view.driver_mirror_area_percentage = r.area_percentage;
    }
    // The 2003 dialog hands over no messages of its own.
    view.messages = d.messages;
    view.message_count = d.messages ? d.message_count : 0;
    return mirror::write_report(view);
}

}  // namespace carvell::r2003
