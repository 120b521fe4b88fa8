// Writes the shared table of plug-ins as an Octave/MATLAB function file,
// plugin_table.m, for the Octave tests: each plug-in's count rule and
// messages, scalar inputs, cost rule and a few small served calls with their
// exact values.  Usage: table_dump OUTPUT.m
#include "tests/fuzz/models.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace fuzz;

// A double as Octave reads it back to the same bits (signed zeros, NaN,
// infinities included).
std::string number(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
    if (v == 0) return std::signbit(v) ? "-0" : "0";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

template <typename T>
std::string integers(const mxArray *a) {
    std::string t;
    const T *p = static_cast<const T *>(mxGetData(a));
    for (std::size_t i = 0, n = mxGetNumberOfElements(a); i < n; ++i) t += (i ? " " : "") + std::to_string(p[i]);
    return t;
}

std::string values(const mxArray *a) {
    if (mxIsInt32(a)) return integers<std::int32_t>(a);
    std::string t;
    const double *p = mxGetPr(a);
    for (std::size_t i = 0, n = mxGetNumberOfElements(a); i < n; ++i) t += (i ? " " : "") + number(p[i]);
    return t;
}

// The served calls are written with real double and int32 arrays only; a
// call that carries other ignored inputs is drawn again.
bool writable(const Call &call) {
    for (const ArrayPtr &a : call.inputs) {
        const mxArray *x = a.get();
        if (!(mxIsDouble(x) || mxIsInt32(x)) || mxIsComplex(x) || mxIsSparse(x)) return false;
    }
    return true;
}

// reshape(CLASS([...]), [dims]) for a numeric array.
std::string literal(const mxArray *a) {
    std::string dims;
    for (mwSize d = 0; d < mxGetNumberOfDimensions(a); ++d)
        dims += (d ? " " : "") + std::to_string(mxGetDimensions(a)[d]);
    return "reshape(" + std::string(mxGetClassName(a)) + "([" + values(a) + "]), [" + dims + "])";
}

std::string quoted(const char *text) {
    std::string t = "'";
    for (const char *c = text ? text : ""; *c; ++c) t += *c == '\'' ? std::string("''") : std::string(1, *c);
    return t + "'";
}

const char *ruleName(Counts::Rule r) {
    switch (r) {
    case Counts::AtLeast: return "atLeast";
    case Counts::Exactly: return "exactly";
    case Counts::Usage: return "usage";
    case Counts::UpTo: return "upTo";
    default: return "stack36";
    }
}

const char *costName(Cost::Rule r) {
    switch (r) {
    case Cost::Steps: return "steps";
    case Cost::Rows: return "rows";
    default: return "none";
    }
}

constexpr int kServedCalls = 3;

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: table_dump OUTPUT.m\n");
        return 2;
    }
    std::FILE *out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "function t = plugin_table()\n"
                      "%% The plug-ins of this build as the test harnesses describe them: count\n"
                      "%% rule and messages, scalar inputs (1-based), cost rule (inputs 1-based)\n"
                      "%% and small served calls.  Written by table_dump; do not edit.\n"
                      "t = struct('name', {}, 'rule', {}, 'nin', {}, 'nout', {}, 'intext', {}, 'outtext', {}, ...\n"
                      "           'scalars', {}, 'cost', {}, 'served', {});\n");
    for (const Model &m : models()) {
        std::string scalars;
        for (int at : m.scalars) scalars += (scalars.empty() ? "" : " ") + std::to_string(at + 1);
        Seeded s(7);
        std::string served;
        for (int k = 0; k < kServedCalls; ++k) {
            Call call = makeCall(s, m, CallKind::Served);
            while (!writable(call)) call = makeCall(s, m, CallKind::Served);
            std::string args;
            for (const ArrayPtr &a : call.inputs) args += (args.empty() ? "" : ", ") + literal(a.get());
            served += (k ? ", " : "") + std::string("struct('args', {{") + args + "}}, 'nout', " +
                      std::to_string(call.nlhs) + ")";
        }
        std::fprintf(
            out,
            "t(end + 1) = struct('name', %s, 'rule', %s, 'nin', %d, 'nout', %d, 'intext', %s, "
            "'outtext', %s, ...\n  'scalars', [%s], 'cost', struct('rule', %s, 'a', %d, 'b', %d, 'limit', %s), ...\n"
            "  'served', {{%s}});\n",
            quoted(m.name.c_str()).c_str(), quoted(ruleName(m.counts.rule)).c_str(), m.counts.inputs, m.counts.outputs,
            quoted(m.counts.inputText).c_str(), quoted(m.counts.outputText).c_str(), scalars.c_str(),
            quoted(costName(m.cost.rule)).c_str(), m.cost.a + 1, m.cost.b + 1, number(m.cost.limit).c_str(),
            served.c_str());
    }
    std::fprintf(out, "end\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
