// Rule instances by class in the stand-in host: the class of a named
// instance, and the top-level instances of a class.
#include "host_fixture.h"
#include "istrane.h"
#include "quillon.h"
#include "tessik.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RuleClassTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        host_testing::make_rule_instance("root:", "TOOL_B", "%kw_tool");
        host_testing::make_rule_instance("root:", "TOOL_A", "%kw_tool");
        host_testing::make_rule_instance("root:", "OTHER", "%kw_other");
        // A child of the tool's class is no top-level instance.
        host_testing::make_rule_instance("root:TOOL_A:", "INNER", "%kw_tool");
    }
    std::vector<std::string> names_of(const char* class_name) {
        int n = -1;
        char** names = nullptr;
        EXPECT_EQ(VD_get_all_rules_by_class(class_name, &n, &names), 0);
        std::vector<std::string> out(names, names + (n > 0 ? n : 0));
        VD_free_string_array(n, names);
        return out;
    }
};

TEST_F(RuleClassTest, AnInstanceAnswersItsClassByNameOrChain) {
    for (const char* name : {"TOOL_A", "root:TOOL_A:", "Root:TOOL_A"}) {
        SCOPED_TRACE(name);
        char* class_name = nullptr;
        ASSERT_EQ(KBL_ask_instance_class(name, &class_name), 0);
        EXPECT_STREQ(class_name, "%kw_tool");
        SM_free(class_name);
    }
    char* class_name = reinterpret_cast<char*>(this);
    EXPECT_EQ(KBL_ask_instance_class("MISSING", &class_name), HM_ERR_NOT_FOUND);
    EXPECT_EQ(class_name, nullptr);
    EXPECT_EQ(KBL_ask_instance_class("", &class_name), HM_ERR_NOT_FOUND);
    EXPECT_EQ(KBL_ask_instance_class("root:", &class_name), HM_ERR_NOT_FOUND);
    EXPECT_EQ(KBL_ask_instance_class(nullptr, &class_name), HM_ERR_NULL_POINTER);
}

TEST_F(RuleClassTest, TheTopLevelInstancesOfExactlyTheClassAreListed) {
    EXPECT_EQ(names_of("%kw_tool"), (std::vector<std::string>{"TOOL_A", "TOOL_B"}));
    EXPECT_EQ(names_of("%kw_other"), (std::vector<std::string>{"OTHER"}));
    EXPECT_TRUE(names_of("%KW_TOOL").empty());
    int n = 3;
    char** names = nullptr;
    EXPECT_EQ(VD_get_all_rules_by_class(nullptr, &n, &names), HM_ERR_NULL_POINTER);
}

}  // namespace
