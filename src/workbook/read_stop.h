#pragma once

#include <functional>

namespace zarame::workbook {

// Thrown out of a reader when the run asked to stop while a book was being opened or read; the
// run ends as a stop, not as a failure.
struct ReadStopped {};

// A book can hold minutes of work between two cells (a huge shared-string table, a long row of
// repeated cells), so the readers cannot wait for the walk to look at the stop flag. Every loop
// of a reader that may run long calls PollStop(); while a ReadStopScope is alive on the thread,
// about every 20 ms of work it asks the run (which pumps the window's events on the way) and
// throws ReadStopped when a stop was asked for. Without a scope (tests, fuzzers) PollStop does
// nothing. The scope is ambient rather than passed down so that the byte-level layers (zip,
// compound file, XML scanner) hear the stop without every reader carrying it.
class ReadStopScope {
public:
    explicit ReadStopScope(std::function<bool()> stopRequested);
    ~ReadStopScope();
    ReadStopScope(const ReadStopScope&) = delete;
    ReadStopScope& operator=(const ReadStopScope&) = delete;

private:
    std::function<bool()> stopRequested_;
    ReadStopScope* outer_;

    friend void PollStopNow();
};

// Cheap enough for every record, element or inflated block: a countdown, and a clock read only
// now and then.
void PollStop();
// Asks at once, whatever the time since the last question.
void PollStopNow();

}  // namespace zarame::workbook
