// The rule store's adoption of objects under the kernel guard: a kernel
// fault while adopting answers HM_ERR_GEOMETRY and registers nothing.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"

#include <string>

namespace {

class RuleAdoptionFaultTest : public HostTest {
protected:
    std::string chain_of(tag_t instance) {
        char* chain = nullptr;
        EXPECT_EQ(HM_RQ_ask_name_chain_of_instance(instance, &chain), 0);
        std::string s = chain ? chain : "";
        HM_free(chain);
        return s;
    }
};

TEST_F(RuleAdoptionFaultTest, KernelFaultWhileAdoptingRegistersNothing) {
    const double centre[3] = {10, 20, 30};
    tag_t feature = 0, sphere = 0;
    ASSERT_EQ(HM_MODL_create_sphere(HM_NULLSIGN, centre, "25", &feature), 0);
    ASSERT_EQ(HM_MODL_ask_feat_body(feature, &sphere), 0);
    const int before = host_testing::count_objects();
    tag_t* instances = nullptr;
    host_testing::clear_sinks();
    host_testing::fail_kernel_call_after(0);
    EXPECT_EQ(HM_RQ_adopt_kw_objects(1, &sphere, &instances), HM_ERR_GEOMETRY);
    EXPECT_EQ(instances, nullptr);
    EXPECT_EQ(host_testing::count_objects(), before);
    bool named = false;
    for (const std::string& line : host_testing::error_lines())
        named = named || line.find("HM_RQ_adopt_kw_objects") != std::string::npos;
    EXPECT_TRUE(named) << "the error names the entry point";
    // The failed adoption took no instance name: the first sphere is still 1.
    ASSERT_EQ(HM_RQ_adopt_kw_objects(1, &sphere, &instances), 0);
    EXPECT_EQ(chain_of(instances[0]), "root:sphere_1:");
    HM_free(instances);
}

}  // namespace
