// What the H-point design tool asks of the host beyond rule queries: the
// file-system checks of file names (CFI), and the vehicle-design core's
// feature and H-point data of a design instance; and the test fixture that
// gives a design instance its feature.
#include "model.h"
#include "omvra.h"
#include "quillon.h"
#include "sinks.h"
#include "tessik.h"
#include "testing/hpd.h"
#include "host_testing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

namespace {

bool is_name_char(char c) {
    return c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

int CFI_expand_filename(const char* name, int, char** expanded) {
    if (!expanded) return HM_ERR_NULL_POINTER;
    *expanded = nullptr;
    if (!name) return HM_ERR_NULL_POINTER;
    if (!*name) return HM_ERR_BAD_ARGUMENT;
    std::string out;
    for (const char* p = name; *p;) {
        if (*p != '$') {
            out += *p++;
            continue;
        }
        std::string variable;
        if (p[1] == '{') {
            const char* end = std::strchr(p + 2, '}');
            if (!end) return HM_ERR_BAD_ARGUMENT;
            variable.assign(p + 2, end);
            p = end + 1;
        } else {
            const char* q = p + 1;
            while (is_name_char(*q)) ++q;
            variable.assign(p + 1, q);
            p = q;
        }
        // The host's own settings first, then the process environment.
        char* value = variable.empty() ? nullptr : OS_ask_env(variable.c_str());
        if (!value) return HM_ERR_NOT_FOUND;
        out += value;
        SM_free(value);
    }
    if (out.size() >= PATH_MAX) return HM_ERR_BAD_ARGUMENT;
    *expanded = SM_string_copy(out.c_str());
    return 0;
}

int CFI_ask_file_exist(const char* name) {
    if (!name) return HM_ERR_NULL_POINTER;
    struct stat st;
    if (::stat(name, &st) == 0) return 0;
    if (errno == ENOENT || errno == ENOTDIR) return 1;
    return errno == ENAMETOOLONG ? HM_ERR_BAD_ARGUMENT : HM_ERR_FILE;
}

int CFI_get_file_type(const char* name, int* type) {
    if (!name || !type) return HM_ERR_NULL_POINTER;
    struct stat st;
    if (::stat(name, &st) != 0) return (errno == ENOENT || errno == ENOTDIR) ? HM_ERR_NOT_FOUND : HM_ERR_FILE;
    *type = S_ISDIR(st.st_mode) ? CFI_KIND_DIRECTORY : CFI_KIND_FILE;
    return 0;
}

int CFI_ask_directory(const char* name, int, char** directory) {
    if (!directory) return HM_ERR_NULL_POINTER;
    *directory = nullptr;
    if (!name) return HM_ERR_NULL_POINTER;
    if (!*name) return HM_ERR_BAD_ARGUMENT;
    std::string path(name);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    size_t slash = path.rfind('/');
    std::string dir;
    if (slash == std::string::npos)
        dir = ".";
    else if (slash == 0)
        dir = "/";
    else
        dir = path.substr(0, slash);
    *directory = SM_string_copy(dir.c_str());
    return 0;
}

bool CFI_query_file_permissions(const char* name, int kind, int access, int* error) {
    int dummy = 0;
    int& err = error ? *error : dummy;
    err = 0;
    if (!name) {
        err = HM_ERR_NULL_POINTER;
        return false;
    }
    int mode = 0;
    if (access & CFI_ACCESS_WRITE) mode |= W_OK;
    if (access & CFI_ACCESS_READ) mode |= R_OK;
    if (mode == 0) {
        err = HM_ERR_BAD_ARGUMENT;
        return false;
    }
    struct stat st;
    if (::stat(name, &st) != 0) {
        err = (errno == ENOENT || errno == ENOTDIR) ? HM_ERR_NOT_FOUND : HM_ERR_FILE;
        return false;
    }
    if ((kind == CFI_KIND_DIRECTORY) != S_ISDIR(st.st_mode)) {
        err = HM_ERR_WRONG_TYPE;
        return false;
    }
    // The effective identity is what opening the file will be checked against.
    if (::faccessat(AT_FDCWD, name, mode, AT_EACCESS) == 0) return true;
    if (errno != EACCES && errno != EROFS && errno != EPERM) err = HM_ERR_FILE;
    return false;
}

char* CFI_get_error_text(int code) {
    switch (code) {
        case HM_ERR_NOT_FOUND: return SM_string_copy("File, directory or environment variable not found.");
        case HM_ERR_BAD_ARGUMENT: return SM_string_copy("Invalid file name.");
        case HM_ERR_WRONG_TYPE: return SM_string_copy("Not a directory.");
        case HM_ERR_FILE: return SM_string_copy("File system error.");
        default: return SM_string_copy(HM_get_fail_message(code));
    }
}

namespace {

// Rule query on "root:NAME:" + attribute (attribute may be empty).
struct InstancePath {
    InstancePath(const char* name, const char* attribute) {
        std::string path = std::string("root:") + name + ":";
        if (*attribute) path += std::string(attribute) + ":";
        TEXT_init_string(&text, path.c_str());
    }
    ~InstancePath() { TEXT_free(&text); }
    TEXT_t text;
};

}  // namespace

int VD_ask_hpd_data(const char* name, VD_hpd_param_t* data) {
    if (!name || !data) return HM_ERR_NULL_POINTER;
    if (!VD_is_instance_of_class("root:", name, "%kw_vd_H_point_design_tool") &&
        !VD_is_instance_of_class("root:", name, "%kw_vd_occupant_packaging"))
        return HM_ERR_NOT_FOUND;
    int code = 0;
    InstancePath rcode(name, "rcode");
    VD_RQ_ask_integer(&rcode.text, &code);
    data->update_success = code == 0;
    data->fail_code = code;
    return 0;
}

int VD_ask_feature_tag_and_name(const char* name, tag_t* feature, char** feature_name) {
    if (!name || !feature || !feature_name) return HM_ERR_NULL_POINTER;
    InstancePath instance(name, "");
    int count = 0;
    tag_t* objects = nullptr;
    int result = VD_RQ_ask_objs_list(&instance.text, &count, &objects);
    if (result != 0) return HM_ERR_NOT_FOUND;
    tag_t found = 0;
    for (int i = 0; i < count && !found; ++i) {
        const host::Object* o = host::find(objects[i], HM_feature_type);
        if (o) found = o->tag;
    }
    SM_free(objects);
    if (!found) return HM_ERR_NOT_FOUND;
    *feature = found;
    *feature_name = SM_string_copy(host::find(found)->name.c_str());
    return 0;
}

namespace host_testing {

tag_t make_hpd_feature(const char* instance_name, const char* feature_name) {
    if (!instance_name || !feature_name) return 0;
    const std::string chain = std::string("root:") + instance_name + ":";
    host::Object& feature = host::create_feature("HPD", 0);
    feature.name = feature_name;
    const tag_t tag = feature.tag;
    if (add_instance_object(chain.c_str(), tag) != 0) {
        host::erase(tag);
        return 0;
    }
    return tag;
}

}  // namespace host_testing
