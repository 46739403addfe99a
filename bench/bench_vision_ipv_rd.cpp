// Reflection data on a crowned windshield against the geometry kernel's
// projection of the same points onto the same surface.
//
// The windshield is the mid-size car's of the instrument-panel example: from
// (1250, +-690, 1000) to (2000, +-600, 1400), 62 degrees from vertical,
// crowned 25 mm across; the eye is the SAE J941 cyclops centroid (2743, -370,
// 1188) and the source the dashboard's top edge (x 1600, z 1020, y -700 to
// 300). Set-up checks that the library finds reflection points before
// anything is timed, and prints how many each side finds and how far apart
// their points lie where both find one.
//
// At N = 25, 100 and 400 points on the edge:
//   rd/library/<N>  HM_VD_RD_create_reflect_data, its arrays freed as its
//                   caller does (per sample: the search bracket's ends by
//                   bisections of foot points, then the bisection on the
//                   reflection condition, foot points again);
//   rd/kernel/<N>   the same N reflection points found by the kernel alone
//                   (the baseline): each sample's foot point on the kernel
//                   surface (GeomAPI_ProjectPointOnSurf), then math_FunctionSetRoot
//                   from there on the reflection condition (the path eye -
//                   surface point - sample stationary in both parameters); a
//                   root held at the edge of the surface's parameter box is
//                   no reflection point.
//
// The steering wheel's 380 mm rim (a 30 mm tube about (2350, -370, 950), 25
// degrees from vertical), seen from 700 mm in front of it, at facet sizes
// 6, 3 and 1.5 mm:
//   contour/library/<size>  HM_VD_ipv_create_contour, outer contour on the
//                           wheel plane (facetting at the 0.1 mm chord and
//                           0.1 rad, silhouette points where the facets turn
//                           away from the eye, sampled at half the facet
//                           size, profile walk);
//   contour/kernel/<size>   the kernel's own silhouette of the same torus
//                           seen from the same eye (the baseline): the torus
//                           meshed at the same 0.1 mm chord and 0.1 rad
//                           (BRepMesh_IncrementalMesh), its outlines by the
//                           polygonal hidden-line algorithm (HLRBRep_PolyAlgo)
//                           through a perspective projector at the eye. Both
//                           facet the same; the facet size only spaces the
//                           library's silhouette points.
//
// The mustache on the instrument-panel plane x = 2050 of a wheel outline as
// the contour hands it over (a polyline of 100 or 400 corners round the rim's
// 205 mm outer edge in the wheel plane), seen from the two eyes 32.5 mm
// either side of the cyclops:
//   mustache/library/<corners>  HM_VD_ipv_create_mustache_curve_on_plane (the
//                               outline cast onto the plane from each eye,
//                               the spline's poles carried along their sight
//                               lines, two bounded planes and their common
//                               region);
//   mustache/kernel/<corners>   the same work by the kernel directly (the
//                               baseline): for each eye its sight cone
//                               through the same polyline
//                               (BRepOffsetAPI_ThruSections from the eye),
//                               cut by the plane (BRepAlgoAPI_Section), the
//                               cut's edges joined into a wire bounding a
//                               planar face; the two faces' common region
//                               (BRepAlgoAPI_Common) and its outer wire.
// Baselines: the kernel's own reflection points (foot point, then math_FunctionSetRoot), silhouette (HLRBRep_PolyAlgo) and the two sight cones cut by the plane and their common region (BRepOffsetAPI_ThruSections, BRepAlgoAPI_Section, BRepAlgoAPI_Common).
#include "hm_vd.h"
#include "hm_vd_vision.h"
#include "host_testing.h"
#include "kernel_booleans.h"
#include "omvra.h"
#include "quillon.h"
#include "ratio_report.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Section.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <ShapeAnalysis_FreeBounds.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_HSequenceOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Wire.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <HLRAlgo_Projector.hxx>
#include <HLRBRep_PolyAlgo.hxx>
#include <HLRBRep_PolyHLRToShape.hxx>
#include <math_FunctionSetRoot.hxx>
#include <math_FunctionSetWithDerivatives.hxx>
#include <math_Matrix.hxx>
#include <math_Vector.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <Geom_BSplineCurve.hxx>
#include <gp_Pln.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRepTools.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <Geom_BSplineSurface.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const double kEye[3] = {2743.0, -370.0, 1188.0};
const int kCounts[] = {25, 100, 400};
const double kFacetSizes[] = {6.0, 3.0, 1.5};
const int kCorners[] = {100, 400};
const double kPanelX = 2050.0;
const double kWheelCentre[3] = {2350.0, -370.0, 950.0};
const double kTilt = 25.0 * 3.14159265358979323846 / 180.0;
const double kWheelNormal[3] = {std::cos(kTilt), 0.0, std::sin(kTilt)};
const double kWheelUp[3] = {-std::sin(kTilt), 0.0, std::cos(kTilt)};

// The rim as a host body: a 30 mm tube along the 190 mm circle.
tag_t host_rim() {
    const host_testing::Point3 c = {kWheelCentre[0], kWheelCentre[1], kWheelCentre[2]};
    const tag_t path = host_testing::make_arc(c, 190.0, 0.0, 2.0 * 3.14159265358979323846, {0, 1, 0},
                                              {kWheelUp[0], kWheelUp[1], kWheelUp[2]});
    tag_t feature = 0, body = 0;
    HM_MODL_create_tube(path, "30.0", "0.0", &feature);
    HM_MODL_ask_feat_body(feature, &body);
    return body;
}

// Outer contours the library finds at the facet size (0 on failure); its lists and curves go.
int library_contour(tag_t rim, tag_t plane, double size) {
    const double eye[3] = {kWheelCentre[0] + 700.0 * kWheelNormal[0], kWheelCentre[1],
                           kWheelCentre[2] + 700.0 * kWheelNormal[2]};
    const double parameters[3] = {size, 0.2, 3.0};
    hm_list_p_t solids = nullptr, outer = nullptr, inner = nullptr;
    HM_MODL_create_list(&solids);
    HM_MODL_put_list_item(solids, rim);
    const int r = HM_VD_ipv_create_contour(solids, eye, parameters, 0, plane, &outer, &inner);
    int count = 0;
    if (r == 0) HM_MODL_ask_list_count(outer, &count);
    HM_VD_delete_obj_list(&outer);
    HM_VD_delete_obj_list(&inner);
    HM_MODL_delete_list(&solids);
    HM_MODL_update();
    return count;
}

// The kernel's silhouette of the torus seen from the contour's eye (700 mm
// in front of the wheel on its axis): meshed as the library meshes it, the
// outlines of the polygonal hidden-line algorithm.
TopoDS_Shape kernel_outline(const TopoDS_Shape& torus) {
    BRepTools::Clean(torus);
    BRepMesh_IncrementalMesh mesh(torus, 0.1, false, 0.1);
    const gp_Pnt eye(kWheelCentre[0] + 700.0 * kWheelNormal[0], kWheelCentre[1], kWheelCentre[2] + 700.0 * kWheelNormal[2]);
    // The projector's frame at the eye, looking back along the wheel's axis;
    // its focus is the distance to the wheel plane.
    const gp_Ax2 frame(eye, gp_Dir(kWheelNormal[0], kWheelNormal[1], kWheelNormal[2]),
                       gp_Dir(kWheelUp[0], kWheelUp[1], kWheelUp[2]));
    Handle(HLRBRep_PolyAlgo) algo = new HLRBRep_PolyAlgo();
    algo->Load(torus);
    algo->Projector(HLRAlgo_Projector(frame, 700.0));
    algo->Update();
    HLRBRep_PolyHLRToShape outlines;
    outlines.Update(algo);
    return outlines.OutLineVCompound();
}

// The corners of a wheel outline: n points round the rim's outer edge.
std::vector<host_testing::Point3> outline_corners(int n) {
    std::vector<host_testing::Point3> corners;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * 3.14159265358979323846 * i / n, side = 205.0 * std::cos(a), up = 205.0 * std::sin(a);
        corners.push_back({kWheelCentre[0] + up * kWheelUp[0], kWheelCentre[1] + side, kWheelCentre[2] + up * kWheelUp[2]});
    }
    return corners;
}

// Mustache curves the library makes on the panel plane (0 on failure), with
// their length when asked; they go.
int library_mustache(tag_t outline, tag_t panel, double* length = nullptr) {
    const double left[3] = {kEye[0], kEye[1] - 32.5, kEye[2]}, right[3] = {kEye[0], kEye[1] + 32.5, kEye[2]};
    hm_list_p_t curves = nullptr, mustache = nullptr;
    HM_MODL_create_list(&curves);
    HM_MODL_put_list_item(curves, outline);
    const int r = HM_VD_ipv_create_mustache_curve_on_plane(left, right, curves, panel, &mustache);
    int count = 0;
    if (r == 0) HM_MODL_ask_list_count(mustache, &count);
    for (int i = 0; length && i < count; ++i) {
        tag_t curve = 0;
        double piece = 0.0;
        HM_MODL_ask_list_item(mustache, i, &curve);
        if (HM_CURVE_ask_arc_length(curve, 0.0, 1.0, &piece) == 0) *length += piece;
    }
    HM_VD_delete_obj_list(&mustache);
    HM_MODL_delete_list(&curves);
    HM_MODL_update();
    return count;
}

// The kernel's sight cone from the eye through the closed polyline,
// reaching past the panel plane.
TopoDS_Shape kernel_cone(const std::vector<host_testing::Point3>& corners, const gp_Pnt& eye) {
    const int n = static_cast<int>(corners.size());
    TColgp_Array1OfPnt poles(1, n + 1);
    TColStd_Array1OfReal knots(1, n + 1);
    TColStd_Array1OfInteger mults(1, n + 1);
    for (int i = 0; i <= n; ++i) {
        // Three times as far from the eye as the outline: beyond the panel
        // plane (the outline's lowest corner meets it at 2.3 times).
        const host_testing::Point3& c = corners[i % n];
        poles.SetValue(i + 1, eye.Translated(3.0 * gp_Vec(eye, gp_Pnt(c[0], c[1], c[2]))));
        knots.SetValue(i + 1, i);
        mults.SetValue(i + 1, i == 0 || i == n ? 2 : 1);
    }
    Handle(Geom_BSplineCurve) polyline = new Geom_BSplineCurve(poles, knots, mults, 1);
    BRepOffsetAPI_ThruSections cone(false, true, 1.0e-6);
    cone.CheckCompatibility(false);
    cone.AddVertex(BRepBuilderAPI_MakeVertex(eye).Vertex());
    cone.AddWire(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(polyline).Edge()).Wire());
    cone.Build();
    return cone.Shape();
}

// The region of the panel plane inside the cut of the eye's sight cone
// through the polyline: the cut's edges joined into the longest wire, the
// face it bounds on the plane.
TopoDS_Face kernel_eye_region(const std::vector<host_testing::Point3>& corners, const gp_Pnt& eye,
                              const gp_Pln& panel) {
    BRepAlgoAPI_Section section(kernel_cone(corners, eye), panel, true);
    Handle(TopTools_HSequenceOfShape) edges = new TopTools_HSequenceOfShape, wires = new TopTools_HSequenceOfShape;
    for (TopExp_Explorer it(section.Shape(), TopAbs_EDGE); it.More(); it.Next()) edges->Append(it.Current());
    ShapeAnalysis_FreeBounds::ConnectEdgesToWires(edges, 1.0e-3, false, wires);
    TopoDS_Wire longest;
    double length = -1.0;
    for (int i = 1; i <= wires->Length(); ++i) {
        GProp_GProps props;
        BRepGProp::LinearProperties(wires->Value(i), props);
        if (props.Mass() > length) {
            length = props.Mass();
            longest = TopoDS::Wire(wires->Value(i));
        }
    }
    return longest.IsNull() ? TopoDS_Face() : BRepBuilderAPI_MakeFace(panel, longest, true).Face();
}

// The mustache the kernel makes directly: both eyes' regions on the panel
// plane and the outer wire of their common region (null when none).
TopoDS_Wire kernel_mustache(const std::vector<host_testing::Point3>& corners) {
    const gp_Pln panel(gp_Pnt(kPanelX, 0, 0), gp_Dir(1, 0, 0));
    const TopoDS_Face left = kernel_eye_region(corners, gp_Pnt(kEye[0], kEye[1] - 32.5, kEye[2]), panel);
    const TopoDS_Face right = kernel_eye_region(corners, gp_Pnt(kEye[0], kEye[1] + 32.5, kEye[2]), panel);
    if (left.IsNull() || right.IsNull()) return {};
    TopExp_Explorer face(bench_kernel::boolean<BRepAlgoAPI_Common>(left, right), TopAbs_FACE);
    return face.More() ? BRepTools::OuterWire(TopoDS::Face(face.Current())) : TopoDS_Wire();
}

std::vector<double> windshield_poles() {
    const double base[3] = {1250.0, -690.0, 1000.0}, top[3] = {2000.0, -600.0, 1400.0};
    const double len = std::hypot(top[0] - base[0], top[2] - base[2]);
    const double n[3] = {-(top[2] - base[2]) / len, 0.0, (top[0] - base[0]) / len};
    std::vector<double> poles;
    for (const double* edge : {base, top})
        for (int j = 0; j < 3; ++j) {
            const double lift = j == 1 ? 50.0 : 0.0;
            poles.push_back(edge[0] + lift * n[0]);
            poles.push_back(edge[1] * (1 - j));
            poles.push_back(edge[2] + lift * n[2]);
        }
    return poles;
}

tag_t host_face() {
    const std::vector<double> poles = windshield_poles();
    const tag_t sheet = host_testing::make_bspline_sheet(2, 3, poles.data(), 1, 2);
    hm_list_p_t faces = nullptr;
    tag_t face = 0;
    HM_MODL_ask_body_faces(sheet, &faces);
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    return face;
}

Handle(Geom_BSplineSurface) kernel_surface() {
    const std::vector<double> p = windshield_poles();
    TColgp_Array2OfPnt poles(1, 2, 1, 3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) {
            const double* q = &p[3 * (3 * i + j)];
            poles.SetValue(i + 1, j + 1, gp_Pnt(q[0], q[1], q[2]));
        }
    TColStd_Array1OfReal knots(1, 2);
    knots.SetValue(1, 0.0);
    knots.SetValue(2, 1.0);
    TColStd_Array1OfInteger mu(1, 2), mv(1, 2);
    mu.SetValue(1, 2);
    mu.SetValue(2, 2);
    mv.SetValue(1, 3);
    mv.SetValue(2, 3);
    return new Geom_BSplineSurface(poles, knots, knots, mu, mv, 1, 2);
}

// The reflection condition on the surface: at the point P(u, v), the sum
// of the unit vectors from the eye and from the source to P is normal to
// the surface (the path's length is stationary in u and v). Derivatives by
// central differences.
class ReflectionCondition : public math_FunctionSetWithDerivatives {
public:
    ReflectionCondition(const Handle(Geom_Surface)& surface, const gp_Pnt& eye, const gp_Pnt& source)
        : surface_(surface), eye_(eye), source_(source) {}
    Standard_Integer NbVariables() const override { return 2; }
    Standard_Integer NbEquations() const override { return 2; }
    Standard_Boolean Value(const math_Vector& x, math_Vector& f) override {
        gp_Pnt p;
        gp_Vec du, dv;
        surface_->D1(x(1), x(2), p, du, dv);
        const gp_Vec a = gp_Vec(eye_, p).Normalized() + gp_Vec(source_, p).Normalized();
        f(1) = a.Dot(du);
        f(2) = a.Dot(dv);
        return Standard_True;
    }
    Standard_Boolean Derivatives(const math_Vector& x, math_Matrix& d) override {
        constexpr double h = 1.0e-7;
        math_Vector plus(1, 2), minus(1, 2), y = x;
        for (int k = 1; k <= 2; ++k) {
            y(k) = x(k) + h;
            Value(y, plus);
            y(k) = x(k) - h;
            Value(y, minus);
            y(k) = x(k);
            for (int i = 1; i <= 2; ++i) d(i, k) = (plus(i) - minus(i)) / (2.0 * h);
        }
        return Standard_True;
    }
    Standard_Boolean Values(const math_Vector& x, math_Vector& f, math_Matrix& d) override {
        return Value(x, f) && Derivatives(x, d);
    }

private:
    Handle(Geom_Surface) surface_;
    gp_Pnt eye_, source_;
};

// Reflection points the kernel alone finds for n samples of the edge (and,
// when asked, the points: one per sample, NaN where none was found).
int kernel_found(const Handle(Geom_BSplineSurface)& surface, int n, std::vector<gp_Pnt>* points = nullptr) {
    int hits = 0;
    if (points) points->assign(n, gp_Pnt(NAN, NAN, NAN));
    const gp_Pnt eye(kEye[0], kEye[1], kEye[2]);
    math_Vector tolerance(1, 2, 1.0e-10), lower(1, 2, 0.0), upper(1, 2, 1.0), start(1, 2);
    for (int i = 0; i < n; ++i) {
        const gp_Pnt source(1600.0, -700.0 + 1000.0 * i / (n - 1), 1020.0);
        GeomAPI_ProjectPointOnSurf foot(source, surface);
        if (foot.NbPoints() < 1) continue;
        foot.LowerDistanceParameters(start(1), start(2));
        ReflectionCondition condition(surface, eye, source);
        math_FunctionSetRoot root(condition, tolerance, 30);
        root.Perform(condition, start, lower, upper);
        // A root held at the edge of the parameter box is no reflection point.
        const bool found = root.IsDone() && root.Root()(1) > 0.0 && root.Root()(1) < 1.0 && root.Root()(2) > 0.0 &&
                           root.Root()(2) < 1.0;
        hits += found ? 1 : 0;
        if (points && found) (*points)[i] = surface->Value(root.Root()(1), root.Root()(2));
    }
    return hits;
}

// Reflection points the library finds for n samples of the edge (and, when
// asked, the points as the kernel's are given).
int library_found(tag_t* face, tag_t edge, int n, std::vector<gp_Pnt>* points = nullptr) {
    int groups = 0, rows = 0;
    int *sizes = nullptr, *per_row = nullptr;
    double ***result = nullptr, ***input = nullptr;
    bool** found = nullptr;
    bool* closed = nullptr;
    HM_VD_RD_create_reflect_data(1, face, false, 1, &edge, kEye, n, 0.0, 0.01, &groups, &sizes, &rows, &per_row,
                                 &result, &input, &found, &closed);
    int hits = 0;
    if (points) points->clear();
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < per_row[r]; ++i) {
            hits += found[r][i] ? 1 : 0;
            if (points)
                points->push_back(found[r][i] ? gp_Pnt(result[r][i][0], result[r][i][1], result[r][i][2])
                                              : gp_Pnt(NAN, NAN, NAN));
            SM_free(result[r][i]);
            SM_free(input[r][i]);
        }
        SM_free(result[r]);
        SM_free(input[r]);
        SM_free(found[r]);
    }
    for (void* p : {static_cast<void*>(sizes), static_cast<void*>(per_row), static_cast<void*>(result),
                    static_cast<void*>(input), static_cast<void*>(found), static_cast<void*>(closed)})
        SM_free(p);
    return hits;
}

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_vision_rd");
    static tag_t face = host_face();
    static const tag_t edge = host_testing::make_line({1600.0, -700.0, 1020.0}, {1600.0, 300.0, 1020.0});
    static const Handle(Geom_BSplineSurface) surface = kernel_surface();
    for (int n : kCounts) {
        std::vector<gp_Pnt> library, kernel;
        const int hits = library_found(&face, edge, n, &library);
        if (hits < 1) {
            std::fprintf(stderr, "no reflection points at N = %d\n", n);
            return 1;
        }
        const int kernel_hits = kernel_found(surface, n, &kernel);
        // The same work: where both find a sample's point, how far apart.
        double apart = 0.0;
        for (size_t i = 0; i < library.size() && i < kernel.size(); ++i)
            if (!std::isnan(library[i].X()) && !std::isnan(kernel[i].X()))
                apart = std::max(apart, library[i].Distance(kernel[i]));
        std::printf("N = %d: %d points reflected (the kernel alone: %d), at most %.3f mm from the kernel's\n", n,
                    hits, kernel_hits, apart);
    }
    static const tag_t rim = host_rim();
    static tag_t wheel_plane = 0;
    HM_MODL_create_plane(kWheelCentre, kWheelNormal, &wheel_plane);
    for (double size : kFacetSizes)
        if (library_contour(rim, wheel_plane, size) < 1) {
            std::fprintf(stderr, "no outer contour of the rim at facet size %.1f\n", size);
            return 1;
        }
    static const TopoDS_Shape torus =
        BRepPrimAPI_MakeTorus(gp_Ax2(gp_Pnt(kWheelCentre[0], kWheelCentre[1], kWheelCentre[2]),
                                     gp_Dir(kWheelNormal[0], kWheelNormal[1], kWheelNormal[2])),
                              190.0, 15.0)
            .Shape();
    static tag_t panel = 0;
    const double panel_origin[3] = {kPanelX, -370.0, 900.0}, panel_normal[3] = {1.0, 0.0, 0.0};
    HM_MODL_create_plane(panel_origin, panel_normal, &panel);
    static std::vector<tag_t> outlines;
    static std::vector<std::vector<host_testing::Point3>> outline_points;
    for (int n : kCorners) {
        const std::vector<host_testing::Point3> corners = outline_corners(n);
        outlines.push_back(host_testing::make_spline(corners, 1, true));
        double length = 0.0;
        const TopoDS_Wire kernel = kernel_mustache(corners);
        if (library_mustache(outlines.back(), panel, &length) < 1 || kernel.IsNull()) {
            std::fprintf(stderr, "no mustache of the %d-corner outline\n", n);
            return 1;
        }
        GProp_GProps props;
        BRepGProp::LinearProperties(kernel, props);
        std::printf("%d corners: mustache %.2f mm long (the kernel's: %.2f mm)\n", n, length, props.Mass());
        outline_points.push_back(corners);
    }
    std::vector<carvell_bench::Ratio> ratios;
    for (size_t i = 0; i < outlines.size(); ++i) {
        const std::string corners = std::to_string(kCorners[i]);
        const std::string library = "mustache/library/" + corners, kernel = "mustache/kernel/" + corners;
        benchmark::RegisterBenchmark(library.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(library_mustache(outlines[i], panel));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(kernel_mustache(outline_points[i]).IsNull());
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({"library/kernel corners " + corners, library, kernel});
    }
    for (double size : kFacetSizes) {
        char label[16];
        std::snprintf(label, sizeof label, "%.1f", size);
        const std::string library = std::string("contour/library/") + label, kernel = std::string("contour/kernel/") + label;
        benchmark::RegisterBenchmark(library.c_str(), [size](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(library_contour(rim, wheel_plane, size));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [size](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(kernel_outline(torus).IsNull());
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({std::string("library/kernel facet ") + label, library, kernel});
    }
    for (int n : kCounts) {
        const std::string size = std::to_string(n);
        const std::string library = "rd/library/" + size, kernel = "rd/kernel/" + size;
        benchmark::RegisterBenchmark(library.c_str(), [n](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(library_found(&face, edge, n));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [n](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(kernel_found(surface, n));
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({"library/kernel N " + size, library, kernel});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    host_testing::reset();
    return code;
}
