#pragma once

#include <cstddef>
#include <cstdint>

namespace zarame {

// Pseudo-random bytes for test data that neither compresses nor deduplicates; fast, and never for
// secrets. Each item of a run has a stream of its own, set by the run's seed and the item's
// index, so the same seed gives the same bytes to the same item on every machine, and two items
// of one run differ from their first eight bytes on.
class RandomBytes {
public:
    RandomBytes(std::uint64_t runSeed, std::uint64_t itemIndex);

    // The stream's next `count` bytes. The stream moves in 8-byte words: a count that is not a
    // multiple of 8 drops the rest of its last word, so only a file's last call may be short.
    void Fill(char* bytes, std::size_t count);

private:
    std::uint64_t Next();

    std::uint64_t state_[4];
};

// A seed for a run that was given none, drawn once from the kernel.
std::uint64_t FreshRandomSeed();

}  // namespace zarame
