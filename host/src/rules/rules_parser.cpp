// Rule texts of the rule language: the parser of the values that the tools
// write (numbers, integers, quoted strings, booleans, points, vectors,
// frames, object references, nested lists) and the canonical formatter.
#include "rules/rule_store.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace host {
namespace rules {
namespace {

// Most lists nested in one another: deep enough for any list the tools
// write; keeps a hostile text from exhausting the stack. 64 nested lists
// read, a 65th inside them is refused, whether or not it is empty.
constexpr int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(const char* text) : p_(text) {}

    bool document(RuleValue* out) {
        if (!value(out, 0)) return false;
        skip();
        return *p_ == '\0';
    }

private:
    void skip() {
        while (*p_ && std::isspace(static_cast<unsigned char>(*p_))) ++p_;
    }

    bool expect(char c) {
        skip();
        if (*p_ != c) return false;
        ++p_;
        return true;
    }

    // Scans a decimal number; integral texts (sign and digits only) that fit
    // an int are integers.
    bool number(double* real, bool* integral, int* integer) {
        skip();
        const char* start = p_;
        const char* q = p_;
        if (*q == '+' || *q == '-') ++q;
        size_t digits = 0;
        while (std::isdigit(static_cast<unsigned char>(*q))) ++q, ++digits;
        bool fraction = false, exponent = false;
        if (*q == '.') {
            fraction = true;
            ++q;
            while (std::isdigit(static_cast<unsigned char>(*q))) ++q, ++digits;
        }
        if (digits == 0) return false;
        if (*q == 'e' || *q == 'E') {
            const char* e = q + 1;
            if (*e == '+' || *e == '-') ++e;
            if (!std::isdigit(static_cast<unsigned char>(*e))) return false;
            while (std::isdigit(static_cast<unsigned char>(*e))) ++e;
            exponent = true;
            q = e;
        }
        std::string token(start, q);
        char* end = nullptr;
        double v = std::strtod(token.c_str(), &end);
        if (end != token.c_str() + token.size() || !std::isfinite(v)) return false;
        p_ = q;
        *real = v;
        *integral = !fraction && !exponent && v >= std::numeric_limits<int>::min() &&
                    v <= std::numeric_limits<int>::max();
        if (*integral) *integer = static_cast<int>(std::strtol(token.c_str(), nullptr, 10));
        return true;
    }

    bool real(double* out) {
        double v;
        bool integral;
        int i;
        if (!number(&v, &integral, &i)) return false;
        *out = v;
        return true;
    }

    // "(" n numbers separated by commas ")"
    bool numbers(double* out, int n) {
        if (!expect('(')) return false;
        for (int k = 0; k < n; ++k) {
            if (k > 0 && !expect(',')) return false;
            if (!real(&out[k])) return false;
        }
        return expect(')');
    }

    bool string(RuleValue* out) {
        ++p_;   // opening quote
        std::string s;
        for (;;) {
            char c = *p_;
            if (c == '\0') return false;
            ++p_;
            if (c == '"') break;
            if (c == '~' && (*p_ == '"' || *p_ == '~')) c = *p_++;
            s.push_back(c);
        }
        out->kind = RuleValue::String;
        out->text = std::move(s);
        return true;
    }

    bool list(RuleValue* out, int depth) {
        ++p_;   // opening brace
        out->kind = RuleValue::List;
        skip();
        if (*p_ == '}') {
            ++p_;
            return true;
        }
        for (;;) {
            RuleValue item;
            if (!value(&item, depth + 1)) return false;
            out->list.push_back(std::move(item));
            skip();
            if (*p_ == ',') {
                ++p_;
                continue;
            }
            if (*p_ == '}') {
                ++p_;
                return true;
            }
            return false;
        }
    }

    bool word(RuleValue* out) {
        const char* start = p_;
        while (std::isalpha(static_cast<unsigned char>(*p_)) || *p_ == '_') ++p_;
        std::string w(start, p_);
        for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (w == "true" || w == "false") {
            out->kind = RuleValue::Boolean;
            out->boolean = (w == "true");
            return true;
        }
        if (w == "point" || w == "vector") {
            out->kind = (w == "point") ? RuleValue::Point : RuleValue::Vector;
            return numbers(out->xyz.data(), 3);
        }
        if (w == "frame") {
            out->kind = RuleValue::Frame;
            return numbers(out->frame.data(), 12);
        }
        if (w == "object" || w == "instance") {
            double v;
            bool integral;
            int i;
            if (!expect('(') || !number(&v, &integral, &i) || !integral || i < 0) return false;
            if (w == "object") {
                out->kind = RuleValue::Object;
                out->object = static_cast<tag_t>(i);
            } else {
                out->kind = RuleValue::Instance;
                out->instance = static_cast<tag_t>(i);
            }
            return expect(')');
        }
        return false;
    }

    // `depth` is the number of lists around the value.
    bool value(RuleValue* out, int depth) {
        skip();
        char c = *p_;
        if (c == '{') return depth < kMaxDepth && list(out, depth);
        if (c == '"') return string(out);
        if (std::isalpha(static_cast<unsigned char>(c))) return word(out);
        double v;
        bool integral;
        int i;
        if (!number(&v, &integral, &i)) return false;
        if (integral) {
            out->kind = RuleValue::Integer;
            out->integer = i;
        } else {
            out->kind = RuleValue::Number;
            out->number = v;
        }
        return true;
    }

    const char* p_;
};

// Shortest text that reads back as the same double.
std::string real_text(double v, bool keep_real) {
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string s(buffer, r.ptr);
    if (keep_real && s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

std::string numbers_text(const char* name, const double* v, int n) {
    std::string s = name;
    s += '(';
    for (int k = 0; k < n; ++k) {
        if (k) s += ',';
        s += real_text(v[k], false);
    }
    s += ')';
    return s;
}

}  // namespace

bool parse_rule_text(const char* text, RuleValue* value) {
    if (!text || !value) return false;
    RuleValue v;
    if (!Parser(text).document(&v)) return false;
    *value = std::move(v);
    return true;
}

std::string format_rule_value(const RuleValue& v) {
    switch (v.kind) {
    case RuleValue::None:
        return "";
    case RuleValue::Number:
        return real_text(v.number, true);
    case RuleValue::Integer:
        return std::to_string(v.integer);
    case RuleValue::String: {
        std::string s = "\"";
        for (char c : v.text) {
            if (c == '"' || c == '~') s += '~';
            s += c;
        }
        return s + "\"";
    }
    case RuleValue::Boolean:
        return v.boolean ? "TRUE" : "FALSE";
    case RuleValue::Point:
        return numbers_text("Point", v.xyz.data(), 3);
    case RuleValue::Vector:
        return numbers_text("Vector", v.xyz.data(), 3);
    case RuleValue::Frame:
        return numbers_text("Frame", v.frame.data(), 12);
    case RuleValue::Object:
        return "Object(" + std::to_string(v.object) + ")";
    case RuleValue::Instance:
        return "Instance(" + std::to_string(v.instance) + ")";
    case RuleValue::List: {
        if (v.list.empty()) return "{ }";
        std::string s = "{ ";
        for (size_t k = 0; k < v.list.size(); ++k) {
            if (k) s += ", ";
            s += format_rule_value(v.list[k]);
        }
        return s + " }";
    }
    }
    return "";
}

}  // namespace rules
}  // namespace host
