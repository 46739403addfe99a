// Faces extracted as sheets, and sewing sheets into one.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"

#include "omvra.h"
#include "ostrade.h"

#include <BRepBuilderAPI_Copy.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS_Iterator.hxx>

#include <algorithm>
#include <cmath>
#include <vector>

int MODL_extract_face(tag_t face, tag_t* sheet) {
    return host::guarded(__func__, [&]() -> int {
        if (!sheet) return HM_ERR_NULL_POINTER;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        host::Object* f = host::find_face(face);
        if (!f) return HM_ERR_WRONG_TYPE;
        TopoDS_Shape copy = BRepBuilderAPI_Copy(f->shape).Shape();
        *sheet = host::make_body(copy, "EXTRACT_FACE");
        return 0;
    });
}

namespace {
// The connected pieces of a sewing result: the members of a compound, or the
// shape itself.
std::vector<TopoDS_Shape> pieces_of(const TopoDS_Shape& shape) {
    std::vector<TopoDS_Shape> pieces;
    if (shape.ShapeType() == TopAbs_COMPOUND) {
        for (TopoDS_Iterator it(shape); it.More(); it.Next()) pieces.push_back(it.Value());
    } else {
        pieces.push_back(shape);
    }
    return pieces;
}
}  // namespace

int HM_MODL_create_sew(int option, int target_count, const tag_t* targets, int tool_count, const tag_t* tools,
                       double tolerance, int body_type, hm_list_p_t* disjoint, tag_t* feature) {
    return host::guarded(__func__, [&]() -> int {
        if (!targets || !disjoint || !feature || (tool_count > 0 && !tools)) return HM_ERR_NULL_POINTER;
        if (option != 0 || body_type != 0 || target_count != 1 || tool_count < 0) return HM_ERR_BAD_ARGUMENT;
        if (!(tolerance > 0.0) || !host::finite_value(tolerance)) return HM_ERR_BAD_ARGUMENT;
        std::vector<tag_t> bodies{targets[0]};
        bodies.insert(bodies.end(), tools, tools + tool_count);
        for (size_t i = 0; i < bodies.size(); ++i) {
            if (!host::find(bodies[i])) return HM_ERR_INVALID_TAG;
            if (!host::find_body(bodies[i])) return HM_ERR_WRONG_TYPE;
            if (std::count(bodies.begin(), bodies.end(), bodies[i]) > 1) return HM_ERR_BAD_ARGUMENT;
        }
        const tag_t target = bodies[0];
        std::vector<TopoDS_Shape> pieces;
        size_t target_piece = 0;
        BRepBuilderAPI_Sewing sewing(tolerance);
        TopTools_IndexedMapOfShape target_faces;
        TopExp::MapShapes(host::find(target)->shape, TopAbs_FACE, target_faces);
        if (target_faces.Extent() == 0) return HM_ERR_WRONG_TYPE;
        for (tag_t b : bodies) sewing.Add(host::find(b)->shape);
        sewing.Perform();
        const TopoDS_Shape sewn = sewing.SewedShape();
        if (sewn.IsNull()) return HM_ERR_GEOMETRY;
        pieces = pieces_of(sewn);
        // The sewn sheet is the piece that holds the target's first face.
        TopoDS_Shape first = target_faces(1);
        if (sewing.IsModified(first)) first = sewing.Modified(first);
        target_piece = pieces.size();
        for (size_t i = 0; i < pieces.size() && target_piece == pieces.size(); ++i) {
            TopTools_IndexedMapOfShape faces;
            TopExp::MapShapes(pieces[i], TopAbs_FACE, faces);
            if (faces.Contains(first)) target_piece = i;
        }
        if (target_piece == pieces.size()) return HM_ERR_GEOMETRY;
        hm_list_p_t list = nullptr;
        if (int r = HM_MODL_create_list(&list)) return r;
        host::replace_body_shape(target, pieces[target_piece]);
        for (size_t i = 1; i < bodies.size(); ++i) host::erase(bodies[i]);
        for (size_t i = 0; i < pieces.size(); ++i)
            if (i != target_piece) HM_MODL_put_list_item(list, host::make_body(pieces[i], "SEW"));
        *feature = host::create_feature("SEW", target).tag;
        *disjoint = list;
        return 0;
    });
}
