// Queries of faces and bodies: the extreme point along three directions,
// whether an object is planar, the kind and data of a face, its parameter
// box; and the reversal of a sheet's normals.
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/geometry.h"
#include "omvra.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepGProp_Face.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GeomLib_IsPlanarSurface.hxx>
#include <Geom_Plane.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <gp_Pln.hxx>

#include <cmath>
#include <vector>

namespace {

struct Candidate {
    gp_Pnt point;
    TopoDS_Shape support;   // face or edge holding the point
};

// The ranking of a point: along the first direction, ties by the second, then the third.
bool better(const gp_Pnt& a, const gp_Pnt& b, const gp_Vec dirs[3], double tie) {
    for (int k = 0; k < 3; ++k) {
        const double da = gp_Vec(a.XYZ()).Dot(dirs[k]);
        const double db = gp_Vec(b.XYZ()).Dot(dirs[k]);
        if (da > db + tie) return true;
        if (da < db - tie) return false;
    }
    return false;
}

// The points of the shape nearest to a far plane across the first direction:
// the farthest points along it.
void far_points(const TopoDS_Shape& shape, const gp_Vec& dir, std::vector<Candidate>& out) {
    Bnd_Box box;
    BRepBndLib::Add(shape, box);
    if (box.IsVoid()) return;
    double x0, y0, z0, x1, y1, z1;
    box.Get(x0, y0, z0, x1, y1, z1);
    const gp_Pnt centre((x0 + x1) / 2, (y0 + y1) / 2, (z0 + z1) / 2);
    const double size = gp_Pnt(x0, y0, z0).Distance(gp_Pnt(x1, y1, z1)) + 1.0;
    const gp_Dir d(dir);
    const gp_Pln plane(centre.Translated(gp_Vec(d) * (2.0 * size)), d);
    const TopoDS_Face far = BRepBuilderAPI_MakeFace(plane, -4 * size, 4 * size, -4 * size, 4 * size).Face();
    BRepExtrema_DistShapeShape distance(shape, far);
    if (!distance.IsDone()) return;
    for (int i = 1; i <= distance.NbSolution(); ++i) {
        Candidate c{distance.PointOnShape1(i), distance.SupportOnShape1(i)};
        out.push_back(c);
    }
}

// The face or edge tag of the object's body (or the object itself) that holds the support.
tag_t tag_of_support(tag_t object, const TopoDS_Shape& support, const gp_Pnt& point) {
    const host::Object* o = host::find(object);
    const tag_t body = (o && o->subtype != HM_solid_body_subtype) ? o->owner : object;
    if (support.ShapeType() == TopAbs_FACE || support.ShapeType() == TopAbs_EDGE) {
        const tag_t t = host::tag_of_subshape(body, support);
        if (t) return t;
    }
    // A vertex: an edge through it.
    if (support.ShapeType() == TopAbs_VERTEX && host::find_body(body)) {
        const gp_Pnt v = BRep_Tool::Pnt(TopoDS::Vertex(support));
        for (tag_t e : host::body_edges(body)) {
            const host::Object* edge = host::find(e);
            if (!edge) continue;
            TopoDS_Vertex a, b;
            TopExp::Vertices(TopoDS::Edge(edge->shape), a, b);
            if ((!a.IsNull() && BRep_Tool::Pnt(a).Distance(v) <= 1e-7) ||
                (!b.IsNull() && BRep_Tool::Pnt(b).Distance(v) <= 1e-7))
                return e;
        }
    }
    (void)point;
    return object;
}

int type_of_face(const BRepAdaptor_Surface& s) {
    switch (s.GetType()) {
    case GeomAbs_Plane:
        return HM_FACE_PLANAR;
    case GeomAbs_Sphere:
        return HM_FACE_SPHERICAL;
    case GeomAbs_Cylinder:
        return HM_FACE_CYLINDRICAL;
    case GeomAbs_Cone:
        return HM_FACE_CONICAL;
    case GeomAbs_Torus:
        return HM_FACE_TOROIDAL;
    default:
        return HM_FACE_PARAMETRIC;
    }
}

}  // namespace

int HM_MODL_ask_extreme(tag_t object, const double dir1[3], const double dir2[3], const double dir3[3],
                        tag_t* subentity, double point[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!dir1 || !dir2 || !dir3 || !subentity || !point) return HM_ERR_NULL_POINTER;
        *subentity = NULL_TAG;
        const host::Object* o = host::find(object);
        if (!o) return HM_ERR_INVALID_TAG;
        const TopoDS_Shape shape = host::operand_shape(object);
        if (shape.IsNull() || o->type == HM_point_type) return HM_ERR_WRONG_TYPE;
        gp_Vec dirs[3] = {gp_Vec(dir1[0], dir1[1], dir1[2]), gp_Vec(dir2[0], dir2[1], dir2[2]),
                          gp_Vec(dir3[0], dir3[1], dir3[2])};
        for (const gp_Vec& d : dirs)
            if (!(d.Magnitude() > 1e-12) || !std::isfinite(d.Magnitude())) return HM_ERR_BAD_ARGUMENT;
        for (gp_Vec& d : dirs) d.Normalize();
        // Candidates: the farthest points of the whole shape and of each
        // edge (ties along the first direction lie on edges), and the vertices.
        std::vector<Candidate> candidates;
        far_points(shape, dirs[0], candidates);
        TopTools_IndexedMapOfShape edges, vertices;
        TopExp::MapShapes(shape, TopAbs_EDGE, edges);
        TopExp::MapShapes(shape, TopAbs_VERTEX, vertices);
        for (int i = 1; i <= edges.Extent(); ++i) far_points(edges(i), dirs[0], candidates);
        for (int i = 1; i <= vertices.Extent(); ++i)
            candidates.push_back({BRep_Tool::Pnt(TopoDS::Vertex(vertices(i))), vertices(i)});
        if (candidates.empty()) return HM_ERR_GEOMETRY;
        const double tie = 1e-6 * std::max(1.0, host::distance_tolerance() * 100.0);
        size_t best = 0;
        for (size_t i = 1; i < candidates.size(); ++i)
            if (better(candidates[i].point, candidates[best].point, dirs, tie)) best = i;
        const Candidate& c = candidates[best];
        point[0] = c.point.X();
        point[1] = c.point.Y();
        point[2] = c.point.Z();
        *subentity = tag_of_support(object, c.support, c.point);
        return 0;
    });
}

int HM_MODL_ask_obj_dimensionality(tag_t object, double accuracy, int* dimensionality, double data[6]) {
    return host::guarded(__func__, [&]() -> int {
        if (!dimensionality || !data) return HM_ERR_NULL_POINTER;
        *dimensionality = 0;
        const host::Object* o = host::find(object);
        if (!o) return HM_ERR_INVALID_TAG;
        if (!(accuracy > 0.0)) return HM_ERR_BAD_ARGUMENT;
        const TopoDS_Shape shape = host::operand_shape(object);
        if (shape.IsNull()) return HM_ERR_WRONG_TYPE;
        for (int i = 0; i < 6; ++i) data[i] = 0.0;
        if (o->type == HM_point_type) return 0;
        const double tol = host::distance_tolerance();
        bool planar = true, first = true;
        gp_Pln plane;
        for (TopExp_Explorer ex(shape, TopAbs_FACE); ex.More() && planar; ex.Next()) {
            const TopoDS_Face& f = TopoDS::Face(ex.Current());
            GeomLib_IsPlanarSurface test(BRep_Tool::Surface(f), tol);
            if (!test.IsPlanar()) {
                planar = false;
                break;
            }
            const gp_Pln p = test.Plan();
            if (first) {
                plane = p;
                first = false;
            } else if (!p.Axis().IsParallel(plane.Axis(), 1e-9 + tol * 1e-3) || plane.Distance(p.Location()) > tol) {
                planar = false;
            }
        }
        if (first) {
            *dimensionality = 3;   // no faces: a curve or wire is not measured here
            return 0;
        }
        if (!planar) {
            *dimensionality = 3;
            return 0;
        }
        *dimensionality = 2;
        data[0] = plane.Location().X();
        data[1] = plane.Location().Y();
        data[2] = plane.Location().Z();
        data[3] = plane.Axis().Direction().X();
        data[4] = plane.Axis().Direction().Y();
        data[5] = plane.Axis().Direction().Z();
        return 0;
    });
}

int HM_MODL_ask_face_data(tag_t face, int* type, double point[3], double direction[3], double box[6],
                          double* radius, double* radius_data, int* normal_direction) {
    return host::guarded(__func__, [&]() -> int {
        if (!type || !point || !direction || !box || !radius || !radius_data || !normal_direction)
            return HM_ERR_NULL_POINTER;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        const host::Object* o = host::find_face(face);
        if (!o) return HM_ERR_WRONG_TYPE;
        const TopoDS_Face& f = TopoDS::Face(o->shape);
        BRepAdaptor_Surface s(f);
        *type = type_of_face(s);
        *radius = 0.0;
        *radius_data = 0.0;
        *normal_direction = f.Orientation() == TopAbs_REVERSED ? -1 : 1;
        double u0, u1, v0, v1;
        BRepTools::UVBounds(f, u0, u1, v0, v1);
        gp_Pnt mid;
        gp_Vec normal;
        BRepGProp_Face props(f);
        props.Normal(0.5 * (u0 + u1), 0.5 * (v0 + v1), mid, normal);   // oriented with the face
        if (normal.Magnitude() > 0.0) normal.Normalize();
        gp_Pnt at = mid;
        switch (s.GetType()) {
        case GeomAbs_Plane:
            at = s.Plane().Location();
            break;
        case GeomAbs_Sphere:
            at = s.Sphere().Location();
            *radius = s.Sphere().Radius();
            break;
        case GeomAbs_Cylinder:
            at = s.Cylinder().Location();
            *radius = s.Cylinder().Radius();
            break;
        default:
            break;
        }
        point[0] = at.X();
        point[1] = at.Y();
        point[2] = at.Z();
        direction[0] = normal.X();
        direction[1] = normal.Y();
        direction[2] = normal.Z();
        Bnd_Box b;
        BRepBndLib::Add(f, b);
        b.Get(box[0], box[1], box[2], box[3], box[4], box[5]);
        return 0;
    });
}

int HM_MODL_ask_face_uv_minmax(tag_t face, double uv[4]) {
    return host::guarded(__func__, [&]() -> int {
        if (!uv) return HM_ERR_NULL_POINTER;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        const host::Object* o = host::find_face(face);
        if (!o) return HM_ERR_WRONG_TYPE;
        BRepTools::UVBounds(TopoDS::Face(o->shape), uv[0], uv[1], uv[2], uv[3]);
        return 0;
    });
}

int HM_MODL_create_reverse_normal(tag_t sheet, tag_t* feature) {
    return host::guarded(__func__, [&]() -> int {
        if (!feature) return HM_ERR_NULL_POINTER;
        *feature = NULL_TAG;
        if (!host::find(sheet)) return HM_ERR_INVALID_TAG;
        host::Object* body = host::find_body(sheet);
        if (!body || !TopExp_Explorer(body->shape, TopAbs_FACE).More() ||
            TopExp_Explorer(body->shape, TopAbs_SOLID).More())
            return HM_ERR_WRONG_TYPE;
        const TopoDS_Shape reversed = body->shape.Reversed();
        host::replace_body_shape(sheet, reversed);
        *feature = host::create_feature("REVERSE_NORMAL", sheet).tag;
        return 0;
    });
}
