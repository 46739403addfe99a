// The 2003 host's dynamic arrays: elements of one size in a block of the
// memory manager that grows by doubling.
#include "quillon.h"

#include <cstring>

struct CARR_array_s {
    size_t element_size;
    size_t count;
    size_t capacity;
    unsigned char* data;
};

namespace {
constexpr size_t kMaxBytes = size_t{1} << 30;
}

int CARR_create(int element_size, CARR_array_t* array) {
    if (!array) return HM_ERR_NULL_POINTER;
    *array = nullptr;
    if (element_size < 1 || static_cast<size_t>(element_size) > kMaxBytes) return HM_ERR_BAD_ARGUMENT;
    auto* a = static_cast<CARR_array_t>(SM_calloc(1, sizeof(CARR_array_s)));
    if (!a) return HM_ERR_BAD_ARGUMENT;
    a->element_size = static_cast<size_t>(element_size);
    *array = a;
    return 0;
}

int CARR_append(CARR_array_t array, const void* elements, int count) {
    if (!array || (!elements && count > 0)) return HM_ERR_NULL_POINTER;
    if (count < 0) return HM_ERR_BAD_ARGUMENT;
    if (count == 0) return 0;
    const size_t limit = kMaxBytes / array->element_size;
    if (static_cast<size_t>(count) > limit - array->count) return HM_ERR_BAD_ARGUMENT;
    const size_t needed = array->count + static_cast<size_t>(count);
    if (needed > array->capacity) {
        size_t capacity = array->capacity ? array->capacity : 64;
        while (capacity < needed) capacity = capacity > limit / 2 ? limit : 2 * capacity;
        void* grown = SM_realloc(array->data, capacity * array->element_size);
        if (!grown) return HM_ERR_BAD_ARGUMENT;
        array->data = static_cast<unsigned char*>(grown);
        array->capacity = capacity;
    }
    std::memcpy(array->data + array->count * array->element_size, elements,
                static_cast<size_t>(count) * array->element_size);
    array->count = needed;
    return 0;
}

int CARR_ask_count(CARR_array_t array) { return array ? static_cast<int>(array->count) : 0; }

void* CARR_ask_data(CARR_array_t array) { return array && array->count > 0 ? array->data : nullptr; }

void CARR_free(CARR_array_t array) {
    if (!array) return;
    SM_free(array->data);
    SM_free(array);
}
