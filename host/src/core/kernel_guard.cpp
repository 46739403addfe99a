// The guard between the host's entry points and the geometry kernel: what a
// failed call records and discards, and the kernel fault a test injects.
#include "core/kernel_guard.h"

#include "core/model.h"
#include "core/sinks.h"
#include "host_testing.h"

#include <Standard_Failure.hxx>

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace host {
namespace {

// Test settings, not model state: an undo mark never restores them.
struct KernelFault {
    long calls = 0;        // guarded calls made so far
    long fail_at = -1;     // the call (counted from 0) that fails; -1: none
};
KernelFault g_fault;

// The error the fixture injects: a kernel failure like any other.
class InjectedKernelFault : public Standard_Failure {
public:
    InjectedKernelFault() : Standard_Failure("injected kernel fault") {}
};

// Faces and edges of a body alive before the call are tagged on first
// request and belong to it; they are not the call's own objects.
bool tagged_part_of_older_body(const Object& o, tag_t mark) {
    return o.type == HM_solid_type && o.subtype != HM_solid_body_subtype && o.owner != 0 && o.owner <= mark;
}

}  // namespace

void enter_kernel_call() {
    const long call = g_fault.calls++;
    if (call == g_fault.fail_at) {
        g_fault.fail_at = -1;
        throw InjectedKernelFault();
    }
}

tag_t newest_object_tag() {
    const auto& objects = model().objects;
    return objects.empty() ? 0 : objects.rbegin()->first;
}

int kernel_failure(const char* entry, int code, tag_t mark) {
    std::string what;
    try {
        throw;
    } catch (const Standard_Failure& e) {
        what = std::string(e.DynamicType()->Name()) + ": " + (e.GetMessageString() ? e.GetMessageString() : "");
    } catch (const std::bad_alloc&) {
        what = "out of memory";
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "unknown exception";
    }
    // What the call made before it failed goes with it.
    std::vector<tag_t> made;
    for (auto it = model().objects.upper_bound(mark); it != model().objects.end(); ++it)
        if (!tagged_part_of_older_body(it->second, mark)) made.push_back(it->first);
    for (tag_t t : made) erase(t);

    const std::string line =
        std::string(entry ? entry : "host") + ": the geometry kernel failed (" + what + "), code " +
        std::to_string(code) + "\n";
    sinks().errors.push_back(line);
    if (sinks().echo) std::fprintf(stderr, "%s", line.c_str());
    return code;
}

}  // namespace host

namespace host_testing {

void fail_kernel_call_after(int n) { host::g_fault.fail_at = n < 0 ? -1 : host::g_fault.calls + n; }
void clear_kernel_fault() { host::g_fault.fail_at = -1; }
long kernel_calls_made() { return host::g_fault.calls; }

}  // namespace host_testing
