// The results as CSV (RFC 4180), from the same Results the table prints:
// the machine's limits as rows of family "machine", then one row per
// (table row, peer), or one row with empty peer columns for a row without
// peers.  Figures not measured are left empty.  See bench/README.md.
#include "bench/bench.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace bench {

namespace {

const char *const kColumns =
    "family,section,workload,unit,items,seconds_1t,seconds_2t,mitems_per_s_1t,mitems_per_s_2t,gb_per_s_1t,"
    "gb_per_s_2t,pct_copy_1t,pct_copy_2t,peer_key,peer_label,peer_mitems_per_s_1t,peer_mitems_per_s_2t,x_1t,x_2t,"
    "note";

std::string quoted(const std::string &s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

// Empty unless `v` is a positive, finite figure.
std::string number(double v) {
    if (!(v > 0) || !std::isfinite(v)) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

void line(std::ofstream &out, const std::vector<std::string> &fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << quoted(fields[i]);
    out << '\n';
}

}  // namespace

void writeCsv(const Results &results, const std::string &path) {
    std::ofstream out(path, std::ios::app);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << kColumns << '\n';

    // Machine rows fill the workload, unit, GB/s and x columns only.
    const Machine &m = results.machine;
    auto limit = [&](const std::string &name, const std::string &unit, const std::string &gbs1, const std::string &gbs2,
                     const std::string &x2, const std::string &note) {
        std::vector<std::string> fields(20);
        fields[0] = "machine";
        fields[2] = name;
        fields[3] = unit;
        fields[9] = gbs1;
        fields[10] = gbs2;
        fields[18] = x2;
        fields[19] = note;
        line(out, fields);
    };
    char arrays[48];
    std::snprintf(arrays, sizeof arrays, " (%.1f GiB arrays)", m.arrayBytes / (1 << 30));
    limit(std::string("copy") + arrays, "bytes", number(m.copy[0] * 1e-9), number(m.copy[1] * 1e-9), "", "");
    limit(std::string("triad") + arrays, "bytes", number(m.triad[0] * 1e-9), number(m.triad[1] * 1e-9), "", "");
    limit("copy into freshly allocated memory", "bytes", number(m.freshCopy[0] * 1e-9), number(m.freshCopy[1] * 1e-9),
          "", "");
    limit("arithmetic loop, 2 threads over 1", "", "", "", number(m.coreScaling), "2 when the second core is free");

    for (const std::string &section : results.families) {
        auto family = results.familyNames.find(section);
        for (const Row &row : results.rows.at(section)) {
            std::vector<std::string> fields = {family == results.familyNames.end() ? "" : family->second, section,
                                               row.name, row.unit, number(row.items)};
            double rate[2] = {0, 0}, gbs[2] = {0, 0};
            for (int t = 0; t < 2; ++t)
                if (row.seconds[t] > 0) {
                    rate[t] = row.items / row.seconds[t];
                    gbs[t] = row.bytes / row.seconds[t];
                }
            for (int t = 0; t < 2; ++t) fields.push_back(number(row.seconds[t]));
            for (int t = 0; t < 2; ++t) fields.push_back(number(rate[t] * 1e-6));
            for (int t = 0; t < 2; ++t) fields.push_back(number(gbs[t] * 1e-9));
            for (int t = 0; t < 2; ++t) fields.push_back(number(m.copy[t] > 0 ? 100 * gbs[t] / m.copy[t] : 0));
            if (row.peers.empty()) {
                fields.insert(fields.end(), {"", "", "", "", "", "", row.note});
                line(out, fields);
            }
            for (const std::string &key : row.peers) {
                std::vector<std::string> withPeer = fields;
                auto found = results.peers.find(key);
                if (found == results.peers.end()) {
                    withPeer.insert(withPeer.end(), {key, "", "", "", "", "", row.note});
                } else {
                    const Peer &p = found->second;
                    withPeer.insert(withPeer.end(), {key, p.label, number(p.rate[0] * 1e-6), number(p.rate[1] * 1e-6),
                                                     number(p.rate[0] > 0 ? rate[0] / p.rate[0] : 0),
                                                     number(p.rate[1] > 0 ? rate[1] / p.rate[1] : 0), row.note});
                }
                line(out, withPeer);
            }
        }
    }
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace bench
