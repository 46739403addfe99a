// File paths of the host's file types: leaf names without a type's
// extension, joining a folder and a name, splitting a path into its folder
// and leaf, and deleting a file or a folder of a type.
#include "omvra.h"
#include "quillon.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The extension of a file type; "" for a folder; null for an unknown type.
const char* extension_of(int file_type) {
    switch (file_type) {
        case HC_FILE_PART: return ".prt";
        case HC_FILE_FOLDER: return "";
        case HC_FILE_SCENARIO_DATA: return ".sim";
        default: return nullptr;
    }
}

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Copies the text into a buffer of HM_MAX_FSPEC_BUFSIZE bytes; a text that
// does not fit leaves the buffer empty.
int put(const std::string& text, char* buffer) {
    if (text.size() >= HM_MAX_FSPEC_BUFSIZE) {
        buffer[0] = '\0';
        return HM_ERR_BAD_ARGUMENT;
    }
    std::snprintf(buffer, HM_MAX_FSPEC_BUFSIZE, "%s", text.c_str());
    return 0;
}

// Folder and leaf of a path, trailing delimiters ignored ("/" stays "/").
void split(std::string path, std::string& folder, std::string& leaf) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder = ".";
        leaf = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        leaf = path.substr(slash + 1);
    }
}

}  // namespace

int hc4561(const char* path, int file_type) {
    if (!path) return HM_ERR_NULL_POINTER;
    if (!extension_of(file_type)) return HM_ERR_BAD_ARGUMENT;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (!fs::exists(status)) return HM_ERR_NOT_FOUND;
    const bool folder = fs::is_directory(status);
    if (folder != (file_type == HC_FILE_FOLDER)) return HM_ERR_WRONG_TYPE;
    if (!folder) return fs::remove(path, error) && !error ? 0 : HM_ERR_FILE;
    // A folder goes with its contents: never the root or a path that names
    // the current or the parent directory.
    std::string folder_name, leaf;
    split(path, folder_name, leaf);
    if (leaf.empty() || leaf == "." || leaf == "..") return HM_ERR_BAD_ARGUMENT;
    fs::remove_all(path, error);
    return error ? HM_ERR_FILE : 0;
}

int hc4574(const char* path, int file_type, char* leaf) {
    if (!path || !leaf) return HM_ERR_NULL_POINTER;
    const char* extension = extension_of(file_type);
    if (!extension) return HM_ERR_BAD_ARGUMENT;
    std::string name = path;
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos) name.erase(0, slash + 1);
    if (*extension && ends_with(name, extension)) name.erase(name.size() - std::string(extension).size());
    return put(name, leaf);
}

int hc4575(const char* folder, const char* name, int file_type, char* path) {
    if (!folder || !name || !path) return HM_ERR_NULL_POINTER;
    const char* extension = extension_of(file_type);
    if (!extension) return HM_ERR_BAD_ARGUMENT;
    std::string joined = folder;
    if (!joined.empty() && joined.back() != '/') joined += '/';
    joined += name;
    if (*extension && !ends_with(joined, extension)) joined += extension;
    return put(joined, path);
}

int hc4576(const char* path, int file_type, char* folder, char* leaf) {
    if (!path || !folder || !leaf) return HM_ERR_NULL_POINTER;
    if (!extension_of(file_type)) return HM_ERR_BAD_ARGUMENT;
    std::string f, l;
    split(path, f, l);
    const int result = put(f, folder);
    if (result) {
        leaf[0] = '\0';
        return result;
    }
    return put(l, leaf);
}

int CFI_split_filespec(const char* path, int mode, char** directory, char** leaf) {
    if (!path || !directory || !leaf) return HM_ERR_NULL_POINTER;
    *directory = *leaf = nullptr;
    if (!*path || mode != 0) return HM_ERR_BAD_ARGUMENT;
    std::string f, l;
    split(path, f, l);
    *directory = SM_string_copy(f.c_str());
    *leaf = SM_string_copy(l.c_str());
    return 0;
}
