// Rule paths of the work part's rule language as the host's typed queries
// take them, and a reader of one instance's attributes.
#ifndef CARVELL_TOOLBOX_DETAIL_RULE_PATH_H
#define CARVELL_TOOLBOX_DETAIL_RULE_PATH_H

#include "quillon.h"

#include <initializer_list>

namespace carvell::detail {

// A rule path in an SM_alloc'd text and in the host text of a query; both
// are freed when it goes out of scope. RulePath("root:", name) is the
// instance "root:NAME:", RulePath(instance, attribute) one of its rules.
class RulePath {
public:
    // parent + name + ":" (built to the full length, never cut).
    RulePath(const char* parent, const char* name);
    // The parts one after the other, as they are.
    static RulePath joined(std::initializer_list<const char*> parts);
    ~RulePath();
    RulePath(const RulePath&) = delete;
    RulePath& operator=(const RulePath&) = delete;

    // The path; null when it could not be allocated.
    const char* path() const { return path_; }
    // The path as a query's host text (the empty text when there is no path).
    const TEXT_t* text() const { return &text_; }

private:
    explicit RulePath(char* path);
    char* path_;
    TEXT_t text_;
};

// Reads the attributes of one instance ("root:NAME:", see RulePath). Every
// read starts from the value an unset attribute stands for (0, false, the
// zero point), so that a missing attribute can never pass on the value of the
// one read before it.
class InstanceReader {
public:
    // The instance's path; it must outlive the reader.
    explicit InstanceReader(const char* instance) : instance_(instance) {}

    int integer(const char* attribute) const;
    double number(const char* attribute) const;
    bool boolean(const char* attribute) const;
    void point(const char* attribute, double out[3]) const;
    // Member `member` (1-based) of a list rule.
    void point_member(const char* attribute, int member, double out[3]) const;
    double number_member(const char* attribute, int member) const;
    // An unset frame is the absolute one.
    void frame(const char* attribute, double origin[3], double matrix[9]) const;
    // A string rule as an SM_alloc'd copy (free with SM_free); null when unset.
    char* string(const char* attribute) const;

private:
    const char* instance_;
};

}  // namespace carvell::detail

#endif
