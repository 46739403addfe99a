// The foot of a point on a face through a projector kept per face. The
// projectors of the faces asked last are kept (a face is known by its
// shape, which each entry holds, so an entry never outlives its face's
// geometry); the oldest goes when a new face comes.
#include "geometry/face_projection.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepTools.hxx>
#include <BRepTopAdaptor_FClass2d.hxx>
#include <BRep_Tool.hxx>
#include <Extrema_ExtPC.hxx>
#include <Geom2d_Curve.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <Geom_Surface.hxx>
#include <IntCurvesFace_Intersector.hxx>
#include <Precision.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Pnt2d.hxx>

#include <limits>
#include <list>
#include <memory>
#include <vector>

namespace host {
namespace {

// Faces whose projectors are kept: enough for the faces of the bodies that
// one analysis asks in turn.
constexpr size_t kKeptFaces = 32;

// An edge of the face: its curve in space and its curve on the face's
// surface over the same parameters.
struct BoundaryEdge {
    BRepAdaptor_Curve curve;
    Handle(Geom2d_Curve) on_surface;
};

struct FaceProjector {
    TopoDS_Face face;
    double umin = 0.0, umax = 0.0, vmin = 0.0, vmax = 0.0;
    bool surface = false;   // false: the face has no surface to project on
    GeomAPI_ProjectPointOnSurf projector;
    std::unique_ptr<BRepTopAdaptor_FClass2d> classifier;
    bool edges_made = false;   // the edges are gathered when first needed
    std::vector<BoundaryEdge> edges;
    std::unique_ptr<IntCurvesFace_Intersector> intersector;   // made when first asked
    std::unique_ptr<BRepAdaptor_Surface> adaptor;              // made when first asked
};

std::list<FaceProjector>& kept() {
    static std::list<FaceProjector> faces;
    return faces;
}

// The face's projector, set up on first request and moved to the front.
FaceProjector& projector_of(const TopoDS_Face& face) {
    std::list<FaceProjector>& faces = kept();
    for (auto it = faces.begin(); it != faces.end(); ++it)
        if (it->face.IsEqual(face)) {
            faces.splice(faces.begin(), faces, it);
            return faces.front();
        }
    if (faces.size() >= kKeptFaces) faces.pop_back();
    faces.emplace_front();
    FaceProjector& p = faces.front();
    p.face = face;
    BRepTools::UVBounds(face, p.umin, p.umax, p.vmin, p.vmax);
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(face);
    if (!surface.IsNull()) {
        // Minima only, their samples sorted into a tree once: a later point
        // starts its search from the nearest sample instead of measuring to
        // every sample of the grid.
        p.projector.SetExtremaFlag(Extrema_ExtFlag_MIN);
        p.projector.Init(surface, p.umin, p.umax, p.vmin, p.vmax, Precision::Confusion(), Extrema_ExtAlgo_Tree);
        p.classifier = std::make_unique<BRepTopAdaptor_FClass2d>(face, Precision::PConfusion());
        p.surface = true;
    }
    return p;
}

// The face's edges with a curve in space and on the surface (degenerate
// edges have neither: their point is an end of the edges beside them).
const std::vector<BoundaryEdge>& edges_of(FaceProjector& p) {
    if (p.edges_made) return p.edges;
    p.edges_made = true;
    for (TopExp_Explorer e(p.face, TopAbs_EDGE); e.More(); e.Next()) {
        const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
        if (BRep_Tool::Degenerated(edge) || !BRep_Tool::IsGeometric(edge)) continue;
        double first = 0.0, last = 0.0;
        Handle(Geom2d_Curve) on_surface = BRep_Tool::CurveOnSurface(edge, p.face, first, last);
        if (on_surface.IsNull()) continue;
        p.edges.push_back({BRepAdaptor_Curve(edge), on_surface});
    }
    return p.edges;
}

// The nearest point of the face's edges to the point: distance, surface
// parameters and point; false when the face has no edge to measure to.
bool nearest_on_edges(FaceProjector& p, const gp_Pnt& point, double& distance, double& u, double& v,
                      gp_Pnt& nearest) {
    bool any = false;
    auto take = [&](const BoundaryEdge& edge, double t, const gp_Pnt& q) {
        const double d = q.Distance(point);
        if (any && d >= distance) return;
        any = true;
        distance = d;
        const gp_Pnt2d uv = edge.on_surface->Value(t);
        u = uv.X();
        v = uv.Y();
        nearest = q;
    };
    for (const BoundaryEdge& edge : edges_of(p)) {
        const double first = edge.curve.FirstParameter(), last = edge.curve.LastParameter();
        take(edge, first, edge.curve.Value(first));
        take(edge, last, edge.curve.Value(last));
        Extrema_ExtPC extrema(point, edge.curve, first, last);
        if (!extrema.IsDone()) continue;
        for (int i = 1; i <= extrema.NbExt(); ++i)
            if (extrema.IsMin(i)) take(edge, extrema.Point(i).Parameter(), extrema.Point(i).Value());
    }
    return any;
}

}  // namespace

bool nearest_on_face(const TopoDS_Face& face, const gp_Pnt& point, double& u, double& v, gp_Pnt& nearest) {
    FaceProjector& p = projector_of(face);
    bool any = false;
    double distance = std::numeric_limits<double>::infinity();
    if (p.surface) {
        p.projector.Perform(point);
        if (p.projector.IsDone() && p.projector.NbPoints() > 0) {
            // The surface's foot inside the face is the face's nearest point.
            p.projector.LowerDistanceParameters(u, v);
            if (p.classifier->Perform(gp_Pnt2d(u, v)) == TopAbs_IN) {
                nearest = p.projector.NearestPoint();
                return true;
            }
            // Otherwise the nearest is another extremum of the surface inside
            // the face, or lies on the boundary.
            for (int i = 1; i <= p.projector.NbPoints(); ++i) {
                double ui = 0.0, vi = 0.0;
                p.projector.Parameters(i, ui, vi);
                const double d = p.projector.Distance(i);
                if (d >= distance || p.classifier->Perform(gp_Pnt2d(ui, vi)) == TopAbs_OUT) continue;
                any = true;
                distance = d;
                u = ui;
                v = vi;
                nearest = p.projector.Point(i);
            }
        }
    }
    double de = 0.0, ue = 0.0, ve = 0.0;
    gp_Pnt qe;
    if (nearest_on_edges(p, point, de, ue, ve, qe) && (!any || de < distance)) {
        any = true;
        u = ue;
        v = ve;
        nearest = qe;
    }
    return any;
}

IntCurvesFace_Intersector& face_intersector(const TopoDS_Face& face) {
    FaceProjector& p = projector_of(face);
    if (!p.intersector) p.intersector = std::make_unique<IntCurvesFace_Intersector>(face, Precision::Confusion());
    return *p.intersector;
}

const BRepAdaptor_Surface& face_surface(const TopoDS_Face& face) {
    FaceProjector& p = projector_of(face);
    if (!p.adaptor) p.adaptor = std::make_unique<BRepAdaptor_Surface>(face);
    return *p.adaptor;
}

void face_parameter_box(const TopoDS_Face& face, double& umin, double& umax, double& vmin, double& vmax) {
    const FaceProjector& p = projector_of(face);
    umin = p.umin;
    umax = p.umax;
    vmin = p.vmin;
    vmax = p.vmax;
}

}  // namespace host
