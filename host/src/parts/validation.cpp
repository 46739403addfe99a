// The validation-application core: checkers made by plug-ins, persistent
// checker objects in the work part and copies of their details.
#include "core/model.h"
#include "omvra.h"
#include "quillon.h"
#include "quorsel.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <string>
#include <vector>

namespace {

using host::find;
using host::model;

// Host-internal object kind of a persistent checker object.
constexpr int kCheckerObjectType = 1010;

// What a persistent checker object keeps (a copyable value, as undo needs).
struct CheckerRecord {
    std::string class_name;
    std::string application;
    std::string name;
    std::string parameters;
};

// Checkers handed out by the plug-in belong to the host for the life of the
// process: the texts live beside the record that points into them.
struct OwnedChecker {
    CheckerRecord texts;
    VALIDATION_checker_object_t record{};
};
std::list<OwnedChecker>& owned_checkers() {
    static std::list<OwnedChecker> checkers;
    return checkers;
}

bool is_owned(const VALIDATION_checker_object_t* checker) {
    for (const OwnedChecker& c : owned_checkers())
        if (&c.record == checker) return true;
    return false;
}

const CheckerRecord* checker_of(tag_t object) {
    host::Object* o = find(object, kCheckerObjectType);
    return o ? std::any_cast<CheckerRecord>(&o->data) : nullptr;
}

}  // namespace

int VALIDATION_APPLICATION_plugin(const VALIDATION_APPLICATION_description_t* description, const char* application,
                                  const char* checker_name, const char* parameters, bool persistent,
                                  VALIDATION_checker_object_t** checker) {
    if (!checker) return HM_ERR_NULL_POINTER;
    *checker = nullptr;
    if (!description || !application || !checker_name || !parameters) return HM_ERR_NULL_POINTER;
    const std::string class_name(description->name,
                                 strnlen(description->name, sizeof description->name));
    if (class_name.empty() || checker_name[0] == '\0') return HM_ERR_BAD_ARGUMENT;
    CheckerRecord texts{class_name, application, checker_name, parameters};
    tag_t object = 0;
    if (persistent) {
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        host::Object& o = host::create(kCheckerObjectType, 0);
        o.name = checker_name;
        o.data = texts;
        object = o.tag;
    }
    OwnedChecker& c = owned_checkers().emplace_back();
    c.texts = std::move(texts);
    c.record.name = c.texts.name.data();
    c.record.class_name = c.texts.class_name.data();
    c.record.application = c.texts.application.data();
    c.record.parameters = c.texts.parameters.data();
    c.record.object = object;
    *checker = &c.record;
    return 0;
}

int VALIDATION_APPLICATION_ask_all_persistent_app_objects(const char* application, int* count, tag_t** objects) {
    if (!application || !count || !objects) return HM_ERR_NULL_POINTER;
    std::vector<tag_t> found;
    for (const auto& [tag, o] : model().objects) {
        if (o.status != HM_OBJ_ALIVE || o.type != kCheckerObjectType) continue;
        const CheckerRecord* r = std::any_cast<CheckerRecord>(&o.data);
        if (r && r->application == application) found.push_back(tag);
    }
    *count = static_cast<int>(found.size());
    *objects = host::tag_array(found);
    return 0;
}

int VALIDATION_APPLICATION_ask_persistent_checker_detail(tag_t object, VALIDATION_checker_object_t** detail) {
    if (!detail) return HM_ERR_NULL_POINTER;
    *detail = nullptr;
    if (!find(object)) return HM_ERR_INVALID_TAG;
    const CheckerRecord* r = checker_of(object);
    if (!r) return HM_ERR_WRONG_TYPE;
    auto* d = static_cast<VALIDATION_checker_object_t*>(SM_calloc(1, sizeof(VALIDATION_checker_object_t)));
    d->name = SM_string_copy(r->name.c_str());
    d->class_name = SM_string_copy(r->class_name.c_str());
    d->application = SM_string_copy(r->application.c_str());
    d->parameters = SM_string_copy(r->parameters.c_str());
    d->object = object;
    *detail = d;
    return 0;
}

void VALIDATION_APPLICATION_free_app_memory(VALIDATION_checker_object_t* detail) {
    if (!detail || is_owned(detail)) return;
    SM_free(detail->name);
    SM_free(detail->class_name);
    SM_free(detail->application);
    SM_free(detail->parameters);
    SM_free(detail);
}
