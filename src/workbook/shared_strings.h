#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace zarame::workbook {

class XmlScanner;

// The shared-strings table, held compactly as UTF-8 one after another (a table of millions of
// short strings would take several times the room as separate strings), in blocks of a fixed
// size, so that growing the table never copies it. The whole table, its index included, stays
// within one budget: a string that would take it over raises the cause that names the book.
class SharedStrings {
public:
    static constexpr std::uint64_t kBudget = 256ull << 20;

    explicit SharedStrings(QString bookPath = {}, std::uint64_t budget = kBudget)
        : bookPath_(std::move(bookPath)), budget_(budget) {}

    // Room for this many strings, as the table announces (a hint, bounded by the budget).
    void Reserve(std::size_t count);
    void Append(QStringView text);
    // A string item's UTF-8 with its _xHHHH_ escapes, which are decoded here.
    void AppendUtf8(QByteArrayView text);
    std::size_t size() const { return ends_.size(); }
    // Raises a RunTimeError for an index the table does not have.
    QString At(std::int64_t index) const;

private:
    void Store(QByteArrayView text);
    std::uint64_t Held() const;

    static constexpr qsizetype kBlockSize = 4 * 1024 * 1024;

    QString bookPath_;
    std::uint64_t budget_;
    std::vector<QByteArray> blocks_;  // every block but the last is exactly kBlockSize long
    std::uint64_t total_ = 0;
    std::vector<std::uint32_t> ends_;
};

// The text of a string item (<si> or <is>) at the scanner: every run joined, phonetic runs left
// out, each <t> trimmed unless it keeps its spaces; UTF-8 with the _xHHHH_ escapes still in it.
QByteArray ScanStringItem(XmlScanner& scanner);
// Reads every <si> of a shared-strings part through the fast scanner, into a table whose budget
// cause names the book at `bookPath`.
SharedStrings ScanSharedStrings(XmlScanner& scanner, const QString& bookPath);

// Decodes _xHHHH_ escapes, which stand for characters XML cannot carry.
QString DecodeEscapes(QString text);

}  // namespace zarame::workbook
