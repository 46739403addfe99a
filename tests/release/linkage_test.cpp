// What each release's shared library exports, read from its dynamic symbol
// table: every name that its folders' exports.txt files list, each with its
// kind of name (plain C names, or decorated C++ names that encode the
// argument types), and nothing else. The host's automotive helper library
// exports the curve and spline functions that curves/exports.txt lists.
#include "release_files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

// Parameterised tests show a release by its name.
void PrintTo(const ReleaseFiles& release, std::ostream* out) { *out << release.name; }

namespace {

enum class Kind { Plain, Decorated };

const char* kind_text(Kind kind) { return kind == Kind::Plain ? "plain" : "decorated"; }

// The names of an export list ("<name> plain|decorated" lines; "#" starts a
// comment) with their kinds.
std::map<std::string, Kind> read_exports(const char* path) {
    std::map<std::string, Kind> exports;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string name, kind;
        if (!(fields >> name)) continue;
        fields >> kind;
        EXPECT_TRUE(kind == "plain" || kind == "decorated") << path << ": " << line;
        EXPECT_EQ(exports.count(name), 0u) << path << " lists " << name << " twice";
        exports[name] = kind == "plain" ? Kind::Plain : Kind::Decorated;
    }
    return exports;
}

// A defined symbol of a shared library's dynamic symbol table, by the name
// it exports. A decorated symbol of a global function is "_Z", the length of
// the name, the name, then the argument types ("_Z13VD_exit_omvrav"); any
// other decorated symbol (a member, a template instantiation) keeps its whole
// symbol as its name, which no export list holds.
struct Symbol {
    std::string name;
    Kind kind;
    std::string symbol;
};

Symbol symbol_of(const std::string& symbol) {
    if (symbol.compare(0, 2, "_Z") != 0) return {symbol, Kind::Plain, symbol};
    size_t i = 2;
    size_t length = 0;
    while (i < symbol.size() && std::isdigit(static_cast<unsigned char>(symbol[i])))
        length = length * 10 + static_cast<size_t>(symbol[i++] - '0');
    if (i == 2 || length == 0 || i + length > symbol.size()) return {symbol, Kind::Decorated, symbol};
    return {symbol.substr(i, length), Kind::Decorated, symbol};
}

std::vector<Symbol> defined_symbols(const char* library) {
    std::vector<Symbol> symbols;
    const std::string command = std::string("nm -D --defined-only '") + library + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return symbols;
    char line[8192];
    while (std::fgets(line, sizeof line, pipe)) {
        // "<address> <type> <name>"
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) symbols.push_back(symbol_of(name));
    }
    pclose(pipe);
    return symbols;
}

// Each listed name is exported with its kind, and not with the other kind.
void expect_exported_with_kind(const std::map<std::string, Kind>& listed, const std::vector<Symbol>& symbols) {
    for (const auto& [name, kind] : listed) {
        SCOPED_TRACE(name);
        int with_kind = 0, with_other = 0;
        for (const Symbol& s : symbols)
            if (s.name == name) ++(s.kind == kind ? with_kind : with_other);
        EXPECT_GT(with_kind, 0) << name << " is not exported under a " << kind_text(kind) << " name";
        EXPECT_EQ(with_other, 0) << name << " is also exported under a "
                                 << kind_text(kind == Kind::Plain ? Kind::Decorated : Kind::Plain) << " name";
    }
}

class ReleaseLinkageTest : public ::testing::TestWithParam<ReleaseFiles> {
protected:
    void SetUp() override {
        listed_ = read_exports(GetParam().exports);
        symbols_ = defined_symbols(GetParam().library);
        ASSERT_FALSE(listed_.empty()) << "cannot read the export list " << GetParam().exports;
        ASSERT_FALSE(symbols_.empty()) << "cannot read the symbol table of " << GetParam().library;
    }
    std::map<std::string, Kind> listed_;
    std::vector<Symbol> symbols_;
};

TEST_P(ReleaseLinkageTest, ExportsEveryListedNameWithItsKind) { expect_exported_with_kind(listed_, symbols_); }

TEST_P(ReleaseLinkageTest, ExportsNothingThatIsNotListed) {
    for (const Symbol& s : symbols_) {
        const auto it = listed_.find(s.name);
        if (it == listed_.end())
            ADD_FAILURE() << s.symbol << " is exported but no export list holds it";
        else
            EXPECT_STREQ(kind_text(s.kind), kind_text(it->second)) << s.symbol << " is exported with the other kind";
    }
}

INSTANTIATE_TEST_SUITE_P(Releases, ReleaseLinkageTest, ::testing::ValuesIn(kReleaseFiles),
                         [](const ::testing::TestParamInfo<ReleaseFiles>& info) { return info.param.name; });

// The symbol reading itself, on symbols whose names are worked out by hand.
TEST(SymbolNameTest, ReadsTheExportedNameOfEachKindOfSymbol) {
    struct Case {
        const char* symbol;
        const char* name;
        Kind kind;
    };
    const Case cases[] = {
        {"HM_VD_copy_object", "HM_VD_copy_object", Kind::Plain},
        {"_Z13VD_exit_omvrav", "VD_exit_omvra", Kind::Decorated},
        // A longer name that begins with a listed one stays itself.
        {"_Z12HM_VD_foobari", "HM_VD_foobar", Kind::Decorated},
        // Members and template instantiations keep their whole symbol.
        {"_ZNSt6vectorIdSaIdEE17_M_default_appendEm", "_ZNSt6vectorIdSaIdEE17_M_default_appendEm", Kind::Decorated},
        {"_Z99short", "_Z99short", Kind::Decorated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.symbol);
        const Symbol s = symbol_of(c.symbol);
        EXPECT_EQ(s.name, c.name);
        EXPECT_STREQ(kind_text(s.kind), kind_text(c.kind));
    }
}

// The current release takes the curve and spline functions from the host's
// automotive helper library, with their listed kinds, and does not build
// them itself.
TEST(HostLinkageTest, HostExportsTheCurveAndSplineFunctions) {
    const std::map<std::string, Kind> curves = read_exports(kCurvesExportsPath);
    ASSERT_FALSE(curves.empty()) << "cannot read the export list " << kCurvesExportsPath;
    const std::vector<Symbol> host = defined_symbols(kHostLibraryPath);
    ASSERT_FALSE(host.empty()) << "cannot read the symbol table of " << kHostLibraryPath;
    expect_exported_with_kind(curves, host);

    const ReleaseFiles* current = nullptr;
    for (const ReleaseFiles& r : kReleaseFiles)
        if (std::string(r.name) == "carvell") current = &r;
    ASSERT_NE(current, nullptr) << "no current release among the releases";
    const std::vector<Symbol> library = defined_symbols(current->library);
    ASSERT_FALSE(library.empty()) << "cannot read the symbol table of " << current->library;
    for (const Symbol& s : library)
        EXPECT_EQ(curves.count(s.name), 0u) << "the current release builds " << s.symbol
                                            << ", which it takes from the host";
}

}  // namespace

namespace {

const ReleaseFiles* release_named(const char* name) {
    for (const ReleaseFiles& r : kReleaseFiles)
        if (std::string(r.name) == name) return &r;
    return nullptr;
}

// The decorated symbols of one name in a symbol table.
std::vector<std::string> symbols_named(const std::vector<Symbol>& symbols, const std::string& name) {
    std::vector<std::string> found;
    for (const Symbol& s : symbols)
        if (s.name == name) found.push_back(s.symbol);
    return found;
}

// A name with the symbols under which a release exports it (none: it is not
// exported there).
struct SymbolCase {
    const char* release;
    const char* name;
    std::vector<std::string> symbols;
};

void expect_symbols(const std::vector<SymbolCase>& cases) {
    for (const SymbolCase& c : cases) {
        SCOPED_TRACE(std::string(c.release) + " " + c.name);
        const ReleaseFiles* release = release_named(c.release);
        ASSERT_NE(release, nullptr);
        EXPECT_EQ(symbols_named(defined_symbols(release->library), c.name), c.symbols);
    }
}

// The 2006 release exports the two envelope wizard functions in its own
// forms and not in the current ones, and not the current release's grid
// counts of a result sheet; the current release the other way round.
TEST(Release2006LinkageTest, EachReleaseExportsItsOwnFormOfTheWizardFunctions) {
    const std::vector<SymbolCase> cases = {
        {"carvell", "VD_EVEWIZ_create_reference_csys", {"_Z31VD_EVEWIZ_create_reference_csysPN7Korvath4Math6Point3EPd"}},
        {"carvell", "VD_EVEWIZ_ask_child_part_tags", {"_Z29VD_EVEWIZ_ask_child_part_tagsjPiPPj"}},
        {"carvell", "HM_VD_SI_set_grid", {"HM_VD_SI_set_grid"}},
        {"carvell2006", "VD_EVEWIZ_create_reference_csys", {"_Z31VD_EVEWIZ_create_reference_csysP6PNT3_sPd"}},
        {"carvell2006", "VD_EVEWIZ_ask_child_part_tags", {"_Z29VD_EVEWIZ_ask_child_part_tagsjPiPj"}},
        {"carvell2006", "HM_VD_SI_set_grid", {}},
    };
    expect_symbols(cases);
}

// The 2006 release runs on a host without the curve and spline functions and
// builds them itself; its library is where a process that loads it finds them.
TEST(Release2006LinkageTest, TheCurveFunctionsLiveInThe2006LibraryNotInItsHost) {
    const ReleaseFiles* release = release_named("carvell2006");
    ASSERT_NE(release, nullptr);
    const std::map<std::string, Kind> curves = read_exports(kCurvesExportsPath);
    ASSERT_FALSE(curves.empty());
    const std::vector<Symbol> host = defined_symbols(release->host);
    ASSERT_FALSE(host.empty()) << "cannot read the symbol table of " << release->host;
    for (const auto& [name, kind] : curves) EXPECT_TRUE(symbols_named(host, name).empty()) << release->host << " defines " << name;

    void* library = dlopen(release->library, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const auto& [name, kind] : curves) {
        SCOPED_TRACE(name);
        void* function = dlsym(library, name.c_str());
        ASSERT_NE(function, nullptr);
        Dl_info info{};
        ASSERT_NE(dladdr(function, &info), 0);
        const std::string file = info.dli_fname ? info.dli_fname : "";
        EXPECT_EQ(file.substr(file.find_last_of('/') + 1), "libcarvell2006.so");
    }
    dlclose(library);
}


// The 2003 release exports every name plain, also those of the families that
// the other releases decorate; it keeps the curve functions that it uses
// inside to itself and exports none of the current release's own names.
TEST(Release2003LinkageTest, EveryNameIsPlainAndTheCurrentOnlyNamesAreAbsent) {
    const std::vector<SymbolCase> cases = {
        {"carvell", "VD_exit_omvra", {"_Z13VD_exit_omvrav"}},
        {"carvell2003", "VD_exit_omvra", {"VD_exit_omvra"}},
        {"carvell2003", "HM_VD_create_spline_thru_points_by_degree", {"HM_VD_create_spline_thru_points_by_degree"}},
        {"carvell2003", "HM_VD_create_spline_thru_points", {}},
        {"carvell2003", "HM_VD_CURVE_ask_point_on_curve", {}},
        {"carvell2003", "HM_VD_WS_create_windshield_data", {}},
        {"carvell2003", "HM_VD_SI_set_grid", {}},
        {"carvell2003", "HM_VD_is_fla_template", {}},
        {"carvell2003", "vec_length", {"vec_length"}},
        {"carvell", "vec_length", {}},
    };
    expect_symbols(cases);
}

// The 2003 host defines the older names of the host's globals and routines
// (the subtraction with its body count, the face grid counts) and, in its
// vehicle-design core, the conversion to boundary-representation features,
// which the 2003 library then neither builds nor exports; the current host
// has none of them.
TEST(Release2003LinkageTest, The2003HostHasTheOlderNamesAndTheBrepConversion) {
    const ReleaseFiles* current = release_named("carvell");
    const ReleaseFiles* older = release_named("carvell2003");
    ASSERT_NE(current, nullptr);
    ASSERT_NE(older, nullptr);
    const std::vector<Symbol> current_host = defined_symbols(current->host);
    const std::vector<Symbol> older_host = defined_symbols(older->host);
    for (const char* name : {"srfc1_", "pxsfac_", "VD_convert_to_brep_feature", "hm6520_", "hm5401_"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(symbols_named(current_host, name).empty());
        EXPECT_FALSE(symbols_named(older_host, name).empty());
    }
    expect_symbols({{"carvell2003", "VD_convert_to_brep_feature", {}},
                    {"carvell", "VD_convert_to_brep_feature", {"VD_convert_to_brep_feature"}}});
}

}  // namespace
