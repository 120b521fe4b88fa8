// libFuzzer entry point: the fuzzer's bytes choose a plug-in, the kind of
// call and every choice inside it (through fuzz::Bytes), and the call is
// judged by the same rule as in the seeded sweep.  A broken rule prints the
// call and aborts, which libFuzzer records as a crash.
//   GRIDMEX_FUZZ_PLUGINS=name,name   fuzz only these plug-ins
//   GRIDMEX_FUZZ_DIR=path            where the own-host plug-ins are
#include "tests/fuzz/check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace fuzz;

struct Target {
    const Model *model;
    std::unique_ptr<mexhost::Plugin> plugin;
    mexhost::MexEntry entry;
};

std::vector<Target> g_targets;

bool wanted(const std::string &name) {
    const char *only = std::getenv("GRIDMEX_FUZZ_PLUGINS");
    if (!only || !*only) return true;
    std::string list = std::string(",") + only + ",";
    return list.find("," + name + ",") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    const char *dir = std::getenv("GRIDMEX_FUZZ_DIR");
    std::string base = dir && *dir ? dir : GRIDMEX_OWN_DIR;
    for (const Model &m : models()) {
        if (!wanted(m.name)) continue;
        auto plugin = std::make_unique<mexhost::Plugin>(base + "/" + m.name + GRIDMEX_PLUGIN_SUFFIX);
        auto entry = reinterpret_cast<mexhost::MexEntry>(plugin->symbol("mexFunction"));
        g_targets.push_back({&m, std::move(plugin), entry});
    }
    if (g_targets.empty()) {
        std::fprintf(stderr, "GRIDMEX_FUZZ_PLUGINS names no known plug-in\n");
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Bytes s(data, size);
    const Target &t = g_targets[s.below(g_targets.size())];
    CallKind kind = static_cast<CallKind>(s.below(3));
    Call call = makeCall(s, *t.model, kind);
    std::string fault = checkCall(*t.model, t.entry, call, kind == CallKind::Served).fault;
    if (!fault.empty()) {
        std::fprintf(stderr, "\n%s, %s call: %s\n%s\n", t.model->name.c_str(), kindName(kind), fault.c_str(),
                     describe(call).c_str());
        std::abort();
    }
    return 0;
}
