// Transformation of objects by the host's twelve-value matrix (moves and
// transformed copies, non-uniform scaling included), copies of objects and
// the mapping of geometry between absolute and a coordinate system.
#include "core/kernel_guard.h"
#include "belmorra.h"
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"

#include <BRepBuilderAPI_Copy.hxx>
#include <BRepBuilderAPI_GTransform.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Standard_Failure.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <gp_GTrsf.hxx>
#include <gp_Mat.hxx>
#include <gp_Trsf.hxx>

#include <cmath>
#include <memory>

using host::find;

namespace {

// p' = A p + t. When A is a rotation times a uniform scale (a mirror
// included) the kernel's own transformation keeps circles circles.
struct Affine {
    gp_Mat a;
    gp_XYZ t;
    bool similarity = false;
    gp_Trsf trsf;

    gp_Pnt apply(const gp_Pnt& p) const { return gp_Pnt(a * p.XYZ() + t); }
};

bool make_affine(const double m[12], Affine& f) {
    for (int i = 0; i < 12; ++i)
        if (!host::finite_value(m[i])) return false;
    f.a = gp_Mat(m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]);
    f.t = gp_XYZ(m[3], m[7], m[11]);
    const double det = f.a.Determinant();
    if (!(std::fabs(det) > 1.0e-300)) return false;
    const gp_Mat aat = f.a * f.a.Transposed();
    const double s2 = (aat(1, 1) + aat(2, 2) + aat(3, 3)) / 3.0;
    bool similar = s2 > 0.0;
    for (int i = 1; i <= 3 && similar; ++i)
        for (int j = 1; j <= 3 && similar; ++j)
            similar = std::fabs(aat(i, j) - (i == j ? s2 : 0.0)) <= 1.0e-12 * s2;
    if (similar) {
        try {
            f.trsf.SetValues(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11]);
            f.similarity = true;
        } catch (const Standard_Failure&) {
            f.similarity = false;
        }
    }
    return true;
}

Handle(Geom_Curve) transform_curve(const Handle(Geom_Curve)& c, const Affine& f) {
    if (f.similarity) return Handle(Geom_Curve)::DownCast(c->Transformed(f.trsf));
    Handle(Geom_Curve) basis = c;
    if (c->IsKind(STANDARD_TYPE(Geom_TrimmedCurve))) basis = Handle(Geom_TrimmedCurve)::DownCast(c)->BasisCurve();
    if (basis->IsKind(STANDARD_TYPE(Geom_Line))) {
        // Affine maps keep lines and the even spacing of their parameter.
        const gp_Pnt a = f.apply(c->Value(c->FirstParameter())), b = f.apply(c->Value(c->LastParameter()));
        const double length = a.Distance(b);
        if (!(length > 1.0e-12)) return nullptr;
        return new Geom_TrimmedCurve(new Geom_Line(a, gp_Dir(gp_Vec(a, b))), 0.0, length);
    }
    // Any other curve as a B-spline: an affine map carries its poles (and
    // keeps its weights), so the result is exact.
    Handle(Geom_BSplineCurve) bs = host::to_bspline(c);
    if (bs.IsNull()) return nullptr;
    for (int i = 1; i <= bs->NbPoles(); ++i) bs->SetPole(i, f.apply(bs->Pole(i)));
    return bs;
}

// Moves the object itself (its geometry replaced, never changed in place).
int transform_in_place(tag_t tag, const Affine& f) {
    host::Object* o = find(tag);
    if (!o) return HM_ERR_INVALID_TAG;
    try {
        if (o->type == HM_point_type) {
            const gp_Pnt p = f.apply(gp_Pnt(o->point[0], o->point[1], o->point[2]));
            o->point = {p.X(), p.Y(), p.Z()};
            return 0;
        }
        if (o->type == HM_plane_type || o->type == HM_datum_type) {
            Handle(Geom_Plane) plane = Handle(Geom_Plane)::DownCast(o->surface);
            if (plane.IsNull()) return HM_ERR_WRONG_TYPE;
            // Normals go with the inverse transpose.
            const gp_XYZ n = f.a.Inverted().Transposed() * gp_XYZ(plane->Axis().Direction().XYZ());
            o->surface = new Geom_Plane(f.apply(plane->Location()), gp_Dir(n));
            return 0;
        }
        if (o->type == HM_solid_type) {
            if (o->subtype != HM_solid_body_subtype || o->shape.IsNull()) return HM_ERR_WRONG_TYPE;
            std::unique_ptr<BRepBuilderAPI_ModifyShape> builder;
            if (f.similarity) {
                builder = std::make_unique<BRepBuilderAPI_Transform>(o->shape, f.trsf, true);
            } else {
                gp_GTrsf g;
                g.SetVectorialPart(f.a);
                g.SetTranslationPart(f.t);
                builder = std::make_unique<BRepBuilderAPI_GTransform>(o->shape, g, true);
            }
            if (!builder->IsDone()) return HM_ERR_GEOMETRY;
            // Faces and edges keep their tags: each takes its transformed shape.
            for (tag_t t : o->subtags)
                if (host::Object* sub = find(t)) sub->shape = builder->ModifiedShape(sub->shape);
            o->shape = builder->Shape();
            return 0;
        }
        if (!host::is_curve(*o) || o->type == HM_solid_type) return HM_ERR_WRONG_TYPE;
        Handle(Geom_Curve) c = transform_curve(o->curve, f);
        if (c.IsNull()) return HM_ERR_GEOMETRY;
        int type = 0, subtype = 0;
        host::classify_curve(c, type, subtype);
        o->curve = c;
        o->type = type;
        o->subtype = subtype;
        o->data.reset();   // a conic's or arc's record is read from its geometry again
        return 0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int set_layer(tag_t tag, int layer) {
    host::Object* o = find(tag);
    if (!o) return HM_ERR_INVALID_TAG;
    if (layer == -1) return 0;
    o->layer = layer == 0 ? 1 : layer;   // layer 1 is the work layer
    return 0;
}

// A transformed copy (copies[i] of hm5947) or the object moved.
int transform_one(tag_t object, const Affine& f, bool copy, int layer, tag_t* result) {
    *result = 0;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (!copy && o->type == HM_solid_type && o->subtype != HM_solid_body_subtype) return HM_ERR_WRONG_TYPE;
    tag_t target = object;
    if (copy) {
        target = VD_copy_object(object);
        if (!target) return HM_ERR_WRONG_TYPE;
    }
    if (int r = transform_in_place(target, f)) {
        if (copy) host::erase(target);
        return r;
    }
    set_layer(target, layer);
    *result = target;
    return 0;
}

int map_geometry(tag_t object, const double m[12], tag_t* mapped) {
    if (!mapped) return HM_ERR_NULL_POINTER;
    *mapped = 0;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    Affine f;
    if (!make_affine(m, f)) return HM_ERR_BAD_ARGUMENT;
    if (int r = transform_one(object, f, true, -1, mapped)) return r;
    // A mapped copy stands in for its original: it keeps what the user sees
    // of it (name, colour, layer, blank status).
    const host::Object* original = find(object);
    host::Object* copy = find(*mapped);
    if (original && copy) {
        copy->name = original->name;
        copy->colour = original->colour;
        copy->layer = original->layer;
        copy->blanked = original->blanked;
    }
    return 0;
}

}  // namespace

int hm5947(const double matrix[12], const tag_t* objects, int n_objects, int move_or_copy, int dest_layer,
           int trace_curves, tag_t* copies, tag_t* trace_group, int* status) {
    return host::guarded(__func__, [&]() -> int {
        (void)trace_curves;
        if (!status) return HM_ERR_NULL_POINTER;
        if (trace_group) *trace_group = 0;
        int& s = *status;
        s = 0;
        if (!matrix || (n_objects > 0 && (!objects || !copies))) return s = HM_ERR_NULL_POINTER;
        if (n_objects < 0 || (move_or_copy != 1 && move_or_copy != 2) || dest_layer < -1 || dest_layer > 256)
            return s = HM_ERR_BAD_ARGUMENT;
        if (!host::work_part_data()) return s = HM_ERR_NO_PART;
        Affine f;
        if (!make_affine(matrix, f)) return s = HM_ERR_BAD_ARGUMENT;
        for (int i = 0; i < n_objects; ++i) {
            int r = transform_one(objects[i], f, move_or_copy == 2, dest_layer, &copies[i]);
            if (r && s == 0) s = r;
        }
        return s;
    });
}

tag_t VD_copy_object(tag_t object) {
    return host::guarded_value<tag_t>(__func__, 0, [&]() -> tag_t {
        host::Object* o = find(object);
        if (!o || !host::work_part_data()) return 0;
        try {
            if (o->type == HM_solid_type) {
                if (o->shape.IsNull()) return 0;
                const int layer = o->layer, colour = o->colour;
                tag_t copy = 0;
                if (o->subtype == HM_solid_edge_subtype) {
                    Handle(Geom_Curve) c = host::curve_of(*o);
                    if (c.IsNull()) return 0;
                    copy = host::store_curve(c).tag;
                } else {
                    // A body copies into a body; a face into a sheet of its own.
                    BRepBuilderAPI_Copy duplicate(o->shape);
                    if (!duplicate.IsDone()) return 0;
                    copy = host::make_body(duplicate.Shape(), "BREP");
                }
                host::Object* c = find(copy);
                c->layer = layer;
                c->colour = colour;
                return copy;
            }
            switch (o->type) {
            case HM_point_type:
            case HM_line_type:
            case HM_circle_type:
            case HM_conic_type:
            case HM_spline_type:
            case HM_plane_type:
            case HM_datum_type:
            case HM_matrix_type:
                break;
            default:
                return 0;
            }
            host::Object source = *o;   // create() may not move it, but keep a copy
            host::Object& c = host::create(source.type, source.subtype);
            c.layer = source.layer;
            c.colour = source.colour;
            c.point = source.point;
            c.curve = source.curve;
            c.surface = source.surface;
            c.data = source.data;
            return c.tag;
        } catch (const Standard_Failure&) {
            return 0;
        }
    });
}

int VD_map_geom_csys2abs(tag_t object, const double origin[3], const double matrix[9], tag_t* mapped) {
    return host::guarded(__func__, [&]() -> int {
        if (!origin || !matrix || !mapped) return HM_ERR_NULL_POINTER;
        // p_abs = origin + M^T p.
        const double m[12] = {matrix[0], matrix[3], matrix[6], origin[0], matrix[1], matrix[4],
                              matrix[7], origin[1], matrix[2], matrix[5], matrix[8], origin[2]};
        return map_geometry(object, m, mapped);
    });
}

int VD_map_geom_abs2csys(tag_t object, const double origin[3], const double matrix[9], tag_t* mapped) {
    return host::guarded(__func__, [&]() -> int {
        if (!origin || !matrix || !mapped) return HM_ERR_NULL_POINTER;
        // p_csys = M (p - origin).
        double t[3];
        for (int i = 0; i < 3; ++i)
            t[i] = -(matrix[3 * i] * origin[0] + matrix[3 * i + 1] * origin[1] + matrix[3 * i + 2] * origin[2]);
        const double m[12] = {matrix[0], matrix[1], matrix[2], t[0], matrix[3], matrix[4],
                              matrix[5], t[1],      matrix[6], matrix[7], matrix[8], t[2]};
        return map_geometry(object, m, mapped);
    });
}

int hm5940(const double orientation[9], double matrix[12]) {
    if (!orientation || !matrix) return HM_ERR_NULL_POINTER;
    // Column j of the rotation is axis j of the orientation, so that the
    // absolute axis j is carried onto it.
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) matrix[4 * i + j] = orientation[3 * j + i];
        matrix[4 * i + 3] = 0.0;
    }
    return 0;
}
