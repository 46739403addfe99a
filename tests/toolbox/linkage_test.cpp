// Each family of exports keeps its kind of name in the library's dynamic
// symbol table: plain C names, or decorated C++ names that encode the
// argument types.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

enum class Kind { Plain, Decorated };

struct Export {
    const char* name;
    Kind kind;
};

// One row per export checked. Families add their rows here.
const Export kExports[] = {
    // Session bracket and framework services: decorated.
    {"VD_enter_omvra", Kind::Decorated},
    {"VD_exit_omvra", Kind::Decorated},
    {"VD_export_all_objs", Kind::Decorated},
    {"VD_ask_all_component_name", Kind::Decorated},
    {"VD_ask_minimum_distance", Kind::Decorated},
    {"VD_ask_tag_handle", Kind::Decorated},
    {"VD_ask_handle_tag", Kind::Decorated},
    {"VD_create_validation_app_object", Kind::Decorated},
    {"VD_find_validation_app_tag", Kind::Decorated},
    {"VD_find_validation_app_object", Kind::Decorated},
    // Object, feature and list utilities of the toolbox: plain.
    {"HM_VD_copy_object", Kind::Plain},
    {"HM_VD_delete_obj_list", Kind::Plain},
    {"HM_VD_delete_object", Kind::Plain},
    {"HM_VD_delete_object_feature", Kind::Plain},
    {"HM_VD_set_obj_array_layer", Kind::Plain},
    {"HM_VD_add_list_item", Kind::Plain},
    {"HM_VD_ipv_change_list_to_array", Kind::Plain},
    {"HM_VD_ipv_change_array_to_list", Kind::Plain},
    {"HM_VD_change_feat_to_obj", Kind::Plain},
    {"HM_VD_feat_to_datum_type", Kind::Plain},
    {"HM_VD_ask_body_feats", Kind::Plain},
    {"HM_VD_find_body_feats", Kind::Plain},
    {"VD_convert_to_brep_feature", Kind::Plain},
    {"HM_VD_ask_face_suppress", Kind::Plain},
    {"HM_VD_delete_rule_objects", Kind::Plain},
    {"HM_VD_adopt_feature", Kind::Plain},
};

// The names the shared library defines in its dynamic symbol table.
std::set<std::string> defined_symbols(const char* library) {
    std::set<std::string> symbols;
    const std::string command = std::string("nm -D --defined-only '") + library + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return symbols;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        // "<address> <type> <name>"
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) symbols.insert(name);
    }
    pclose(pipe);
    return symbols;
}

// A decorated name holds the plain one prefixed by its length ("13VD_enter_omvra").
bool has_decorated(const std::set<std::string>& symbols, const std::string& name) {
    const std::string encoded = std::to_string(name.size()) + name;
    for (const std::string& s : symbols)
        if (s.compare(0, 2, "_Z") == 0 && s.find(encoded) != std::string::npos) return true;
    return false;
}

TEST(LinkageTest, EachFamilyKeepsItsKindOfName) {
    const std::set<std::string> symbols = defined_symbols(CARVELL_LIBRARY_PATH);
    ASSERT_FALSE(symbols.empty()) << "cannot read the symbol table of " << CARVELL_LIBRARY_PATH;
    for (const Export& e : kExports) {
        const bool plain = symbols.count(e.name) > 0;
        const bool decorated = has_decorated(symbols, e.name);
        if (e.kind == Kind::Plain) {
            EXPECT_TRUE(plain) << e.name << " is not exported under its plain name";
            EXPECT_FALSE(decorated) << e.name << " is exported with a decorated name";
        } else {
            EXPECT_TRUE(decorated) << e.name << " is not exported under a decorated name";
            EXPECT_FALSE(plain) << e.name << " is exported under its plain name";
        }
    }
}

}  // namespace
