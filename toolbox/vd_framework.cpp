// Framework services of the vehicle-design applications: export of a part's
// objects into another part's file, the work part's component names, the
// minimum distance between two objects, persistent handles and the
// validation application's checker objects.
#include "brindor.h"
#include "carvell_session.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "quorsel.h"
#include "ulvarth.h"

#include <cstring>

namespace {

// Marks components made for motion playback; they are not listed.
constexpr const char* kRollMovingCopy = "ROLL_MOVING_COMP_COPY";

// Room for an object's name when testing it for the playback marker.
constexpr size_t kNameBufferSize = 1024;

// The part to export from or to: the given one when its file is loaded
// fully, otherwise the part that opening its file gives. Runs inside the
// bracket; the data-management name is asked before it opens. A failed open
// answers 0 and its host code in *failure, its load status freed.
tag_t loaded_part(tag_t part, const char* file_name, int* failure) {
    char vorsa_name[HM_MAX_FSPEC_BUFSIZE] = "";
    VD_ask_vorsa_name(file_name, vorsa_name, sizeof vorsa_name);
    VD_enter_omvra();
    if (HM_PART_is_loaded(vorsa_name) == 1) return part;
    tag_t opened = 0;
    HM_PART_load_status_t status{};
    int result = HM_PART_open_quiet(file_name, &opened, &status);
    if (status.failed) {
        for (int i = 0; i < status.n_parts; ++i) SM_free(status.file_names[i]);
        SM_free(status.file_names);
        SM_free(status.statuses);
        if (result == 0) result = HM_ERR_FILE;
    }
    if (result != 0 || opened == 0) {
        *failure = result ? result : HM_ERR_FILE;
        return 0;
    }
    return opened;
}

// Keeps the first host failure of a sequence of calls.
void note(int* failure, int result) {
    if (*failure == 0 && result != 0) *failure = result;
}

}  // namespace

int VD_export_all_objs(tag_t source_part, tag_t target_part, int type, int subtype) {
    char source_file[HM_MAX_FSPEC_BUFSIZE] = "";
    char target_file[HM_MAX_FSPEC_BUFSIZE] = "";
    VD_enter_omvra();
    HM_PART_ask_part_name(source_part, source_file, sizeof source_file);
    HM_PART_ask_part_name(target_part, target_file, sizeof target_file);
    VD_exit_omvra();

    int failure = 0;
    const tag_t source = loaded_part(source_part, source_file, &failure);
    VD_exit_omvra();
    if (!source) return failure;
    const tag_t target = loaded_part(target_part, target_file, &failure);
    if (!target) {
        VD_exit_omvra();
        return failure;
    }
    int source_units = 0, target_units = 0;
    HM_PART_ask_units(source, &source_units);
    HM_PART_ask_units(target, &target_units);
    VD_exit_omvra();
    if (source_units != target_units) return 2;

    VD_enter_omvra();
    const HM_PART_export_options_t options{false, 2, 0};
    tag_t* objects = nullptr;
    int count = 0;
    for (tag_t object = HM_OBJ_cycle_objs_in_part(source, type, 0); object;
         object = HM_OBJ_cycle_objs_in_part(source, type, object)) {
        int object_type = 0, object_subtype = 0;
        HM_OBJ_ask_type_and_subtype(object, &object_type, &object_subtype);
        if (object_subtype != subtype) continue;
        if (HM_ASSEM_is_occurrence(object)) {
            // An occurrence goes out as its prototype, from its own part.
            const tag_t prototype = HM_ASSEM_ask_prototype_of_occ(object);
            tag_t owner = 0;
            note(&failure, HM_OBJ_ask_owning_part(prototype, &owner));
            note(&failure, HM_PART_set_display_part(owner));
            note(&failure, HM_PART_export_with_options(target_file, 1, &prototype, &options));
            continue;
        }
        void* grown = count == 0 ? SM_alloc(sizeof(tag_t)) : SM_realloc(objects, (count + 1) * sizeof(tag_t));
        if (!grown) continue;
        objects = static_cast<tag_t*>(grown);
        objects[count++] = object;
    }
    note(&failure, HM_PART_set_display_part(source));
    if (count >= 1) note(&failure, HM_PART_export_with_options(target_file, count, objects, &options));
    note(&failure, HM_PART_set_display_part(target));
    VD_exit_omvra();
    SM_free(objects);
    return failure;
}

int VD_ask_all_component_name(tag_t** components, char*** names, int* count, int mode) {
    if (mode != 0 && mode != 1) {
        if (components) *components = nullptr;
        if (names) *names = nullptr;
        return 0;
    }
    VD_enter_omvra();
    const tag_t work_part = HM_ASSEM_ask_work_part();
    char name[kNameBufferSize];

    int listed = 0;
    for (tag_t c = HM_OBJ_cycle_objs_in_part(work_part, HM_component_type, 0); c;
         c = HM_OBJ_cycle_objs_in_part(work_part, HM_component_type, c)) {
        name[0] = '\0';
        HM_OBJ_ask_name(c, name, sizeof name);
        if (name[0] == '\0' || !std::strstr(name, kRollMovingCopy)) ++listed;
    }

    auto* tags = static_cast<tag_t*>(SM_alloc(listed * sizeof(tag_t)));
    auto* texts = static_cast<char**>(SM_alloc(listed * sizeof(char*)));
    int n = 0;
    for (tag_t c = HM_OBJ_cycle_objs_in_part(work_part, HM_component_type, 0); c && n < listed;
         c = HM_OBJ_cycle_objs_in_part(work_part, HM_component_type, c)) {
        name[0] = '\0';
        HM_OBJ_ask_name(c, name, sizeof name);
        char* copy = nullptr;
        if (name[0] == '\0') {
            // An unnamed component goes by its part's display name.
            char* part_name = nullptr;
            char* refset_name = nullptr;
            char* instance_name = nullptr;
            double origin[3];
            double matrix[9];
            ASSY_ask_component_data(c, &part_name, &refset_name, &instance_name, origin, matrix);
            char* display = PART_name_for_display(part_name ? part_name : "", 6);
            copy = SM_string_copy(display ? display : "");
            SM_free(part_name);
            SM_free(refset_name);
            SM_free(instance_name);
            SM_free(display);
        } else if (!std::strstr(name, kRollMovingCopy)) {
            copy = SM_string_copy(name);
        } else {
            continue;
        }
        texts[n] = copy;
        tags[n] = c;
        ++n;
    }

    HM_ASSEM_set_work_part(work_part);
    if (count) *count = n;
    VD_exit_omvra();
    if (components) *components = tags;
    else SM_free(tags);
    if (names) {
        *names = texts;
    } else {
        for (int i = 0; i < n; ++i) SM_free(texts[i]);
        SM_free(texts);
    }
    return 0;
}

int VD_ask_minimum_distance(tag_t object1, tag_t object2, double* distance, double point1[3], double point2[3]) {
    const double no_guess[3] = {0.0, 0.0, 0.0};
    double accuracy = 0.0;
    return HM_MODL_ask_minimum_dist_2(object1, 0, no_guess, object2, 0, no_guess, distance, point1, point2,
                                      &accuracy);
}

int VD_ask_tag_handle(tag_t object, char* handle) {
    if (object == 0 || !handle) return -1;
    char* text = TAG_ask_handle_of_tag(object);
    if (!text) return -1;
    // Never more than the longest handle the host makes, terminator included.
    const size_t length = strnlen(text, TAG_HANDLE_MAX_LENGTH);
    std::memcpy(handle, text, length);
    handle[length] = '\0';
    SM_free(text);
    return 0;
}

tag_t VD_ask_handle_tag(const char* handle) { return TAG_ask_tag_of_handle_tol(handle); }

void VD_create_validation_app_object(const char* application, const char* checker_name, const char* parameters,
                                     const char* class_name, VALIDATION_checker_object_t** checker) {
    if (!checker) return;
    *checker = nullptr;
    VALIDATION_APPLICATION_description_t description;
    std::memset(&description, 0, sizeof description);
    description.version = 0;
    STR_snprintf(description.name, sizeof description.name, "%s", class_name ? class_name : "");
    STR_snprintf(description.dialog, sizeof description.dialog, "%s", "%edit_dialog");
    VALIDATION_APPLICATION_plugin(&description, application, checker_name, parameters, true, checker);
}

void VD_find_validation_app_tag(const char* name, const char* application, tag_t* object) {
    if (!object) return;
    *object = 0;
    int count = 0;
    tag_t* objects = nullptr;
    VALIDATION_APPLICATION_ask_all_persistent_app_objects(application, &count, &objects);
    for (int i = 0; i < count; ++i) {
        VALIDATION_checker_object_t* detail = nullptr;
        VALIDATION_APPLICATION_ask_persistent_checker_detail(objects[i], &detail);
        const bool match = detail && TEXT_compare_ascii(detail->name, name);
        VALIDATION_APPLICATION_free_app_memory(detail);
        if (match) {
            *object = objects[i];
            break;
        }
    }
    SM_free(objects);
}

void VD_find_validation_app_object(const char* name, const char* application, VALIDATION_checker_object_t** checker) {
    if (!checker) return;
    *checker = nullptr;
    tag_t object = 0;
    VD_find_validation_app_tag(name, application, &object);
    VALIDATION_APPLICATION_ask_persistent_checker_detail(object, checker);
}
