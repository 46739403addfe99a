// Rule paths and the instance reader.
#include "toolbox/detail/rule_path.h"

#include "tessik.h"

#include <cstring>
#include <string>

namespace carvell::detail {

RulePath::RulePath(const char* parent, const char* name) : RulePath(SM_sprintf("%s%s:", parent, name)) {}

RulePath::RulePath(char* path) : path_(path) { TEXT_init_string(&text_, path_ ? path_ : ""); }

RulePath RulePath::joined(std::initializer_list<const char*> parts) {
    std::string path;
    for (const char* part : parts) path += part ? part : "";
    return RulePath(SM_string_copy(path.c_str()));
}

RulePath::~RulePath() {
    TEXT_free(&text_);
    SM_free(path_);
}

int InstanceReader::integer(const char* attribute) const {
    int value = 0;
    RulePath path(instance_, attribute);
    VD_RQ_ask_integer(path.text(), &value);
    return value;
}

double InstanceReader::number(const char* attribute) const {
    double value = 0.0;
    RulePath path(instance_, attribute);
    VD_RQ_ask_number(path.text(), &value);
    return value;
}

bool InstanceReader::boolean(const char* attribute) const {
    bool value = false;
    RulePath path(instance_, attribute);
    VD_RQ_ask_boolean(path.text(), &value);
    return value;
}

void InstanceReader::point(const char* attribute, double out[3]) const {
    double value[3] = {0.0, 0.0, 0.0};
    RulePath path(instance_, attribute);
    VD_RQ_ask_point(path.text(), value);
    std::memcpy(out, value, sizeof value);
}

void InstanceReader::point_member(const char* attribute, int member, double out[3]) const {
    double value[3] = {0.0, 0.0, 0.0};
    RulePath path(instance_, attribute);
    VD_RQ_ask_point_list_member(path.text(), member, value);
    std::memcpy(out, value, sizeof value);
}

double InstanceReader::number_member(const char* attribute, int member) const {
    double value = 0.0;
    RulePath path(instance_, attribute);
    VD_RQ_ask_number_list_member(path.text(), member, &value);
    return value;
}

void InstanceReader::frame(const char* attribute, double origin[3], double matrix[9]) const {
    double o[3] = {0.0, 0.0, 0.0};
    double m[9] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    RulePath path(instance_, attribute);
    VD_RQ_ask_frame(path.text(), o, m);
    std::memcpy(origin, o, sizeof o);
    std::memcpy(matrix, m, sizeof m);
}

char* InstanceReader::string(const char* attribute) const {
    char* value = nullptr;
    RulePath path(instance_, attribute);
    if (VD_RQ_ask_string(path.text(), &value) != 0) value = nullptr;
    return value;
}

}  // namespace carvell::detail
