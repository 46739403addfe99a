// Flat patterns: a sheet lying on one plane, cylinder or cone unrolled
// exactly into the plane that touches it at a reference point, any other
// sheet laid flat through a triangle mesh of it, with curves carried along;
// and the reversal of a sheet's normals.
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"
#include "geometry/geometry.h"
#include "geometry/mesh_flattening.h"

#include "omvra.h"
#include "quillon.h"
#include "zelvadt.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <GeomAdaptor_Surface.hxx>
#include <Geom_Surface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <ShapeAnalysis_FreeBounds.hxx>
#include <ShapeAnalysis_Surface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_HSequenceOfShape.hxx>
#include <TopoDS.hxx>
#include <gp_Cone.hxx>
#include <gp_Cylinder.hxx>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool g_module_open = false;
// Points sampled along each curve carried into the flat pattern.
constexpr int kFlatSamples = 65;
// The mesh of a sheet laid flat: chord height as a share of the sheet's
// size, and the largest angle between neighbouring facets (radians). Coarse
// enough to solve at once, fine enough to keep the area within a tenth of
// a percent on a windshield.
constexpr double kMeshChordShare = 1e-3;
constexpr double kMeshAngle = 0.2;
// The steps that find the flat's turn at the reference point (share of the size).
constexpr double kStepShare = 0.01;
constexpr const char* kDefaultBendAllowance = "(Radius+(Thickness*0.44))*rad(Angle)";

// Where a point of the sheet lands in the flat: in the plane touching the
// sheet at the reference point; false when it lies farther than the
// tolerance from the sheet.
class FlatMap {
public:
    virtual ~FlatMap() = default;
    virtual bool flat(const gp_Pnt& p, double tolerance, gp_Pnt& out) const = 0;
};

// The unrolling of one developable surface about a reference point.
struct Unroller : FlatMap {
    GeomAbs_SurfaceType kind = GeomAbs_OtherSurface;
    Handle(Geom_Surface) surface;
    Handle(ShapeAnalysis_Surface) analysis;
    double u0 = 0.0, v0 = 0.0;
    gp_Pnt origin;      // the reference point, where the flat plane touches
    gp_Dir e1, e2;      // flat axes: along u and along v at the reference point
    double radius = 0.0, semi_angle = 0.0, slant0 = 0.0;

    bool set(const TopoDS_Face& face, double parm_u, double parm_v) {
        BRepAdaptor_Surface adaptor(face);
        kind = adaptor.GetType();
        if (kind != GeomAbs_Plane && kind != GeomAbs_Cylinder && kind != GeomAbs_Cone) return false;
        TopLoc_Location location;
        surface = BRep_Tool::Surface(face, location);
        if (!location.IsIdentity())
            surface = Handle(Geom_Surface)::DownCast(surface->Transformed(location.Transformation()));
        analysis = new ShapeAnalysis_Surface(surface);
        u0 = adaptor.FirstUParameter() + parm_u * (adaptor.LastUParameter() - adaptor.FirstUParameter());
        v0 = adaptor.FirstVParameter() + parm_v * (adaptor.LastVParameter() - adaptor.FirstVParameter());
        gp_Vec du, dv;
        surface->D1(u0, v0, origin, du, dv);
        if (du.Magnitude() <= gp::Resolution() || dv.Magnitude() <= gp::Resolution()) return false;
        e1 = gp_Dir(du);
        e2 = gp_Dir(dv);
        if (kind == GeomAbs_Cylinder) radius = adaptor.Cylinder().Radius();
        if (kind == GeomAbs_Cone) {
            radius = adaptor.Cone().RefRadius();
            semi_angle = adaptor.Cone().SemiAngle();
            if (std::fabs(std::sin(semi_angle)) <= 1e-12) return false;
            slant0 = v0 + radius / std::sin(semi_angle);
        }
        return true;
    }
    // The flat image of a point on (or next to) the surface; false when it
    // lies farther than the tolerance from the surface.
    bool flat(const gp_Pnt& p, double tolerance, gp_Pnt& out) const override {
        const gp_Pnt2d uv = analysis->ValueOfUV(p, tolerance);
        if (analysis->Gap() > tolerance) return false;
        double u = uv.X();
        const double v = uv.Y();
        if (kind == GeomAbs_Plane) {
            out = surface->Value(u, v);
            return true;
        }
        double du = std::remainder(u - u0, 2.0 * M_PI);
        if (kind == GeomAbs_Cylinder) {
            out = origin.Translated(gp_Vec(e1) * (radius * du) + gp_Vec(e2) * (v - v0));
            return true;
        }
        const double s = v + radius / std::sin(semi_angle);
        const double psi = du * std::sin(semi_angle);
        // Along a generatrix the slant s runs from the apex; a turn du about
        // the axis unrolls to the angle du sin(semi-angle) about the apex.
        const gp_Pnt apex = origin.Translated(gp_Vec(e2) * -slant0);
        out = apex.Translated(gp_Vec(e2) * (s * std::cos(psi)) + gp_Vec(e1) * (s * std::sin(psi)));
        return true;
    }
};

// Whether every face of the sheet lies on the unroller's surface.
bool lies_on(const Unroller& unroller, const TopoDS_Shape& sheet, double tolerance) {
    for (TopExp_Explorer ex(sheet, TopAbs_FACE); ex.More(); ex.Next()) {
        double u0, u1, v0, v1;
        const TopoDS_Face f = TopoDS::Face(ex.Current());
        BRepTools::UVBounds(f, u0, u1, v0, v1);
        BRepAdaptor_Surface s(f);
        gp_Pnt out;
        for (double a : {0.1, 0.5, 0.9})
            if (!unroller.flat(s.Value(u0 + a * (u1 - u0), v0 + (1 - a) * (v1 - v0)), tolerance, out)) return false;
    }
    return true;
}

// A sheet that no plane, cylinder or cone holds, laid flat through a
// triangle mesh of it (as rigidly as possible), placed so that the flat
// touches the reference face at the reference point with the face's u
// direction along the same line.
class MeshUnroller : public FlatMap {
public:
    bool set(const TopoDS_Shape& sheet, const TopoDS_Face& face, double parm_u, double parm_v, double tolerance) {
        BRepAdaptor_Surface adaptor(face);
        const double u0 = adaptor.FirstUParameter() + parm_u * (adaptor.LastUParameter() - adaptor.FirstUParameter());
        const double v0 = adaptor.FirstVParameter() + parm_v * (adaptor.LastVParameter() - adaptor.FirstVParameter());
        gp_Vec du, dv;
        adaptor.D1(u0, v0, origin_, du, dv);
        const gp_Vec normal = du.Crossed(dv);
        if (du.Magnitude() <= gp::Resolution() || normal.Magnitude() <= gp::Resolution()) return false;
        e1_ = gp_Dir(du);
        e2_ = gp_Dir(normal).Crossed(e1_);
        Bnd_Box box;
        BRepBndLib::Add(sheet, box);
        const double size = std::sqrt(box.SquareExtent());
        const double chord = std::max(kMeshChordShare * size, tolerance);
        reach_ = 2.0 * chord + 10.0 * tolerance;
        if (!mesh_.build(sheet, chord, kMeshAngle) || !mesh_.flat(origin_, reach_, uv0_)) return false;
        // The flat's turn (and side) at the reference point, from two short
        // steps along the face's u and v directions.
        const double step = kStepShare * size;
        auto along = [&](double p0, double first, double last, double speed) {
            const double d = step / speed;
            return p0 + d <= last ? p0 + d : p0 - d >= first ? p0 - d : p0;
        };
        const gp_Pnt pu = adaptor.Value(along(u0, adaptor.FirstUParameter(), adaptor.LastUParameter(), du.Magnitude()), v0);
        const gp_Pnt pv = adaptor.Value(u0, along(v0, adaptor.FirstVParameter(), adaptor.LastVParameter(), dv.Magnitude()));
        gp_Pnt2d fu, fv;
        if (!mesh_.flat(pu, reach_, fu) || !mesh_.flat(pv, reach_, fv)) return false;
        const gp_Vec tu(origin_, pu), tv(origin_, pv);
        // A maps the tangent coordinates of the two steps onto their flat ones.
        const double t00 = tu.Dot(gp_Vec(e1_)), t10 = tu.Dot(gp_Vec(e2_)), t01 = tv.Dot(gp_Vec(e1_)),
                     t11 = tv.Dot(gp_Vec(e2_));
        const double det = t00 * t11 - t01 * t10;
        if (std::fabs(det) <= gp::Resolution()) return false;
        const double a0 = fu.X() - uv0_.X(), a1 = fu.Y() - uv0_.Y(), b0 = fv.X() - uv0_.X(), b1 = fv.Y() - uv0_.Y();
        double m00 = (a0 * t11 - b0 * t10) / det, m01 = (b0 * t00 - a0 * t01) / det;
        double m10 = (a1 * t11 - b1 * t10) / det, m11 = (b1 * t00 - a1 * t01) / det;
        mirror_ = m00 * m11 - m01 * m10 < 0.0;
        if (mirror_) {
            m10 = -m10;
            m11 = -m11;
        }
        const double turn = std::atan2(m10 - m01, m00 + m11);
        cos_ = std::cos(turn);
        sin_ = std::sin(turn);
        return true;
    }
    bool flat(const gp_Pnt& p, double tolerance, gp_Pnt& out) const override {
        gp_Pnt2d uv;
        if (!mesh_.flat(p, std::max(reach_, tolerance), uv)) return false;
        const double dx = uv.X() - uv0_.X(), dy = mirror_ ? uv0_.Y() - uv.Y() : uv.Y() - uv0_.Y();
        const double x = cos_ * dx + sin_ * dy, y = -sin_ * dx + cos_ * dy;
        out = origin_.Translated(gp_Vec(e1_) * x + gp_Vec(e2_) * y);
        return true;
    }
    double stretch() const { return mesh_.max_stretch(); }

private:
    host::MeshFlattening mesh_;
    gp_Pnt origin_;
    gp_Dir e1_, e2_;
    gp_Pnt2d uv0_;
    double reach_ = 0.0, cos_ = 1.0, sin_ = 0.0;
    bool mirror_ = false;
};

// Whether the edge bounds the sheet: it belongs to one face only, and is no
// seam where a face meets itself.
bool boundary_edge(const TopoDS_Shape& sheet, const TopoDS_Edge& edge) {
    int faces = 0;
    for (TopExp_Explorer fx(sheet, TopAbs_FACE); fx.More(); fx.Next())
        for (TopExp_Explorer e2(fx.Current(), TopAbs_EDGE); e2.More(); e2.Next())
            if (e2.Current().IsSame(edge)) {
                if (BRep_Tool::IsClosed(edge, TopoDS::Face(fx.Current()))) return false;
                ++faces;
                break;
            }
    return faces == 1;
}

// The flat image of a curve: a spline through its sampled points.
Handle(Geom_Curve) flat_curve(const FlatMap& unroller, const Handle(Geom_Curve)& curve, double tolerance) {
    std::vector<gp_Pnt> points;
    for (int i = 0; i < kFlatSamples; ++i) {
        const double u = host::kernel_parameter(curve, double(i) / (kFlatSamples - 1));
        gp_Pnt p;
        if (!unroller.flat(curve->Value(u), tolerance, p)) return nullptr;
        if (points.empty() || p.Distance(points.back()) > 1e-9) points.push_back(p);
    }
    if (points.size() < 2) return nullptr;
    return host::interpolate(points, points.size() > 3 ? 3 : int(points.size()) - 1, false);
}

}  // namespace

int SMDFLAT_init_module(void) {
    g_module_open = true;
    return 0;
}

int SMDFLAT_exit_module(void) {
    g_module_open = false;
    return 0;
}

int SMDFLAT__initialize_layout(SMDFLAT_layout_t* layout) {
    if (!layout) return HM_ERR_NULL_POINTER;
    std::memset(layout, 0, sizeof *layout);
    return 0;
}

int SMDFLAT_load_layout_from_prefs(tag_t part, SMDFLAT_layout_t* layout) {
    if (!layout) return HM_ERR_NULL_POINTER;
    const host::Object* p = host::find(part, HM_part_type);
    if (!p) return HM_ERR_INVALID_TAG;
    const host::PartData* data = host::work_part_data();
    layout->part_units = data && data->inches ? 1 : 0;
    return 0;
}

int SMDUTL_ask_def_baf(char** formula) {
    if (!formula) return 0;
    const size_t n = std::strlen(kDefaultBendAllowance);
    *formula = static_cast<char*>(SM_alloc(n + 1));
    std::memcpy(*formula, kDefaultBendAllowance, n + 1);
    return 1;
}

int SMDFLAT_fill_structure(SMDFLAT_layout_t* layout, tag_t face, const double parm[2]) {
    if (!layout || !parm) return HM_ERR_NULL_POINTER;
    if (!host::find_face(face)) return host::find(face) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    if (!std::isfinite(parm[0]) || !std::isfinite(parm[1])) return HM_ERR_BAD_ARGUMENT;
    layout->reference_face = face;
    layout->face_parm[0] = parm[0];
    layout->face_parm[1] = parm[1];
    layout->filled = 1;
    return 0;
}

int SMDFLAT_create_flat_pattern(tag_t body, const char* name, int option, SMDFLAT_layout_t* layout, tag_t* group) {
    if (!g_module_open) return HM_ERR_NO_SESSION;
    if (!name || !layout || !group) return HM_ERR_NULL_POINTER;
    *group = 0;
    if (!layout->filled || option != 1 || !*name || std::strlen(name) > 132 || layout->curve_count < 0 ||
        (layout->curve_count > 0 && !layout->curves))
        return HM_ERR_BAD_ARGUMENT;
    host::Object* b = host::find_body(body);
    if (!b || b->subtype != HM_solid_body_subtype) return host::find(body) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    const host::Object* face = host::find_face(layout->reference_face);
    if (!face || face->owner != body) return HM_ERR_WRONG_TYPE;
    std::vector<Handle(Geom_Curve)> carried;
    for (int i = 0; i < layout->curve_count; ++i) {
        const host::Object* c = host::find(layout->curves[i].curve);
        if (!c) return HM_ERR_INVALID_TAG;
        Handle(Geom_Curve) g = host::is_curve(*c) ? host::curve_of(*c) : nullptr;
        if (g.IsNull()) return HM_ERR_WRONG_TYPE;
        carried.push_back(g);
    }
    const TopoDS_Shape sheet = b->shape;
    const TopoDS_Face reference = TopoDS::Face(face->shape);
    const double parm[2] = {layout->face_parm[0], layout->face_parm[1]};
    const double tolerance = std::max(host::distance_tolerance(), 1e-6);
    return host::guarded(__func__, [&]() -> int {
        // Developable sheets unroll exactly; any other through its mesh.
        Unroller unroller;
        MeshUnroller meshed;
        const bool exact = unroller.set(reference, parm[0], parm[1]) && lies_on(unroller, sheet, tolerance);
        if (!exact && !meshed.set(sheet, reference, parm[0], parm[1], tolerance)) return HM_ERR_GEOMETRY;
        const FlatMap& map = exact ? static_cast<const FlatMap&>(unroller) : meshed;
        std::vector<Handle(Geom_Curve)> flat;
        for (TopExp_Explorer ex(sheet, TopAbs_EDGE); ex.More(); ex.Next()) {
            const TopoDS_Edge& edge = TopoDS::Edge(ex.Current());
            if (BRep_Tool::Degenerated(edge) || !boundary_edge(sheet, edge)) continue;
            double first = 0.0, last = 0.0;
            TopLoc_Location location;
            Handle(Geom_Curve) g = BRep_Tool::Curve(edge, location, first, last);
            if (!g.IsNull()) {
                g = Handle(Geom_Curve)::DownCast(g->Transformed(location.Transformation()));
                g = new Geom_TrimmedCurve(g, first, last);
            }
            Handle(Geom_Curve) f = g.IsNull() ? nullptr : flat_curve(map, g, tolerance);
            if (f.IsNull()) return HM_ERR_GEOMETRY;
            flat.push_back(f);
        }
        for (const auto& g : carried) {
            Handle(Geom_Curve) f = flat_curve(map, g, 10.0 * tolerance);
            if (f.IsNull()) return HM_ERR_GEOMETRY;
            flat.push_back(f);
        }
        std::vector<tag_t> members;
        for (const auto& f : flat) members.push_back(host::store_curve(f).tag);
        if (int r = HM_GROUP_create_group(members.data(), int(members.size()), group)) return r;
        (void)HM_OBJ_set_name(*group, name);
        layout->max_stretch = exact ? 0.0 : meshed.stretch();
        (void)HM_ATTR_set_real(*group, SMDFLAT_STRETCH_ATTRIBUTE, layout->max_stretch);
        return 0;
    });
}

int SMDFLAT__free_layout(SMDFLAT_layout_t* layout) {
    if (!layout) return HM_ERR_NULL_POINTER;
    SM_free(layout->curves);
    SM_free(layout->bend_allowance);
    std::memset(layout, 0, sizeof *layout);
    return 0;
}

int FLIPNORMAL_construct(tag_t body, tag_t* feature) {
    if (!feature) return HM_ERR_NULL_POINTER;
    *feature = 0;
    host::Object* b = host::find_body(body);
    if (!b || b->subtype != HM_solid_body_subtype) return host::find(body) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    host::tag_topology(*b);
    b->shape.Reverse();
    for (tag_t t : b->subtags)
        if (host::Object* f = host::find_face(t)) f->shape.Reverse();
    *feature = host::create_feature("FLIP_NORMAL", body, {}).tag;
    return 0;
}
