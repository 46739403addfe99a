// Booleans of bodies: the common region kept in place, the difference of two
// bodies as new bodies, and the solid kernel's Booleans (one partition; new
// bodies, the inputs left as they are) with its mass properties.
#include "geometry/booleans.h"

#include "ambrith.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepGProp.hxx>
#include <BRep_Builder.hxx>
#include <GProp_GProps.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Shell.hxx>

#include <cstring>
#include <vector>

namespace host {
namespace {

// Groups the sub-shapes of kind `what` that share a sub-shape of kind `via`.
std::vector<std::vector<TopoDS_Shape>> connected(const TopoDS_Shape& shape, TopAbs_ShapeEnum what,
                                                 TopAbs_ShapeEnum via, bool loose_only) {
    TopTools_IndexedMapOfShape items;
    if (loose_only) {
        for (TopExp_Explorer ex(shape, what, TopAbs_FACE); ex.More(); ex.Next()) items.Add(ex.Current());
    } else {
        TopExp::MapShapes(shape, what, items);
    }
    TopTools_IndexedDataMapOfShapeListOfShape ancestors;
    TopExp::MapShapesAndAncestors(shape, via, what, ancestors);
    std::vector<bool> seen(items.Extent() + 1, false);
    std::vector<std::vector<TopoDS_Shape>> groups;
    for (int first = 1; first <= items.Extent(); ++first) {
        if (seen[first]) continue;
        seen[first] = true;
        std::vector<int> stack{first};
        std::vector<TopoDS_Shape> group;
        while (!stack.empty()) {
            const TopoDS_Shape item = items(stack.back());
            stack.pop_back();
            group.push_back(item);
            for (TopExp_Explorer ex(item, via); ex.More(); ex.Next()) {
                if (!ancestors.Contains(ex.Current())) continue;
                for (const TopoDS_Shape& n : ancestors.FindFromKey(ex.Current())) {
                    const int i = items.FindIndex(n);
                    if (i > 0 && !seen[i]) {
                        seen[i] = true;
                        stack.push_back(i);
                    }
                }
            }
        }
        groups.push_back(group);
    }
    return groups;
}

TopoDS_Shape sheet_of(const std::vector<TopoDS_Shape>& faces) {
    if (faces.size() == 1) return faces[0];
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    for (const TopoDS_Shape& f : faces) builder.Add(shell, f);
    return shell;
}

std::vector<tag_t> new_bodies(const std::vector<TopoDS_Shape>& pieces, const char* kind) {
    std::vector<tag_t> made;
    for (const TopoDS_Shape& piece : pieces) made.push_back(make_body(piece, kind));
    return made;
}

// A body operand of the kernel's Booleans: a body object (70/0).
int body_shape(tag_t tag, TopoDS_Shape& shape) {
    if (!find(tag)) return HM_ERR_INVALID_TAG;
    Object* body = find_body(tag);
    if (!body) return HM_ERR_WRONG_TYPE;
    shape = body->shape;
    return 0;
}

int kernel_boolean(const char* entry, BooleanKind kind, tag_t target, int tool_count, const tag_t* tools,
                   int* body_count, tag_t** bodies) {
    return guarded(entry, [&]() -> int {
        if (!body_count || !bodies || (tool_count > 0 && !tools)) return HM_ERR_NULL_POINTER;
        *body_count = 0;
        *bodies = nullptr;
        if (tool_count != 1) return HM_ERR_BAD_ARGUMENT;
        TopoDS_Shape a, b;
        if (const int status = body_shape(target, a); status != 0) return status;
        if (const int status = body_shape(tools[0], b); status != 0) return status;
        if (target == tools[0]) return HM_ERR_BAD_ARGUMENT;
        const TopoDS_Shape result = boolean_of(a, b, kind);
        if (result.IsNull()) return HM_ERR_GEOMETRY;
        const std::vector<tag_t> made = new_bodies(pieces_of(result), "BOOLEAN");
        *body_count = static_cast<int>(made.size());
        *bodies = tag_array(made);
        return 0;
    });
}

}  // namespace

bool has_solid(const TopoDS_Shape& shape) {
    return !shape.IsNull() && TopExp_Explorer(shape, TopAbs_SOLID).More();
}

bool has_face(const TopoDS_Shape& shape) { return !shape.IsNull() && TopExp_Explorer(shape, TopAbs_FACE).More(); }

namespace {

// Runs the kernel's Boolean with the part's distance tolerance as its fuzzy
// value: sheets on one surface up to rounding (views on a plane bounded by
// splines of metre size) meet where they overlap, as the host's "same place"
// has it everywhere else.
template <typename Operation>
TopoDS_Shape run_boolean(const TopoDS_Shape& target, const TopoDS_Shape& tool) {
    double tolerance = 0.0;
    if (HM_MODL_ask_distance_tolerance(&tolerance) != 0 || !(tolerance > 0.0)) tolerance = 0.0;
    TopTools_ListOfShape arguments, tools;
    arguments.Append(target);
    tools.Append(tool);
    Operation op;
    op.SetArguments(arguments);
    op.SetTools(tools);
    op.SetFuzzyValue(tolerance);
    op.Build();
    if (!op.IsDone() || op.HasErrors()) return TopoDS_Shape();
    return op.Shape();
}

}  // namespace

TopoDS_Shape boolean_of(const TopoDS_Shape& target, const TopoDS_Shape& tool, BooleanKind kind) {
    switch (kind) {
    case BooleanKind::unite: return run_boolean<BRepAlgoAPI_Fuse>(target, tool);
    case BooleanKind::subtract: return run_boolean<BRepAlgoAPI_Cut>(target, tool);
    case BooleanKind::intersect: return run_boolean<BRepAlgoAPI_Common>(target, tool);
    }
    return TopoDS_Shape();
}

std::vector<TopoDS_Shape> pieces_of(const TopoDS_Shape& shape) {
    std::vector<TopoDS_Shape> pieces;
    if (shape.IsNull()) return pieces;
    for (TopExp_Explorer ex(shape, TopAbs_SOLID); ex.More(); ex.Next()) pieces.push_back(ex.Current());
    // Faces outside solids.
    TopoDS_Compound loose_faces;
    BRep_Builder builder;
    builder.MakeCompound(loose_faces);
    bool any_face = false;
    for (TopExp_Explorer ex(shape, TopAbs_FACE, TopAbs_SOLID); ex.More(); ex.Next()) {
        builder.Add(loose_faces, ex.Current());
        any_face = true;
    }
    if (any_face)
        for (const auto& group : connected(loose_faces, TopAbs_FACE, TopAbs_EDGE, false))
            pieces.push_back(sheet_of(group));
    // Edges outside faces.
    TopoDS_Compound loose_edges;
    builder.MakeCompound(loose_edges);
    bool any_edge = false;
    for (TopExp_Explorer ex(shape, TopAbs_EDGE, TopAbs_FACE); ex.More(); ex.Next()) {
        builder.Add(loose_edges, ex.Current());
        any_edge = true;
    }
    if (any_edge)
        for (const auto& group : connected(loose_edges, TopAbs_EDGE, TopAbs_VERTEX, false)) {
            TopoDS_Compound wire;
            builder.MakeCompound(wire);
            for (const TopoDS_Shape& e : group) builder.Add(wire, e);
            pieces.push_back(wire);
        }
    return pieces;
}

namespace {
// The target becomes the pieces of its Boolean with the tool (one body) and
// the tool is consumed; HM_ERR_GEOMETRY, nothing changed, when no face or
// solid is left.
int boolean_in_place(const char* entry, BooleanKind kind, tag_t target, tag_t tool, int* piece_count) {
    return guarded(entry, [&]() -> int {
        Object* a = find_body(target);
        Object* b = find_body(tool);
        if (!a || !b) return HM_ERR_WRONG_TYPE;
        const TopoDS_Shape result = boolean_of(a->shape, b->shape, kind);
        if (!has_face(result) && !has_solid(result)) return HM_ERR_GEOMETRY;
        const std::vector<TopoDS_Shape> pieces = pieces_of(result);
        if (pieces.empty()) return HM_ERR_GEOMETRY;
        TopoDS_Shape kept = pieces[0];
        if (pieces.size() > 1) {
            TopoDS_Compound all;
            BRep_Builder builder;
            builder.MakeCompound(all);
            for (const TopoDS_Shape& p : pieces) builder.Add(all, p);
            kept = all;
        }
        replace_body_shape(target, kept);
        erase(tool);
        if (piece_count) *piece_count = static_cast<int>(pieces.size());
        return 0;
    });
}
}  // namespace

int intersect_in_place(tag_t target, tag_t tool) {
    return boolean_in_place("HM_MODL_operations", BooleanKind::intersect, target, tool, nullptr);
}

int subtract_in_place(tag_t target, tag_t tool, int* piece_count) {
    return boolean_in_place("hm6520_", BooleanKind::subtract, target, tool, piece_count);
}

}  // namespace host

int HM_MODL_subtract_bodies(tag_t target, tag_t tool, int* count, tag_t** bodies) {
    return host::guarded(__func__, [&]() -> int {
        if (!count || !bodies) return HM_ERR_NULL_POINTER;
        *count = 0;
        *bodies = nullptr;
        TopoDS_Shape a, b;
        if (!host::find(target) || !host::find(tool)) return HM_ERR_INVALID_TAG;
        host::Object* ta = host::find_body(target);
        host::Object* tb = host::find_body(tool);
        if (!ta || !tb) return HM_ERR_WRONG_TYPE;
        if (target == tool) return HM_ERR_BAD_ARGUMENT;
        const TopoDS_Shape result = host::boolean_of(ta->shape, tb->shape, host::BooleanKind::subtract);
        if (result.IsNull()) return HM_ERR_GEOMETRY;
        std::vector<TopoDS_Shape> pieces;
        for (const TopoDS_Shape& p : host::pieces_of(result))
            if (host::has_face(p)) pieces.push_back(p);
        std::vector<tag_t> made;
        for (const TopoDS_Shape& p : pieces) made.push_back(host::make_body(p, "SUBTRACT"));
        *count = static_cast<int>(made.size());
        *bodies = host::tag_array(made);
        return 0;
    });
}

int GQ_BODY_unite_bodies(tag_t target, int tool_count, const tag_t* tools, int* body_count, tag_t** bodies) {
    return host::kernel_boolean(__func__, host::BooleanKind::unite, target, tool_count, tools, body_count, bodies);
}

int GQ_BODY_subtract_bodies(tag_t target, int tool_count, const tag_t* tools, int* body_count, tag_t** bodies) {
    return host::kernel_boolean(__func__, host::BooleanKind::subtract, target, tool_count, tools, body_count,
                                bodies);
}

int GQ_BODY_intersect_bodies(tag_t target, int tool_count, const tag_t* tools, int* body_count, tag_t** bodies) {
    return host::kernel_boolean(__func__, host::BooleanKind::intersect, target, tool_count, tools, body_count,
                                bodies);
}

int GQ_TOPOL_eval_mass_props(int count, const tag_t* topols, double accuracy, int option_count, const int* options,
                             double* amount, double* mass, double c_of_g[3], double* periphery) {
    return host::guarded(__func__, [&]() -> int {
        if (!topols || !amount || (option_count > 0 && !options)) return HM_ERR_NULL_POINTER;
        if (count < 1 || !(accuracy > 0.0) || option_count < 0) return HM_ERR_BAD_ARGUMENT;
        GProp_GProps all;
        double edges_length = 0.0;
        for (int i = 0; i < count; ++i) {
            TopoDS_Shape shape;
            if (const int status = host::body_shape(topols[i], shape); status != 0) return status;
            GProp_GProps one;
            if (host::has_solid(shape))
                BRepGProp::VolumeProperties(shape, one, 1.0e-9);
            else
                BRepGProp::SurfaceProperties(shape, one, 1.0e-9);
            all.Add(one);
            GProp_GProps line;
            BRepGProp::LinearProperties(shape, line);
            edges_length += line.Mass();
        }
        *amount = all.Mass();
        if (mass) *mass = all.Mass();
        if (c_of_g) {
            const gp_Pnt c = all.Mass() > 0.0 ? all.CentreOfMass() : gp_Pnt(0, 0, 0);
            c_of_g[0] = c.X();
            c_of_g[1] = c.Y();
            c_of_g[2] = c.Z();
        }
        if (periphery) *periphery = edges_length;
        return 0;
    });
}

int ES_solid_ask_brelvic_tag(tag_t body, tag_t* kernel_body) {
    if (!kernel_body) return HM_ERR_NULL_POINTER;
    *kernel_body = NULL_TAG;
    if (!host::find(body)) return HM_ERR_INVALID_TAG;
    if (!host::find_body(body)) return HM_ERR_WRONG_TYPE;
    *kernel_body = body;
    return 0;
}

int GQ_ENTITY_ask_partition(tag_t entity, tag_t* partition) {
    if (!partition) return HM_ERR_NULL_POINTER;
    *partition = NULL_TAG;
    if (!host::find(entity)) return HM_ERR_INVALID_TAG;
    *partition = GQ_THE_PARTITION;
    return 0;
}

int GQ_ENTITY_copy(tag_t entity, tag_t* copy) {
    return host::guarded(__func__, [&]() -> int {
        if (!copy) return HM_ERR_NULL_POINTER;
        *copy = NULL_TAG;
        TopoDS_Shape shape;
        if (const int status = host::body_shape(entity, shape); status != 0) return status;
        *copy = host::make_body(shape, "COPY");
        return 0;
    });
}

int GQ_BODY_change_partition(tag_t body, tag_t partition) {
    if (!host::find(body)) return HM_ERR_INVALID_TAG;
    if (!host::find_body(body)) return HM_ERR_WRONG_TYPE;
    return partition == GQ_THE_PARTITION ? 0 : HM_ERR_BAD_ARGUMENT;
}
