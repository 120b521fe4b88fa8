// The peer timings written by peers.m, and the one table the benchmark
// prints: rates on 1 and 2 threads, effective bandwidth against the copy
// bandwidth of the same run, and speed against each peer.
#include "bench/bench.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace bench {

void readPeers(const std::string &path, Results &results) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key, items, seconds, label;
        if (!std::getline(fields, key, '\t') || !std::getline(fields, items, '\t') ||
            !std::getline(fields, seconds, '\t') || !std::getline(fields, label))
            continue;
        double rate = std::stod(items) / std::stod(seconds);
        results.peers[key] = Peer{label + " (" + items + ")", {rate, rate}};
    }
}

namespace {

const char *const kRule =
    "------------------------------------------------------------------------------------------------------------"
    "--------------------------------------------";

void printPeer(const Row &row, const Peer *peer, const std::string &key, bool first) {
    const char *name = first ? row.name.c_str() : "";
    if (!first) std::printf("%-44s %8s %9s %9s %7s %6s %7s %6s", name, "", "", "", "", "", "", "");
    if (!peer) {
        std::printf("   %-40s %10s\n", ("none (" + key + ")").c_str(), "");
        return;
    }
    double x1 = row.seconds[0] > 0 ? row.items / row.seconds[0] / peer->rate[0] : 0;
    double x2 = row.seconds[1] > 0 ? row.items / row.seconds[1] / peer->rate[1] : 0;
    std::printf("   %-40s %10.3f %7.1fx %7.1fx\n", peer->label.c_str(), peer->rate[0] * 1e-6, x1, x2);
}

}  // namespace

void printTable(const Results &results) {
    const Machine &m = results.machine;
    std::printf("Machine limit, %.1f GiB arrays: copy %.2f GB/s (1 thread) %.2f GB/s (2 threads); "
                "triad %.2f / %.2f GB/s;\n  copy into freshly allocated memory (as every plug-in output): "
                "%.2f / %.2f GB/s;\n  arithmetic loop, 2 threads over 1: %.2fx (2 when the second core is free)\n\n",
                m.arrayBytes / (1 << 30), m.copy[0] * 1e-9, m.copy[1] * 1e-9, m.triad[0] * 1e-9, m.triad[1] * 1e-9,
                m.freshCopy[0] * 1e-9, m.freshCopy[1] * 1e-9, m.coreScaling);
    std::printf("%-44s %8s %9s %9s %7s %6s %7s %6s   %-40s %10s %8s %8s\n", "workload", "items", "M/s 1T", "M/s 2T",
                "GB/s 1T", "%copy", "GB/s 2T", "%copy", "peer (items it ran on)", "peer M/s", "x 1T", "x 2T");
    for (const std::string &family : results.families) {
        std::printf("%s\n== %s\n", kRule, family.c_str());
        for (const Row &row : results.rows.at(family)) {
            if (row.seconds[0] <= 0) {
                std::printf("%-44s %8.3gM   %s\n", row.name.c_str(), row.items * 1e-6, row.note.c_str());
                continue;
            }
            double rate[2], gbs[2];
            // A figure not measured (the 2-thread one of a 1-thread row) shows as 0.
            for (int t = 0; t < 2; ++t) {
                rate[t] = row.seconds[t] > 0 ? row.items / row.seconds[t] : 0;
                gbs[t] = row.seconds[t] > 0 ? row.bytes / row.seconds[t] : 0;
            }
            std::printf("%-44s %7.3gM %9.2f %9.2f %7.2f %5.0f%% %7.2f %5.0f%%", row.name.c_str(), row.items * 1e-6,
                        rate[0] * 1e-6, rate[1] * 1e-6, gbs[0] * 1e-9, 100 * gbs[0] / m.copy[0], gbs[1] * 1e-9,
                        100 * gbs[1] / m.copy[1]);
            if (row.peers.empty()) std::printf("\n");
            for (std::size_t i = 0; i < row.peers.size(); ++i) {
                auto found = results.peers.find(row.peers[i]);
                printPeer(row, found == results.peers.end() ? nullptr : &found->second, row.peers[i], i == 0);
            }
            if (!row.note.empty()) std::printf("%-44s   (%s)\n", "", row.note.c_str());
        }
    }
    std::printf("%s\n", kRule);
}

}  // namespace bench
