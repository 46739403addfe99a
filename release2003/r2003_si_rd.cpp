// Two exports of the 2003 release's stone impingement and reflection
// analysis: the layer of a list's objects, and the colour, layer and name of
// the objects of a joined reflection feature.
#include "release2003/si_rd.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "omvra.h"

namespace {

namespace detail = carvell::detail;

constexpr int kRefused = -1;

// Colour, layer and name of one object; the first failing setting's code.
int set_attributes(tag_t object, int colour, int layer, const char* name) {
    if (int status = HM_OBJ_set_color(object, colour)) return status;
    if (int status = HM_OBJ_set_layer(object, layer)) return status;
    return HM_OBJ_set_name(object, name);
}

}  // namespace

int HM_VD_SI_set_layer_of_list_objects(hm_list_p_t list, int layer) {
    for (tag_t object : detail::list_items(list))
        if (int status = HM_OBJ_set_layer(object, layer)) return status;
    return 0;
}

int HM_VD_RD_set_join_attribute(tag_t feature, int colour, int layer, const char* name) {
    if (!name || !detail::is_of_kind(feature, HM_feature_type)) return kRefused;
    detail::SmBlock<tag_t> objects;
    int count = 0;
    if (int status = HM_MODL_ask_feat_object(feature, &count, objects.out())) return status;
    // A setting that fails part-way leaves every object as it was.
    detail::UndoScope scope(UNDO_invisible, nullptr, detail::UndoScope::RollBack::quiet);
    for (int i = 0; i < count; ++i)
        if (int status = set_attributes(objects[i], colour, layer, name)) return status;
    scope.keep();
    return 0;
}
