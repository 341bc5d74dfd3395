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
// Namespace declarations in scope at once; real parts make a few dozen.
constexpr std::size_t kBindingCap = 1024;

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

// The prefix of a qualified name, empty when it has none.
QByteArrayView PrefixOf(QByteArrayView qualified, QByteArrayView local) {
    return qualified.size() == local.size() ? QByteArrayView()
                                            : qualified.first(qualified.size() - local.size() - 1);
}

// Whether the attributes may hold a namespace declaration; most tags have no "xmlns" at all, and
// this is cheaper than a substring search on every tag.
bool MayDeclare(QByteArrayView attributes) {
    const char* at = attributes.data();
    const char* const end = at + attributes.size();
    while (end - at >= 5) {
        at = static_cast<const char*>(std::memchr(at, 'x', static_cast<size_t>(end - at - 4)));
        if (at == nullptr) {
            return false;
        }
        if (std::memcmp(at, "xmlns", 5) == 0) {
            return true;
        }
        ++at;
    }
    return false;
}

// Calls `visit(qualifiedName, rawValue)` for each attribute until it returns true.
template <typename Visit>
void ForEachAttribute(QByteArrayView rest, Visit visit) {
    while (true) {
        const qsizetype equals = rest.indexOf('=');
        if (equals < 0) {
            return;
        }
        const QByteArrayView name = rest.first(equals).trimmed();
        qsizetype open = equals + 1;
        while (open < rest.size() && IsSpace(rest[open])) {
            ++open;
        }
        if (open >= rest.size() || (rest[open] != '"' && rest[open] != '\'')) {
            return;
        }
        const qsizetype close = rest.indexOf(rest[open], open + 1);
        if (close < 0) {
            return;
        }
        if (visit(name, rest.sliced(open + 1, close - open - 1))) {
            return;
        }
        rest = rest.sliced(close + 1);
    }
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
    if (closePending_) {
        CloseElement();
    }
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
        const QByteArrayView qualified = tag.first(nameEnd);
        name_ = LocalName(qualified);
        attributes_ = tag.sliced(nameEnd);
        if (closing) {
            EndElement(qualified);
            return Token::End;
        }
        StartElement(qualified);
        if (!selfClosing_) {
            endTag_.resize(nameEnd + 2);  // keeps its room: no allocation per tag
            endTag_[0] = '<';
            endTag_[1] = '/';
            std::memcpy(endTag_.data() + 2, tag.data(), static_cast<size_t>(nameEnd));
        }
        return Token::Start;
    }
}

void XmlScanner::StartElement(QByteArrayView qualifiedName) {
    if (++depth_ > kNestingCap) {
        Damaged("入れ子が深すぎます");
    }
    if (MayDeclare(attributes_)) {
        ForEachAttribute(attributes_, [this](QByteArrayView name, QByteArrayView value) {
            if (name == "xmlns") {
                Declare({}, value);
            } else if (name.startsWith("xmlns:")) {
                Declare(name.sliced(6), value);
            }
            return false;
        });
    }
    space_ = Resolve(PrefixOf(qualifiedName, name_));
    closePending_ = selfClosing_;  // its declarations hold for its own attributes until then
}

void XmlScanner::EndElement(QByteArrayView qualifiedName) {
    if (depth_ == 0) {
        Damaged("開始タグのない終了タグ");
    }
    space_ = Resolve(PrefixOf(qualifiedName, name_));
    closePending_ = true;
}

void XmlScanner::CloseElement() {
    while (!bindings_.empty() && bindings_.back().depth == depth_) {
        bindings_.pop_back();
    }
    --depth_;
    closePending_ = false;
}

void XmlScanner::Declare(QByteArrayView prefix, QByteArrayView uri) {
    if (bindings_.size() >= kBindingCap) {
        Damaged("名前空間の宣言が多すぎます");
    }
    XmlNamespace space;
    if (uri.contains('&')) {
        QByteArray decoded;
        DecodeInto(uri, decoded);
        space = NamespaceOfUri(QByteArrayView(decoded));
    } else {
        space = NamespaceOfUri(uri);
    }
    bindings_.push_back(Binding{prefix.toByteArray(), space, depth_});
}

XmlNamespace XmlScanner::Resolve(QByteArrayView prefix) const {
    for (auto binding = bindings_.rbegin(); binding != bindings_.rend(); ++binding) {
        if (QByteArrayView(binding->prefix) == prefix) {
            return binding->space;
        }
    }
    if (prefix.isEmpty()) {
        return XmlNamespace::None;
    }
    // The xml: prefix is bound without a declaration; any other undeclared prefix names nothing
    // a reader looks for.
    return prefix == "xml" ? XmlNamespace::Xml : XmlNamespace::Other;
}

QByteArrayView XmlScanner::FindAttribute(XmlNamespace space, QByteArrayView localName) const {
    QByteArrayView found;
    bool present = false;
    ForEachAttribute(attributes_, [&](QByteArrayView name, QByteArrayView value) {
        const QByteArrayView local = LocalName(name);
        if (local != localName) {
            return false;
        }
        const QByteArrayView prefix = PrefixOf(name, local);
        present = space == XmlNamespace::None ? prefix.isEmpty()
                                              : !prefix.isEmpty() && Resolve(prefix) == space;
        found = value;
        return present;
    });
    return present ? found : QByteArrayView();
}

QByteArray XmlScanner::Attribute(QByteArrayView localName) const {
    QByteArray value;
    DecodeInto(FindAttribute(XmlNamespace::None, localName), value);
    return value;
}

QByteArrayView XmlScanner::AttributeView(QByteArrayView localName, QByteArray& storage) const {
    const QByteArrayView raw = FindAttribute(XmlNamespace::None, localName);
    if (!raw.contains('&')) {
        return raw;
    }
    storage.clear();
    DecodeInto(raw, storage);
    return storage;
}

QByteArray XmlScanner::Attribute(XmlNamespace space, QByteArrayView localName) const {
    QByteArray value;
    DecodeInto(FindAttribute(space, localName), value);
    return value;
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
    // One pass over the content looks at each '<': the end tag ends the skip; the same name
    // nested, a comment, CDATA section or processing instruction (any of which may hold the end
    // tag's text) hand over to the token by token skip from the start of the content.
    const QByteArrayView name = QByteArrayView(endTag_).sliced(2);
    qsizetype at = 0;  // from the position, which stays at the start of the content
    while (true) {
        while (position_ + at < buffer_.size() && buffer_[position_ + at] != '<') {
            ++at;
        }
        // The '<', a '/', the name and the byte after it.
        if (!Ensure(at + name.size() + 3)) {
            position_ = buffer_.size();  // a part cut short: the caller sees its end
            return;
        }
        const char* const tag = buffer_.constData() + position_ + at;
        if (tag[0] != '<') {
            continue;  // more of the part was read in
        }
        if (tag[1] == '!' || tag[1] == '?') {
            SkipElement();
            return;
        }
        const bool closing = tag[1] == '/';
        const char* const tagName = tag + (closing ? 2 : 1);
        const char after = tagName[name.size()];
        if (std::memcmp(tagName, name.data(), static_cast<size_t>(name.size())) == 0 &&
            (after == '>' || IsSpace(after) || (!closing && after == '/'))) {
            if (!closing) {
                SkipElement();
                return;
            }
            const qsizetype close = Find(">", at + 2 + name.size());
            position_ = close < 0 ? buffer_.size() : position_ + close + 1;
            closePending_ = true;
            return;
        }
        ++at;
    }
}

void XmlScanner::ReadToEnd() {
    buffer_.clear();
    position_ = 0;
    if (!endOfStream_) {
        stream_->ReadToEnd();
        endOfStream_ = true;
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
