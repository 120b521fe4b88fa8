// Shared pieces of the benchmark program: the rows of the result table,
// timed calls of the own-host plug-ins at a chosen thread count, and
// builders for the large input arrays.
#ifndef GRIDMEX_BENCH_H
#define GRIDMEX_BENCH_H

#include "mexhost.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

using mexhost::ArrayPtr;
using Index = std::int64_t;

// The thread counts every workload runs at; index 0 and 1 of the timings.
constexpr int kThreadCounts[2] = {1, 2};

// One line of the table: a plug-in (or a chain of calls) on one workload.
struct Row {
    std::string name;                // plug-in and workload, e.g. "pxBilinSample coherent"
    std::string unit;                // what an item is: "points", "cells", "matrices", ...
    double items = 0;                // items handled by one timed run
    double bytes = 0;                // bytes that must move in one run: inputs read once, outputs written once
    double seconds[2] = {0, 0};      // best time of one run on 1 and 2 threads; 0 when not measured
    std::vector<std::string> peers;  // keys of the peers this row is compared with
    std::string note;                // why a row has no timings, or what its check found
};

// A peer timed on the same kind of work, possibly on fewer items.
struct Peer {
    std::string label;        // what the peer is, e.g. "interp2 linear"
    double rate[2] = {0, 0};  // items per second on 1 and 2 threads (an Octave peer has one rate for both)
};

// Copy and triad bandwidths in bytes per second, on 1 and 2 threads, and the
// copy into freshly allocated memory that every plug-in output costs.
struct Machine {
    double copy[2] = {0, 0};
    double triad[2] = {0, 0};
    double freshCopy[2] = {0, 0};
    double arrayBytes = 0;
    double coreScaling = 0;  // speed-up of a pure arithmetic loop on 2 threads: 2 when both cores are free
};

// Everything the workloads add to.
struct Results {
    std::vector<std::string> families;               // section headings, in order
    std::map<std::string, std::string> familyNames;  // section heading -> family run ("pixel", ...)
    std::map<std::string, std::vector<Row>> rows;    // family -> rows
    std::map<std::string, Peer> peers;               // key -> peer
    Machine machine;
};

// Sets the thread count the plug-ins read at every call.
void setThreads(int threads);

// The own-host build of a plug-in, loaded once; nullptr when it is not built.
const mexhost::Plugin *plugin(const std::string &name);

// Times `run` once to warm up and then at least twice more, until half a
// second is spent or five runs are done; returns the best time in seconds.
// `run` returns the seconds it measured itself, so that it can leave out
// the release of its outputs.
double bestSeconds(const std::function<double()> &run);

// Seconds of one call of `p`; the outputs go to `outputs` (released by the
// caller, outside the timing).  Throws when the call fails.
double timedCall(const mexhost::Plugin &p, int nlhs, const std::vector<const mxArray *> &inputs,
                 std::vector<ArrayPtr> &outputs);

// Times one call form of plug-in `name` on 1 and 2 threads into `row`;
// `check`, when given, looks at the outputs of the first call and returns a
// note when they show the workload is not what it claims (empty when fine).
void measure(Row &row, const std::string &name, int nlhs, const std::vector<const mxArray *> &inputs,
             const std::function<std::string(const std::vector<ArrayPtr> &)> &check = {});

// A real double array of the given dimensions, zero-filled, and its data.
ArrayPtr doubles(std::vector<Index> dims);
double *data(const ArrayPtr &a);
ArrayPtr int32s(std::vector<Index> dims);
ArrayPtr scalar(double v);

// Family workloads; each appends its rows (and the peers it computes itself).
void pixelWorkloads(Results &results);
void voxelWorkloads(Results &results);
void diagnosticWorkloads(Results &results);
void compiledWorkloads(Results &results);
void elementWorkloads(Results &results);
void basisWorkloads(Results &results);
void levelsetWorkloads(Results &results);
void utilityWorkloads(Results &results);
void classWorkloads(Results &results);

// Copy and triad on arrays far larger than the caches.
Machine measureMachine();

// Reads the Octave peer timings written by peers.m ("key items seconds label").
void readPeers(const std::string &path, Results &results);

// Prints the whole table.
void printTable(const Results &results);

// Appends the column names and the same figures as CSV rows to `path`
// (after the comment lines bench/run writes there).
void writeCsv(const Results &results, const std::string &path);

}  // namespace bench

#endif
