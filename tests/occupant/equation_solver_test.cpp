// One-dimensional equation solver: the four methods on functions with known
// roots, the bracket search, the iteration limit and the argument checks.
#include "equation_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace carvell::occupant;

namespace {

// A callable behind the solver's callback, counting its calls.
struct Fn {
    std::function<int(double, double*)> body;
    int calls = 0;
};

int call(double x, void* data, double* f) {
    Fn* fn = static_cast<Fn*>(data);
    ++fn->calls;
    return fn->body(x, f);
}

Fn plain(double (*g)(double)) {
    return Fn{[g](double x, double* f) {
        *f = g(x);
        return 0;
    }};
}

int solve(int method, double lo, double hi, Fn& fn, double* root, int n = 0, double xtol = 1e-4,
          double ftol = 1e-8) {
    const double interval[2] = {lo, hi};
    return OPT_UTIL_equation_solver(method, interval, xtol, ftol, n, call, &fn, root);
}

struct KnownRoot {
    const char* name;
    double (*f)(double);
    double lo, hi, root;
};

const KnownRoot kKnownRoots[] = {
    {"line", [](double x) { return x - 0.3; }, 0.0, 1.0, 0.3},
    {"cube", [](double x) { return x * x * x - 2.0; }, 1.0, 2.0, 1.2599210498948732},
    {"cosine", [](double x) { return std::cos(x) - x; }, 0.0, 1.0, 0.7390851332151607},
    {"exponential", [](double x) { return std::exp(x) - 2.0; }, 0.0, 1.0, 0.6931471805599453},
    {"decreasing", [](double x) { return 0.5 - x * x; }, 0.0, 1.0, 0.7071067811865476},
};

}  // namespace

TEST(EquationSolverTest, EveryMethodFindsKnownRoots) {
    // Bisection and Brent stop on the bracket width; false position stops on
    // the step between estimates, so its root is held to a looser bound.
    const struct {
        int method;
        double tolerance;
    } methods[] = {{OPT_UTIL_BISECTION, 1e-4},
                   {OPT_UTIL_FALSE_POSITION, 5e-4},
                   {OPT_UTIL_MODIFIED_FALSE_POSITION, 5e-4},
                   {OPT_UTIL_BRENT, 1e-4}};
    for (const auto& m : methods) {
        for (const KnownRoot& k : kKnownRoots) {
            Fn fn = plain(k.f);
            double root = -99.0;
            ASSERT_EQ(solve(m.method, k.lo, k.hi, fn, &root), OPT_UTIL_OK) << "method " << m.method << " " << k.name;
            EXPECT_NEAR(root, k.root, m.tolerance) << "method " << m.method << " " << k.name;
        }
    }
}

TEST(EquationSolverTest, NoSignChangeFailsForEveryMethodAndLeavesTheRoot) {
    for (int method = 1; method <= 4; ++method) {
        Fn fn = plain([](double x) { return x * x + 1.0; });
        double root = -99.0;
        EXPECT_EQ(solve(method, 0.0, 1.0, fn, &root), OPT_UTIL_NO_SIGN_CHANGE) << "method " << method;
        EXPECT_EQ(root, -99.0);
    }
}

TEST(EquationSolverTest, BracketExtendsPastTheUpperEnd) {
    // Both ends negative, the root 0.05 beyond the upper end.
    Fn fn = plain([](double x) { return x - 1.05; });
    double root = 0.0;
    ASSERT_EQ(solve(OPT_UTIL_BISECTION, 0.0, 1.0, fn, &root), OPT_UTIL_OK);
    EXPECT_NEAR(root, 1.05, 1e-4);
}

TEST(EquationSolverTest, BracketMovesInwardPastUnusableEnds) {
    // The function cannot be evaluated near the ends; the search moves both
    // ends inward by 0.1 until it can.
    Fn fn{[](double x, double* f) {
        if (x < 0.15 || x > 0.85) return 1;
        *f = x - 0.5;
        return 0;
    }};
    double root = 0.0;
    ASSERT_EQ(solve(OPT_UTIL_BRENT, 0.0, 1.0, fn, &root), OPT_UTIL_OK);
    EXPECT_NEAR(root, 0.5, 1e-4);
}

TEST(EquationSolverTest, BracketSearchGivesUpAfterFivePasses) {
    Fn fn{[](double, double*) { return 2; }};
    double root = -99.0;
    EXPECT_EQ(solve(OPT_UTIL_BISECTION, 0.0, 1.0, fn, &root), OPT_UTIL_NO_SIGN_CHANGE);
    EXPECT_EQ(fn.calls, 10);  // two ends on each of five passes
    EXPECT_EQ(root, -99.0);
}

TEST(EquationSolverTest, BracketSearchStopsWhenMovingAwayFromTheRoot) {
    // Both ends positive and the function grows beyond the upper end.
    Fn fn = plain([](double x) { return 1.0 + x; });
    double root = -99.0;
    EXPECT_EQ(solve(OPT_UTIL_BRENT, 0.0, 1.0, fn, &root), OPT_UTIL_NO_SIGN_CHANGE);
    EXPECT_EQ(fn.calls, 3);  // both ends, then one probe beyond the upper end
}

TEST(EquationSolverTest, IterationLimitFollowsFromTheBracketWidthWhenNotGiven) {
    // Plain false position creeps along x^2 - 0.01 from one side and needs
    // about thirty steps; the automatic limit for [0, 1] at xtol 1e-4 is
    // trunc(log2(10000) + 2) = 15. The weighted variant converges in time.
    Fn slow = plain([](double x) { return x * x - 0.01; });
    double root = -99.0;
    EXPECT_EQ(solve(OPT_UTIL_FALSE_POSITION, 0.0, 1.0, slow, &root), OPT_UTIL_FALSE_POSITION_LIMIT);
    EXPECT_EQ(slow.calls, 2 + 15);
    EXPECT_EQ(root, -99.0);

    Fn weighted = plain([](double x) { return x * x - 0.01; });
    ASSERT_EQ(solve(OPT_UTIL_MODIFIED_FALSE_POSITION, 0.0, 1.0, weighted, &root), OPT_UTIL_OK);
    EXPECT_NEAR(root, 0.1, 1e-4);
}

TEST(EquationSolverTest, AGivenIterationLimitGivesTheMethodsCode) {
    const struct {
        int method;
        int code;
    } cases[] = {{OPT_UTIL_BISECTION, OPT_UTIL_BISECTION_LIMIT},
                 {OPT_UTIL_FALSE_POSITION, OPT_UTIL_FALSE_POSITION_LIMIT},
                 {OPT_UTIL_MODIFIED_FALSE_POSITION, OPT_UTIL_FALSE_POSITION_LIMIT},
                 {OPT_UTIL_BRENT, OPT_UTIL_BRENT_LIMIT}};
    for (const auto& c : cases) {
        for (int n : {-1, 1}) {
            Fn fn = plain([](double x) { return std::exp(x) - 2.0; });
            double root = -99.0;
            EXPECT_EQ(solve(c.method, 0.0, 1.0, fn, &root, n), c.code) << "method " << c.method << " n " << n;
            EXPECT_EQ(root, -99.0);
        }
    }
}

TEST(EquationSolverTest, CallbackFailureDuringTheIterationsAbortsTheSolve) {
    // Positive answers abort; negative ones are accepted with their value.
    Fn failing{[](double x, double* f) {
        *f = x - 0.3;
        return (x > 0.0 && x < 1.0) ? 1 : 0;
    }};
    double root = -99.0;
    EXPECT_EQ(solve(OPT_UTIL_BISECTION, 0.0, 1.0, failing, &root), OPT_UTIL_FUNCTION_FAILED);
    EXPECT_EQ(root, -99.0);

    Fn soft{[](double x, double* f) {
        *f = x - 0.3;
        return (x > 0.0 && x < 1.0) ? -1 : 0;
    }};
    ASSERT_EQ(solve(OPT_UTIL_BISECTION, 0.0, 1.0, soft, &root), OPT_UTIL_OK);
    EXPECT_NEAR(root, 0.3, 1e-4);
}

TEST(EquationSolverTest, BadArgumentsAreCheckedInOrder) {
    Fn fn = plain([](double x) { return x - 0.3; });
    double root = -99.0;
    const double interval[2] = {0.0, 1.0};
    const double reversed[2] = {1.0, 0.0};
    const double not_a_number[2] = {NAN, 1.0};
    // Interval and tolerances first, before the function is called.
    EXPECT_EQ(OPT_UTIL_equation_solver(1, reversed, 1e-4, 1e-8, 0, call, &fn, &root), OPT_UTIL_BAD_INTERVAL);
    EXPECT_EQ(OPT_UTIL_equation_solver(1, not_a_number, 1e-4, 1e-8, 0, call, &fn, &root), OPT_UTIL_BAD_INTERVAL);
    EXPECT_EQ(OPT_UTIL_equation_solver(1, interval, 1e-8, 1e-4, 0, call, &fn, &root), OPT_UTIL_BAD_INTERVAL);
    EXPECT_EQ(OPT_UTIL_equation_solver(1, interval, 0.0, 0.0, 0, call, &fn, &root), OPT_UTIL_BAD_INTERVAL);
    EXPECT_EQ(OPT_UTIL_equation_solver(1, nullptr, 1e-4, 1e-8, 0, call, &fn, &root), OPT_UTIL_BAD_INTERVAL);
    EXPECT_EQ(OPT_UTIL_equation_solver(1, interval, 1e-4, 1e-8, 0, call, &fn, nullptr), OPT_UTIL_BAD_INTERVAL);
    EXPECT_EQ(fn.calls, 0);
    // Then the callback, then the bracket, then the method.
    EXPECT_EQ(OPT_UTIL_equation_solver(11, reversed, 1e-4, 1e-8, 0, nullptr, &fn, &root), OPT_UTIL_BAD_INTERVAL);
    EXPECT_EQ(OPT_UTIL_equation_solver(11, interval, 1e-4, 1e-8, 0, nullptr, &fn, &root), OPT_UTIL_NO_FUNCTION);
    for (int method : {0, 5}) EXPECT_EQ(solve(method, 0.0, 1.0, fn, &root), OPT_UTIL_BAD_METHOD);
    Fn no_root = plain([](double x) { return x * x + 1.0; });
    EXPECT_EQ(solve(0, 0.0, 1.0, no_root, &root), OPT_UTIL_NO_SIGN_CHANGE);
    EXPECT_EQ(root, -99.0);
}

TEST(EquationSolverTest, TheCallersIntervalIsNotWritten) {
    Fn fn = plain([](double x) { return x - 1.05; });
    const double interval[2] = {0.0, 1.0};
    double root = 0.0;
    ASSERT_EQ(OPT_UTIL_equation_solver(OPT_UTIL_BISECTION, interval, 1e-4, 1e-8, 0, call, &fn, &root), OPT_UTIL_OK);
    EXPECT_EQ(interval[0], 0.0);
    EXPECT_EQ(interval[1], 1.0);
}

TEST(EquationSolverTest, EveryMethodFindsARootLyingExactlyOnAnEndOfTheBracket) {
    // f(x) = x and f(x) = x - 1 on [0, 1]: the function is exactly zero at one
    // end, so the sign test at that end must take zero as a sign change.
    const KnownRoot at_ends[] = {
        {"root at the lower end", [](double x) { return x; }, 0.0, 1.0, 0.0},
        {"root at the upper end", [](double x) { return x - 1.0; }, 0.0, 1.0, 1.0},
    };
    const int methods[] = {OPT_UTIL_BISECTION, OPT_UTIL_FALSE_POSITION, OPT_UTIL_MODIFIED_FALSE_POSITION,
                           OPT_UTIL_BRENT};
    for (int method : methods) {
        for (const KnownRoot& k : at_ends) {
            SCOPED_TRACE(std::string(k.name) + ", method " + std::to_string(method));
            Fn fn = plain(k.f);
            double root = -99.0;
            ASSERT_EQ(solve(method, k.lo, k.hi, fn, &root), OPT_UTIL_OK);
            EXPECT_NEAR(root, k.root, 1e-4);
        }
    }
}
