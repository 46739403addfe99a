// Part files of the stand-in host: saved parts open with their units,
// objects and geometry; failed opens and saves; exports; the display and
// data-management forms of part names.
#include "core/model.h"
#include "host_fixture.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"
#include "tests/host/model_objects.h"
#include "ulvarth.h"

#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_BezierCurve.hxx>
#include <Geom_BezierSurface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_OffsetCurve.hxx>
#include <Geom_OffsetSurface.hxx>
#include <Geom_Parabola.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_SurfaceOfLinearExtrusion.hxx>
#include <Geom_SurfaceOfRevolution.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Poly_Polygon3D.hxx>
#include <Poly_PolygonOnTriangulation.hxx>
#include <Poly_Triangulation.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Pnt.hxx>
#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using host_tests::box;
using host_tests::first_feature;
using host_tests::line_between;
using host_tests::point_at;
using host_tests::point_of;

namespace fs = std::filesystem;

class PartFileTest : public HostTest {
protected:
    std::string path(const char* name) const { return files_.path(name); }

    support::ScratchDirectory files_{"carvell_parts"};
};

TEST_F(PartFileTest, SavedPartOpensWithItsUnitsObjectsAndGeometry) {
    const std::string file = path("bracket.prt");
    tag_t part = host_testing::make_part(file.c_str(), true);
    ASSERT_EQ(HM_MODL_set_distance_tolerance(0.0005), 0);
    tag_t point = point_at(1.5, -2.25, 3.125);
    ASSERT_EQ(HM_OBJ_set_name(point, "PIVOT"), 0);
    ASSERT_EQ(HM_OBJ_set_layer(point, 42), 0);
    ASSERT_EQ(HM_OBJ_set_color(point, 7), 0);
    ASSERT_EQ(HM_ATTR_set_real(point, "OFFSET", 0.75), 0);
    ASSERT_EQ(HM_ATTR_set_string(point, "SIDE", "LH"), 0);
    ASSERT_EQ(HM_ATTR_set_integer(point, "INDEX", 3), 0);
    line_between(gp_Pnt(0, 0, 0), gp_Pnt(3, 4, 0));
    tag_t body = box();
    const double volume = host_testing::volume(body);

    ASSERT_EQ(HM_PART_save(part), 0);
    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), 0u);

    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    EXPECT_FALSE(status.failed);
    EXPECT_EQ(status.file_names, nullptr);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), opened);
    EXPECT_EQ(HM_PART_ask_display_part(), opened);
    int units = 0;
    ASSERT_EQ(HM_PART_ask_units(opened, &units), 0);
    EXPECT_EQ(units, 2);
    double tolerance = 0;
    ASSERT_EQ(HM_MODL_ask_distance_tolerance(&tolerance), 0);
    EXPECT_DOUBLE_EQ(tolerance, 0.0005);

    tag_t p = HM_OBJ_cycle_objs_in_part(opened, HM_point_type, 0);
    ASSERT_NE(p, 0u);
    const std::array<double, 3> xyz = point_of(p);
    EXPECT_DOUBLE_EQ(xyz[0], 1.5);
    EXPECT_DOUBLE_EQ(xyz[1], -2.25);
    EXPECT_DOUBLE_EQ(xyz[2], 3.125);
    char name[16];
    int layer = 0, colour = 0, index = 0;
    double offset = 0;
    char* side = nullptr;
    ASSERT_EQ(HM_OBJ_ask_name(p, name, sizeof name), 0);
    EXPECT_STREQ(name, "PIVOT");
    ASSERT_EQ(HM_OBJ_ask_layer(p, &layer), 0);
    EXPECT_EQ(layer, 42);
    ASSERT_EQ(HM_OBJ_ask_color(p, &colour), 0);
    EXPECT_EQ(colour, 7);
    ASSERT_EQ(HM_ATTR_ask_real(p, "OFFSET", &offset), 0);
    EXPECT_DOUBLE_EQ(offset, 0.75);
    ASSERT_EQ(HM_ATTR_ask_integer(p, "INDEX", &index), 0);
    EXPECT_EQ(index, 3);
    ASSERT_EQ(HM_ATTR_ask_string(p, "SIDE", &side), 0);
    EXPECT_STREQ(side, "LH");
    SM_free(side);

    const host::Object* l = host::find(HM_OBJ_cycle_objs_in_part(opened, HM_line_type, 0));
    ASSERT_TRUE(l && !l->curve.IsNull());
    EXPECT_TRUE(l->curve->IsKind(STANDARD_TYPE(Geom_TrimmedCurve)));
    EXPECT_LT(l->curve->Value(l->curve->FirstParameter()).Distance(gp_Pnt(0, 0, 0)), 1e-12);
    EXPECT_LT(l->curve->Value(l->curve->LastParameter()).Distance(gp_Pnt(3, 4, 0)), 1e-12);
    EXPECT_EQ(host_testing::count_objects(opened, HM_feature_type), 0) << "features are not kept";
    EXPECT_EQ(host_testing::count_objects(opened), 3);
    tag_t b = HM_OBJ_cycle_objs_in_part(opened, HM_solid_type, 0);
    ASSERT_NE(b, 0u);
    EXPECT_NEAR(host_testing::volume(b), volume, 1e-9);

    // Opening it again answers the loaded part.
    tag_t again = 0;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &again, &status), 0);
    EXPECT_EQ(again, opened);
    ExpectNoLeaks();
}

TEST_F(PartFileTest, FailedOpenNamesTheFileInItsLoadStatus) {
    const std::string missing = path("missing.prt");
    const std::string garbage = path("garbage.prt");
    std::ofstream(garbage) << "{ \"format\": \"carvell-part 1\", \"units\": \"furlong\" }";
    for (const std::string& file : {missing, garbage}) {
        const int objects_before = host_testing::count_objects(part_);
        tag_t opened = 99;
        HM_PART_load_status_t status;
        EXPECT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), HM_ERR_FILE) << file;
        EXPECT_EQ(opened, 0u);
        ASSERT_TRUE(status.failed);
        ASSERT_EQ(status.n_parts, 1);
        EXPECT_STREQ(status.file_names[0], file.c_str());
        EXPECT_EQ(status.statuses[0], HM_ERR_FILE);
        SM_free(status.file_names[0]);
        SM_free(status.file_names);
        SM_free(status.statuses);
        EXPECT_EQ(HM_ASSEM_ask_work_part(), part_) << "the work part stays";
        EXPECT_EQ(host_testing::count_objects(part_), objects_before);
    }
    ExpectNoLeaks();
}

TEST_F(PartFileTest, ASaveThatFailsLeavesTheSavedFileAsItWas) {
    const std::string file = path("hinge.prt");
    tag_t part = host_testing::make_part(file.c_str());
    tag_t point = point_at(4, 5, 6);
    ASSERT_EQ(HM_PART_save(part), 0);
    // A name in a legacy code page (0xD8 alone is no UTF-8) cannot go into
    // the part file: the save fails and must not wipe the earlier save.
    ASSERT_EQ(HM_OBJ_set_name(point, "HINGE \xD8"), 0);
    point_at(7, 8, 9);
    EXPECT_EQ(HM_PART_save(part), HM_ERR_FILE);

    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);
    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    ASSERT_EQ(host_testing::count_objects(opened, HM_point_type), 1);
    const std::array<double, 3> xyz = point_of(HM_OBJ_cycle_objs_in_part(opened, HM_point_type, 0));
    EXPECT_DOUBLE_EQ(xyz[0], 4.0);
    EXPECT_DOUBLE_EQ(xyz[1], 5.0);
    EXPECT_DOUBLE_EQ(xyz[2], 6.0);
    ExpectNoLeaks();
}

// The part files go through the host's kernel guard: a kernel failure while
// saving keeps the file saved before, and one while opening makes no part
// and fills the load status like any unreadable file.
TEST_F(PartFileTest, AKernelFailureWhileSavingOrOpeningIsAFileError) {
    const std::string file = path("hinge.prt");
    tag_t part = host_testing::make_part(file.c_str());
    point_at(4, 5, 6);
    ASSERT_EQ(HM_PART_save(part), 0);
    point_at(7, 8, 9);
    host_testing::fail_kernel_call_after(0);
    EXPECT_EQ(HM_PART_save(part), HM_ERR_FILE);
    host_testing::clear_kernel_fault();
    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);

    host_testing::fail_kernel_call_after(0);
    tag_t opened = 99;
    HM_PART_load_status_t status;
    EXPECT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), HM_ERR_FILE);
    host_testing::clear_kernel_fault();
    EXPECT_EQ(opened, 0u);
    ASSERT_TRUE(status.failed);
    EXPECT_EQ(status.statuses[0], HM_ERR_FILE);
    SM_free(status.file_names[0]);
    SM_free(status.file_names);
    SM_free(status.statuses);
    EXPECT_EQ(HM_PART_ask_part_tag(file.c_str()), 0u) << "no part of the file is loaded";

    // Without the fault the file opens with the one point saved first.
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    EXPECT_EQ(host_testing::count_objects(opened, HM_point_type), 1);
    ExpectNoLeaks();
}

TEST_F(PartFileTest, ARealAttributeThatIsNotANumberDoesNotMakeThePartUnreadable) {
    const std::string file = path("strut.prt");
    tag_t part = host_testing::make_part(file.c_str());
    tag_t point = point_at(1, 2, 3);
    ASSERT_EQ(HM_ATTR_set_real(point, "SPAN", std::nan("")), 0);
    ASSERT_EQ(HM_ATTR_set_real(point, "RISE", 2.5), 0);
    ASSERT_EQ(HM_PART_save(part), 0);
    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);

    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    const tag_t p = HM_OBJ_cycle_objs_in_part(opened, HM_point_type, 0);
    ASSERT_NE(p, 0u);
    double span = 0.0, rise = 0.0;
    ASSERT_EQ(HM_ATTR_ask_real(p, "SPAN", &span), 0);
    EXPECT_TRUE(std::isnan(span));
    ASSERT_EQ(HM_ATTR_ask_real(p, "RISE", &rise), 0);
    EXPECT_DOUBLE_EQ(rise, 2.5);
    ExpectNoLeaks();
}

TEST_F(PartFileTest, ExportAddsCopiesToALoadedPartOrToTheFile) {
    const std::string loaded_file = path("loaded.prt");
    const std::string closed_file = path("closed.prt");
    tag_t loaded = host_testing::make_part(loaded_file.c_str());
    tag_t closed = host_testing::make_part(closed_file.c_str());
    point_at(9, 9, 9);
    ASSERT_EQ(HM_PART_save(closed), 0);
    ASSERT_EQ(HM_PART_close(closed, 0, 1), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(part_), 0);
    tag_t a = point_at(1, 0, 0);
    tag_t body = box();
    const tag_t objects[2] = {a, body};
    const HM_PART_export_options_t options{false, 2, 0};

    ASSERT_EQ(HM_PART_export_with_options(loaded_file.c_str(), 2, objects, &options), 0);
    EXPECT_EQ(host_testing::count_objects(loaded, HM_point_type), 1);
    EXPECT_EQ(host_testing::count_objects(loaded, HM_solid_type), 1);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE) << "the originals stay";

    ASSERT_EQ(HM_PART_export_with_options(closed_file.c_str(), 2, objects, &options), 0);
    tag_t reopened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(closed_file.c_str(), &reopened, &status), 0);
    EXPECT_EQ(host_testing::count_objects(reopened, HM_point_type), 2) << "added to what the file held";
    EXPECT_EQ(host_testing::count_objects(reopened, HM_solid_type), 1);

    // Refusals: a new file over an existing one, bad modes, objects without
    // geometry, unknown tags.
    const HM_PART_export_options_t new_file{true, 2, 0};
    const HM_PART_export_options_t bad_mode{false, 3, 0};
    const tag_t feature = first_feature(body);
    EXPECT_EQ(HM_PART_export_with_options(closed_file.c_str(), 1, &a, &new_file), HM_ERR_FILE);
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &a, &bad_mode), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &feature, &options), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &part_, &options), HM_ERR_WRONG_TYPE);
    const tag_t none = 0;
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &none, &options), HM_ERR_INVALID_TAG);
    EXPECT_FALSE(fs::exists(path("new.prt")));
    ASSERT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &a, &new_file), 0);
    EXPECT_TRUE(fs::exists(path("new.prt")));
    ExpectNoLeaks();
}

TEST_F(PartFileTest, DisplayAndDataManagementFormsOfPartNames) {
    struct Case {
        const char* name;
        int mode;
        const char* display;
    } cases[] = {{"/a/b/front_wheel.prt", 6, "front_wheel"}, {"front_wheel.prt", 6, "front_wheel"},
                 {"/a/b.c/wheel", 6, "wheel"},                {"/a/.hidden", 6, ".hidden"},
                 {"/a/b/front_wheel.prt", 0, "/a/b/front_wheel.prt"}};
    for (const Case& c : cases) {
        char* display = PART_name_for_display(c.name, c.mode);
        EXPECT_STREQ(display, c.display) << c.name << " mode " << c.mode;
        SM_free(display);
    }
    EXPECT_EQ(PART_name_for_display(nullptr, 6), nullptr);

    char vorsa[8];
    ASSERT_EQ(VD_ask_vorsa_name("/a/b.prt", vorsa, sizeof vorsa), 0);
    EXPECT_STREQ(vorsa, "/a/b.pr") << "truncated to the buffer";
    EXPECT_EQ(VD_ask_vorsa_name(nullptr, vorsa, sizeof vorsa), HM_ERR_NULL_POINTER);

    EXPECT_TRUE(PART_is_cmod_data_loaded(part_));
    EXPECT_FALSE(PART_is_cmod_data_loaded(point_at(0, 0, 0)));
    EXPECT_FALSE(PART_is_cmod_data_loaded(0));
    ExpectNoLeaks();
}

/* ---- stored files are not trusted ---- */

// Parts open in the session.
int open_parts() {
    int n = 0;
    for (const auto& [tag, o] : host::model().objects)
        if (o.status == HM_OBJ_ALIVE && o.type == HM_part_type) ++n;
    return n;
}

// Every kind of curve and surface the kernel writes, and a body carrying a
// mesh (triangulations, polygons on them and a 3D polygon): the checks made
// before the kernel reads a part file must let all of them through.
class StoredGeometryTest : public PartFileTest {
protected:
    static Handle(Geom_BSplineCurve) periodic_rational_spline() {
        TColgp_Array1OfPnt poles(1, 4);
        poles(1) = gp_Pnt(0, 0, 0), poles(2) = gp_Pnt(10, 0, 0), poles(3) = gp_Pnt(10, 10, 0), poles(4) = gp_Pnt(0, 10, 5);
        TColStd_Array1OfReal weights(1, 4);
        weights.Init(1.0), weights(2) = 2.0;
        TColStd_Array1OfReal knots(1, 5);
        TColStd_Array1OfInteger mults(1, 5);
        for (int k = 1; k <= 5; ++k) knots(k) = k - 1, mults(k) = 1;
        return new Geom_BSplineCurve(poles, weights, knots, mults, 2, true);
    }

    static Handle(Geom_BezierCurve) rational_bezier() {
        TColgp_Array1OfPnt poles(1, 3);
        poles(1) = gp_Pnt(0, 0, 0), poles(2) = gp_Pnt(5, 5, 0), poles(3) = gp_Pnt(10, 0, 0);
        TColStd_Array1OfReal weights(1, 3);
        weights.Init(1.0), weights(2) = 0.5;
        return new Geom_BezierCurve(poles, weights);
    }

    static std::vector<Handle(Geom_Curve)> every_curve() {
        const gp_Ax2 frame(gp_Pnt(1, 2, 3), gp_Dir(0, 0, 1));
        Handle(Geom_Curve) circle = new Geom_Circle(frame, 5);
        std::vector<Handle(Geom_Curve)> curves;
        for (Handle(Geom_Curve) c : {Handle(Geom_Curve)(GC_MakeSegment(gp_Pnt(0, 0, 0), gp_Pnt(3, 4, 0)).Value()),Handle(Geom_Curve)(circle),Handle(Geom_Curve)(new Geom_Ellipse(frame, 5, 2)),Handle(Geom_Curve)(new Geom_Parabola(frame, 3)),Handle(Geom_Curve)(new Geom_Hyperbola(frame, 5, 2)),Handle(Geom_Curve)(rational_bezier()),Handle(Geom_Curve)(periodic_rational_spline()),Handle(Geom_Curve)(new Geom_TrimmedCurve(circle, 0.5, 2.0)),Handle(Geom_Curve)(new Geom_OffsetCurve(circle, 1.5, gp_Dir(0, 0, 1)))})
            curves.push_back(c);
        return curves;
    }

    static std::vector<Handle(Geom_Surface)> every_surface() {
        const gp_Ax3 frame(gp_Pnt(1, 2, 3), gp_Dir(0, 0, 1));
        Handle(Geom_Surface) sphere = new Geom_SphericalSurface(frame, 4);
        TColgp_Array2OfPnt poles(1, 3, 1, 2);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 2; ++j) poles(i, j) = gp_Pnt(i * 10.0, j * 10.0, (i == 2) ? 5.0 : 0.0);
        TColStd_Array1OfReal u_knots(1, 2), v_knots(1, 2);
        u_knots(1) = v_knots(1) = 0, u_knots(2) = v_knots(2) = 1;
        TColStd_Array1OfInteger u_mults(1, 2), v_mults(1, 2);
        u_mults.Init(3), v_mults.Init(2);
        std::vector<Handle(Geom_Surface)> surfaces;
        for (Handle(Geom_Surface) f : {Handle(Geom_Surface)(new Geom_Plane(frame)),Handle(Geom_Surface)(new Geom_CylindricalSurface(frame, 4)),Handle(Geom_Surface)(new Geom_ConicalSurface(frame, 0.3, 4)),Handle(Geom_Surface)(sphere),Handle(Geom_Surface)(new Geom_ToroidalSurface(frame, 10, 2)),Handle(Geom_Surface)(new Geom_SurfaceOfLinearExtrusion(rational_bezier(), gp_Dir(0, 0, 1))),Handle(Geom_Surface)(new Geom_SurfaceOfRevolution(rational_bezier(), gp_Ax1(gp_Pnt(0, 0, 0), gp_Dir(1, 0, 0)))),Handle(Geom_Surface)(new Geom_BezierSurface(poles)),Handle(Geom_Surface)(new Geom_BSplineSurface(poles, u_knots, v_knots, u_mults, v_mults, 2, 1)),Handle(Geom_Surface)(new Geom_RectangularTrimmedSurface(sphere, 0.1, 1.0, -0.5, 0.5)),Handle(Geom_Surface)(new Geom_OffsetSurface(sphere, 1.0))})
            surfaces.push_back(f);
        return surfaces;
    }

    // A cylinder (circles and lines on its faces) whose first face carries a
    // two-triangle mesh with its edges' polygons on it, and whose first edge
    // a 3D polygon of its own.
    static TopoDS_Shape meshed_cylinder() {
        TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(5, 10).Shape();
        BRep_Builder builder;
        const TopoDS_Face face = TopoDS::Face(TopExp_Explorer(cylinder, TopAbs_FACE).Current());
        TColgp_Array1OfPnt nodes(1, 4);
        nodes(1) = gp_Pnt(0, 0, 0), nodes(2) = gp_Pnt(1, 0, 0), nodes(3) = gp_Pnt(1, 1, 0), nodes(4) = gp_Pnt(0, 1, 0);
        Poly_Array1OfTriangle triangles(1, 2);
        triangles(1) = Poly_Triangle(1, 2, 3), triangles(2) = Poly_Triangle(1, 3, 4);
        Handle(Poly_Triangulation) mesh = new Poly_Triangulation(nodes, triangles);
        builder.UpdateFace(face, mesh);
        const TopoDS_Edge edge = TopoDS::Edge(TopExp_Explorer(face, TopAbs_EDGE).Current());
        TColStd_Array1OfInteger on_mesh(1, 2);
        on_mesh(1) = 1, on_mesh(2) = 2;
        builder.UpdateEdge(edge, new Poly_PolygonOnTriangulation(on_mesh), mesh, TopLoc_Location());
        TColgp_Array1OfPnt polygon(1, 2);
        polygon(1) = gp_Pnt(0, 0, 0), polygon(2) = gp_Pnt(0, 0, 10);
        builder.UpdateEdge(edge, new Poly_Polygon3D(polygon));
        return cylinder;
    }
};

TEST_F(StoredGeometryTest, EveryKindOfKernelGeometryComesBackFromItsPartFile) {
    const std::string file = path("every_kind.prt");
    tag_t part = host_testing::make_part(file.c_str());
    const std::vector<Handle(Geom_Curve)> curves = every_curve();
    const std::vector<Handle(Geom_Surface)> surfaces = every_surface();
    for (const Handle(Geom_Curve)& c : curves) host::create(HM_spline_type, 0).curve = c;
    for (const Handle(Geom_Surface)& f : surfaces) host::create(HM_plane_type, 0).surface = f;
    const TopoDS_Shape cylinder = meshed_cylinder();
    host::create(HM_solid_type, HM_solid_body_subtype).shape = cylinder;
    ASSERT_EQ(HM_PART_save(part), 0);
    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);

    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0) << host_testing::syslog().back();
    ASSERT_EQ(host_testing::count_objects(opened, HM_spline_type), int(curves.size()));
    ASSERT_EQ(host_testing::count_objects(opened, HM_plane_type), int(surfaces.size()));
    // Each comes back where it was: a point at a parameter inside its range.
    size_t k = 0;
    for (tag_t t = HM_OBJ_cycle_objs_in_part(opened, HM_spline_type, 0); t;
         t = HM_OBJ_cycle_objs_in_part(opened, HM_spline_type, t), ++k) {
        SCOPED_TRACE(k);
        const Handle(Geom_Curve)& read = host::find(t)->curve;
        const double u = curves[k]->FirstParameter() > -1e99 ? curves[k]->FirstParameter() + 0.25 : 0.25;
        EXPECT_LT(read->Value(u).Distance(curves[k]->Value(u)), 1e-12);
    }
    k = 0;
    for (tag_t t = HM_OBJ_cycle_objs_in_part(opened, HM_plane_type, 0); t;
         t = HM_OBJ_cycle_objs_in_part(opened, HM_plane_type, t), ++k) {
        SCOPED_TRACE(k);
        EXPECT_LT(host::find(t)->surface->Value(0.3, 0.4).Distance(surfaces[k]->Value(0.3, 0.4)), 1e-12);
    }
    const tag_t body = HM_OBJ_cycle_objs_in_part(opened, HM_solid_type, 0);
    ASSERT_NE(body, 0u);
    // Volume of a cylinder of radius 5 and height 10: 250 pi.
    EXPECT_NEAR(host_testing::volume(body), 250 * M_PI, 1e-6);
    TopLoc_Location where;
    const TopoDS_Face face = TopoDS::Face(TopExp_Explorer(host::find(body)->shape, TopAbs_FACE).Current());
    const Handle(Poly_Triangulation) mesh = BRep_Tool::Triangulation(face, where);
    ASSERT_FALSE(mesh.IsNull()) << "the mesh is kept";
    EXPECT_EQ(mesh->NbTriangles(), 2);
    ExpectNoLeaks();
}

// A saved part file with one object of each kind of kernel text, as JSON to
// spoil one member of before writing it back.
class MalformedPartFileTest : public StoredGeometryTest {
protected:
    void SetUp() override {
        StoredGeometryTest::SetUp();
        const std::string file = path("source.prt");
        tag_t part = host_testing::make_part(file.c_str());
        host::Object& spline = host::create(HM_spline_type, 0);
        spline.curve = periodic_rational_spline();
        spline.name = "ROOF_RAIL";
        host::Object& sheet = host::create(HM_plane_type, 0);
        sheet.surface = every_surface()[8];
        sheet.name = "PANEL";
        host::Object& body = host::create(HM_solid_type, HM_solid_body_subtype);
        body.shape = meshed_cylinder();
        body.name = "PIN";
        EXPECT_EQ(HM_PART_save(part), 0);
        EXPECT_EQ(HM_PART_close(part, 0, 1), 0);
        EXPECT_EQ(HM_ASSEM_set_work_part(part_), 0);
        std::ifstream in(file);
        document_ = nlohmann::json::parse(in);
        point_at(1, 2, 3);   // something in the work part to keep
    }

    // The kernel text of the object named `name`.
    std::string& text_of(nlohmann::json& doc, const char* name, const char* member) {
        for (nlohmann::json& o : doc["objects"])
            if (o["name"] == name) return o[member].get_ref<std::string&>();
        throw std::runtime_error("no such object");
    }

    nlohmann::json document_;
};

TEST_F(MalformedPartFileTest, AMalformedObjectIsRefusedByNameBeforeTheKernelReadsIt) {
    // Index in the file: 0 ROOF_RAIL (curve), 1 PANEL (surface), 2 PIN (shape).
    struct Case {
        const char* what;
        const char* name;
        const char* member;
        std::string (*spoil)(const std::string&);
        const char* expected;   // in the error, after the object's label
    };
    // Replaces the first occurrence of `from` (which must be there).
    static auto swap = [](std::string text, const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        if (at == std::string::npos) throw std::runtime_error("fixture text lacks " + from);
        return text.replace(at, from.size(), to);
    };
    const Case cases[] = {
        {"a spline claiming 999,999,999 poles", "ROOF_RAIL", "curve",
         [](const std::string& t) { return swap(t, "2 4 5", "2 999999999 5"); },
         "object 0 \"ROOF_RAIL\": curve: poles: 999999999 declared"},
        {"a spline claiming 999,999,999 knots", "ROOF_RAIL", "curve",
         [](const std::string& t) { return swap(t, "2 4 5", "2 4 999999999"); }, "knots: 999999999 declared"},
        {"a negative pole count", "ROOF_RAIL", "curve",
         [](const std::string& t) { return swap(t, "2 4 5", "2 -4 5"); }, "poles: -4 declared"},
        {"a Bezier curve of degree 999,999,999", "ROOF_RAIL", "curve",
         [](const std::string&) { return std::string("6 0 999999999 0 0 0 1 1 1"); }, "degree: 999999999 is outside"},
        {"a pole that is not a number", "ROOF_RAIL", "curve",
         [](const std::string& t) { return swap(t, "2 4 5", "2 4 5 nan"); }, "is not a finite number"},
        {"trimmed curves nested without end", "ROOF_RAIL", "curve",
         [](const std::string&) {
             std::string t;
             for (int k = 0; k < 100000; ++k) t += "8 0 1 ";
             return t + "1 0 0 0 1 0 0";
         },
         "nested more than"},
        {"a curve text that ends early", "ROOF_RAIL", "curve",
         [](const std::string&) { return std::string("2 0 0 0 0 0 1"); }, "text ends before"},
        {"an unknown curve type", "ROOF_RAIL", "curve", [](const std::string&) { return std::string("77 1 2 3"); },
         "curve type 77 unknown"},
        {"a spline surface claiming 999,999,999 x 999,999,999 poles", "PANEL", "surface",
         [](const std::string& t) { return swap(t, "2 1 3 2 2 2", "2 1 999999999 999999999 2 2"); },
         "object 1 \"PANEL\": surface: u poles: 999999999 declared"},
        {"a Bezier surface of u degree 999,999,999", "PANEL", "surface",
         [](const std::string&) { return std::string("8 0 0 999999999 1 0 0 0"); }, "u degree: 999999999 is outside"},
        {"a shape claiming 999,999,999 curves", "PIN", "shape",
         [](const std::string& t) { return swap(t, "\nCurves ", "\nCurves 999999999 "); },
         "object 2 \"PIN\": shape: Curves: "},
        {"a shape whose triangulation claims 999,999,999 nodes", "PIN", "shape",
         [](const std::string& t) { return swap(t, "Triangulations 1\n4 2", "Triangulations 1\n999999999 2"); },
         "triangulation nodes: 999999999 declared"},
        {"a shape claiming 999,999,999 triangles", "PIN", "shape",
         [](const std::string& t) { return swap(t, "Triangulations 1\n4 2", "Triangulations 1\n4 999999999"); },
         "triangles: 999999999 declared"},
        {"a shape claiming 999,999,999 sub-shapes", "PIN", "shape",
         [](const std::string& t) { return swap(t, "TShapes ", "TShapes 999999999 "); }, "shapes: 999999999"},
        {"a shape text that ends inside an edge's representations", "PIN", "shape",
         [](const std::string& t) {
             const size_t edge = t.find("\nEd\n");
             if (edge == std::string::npos) throw std::runtime_error("fixture text lacks an edge");
             // Its first shapes are a vertex and an edge, cut after
             // the edge's first representation.
             const size_t first_line = t.find('\n', edge + 4);
             std::string cut = t.substr(0, t.find('\n', first_line + 1) + 1);
             const size_t count = cut.find("TShapes ") + 8;
             return cut.replace(count, cut.find('\n', count) - count, "2");
         },
         "text ends before edge representation"},
        {"a sub-shape that is not read before its shape", "PIN", "shape",
         [](const std::string& t) { return swap(t, "\n*\nEd\n", "\n+1 0 *\nEd\n"); }, "is not a shape read before it"},
        {"a shape without its version line", "PIN", "shape",
         [](const std::string& t) { return swap(t, "CASCADE Topology", "Topology"); }, "no topology version line"},
    };
    const std::string file = path("spoiled.prt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        nlohmann::json doc = document_;
        std::string& text = text_of(doc, c.name, c.member);
        text = c.spoil(text);
        std::ofstream(file, std::ios::trunc) << doc.dump(1);
        const int parts_before = open_parts();
        const int objects_before = host_testing::count_objects(part_);
        const size_t log_before = host_testing::syslog().size();

        tag_t opened = 99;
        HM_PART_load_status_t status;
        EXPECT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), HM_ERR_FILE);
        EXPECT_EQ(opened, 0u);
        ASSERT_TRUE(status.failed);
        EXPECT_EQ(status.statuses[0], HM_ERR_FILE);
        SM_free(status.file_names[0]);
        SM_free(status.file_names);
        SM_free(status.statuses);
        ASSERT_EQ(host_testing::syslog().size(), log_before + 1) << "one error line";
        const std::string& error = host_testing::syslog().back();
        EXPECT_NE(error.find(file), std::string::npos) << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_EQ(open_parts(), parts_before) << "no part made";
        EXPECT_EQ(host_testing::count_objects(part_), objects_before);
        EXPECT_EQ(HM_ASSEM_ask_work_part(), part_) << "the work part stays";
    }
    // The file as saved still opens.
    std::ofstream(file, std::ios::trunc) << document_.dump(1);
    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    EXPECT_EQ(host_testing::count_objects(opened), 3);
    ExpectNoLeaks();
}

TEST_F(MalformedPartFileTest, AnObjectTheKernelRefusesIsNamedAndNothingIsMade) {
    // Sound counts, but knots that go backwards: the kernel itself refuses
    // the spline.
    nlohmann::json doc = document_;
    doc["objects"][0]["curve"] = "7 0 0 1 2 2 0 0 0 1 0 0 1 2 0 2";
    const std::string file = path("backwards.prt");
    std::ofstream(file) << doc.dump(1);
    const int parts_before = open_parts();
    tag_t opened = 99;
    HM_PART_load_status_t status;
    EXPECT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), HM_ERR_FILE);
    SM_free(status.file_names[0]);
    SM_free(status.file_names);
    SM_free(status.statuses);
    EXPECT_NE(host_testing::syslog().back().find("object 0 \"ROOF_RAIL\": curve:"), std::string::npos)
        << host_testing::syslog().back();
    EXPECT_EQ(open_parts(), parts_before);
    ExpectNoLeaks();
}

}  // namespace
