// Mass properties of solid bodies: volume and centre from the geometry
// kernel, mass from the part's density, in kilograms or pounds.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "core/model.h"
#include "omvra.h"

#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopExp_Explorer.hxx>

#include <cmath>

namespace {

constexpr double kPoundsPerKilogram = 1.0 / 0.45359237;
constexpr double kCubicMetresPerCubicMillimetre = 1.0e-9;
constexpr double kCubicMetresPerCubicInch = 0.0254 * 0.0254 * 0.0254;

bool has_solid(const TopoDS_Shape& shape) {
    return !shape.IsNull() && TopExp_Explorer(shape, TopAbs_SOLID).More();
}

}  // namespace

int HM_WEIGHT_estab_solid_props(tag_t body, double accuracy, int units, HM_WEIGHT_properties_t* props) {
    return host::guarded(__func__, [&]() -> int {
        if (!props) return HM_ERR_NULL_POINTER;
        if (units != HM_WEIGHT_KILOGRAMS && units != HM_WEIGHT_POUNDS) return HM_ERR_BAD_ARGUMENT;
        if (!(accuracy > 0.0 && accuracy <= 1.0)) return HM_ERR_BAD_ARGUMENT;
        const host::Object* o = host::find(body);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type != HM_solid_type || o->subtype != HM_solid_body_subtype || !has_solid(o->shape))
            return HM_ERR_WRONG_TYPE;
        const host::PartData* part = host::part_data(o->part);
        GProp_GProps g;
        // Relative accuracy of the kernel's adaptive integration.
        BRepGProp::VolumeProperties(o->shape, g, std::max(1.0 - accuracy, 1.0e-9));
        const double volume = g.Mass();
        if (!(volume > 0.0)) return HM_ERR_GEOMETRY;
        const bool inches = part && part->inches;
        const double density = part ? part->density : 7850.0;
        double kilograms = density * volume * (inches ? kCubicMetresPerCubicInch : kCubicMetresPerCubicMillimetre);
        const gp_Pnt c = g.CentreOfMass();
        HM_WEIGHT_properties_t p{};
        p.mass = units == HM_WEIGHT_KILOGRAMS ? kilograms : kilograms * kPoundsPerKilogram;
        p.volume = volume;
        p.center_of_mass[0] = c.X();
        p.center_of_mass[1] = c.Y();
        p.center_of_mass[2] = c.Z();
        p.units = units;
        *props = p;
        return 0;
    });
}

int HM_WEIGHT_sum_props(int count, const HM_WEIGHT_properties_t* props, HM_WEIGHT_properties_t* sum) {
    if (!props || !sum) return HM_ERR_NULL_POINTER;
    if (count <= 0) return HM_ERR_BAD_ARGUMENT;
    HM_WEIGHT_properties_t s{};
    s.units = props[0].units;
    double moment[3] = {0, 0, 0};
    for (int i = 0; i < count; ++i) {
        if (props[i].units != s.units || !host::finite_value(props[i].mass) || props[i].mass < 0.0 ||
            !host::finite_values(props[i].center_of_mass, 3))
            return HM_ERR_BAD_ARGUMENT;
        s.mass += props[i].mass;
        s.volume += props[i].volume;
        for (int k = 0; k < 3; ++k) moment[k] += props[i].mass * props[i].center_of_mass[k];
    }
    if (!(s.mass > 0.0)) return HM_ERR_BAD_ARGUMENT;
    for (int k = 0; k < 3; ++k) s.center_of_mass[k] = moment[k] / s.mass;
    *sum = s;
    return 0;
}
