// Where the harness takes its choices from: a seeded generator for the sweep
// of the test suite, or the bytes a coverage-guided fuzzer hands over.  The
// call generators see only this interface, so both drive the same calls.
#ifndef GRIDMEX_FUZZ_SOURCE_H
#define GRIDMEX_FUZZ_SOURCE_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <random>

namespace fuzz {

class Source {
public:
    virtual ~Source() = default;

    // A number in [0, n); 0 when n is 0.
    virtual std::uint64_t below(std::uint64_t n) = 0;

    // An integer in [lo, hi].
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        return lo + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(hi - lo) + 1));
    }
    bool percent(int p) { return static_cast<int>(below(100)) < p; }
    // A double in [0, 1).
    double unit() { return static_cast<double>(below(std::uint64_t{1} << 53)) * 0x1.0p-53; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * unit(); }

    template <typename T>
    T pick(std::initializer_list<T> items) {
        return items.begin()[below(items.size())];
    }
};

class Seeded final : public Source {
public:
    explicit Seeded(std::uint64_t seed) : rng_(seed) {}
    std::uint64_t below(std::uint64_t n) override { return n == 0 ? 0 : rng_() % n; }

private:
    std::mt19937_64 rng_;
};

// Takes as few bytes per choice as the choice needs, so that a fuzzer's
// mutations map onto single decisions; once the bytes run out every choice
// is 0, which the generators turn into their simplest option.
class Bytes final : public Source {
public:
    Bytes(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

    std::uint64_t below(std::uint64_t n) override {
        if (n <= 1) return 0;
        std::uint64_t v = 0;
        for (std::uint64_t span = n - 1; span != 0; span >>= 8) {
            v = (v << 8) | (pos_ < size_ ? data_[pos_++] : 0);
        }
        return v % n;
    }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace fuzz

#endif
