// The current certification engine's record read into the summary report's
// view.
#include "mirror_record.h"
#include "mirror_report.h"

namespace carvell::mirror {

namespace {

ReportInsidePass pass_of(const mc_inside_target_s* target) {
    ReportInsidePass p;
    if (!target) return p;
    p.side_view_angle = target->side_view_angle;
    p.plan_view_angle = target->plan_view_angle;
    p.head_turn = target->head_rotation;
    p.ambinocular_angle = target->ambinocular_angle_checked;
    p.backlite_restriction = target->backlite_restrict_angle;
    p.up_angle = target->up_angle;
    p.down_angle = target->down_angle;
    return p;
}

}  // namespace

int write_report(const mc_data_s* data) {
    if (!data) return -1;
    const mc_data_s& d = *data;
    ReportView view;
    view.mirror_kind = d.mirror_kind;
    view.region_name = d.region_name;
    view.standard_name = d.standard_name;
    view.user_override = d.user_override != 0;
    view.eye_method = d.eye_method;
    view.standard_distance = d.standard_distance[0];
    view.user_distance = d.user_distance[0];
    view.standard_width = d.standard_width[0];
    view.user_width = d.user_width[0];
    view.standard_angle = d.standard_angle[0];
    view.user_angle = d.user_angle[0];
    view.positioning = d.positioning != 0;
    if (d.inside) {
        view.up = pass_of(d.inside->upper);
        view.down = pass_of(d.inside->lower);
    }
    if (d.outside) {
        const mc_outside_result_s& r = *d.outside;
        view.has_outside = true;
        view.mirror_rotation_angle_ls = r.mirror_rotation_angle_ls;
        view.mirror_rotation_angle_pv = r.mirror_rotation_angle_pv;
        view.head_turn_angle_pv = r.head_turn_angle_pv;
        view.max_ambinocular_angle_pv = r.max_ambinocular_angle_pv;
        view.ambinocular_angle_at_ground_pv = r.ambinocular_angle_at_ground_pv;
        if (r.first) {
            view.inboard_deviation = r.first->inboard_deviation;
            view.outboard_deviation = r.first->outboard_deviation;
        }
        view.driver_mirror_area_percentage = r.driver_mirror_area_percentage;
    }
    view.caller_messages = d.caller_messages;
    view.caller_message_count = d.caller_messages ? d.caller_message_count : 0;
    view.messages = d.messages;
    view.message_count = d.messages ? d.message_count : 0;
    return write_report(view);
}

}  // namespace carvell::mirror
