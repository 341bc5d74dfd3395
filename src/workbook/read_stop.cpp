#include "workbook/read_stop.h"

#include <chrono>

namespace zarame::workbook {

namespace {

using Clock = std::chrono::steady_clock;

// Polls between two clock reads; one poll is at most a record or an inflated block, so a few
// dozen of them stay far below the interval.
constexpr int kPollsPerClockRead = 32;
constexpr auto kInterval = std::chrono::milliseconds(20);

struct PollState {
    ReadStopScope* scope = nullptr;
    int countdown = kPollsPerClockRead;
    Clock::time_point lastAsked;
};

thread_local PollState state;

}  // namespace

ReadStopScope::ReadStopScope(std::function<bool()> stopRequested)
    : stopRequested_(std::move(stopRequested)), outer_(state.scope) {
    state.scope = this;
    state.countdown = kPollsPerClockRead;
    state.lastAsked = Clock::now();
}

ReadStopScope::~ReadStopScope() {
    state.scope = outer_;
}

void PollStopNow() {
    if (state.scope == nullptr) {
        return;
    }
    state.countdown = kPollsPerClockRead;
    state.lastAsked = Clock::now();
    if (state.scope->stopRequested_ && state.scope->stopRequested_()) {
        throw ReadStopped{};
    }
}

void PollStop() {
    if (state.scope == nullptr || --state.countdown > 0) {
        return;
    }
    state.countdown = kPollsPerClockRead;
    if (Clock::now() - state.lastAsked >= kInterval) {
        PollStopNow();
    }
}

}  // namespace zarame::workbook
