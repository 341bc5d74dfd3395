// Times cell rendering: 1,000,000 renders over a mix of General, 000, #,##0.00 and two Japanese
// dates, the codes parsed once and served from the cache, as a column of cells is read.
//
//   zarame-numformat-bench [renders]
//
// Prints the best of five rounds in nanoseconds per render, for the mix and for each code, in
// the thread's CPU time: the machine is shared, and wall time would count other processes.

#include <time.h>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "numformat/cell_format.h"

namespace {

using zarame::numformat::DateSystem;
using zarame::numformat::FormatNumber;

const QString kCodes[] = {
    QStringLiteral("General"),         QStringLiteral("000"),
    QStringLiteral("#,##0.00"),        QString::fromUtf8(R"([$-ja-JP]ggge"年"m"月"d"日")"),
    QString::fromUtf8("yyyy年m月d日"),
};
constexpr int kCodeCount = sizeof kCodes / sizeof kCodes[0];

double Value(long i, int code) {
    // Dates near today for the date codes, assorted magnitudes for the others.
    return code >= 3 ? 40000.0 + static_cast<double>(i % 9000)
                     : static_cast<double>(i % 100000) * 1.37 - 500.0;
}

double ThreadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Nanoseconds per render; `only` < 0 mixes every code.
double TimeRenders(long renders, int only, size_t& checksum) {
    const double start = ThreadNanoseconds();
    for (long i = 0; i < renders; ++i) {
        const int code = only >= 0 ? only : static_cast<int>(i % kCodeCount);
        checksum += static_cast<size_t>(
            FormatNumber(Value(i, code), kCodes[code], DateSystem::Date1900).size());
    }
    return (ThreadNanoseconds() - start) / static_cast<double>(renders);
}

}  // namespace

int main(int argc, char** argv) {
    const long renders = argc > 1 ? std::atol(argv[1]) : 1000000;
    size_t checksum = 0;
    std::printf("%-32s %12s\n", "code", "ns/render");
    for (int only = -1; only < kCodeCount; ++only) {
        double best = 1e300;
        for (int round = 0; round < 5; ++round) {
            best = std::min(best, TimeRenders(renders, only, checksum));
        }
        const QString name = only < 0 ? QStringLiteral("mix of all") : kCodes[only];
        std::printf("%-32s %12.1f\n", name.toUtf8().constData(), best);
    }
    std::printf("(%ld renders per round, best of 5, thread CPU time; checksum %zu)\n", renders,
                checksum);
    return 0;
}
