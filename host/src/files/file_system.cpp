// The file system and the environment: environment variables (the host's
// own settings first), existence of files and directories, and the checks
// of file names (CFI): expansion of variables, existence, kind, directory,
// permissions and error texts.
#include "core/sinks.h"
#include "omvra.h"
#include "quillon.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

char* OS_ask_env(const char* name) {
    if (!name) return nullptr;
    auto& env = host::settings().environment;
    auto it = env.find(name);
    if (it != env.end()) return SM_string_copy(it->second.c_str());
    const char* value = std::getenv(name);
    return value ? SM_string_copy(value) : nullptr;
}

bool OS_file_exists(const char* path) {
    struct stat st;
    return path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool OS_dir_exists(const char* path) {
    struct stat st;
    return path && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool OS_dir_writable(const char* path) { return OS_dir_exists(path) && ::access(path, W_OK) == 0; }

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

int HM_CFI_ask_file_exist(const char* name, int* status) {
    if (!name || !status) return HM_ERR_NULL_POINTER;
    const int exists = CFI_ask_file_exist(name);
    if (exists != 0 && exists != 1) return HM_ERR_FILE;
    *status = exists;
    return 0;
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
