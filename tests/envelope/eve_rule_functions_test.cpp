// The point-cloud envelope's rule functions: the frame transform, points
// placed at the frames of a motion, sampling bodies and facetted models to
// their hull (in chunks past 150000 vertices), bodies an envelope made left
// out, and the convex solid over a motion with and without offsets.
#include "eve_fixtures.h"

#include "gostrel.h"
#include "istrane.h"
#include "omvra.h"
#include "point_cloud_envelope.h"
#include "brindor.h"
#include "lurvane.h"
#include "yarrowin.h"
#include "rostval.h"
#include "vd_eve.h"

#include <cstdio>
#include <filesystem>

#include <array>
#include <random>

namespace {

using eve_test::cube_points;
using eve_test::EveTest;
using host_testing::ArgValue;
using namespace carvell::envelope;

const double kOrigin[3] = {0, 0, 0};
const double kX[3] = {1, 0, 0};
const double kY[3] = {0, 1, 0};

class RuleFunctionsTest : public EveTest {
protected:
    // Slots of gen_convex_envelope: reference frame, frames, mode, offsets.
    void envelope_slots(const std::vector<ArgValue>& frames, int mode, const std::vector<ArgValue>& offsets) {
        for (auto& s : slots_) s.pointer = nullptr;
        slots_[3].value = host_testing::make_value(ArgValue::frame(kOrigin, kX, kY));
        slots_[4].list = host_testing::make_value_list(frames);
        slots_[5].integer = mode;
        slots_[6].list = host_testing::make_value_list(offsets);
    }
    x_DList point_values(const std::vector<double>& p) {
        std::vector<ArgValue> values;
        for (size_t i = 0; i < p.size(); i += 3) values.push_back(ArgValue::point(p[i], p[i + 1], p[i + 2]));
        return host_testing::make_value_list(values);
    }
    static ArgValue shifted(double x, double y, double z) {
        const double o[3] = {x, y, z};
        return ArgValue::frame(o, kX, kY);
    }
    KBL_arg_slot_t slots_[8] = {};
};

TEST_F(RuleFunctionsTest, TheTransformCarriesOneFrameOntoTheOther) {
    double from[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // The second frame at (10, 0, 0), turned 90 degrees about z: x along y.
    double to[16] = {0, -1, 0, 10, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double t[16];
    ASSERT_EQ(compute_transform(from, to, t), 0);
    const double p[3] = {1, 0, 0};
    double q[3];
    HM_MTX4_vec3_multiply(p, t, q);
    EXPECT_NEAR(q[0], 10.0, 1e-12);
    EXPECT_NEAR(q[1], 1.0, 1e-12);
    EXPECT_NEAR(q[2], 0.0, 1e-12);
    EXPECT_EQ(compute_transform(nullptr, to, t), -1);
}

TEST_F(RuleFunctionsTest, HundredPointsAtThreeFramesGiveThreeHundredLines) {
    std::vector<double> p;
    for (int i = 0; i < 100; ++i) p.insert(p.end(), {double(i), 0.0, 0.0});
    const double reference[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    x_DList frames = host_testing::make_value_list({shifted(0, 0, 5), shifted(0, 0, 7), shifted(0, 2, 5)});
    const std::string file_path = path("framed.dat");
    int file = 0;
    ASSERT_EQ(CFI_open_file(file_path.c_str(), CFI_OPEN_WRITE, kScratchFileType, 2, &file), 0);
    int count = 0;
    ASSERT_EQ(write_framed_points(100, p.data(), reference, 2, frames, &count, file), 0);
    CFI_close_file(file);
    EXPECT_EQ(count, 300);
    std::istringstream in(read_file(file_path));
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) lines.push_back(line);
    ASSERT_EQ(lines.size(), 300u);
    // First copy carried from the reference to the first frame, the others
    // from the first frame to theirs.
    EXPECT_EQ(lines[1], "1.000000 0.000000 5.000000");
    EXPECT_EQ(lines[101], "1.000000 0.000000 7.000000");
    EXPECT_EQ(lines[299], "99.000000 2.000000 5.000000");
    // No frames: the points as they are.
    std::vector<double> q = {1.5, 2.5, 3.5};
    ASSERT_EQ(CFI_open_file(file_path.c_str(), CFI_OPEN_WRITE, kScratchFileType, 2, &file), 0);
    ASSERT_EQ(write_framed_points(1, q.data(), reference, -1, host_testing::make_value_list({}), &count, file), 0);
    CFI_close_file(file);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(read_file(file_path), "1.500000 2.500000 3.500000\n");
}

// The block is 0.001 of the kernel's metres on a side: 1 mm, or 1/25.4 in.
TEST_F(RuleFunctionsTest, NoPointsGiveTheSmallKernelBlock) {
    for (const PartUnits& u : kBothUnits) {
        SCOPED_TRACE(u.name);
        host_testing::make_part(u.name, u.inches);
        envelope_slots({}, 0, {});
        ASSERT_EQ(gen_convex_envelope(slots_, 0, nullptr), 0);
        ASSERT_NE(slots_[0].tag, 0u);
        EXPECT_NEAR(std::cbrt(host_testing::volume(slots_[0].tag)), u.millimetre, 1e-9 * u.millimetre);
    }
}

// The hull refuses a cloud thinner than the surface setting (0.0254 part
// units) taken to the kernel's metres: a slab just thicker makes a solid, one
// just thinner none, in either unit.
TEST_F(RuleFunctionsTest, TheHullToleranceIsTheSurfaceSettingInKernelMetres) {
    struct Case {
        const char* what;
        bool inches;
        double side, thickness;   // part units
        bool made;
    };
    const Case cases[] = {
        {"a 100 mm plate 0.05 mm thick", false, 100.0, 0.05, true},
        {"a 100 mm plate 0.01 mm thick", false, 100.0, 0.01, false},
        {"a 4 in plate 0.05 in thick", true, 4.0, 0.05, true},
        {"a 4 in plate 0.01 in thick", true, 4.0, 0.01, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_testing::make_part(c.what, c.inches);
        std::vector<double> p;
        for (int i = 0; i < 8; ++i)
            p.insert(p.end(), {c.side * (i & 1), c.side * ((i >> 1) & 1), c.thickness * ((i >> 2) & 1)});
        envelope_slots({shifted(0, 0, 0)}, 0, {});
        const int status = gen_convex_envelope(slots_, 8, point_values(p));
        if (c.made) {
            ASSERT_EQ(status, 0);
            EXPECT_NEAR(host_testing::volume(slots_[0].tag), c.side * c.side * c.thickness,
                        0.01 * c.side * c.side * c.thickness);
        } else {
            EXPECT_EQ(status, HM_ERR_GEOMETRY);
            EXPECT_EQ(slots_[0].tag, 0u);
        }
    }
}

TEST_F(RuleFunctionsTest, TheEnvelopeWrapsTheCubeAtEveryPosition) {
    struct Case {
        const char* what;
        std::vector<ArgValue> frames;
        int mode;
        std::vector<ArgValue> offsets;
        double volume_mm3;
    };
    const Case cases[] = {
        {"one position", {shifted(0, 0, 0)}, 0, {}, 1.0e6},
        {"raised 50 mm at a second position", {shifted(0, 0, 0), shifted(0, 0, 50)}, 0, {}, 1.5e6},
        {"no frames", {}, 0, {}, 1.0e6},
        {"extended 50 mm along z", {shifted(0, 0, 0)}, 0, {ArgValue::point(0, 0, 2), ArgValue::number(50.0)}, 1.5e6},
        {"enlarged by 10 mm", {shifted(0, 0, 0)}, 1, {ArgValue::integer(1), ArgValue::integer(10)}, 1.728e6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        envelope_slots(c.frames, c.mode, c.offsets);
        ASSERT_EQ(gen_convex_envelope(slots_, 8, point_values(cube_points(100.0))), 0);
        ASSERT_NE(slots_[0].tag, 0u);
        // Single precision through the scratch files: well under 1 mm^3.
        EXPECT_NEAR(host_testing::volume(slots_[0].tag), c.volume_mm3, 1.0);
        EXPECT_EQ(files_in_dir(), 0u) << "scratch files deleted";
    }
}

// The same cloud, motion and offsets given in inches in an inch part and in
// millimetres in a millimetre part make the same solid: its volume and
// extent agree once the inch part's are taken to millimetres.
TEST_F(RuleFunctionsTest, AnInchPartsEnvelopeIsTheMillimetrePartsScaled) {
    struct Case {
        const char* what;
        int mode;
        double offset_in;   // 0: none
    };
    const Case cases[] = {
        {"moved 2 in up at a second position", 0, 0.0},
        {"extended 2 in along z", 0, 2.0},
        {"enlarged by 0.5 in", 1, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double volume[2] = {0, 0};
        eve_test::Box extent[2];
        for (int inches = 0; inches < 2; ++inches) {
            const double unit = inches ? 1.0 : 25.4;   // part units per inch
            host_testing::make_part(inches ? "inch" : "mm", inches != 0);
            std::vector<ArgValue> offsets;
            if (c.offset_in > 0.0 && c.mode == 0)
                offsets = {ArgValue::point(0, 0, 1), ArgValue::number(c.offset_in * unit)};
            if (c.offset_in > 0.0 && c.mode == 1) offsets = {ArgValue::integer(1), ArgValue::number(c.offset_in * unit)};
            envelope_slots({shifted(0, 0, 0), shifted(0, 0, 2.0 * unit)}, c.mode, offsets);
            ASSERT_EQ(gen_convex_envelope(slots_, 8, point_values(cube_points(4.0 * unit))), 0);
            ASSERT_NE(slots_[0].tag, 0u);
            const double to_mm = 25.4 / unit;
            volume[inches] = host_testing::volume(slots_[0].tag) * to_mm * to_mm * to_mm;
            double box[6];
            ASSERT_EQ(HM_MODL_ask_bounding_box(slots_[0].tag, box), 0);
            for (int k = 0; k < 3; ++k) {
                extent[inches].lo[k] = box[k] * to_mm;
                extent[inches].hi[k] = box[3 + k] * to_mm;
            }
        }
        EXPECT_NEAR(volume[1], volume[0], 1e-4 * volume[0]);
        EXPECT_GT(volume[0], 101.6 * 101.6 * 152.4 * 0.999) << "at least the cube over its two positions";
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(extent[1].lo[k], extent[0].lo[k], 0.01);
            EXPECT_NEAR(extent[1].hi[k], extent[0].hi[k], 0.01);
        }
    }
}

TEST_F(RuleFunctionsTest, WrongValuesBuildNothing) {
    struct Case {
        const char* what;
        std::vector<ArgValue> points;
        int mode;
        std::vector<ArgValue> offsets;
        int result;
    };
    const std::vector<ArgValue> cube = {ArgValue::point(0, 0, 0), ArgValue::point(1, 0, 0), ArgValue::point(0, 1, 0),
                                        ArgValue::point(0, 0, 1)};
    const Case cases[] = {
        {"a number among the points", {ArgValue::number(1.0)}, 0, {}, EVE_ERR_WRONG_VALUE},
        {"an extend pair without a point", cube, 0, {ArgValue::number(1), ArgValue::number(5)}, EVE_ERR_WRONG_VALUE},
        {"an enlarge pair without a position", cube, 1, {ArgValue::number(1), ArgValue::number(5)},
         EVE_ERR_WRONG_VALUE},
        {"an offset that is a point", cube, 1, {ArgValue::integer(1), ArgValue::point(0, 0, 1)}, EVE_ERR_WRONG_VALUE},
        {"points on one plane", {ArgValue::point(0, 0, 0), ArgValue::point(100, 0, 0), ArgValue::point(0, 100, 0),
                                 ArgValue::point(100, 100, 0)}, 0, {}, HM_ERR_GEOMETRY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        envelope_slots({shifted(0, 0, 0)}, c.mode, c.offsets);
        slots_[0].tag = 77;
        EXPECT_EQ(gen_convex_envelope(slots_, static_cast<int>(c.points.size()),
                                      host_testing::make_value_list(c.points)),
                  c.result);
        EXPECT_EQ(slots_[0].tag, 0u);
        EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), 0);
        EXPECT_EQ(files_in_dir(), 0u);
        EXPECT_EQ(host_testing::session_depth(), 0);
    }
    EXPECT_EQ(gen_convex_envelope(nullptr, 1, nullptr), -1);
    host_testing::set_env("KWII_TMP_DIR", nullptr);
    envelope_slots({}, 0, {});
    EXPECT_EQ(gen_convex_envelope(slots_, 4, host_testing::make_value_list(cube)), -1);
}

class SamplingTest : public RuleFunctionsTest {
protected:
    int sample(const std::vector<ArgValue>& objects, const std::vector<ArgValue>& components = {}) {
        slots_[1].list = host_testing::make_value_list(objects);
        slots_[2].list = host_testing::make_value_list(components);
        SM_free(points_);
        points_ = nullptr;
        return hm_vd_eve_sample_points(slots_, &count_, &points_);
    }
    void TearDown() override {
        SM_free(points_);
        RuleFunctionsTest::TearDown();
    }
    int count_ = 0;
    double* points_ = nullptr;
};

TEST_F(SamplingTest, ABoxIsSampledToItsEightCornersInPartUnits) {
    const double corner[3] = {1000, -200, 300}, size[3] = {700, 560, 620};
    const tag_t box = host_testing::make_box(corner, size);
    ASSERT_EQ(sample({ArgValue::object(box)}), 0);
    ASSERT_EQ(count_, 8);
    const eve_test::Box b = eve_test::box_of(points_, count_);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(b.lo[k], corner[k], 1e-3);
        EXPECT_NEAR(b.hi[k], corner[k] + size[k], 1e-3);
    }
    EXPECT_EQ(files_in_dir(), 0u);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(SamplingTest, BodiesAnEnvelopeMadeAreLeftOut) {
    const double corner[3] = {0, 0, 0}, size[3] = {100, 100, 100}, far[3] = {500, 0, 0};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t envelope = host_testing::make_box(far, size);
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_feats(envelope, &list), 0);
    ASSERT_EQ(HM_OBJ_set_name(list->next->eid, "Envelope(3)"), 0);
    HM_MODL_delete_list(&list);
    ASSERT_EQ(sample({ArgValue::object(box), ArgValue::object(envelope)}), 0);
    EXPECT_EQ(count_, 8);
    EXPECT_LT(eve_test::box_of(points_, count_).hi[0], 100.001);
    // Alone, the envelope body gives nothing to hull.
    EXPECT_EQ(sample({ArgValue::object(envelope)}), -1);
    EXPECT_EQ(count_, 0);
    EXPECT_EQ(points_, nullptr);
}

TEST_F(SamplingTest, EmptyListsAndWrongValuesGiveTheirCodes) {
    EXPECT_EQ(sample({}), -1);
    EXPECT_EQ(sample({ArgValue::number(3.0)}), EVE_ERR_WRONG_VALUE);
    EXPECT_EQ(sample({}, {ArgValue::point(0, 0, 0)}), EVE_ERR_WRONG_VALUE);
    EXPECT_EQ(hm_vd_eve_sample_points(nullptr, &count_, &points_), -1);
    EXPECT_EQ(count_, 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
    EXPECT_EQ(files_in_dir(), 0u);
}

TEST_F(SamplingTest, MoreThan150000VerticesAreHulledInChunks) {
    // 150000 points inside a 0.3 m ball, then one apex 1 m up: a chunk of
    // 150000 and a chunk of 1, whose point must reach the final hull.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> u(-0.2, 0.2);
    std::vector<std::array<double, 3>> vertices;
    for (int i = 0; i < 150000; ++i) vertices.push_back({u(random), u(random), u(random)});
    vertices.push_back({0.0, 0.0, 1.0});
    const tag_t model = host_testing::make_indexed_facet_model(vertices);
    ASSERT_EQ(sample({ArgValue::object(model)}), 0);
    // The hull of all points at once, as written (six decimals, part units).
    std::vector<double> all;
    for (const auto& v : vertices)
        for (double x : v) all.push_back(std::atof(std::to_string(1000.0 * x).c_str()));
    Hull direct;
    ASSERT_EQ(direct.make(all.data(), static_cast<int>(vertices.size())), 0);
    EXPECT_EQ(count_, direct.vertex_count());
    EXPECT_NEAR(eve_test::box_of(points_, count_).hi[2], 1000.0, 1e-9);
}

TEST_F(SamplingTest, AChunkTooSmallForAHullStandsForItself) {
    // A tetrahedron with its centroid, then one point: 6 points in chunks of 5.
    const std::string text = "0 0 0\n1 0 0\n0 1 0\n0 0 1\n0.25 0.25 0.25\n5 5 5\n";
    write_file(path("chunks.dat"), text);
    int file = 0;
    ASSERT_EQ(CFI_open_file(path("chunks.dat").c_str(), CFI_OPEN_READ, kScratchFileType, 2, &file), 0);
    std::vector<double> collected;
    ASSERT_EQ(read_points_in_chunks(file, 6, 5, &collected), 0);
    CFI_close_file(file);
    ASSERT_EQ(collected.size(), 15u) << "the tetrahedron's four corners and the lone point";
    EXPECT_EQ(std::vector<double>(collected.end() - 3, collected.end()), (std::vector<double>{5, 5, 5}));
    for (size_t i = 0; i < collected.size(); i += 3) EXPECT_NE(collected[i], 0.25);
}

// An assembly of a block part (a 10 mm cube and the facetted model made from
// it) placed at x 100, a rim part (a facetted model alone: a tetrahedron 10,
// 20, 30 mm along the axes) placed at y 200, and the block again at x 300
// showing the reference set of its model alone; each component's facet
// vertices written as the work part shows them.
class AssemblyFacetsTest : public EveTest {
protected:
    void SetUp() override {
        EveTest::SetUp();
        const double origin[3] = {0, 0, 0}, size[3] = {10, 10, 10};
        block_part_ = host_testing::make_part("/parts/block.prt");
        block_ = host_testing::make_box(origin, size);
        HM_FACET_parameters_t parameters{};
        HM_FACET_ask_default_parameters(&parameters);
        ASSERT_EQ(HM_FACET_facet_solid(block_, &parameters, &block_model_), 0);
        const double matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        tag_t facets_only = 0;
        ASSERT_EQ(HM_ASSEM_create_ref_set("FACETS", origin, matrix, &block_model_, 1, &facets_only), 0);
        rim_file_ = path("rim.prt");
        rim_part_ = host_testing::make_part(rim_file_.c_str());
        rim_model_ = host_testing::make_indexed_facet_model({{0, 0, 0}, {0.01, 0, 0}, {0, 0.02, 0}, {0, 0, 0.03}});
        top_ = host_testing::make_part("/parts/top.prt");
        block_occ_ = place("/parts/block.prt", "BLOCK", 100, 0);
        rim_occ_ = place(rim_file_.c_str(), "RIM", 0, 200);
        facets_occ_ = place("/parts/block.prt", "BLOCK_FACETS", 300, 0, "FACETS");
    }
    tag_t place(const char* file, const char* name, double x, double y, const char* refset = "") {
        double placement[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        tag_t instance = 0;
        EXPECT_EQ(VD_EVEWIZ_add_part_to_assy(top_, file, refset, name, placement, &instance), 0) << name;
        return OCC_ask_part_occ_of_instance(top_, instance);
    }
    // The component's facet vertices as written, one point per line.
    int vertices_of(tag_t component, std::vector<std::array<double, 3>>* points) {
        const std::string file_path = path("facets.dat");
        int file = 0;
        EXPECT_EQ(CFI_open_file(file_path.c_str(), CFI_OPEN_WRITE, kScratchFileType, 2, &file), 0);
        int count = -1;
        const int result = ask_assembly_facet_vertices(component, &count, file);
        CFI_close_file(file);
        std::istringstream in(read_file(file_path));
        std::remove(file_path.c_str());
        points->clear();
        std::array<double, 3> p{};
        while (in >> p[0] >> p[1] >> p[2]) points->push_back(p);
        EXPECT_EQ(count, static_cast<int>(points->size())) << "the count is the lines written";
        return result;
    }
    tag_t block_part_ = 0, block_ = 0, block_model_ = 0, rim_part_ = 0, rim_model_ = 0, top_ = 0;
    tag_t block_occ_ = 0, rim_occ_ = 0, facets_occ_ = 0;
    std::string rim_file_;
};

TEST_F(AssemblyFacetsTest, AComponentsFacettedModelsAreWrittenWhereTheComponentPlacesThem) {
    using Points = std::vector<std::array<double, 3>>;
    struct Case {
        const char* what;
        tag_t component;
        Points expected;   // in any order
    };
    const Case cases[] = {
        {"the block: its model, found through the cube it was made from; the cube not facetted again",
         block_occ_,
         {{100, 0, 0}, {110, 0, 0}, {100, 10, 0}, {110, 10, 0}, {100, 0, 10}, {110, 0, 10}, {100, 10, 10}, {110, 10, 10}}},
        {"the rim: a facetted model alone", rim_occ_, {{0, 200, 0}, {10, 200, 0}, {0, 220, 0}, {0, 200, 30}}},
        {"a block showing its model but not the cube: the model stands for itself",
         facets_occ_,
         {{300, 0, 0}, {310, 0, 0}, {300, 10, 0}, {310, 10, 0}, {300, 0, 10}, {310, 0, 10}, {300, 10, 10}, {310, 10, 10}}},
    };
    const int models_before = host_testing::count_objects(top_, HM_facet_model_type);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Points written;
        ASSERT_EQ(vertices_of(c.component, &written), 0);
        ASSERT_EQ(written.size(), c.expected.size());
        for (const auto& e : c.expected) {
            bool found = false;
            for (const auto& w : written)
                found = found || (std::fabs(w[0] - e[0]) < 1e-6 && std::fabs(w[1] - e[1]) < 1e-6 && std::fabs(w[2] - e[2]) < 1e-6);
            EXPECT_TRUE(found) << e[0] << " " << e[1] << " " << e[2];
        }
    }
    EXPECT_EQ(host_testing::count_objects(top_, HM_facet_model_type), models_before) << "no model made in the assembly";
    std::vector<std::array<double, 3>> none;
    EXPECT_EQ(vertices_of(0, &none), -1);
}

TEST_F(AssemblyFacetsTest, AnOccurrencesPartIsLoadedAndOneThatCannotBeGivesItsCode) {
    std::vector<std::array<double, 3>> written;
    // Saved and closed: the rim's part is opened again from its file, and
    // the user keeps working in the assembly.
    ASSERT_EQ(HM_PART_save(rim_part_), 0);
    ASSERT_EQ(HM_PART_close(rim_part_, 0, 0), 0);
    HM_ASSEM_set_work_part(top_);
    EXPECT_EQ(vertices_of(block_occ_, &written), 0);
    EXPECT_EQ(HM_PART_is_loaded(rim_file_.c_str()), 1);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), top_);
    EXPECT_EQ(written.size(), 8u);
    // Closed with no file to open: the block's own vertices are not written
    // past the rim's occurrences, and the rim itself cannot be sampled.
    ASSERT_EQ(HM_PART_close(HM_PART_ask_part_tag(rim_file_.c_str()), 0, 0), 0);
    std::filesystem::remove(rim_file_);
    HM_ASSEM_set_work_part(top_);
    EXPECT_EQ(vertices_of(block_occ_, &written), EVE_ERR_WRONG_VALUE);
    EXPECT_EQ(vertices_of(rim_occ_, &written), EVE_ERR_WRONG_VALUE);
    EXPECT_TRUE(written.empty());
}

}  // namespace
