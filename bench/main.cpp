// The benchmark program: measures the machine's copy bandwidth, runs every
// plug-in family on its workloads on 1 and 2 threads through the own host,
// and prints one table with the Octave peers' timings read from a file;
// with --csv, appends the same figures to a CSV file as well.
//   gridmex_bench [--peers FILE] [--csv FILE] [FAMILY ...]
// FAMILY is any of pixel voxel fe basis levelset util compiled classes diagnose
// (default: all).
#include "bench/bench.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <set>
#include <string>

int main(int argc, char **argv) {
    std::string peers, csv;
    std::set<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--peers") == 0 && i + 1 < argc)
            peers = argv[++i];
        else if (std::strcmp(argv[i], "--csv") == 0 && i + 1 < argc)
            csv = argv[++i];
        else
            only.insert(argv[i]);
    }
    struct Family {
        const char *name;
        void (*run)(bench::Results &);
    };
    // The diagnostics come last: they change how the allocator recycles memory.
    const Family families[] = {{"pixel", bench::pixelWorkloads},        {"voxel", bench::voxelWorkloads},
                               {"fe", bench::elementWorkloads},         {"basis", bench::basisWorkloads},
                               {"levelset", bench::levelsetWorkloads},  {"util", bench::utilityWorkloads},
                               {"compiled", bench::compiledWorkloads},  {"classes", bench::classWorkloads},
                               {"diagnose", bench::diagnosticWorkloads}};
    try {
        bench::Results results;
        std::fprintf(stderr, "machine limit...\n");
        results.machine = bench::measureMachine();
        for (const Family &f : families) {
            if (!only.empty() && !only.count(f.name)) continue;
            std::fprintf(stderr, "%s...\n", f.name);
            std::size_t before = results.families.size();
            f.run(results);
            for (std::size_t s = before; s < results.families.size(); ++s)
                results.familyNames[results.families[s]] = f.name;
        }
        if (!peers.empty()) bench::readPeers(peers, results);
        bench::printTable(results);
        if (!csv.empty()) bench::writeCsv(results, csv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "gridmex_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
