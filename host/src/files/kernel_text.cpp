// The kernel's text forms of geometry, walked as the kernel reads them:
// whitespace-separated numbers, records led by a type number, arrays led by
// their counts. Nothing is built; the walk only proves that each declared
// count fits in what is left of the text, that each number is a number and
// that trimmed and offset records do not nest without end.
#include "files/kernel_text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace host {
namespace files {
namespace {

// Trimmed, offset, extruded and revolved records hold another record; no
// stored geometry nests deeper than a few levels.
constexpr int kMaxNesting = 16;
// The kernel reads a number into a 256-character buffer; a longer token
// would be split in two and the kernel's reading would fall out of step
// with this walk.
constexpr size_t kMaxTokenLength = 200;
// The kernel reads a face's line and the one after it into 256-character
// buffers.
constexpr size_t kMaxLineLength = 255;
// Highest degree the kernel's splines accept.
constexpr long kMaxDegree = 25;

struct Malformed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Tokens {
public:
    explicit Tokens(std::string_view text) {
        size_t i = 0, line = 0, line_start = 0;
        while (i < text.size()) {
            while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
                if (text[i] == '\n') ++line, line_start = i + 1;
                ++i;
            }
            const size_t start = i;
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
            if (i > start) {
                if (i - start > kMaxTokenLength) throw Malformed("a number longer than any the kernel writes");
                tokens_.push_back(text.substr(start, i - start));
                lines_.push_back(line);
                line_ends_.push_back(i - line_start);
            }
        }
    }

    // Line of the next token, and of the one read last.
    size_t next_line() const { return done() ? size_t(-1) : lines_[next_]; }
    size_t last_line() const { return next_ ? lines_[next_ - 1] : 0; }
    // Whether the token read last ends within the kernel's line buffer.
    bool last_fits_line_buffer() const { return next_ && line_ends_[next_ - 1] < kMaxLineLength; }

    std::string_view peek() const { return done() ? std::string_view() : tokens_[next_]; }

    size_t remaining() const { return tokens_.size() - next_; }
    bool done() const { return next_ == tokens_.size(); }

    std::string_view word(const char* what) {
        if (done()) throw Malformed(std::string("text ends before ") + what);
        return tokens_[next_++];
    }

    void keyword(const char* expected) {
        const std::string_view w = word(expected);
        if (w != expected) throw Malformed(std::string("\"") + expected + "\" expected");
    }

    long integer(const char* what) {
        const std::string text(word(what));
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(text.c_str(), &end, 10);
        if (end == text.c_str() || *end != '\0' || errno == ERANGE || v < -2147483647L || v > 2147483647L)
            throw Malformed(std::string(what) + ": \"" + text + "\" is not an integer");
        return v;
    }

    bool flag(const char* what) {
        const long v = integer(what);
        if (v != 0 && v != 1) throw Malformed(std::string(what) + ": " + std::to_string(v) + " is neither 0 nor 1");
        return v == 1;
    }

    void reals(size_t n, const char* what) {
        for (size_t k = 0; k < n; ++k) {
            const std::string text(word(what));
            char* end = nullptr;
            const double v = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !std::isfinite(v))
                throw Malformed(std::string(what) + ": \"" + text + "\" is not a finite number");
        }
    }

    void integers(size_t n, const char* what) {
        for (size_t k = 0; k < n; ++k) integer(what);
    }

    // A count of items of at least `tokens_each` numbers each; refused when
    // negative, below `least`, or more than the rest of the text can hold.
    size_t count(const char* what, size_t tokens_each, long least = 0) {
        const long n = integer(what);
        if (n < least)
            throw Malformed(std::string(what) + ": " + std::to_string(n) + " declared, at least " +
                            std::to_string(least) + " needed");
        const size_t most = remaining() / (tokens_each ? tokens_each : 1);
        if (static_cast<unsigned long>(n) > most)
            throw Malformed(std::string(what) + ": " + std::to_string(n) + " declared, the text holds at most " +
                            std::to_string(most));
        return static_cast<size_t>(n);
    }

    // A product of two counts checked against what the text can hold.
    void fits(size_t a, size_t b, size_t tokens_each, const char* what) {
        const double need = double(a) * double(b) * double(tokens_each);
        if (need > double(remaining()))
            throw Malformed(std::string(what) + ": " + std::to_string(a) + " x " + std::to_string(b) +
                            " declared, more than the text holds");
    }

    // An index into a set of `n`, from `least` (0 where "none" is allowed).
    long index(const char* what, size_t n, long least = 1) {
        const long i = integer(what);
        if (i < least || static_cast<unsigned long>(i) > n)
            throw Malformed(std::string(what) + " " + std::to_string(i) + " is not among the " + std::to_string(n));
        return i;
    }

private:
    std::vector<std::string_view> tokens_;
    std::vector<size_t> lines_;
    std::vector<size_t> line_ends_;
    size_t next_ = 0;
};

long degree(Tokens& t, const char* what) {
    const long d = t.integer(what);
    if (d < 1 || d > kMaxDegree)
        throw Malformed(std::string(what) + ": " + std::to_string(d) + " is outside 1.." + std::to_string(kMaxDegree));
    return d;
}

void nested(int depth) {
    if (depth > kMaxNesting) throw Malformed("records nested more than " + std::to_string(kMaxNesting) + " deep");
}

// A curve record; `dim` is 3 for space curves and 2 for curves on surfaces.
void curve(Tokens& t, int dim, int depth) {
    nested(depth);
    const long type = t.integer("curve type");
    const size_t axes = dim == 3 ? 4 : 3;   // location and axes of a conic
    switch (type) {
    case 1: t.reals(2 * dim, "line"); return;
    case 2: t.reals(axes * dim + 1, "circle"); return;
    case 3: t.reals(axes * dim + 2, "ellipse"); return;
    case 4: t.reals(axes * dim + 1, "parabola"); return;
    case 5: t.reals(axes * dim + 2, "hyperbola"); return;
    case 6: {
        const bool rational = t.flag("rational flag");
        const long d = degree(t, "degree");
        const size_t per_pole = dim + (rational ? 1 : 0);
        t.fits(size_t(d) + 1, 1, per_pole, "poles");
        t.reals((size_t(d) + 1) * per_pole, "pole");
        return;
    }
    case 7: {
        const bool rational = t.flag("rational flag");
        t.flag("periodic flag");
        degree(t, "degree");
        const size_t per_pole = dim + (rational ? 1 : 0);
        // Poles and knots follow the two counts: at least two numbers each.
        const size_t poles = t.count("poles", 2, 2);
        const size_t knots = t.count("knots", 2, 2);
        t.fits(poles, 1, per_pole, "poles");
        t.reals(poles * per_pole, "pole");
        t.fits(knots, 1, 2, "knots");
        for (size_t k = 0; k < knots; ++k) {
            t.reals(1, "knot");
            if (t.integer("multiplicity") < 1) throw Malformed("multiplicity below 1");
        }
        return;
    }
    case 8: t.reals(2, "trimmed curve"); curve(t, dim, depth + 1); return;
    case 9: t.reals(dim == 3 ? 4 : 1, "offset curve"); curve(t, dim, depth + 1); return;
    default: throw Malformed("curve type " + std::to_string(type) + " unknown");
    }
}

void surface(Tokens& t, int depth) {
    nested(depth);
    const long type = t.integer("surface type");
    switch (type) {
    case 1: t.reals(12, "plane"); return;
    case 2: t.reals(13, "cylinder"); return;
    case 3: t.reals(14, "cone"); return;
    case 4: t.reals(13, "sphere"); return;
    case 5: t.reals(14, "torus"); return;
    case 6: t.reals(3, "extrusion"); curve(t, 3, depth + 1); return;
    case 7: t.reals(6, "revolution"); curve(t, 3, depth + 1); return;
    case 8: {
        const bool u_rational = t.flag("u rational flag");
        const bool rational = t.flag("v rational flag") || u_rational;
        const long du = degree(t, "u degree");
        const long dv = degree(t, "v degree");
        const size_t per_pole = 3 + (rational ? 1 : 0);
        t.fits(size_t(du) + 1, size_t(dv) + 1, per_pole, "poles");
        t.reals((size_t(du) + 1) * (size_t(dv) + 1) * per_pole, "pole");
        return;
    }
    case 9: {
        const bool u_rational = t.flag("u rational flag");
        const bool rational = t.flag("v rational flag") || u_rational;
        t.flag("u periodic flag");
        t.flag("v periodic flag");
        degree(t, "u degree");
        degree(t, "v degree");
        const size_t per_pole = 3 + (rational ? 1 : 0);
        const size_t u_poles = t.count("u poles", 2, 2);
        const size_t v_poles = t.count("v poles", 2, 2);
        const size_t u_knots = t.count("u knots", 2, 2);
        const size_t v_knots = t.count("v knots", 2, 2);
        t.fits(u_poles, v_poles, per_pole, "poles");
        t.reals(u_poles * v_poles * per_pole, "pole");
        for (size_t knots : {u_knots, v_knots}) {
            t.fits(knots, 1, 2, "knots");
            for (size_t k = 0; k < knots; ++k) {
                t.reals(1, "knot");
                if (t.integer("multiplicity") < 1) throw Malformed("multiplicity below 1");
            }
        }
        return;
    }
    case 10: t.reals(4, "trimmed surface"); surface(t, depth + 1); return;
    case 11: t.reals(1, "offset surface"); surface(t, depth + 1); return;
    default: throw Malformed("surface type " + std::to_string(type) + " unknown");
    }
}

size_t locations(Tokens& t) {
    t.keyword("Locations");
    const size_t n = t.count("locations", 1);
    for (size_t i = 0; i < n; ++i) {
        const long kind = t.integer("location kind");
        if (kind == 1) {
            t.reals(12, "location matrix");
        } else if (kind == 2) {
            // Pairs of earlier location and power, closed by 0.
            for (;;) {
                const long index = t.integer("location index");
                if (index == 0) break;
                if (index < 1 || size_t(index) > i)
                    throw Malformed("location " + std::to_string(index) + " is not an earlier location");
                t.integer("location power");
            }
        } else {
            throw Malformed("location kind " + std::to_string(kind) + " unknown");
        }
    }
    return n;
}

size_t curve_set(Tokens& t, const char* keyword, int dim) {
    t.keyword(keyword);
    const size_t n = t.count(keyword, 2);
    for (size_t i = 0; i < n; ++i) curve(t, dim, 0);
    return n;
}

size_t polygons_3d(Tokens& t) {
    t.keyword("Polygon3D");
    const size_t n = t.count("polygons", 3);
    for (size_t i = 0; i < n; ++i) {
        const size_t nodes = t.count("polygon nodes", 3);
        const bool parameters = t.flag("parameters flag");
        t.reals(1, "deflection");
        t.fits(nodes, 1, 3 + (parameters ? 1 : 0), "polygon nodes");
        t.reals(nodes * 3, "node");
        if (parameters) t.reals(nodes, "parameter");
    }
    return n;
}

size_t polygons_on_triangulations(Tokens& t) {
    t.keyword("PolygonOnTriangulations");
    const size_t n = t.count("polygons on triangulations", 4);
    for (size_t i = 0; i < n; ++i) {
        const size_t nodes = t.count("polygon nodes", 1);
        t.integers(nodes, "node index");
        t.keyword("p");
        t.reals(1, "deflection");
        if (t.flag("parameters flag")) {
            t.fits(nodes, 1, 1, "polygon parameters");
            t.reals(nodes, "parameter");
        }
    }
    return n;
}

size_t surface_set(Tokens& t) {
    t.keyword("Surfaces");
    const size_t n = t.count("surfaces", 2);
    for (size_t i = 0; i < n; ++i) surface(t, 0);
    return n;
}

size_t triangulations(Tokens& t, bool with_normals) {
    t.keyword("Triangulations");
    const size_t n = t.count("triangulations", 4);
    for (size_t i = 0; i < n; ++i) {
        const size_t nodes = t.count("triangulation nodes", 3);
        const size_t triangles = t.count("triangles", 3);
        const bool uv = t.flag("uv flag");
        const bool normals = with_normals && t.flag("normals flag");
        t.reals(1, "deflection");
        const size_t per_node = 3 + (uv ? 2 : 0) + (normals ? 3 : 0);
        t.fits(nodes, 1, per_node, "triangulation nodes");
        t.reals(nodes * 3, "node");
        if (uv) t.reals(nodes * 2, "uv node");
        t.fits(triangles, 1, 3, "triangles");
        t.integers(triangles * 3, "triangle");
        if (normals) t.reals(nodes * 3, "normal");
    }
    return n;
}

// What the shapes of a shape text may refer to: the sizes of its sets.
struct Sets {
    int version = 1;
    size_t locations = 0, curve2ds = 0, curves = 0, polygons = 0, polygons_on = 0, surfaces = 0, triangulations = 0;
};

void regularity(Tokens& t) {
    const std::string_view r = t.word("regularity");
    if (r.size() != 2 || (r[0] != 'C' && r[0] != 'G')) throw Malformed("regularity \"" + std::string(r) + "\" unknown");
}

// A vertex: tolerance, point, and its representations closed by kind 0.
void vertex(Tokens& t, const Sets& sets) {
    t.reals(4, "vertex");
    for (;;) {
        t.reals(1, "vertex parameter");
        const long kind = t.integer("vertex representation");
        if (kind == 0) return;
        switch (kind) {
        case 1: t.index("curve", sets.curves); break;
        case 2: t.index("curve on surface", sets.curve2ds); t.index("surface", sets.surfaces); break;
        case 3: t.reals(1, "vertex parameter"); t.index("surface", sets.surfaces); break;
        default: throw Malformed("vertex representation " + std::to_string(kind) + " unknown");
        }
        t.index("location", sets.locations, 0);
    }
}

// An edge: tolerance and flags, and its representations closed by kind 0.
void edge(Tokens& t, const Sets& sets) {
    t.reals(1, "edge tolerance");
    for (const char* f : {"same parameter flag", "same range flag", "degenerated flag"}) t.flag(f);
    for (;;) {
        const long kind = t.integer("edge representation");
        switch (kind) {
        case 0: return;
        case 1:
            t.index("curve", sets.curves);
            t.index("location", sets.locations, 0);
            t.reals(2, "edge range");
            break;
        case 2:
        case 3:
            t.index("curve on surface", sets.curve2ds);
            if (kind == 3) {
                // The kernel writes the second curve and the regularity
                // without a space between them ("4CN"), and reads the number
                // then the regularity.
                const std::string second(t.word("curve on surface"));
                const size_t digits = second.find_first_not_of("0123456789");
                const std::string number = second.substr(0, digits);
                if (number.empty() || number.size() > 9 || std::stoul(number) < 1 || std::stoul(number) > sets.curve2ds)
                    throw Malformed("curve on surface \"" + second + "\" is not among the " +
                                    std::to_string(sets.curve2ds));
                const std::string rest = digits == std::string::npos ? std::string() : second.substr(digits);
                if (rest.empty()) regularity(t);
                else if (rest.size() != 2 || (rest[0] != 'C' && rest[0] != 'G'))
                    throw Malformed("regularity \"" + rest + "\" unknown");
            }
            t.index("surface", sets.surfaces);
            t.index("location", sets.locations, 0);
            t.reals(sets.version == 2 ? 6 : 2, "edge range");
            break;
        case 4:
            regularity(t);
            t.index("surface", sets.surfaces);
            t.index("location", sets.locations, 0);
            t.index("surface", sets.surfaces);
            t.index("location", sets.locations, 0);
            break;
        case 5:
            t.index("polygon", sets.polygons);
            t.index("location", sets.locations, 0);
            break;
        case 6:
        case 7:
            t.index("polygon on triangulation", sets.polygons_on);
            if (kind == 7) t.index("polygon on triangulation", sets.polygons_on);
            t.index("triangulation", sets.triangulations);
            t.index("location", sets.locations, 0);
            break;
        default: throw Malformed("edge representation " + std::to_string(kind) + " unknown");
        }
    }
}

// A face: natural restriction flag, tolerance, surface and location on one
// line; the kernel then reads the rest of that line and the next line
// whole, which is empty or names the face's triangulation ("2 <index>").
void face(Tokens& t, const Sets& sets) {
    t.flag("natural restriction flag");
    t.reals(1, "face tolerance");
    t.index("surface", sets.surfaces, 0);
    t.index("location", sets.locations, 0);
    const size_t line = t.last_line();
    if (!t.last_fits_line_buffer() || t.next_line() == line) throw Malformed("face line not as the kernel reads it");
    if (t.next_line() == line + 1) {
        if (t.peek() != "2") throw Malformed("face triangulation line not as the kernel reads it");
        t.word("triangulation");
        if (t.next_line() != line + 1) throw Malformed("face triangulation line not as the kernel reads it");
        t.index("triangulation", sets.triangulations);
        if (!t.last_fits_line_buffer() || t.next_line() == line + 1)
            throw Malformed("face triangulation line not as the kernel reads it");
    }
}

// The shapes, each with its geometry, its flags and its sub-shapes (each
// one read before it) closed by "*".
void shapes(Tokens& t, const Sets& sets) {
    t.keyword("TShapes");
    // A vertex, the least of shapes, takes more than eight numbers.
    const size_t n = t.count("shapes", 8);
    for (size_t k = 1; k <= n; ++k) {
        const std::string_view type = t.word("shape type");
        if (type == "Ve") vertex(t, sets);
        else if (type == "Ed") edge(t, sets);
        else if (type == "Fa") face(t, sets);
        else if (type != "Wi" && type != "Sh" && type != "So" && type != "CS" && type != "Co")
            throw Malformed("shape type \"" + std::string(type) + "\" unknown");
        const std::string_view flags = t.word("shape flags");
        if (flags.size() != 7 || flags.find_first_not_of("01") != std::string_view::npos)
            throw Malformed("shape flags \"" + std::string(flags) + "\" are not seven 0s and 1s");
        for (;;) {
            const std::string_view sub = t.word("sub-shape");
            if (sub == "*") break;
            if (sub.size() < 2 || std::string_view("+-ie").find(sub[0]) == std::string_view::npos)
                throw Malformed("sub-shape \"" + std::string(sub) + "\" not an oriented index");
            const std::string digits(sub.substr(1));
            if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
                throw Malformed("sub-shape \"" + std::string(sub) + "\" not an oriented index");
            const size_t index = std::stoul(digits);
            // Written in reverse: index i is the (n - i + 1)th shape read.
            if (index < 1 || index > n || n - index + 1 >= k)
                throw Malformed("sub-shape " + std::string(sub) + " is not a shape read before it");
            t.index("location", sets.locations, 0);
        }
    }
    // The shape itself: an oriented index and its location.
    const std::string_view top = t.word("shape");
    if (top.size() < 2 || std::string_view("+-ie").find(top[0]) == std::string_view::npos)
        throw Malformed("shape \"" + std::string(top) + "\" not an oriented index");
    const std::string digits(top.substr(1));
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9 || std::stoul(digits) < 1 ||
        std::stoul(digits) > n)
        throw Malformed("shape " + std::string(top) + " is not among the shapes");
    t.index("location", sets.locations, 0);
}

template <class Walk>
std::string checked(const std::string& text, Walk walk) {
    try {
        Tokens t(text);
        walk(t);
        return std::string();
    } catch (const Malformed& e) {
        return e.what();
    }
}

}  // namespace

std::string check_curve_text(const std::string& text) {
    return checked(text, [](Tokens& t) { curve(t, 3, 0); });
}

std::string check_surface_text(const std::string& text) {
    return checked(text, [](Tokens& t) { surface(t, 0); });
}

std::string check_shape_text(const std::string& text) {
    // The kernel finds its version line, then reads the geometry sets in
    // this order, then the shapes that use them.
    static const char* const kVersions[] = {"CASCADE Topology V1", "CASCADE Topology V2", "CASCADE Topology V3"};
    size_t at = std::string::npos;
    int version = 0;
    for (int v = 0; v < 3; ++v) {
        const size_t found = text.find(kVersions[v]);
        if (found != std::string::npos && found < at) at = found, version = v + 1;
    }
    if (at == std::string::npos) return "no topology version line";
    const size_t line_end = text.find('\n', at);
    if (line_end == std::string::npos) return "text ends after its version line";
    const std::string body = text.substr(line_end + 1);
    return checked(body, [version](Tokens& t) {
        Sets sets;
        sets.version = version;
        sets.locations = locations(t);
        sets.curve2ds = curve_set(t, "Curve2ds", 2);
        sets.curves = curve_set(t, "Curves", 3);
        sets.polygons = polygons_3d(t);
        sets.polygons_on = polygons_on_triangulations(t);
        sets.surfaces = surface_set(t);
        sets.triangulations = triangulations(t, version >= 3);
        shapes(t, sets);
        if (!t.done()) throw Malformed("text goes on after the shape");
    });
}

}  // namespace files
}  // namespace host
