// The STEP export fixture: what it writes is read back with the kernel's own
// STEP readers and measured there (shapes, names, volumes, lengths), so
// that the file holds the part's geometry in the part's units, not merely
// something that parses.
#include "host_fixture.h"
#include "omvra.h"
#include "test_helpers.h"

#include <BRepGProp.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <STEPControl_Reader.hxx>
#include <TDF_LabelSequence.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shape.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

// What a STEP file holds, read back with lengths in millimetres: its
// shapes by name with their kind, volume (solids) or length (edges) and,
// for a vertex, its position.
struct ReadShape {
    TopAbs_ShapeEnum kind = TopAbs_SHAPE;
    double volume = 0.0;
    double length = 0.0;
    gp_Pnt vertex;
};

double volume_of(const TopoDS_Shape& shape) {
    GProp_GProps props;
    BRepGProp::VolumeProperties(shape, props);
    return props.Mass();
}

double length_of(const TopoDS_Shape& shape) {
    GProp_GProps props;
    BRepGProp::LinearProperties(shape, props);
    return props.Mass();
}

// The free shapes of the file by name, read through the assembly document.
std::map<std::string, ReadShape> read_named_shapes(const std::string& path) {
    std::map<std::string, ReadShape> shapes;
    STEPCAFControl_Reader reader;
    reader.SetNameMode(true);
    Interface_Static::SetCVal("xstep.cascade.unit", "MM");
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) return shapes;
    Handle(TDocStd_Document) document = new TDocStd_Document("MDTV-XCAF");
    if (!reader.Transfer(document)) return shapes;
    Handle(XCAFDoc_ShapeTool) tool = XCAFDoc_DocumentTool::ShapeTool(document->Main());
    TDF_LabelSequence labels;
    tool->GetFreeShapes(labels);
    for (int i = 1; i <= labels.Length(); ++i) {
        Handle(TDataStd_Name) name;
        std::string text = "(unnamed)";
        if (labels.Value(i).FindAttribute(TDataStd_Name::GetID(), name))
            text = TCollection_AsciiString(name->Get()).ToCString();
        const TopoDS_Shape shape = tool->GetShape(labels.Value(i));
        ReadShape read;
        read.kind = shape.ShapeType();
        // A single vertex or edge may come back wrapped in a compound.
        if (TopExp_Explorer solids(shape, TopAbs_SOLID); solids.More()) {
            read.kind = TopAbs_SOLID;
            read.volume = volume_of(shape);
        } else if (TopExp_Explorer edges(shape, TopAbs_EDGE); edges.More()) {
            read.kind = TopAbs_EDGE;
            read.length = length_of(shape);
        } else if (TopExp_Explorer vertices(shape, TopAbs_VERTEX); vertices.More()) {
            read.kind = TopAbs_VERTEX;
            read.vertex = BRep_Tool::Pnt(TopoDS::Vertex(vertices.Current()));
        }
        shapes[text] = read;
    }
    return shapes;
}

class StepWriterTest : public HostTest {
protected:
    support::ScratchDirectory scratch_{"step_writer"};

    tag_t named(tag_t object, const char* name) {
        EXPECT_EQ(HM_OBJ_set_name(object, name), 0);
        return object;
    }
};

TEST_F(StepWriterTest, BoxAndNamedLineReadBackWithTheirVolumeAndLength) {
    const double corner[3] = {10, 20, 30}, size[3] = {40, 50, 60};
    named(host_testing::make_box(corner, size), "SEAT_BLOCK");
    named(host_testing::make_line({0, 0, 0}, {300, 400, 0}), "SOLE_LINE");
    const std::string path = scratch_.path("box_and_line.step");
    ASSERT_EQ(host_testing::write_step(path.c_str()), 2);

    // The plain reader: one root per object, the box a solid of 40 x 50 x 60.
    STEPControl_Reader reader;
    Interface_Static::SetCVal("xstep.cascade.unit", "MM");
    ASSERT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    EXPECT_EQ(reader.NbRootsForTransfer(), 2);
    reader.TransferRoots();
    ASSERT_EQ(reader.NbShapes(), 2);
    double volume = 0.0;
    int solids = 0;
    for (int i = 1; i <= reader.NbShapes(); ++i)
        for (TopExp_Explorer e(reader.Shape(i), TopAbs_SOLID); e.More(); e.Next(), ++solids)
            volume += volume_of(e.Current());
    EXPECT_EQ(solids, 1);
    EXPECT_NEAR(volume, 120000.0, 120000.0 * 1e-6);

    // The names travel with the shapes: the line is a 500 mm edge.
    const auto shapes = read_named_shapes(path);
    ASSERT_EQ(shapes.size(), 2u);
    ASSERT_EQ(shapes.count("SEAT_BLOCK"), 1u);
    EXPECT_EQ(shapes.at("SEAT_BLOCK").kind, TopAbs_SOLID);
    EXPECT_NEAR(shapes.at("SEAT_BLOCK").volume, 120000.0, 120000.0 * 1e-6);
    ASSERT_EQ(shapes.count("SOLE_LINE"), 1u);
    EXPECT_EQ(shapes.at("SOLE_LINE").kind, TopAbs_EDGE);
    EXPECT_NEAR(shapes.at("SOLE_LINE").length, 500.0, 1e-6);
    ExpectNoLeaks();
}

TEST_F(StepWriterTest, EveryKindOfVisibleObjectIsWrittenAndBlankedOnesAreNot) {
    const double corner[3] = {0, 0, 0}, u[3] = {100, 0, 0}, v[3] = {0, 0, 80};
    named(host_testing::make_planar_sheet(corner, u, v), "PEDAL_PAD");
    // A quarter of a circle of radius 200: 100 pi long.
    named(host_testing::make_arc({0, 0, 0}, 200, 0, kPi / 2), "SEAT_ARC");
    // A half ellipse of semi-axes 30 and 30 is a half circle: 30 pi long.
    named(host_testing::make_ellipse({0, 0, 0}, 30, 30, {1, 0, 0}, {0, 1, 0}, 0, kPi), "HALF_ELLIPSE");
    // A straight spline through three collinear points: 20 long.
    named(host_testing::make_spline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, 2), "STRAIGHT_SPLINE");
    named(host_testing::make_point({913.7, -370, 270}), "SGRP");

    const double sphere_centre[3] = {0, 0, 0};
    const tag_t hidden_sphere = named(host_testing::make_sphere(sphere_centre, 50), "HIDDEN_SPHERE");
    const tag_t hidden_line = named(host_testing::make_line({0, 0, 0}, {1, 0, 0}), "HIDDEN_LINE");
    ASSERT_EQ(HM_OBJ_set_blank_status(hidden_sphere, true), 0);
    ASSERT_EQ(HM_OBJ_set_blank_status(hidden_line, true), 0);
    // A plane has no bounded shape: it is not written either.
    host_testing::make_plane({0, 0, 0}, {0, 0, 1});

    const std::string path = scratch_.path("kinds.step");
    ASSERT_EQ(host_testing::write_step(path.c_str()), 5);
    const auto shapes = read_named_shapes(path);
    EXPECT_EQ(shapes.size(), 5u);
    EXPECT_EQ(shapes.count("HIDDEN_SPHERE"), 0u);
    EXPECT_EQ(shapes.count("HIDDEN_LINE"), 0u);

    struct Curve {
        const char* name;
        double length;
    } curves[] = {{"SEAT_ARC", 100 * kPi}, {"HALF_ELLIPSE", 30 * kPi}, {"STRAIGHT_SPLINE", 20.0}};
    for (const Curve& c : curves) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(shapes.count(c.name), 1u);
        EXPECT_EQ(shapes.at(c.name).kind, TopAbs_EDGE);
        EXPECT_NEAR(shapes.at(c.name).length, c.length, 1e-6);
    }
    ASSERT_EQ(shapes.count("PEDAL_PAD"), 1u);
    EXPECT_NE(shapes.at("PEDAL_PAD").kind, TopAbs_SOLID);
    ASSERT_EQ(shapes.count("SGRP"), 1u);
    ASSERT_EQ(shapes.at("SGRP").kind, TopAbs_VERTEX);
    EXPECT_LT(shapes.at("SGRP").vertex.Distance(gp_Pnt(913.7, -370, 270)), 1e-9);
    ExpectNoLeaks();
}

// An inch part's geometry keeps its size: read back in millimetres, a
// 2 x 3 x 4 inch box holds 24 cubic inches.
class InchStepWriterTest : public StepWriterTest {
protected:
    InchStepWriterTest() { inches_ = true; }
};

TEST_F(InchStepWriterTest, InchPartReadsBackInItsOwnSize) {
    const double corner[3] = {0, 0, 0}, size[3] = {2, 3, 4};
    named(host_testing::make_box(corner, size), "BOX");
    const std::string path = scratch_.path("inches.step");
    ASSERT_EQ(host_testing::write_step(path.c_str()), 1);
    const auto shapes = read_named_shapes(path);
    ASSERT_EQ(shapes.count("BOX"), 1u);
    const double mm3 = 24.0 * 25.4 * 25.4 * 25.4;
    EXPECT_NEAR(shapes.at("BOX").volume, mm3, mm3 * 1e-6);
}

TEST_F(StepWriterTest, OnlyTheAskedPartIsWritten) {
    named(host_testing::make_line({0, 0, 0}, {10, 0, 0}), "IN_FIRST");
    const tag_t first = part_;
    host_testing::make_part("second_part");   // now the work part
    named(host_testing::make_line({0, 0, 0}, {20, 0, 0}), "IN_SECOND");

    const std::string path = scratch_.path("first.step");
    ASSERT_EQ(host_testing::write_step(path.c_str(), first), 1);
    const auto shapes = read_named_shapes(path);
    EXPECT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes.count("IN_FIRST"), 1u);
}

TEST_F(StepWriterTest, PartShowingNothingWritesNoFile) {
    const tag_t hidden = host_testing::make_line({0, 0, 0}, {10, 0, 0});
    ASSERT_EQ(HM_OBJ_set_blank_status(hidden, true), 0);
    const std::string path = scratch_.path("empty.step");
    EXPECT_EQ(host_testing::write_step(path.c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(StepWriterTest, FailuresAnswerMinusOneAndWriteNothing) {
    host_testing::make_line({0, 0, 0}, {10, 0, 0});
    const std::string missing_folder = scratch_.path("no_such_folder") + "/out.step";
    const std::string line_file = scratch_.path("line.step"), unknown_file = scratch_.path("unknown.step");
    const tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    struct Case {
        const char* what;
        const char* path;
        tag_t part;
    } cases[] = {
        {"folder that does not exist", missing_folder.c_str(), 0},
        {"null path", nullptr, 0},
        {"a line is no part", line_file.c_str(), line},
        {"unknown tag", unknown_file.c_str(), 987654},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(host_testing::write_step(c.path, c.part), -1);
        if (c.path) {
            EXPECT_FALSE(std::filesystem::exists(c.path));
        }
    }
    ExpectNoLeaks();
}

}  // namespace
