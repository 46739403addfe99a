// Sheets cut, united and measured: the trim of a sheet by curves that keeps
// the region around a point (with the open ends of the curves reported as
// gaps when they do not close the region off), the union of two sheets and
// the mass properties (area) of sheets.
#include "core/checks.h"
#include "geometry/sheets.h"

#include "geometry/booleans.h"

#include "geometry/bodies.h"
#include "geometry/geometry.h"
#include "omvra.h"
#include "quillon.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <gp_Ax3.hxx>
#include <gp_Sphere.hxx>
#include <BRepAlgoAPI_Splitter.hxx>
#include <BRepAlgo_NormalProjection.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepGProp.hxx>
#include <BRepProj_Projection.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <BRepAdaptor_Curve.hxx>
#include <GProp_GProps.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Dir.hxx>

#include <cmath>
#include <cstring>
#include <vector>

namespace host {
namespace {
// Test hooks (host_testing::force_trim_gaps, force_trim_exception).
int g_forced_gap_calls = 0;
double g_forced_gap_length = 0.0;
int g_forced_exception_code = 0;
int g_trim_calls = 0;
double g_last_trim_tolerance = 0.0;
}  // namespace

void force_trim_gaps(int calls, double gap_length) {
    g_forced_gap_calls = calls;
    g_forced_gap_length = gap_length;
}
void force_trim_exception(int code) { g_forced_exception_code = code; }
int trim_sheet_calls() { return g_trim_calls; }
double last_trim_tolerance() { return g_last_trim_tolerance; }
void reset_trim_hooks() {
    g_forced_gap_calls = 0;
    g_forced_gap_length = 0.0;
    g_forced_exception_code = 0;
    g_trim_calls = 0;
    g_last_trim_tolerance = 0.0;
}
}  // namespace host

namespace {

// The bounding curve brought onto the sheet: along the normals (or the
// direction); the curve as it is when the projection gives nothing.
TopoDS_Shape projected_tool(const TopoDS_Shape& edge, const TopoDS_Shape& sheet, const HM_MODL_proj_method_t* method) {
    try {
        if (method && method->proj_type == 2) {
            TopoDS_Wire wire;
            BRep_Builder b;
            b.MakeWire(wire);
            b.Add(wire, edge);
            BRepProj_Projection proj(wire, sheet,
                                     gp_Dir(method->direction[0], method->direction[1], method->direction[2]));
            if (proj.IsDone() && !proj.Shape().IsNull()) return proj.Shape();
            return edge;
        }
        BRepAlgo_NormalProjection proj(sheet);
        proj.Add(edge);
        proj.Build();
        if (proj.IsDone() && !proj.Projection().IsNull()) {
            TopExp_Explorer ex(proj.Projection(), TopAbs_EDGE);
            if (ex.More()) return proj.Projection();
        }
    } catch (const Standard_Failure&) {
    }
    return edge;
}

double distance_between(const TopoDS_Shape& a, const TopoDS_Shape& b) {
    BRepExtrema_DistShapeShape d(a, b);
    if (!d.IsDone() || d.NbSolution() == 0) return 1e300;
    return d.Value();
}

gp_Pnt edge_mid_point(const TopoDS_Edge& e) {
    BRepAdaptor_Curve c(e);
    return c.Value(0.5 * (c.FirstParameter() + c.LastParameter()));
}

// The open ends of the curves (an end that meets no other curve's end within
// the tolerance), paired nearest first: (2k, 2k+1).
std::vector<gp_Pnt> open_end_pairs(const std::vector<TopoDS_Shape>& curves, double tolerance) {
    std::vector<gp_Pnt> ends;
    for (const TopoDS_Shape& c : curves) {
        for (TopExp_Explorer ex(c, TopAbs_EDGE); ex.More(); ex.Next()) {
            TopoDS_Vertex v1, v2;
            TopExp::Vertices(TopoDS::Edge(ex.Current()), v1, v2);
            if (!v1.IsNull()) ends.push_back(BRep_Tool::Pnt(v1));
            if (!v2.IsNull()) ends.push_back(BRep_Tool::Pnt(v2));
        }
    }
    std::vector<gp_Pnt> open;
    for (size_t i = 0; i < ends.size(); ++i) {
        bool met = false;
        for (size_t j = 0; j < ends.size() && !met; ++j)
            if (j != i && ends[i].Distance(ends[j]) <= tolerance) met = true;
        if (!met) open.push_back(ends[i]);
    }
    std::vector<gp_Pnt> pairs;
    std::vector<bool> used(open.size(), false);
    for (size_t i = 0; i < open.size(); ++i) {
        if (used[i]) continue;
        size_t best = open.size();
        for (size_t j = i + 1; j < open.size(); ++j)
            if (!used[j] && (best == open.size() || open[i].Distance(open[j]) < open[i].Distance(open[best])))
                best = j;
        if (best == open.size()) break;
        used[i] = used[best] = true;
        pairs.push_back(open[i]);
        pairs.push_back(open[best]);
    }
    return pairs;
}

int answer_gaps(const std::vector<gp_Pnt>& pairs, int* gap_count, double** gap_points) {
    *gap_count = static_cast<int>(pairs.size());
    *gap_points = nullptr;
    if (!pairs.empty()) {
        auto* block = static_cast<double*>(SM_alloc(3 * pairs.size() * sizeof(double)));
        for (size_t i = 0; i < pairs.size(); ++i) {
            block[3 * i] = pairs[i].X();
            block[3 * i + 1] = pairs[i].Y();
            block[3 * i + 2] = pairs[i].Z();
        }
        *gap_points = block;
    }
    return HM_ERR_TRIM_GAPS;
}

// The faces of the split sheet reachable from the start face without crossing
// an edge that lies on a cutting curve.
std::vector<TopoDS_Face> region_of(const TopoDS_Shape& split, const TopoDS_Face& start, const TopoDS_Shape& tools,
                                   double tolerance, int& face_total) {
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(split, TopAbs_FACE, faces);
    face_total = faces.Extent();
    TopTools_IndexedDataMapOfShapeListOfShape edge_faces;
    TopExp::MapShapesAndAncestors(split, TopAbs_EDGE, TopAbs_FACE, edge_faces);
    std::vector<bool> seen(faces.Extent() + 1, false);
    std::vector<TopoDS_Face> region;
    std::vector<int> stack{faces.FindIndex(start)};
    if (stack[0] == 0) return region;
    seen[stack[0]] = true;
    while (!stack.empty()) {
        const TopoDS_Face face = TopoDS::Face(faces(stack.back()));
        stack.pop_back();
        region.push_back(face);
        for (TopExp_Explorer ex(face, TopAbs_EDGE); ex.More(); ex.Next()) {
            const TopTools_ListOfShape& neighbours = edge_faces.FindFromKey(ex.Current());
            if (neighbours.Extent() < 2) continue;
            const TopoDS_Edge& edge = TopoDS::Edge(ex.Current());
            const double cut = distance_between(BRepBuilderAPI_MakeVertex(edge_mid_point(edge)).Vertex(), tools);
            if (cut <= tolerance) continue;
            for (const TopoDS_Shape& n : neighbours) {
                const int index = faces.FindIndex(n);
                if (index > 0 && !seen[index]) {
                    seen[index] = true;
                    stack.push_back(index);
                }
            }
        }
    }
    return region;
}

// A whole sphere is the same sphere turned so that its seam runs opposite
// the point and its poles lie a quarter turn from it: the region kept around
// the point then lies on one face, clear of the seam and the poles.
TopoDS_Shape with_pole_at(const TopoDS_Shape& sheet, const gp_Pnt& point) {
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(sheet, TopAbs_FACE, faces);
    if (faces.Extent() != 1) return sheet;
    const TopoDS_Face& face = TopoDS::Face(faces(1));
    BRepAdaptor_Surface surface(face);
    if (surface.GetType() != GeomAbs_Sphere) return sheet;
    const gp_Sphere sphere = surface.Sphere();
    GProp_GProps props;
    BRepGProp::SurfaceProperties(face, props);
    const double whole = 4.0 * M_PI * sphere.Radius() * sphere.Radius();
    const gp_Vec towards(sphere.Location(), point);
    if (std::fabs(props.Mass() - whole) > 1e-6 * whole || towards.Magnitude() < 1e-9) return sheet;
    const gp_Dir away(-towards);
    gp_Vec pole = gp_Vec(away).Crossed(gp_Vec(0, 0, 1));
    if (pole.Magnitude() < 1e-6) pole = gp_Vec(away).Crossed(gp_Vec(1, 0, 0));
    TopoDS_Face turned =
        BRepBuilderAPI_MakeFace(gp_Sphere(gp_Ax3(sphere.Location(), gp_Dir(pole), away), sphere.Radius()));
    if (face.Orientation() == TopAbs_REVERSED) turned.Reverse();
    return turned;
}

}  // namespace

int HM_MODL_trim_sheet(tag_t sheet, int bound_count, const HM_MODL_trim_object_t* bounds,
                       const HM_MODL_proj_method_t* projection, int point_key, int point_count, const double* points,
                       double tolerance, int* gap_count, double** gap_points) {
    if (!bounds || !points || !gap_count || !gap_points) return HM_ERR_NULL_POINTER;
    *gap_count = 0;
    *gap_points = nullptr;
    ++host::g_trim_calls;
    host::g_last_trim_tolerance = tolerance;
    if (bound_count < 1 || (point_key != 0 && point_key != 1) || point_count != 1 || !(tolerance > 0.0) || !std::isfinite(tolerance))
        return HM_ERR_BAD_ARGUMENT;
    // A point or direction the kernel cannot use would send it searching for ever.
    if (!host::finite3(points) || (projection && projection->proj_type == 2 && !host::finite3(projection->direction)))
        return HM_ERR_BAD_ARGUMENT;
    if (!host::find(sheet)) return HM_ERR_INVALID_TAG;
    host::Object* body = host::find_body(sheet);
    if (!body) return HM_ERR_WRONG_TYPE;
    if (host::g_forced_exception_code != 0) {
        const int code = host::g_forced_exception_code;
        host::g_forced_exception_code = 0;
        ERROR_raise(__FILE__, __LINE__, code, "sheet trim failed in the kernel");
    }
    if (host::g_forced_gap_calls > 0) {
        --host::g_forced_gap_calls;
        return answer_gaps({gp_Pnt(0, 0, 0), gp_Pnt(host::g_forced_gap_length, 0, 0)}, gap_count, gap_points);
    }
    const gp_Pnt keep_point(points[0], points[1], points[2]);
    const TopoDS_Shape sheet_shape = with_pole_at(body->shape, keep_point);
    std::vector<TopoDS_Shape> tools;
    for (int i = 0; i < bound_count; ++i) {
        host::Object* curve = host::find(bounds[i].object_tag);
        if (!curve) return HM_ERR_INVALID_TAG;
        if (curve->type == HM_plane_type || curve->type == HM_datum_type) {
            // A plane cuts where it meets the sheet.
            const TopoDS_Shape plane = host::shape_of(*curve);
            if (plane.IsNull()) return HM_ERR_WRONG_TYPE;
            tools.push_back(plane);
            continue;
        }
        if (!host::is_curve(*curve)) return HM_ERR_WRONG_TYPE;
        const TopoDS_Shape edge = host::shape_of(*curve);
        if (edge.IsNull()) return HM_ERR_WRONG_TYPE;
        tools.push_back(projected_tool(edge, sheet_shape, projection));
    }
    const gp_Pnt keep(points[0], points[1], points[2]);
    try {
        TopoDS_Compound tool_compound;
        BRep_Builder builder;
        builder.MakeCompound(tool_compound);
        TopTools_ListOfShape args, tool_list;
        for (const TopoDS_Shape& t : tools) {
            builder.Add(tool_compound, t);
            tool_list.Append(t);
        }
        args.Append(sheet_shape);
        BRepAlgoAPI_Splitter splitter;
        splitter.SetArguments(args);
        splitter.SetTools(tool_list);
        splitter.SetFuzzyValue(tolerance);
        splitter.Build();
        if (!splitter.IsDone()) return HM_ERR_GEOMETRY;
        const TopoDS_Shape split = splitter.Shape();
        // The face that holds the point to keep.
        TopoDS_Face start;
        double nearest = 1e300;
        const TopoDS_Vertex keep_vertex = BRepBuilderAPI_MakeVertex(keep).Vertex();
        for (TopExp_Explorer ex(split, TopAbs_FACE); ex.More(); ex.Next()) {
            const double d = distance_between(keep_vertex, ex.Current());
            if (d < nearest) {
                nearest = d;
                start = TopoDS::Face(ex.Current());
            }
        }
        if (start.IsNull()) return HM_ERR_GEOMETRY;
        int face_total = 0;
        const std::vector<TopoDS_Face> around =
            region_of(split, start, tool_compound, std::max(tolerance, 1e-7), face_total);
        if (around.empty() || static_cast<int>(around.size()) == face_total)
            return answer_gaps(open_end_pairs(tools, tolerance), gap_count, gap_points);
        // Point key 0: the faces on the other side of the curves.
        std::vector<TopoDS_Face> region = around;
        if (point_key == 0) {
            region.clear();
            TopTools_IndexedMapOfShape split_faces, kept_around;
            TopExp::MapShapes(split, TopAbs_FACE, split_faces);
            for (const TopoDS_Face& f : around) kept_around.Add(f);
            for (int i = 1; i <= split_faces.Extent(); ++i)
                if (!kept_around.Contains(split_faces(i))) region.push_back(TopoDS::Face(split_faces(i)));
        }
        TopoDS_Shape kept;
        if (region.size() == 1) {
            kept = region[0];
        } else {
            TopoDS_Shell shell;
            builder.MakeShell(shell);
            for (const TopoDS_Face& f : region) builder.Add(shell, f);
            kept = shell;
            // A trimmed face stays one face: pieces of the one surface merge.
            TopTools_IndexedMapOfShape sheet_faces;
            TopExp::MapShapes(sheet_shape, TopAbs_FACE, sheet_faces);
            if (sheet_faces.Extent() == 1) {
                ShapeUpgrade_UnifySameDomain unify(shell, true, true, false);
                unify.Build();
                TopTools_IndexedMapOfShape merged;
                TopExp::MapShapes(unify.Shape(), TopAbs_FACE, merged);
                if (merged.Extent() == 1) kept = merged(1);
            }
        }
        host::replace_body_shape(sheet, kept);
        return 0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int HM_MODL_operations(tag_t target, tag_t tool, int operation) {
    if (operation != HM_MODL_UNITE && operation != HM_MODL_INTERSECT) return HM_ERR_BAD_ARGUMENT;
    if (!host::find(target) || !host::find(tool)) return HM_ERR_INVALID_TAG;
    if (target == tool) return HM_ERR_BAD_ARGUMENT;
    if (operation == HM_MODL_INTERSECT) return host::intersect_in_place(target, tool);
    host::Object* a = host::find_body(target);
    host::Object* b = host::find_body(tool);
    if (!a || !b) return HM_ERR_WRONG_TYPE;
    try {
        const TopoDS_Shape united = host::boolean_of(a->shape, b->shape, host::BooleanKind::unite);
        if (united.IsNull()) return HM_ERR_GEOMETRY;
        // The union of sheets that do not meet is not one sheet.
        TopTools_IndexedMapOfShape faces;
        TopExp::MapShapes(united, TopAbs_FACE, faces);
        TopTools_IndexedDataMapOfShapeListOfShape edge_faces;
        TopExp::MapShapesAndAncestors(united, TopAbs_EDGE, TopAbs_FACE, edge_faces);
        std::vector<bool> seen(faces.Extent() + 1, false);
        std::vector<int> stack{1};
        seen[1] = true;
        int reached = 0;
        while (!stack.empty()) {
            const TopoDS_Shape face = faces(stack.back());
            stack.pop_back();
            ++reached;
            for (TopExp_Explorer ex(face, TopAbs_EDGE); ex.More(); ex.Next())
                for (const TopoDS_Shape& n : edge_faces.FindFromKey(ex.Current())) {
                    const int i = faces.FindIndex(n);
                    if (i > 0 && !seen[i]) {
                        seen[i] = true;
                        stack.push_back(i);
                    }
                }
        }
        if (reached != faces.Extent()) return HM_ERR_GEOMETRY;
        TopoDS_Shell shell;
        BRep_Builder builder;
        builder.MakeShell(shell);
        for (int i = 1; i <= faces.Extent(); ++i) builder.Add(shell, faces(i));
        host::replace_body_shape(target, shell);
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
    host::erase(tool);
    return 0;
}

int HM_MODL_ask_mass_props_3d(int count, const tag_t* bodies, int type, int unit_system, double density,
                              int accuracy_option, const double accuracy[], double mass_props[47],
                              double statistics[13]) {
    (void)accuracy_option;
    (void)accuracy;
    if (!bodies || !mass_props) return HM_ERR_NULL_POINTER;
    if (count < 1 || (type != 1 && type != 2) || !(density > 0.0)) return HM_ERR_BAD_ARGUMENT;
    if (unit_system != HM_MASS_UNITS_INCH && unit_system != HM_MASS_UNITS_CM) return HM_ERR_BAD_ARGUMENT;
    const bool solids = type == 1;
    double area = 0.0;
    GProp_GProps all;
    for (int i = 0; i < count; ++i) {
        if (!host::find(bodies[i])) return HM_ERR_INVALID_TAG;
        host::Object* body = host::find_body(bodies[i]);
        if (!body) return HM_ERR_WRONG_TYPE;
        if (solids && !TopExp_Explorer(body->shape, TopAbs_SOLID).More()) return HM_ERR_WRONG_TYPE;
        GProp_GProps props;
        if (solids)
            BRepGProp::VolumeProperties(body->shape, props, 1.0e-9);
        else
            BRepGProp::SurfaceProperties(body->shape, props, 1.0e-9);
        area += props.Mass();
        all.Add(props);
    }
    // Area (volume for solids) in the part's units, then in the unit system's.
    const host::PartData* part = host::work_part_data();
    const bool inches = part && part->inches;
    std::memset(mass_props, 0, 47 * sizeof(double));
    if (solids) {
        const double mm3 = inches ? area * 16387.064 : area;
        mass_props[0] = unit_system == HM_MASS_UNITS_CM ? mm3 / 1000.0 : mm3 / 16387.064;
    } else {
        const double mm2 = inches ? area * 645.16 : area;
        mass_props[0] = unit_system == HM_MASS_UNITS_CM ? mm2 / 100.0 : mm2 / 645.16;
    }
    mass_props[1] = mass_props[0] * density;
    // Centre of mass in the unit system's length unit (inches or centimetres).
    if (area > 0.0) {
        const double part_to_mm = inches ? 25.4 : 1.0;
        const double per_mm = unit_system == HM_MASS_UNITS_CM ? 0.1 : 1.0 / 25.4;
        const gp_Pnt c = all.CentreOfMass();
        mass_props[3] = c.X() * part_to_mm * per_mm;
        mass_props[4] = c.Y() * part_to_mm * per_mm;
        mass_props[5] = c.Z() * part_to_mm * per_mm;
    }
    if (statistics) std::memset(statistics, 0, 13 * sizeof(double));
    return 0;
}
