#include "workbook/biff_records.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "testing/test_support.h"

namespace zarame::workbook {
namespace {

// A string's characters may change width where a CONTINUE record begins: the first part is
// stored one byte per character, the rest two.
TEST(BiffCursor, StringCharactersChangeWidthAcrossContinue) {
    BiffRecord record;
    record.data = QByteArray("\x05\x00\x08\x01\x00", 5);  // 5 characters, 8-bit, one rich run
    record.data += "abc";
    record.continues.push_back(record.data.size());
    record.data += QByteArray("\x01\x22\x6F\x57\x5B", 5);  // wide from here: 漢字
    record.data += QByteArray("\x00\x00\x01\x00", 4);      // the run, skipped
    record.data += "Z";
    BiffCursor cursor(record);
    EXPECT_EQ(cursor.UnicodeString(2), "abc漢字");
    EXPECT_EQ(cursor.U8(), 'Z');
    EXPECT_THROW(cursor.U8(), RunTimeError);

    BiffRecord cut;
    cut.data = QByteArray(
        "\x09\x00\x00"
        "abc",
        6);  // 9 characters promised, 3 present
    EXPECT_THROW(BiffCursor(cut).UnicodeString(2), RunTimeError);
}

}  // namespace
}  // namespace zarame::workbook
