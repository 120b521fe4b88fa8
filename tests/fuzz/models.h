// The one description of every plug-in that the test harnesses share: its
// documented count checks, a generator of calls its documented behaviour
// serves (small for the fuzz sweep and the Octave sweep, large for the
// thread test), the shapes of the outputs an accepted call returns, which
// inputs are scalars, and which calls would legitimately take too long to
// make at random.  tests/fuzz/table_dump.cpp hands it to the Octave tests.
#ifndef GRIDMEX_FUZZ_MODELS_H
#define GRIDMEX_FUZZ_MODELS_H

#include "tests/fuzz/calls.h"

#include <string>
#include <vector>

namespace fuzz {

// The documented checks on the numbers of inputs and outputs.
struct Counts {
    enum Rule {
        AtLeast,  // inputs < n: inputText; then outputs != m: outputText
        Exactly,  // inputs != n: inputText; then outputs != m: outputText
        Usage,    // inputs != n or outputs != m: inputText (one usage message)
        UpTo,     // inputs < n: inputText; then outputs > m: outputText
        Stack36   // matInvert6: row count of input 1, then inputs > 1, then outputs
    };
    Rule rule;
    int inputs;
    int outputs;
    const char *inputText;
    const char *outputText;
};

// What the count checks make of a call.
struct CountVerdict {
    bool passes = true;     // the call reaches the plug-in's own work
    bool anyError = false;  // refused, message of the plug-in's choosing
    std::string text;       // otherwise, the exact message of the refusal
};

CountVerdict countVerdict(const Counts &counts, int nlhs, const std::vector<const mxArray *> &in);

// How large the arrays of a served call may be, and whether it may hold
// the odd values a served call still allows (unknown element codes,
// degenerate elements).
struct Scale {
    std::int64_t points;  // elements of a point or value array
    std::int64_t grid;    // extent of an image or a level-set field
    std::int64_t volume;  // extent of a volume
    std::int64_t stack;   // 6x6 matrices of a stack
    std::int64_t newton;  // candidate points of the voxel quadrature (Newton iterations each)
    bool odd;
};
// Small calls for the sweeps; calls large enough to be split over threads.
inline constexpr Scale kSweepScale{24, 9, 6, 4, 6, true};
inline constexpr Scale kLargeScale{600000, 1100, 96, 100000, 6000, false};

// Calls whose documented work is too long for a sweep.
struct Cost {
    enum Rule {
        None,
        Steps,  // input b / (input a / 2) steps (lvsRedistance: T / (h / 2)), 2e4 to 2^53 of them
        Rows    // input a has more than `limit` rows (Newton iterations per row)
    };
    Rule rule = None;
    int a = 0, b = 0;
    double limit = 0;
};
bool costly(const Cost &cost, const std::vector<const mxArray *> &in);

struct Model {
    std::string name;
    Counts counts;
    // A call that the documented behaviour serves; it must succeed.
    Call (*valid)(Source &, const Scale &);
    // Dimensions of each output of an accepted call (empty: not known).
    std::vector<Dims> (*shapes)(const std::vector<const mxArray *> &in);
    // Errors the documented behaviour itself raises for served calls.
    std::vector<std::string> documentedErrors;
    // Positions (0-based) of the scalar inputs, read whatever their class.
    std::vector<int> scalars;
    Cost cost;
};

const std::vector<Model> &models();
const Model *findModel(const std::string &name);

enum class CallKind {
    Served,       // from the model's generator: must succeed
    NearlyValid,  // a served call with one or two things perturbed
    Random        // random arrays, with random or with the documented counts
};
const char *kindName(CallKind kind);

// A call of `kind`; never one the model marks as costly.
Call makeCall(Source &s, const Model &model, CallKind kind);

}  // namespace fuzz

#endif
