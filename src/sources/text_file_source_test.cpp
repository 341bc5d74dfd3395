#include "sources/text_file_source.h"

#include <gtest/gtest.h>
#include <QStringList>

#include "create/posix_file_service.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Names;
using testing::WriteFile;

TEST(TextFileNames, AreTheLinesUpToTheFirstEmptyLine) {
    QTemporaryDir temporary;
    const QString path = temporary.filePath("names.txt");
    PosixFileService files;
    const struct {
        QByteArray list;
        QStringList names;
        std::int64_t emptyLineBeforeMore;
    } cases[] = {
        // Blanks belong to the name, and a line of blanks is a name, not the end of the list.
        {"a\n x \n   \n\nc\n", {"a", " x ", "   "}, 4},
        {"b\n\n\r\n", {"b"}, 0},  // only empty lines follow
        {"b\r\nc", {"b", "c"}, 0},
    };
    for (const auto& c : cases) {
        WriteFile(path, c.list);
        TextFileNames names(files, path, [] { return false; });
        EXPECT_EQ(Names(names), c.names);
        EXPECT_EQ(names.emptyLineBeforeMore(), c.emptyLineBeforeMore);
        EXPECT_EQ(names.extent().total, c.list.size());
    }
}

}  // namespace
}  // namespace zarame
