// One-dimensional equation solver of the occupant tools: finds a root of a
// scalar function of one variable on an interval. Internal to the library.
#ifndef CARVELL_OCCUPANT_EQUATION_SOLVER_H
#define CARVELL_OCCUPANT_EQUATION_SOLVER_H

namespace carvell::occupant {

// The function to solve: writes f(x) to *f and answers 0 on success. While the
// bracket is searched any non-zero answer marks x as unusable; during the
// iterations a positive answer aborts the solve, zero or negative is accepted.
typedef int (*OPT_UTIL_function_t)(double x, void* data, double* f);

// Methods of OPT_UTIL_equation_solver.
enum OPT_UTIL_method {
    OPT_UTIL_BISECTION = 1,
    OPT_UTIL_FALSE_POSITION = 2,
    OPT_UTIL_MODIFIED_FALSE_POSITION = 3,  // weighting factor grows by 1.5
    OPT_UTIL_BRENT = 4
};

// Result codes of OPT_UTIL_equation_solver.
enum OPT_UTIL_result {
    OPT_UTIL_OK = 0,
    OPT_UTIL_BAD_INTERVAL = 1,       // upper end below lower end, xtol below ftol, xtol not positive, null pointers
    OPT_UTIL_NO_FUNCTION = 3,
    OPT_UTIL_FUNCTION_FAILED = 4,    // positive callback answer during the iterations
    OPT_UTIL_NO_SIGN_CHANGE = 5,     // the bracket search found no sign change
    OPT_UTIL_BISECTION_LIMIT = 6,
    OPT_UTIL_FALSE_POSITION_LIMIT = 7,
    OPT_UTIL_BRENT_LIMIT = 10,
    OPT_UTIL_BAD_METHOD = 11
};

// Finds a root of `function` on `interval` (lower, upper; not written) by
// `method`. xtol and ftol are the x and function tolerances (ftol <= xtol);
// n is the iteration limit, 0 for one derived from the bracket and xtol.
// The root is written only when the answer is 0.
int OPT_UTIL_equation_solver(int method, const double interval[2], double xtol, double ftol, int n,
                             OPT_UTIL_function_t function, void* data, double* root);

// Makes [bracket[0], bracket[1]] enclose a sign change of `function`,
// moving or shrinking it as needed; values[0], values[1] receive the function
// at the two ends. Answers 0 when a bracket was found, else
// OPT_UTIL_NO_SIGN_CHANGE (bracket and values then undefined).
int find_solver_bracket(OPT_UTIL_function_t function, void* data, double bracket[2], double values[2]);

}  // namespace carvell::occupant

#endif
