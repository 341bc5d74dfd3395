#include "common/byte_text.h"

#include <algorithm>
#include <cstdint>

namespace zarame {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kControlPictures = 0x2400;  // U+2400 SYMBOL FOR NULL, then in code order
constexpr char16_t kSymbolForDelete = 0x2421;

bool IsControl(QChar unit) {
    return unit.unicode() < 0x20 || unit.unicode() == 0x7F;
}

// Length of the valid UTF-8 sequence at `position`, or 0 when the bytes there are not one
// (overlong forms, surrogates and values above U+10FFFF are invalid).
qsizetype ValidSequenceLength(QByteArrayView bytes, qsizetype position) {
    const auto byte = [&](qsizetype index) { return static_cast<std::uint8_t>(bytes[index]); };
    const std::uint8_t lead = byte(position);
    qsizetype length = 0;
    std::uint32_t minimum = 0;
    std::uint32_t value = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, value = lead & 0x07;
    } else {
        return 0;
    }
    if (position + length > bytes.size())
        return 0;
    for (qsizetype index = 1; index < length; ++index) {
        const std::uint8_t next = byte(position + index);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

QString DecodeBytes(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    qsizetype position = 0;
    while (position < bytes.size()) {
        qsizetype end = position;
        qsizetype length = 0;
        while (end < bytes.size() && (length = ValidSequenceLength(bytes, end)) > 0)
            end += length;
        if (end > position)
            text += QString::fromUtf8(bytes.sliced(position, end - position));
        if (end < bytes.size()) {
            text += QChar(char16_t(kEscapeBase + static_cast<std::uint8_t>(bytes[end])));
            ++end;
        }
        position = end;
    }
    return text;
}

QByteArray EncodeBytes(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype start = 0;
    for (qsizetype index = 0; index <= text.size(); ++index) {
        const bool end = index == text.size();
        const char16_t unit = end ? 0 : text[index].unicode();
        const bool escaped = !end && unit >= 0xDC80 && unit <= 0xDCFF &&
                             (index == 0 || !QChar::isHighSurrogate(text[index - 1].unicode()));
        if (!end && !escaped)
            continue;
        bytes += text.sliced(start, index - start).toUtf8();
        if (escaped)
            bytes += static_cast<char>(unit - kEscapeBase);
        start = index + 1;
    }
    return bytes;
}

QString VisibleText(const QString& text) {
    const bool plain =
        std::none_of(text.cbegin(), text.cend(), [](QChar unit) { return unit.isSurrogate(); });
    if (plain) {
        return text;
    }
    QString visible = text;
    for (qsizetype index = 0; index < visible.size(); ++index) {
        const QChar unit = visible[index];
        if (unit.isHighSurrogate() && index + 1 < visible.size() &&
            visible[index + 1].isLowSurrogate()) {
            ++index;
        } else if (unit.isSurrogate()) {
            visible[index] = QChar(kReplacement);
        }
    }
    return visible;
}

QString VisibleLine(const QString& text) {
    QString visible = VisibleText(text);
    const auto first = std::find_if(visible.cbegin(), visible.cend(), IsControl);
    if (first == visible.cend()) {
        return visible;
    }
    for (qsizetype index = first - visible.cbegin(); index < visible.size(); ++index) {
        const char16_t unit = visible[index].unicode();
        if (unit == 0x7F) {
            visible[index] = QChar(kSymbolForDelete);
        } else if (unit < 0x20) {
            visible[index] = QChar(char16_t(kControlPictures + unit));
        }
    }
    return visible;
}

}  // namespace zarame
