// Fixtures of the point-cloud envelope tests: the assembly that the wizard
// and the tire-envelope tool place parts in, a temporary directory named by
// KWII_TMP_DIR, files written and read line by line, cube and sphere point
// sets, and argument slots filled as the rule language fills them.
#ifndef CARVELL_TESTS_ENVELOPE_EVE_FIXTURES_H
#define CARVELL_TESTS_ENVELOPE_EVE_FIXTURES_H

#include "eve_internal.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "lurvane.h"
#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace eve_test {

// The part occurrences placed directly under the part occurrence.
inline std::vector<tag_t> part_occ_children(tag_t part_occ) {
    int count = 0;
    tag_t* array = nullptr;
    EXPECT_EQ(HM_ASSEM_ask_part_occ_children(part_occ, &count, &array), 0);
    std::vector<tag_t> out(array, array + count);
    SM_free(array);
    return out;
}

// The assembly "/parts/top.prt" (work and display part): an axle (a corner
// subassembly of a wheel and a hub, and a spare hub) placed at y 1000, and a
// body of its own. The wheel part has a body and a facetted model, the hub a
// body only. The parts are placed by the tool under test.
struct TopAssembly {
    // Places the part file under the parent at (x, y, 0); its part occurrence.
    using Place = std::function<tag_t(tag_t parent, const char* file, const char* name, double x, double y)>;
    explicit TopAssembly(const Place& place) {
        const double origin[3] = {0, 0, 0}, size[3] = {10, 20, 30};
        wheel = host_testing::make_part("/parts/wheel.prt");
        wheel_body = host_testing::make_box(origin, size);
        wheel_facets = host_testing::make_indexed_facet_model({{0, 0, 0}, {0.01, 0, 0}, {0, 0.02, 0}, {0, 0, 0.03}});
        hub = host_testing::make_part("/parts/hub.prt");
        hub_body = host_testing::make_box(origin, size);
        corner = host_testing::make_part("/parts/corner.prt");
        place(corner, "/parts/wheel.prt", "WHEEL", 100, 0);
        place(corner, "/parts/hub.prt", "HUB", 200, 0);
        axle = host_testing::make_part("/parts/axle.prt");
        place(axle, "/parts/corner.prt", "CORNER", 0, 0);
        place(axle, "/parts/hub.prt", "SPARE", 0, 500);
        top = host_testing::make_part("/parts/top.prt");
        axle_occ = place(top, "/parts/axle.prt", "AXLE", 0, 1000);
        top_body = host_testing::make_box(origin, size);
        const std::vector<tag_t> axle_children = part_occ_children(axle_occ);
        corner_occ = axle_children.at(0);
        spare_occ = axle_children.at(1);
        wheel_occ = part_occ_children(corner_occ).at(0);
        hub_occ = part_occ_children(corner_occ).at(1);
    }
    tag_t wheel = 0, wheel_body = 0, wheel_facets = 0, hub = 0, hub_body = 0, corner = 0, axle = 0;
    tag_t top = 0, top_body = 0;
    tag_t axle_occ = 0, corner_occ = 0, spare_occ = 0, wheel_occ = 0, hub_occ = 0;
};

inline std::vector<double> cube_points(double size, double x = 0.0, double y = 0.0, double z = 0.0) {
    std::vector<double> p;
    for (int i = 0; i < 8; ++i)
        p.insert(p.end(), {x + size * (i & 1), y + size * ((i >> 1) & 1), z + size * ((i >> 2) & 1)});
    return p;
}

// n points of a Fibonacci sphere of the radius about the centre.
inline std::vector<double> sphere_points(int n, double radius, const double centre[3] = nullptr) {
    std::vector<double> p;
    for (int i = 0; i < n; ++i) {
        const double z = 1.0 - 2.0 * (i + 0.5) / n, r = std::sqrt(1.0 - z * z), phi = i * 2.399963229728653;
        p.insert(p.end(), {radius * r * std::cos(phi) + (centre ? centre[0] : 0.0),
                           radius * r * std::sin(phi) + (centre ? centre[1] : 0.0),
                           radius * z + (centre ? centre[2] : 0.0)});
    }
    return p;
}

// Smallest and largest coordinate of the points, per axis.
struct Box {
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
};
inline Box box_of(const double* p, int n) {
    Box b;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) {
            b.lo[k] = std::fmin(b.lo[k], p[3 * i + k]);
            b.hi[k] = std::fmax(b.hi[k], p[3 * i + k]);
        }
    return b;
}

// A block of the host's memory manager holding the points (offsets replace it).
inline double* sm_points(const std::vector<double>& p) {
    auto* block = static_cast<double*>(SM_alloc(p.size() * sizeof(double)));
    std::copy(p.begin(), p.end(), block);
    return block;
}

class EveTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        char pattern[] = "/tmp/eve_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        host_testing::set_env("KWII_TMP_DIR", dir_.c_str());
    }
    void TearDown() override {
        EXPECT_EQ(host_testing::open_text_files(), 0) << "files left open";
        std::filesystem::remove_all(dir_);
        HostTest::TearDown();
    }
    std::string path(const char* name) const { return dir_ + "/" + name; }
    void write_file(const std::string& file, const std::string& text) const { std::ofstream(file) << text; }
    std::string read_file(const std::string& file) const {
        std::ifstream in(file);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Files in the directory besides the ones a test made on purpose.
    size_t files_in_dir() const {
        size_t n = 0;
        for (auto& entry : std::filesystem::directory_iterator(dir_)) {
            (void)entry;
            ++n;
        }
        return n;
    }

    std::string dir_;
};

// The envelope's assembly, its parts placed by the wizard.
class WizardAssemblyTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        assembly_.emplace([](tag_t parent, const char* file, const char* name, double x, double y) {
            double placement[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, 0}, {0, 0, 0, 1}};
            tag_t instance = 0;
            EXPECT_EQ(VD_EVEWIZ_add_part_to_assy(parent, file, "", name, placement, &instance), 0) << name;
            return OCC_ask_part_occ_of_instance(parent, instance);
        });
    }

    std::optional<TopAssembly> assembly_;
};

}  // namespace eve_test

#endif
