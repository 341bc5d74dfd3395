#include "workbook/read_stop.h"

#include <gtest/gtest.h>

#include <chrono>

namespace zarame::workbook {
namespace {

// Polls until the scope asks, or gives up after a second.
int PollsUntilAsked(int& asked) {
    const int before = asked;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (asked == before && std::chrono::steady_clock::now() < end) {
        PollStop();
    }
    return asked - before;
}

TEST(ReadStop, AsksNowAndThenWhileAScopeLivesAndThrowsOnceAStopIsAsked) {
    PollStop();  // without a scope nothing is asked and nothing thrown
    int asked = 0;
    bool stop = false;
    {
        const ReadStopScope scope([&] {
            ++asked;
            return stop;
        });
        EXPECT_EQ(PollsUntilAsked(asked), 1);
        stop = true;
        EXPECT_THROW(PollStopNow(), ReadStopped);
        {
            // An inner scope takes over and gives the outer one back when it ends.
            const ReadStopScope inner([] { return false; });
            EXPECT_NO_THROW(PollStopNow());
        }
        EXPECT_THROW(PollStopNow(), ReadStopped);
    }
    const int afterScope = asked;
    for (int i = 0; i < 100000; ++i) {
        PollStop();
    }
    EXPECT_EQ(asked, afterScope);
}

}  // namespace
}  // namespace zarame::workbook
