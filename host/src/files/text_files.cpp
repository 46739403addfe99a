// Text files of the host's file layer: appending the directory delimiter to
// a directory name, changing a file's protection, and the line reader that
// opens a text file, hands out its lines and closes it by a number.
#include "quillon.h"
#include "core/sinks.h"
#include "testing/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace {

// Open text files of the reader by their numbers. Files are outside the
// model: undo does not reopen or close them.
std::map<int, std::FILE*>& open_files() {
    static std::map<int, std::FILE*> files;
    return files;
}
int next_handle = 1;

}  // namespace

int CFI_append_delimiter(char* directory, size_t size) {
    if (!directory) return HM_ERR_NULL_POINTER;
    const size_t length = strnlen(directory, size);
    if (length == size) return HM_ERR_BAD_ARGUMENT;
    if (length > 0 && directory[length - 1] == '/') return 0;
    if (length + 2 > size) return HM_ERR_BAD_ARGUMENT;
    directory[length] = '/';
    directory[length + 1] = '\0';
    return 0;
}

int CFI_modify_file_protection(const char* path, int owner, int mode, int flags) {
    (void)owner;
    (void)flags;
    if (!path) return HM_ERR_NULL_POINTER;
    if (host::settings().locked_paths.count(path)) return HM_ERR_FILE;
    struct stat st;
    if (::stat(path, &st) != 0) return HM_ERR_NOT_FOUND;
    // The host's mode value gives read and write to owner and group (0x3333
    // sets the read and write bits of its four fields); the file is made
    // readable and writable by its owner and group.
    (void)mode;
    if (::chmod(path, (st.st_mode & 07777) | S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP) != 0) return HM_ERR_FILE;
    return 0;
}

int hc4504(const char* path, int mode, int kind, int* handle) {
    if (!path || !handle) return HM_ERR_NULL_POINTER;
    if (mode != 1 || kind != 4) return HM_ERR_BAD_ARGUMENT;
    std::FILE* file = std::fopen(path, "r");
    if (!file) return HM_ERR_FILE;
    *handle = next_handle++;
    open_files()[*handle] = file;
    return 0;
}

int hc4514(int handle, char* buffer, int size, int* length) {
    if (!buffer || !length) return HM_ERR_NULL_POINTER;
    auto it = open_files().find(handle);
    if (it == open_files().end()) return HM_ERR_BAD_ARGUMENT;
    if (size < 2) return HM_ERR_BAD_ARGUMENT;
    if (!std::fgets(buffer, size, it->second)) {
        buffer[0] = '\0';
        *length = 0;
        return 1;
    }
    *length = static_cast<int>(std::strlen(buffer));
    return 0;
}

int hc4540(int handle) {
    auto it = open_files().find(handle);
    if (it == open_files().end()) return HM_ERR_BAD_ARGUMENT;
    std::fclose(it->second);
    open_files().erase(it);
    return 0;
}

namespace host_testing {

void lock_path(const char* path, bool locked) {
    if (!path) return;
    if (locked)
        host::settings().locked_paths.insert(path);
    else
        host::settings().locked_paths.erase(path);
}

int open_text_files() { return static_cast<int>(open_files().size()); }

}  // namespace host_testing

// ---- scratch files: environment, unique names, lines by number ----

int ENV_translate_variable(const char* name, char** value) {
    if (!name || !value) return HM_ERR_NULL_POINTER;
    *value = OS_ask_env(name);
    return *value ? 0 : HM_ERR_NOT_FOUND;
}

int CFI_create_unique_filename(char* name, size_t size) {
    static unsigned serial = 0;
    if (!name) return HM_ERR_NULL_POINTER;
    const int length = std::snprintf(name, size, "cv%ld_%u", static_cast<long>(::getpid()), ++serial);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        if (size > 0) name[0] = '\0';
        return HM_ERR_BAD_ARGUMENT;
    }
    return 0;
}

int CFI_open_file(const char* path, int access, int file_type, int flags, int* handle) {
    (void)file_type;
    (void)flags;
    if (!path || !handle) return HM_ERR_NULL_POINTER;
    if (access != CFI_OPEN_READ && access != CFI_OPEN_WRITE) return HM_ERR_BAD_ARGUMENT;
    std::FILE* file = std::fopen(path, access == CFI_OPEN_READ ? "r" : "w");
    if (!file) return HM_ERR_FILE;
    *handle = next_handle++;
    open_files()[*handle] = file;
    return 0;
}

int CFI_write_line(int handle, const char* line) {
    if (!line) return HM_ERR_NULL_POINTER;
    auto it = open_files().find(handle);
    if (it == open_files().end()) return HM_ERR_BAD_ARGUMENT;
    if (std::fputs(line, it->second) < 0 || std::fputc('\n', it->second) == EOF) return HM_ERR_FILE;
    return 0;
}

int CFI_read_line(int handle, char* buffer, int size) {
    if (!buffer) return HM_ERR_NULL_POINTER;
    auto it = open_files().find(handle);
    if (it == open_files().end() || size < 2) return HM_ERR_BAD_ARGUMENT;
    if (!std::fgets(buffer, size, it->second)) {
        buffer[0] = '\0';
        return 1;
    }
    const size_t length = std::strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\n') buffer[length - 1] = '\0';
    return 0;
}

int CFI_close_file(int handle) { return hc4540(handle); }

int CFI_delete_file(const char* path, int file_type) {
    if (!path) return HM_ERR_NULL_POINTER;
    if (file_type == CFI_FILE_TYPE_FOLDER) return hc4561(path, HC_FILE_FOLDER);
    return std::remove(path) == 0 ? 0 : HM_ERR_NOT_FOUND;
}
