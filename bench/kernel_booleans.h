// The geometry kernel's Booleans as the host runs its own: with the part's
// distance tolerance as the kernel's fuzzy value, so that a baseline does
// the same Boolean work as the host call it stands beside.
#ifndef CARVELL_BENCH_KERNEL_BOOLEANS_H
#define CARVELL_BENCH_KERNEL_BOOLEANS_H

#include "omvra.h"

#include <TopTools_ListOfShape.hxx>
#include <TopoDS_Shape.hxx>

namespace bench_kernel {

// Operation is BRepAlgoAPI_Fuse, BRepAlgoAPI_Cut or BRepAlgoAPI_Common. A
// null shape when the kernel fails.
template <typename Operation>
TopoDS_Shape boolean(const TopoDS_Shape& target, const TopoDS_Shape& tool) {
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
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

}  // namespace bench_kernel

#endif
