// What the harness knows of each plug-in: its documented count checks, a
// generator of calls its documented behaviour serves, the shapes of the
// outputs an accepted call returns, and which calls would legitimately take
// too long to make at random.
#ifndef GRIDMEX_FUZZ_MODELS_H
#define GRIDMEX_FUZZ_MODELS_H

#include "calls.h"

#include <string>
#include <vector>

namespace fuzz {

// The documented checks on the numbers of inputs and outputs.
struct Counts {
    enum Rule {
        AtLeast,  // inputs < n: inputText; then outputs != m: outputText
        Exactly,  // inputs != n: inputText; then outputs != m: outputText
        Usage,    // inputs != n or outputs != m: inputText (one usage message)
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
    bool passes = true;          // the call reaches the plug-in's own work
    bool anyError = false;       // refused, message of the plug-in's choosing
    std::string text;            // otherwise, the exact message of the refusal
};

CountVerdict countVerdict(const Counts &counts, int nlhs, const std::vector<const mxArray *> &in);

struct Model {
    std::string name;
    Counts counts;
    // A call that the documented behaviour serves; it must succeed.
    Call (*valid)(Source &);
    // Dimensions of each output of an accepted call (empty: not known).
    std::vector<Dims> (*shapes)(const std::vector<const mxArray *> &in);
    // Errors the documented behaviour itself raises for served calls.
    std::vector<std::string> documentedErrors;
    // True for calls whose documented work is too long for a sweep.
    bool (*costly)(const std::vector<const mxArray *> &in) = nullptr;
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
