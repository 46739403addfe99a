// Finiteness and count checks on what a caller hands an export: coordinates
// that are NaN or infinite, rows of point pointers with a null entry, and
// counts whose arrays could not be allocated. Every family but curves/ checks
// its input here, so a bad number is refused the same way everywhere.
#ifndef CARVELL_TOOLBOX_DETAIL_FINITE_H
#define CARVELL_TOOLBOX_DETAIL_FINITE_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace carvell::detail {

// True when the n values are all finite (neither NaN nor infinite); false for
// a null array or a negative n.
inline bool all_finite(const double* v, int n) {
    if (!v || n < 0) return false;
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// True when each value is finite.
inline bool all_finite(std::initializer_list<double> values) {
    for (double x : values)
        if (!std::isfinite(x)) return false;
    return true;
}

// A point or vector of three doubles: present and finite.
inline bool finite3(const double* p) { return all_finite(p, 3); }

// A row of n pointers to points of `dimension` doubles: the row and every
// entry present, every coordinate finite. False for n below 0.
inline bool finite_point_row(int n, const double* const* row, int dimension = 3) {
    if (n < 0 || (n > 0 && !row)) return false;
    for (int i = 0; i < n; ++i)
        if (!all_finite(row[i], dimension)) return false;
    return true;
}

// Largest magnitude of a coordinate, vector component or length that the
// host models (1e12 part units, its model space): far beyond any vehicle,
// small enough that squares and products of such values stay finite. The
// host refuses anything beyond it, so the library checks against the same.
constexpr double kModelSpaceLimit = 1.0e12;

// True when the n values are finite and inside the model space; false for a
// null array or a negative n.
inline bool in_model_space(const double* v, int n) {
    if (!all_finite(v, n)) return false;
    for (int i = 0; i < n; ++i)
        if (std::fabs(v[i]) > kModelSpaceLimit) return false;
    return true;
}

// Each value finite and inside the model space.
inline bool in_model_space(std::initializer_list<double> values) {
    for (double x : values)
        if (!std::isfinite(x) || std::fabs(x) > kModelSpaceLimit) return false;
    return true;
}

// A point or vector of three doubles: present and inside the model space.
inline bool model_point(const double* p) { return in_model_space(p, 3); }

// A row of n pointers to points: the row and every entry present, every
// coordinate inside the model space. False for n below 0.
inline bool model_point_row(int n, const double* const* row) {
    if (n < 0 || (n > 0 && !row)) return false;
    for (int i = 0; i < n; ++i)
        if (!model_point(row[i])) return false;
    return true;
}

// The largest block one request to the host's memory manager is asked for:
// 1 GiB. Far above what a design call needs, far below where a size in
// bytes could overflow.
constexpr std::size_t kMaxBlockBytes = std::size_t{1} << 30;

// True when `count` elements of `element_size` bytes fit in one block of at
// most kMaxBlockBytes (and count is not negative). Checked before any
// arithmetic on the count, so no product can overflow.
inline bool count_fits(long long count, std::size_t element_size) {
    if (count < 0 || element_size == 0) return false;
    return static_cast<unsigned long long>(count) <= kMaxBlockBytes / element_size;
}

// A text in a fixed buffer of `size` bytes: present and ending within it (a
// buffer a caller filled to its last byte is not read past its end).
inline bool terminated(const char* text, std::size_t size) {
    return text && std::memchr(text, '\0', size) != nullptr;
}

// The largest magnitude of a coordinate, offset or distance an export takes:
// a million kilometres in millimetres, the host's model space. Beyond it
// squares and sums of such numbers may overflow.
constexpr double kMaxCoordinate = 1.0e12;

// True when the n values (n counted in values, not points) are finite and
// within kMaxCoordinate; false for a null array, a negative n, or an n whose
// block would not fit (checked first, so a count too large for the caller's
// array is refused before it is read).
inline bool all_modelled(const double* v, long long n) {
    if (!v || !count_fits(n, sizeof(double))) return false;
    for (long long i = 0; i < n; ++i)
        if (!std::isfinite(v[i]) || std::fabs(v[i]) > kMaxCoordinate) return false;
    return true;
}

}  // namespace carvell::detail

#endif
