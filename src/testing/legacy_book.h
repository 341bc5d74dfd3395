#pragma once

// Legacy Excel books built record by record in tests, for shapes no writer produces (hostile
// layouts, damaged containers); books from real writers are the fixtures in testdata/.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <cstdint>

namespace zarame::workbook::test_books {

// A number in the file's byte order.
QByteArray Uint16(int value);
QByteArray Uint32(std::uint32_t value);
QByteArray Record(std::uint16_t type, const QByteArray& body = {});
// Row, column and style of a cell record, each counted from 0 as the file stores them.
QByteArray CellHeader(int row, int column, int style = 0);
// A BIFF8 string with a 16-bit count, 8-bit characters.
QByteArray Latin1String(const QByteArray& text);
// A workbook stream of the given BIFF version (0x0600 or 0x0500): the globals' BOF, `globals`,
// a BOUNDSHEET per sheet, EOF, then each sheet as BOF, its records, EOF.
QByteArray BookStream(std::uint16_t version, const QByteArray& globals,
                      const QList<QByteArray>& sheets);
// A compound file whose root holds these streams (none of them in the mini stream).
QByteArray CompoundFileOf(const QList<QPair<QString, QByteArray>>& streams);

}  // namespace zarame::workbook::test_books
