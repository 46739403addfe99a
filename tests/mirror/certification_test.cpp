// A whole certification run: the process flow's stages, the vehicle frame
// and the loading, and the inside and outside analyses on the sedan.
#include "hm_vd_mc.h"
#include "host_fixture.h"
#include "mirror_fixtures.h"
#include "omvra.h"
#include "sedan_fixture.h"
#include "toolbox/detail/owners.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

class CertificationTest : public MirrorRecordTest {
protected:
    std::vector<std::string> ResultNames() {
        hm_list_p_t list = data_.mirror_kind == 0 ? data_.inside->result_objects : data_.outside->result_objects;
        std::vector<std::string> names;
        for (tag_t t : carvell::detail::list_items(list)) {
            char name[64] = "";
            HM_OBJ_ask_name(t, name, sizeof name);
            names.push_back(name);
        }
        return names;
    }
};

TEST_F(CertificationTest, DriverOutsideMirrorRuns) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    ASSERT_EQ(Init(sedan::driver_input(glass)), 0);
    const int status = HM_VD_MC_process(&data_);
    std::printf("status %d error [%s]\n", status, data_.error_text);
    for (auto& n : ResultNames()) std::printf("  %s\n", n.c_str());
    const mc_outside_result_s& o = *data_.outside;
    std::printf("LS %f PV %f head %f max amb %f ground amb %f in %f out %f\n", o.mirror_rotation_angle_ls,
                o.mirror_rotation_angle_pv, o.head_turn_angle_pv, o.max_ambinocular_angle_pv,
                o.ambinocular_angle_at_ground_pv, o.first->inboard_deviation, o.first->outboard_deviation);
}

TEST_F(CertificationTest, InsideMirrorRuns) {
    const tag_t glass = sedan::inside_glass();
    const std::vector<tag_t> lite = sedan::backlite();
    ASSERT_EQ(Init(sedan::inside_input(glass, lite)), 0);
    const int status = HM_VD_MC_process(&data_);
    std::printf("status %d error [%s]\n", status, data_.error_text);
    for (auto& n : ResultNames()) std::printf("  %s\n", n.c_str());
    const mc_inside_target_s& u = *data_.inside->upper;
    for (auto& l : host_testing::error_lines()) std::printf("log: %s", l.c_str());
    std::printf("plan %f side %f amb %f width %f ground %f up %f down %f back %f\n", u.plan_view_angle,
                u.side_view_angle, u.ambinocular_angle, u.field_width, u.ground_distance, u.up_angle, u.down_angle,
                u.backlite_restrict_angle);
}

}  // namespace
