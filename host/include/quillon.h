// quillon: the host's system services. Memory manager, texts and strings,
// file-system checks, environment variables, error raising and logging,
// debug flags, the object manager and persistent handles of objects.
#ifndef CARVELL_HOST_QUILLON_H
#define CARVELL_HOST_QUILLON_H

#include "host_types.h"

#include <stdarg.h>
#include <stdbool.h>

/* ---- memory manager: one allocator that counts its live blocks ---- */
// A block above 1 GiB is refused (null), whatever the call.
HOST_C_API void* SM_alloc(size_t size);                   // null for size 0 or on failure
HOST_C_API void* SM_calloc(size_t count, size_t size);    // zero-filled
HOST_C_API void* SM_realloc(void* block, size_t size);    // null block: like SM_alloc
HOST_C_API void SM_free(void* block);                     // null: nothing; unknown block: logged, not freed
HOST_C_API size_t SM_ask_block_size(const void* block);   // bytes of a live block; 0 for null or an unknown block
HOST_C_API char* SM_string_copy(const char* text);        // null text gives null
HOST_C_API char* SM_sprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* ---- dynamic arrays (CARR_): only the 2003 host has them ---- */
// A growing array of elements of one size, held in the memory manager's
// blocks (so the live-block count sees them until CARR_free).
typedef struct CARR_array_s* CARR_array_t;
// A new empty array of elements of element_size bytes: 0,
// HM_ERR_NULL_POINTER or HM_ERR_BAD_ARGUMENT (size below 1); *array null
// on failure.
HOST_C_API int CARR_create(int element_size, CARR_array_t* array);
// Appends count elements copied from `elements`: 0, HM_ERR_NULL_POINTER,
// HM_ERR_BAD_ARGUMENT (a negative count, or more than one block of 1 GiB
// would hold); nothing is appended on failure.
HOST_C_API int CARR_append(CARR_array_t array, const void* elements, int count);
// Elements held (0 for a null array).
HOST_C_API int CARR_ask_count(CARR_array_t array);
// The elements, one after the other (null when empty or null); valid until
// the next append.
HOST_C_API void* CARR_ask_data(CARR_array_t array);
// Frees the array and its elements; null: nothing.
HOST_C_API void CARR_free(CARR_array_t array);

/* ---- texts and strings ---- */
// Bounded formatting: writes at most size-1 characters and a terminator;
// answers the length of the full text, as vsnprintf does.
HOST_C_API int STR_snprintf(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Host text object used by rule-language queries.
typedef struct TEXT_s {
    char* text;
} TEXT_t;
HOST_C_API void TEXT_init_string(TEXT_t* text, const char* value);  // copies value
HOST_C_API void TEXT_free(TEXT_t* text);                             // frees the copy
HOST_C_API const char* TEXT_ask_string(const TEXT_t* text);
// true when the two texts are equal (null equals only null).
HOST_C_API bool TEXT_compare_ascii(const char* a, const char* b);
// Case-insensitive comparison: 0 when equal, as strcmp otherwise.
HOST_C_API int STR_compare_i(const char* a, const char* b);
// STR_compare_i of the last components of two names (what follows the last
// '/', '\\' or ':'); null compares as "".
HOST_C_API int STR_compare_leaf_i(const char* a, const char* b);
// Initialises a host text with the printf-style text of the format and its
// arguments (a rule path such as "%sCentroid_coords:" and its prefix); the
// caller frees it with TEXT_free. A null format gives an empty text.
HOST_C_API void TEXT_format_string(TEXT_t* text, const char* format, ...) __attribute__((format(printf, 2, 3)));

/* ---- file system and environment ---- */
HOST_C_API char* OS_ask_env(const char* name);          // copy to free with SM_free, null when unset
HOST_C_API bool OS_file_exists(const char* path);
HOST_C_API bool OS_dir_exists(const char* path);
HOST_C_API bool OS_dir_writable(const char* path);

// File-system checks of file names (CFI). Kinds: 175 a file, 100 a directory;
// access: 2 write, 4 read.
enum CFI_kind { CFI_KIND_DIRECTORY = 100, CFI_KIND_FILE = 175 };
enum CFI_access { CFI_ACCESS_WRITE = 2, CFI_ACCESS_READ = 4 };
// Expands environment variables ("$NAME", "${NAME}") of a name into a new
// SM_alloc'd text; an empty name or an unset variable gives an error code.
HOST_C_API int CFI_expand_filename(const char* name, int kind, char** expanded);
// 0 when the file exists, 1 when it does not, otherwise an error code.
HOST_C_API int CFI_ask_file_exist(const char* name);
// Kind of an existing file: CFI_KIND_DIRECTORY or CFI_KIND_FILE.
HOST_C_API int CFI_get_file_type(const char* name, int* type);
// Directory part of a file name ("." for a bare name) as a new SM_alloc'd text.
HOST_C_API int CFI_ask_directory(const char* name, int kind, char** directory);
// True when the file (or directory) grants the access to this process;
// `error` is 0 for a plain refusal, an error code when it could not be asked.
HOST_C_API bool CFI_query_file_permissions(const char* name, int kind, int access, int* error);
// Text of an error code of the file checks, SM_alloc'd (free with SM_free).
HOST_C_API char* CFI_get_error_text(int code);
// Appends the directory delimiter '/' to the directory name in a buffer of
// `size` bytes when it does not end with one; HM_ERR_BAD_ARGUMENT when the
// buffer has no room.
HOST_C_API int CFI_append_delimiter(char* directory, size_t size);
// Sets the protection of an existing file from the host's mode value (13107,
// 0x3333, gives read and write to owner and group); owner -1 keeps the owner,
// flags are the host's (0). 0 when the file is now writable; HM_ERR_NOT_FOUND
// for a missing file, HM_ERR_FILE when it cannot be changed.
HOST_C_API int CFI_modify_file_protection(const char* path, int owner, int mode, int flags);

/* ---- the text-file line reader ---- */
// Opens a text file for reading (mode 1, kind 4 text) and answers its number.
HOST_C_API int hc4504(const char* path, int mode, int kind, int* handle);
// Reads the next line (line end kept, at most size-1 characters a read) into
// the buffer; 0 when read, 1 at end of file (empty buffer).
HOST_C_API int hc4514(int handle, char* buffer, int size, int* length);
// Closes a file of the reader.
HOST_C_API int hc4540(int handle);

/* ---- scratch files of the file layer ---- */
// Value of an environment variable as an SM_alloc'd copy (free with
// SM_free): 0, HM_ERR_NULL_POINTER or HM_ERR_NOT_FOUND (unset; *value null).
HOST_C_API int ENV_translate_variable(const char* name, char** value);
// A file name (no directory, no extension) that no earlier call of this
// process answered, into a buffer of `size` bytes: 0, HM_ERR_NULL_POINTER or
// HM_ERR_BAD_ARGUMENT (no room).
HOST_C_API int CFI_create_unique_filename(char* name, size_t size);
// Access codes of CFI_open_file.
enum CFI_open_access { CFI_OPEN_READ = 1, CFI_OPEN_WRITE = 2 };
// Opens a text file of the given file-type code (87 scratch data) for reading
// (access 1) or writing from empty (access 2); `flags` are the host's (2).
// Answers its number: 0, HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (other
// access) or HM_ERR_FILE (cannot be opened).
HOST_C_API int CFI_open_file(const char* path, int access, int file_type, int flags, int* handle);
// Writes the text and a line end: 0, HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT
// (unknown number) or HM_ERR_FILE.
HOST_C_API int CFI_write_line(int handle, const char* line);
// Reads the next line without its line end (at most size-1 characters; the
// rest of a longer line is the next read): 0 when read, 1 at end of file
// (empty buffer), HM_ERR_NULL_POINTER or HM_ERR_BAD_ARGUMENT.
HOST_C_API int CFI_read_line(int handle, char* buffer, int size);
// Closes a file of CFI_open_file: 0 or HM_ERR_BAD_ARGUMENT (unknown number).
HOST_C_API int CFI_close_file(int handle);
// Deletes a file of the given file-type code (CFI_FILE_TYPE_FOLDER: a
// folder with its contents, as hc4561 deletes one): 0, HM_ERR_NULL_POINTER or
// HM_ERR_NOT_FOUND (a folder: hc4561's code).
HOST_C_API int CFI_delete_file(const char* path, int file_type);

/* ---- file paths of the host's file types ----
 * File types: 2 a part file (extension ".prt"), 100 a folder (a directory
 * and what it holds), 190 scenario data (extension ".sim"). Texts go into
 * buffers of HM_MAX_FSPEC_BUFSIZE bytes (omvra/assemblies.h); a result that
 * would not fit answers HM_ERR_BAD_ARGUMENT and leaves an empty text. */
enum HC_file_type { HC_FILE_PART = 2, HC_FILE_FOLDER = 100, HC_FILE_SCENARIO_DATA = 190 };
// Deletes a file of the type: a part file (a regular file only), or a folder
// with its contents. 0, HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (unknown
// type), HM_ERR_NOT_FOUND, HM_ERR_WRONG_TYPE (a folder given as a part file
// or the reverse) or HM_ERR_FILE.
HOST_C_API int hc4561(const char* path, int file_type);
// The leaf name of the path (what follows its last '/'), without the
// type's extension when it ends with it.
HOST_C_API int hc4574(const char* path, int file_type, char* leaf);
// Joins folder and name into a path of the type: a folder as "folder/name",
// a file with the type's extension added when the name lacks it.
HOST_C_API int hc4575(const char* folder, const char* name, int file_type, char* path);
// Splits the path into its folder ("." for a bare name) and its leaf, the
// extension kept.
HOST_C_API int hc4576(const char* path, int file_type, char* folder, char* leaf);
// Splits a file path (mode 0, the only mode) into its directory and its leaf
// (trailing delimiters ignored), as new SM_alloc'd texts: 0,
// HM_ERR_NULL_POINTER or HM_ERR_BAD_ARGUMENT (empty path, other mode).
HOST_C_API int CFI_split_filespec(const char* path, int mode, char** directory, char** leaf);
// File type of CFI_delete_file for a folder, deleted with its contents.
enum { CFI_FILE_TYPE_FOLDER = 5 };

/* ---- checking level and debug keys ---- */
// Checking level of the host; at 1 or more tools print trace lines and the
// object manager checks classes.
HOST_API extern int MACH__checking_level;
HOST_C_API bool DEBUG_ask_key(const char* key);          // true when the debug key is set
// 1 when the debug key is set, else 0 (`listed` is the host's: true).
HOST_C_API int RDEBUG_ask_flag(const char* key, bool listed);
HOST_C_API void TRACE_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* ---- errors ---- */
HOST_C_API void ERROR_lprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Records a severe host error (message to the system log and the error sink).
HOST_C_API void ERROR_severe(const char* message);
// The same, stamped with the reporting source, its line and the status code.
HOST_API void ERROR_severe(const char* source, int line, int code, const char* message);

/* ---- object manager: tag sets and internal record pointers ---- */
HOST_C_API tag_t OM_create_tag_set(void);
HOST_C_API int OM_add_to_tag_set(tag_t set, tag_t object);
// Members of a set in insertion order, in a new SM_alloc'd array.
HOST_C_API int OM_flatten_tag_set(tag_t set, int* count, tag_t** members);
HOST_C_API int OM_delete_object(tag_t object);
HOST_C_API void* TAG_ask_pointer_of_tag(tag_t tag);      // internal record of an object; null for none
// Logs the object (its internal record) with the object manager; the
// stand-in records it (host_testing::om_logged_objects). Null: nothing.
HOST_C_API void OM__log(void* object);
// Whether the tag names a live object of the object-manager class (class ids
// are the object types of their records, e.g. Korvath::FEATURE_RECORDClassId);
// a failed check is reported as a severe error naming the caller's location.
HOST_C_API bool OM_check_tag_class(tag_t tag, int class_id, const char* file, int line);

/* ---- persistent handles ---- */
// A handle text is never longer than this, terminator excluded.
#define TAG_HANDLE_MAX_LENGTH 47
// Handle text of an object (SM_alloc'd; free with SM_free); null for tag 0 or an unknown tag.
HOST_C_API char* TAG_ask_handle_of_tag(tag_t tag);
// The object a handle names; 0 when none. Blanks around the text are ignored.
HOST_C_API tag_t TAG_ask_tag_of_handle_tol(const char* handle);

#ifdef __cplusplus
namespace Korvath {

// Object-manager class ids (see OM_check_tag_class).
constexpr int FEATURE_RECORDClassId = HM_feature_type;

namespace Error {

// The host's exception: a code, a message and the source location where it
// was raised or last stamped.
class HOST_API Exception {
public:
    Exception(int code, const char* message, const char* file = "", int line = 0);
    virtual ~Exception();
    int askCode() const { return code_; }
    const char* askMessage() const;
    const char* askFile() const;
    int askLine() const { return line_; }
    void setLocation(const char* file, int line);
    // Releasing a handled exception drops its message; kept for callers that
    // release explicitly.
    void release();

private:
    int code_;
    char message_[256];
    char file_[128];
    int line_;
};

// Converts whatever was caught into the host exception.
class HOST_API Severe {
public:
    // Call inside a catch block: the current exception as a host exception.
    static Exception Convert();
};

}  // namespace Error

namespace Math {
// A point (or vector) of three coordinates.
struct Point3 {
    double x, y, z;
};
}  // namespace Math
}  // namespace Korvath

// Throws a host exception with the given code and message; file and line
// are the source location.
[[noreturn]] HOST_API void ERROR_raise(const char* file, int line, int code, const char* message);
#define ERROR_RAISE(code, message) ERROR_raise(__FILE__, __LINE__, (code), (message))
// Raises the host's internal error (HM_ERR_INTERNAL) with the message and
// the source and line given by the caller.
[[noreturn]] HOST_API void ERROR_internal(const char* source, int line, const char* message);
#endif

#endif
