#include "create/random_fill.h"

#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <bit>
#include <cstring>

namespace zarame {

namespace {

constexpr std::uint64_t kGoldenGamma = 0x9E3779B97F4A7C15ULL;

// splitmix64: spreads a seed over the generator's state.
std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t mixed = (state += kGoldenGamma);
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ULL;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBULL;
    return mixed ^ (mixed >> 31);
}

// The bytes of a word in little-endian order, whatever the machine's, so that a seed gives the
// same files everywhere.
std::uint64_t LittleEndian(std::uint64_t word) {
    if constexpr (std::endian::native == std::endian::big) {
        return __builtin_bswap64(word);
    }
    return word;
}

}  // namespace

// Item i takes the splitmix outputs 4i+1 to 4i+4 of the run's seed: no two items share a state
// word, and since the first output of xoshiro256** is a one-to-one function of the second word,
// no two items share their first eight bytes.
RandomBytes::RandomBytes(std::uint64_t runSeed, std::uint64_t itemIndex) {
    std::uint64_t mixer = runSeed + itemIndex * 4 * kGoldenGamma;
    for (std::uint64_t& word : state_) {
        word = SplitMix(mixer);
    }
}

// xoshiro256** (Blackman and Vigna).
std::uint64_t RandomBytes::Next() {
    const std::uint64_t result = std::rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t shifted = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= shifted;
    state_[3] = std::rotl(state_[3], 45);
    return result;
}

void RandomBytes::Fill(char* bytes, std::size_t count) {
    for (; count >= sizeof(std::uint64_t); count -= sizeof(std::uint64_t)) {
        const std::uint64_t word = LittleEndian(Next());
        std::memcpy(bytes, &word, sizeof word);
        bytes += sizeof word;
    }
    if (count > 0) {
        const std::uint64_t word = LittleEndian(Next());
        std::memcpy(bytes, &word, count);
    }
}

std::uint64_t FreshRandomSeed() {
    std::uint64_t seed = 0;
    if (::getrandom(&seed, sizeof seed, 0) == static_cast<ssize_t>(sizeof seed)) {
        return seed;
    }
    // A kernel without the call: the time and the process still give each run its own seed.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t mixer = static_cast<std::uint64_t>(now.tv_sec) * 1000000000ULL +
                          static_cast<std::uint64_t>(now.tv_nsec) +
                          (static_cast<std::uint64_t>(::getpid()) << 48);
    return SplitMix(mixer);
}

}  // namespace zarame
