#include "workbook/shared_strings.h"

#include "workbook/read_stop.h"
#include "workbook/workbook_error.h"
#include "workbook/xml_scanner.h"

namespace zarame::workbook {

namespace {

// Runs beyond this length are dropped: no cell shows that much.
constexpr qsizetype kItemCap = 1024 * 1024;

int HexValue(QChar character) {
    const char16_t code = character.unicode();
    if (code >= u'0' && code <= u'9') {
        return code - u'0';
    }
    if (code >= u'a' && code <= u'f') {
        return code - u'a' + 10;
    }
    if (code >= u'A' && code <= u'F') {
        return code - u'A' + 10;
    }
    return -1;
}

}  // namespace

void SharedStrings::Reserve(std::size_t count) {
    ends_.reserve(std::min<std::size_t>(count, budget_ / 4 / sizeof(ends_[0])));
}

void SharedStrings::Append(QStringView text) {
    Store(text.toUtf8());
}

void SharedStrings::AppendUtf8(QByteArrayView text) {
    // Escapes are decoded once, here; a decoded text may still hold a literal "_x".
    if (text.contains("_x")) {
        Store(DecodeEscapes(QString::fromUtf8(text)).toUtf8());
    } else {
        Store(text);
    }
}

// What the table takes: its blocks as allocated and the room of its index.
std::uint64_t SharedStrings::Held() const {
    return blocks_.size() * static_cast<std::uint64_t>(kBlockSize) +
           ends_.capacity() * sizeof(ends_[0]);
}

void SharedStrings::Store(QByteArrayView rest) {
    const std::uint64_t room = blocks_.empty() ? 0 : kBlockSize - blocks_.back().size();
    const std::uint64_t newBlocks =
        rest.size() <= static_cast<qsizetype>(room)
            ? 0
            : (rest.size() - room + kBlockSize - 1) / static_cast<std::uint64_t>(kBlockSize);
    // The index grows by half when full, within the budget, rather than doubling past it.
    const std::size_t indexRoom = ends_.size() < ends_.capacity()
                                      ? ends_.capacity()
                                      : ends_.capacity() + ends_.capacity() / 2 + 1024;
    if (Held() + newBlocks * kBlockSize + (indexRoom - ends_.capacity()) * sizeof(ends_[0]) >
        budget_) {
        throw SharedStringsTooLarge(bookPath_);
    }
    ends_.reserve(indexRoom);
    while (!rest.isEmpty()) {
        if (blocks_.empty() || blocks_.back().size() == kBlockSize) {
            blocks_.emplace_back().reserve(kBlockSize);
        }
        const qsizetype take = std::min(rest.size(), kBlockSize - blocks_.back().size());
        blocks_.back().append(rest.data(), take);
        rest = rest.sliced(take);
        total_ += static_cast<std::uint64_t>(take);
    }
    ends_.push_back(static_cast<std::uint32_t>(total_));
}

QString SharedStrings::At(std::int64_t index) const {
    if (index < 0 || static_cast<std::uint64_t>(index) >= ends_.size()) {
        throw DamagedWorkbook(QStringLiteral("共有文字列 %1 がありません").arg(index));
    }
    const std::size_t position = static_cast<std::size_t>(index);
    qsizetype begin = position == 0 ? 0 : ends_[position - 1];
    const qsizetype end = ends_[position];
    if (begin == end) {
        return {};  // may sit just past the last block
    }
    const std::size_t first = static_cast<std::size_t>(begin / kBlockSize);
    if (end <= static_cast<qsizetype>(first + 1) * kBlockSize) {
        return QString::fromUtf8(blocks_[first].constData() + begin % kBlockSize, end - begin);
    }
    QByteArray joined;  // a string that runs over the end of a block
    while (begin < end) {
        const qsizetype within = begin % kBlockSize;
        const qsizetype take = std::min(end - begin, kBlockSize - within);
        joined.append(blocks_[static_cast<std::size_t>(begin / kBlockSize)].constData() + within,
                      take);
        begin += take;
    }
    return QString::fromUtf8(joined);
}

QByteArray ScanStringItem(XmlScanner& scanner) {
    QByteArray text;
    if (scanner.selfClosing()) {
        return text;
    }
    const bool itemKeepsSpaces = scanner.Attribute(XmlNamespace::Xml, "space") == "preserve";
    for (int depth = 1; depth > 0;) {
        switch (scanner.Next()) {
            case XmlScanner::Token::Start:
                if (scanner.Is(XmlNamespace::Spreadsheet, "t")) {
                    const QByteArray space = scanner.Attribute(XmlNamespace::Xml, "space");
                    const bool keep = space.isEmpty() ? itemKeepsSpaces : space == "preserve";
                    const QByteArray piece = scanner.ElementText();
                    if (text.size() < kItemCap) {
                        text += keep ? piece : piece.trimmed();
                    }
                } else if (scanner.Is(XmlNamespace::Spreadsheet, "r") && !scanner.selfClosing()) {
                    ++depth;  // a run: its <t> comes next
                } else {
                    // Furigana (rPh, phoneticPr) is not part of the displayed text, nor are run
                    // properties or anything of another namespace.
                    scanner.SkipElement();
                }
                break;
            case XmlScanner::Token::End:
                --depth;
                break;
            case XmlScanner::Token::Text:
                break;
            case XmlScanner::Token::EndOfPart:
                return text;
        }
    }
    return text;
}

SharedStrings ScanSharedStrings(XmlScanner& scanner, const QString& bookPath) {
    SharedStrings strings(bookPath);
    while (true) {
        const XmlScanner::Token token = scanner.Next();
        if (token == XmlScanner::Token::EndOfPart) {
            return strings;
        }
        if (token != XmlScanner::Token::Start) {
            continue;
        }
        if (scanner.depth() == 1 && scanner.Is(XmlNamespace::Spreadsheet, "sst")) {
            // Room for the announced count, within the budget.
            strings.Reserve(static_cast<std::size_t>(
                std::min<qulonglong>(scanner.Attribute("uniqueCount").toULongLong(), 1u << 24)));
        } else if (scanner.depth() == 2 && scanner.Is(XmlNamespace::Spreadsheet, "si")) {
            PollStop();
            strings.AppendUtf8(ScanStringItem(scanner));
        } else if (scanner.depth() > 1) {
            scanner.SkipElement();  // extensions, and anything of another namespace
        }
    }
}

QString DecodeEscapes(QString text) {
    qsizetype at = text.indexOf(u"_x");
    if (at < 0) {
        return text;
    }
    QString decoded;
    decoded.reserve(text.size());
    qsizetype copied = 0;
    for (; at >= 0 && at + 7 <= text.size(); at = text.indexOf(u"_x", at)) {
        int value = 0;
        bool valid = text[at + 6] == u'_';
        for (int digit = 0; valid && digit < 4; ++digit) {
            const int hex = HexValue(text[at + 2 + digit]);
            valid = hex >= 0;
            value = value * 16 + hex;
        }
        if (!valid) {
            at += 1;
            continue;
        }
        decoded += QStringView(text).mid(copied, at - copied);
        decoded += QChar(static_cast<char16_t>(value));
        at += 7;
        copied = at;
    }
    decoded += QStringView(text).mid(copied);
    return decoded;
}

}  // namespace zarame::workbook
