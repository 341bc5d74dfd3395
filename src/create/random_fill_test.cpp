#include "create/random_fill.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <set>

namespace zarame {
namespace {

QByteArray Stream(std::uint64_t seed, std::uint64_t item, qsizetype size) {
    QByteArray bytes(size, '\0');
    RandomBytes(seed, item).Fill(bytes.data(), static_cast<std::size_t>(size));
    return bytes;
}

// The bytes of a seed are fixed for good: a file made today must be made again the same
// tomorrow, on any machine. The pinned streams come from an independent rendering of splitmix64
// and xoshiro256** (a few lines of Python), not from this code.
TEST(RandomFill, SameSeedSameBytesEverywhere) {
    EXPECT_EQ(Stream(0, 0, 16).toHex(), QByteArray("b4f275cb365fec992a455649781f6ebf"));
    EXPECT_EQ(Stream(2026, 5, 16).toHex(), QByteArray("290d975d97ca326695cd5e9641799006"));
    // Cut into whole words, the stream is the same as in one piece.
    QByteArray pieces(1003, '\0');
    RandomBytes generator(42, 7);
    generator.Fill(pieces.data(), 8);
    generator.Fill(pieces.data() + 8, 992);
    generator.Fill(pieces.data() + 1000, 3);
    EXPECT_EQ(pieces, Stream(42, 7, 1003));
}

TEST(RandomFill, ItemsAndSeedsDiffer) {
    std::set<QByteArray> starts;
    for (std::uint64_t item = 0; item < 1000; ++item) {
        starts.insert(Stream(1, item, 8));
    }
    starts.insert(Stream(2, 0, 8));
    EXPECT_EQ(starts.size(), 1001u);
}

}  // namespace
}  // namespace zarame
