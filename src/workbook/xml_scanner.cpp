#include "workbook/xml_scanner.h"

#include <cstring>

#include "workbook/workbook_error.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {

namespace {

// What one token may take: a text run or a tag with its attributes.
constexpr qsizetype kTokenCap = 64 * 1024 * 1024;
// Far more than any spreadsheet cell holds; longer text is cut here rather than held.
constexpr qsizetype kTextCap = 1024 * 1024;

bool IsSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

QByteArrayView LocalName(QByteArrayView qualified) {
    for (qsizetype index = qualified.size() - 1; index >= 0; --index) {
        if (qualified[index] == ':') {
            return qualified.sliced(index + 1);
        }
    }
    return qualified;
}

void AppendUtf8(char32_t code, QByteArray& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

XmlScanner::XmlScanner(std::unique_ptr<ZipEntryStream> stream, QByteArray head)
    : stream_(std::move(stream)), buffer_(std::move(head)) {
    partName_ = stream_ ? stream_->name() : QStringLiteral("xml");
    endOfStream_ = !stream_;
    if (buffer_.isEmpty()) {
        Ensure(3);
    }
    if (buffer_.startsWith("\xEF\xBB\xBF")) {
        position_ = 3;
    }
    // Workbook writers use UTF-8; a part in another encoding is refused rather than misread.
    Ensure(2);
    const QByteArrayView start = QByteArrayView(buffer_).sliced(position_);
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF")) {
        Damaged("UTF-8 以外の文字コード");
    }
    if (start.startsWith("<?xml")) {
        const qsizetype end = Find("?>", 0);
        if (end > 0) {
            name_ = "xml";
            attributes_ = QByteArrayView(buffer_).sliced(position_ + 5, end - 5);
            const QByteArray encoding = Attribute("encoding").toLower();
            if (!encoding.isEmpty() && encoding != "utf-8" && encoding != "utf8") {
                Damaged("UTF-8 以外の文字コード");
            }
        }
    }
}

XmlScanner::~XmlScanner() = default;

void XmlScanner::Damaged(const char* what) const {
    throw DamagedWorkbook(partName_ + QStringLiteral(": ") + QString::fromUtf8(what));
}

// Makes at least `count` bytes from the position available; false at the end of the part.
bool XmlScanner::Ensure(qsizetype count) {
    while (buffer_.size() - position_ < count) {
        if (endOfStream_) {
            return false;
        }
        if (count > kTokenCap) {
            Damaged("要素が大きすぎます");
        }
        const QByteArray piece = stream_->Read();
        if (piece.isEmpty()) {
            endOfStream_ = true;
            return false;
        }
        if (position_ > 0) {
            buffer_.remove(0, position_);
            position_ = 0;
        }
        buffer_ += piece;
    }
    return true;
}

// The index of `needle` at or after `from` (relative to the position), reading on as needed; -1
// at the end of the part.
qsizetype XmlScanner::Find(QByteArrayView needle, qsizetype from) {
    while (true) {
        const qsizetype found = QByteArrayView(buffer_).indexOf(needle, position_ + from);
        if (found >= 0) {
            return found - position_;
        }
        const qsizetype scanned =
            std::max<qsizetype>(0, buffer_.size() - position_ - needle.size() + 1);
        if (!Ensure(buffer_.size() - position_ + 1)) {
            return -1;
        }
        from = scanned;
    }
}

void XmlScanner::DecodeInto(QByteArrayView raw, QByteArray& out) const {
    qsizetype at = 0;
    while (at < raw.size()) {
        const qsizetype amp = raw.indexOf('&', at);
        if (amp < 0) {
            out += raw.sliced(at);
            return;
        }
        out += raw.sliced(at, amp - at);
        const qsizetype semicolon = raw.indexOf(';', amp);
        if (semicolon < 0 || semicolon - amp > 12) {
            Damaged("実体参照");
        }
        const QByteArrayView entity = raw.sliced(amp + 1, semicolon - amp - 1);
        if (entity == "lt") {
            out += '<';
        } else if (entity == "gt") {
            out += '>';
        } else if (entity == "amp") {
            out += '&';
        } else if (entity == "quot") {
            out += '"';
        } else if (entity == "apos") {
            out += '\'';
        } else if (entity.startsWith('#')) {
            bool valid = false;
            const uint code = entity.startsWith("#x") ? entity.sliced(2).toUInt(&valid, 16)
                                                      : entity.sliced(1).toUInt(&valid, 10);
            if (!valid || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                Damaged("文字参照");
            }
            AppendUtf8(code, out);
        } else {
            Damaged("未定義の実体参照");
        }
        at = semicolon + 1;
    }
}

XmlScanner::Token XmlScanner::Next() {
    while (true) {
        if (!Ensure(1)) {
            return Token::EndOfPart;
        }
        if (buffer_[position_] != '<') {
            // Text up to the next tag.
            qsizetype end = Find("<", 0);
            if (end < 0) {
                end = buffer_.size() - position_;
            }
            text_.clear();
            DecodeInto(QByteArrayView(buffer_).sliced(position_, end), text_);
            position_ += end;
            return Token::Text;
        }
        if (!Ensure(2)) {
            Damaged("途中で切れています");
        }
        const char second = buffer_[position_ + 1];
        if (second == '?' || second == '!') {
            Ensure(9);
            const QByteArrayView head = QByteArrayView(buffer_).sliced(position_);
            if (head.startsWith("<!--")) {
                const qsizetype end = Find("-->", 4);
                if (end < 0) {
                    Damaged("コメントが閉じていません");
                }
                position_ += end + 3;
                continue;
            }
            if (head.startsWith("<![CDATA[")) {
                const qsizetype end = Find("]]>", 9);
                if (end < 0) {
                    Damaged("CDATA が閉じていません");
                }
                text_ = QByteArray(buffer_.constData() + position_ + 9, end - 9);
                position_ += end + 3;
                return Token::Text;
            }
            if (second == '?') {
                const qsizetype end = Find("?>", 2);
                if (end < 0) {
                    Damaged("処理命令が閉じていません");
                }
                position_ += end + 2;
                continue;
            }
            Damaged("文書型定義");
        }
        // A tag: up to the '>' that is outside any quoted attribute value.
        qsizetype end = 1;
        char quote = 0;
        bool found = false;
        while (!found) {
            const qsizetype available = buffer_.size() - position_;
            const char* data = buffer_.constData() + position_;
            for (; end < available; ++end) {
                const char character = data[end];
                if (quote != 0) {
                    quote = character == quote ? 0 : quote;
                } else if (character == '"' || character == '\'') {
                    quote = character;
                } else if (character == '>') {
                    found = true;
                    break;
                }
            }
            if (!found && !Ensure(end + 1)) {
                Damaged("タグが閉じていません");
            }
        }
        QByteArrayView tag = QByteArrayView(buffer_).sliced(position_ + 1, end - 1);
        position_ += end + 1;
        const bool closing = tag.startsWith('/');
        if (closing) {
            tag = tag.sliced(1);
        }
        selfClosing_ = tag.endsWith('/');
        if (selfClosing_) {
            tag.chop(1);
        }
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && !IsSpace(tag[nameEnd])) {
            ++nameEnd;
        }
        name_ = LocalName(tag.first(nameEnd));
        if (!closing && !selfClosing_) {
            qualifiedName_.resize(nameEnd);  // keeps its room: no allocation per tag
            std::memcpy(qualifiedName_.data(), tag.data(), static_cast<size_t>(nameEnd));
        }
        attributes_ = tag.sliced(nameEnd);
        return closing ? Token::End : Token::Start;
    }
}

QByteArray XmlScanner::Attribute(QByteArrayView localName) const {
    QByteArrayView rest = attributes_;
    while (true) {
        const qsizetype equals = rest.indexOf('=');
        if (equals < 0) {
            return {};
        }
        const QByteArrayView name = LocalName(rest.first(equals).trimmed());
        qsizetype open = equals + 1;
        while (open < rest.size() && IsSpace(rest[open])) {
            ++open;
        }
        if (open >= rest.size() || (rest[open] != '"' && rest[open] != '\'')) {
            return {};
        }
        const qsizetype close = rest.indexOf(rest[open], open + 1);
        if (close < 0) {
            return {};
        }
        if (name == localName) {
            QByteArray value;
            DecodeInto(rest.sliced(open + 1, close - open - 1), value);
            return value;
        }
        rest = rest.sliced(close + 1);
    }
}

void XmlScanner::SkipElement() {
    if (selfClosing_) {
        return;
    }
    for (int depth = 1; depth > 0;) {
        switch (Next()) {
            case Token::Start:
                depth += selfClosing_ ? 0 : 1;
                break;
            case Token::End:
                --depth;
                break;
            case Token::Text:
                break;
            case Token::EndOfPart:
                return;
        }
    }
}

void XmlScanner::SkipElementText() {
    if (selfClosing_) {
        return;
    }
    const QByteArray endTag = "</" + qualifiedName_;
    qsizetype from = 0;
    while (true) {
        const qsizetype found = Find(endTag, from);
        if (found < 0) {
            position_ = buffer_.size();
            return;
        }
        // The name must end there: </c> or </c >, not </col>.
        if (!Ensure(found + endTag.size() + 1)) {
            position_ = buffer_.size();
            return;
        }
        const char after = buffer_[position_ + found + endTag.size()];
        if (after == '>' || IsSpace(after)) {
            const qsizetype close = Find(">", found + endTag.size());
            position_ = close < 0 ? buffer_.size() : position_ + close + 1;
            return;
        }
        from = found + 1;
    }
}

QByteArray XmlScanner::ElementText() {
    QByteArray text;
    if (selfClosing_) {
        return text;
    }
    for (int depth = 1; depth > 0;) {
        switch (Next()) {
            case Token::Start:
                depth += selfClosing_ ? 0 : 1;
                break;
            case Token::End:
                --depth;
                break;
            case Token::Text:
                if (text.size() < kTextCap) {
                    text += text_.left(kTextCap - text.size());
                }
                break;
            case Token::EndOfPart:
                return text;
        }
    }
    return text;
}

}  // namespace zarame::workbook
