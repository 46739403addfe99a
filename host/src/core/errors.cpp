// The host's exception, error raising and error logging.
#include "core/sinks.h"
#include "quillon.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>

namespace Korvath {
namespace Error {

static void copy_text(char* to, size_t size, const char* from) {
    std::snprintf(to, size, "%s", from ? from : "");
}

Exception::Exception(int code, const char* message, const char* file, int line) : code_(code), line_(line) {
    copy_text(message_, sizeof message_, message);
    copy_text(file_, sizeof file_, file);
}

Exception::~Exception() = default;

const char* Exception::askMessage() const { return message_; }
const char* Exception::askFile() const { return file_; }

void Exception::setLocation(const char* file, int line) {
    copy_text(file_, sizeof file_, file);
    line_ = line;
}

void Exception::release() { message_[0] = '\0'; }

// Codes given to exceptions that did not come from the host.
enum { kBadAlloc = 9001, kStdException = 9002, kUnknown = 9003 };

Exception Severe::Convert() {
    try {
        throw;
    } catch (const Exception& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return Exception(kBadAlloc, "out of memory");
    } catch (const std::exception& e) {
        return Exception(kStdException, e.what());
    } catch (...) {
        return Exception(kUnknown, "unknown exception");
    }
}

}  // namespace Error
}  // namespace Korvath

void ERROR_raise(const char* file, int line, int code, const char* message) {
    throw Korvath::Error::Exception(code, message, file, line);
}

void ERROR_internal(const char* source, int line, const char* message) {
    host::sinks().internal_errors.push_back(message ? message : "");
    throw Korvath::Error::Exception(HM_ERR_INTERNAL, message, source, line);
}

void ERROR_lprintf(const char* format, ...) {
    if (!format) return;
    va_list ap;
    va_start(ap, format);
    const std::string line = host::vformat(format, ap);
    va_end(ap);
    host::sinks().errors.push_back(line);
    if (host::sinks().echo) std::fprintf(stderr, "%s", line.c_str());
}

void ERROR_severe(const char* message) {
    std::string text = std::string("Severe error: ") + (message ? message : "");
    host::sinks().errors.push_back(text);
    host::sinks().syslog.push_back(text);
    if (host::sinks().echo) std::fprintf(stderr, "%s\n", text.c_str());
}

void ERROR_severe(const char* source, int line, int code, const char* message) {
    char where[320];
    std::snprintf(where, sizeof where, "%s, line %d, code %d: %s", source ? source : "", line, code,
                  message ? message : "");
    ERROR_severe(static_cast<const char*>(where));
}
