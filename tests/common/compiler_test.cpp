// The compiler shim: the processor test agrees with what the system reports,
// and the portable overflow-checked multiply (the one Microsoft's compiler
// uses) gives the verdict and product of exact 128-bit arithmetic.
#include "common/compiler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(Compiler, Avx2TestAgreesWithTheSystem) {
#if defined(__linux__) && defined(__x86_64__)
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    bool listed = false;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) != 0) continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        std::string flag;
        while (words >> flag) listed = listed || flag == "avx2";
        break;
    }
    EXPECT_EQ(compiler::cpuHasAvx2(), listed);
#else
    GTEST_SKIP() << "the system's own list of processor features is read on x86-64 Linux only";
#endif
}

TEST(Compiler, MultiplyOverflowMatchesExactArithmetic) {
    constexpr std::int64_t hi = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t lo = std::numeric_limits<std::int64_t>::min();
    // Around zero, the square root of the range and the ends of the range.
    std::vector<std::int64_t> values = {
        0,      1,          2,      3,      7, std::int64_t{1} << 31, std::int64_t{1} << 32, 3037000499, 3037000500,
        hi / 2, hi / 2 + 1, hi / 3, hi - 1, hi};
    const std::size_t positive = values.size();
    for (std::size_t i = 0; i < positive; ++i) values.push_back(-values[i]);
    values.insert(values.end(), {lo, lo + 1, lo / 2, lo / 2 - 1});
    for (std::int64_t a : values) {
        for (std::int64_t b : values) {
            const __int128 exact = static_cast<__int128>(a) * b;
            const bool overflows = exact > hi || exact < lo;
            std::int64_t portable = 0, chosen = 0;
            ASSERT_EQ(compiler::mulOverflowsPortable(a, b, &portable), overflows) << a << " * " << b;
            ASSERT_EQ(compiler::mulOverflows(a, b, &chosen), overflows) << a << " * " << b;
            if (!overflows) {
                EXPECT_EQ(portable, static_cast<std::int64_t>(exact)) << a << " * " << b;
                EXPECT_EQ(chosen, static_cast<std::int64_t>(exact)) << a << " * " << b;
            }
        }
    }
}

TEST(Compiler, LowestSetBit) {
    for (int bit = 0; bit < 32; ++bit) {
        EXPECT_EQ(compiler::lowestSetBit(1u << bit), bit);
        EXPECT_EQ(compiler::lowestSetBit(~0u << bit), bit);
    }
}

}  // namespace
