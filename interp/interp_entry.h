// The entry shared by gridInterp2 and gridInterp3:
// out = f(V, Xq, Yq [, Zq] [, method [, extrapval [, rule]]]).
#ifndef GRIDMEX_INTERP_ENTRY_H
#define GRIDMEX_INTERP_ENTRY_H

#include "host/plugin/entry.h"
#include "interp/grid_interp.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

namespace interp {

// The lower-case text of a char input, or "" when it is no char row of
// fewer than 16 ASCII characters.  Read in the host's width of a char:
// 16-bit code units in MATLAB and the own host, bytes in Octave.
struct Word {
    char text[16] = "";
};

inline Word word(const mxArray *a) {
    Word w;
    const std::size_t n = mxGetNumberOfElements(a);
    if (!mxIsChar(a) || mxGetM(a) > 1 || n >= sizeof w.text) return w;
    const bool wide = mxGetElementSize(a) == 2;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned unit = wide ? static_cast<const std::uint16_t *>(mxGetData(a))[i]
                                   : static_cast<const unsigned char *>(mxGetData(a))[i];
        if (unit == 0 || unit >= 128) return Word{};
        w.text[i] = static_cast<char>(std::tolower(static_cast<int>(unit)));
    }
    return w;
}

inline bool isRow(const mxArray *a) { return mxGetNumberOfDimensions(a) == 2 && mxGetM(a) == 1; }
inline bool isColumn(const mxArray *a) { return mxGetNumberOfDimensions(a) == 2 && mxGetN(a) == 1; }
inline bool isVector(const mxArray *a) { return isRow(a) || isColumn(a); }

inline bool sameSize(const mxArray *a, const mxArray *b) {
    const mwSize n = mxGetNumberOfDimensions(a);
    if (mxGetNumberOfDimensions(b) != n) return false;
    for (mwSize d = 0; d < n; ++d)
        if (mxGetDimensions(a)[d] != mxGetDimensions(b)[d]) return false;
    return true;
}

// "2 x 3 x 4" for the messages.
struct SizeText {
    char text[96] = "";
};

inline SizeText sizeText(const mxArray *a) {
    SizeText s;
    std::size_t used = 0;
    for (mwSize d = 0; d < mxGetNumberOfDimensions(a) && used < sizeof s.text; ++d) {
        const int n = std::snprintf(s.text + used, sizeof s.text - used, d ? " x %llu" : "%llu",
                                    static_cast<unsigned long long>(mxGetDimensions(a)[d]));
        if (n < 0) break;
        used += static_cast<std::size_t>(n);
    }
    return s;
}

// D = 2: gridInterp2 (V, Xq, Yq, ...); D = 3: gridInterp3 (V, Xq, Yq, Zq, ...).
template <int D>
void interpEntry(const char *plugin, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    static_assert(D == 2 || D == 3, "two or three dimensions");
    if (nrhs < D + 1) mexErrMsgTxt(D == 2 ? "At least three inputs required." : "At least four inputs required.");
    if (nlhs > 1) mexErrMsgTxt("Too many outputs.");

    const entry::Checks check(plugin);
    if (nrhs > D + 4) {
        check.refuse("tooManyInputs", "At most %d inputs are taken (V, the %d coordinates, method, extrapval, rule).",
                     D + 4, D);
    }
    const char *const names[3] = {"Xq", "Yq", "Zq"};
    check.realNumeric(prhs[0], "V");
    for (int d = 0; d < D; ++d) check.realDouble(prhs[1 + d], names[d]);

    Method method = Method::Linear;
    if (nrhs > D + 1) {
        const Word m = word(prhs[D + 1]);
        if (std::strcmp(m.text, "nearest") == 0) {
            method = Method::Nearest;
        } else if (std::strcmp(m.text, "linear") != 0) {
            check.refuse("method",
                         "The method must be 'linear' or 'nearest'; the grid is implicit (%s(V, Xq, Yq%s, method, "
                         "extrapval)).",
                         plugin, D == 3 ? ", Zq" : "");
        }
    }
    const double extrapval = nrhs > D + 2 ? check.scalar(prhs[D + 2], "extrapval", "emptyScalar")
                                          : std::numeric_limits<double>::quiet_NaN();
    Rule rule = Rule::Interp;
    if (nrhs > D + 3) {
        const Word r = word(prhs[D + 3]);
        if (std::strcmp(r.text, "constant") == 0) {
            rule = Rule::Constant;
        } else if (std::strcmp(r.text, "nearest") == 0) {
            rule = Rule::Nearest;
        } else if (std::strcmp(r.text, "interp") != 0) {
            check.refuse("rule", "The rule must be 'interp', 'constant' or 'nearest'.");
        }
    }

    // The grid: at least 2 samples along each axis for the interp rule, as
    // MATLAB asks, at least 1 for the others.
    const Index least = rule == Rule::Interp ? 2 : 1;
    const Index ext[3] = {entry::extent(prhs[0], 0), entry::extent(prhs[0], 1), entry::extent(prhs[0], 2)};
    if (static_cast<int>(mxGetNumberOfDimensions(prhs[0])) > D || ext[0] < least || ext[1] < least ||
        (D == 3 && ext[2] < least)) {
        check.refuse("gridTooSmall", "V must be %s with at least %lld samples along each axis (it is %s).",
                     D == 2 ? "a matrix" : "a 3-D array", static_cast<long long>(least), sizeText(prhs[0]).text);
    }

    // The query points: arrays of one size, point by point; or vectors of
    // different sizes or orientations (rows and columns in 2-D), which span
    // the grid meshgrid(Xq, Yq[, Zq]) as interp2 and interp3 take them.
    bool same = true, vectors = true;
    for (int d = 0; d < D; ++d) {
        same = same && sameSize(prhs[1], prhs[1 + d]);
        vectors = vectors && isVector(prhs[1 + d]);
    }
    if (D == 2) vectors = (isRow(prhs[1]) && isColumn(prhs[2])) || (isColumn(prhs[1]) && isRow(prhs[2]));
    if (!same && !vectors) {
        check.refuse("sizeMismatch",
                     "Xq, Yq%s must be of one size, or vectors of different orientations (they are %s and %s%s%s).",
                     D == 3 ? " and Zq" : "", sizeText(prhs[1]).text, sizeText(prhs[2]).text, D == 3 ? " and " : "",
                     D == 3 ? sizeText(prhs[3]).text : "");
    }

    const double *q[3] = {nullptr, nullptr, nullptr};
    for (int d = 0; d < D; ++d) q[d] = entry::doubles(prhs[1 + d]);
    Index count = entry::count(prhs[1]);
    if (same) {
        plhs[0] = entry::newUnfilled(mxGetNumberOfDimensions(prhs[1]), mxGetDimensions(prhs[1]));
    } else {
        // Rows follow Yq, columns Xq, pages Zq.  The points are laid out
        // in scratch memory, which the host frees if the call fails.
        const Index n[3] = {entry::count(prhs[2]), entry::count(prhs[1]), D == 3 ? entry::count(prhs[3]) : 1};
        const mwSize dims[3] = {static_cast<mwSize>(n[0]), static_cast<mwSize>(n[1]), static_cast<mwSize>(n[2])};
        if (static_cast<double>(n[0]) * static_cast<double>(n[1]) * static_cast<double>(n[2]) > 0x1p53) {
            check.refuse("tooLarge", "The grid of query vectors would hold 2^53 points or more.");
        }
        count = n[0] * n[1] * n[2];
        double *grid[3] = {nullptr, nullptr, nullptr};
        for (int d = 0; d < D; ++d)
            grid[d] = static_cast<double *>(mxMalloc(static_cast<std::size_t>(count) * sizeof(double)));
        for (Index p = 0, k = 0; p < n[2]; ++p)
            for (Index c = 0; c < n[1]; ++c)
                for (Index r = 0; r < n[0]; ++r, ++k) {
                    grid[0][k] = q[0][c];
                    grid[1][k] = q[1][r];
                    if (D == 3) grid[2][k] = q[2][p];
                }
        for (int d = 0; d < D; ++d) q[d] = grid[d];
        plhs[0] = entry::newUnfilled(D, dims);
    }

    double *out = entry::doubles(plhs[0]);
    entry::withElements(prhs[0], [&](const auto *V) {
        using T = std::remove_const_t<std::remove_pointer_t<decltype(V)>>;
        const auto run = [&](auto m, auto r) {
            if constexpr (D == 2) {
                interp2<decltype(m)::value, decltype(r)::value, T>(q[0], q[1], count, V, ext[0], ext[1], extrapval,
                                                                   out);
            } else {
                interp3<decltype(m)::value, decltype(r)::value, T>(q[0], q[1], q[2], count, V, ext[0], ext[1], ext[2],
                                                                   extrapval, out);
            }
        };
        const auto withRule = [&](auto m) {
            switch (rule) {
            case Rule::Interp: run(m, std::integral_constant<Rule, Rule::Interp>{}); break;
            case Rule::Constant: run(m, std::integral_constant<Rule, Rule::Constant>{}); break;
            case Rule::Nearest: run(m, std::integral_constant<Rule, Rule::Nearest>{}); break;
            }
        };
        if (method == Method::Linear) {
            withRule(std::integral_constant<Method, Method::Linear>{});
        } else {
            withRule(std::integral_constant<Method, Method::Nearest>{});
        }
    });
}

}  // namespace interp

#endif
