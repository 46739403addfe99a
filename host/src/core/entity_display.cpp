// Entity-level services of the part's objects as the modelling internals
// offer them: colour, layer and name set by value, the part-utility touch of
// a new object and the debug-flag query.
#include "elvosk.h"
#include "morvish.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"

#include <string>

int ES_set_object_color(tag_t object, unsigned int colour) {
    return HM_OBJ_set_color(object, static_cast<int>(colour));
}

int ES_set_object_layer(tag_t object, unsigned int layer) {
    if (layer < 1 || layer > 256) return HM_ERR_BAD_ARGUMENT;
    return HM_OBJ_set_layer(object, static_cast<int>(layer));
}

int ES_add_entity_name(tag_t object, const char* name, int length) {
    if (!name) return HM_ERR_NULL_POINTER;
    if (length < 0) return HM_ERR_BAD_ARGUMENT;
    std::string text(name, static_cast<size_t>(length));
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return HM_OBJ_set_name(object, text.c_str());
}

int at020(tag_t object) { return HM_OBJ_ask_status(object) == HM_OBJ_ALIVE ? 0 : HM_ERR_INVALID_TAG; }
