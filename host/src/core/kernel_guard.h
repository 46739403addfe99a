// The one guard between the host's entry points and the geometry kernel.
//
// Every entry point that reaches the kernel runs its body through
// host::guarded(): a kernel exception (Standard_Failure and its kin), a
// standard exception or anything else thrown inside becomes the entry
// point's failure code, the message goes to the error sink as the host's
// other errors do, and the objects the call made before it failed are
// discarded, so a failed call builds nothing. The guard is also where the
// test fixture's injected kernel fault strikes (fail the Nth guarded call).
// Internal to the stand-in.
#ifndef CARVELL_HOST_KERNEL_GUARD_H
#define CARVELL_HOST_KERNEL_GUARD_H

#include "host_types.h"

namespace host {

// Counts a guarded call; throws the injected kernel fault when the fixture
// armed it for this call.
void enter_kernel_call();
// The last tag given to an object alive at the time of the call (objects
// made later have greater tags).
tag_t newest_object_tag();
// Inside a catch: classifies the exception in flight, records it for the
// entry point in the error sink, discards the objects made after `mark`
// and answers `code`.
int kernel_failure(const char* entry, int code, tag_t mark);

// Runs `body` (answering the entry point's status) under the guard; a
// failure answers `code` (HM_ERR_GEOMETRY by default).
template <class Body>
int guarded(const char* entry, int code, Body&& body) {
    const tag_t mark = newest_object_tag();
    try {
        enter_kernel_call();
        return body();
    } catch (...) {
        return kernel_failure(entry, code, mark);
    }
}
template <class Body>
int guarded(const char* entry, Body&& body) {
    return guarded(entry, HM_ERR_GEOMETRY, static_cast<Body&&>(body));
}

// For entry points that answer a value instead of a status: `failed` on a
// failure.
template <class T, class Body>
T guarded_value(const char* entry, T failed, Body&& body) {
    const tag_t mark = newest_object_tag();
    try {
        enter_kernel_call();
        return body();
    } catch (...) {
        kernel_failure(entry, HM_ERR_GEOMETRY, mark);
        return failed;
    }
}

}  // namespace host

#endif
