// Owners of what the host hands out for the length of an operation: host
// lists, memory-manager blocks and temporary objects. Each frees or deletes
// what it holds when it goes out of scope, with the call the host names.
#ifndef CARVELL_TOOLBOX_DETAIL_OWNERS_H
#define CARVELL_TOOLBOX_DETAIL_OWNERS_H

#include "host_types.h"
#include "omvra.h"
#include "quillon.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace carvell::detail {

// Whether the block is one of the memory manager's and holds `count`
// elements of `element_size` bytes (a count below 0 never fits). A record
// whose count was raised past the array it was given fails this.
inline bool block_holds(const void* block, long long count, std::size_t element_size) {
    if (count < 0) return false;
    const std::size_t bytes = SM_ask_block_size(block);
    return bytes > 0 && element_size > 0 && static_cast<unsigned long long>(count) <= bytes / element_size;
}

// The items of a host list in list order; none for a null list.
std::vector<tag_t> list_items(hm_list_p_t list);
// A new host list of the items in order (the caller deletes it).
hm_list_p_t new_list(const std::vector<tag_t>& items);

// Deletes the object when there is one and it is still alive.
void delete_if_alive(tag_t object);

// Working-record members that a record owns between its initialisation and
// its release: a host list of the tags (null for none), a second list of a
// list's items (null when it has none), the deletion of a list that nulls
// its handle, and zeroed host-memory blocks that are freed and nulled.
hm_list_p_t list_of_tags(int count, const tag_t* tags);
hm_list_p_t copy_of_list(hm_list_p_t list);
void delete_list(hm_list_p_t* list);
template <typename T>
T* zeroed_block() {
    return static_cast<T*>(SM_calloc(1, sizeof(T)));
}
template <typename T>
void free_block(T** block) {
    SM_free(*block);
    *block = nullptr;
}

// Frees the entries that HM_MODL_intersect_objects answers, each and their
// array (HM_free); a null array: nothing.
void free_intersection_entries(int count, HM_MODL_intersection_t** entries);
// The same, after deleting the curve objects the host made for curve entries:
// for a query that only served to see what the objects have in common.
void discard_intersection_entries(int count, HM_MODL_intersection_t** entries);

// A host list, deleted with HM_MODL_delete_list (its nodes only, never the
// objects) unless released.
class HostList {
public:
    HostList() = default;
    explicit HostList(hm_list_p_t list) : list_(list) {}
    ~HostList() { reset(); }
    HostList(HostList&& other) noexcept : list_(other.release()) {}
    HostList& operator=(HostList&& other) noexcept {
        if (this != &other) {
            reset();
            list_ = other.release();
        }
        return *this;
    }
    HostList(const HostList&) = delete;
    HostList& operator=(const HostList&) = delete;

    hm_list_p_t get() const { return list_; }
    // For a host call that makes the list: any list held is deleted first.
    hm_list_p_t* out() {
        reset();
        return &list_;
    }
    // The items in list order.
    std::vector<tag_t> items() const { return list_items(list_); }
    // Hands the list over to the caller, who deletes it.
    hm_list_p_t release() { return std::exchange(list_, nullptr); }
    void reset() {
        if (list_) (void)HM_MODL_delete_list(&list_);
        list_ = nullptr;
    }

private:
    hm_list_p_t list_ = nullptr;
};

// A block of the host's memory manager holding T values, freed with Free
// (SM_free or HM_free, one allocator under two names) unless released.
template <typename T, void (*Free)(void*)>
class OwnedBlock {
public:
    OwnedBlock() = default;
    explicit OwnedBlock(T* block) : block_(block) {}
    ~OwnedBlock() { reset(); }
    OwnedBlock(OwnedBlock&& other) noexcept : block_(other.release()) {}
    OwnedBlock& operator=(OwnedBlock&& other) noexcept {
        if (this != &other) {
            reset();
            block_ = other.release();
        }
        return *this;
    }
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;

    T* get() const { return block_; }
    T& operator[](std::size_t i) const { return block_[i]; }
    explicit operator bool() const { return block_ != nullptr; }
    // For a host call that hands a block back: any block held is freed first.
    T** out() {
        reset();
        return &block_;
    }
    // Hands the block over to the caller, who frees it.
    T* release() { return std::exchange(block_, nullptr); }
    void reset(T* block = nullptr) {
        if (block_ && block_ != block) Free(const_cast<void*>(static_cast<const void*>(block_)));
        block_ = block;
    }

private:
    T* block_ = nullptr;
};

// A block from SM_alloc, SM_calloc, SM_realloc or a host call that says
// "free with SM_free".
template <typename T>
using SmBlock = OwnedBlock<T, SM_free>;

// A block that a host call hands back to be freed with HM_free.
template <typename T>
using HmBlock = OwnedBlock<T, HM_free>;

// Objects made for the length of one operation. Disposal::delete_alive
// deletes, newest first, each one that is still alive when the owner goes
// out of scope; Disposal::log_for_update logs each (in the order made) for
// deletion at the host's next update, for objects that the host may still be
// showing or referring to until then.
class Temporaries {
public:
    enum class Disposal { delete_alive, log_for_update };

    explicit Temporaries(Disposal disposal = Disposal::delete_alive) : disposal_(disposal) {}
    ~Temporaries();
    Temporaries(const Temporaries&) = delete;
    Temporaries& operator=(const Temporaries&) = delete;

    // Takes the object (0 is ignored) and answers it.
    tag_t add(tag_t object) {
        if (object != NULL_TAG) objects_.push_back(object);
        return object;
    }
    // The object outlives the operation after all: it is no longer disposed of.
    void release(tag_t object);
    const std::vector<tag_t>& objects() const { return objects_; }

private:
    Disposal disposal_;
    std::vector<tag_t> objects_;
};

}  // namespace carvell::detail

#endif
