// Layout checks of the records a host dialog fills or reads: each field's
// offset as the compiler lays the record out, beside the offset that the
// record's documented field order gives on the 64-bit ABI (each field at the
// next multiple of its alignment after the one before, the record's size a
// multiple of its largest alignment). A field moved, dropped or retyped shows
// as a wrong offset of it and of every field after it.
#ifndef CARVELL_TESTS_RECORD_LAYOUT_H
#define CARVELL_TESTS_RECORD_LAYOUT_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace support {

// One field in documented order: its offset in the compiled record, and the
// size and alignment of the type the documentation gives it.
struct LaidField {
    const char* name;
    std::size_t offset;
    std::size_t size;
    std::size_t align;
};

// A field of type T (or an array of n of them) at the compiled offset.
template <typename T>
LaidField field(const char* name, std::size_t offset, std::size_t n = 1) {
    return {name, offset, sizeof(T) * n, alignof(T)};
}

// Checks every field's offset and the record's size against the documented order.
inline void expect_laid_out(const char* record, std::size_t record_size, const std::vector<LaidField>& fields) {
    SCOPED_TRACE(record);
    std::size_t end = 0, largest = 1;
    for (const LaidField& f : fields) {
        const std::size_t expected = (end + f.align - 1) / f.align * f.align;
        EXPECT_EQ(f.offset, expected) << "field " << f.name;
        end = expected + f.size;
        largest = std::max(largest, f.align);
    }
    EXPECT_EQ(record_size, (end + largest - 1) / largest * largest) << "size of the record";
}

}  // namespace support

#define CARVELL_FIELD(Record, member, Type, ...) \
    support::field<Type>(#member, offsetof(Record, member), ##__VA_ARGS__)

#endif
