// The rule every call of a plug-in must keep: it returns the outputs asked
// for (real double arrays of the documented shapes) or raises an error with
// a message, and either way leaves no array or scratch block behind and its
// inputs untouched.  Count refusals carry the documented text; any other
// refusal carries a "pluginName:reason" identifier; a call the documented
// behaviour serves is not refused and gives the same bits when repeated.
#ifndef GRIDMEX_FUZZ_CHECK_H
#define GRIDMEX_FUZZ_CHECK_H

#include "tests/fuzz/models.h"

#include <string>

namespace fuzz {

struct Outcome {
    enum Ending { Returned, CountRefusal, OwnRefusal, DocumentedError };
    Ending ending;
    std::string fault;  // what broke the rule, "" when nothing did
};

// Both calls ended alike: both returned outputs of the same bits, or both
// failed with the same message.
bool sameBits(const mexhost::CallResult &a, const mexhost::CallResult &b);

// Makes the call through the host and judges it.
Outcome checkCall(const Model &model, mexhost::MexEntry entry, const Call &call, bool served);

}  // namespace fuzz

#endif
