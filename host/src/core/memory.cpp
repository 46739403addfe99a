// The host's memory manager: one allocator behind SM_* and HM_free that
// counts its live blocks, so that tests can tell a leak from a release.
#include "core/checks.h"
#include "core/sinks.h"
#include "omvra.h"
#include "quillon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace host {
namespace {
struct Blocks {
    std::unordered_map<void*, size_t> live;
    size_t bad_frees = 0;
};
Blocks& blocks() {
    static Blocks b;
    return b;
}
}  // namespace

size_t live_blocks() { return blocks().live.size(); }
size_t bad_frees() { return blocks().bad_frees; }

}  // namespace host

using host::blocks;

void* SM_alloc(size_t size) {
    if (size == 0 || size > host::kMaxBlockBytes) return nullptr;
    void* p = std::malloc(size);
    if (p) blocks().live[p] = size;
    return p;
}

void* SM_calloc(size_t count, size_t size) {
    if (count == 0 || size == 0) return nullptr;
    if (size > host::kMaxBlockBytes / count) return nullptr;
    void* p = std::calloc(count, size);
    if (p) blocks().live[p] = count * size;
    return p;
}

void* SM_realloc(void* block, size_t size) {
    if (!block) return SM_alloc(size);
    auto it = blocks().live.find(block);
    if (it == blocks().live.end()) {
        ++blocks().bad_frees;
        host::sinks().syslog.push_back("SM_realloc: block not from the memory manager");
        return nullptr;
    }
    if (size == 0) {
        SM_free(block);
        return nullptr;
    }
    if (size > host::kMaxBlockBytes) return nullptr;   // the old block stays valid
    void* p = std::realloc(block, size);
    if (!p) return nullptr;   // the old block stays valid and counted
    blocks().live.erase(it);
    blocks().live[p] = size;
    return p;
}

void SM_free(void* block) {
    if (!block) return;
    auto it = blocks().live.find(block);
    if (it == blocks().live.end()) {
        ++blocks().bad_frees;
        host::sinks().syslog.push_back("SM_free: block not from the memory manager");
        return;
    }
    blocks().live.erase(it);
    std::free(block);
}

void HM_free(void* block) { SM_free(block); }

size_t SM_ask_block_size(const void* block) {
    if (!block) return 0;
    auto it = blocks().live.find(const_cast<void*>(block));
    return it == blocks().live.end() ? 0 : it->second;
}

char* SM_string_copy(const char* text) {
    if (!text) return nullptr;
    size_t n = std::strlen(text) + 1;
    char* copy = static_cast<char*>(SM_alloc(n));
    if (copy) std::memcpy(copy, text, n);
    return copy;
}

char* SM_sprintf(const char* format, ...) {
    if (!format) return nullptr;
    va_list ap;
    va_start(ap, format);
    const std::string text = host::vformat(format, ap);
    va_end(ap);
    return SM_string_copy(text.c_str());
}

int HM_allocate_memory(size_t size, void** block) {
    if (!block) return HM_ERR_NULL_POINTER;
    *block = SM_alloc(size);
    return *block ? 0 : HM_ERR_BAD_ARGUMENT;
}
