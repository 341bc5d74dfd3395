#include "cli/cli_host.h"

#include <gtest/gtest.h>

#include "run/run_context.h"

namespace zarame {
namespace {

TEST(CountLine, SaysShareAndTimeLeftWhereTheSourceKnowsItsExtent) {
    using Unit = SourceExtent::Unit;
    const struct {
        SourceExtent extent;
        long long items;
        qint64 milliseconds;
        const char* line;
    } cases[] = {
        {{Unit::Items, 12345, 100000},
         12345,
         909,
         "12,345 / 100,000 件 (12%)  13,580 件/秒  残り 6 秒"},
        // A text file: the share of its bytes read; its number of lines is not known.
        {{Unit::Bytes, 250000, 1000000}, 40000, 2000, "40,000 件 (25%)  20,000 件/秒  残り 6 秒"},
        {{Unit::Bytes, 1000, 1000000}, 100, 1000, "100 件 (0%)  100 件/秒  残り 16 分 39 秒"},
        {{Unit::Bytes, 5000, 0}, 2500, 500, "2,500 件  5,000 件/秒"},  // a pipe
        {{Unit::Bytes, 1200, 1000}, 12, 1000, "12 件  12 件/秒"},      // a file that grew
        {{Unit::Items, 0, 2147483648}, 0, 0, "0 / 2,147,483,648 件 (0%)  0 件/秒"},  // before any
        {{}, 7, 1000, "7 件  7 件/秒"},  // no walk under way
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountLine(c.extent, c.items, c.milliseconds), QString::fromUtf8(c.line));
    }
}

}  // namespace
}  // namespace zarame
