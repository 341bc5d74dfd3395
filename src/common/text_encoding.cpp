#include "common/text_encoding.h"

#include <iconv.h>
#include <QStringDecoder>
#include <QSysInfo>
#include <cstdint>
#include <cstring>

namespace zarame {

namespace {

bool HasLoneSurrogate(QStringView text) {
    for (qsizetype index = 0; index < text.size(); ++index) {
        if (text[index].isHighSurrogate() && index + 1 < text.size() &&
            text[index + 1].isLowSurrogate()) {
            ++index;
        } else if (text[index].isSurrogate()) {
            return true;
        }
    }
    return false;
}

// Each piece on its own: a U+FEFF that starts it is dropped, as where two files with byte-order
// marks were joined into one.
std::optional<QString> DecodeWithQt(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

// One converter for the thread, opened at first use: opening one per line costs more than the
// line's conversion. It writes UTF-16 straight into the string; no CP932 character is outside
// the Basic Multilingual Plane, so one code unit per input byte is room enough.
class ShiftJisConverter {
public:
    ShiftJisConverter()
        : converter_(::iconv_open(
              QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE", "CP932")) {}
    ~ShiftJisConverter() {
        if (usable()) {
            ::iconv_close(converter_);
        }
    }
    ShiftJisConverter(const ShiftJisConverter&) = delete;
    ShiftJisConverter& operator=(const ShiftJisConverter&) = delete;

    bool usable() const { return converter_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<QString> Decode(QByteArrayView bytes) {
        ::iconv(converter_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        QString text(bytes.size(), Qt::Uninitialized);
        char* in = const_cast<char*>(bytes.data());  // iconv does not write its input
        size_t inLeft = static_cast<size_t>(bytes.size());
        char* out = reinterpret_cast<char*>(text.data());
        size_t outLeft = static_cast<size_t>(text.size()) * sizeof(char16_t);
        const size_t result = ::iconv(converter_, &in, &inLeft, &out, &outLeft);
        if (result == static_cast<size_t>(-1) || inLeft != 0) {
            return std::nullopt;
        }
        text.truncate(text.size() - static_cast<qsizetype>(outLeft / sizeof(char16_t)));
        return text;
    }

private:
    iconv_t converter_;
};

std::optional<QString> DecodeShiftJis(QByteArrayView bytes) {
    thread_local ShiftJisConverter converter;
    return converter.usable() ? converter.Decode(bytes) : std::nullopt;
}

}  // namespace

QString NameOf(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return QStringLiteral("UTF-8");
        case TextEncoding::ShiftJis:
            return QStringLiteral("Shift_JIS");
        case TextEncoding::Utf16LittleEndian:
        case TextEncoding::Utf16BigEndian:
            return QStringLiteral("UTF-16");
    }
    return {};
}

std::optional<ByteOrderMark> ByteOrderMarkOf(QByteArrayView head) {
    if (head.startsWith("\xEF\xBB\xBF")) {
        return ByteOrderMark{TextEncoding::Utf8, 3};
    }
    if (head.startsWith("\xFF\xFE")) {
        return ByteOrderMark{TextEncoding::Utf16LittleEndian, 2};
    }
    if (head.startsWith("\xFE\xFF")) {
        return ByteOrderMark{TextEncoding::Utf16BigEndian, 2};
    }
    return std::nullopt;
}

void EncodingDecision::Feed(QByteArrayView bytes) {
    const auto* byte = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = byte + bytes.size();
    while (byte < end && !invalid_) {
        if (pending_ == 0) {
            // Names are mostly ASCII: eight bytes at a time while no byte has its top bit set.
            while (end - byte >= 8) {
                std::uint64_t word;
                std::memcpy(&word, byte, sizeof word);
                if ((word & 0x8080808080808080ULL) != 0) {
                    break;
                }
                byte += 8;
            }
            if (byte == end) {
                break;
            }
            const unsigned char lead = *byte++;
            lowest_ = 0x80;
            highest_ = 0xBF;
            if (lead < 0x80) {
                continue;
            } else if (lead >= 0xC2 && lead <= 0xDF) {
                pending_ = 1;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                pending_ = 2;
                lowest_ = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong form
                highest_ = lead == 0xED ? 0x9F : 0xBF;  // no surrogate
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                pending_ = 3;
                lowest_ = lead == 0xF0 ? 0x90 : 0x80;
                highest_ = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
            } else {
                invalid_ = true;
            }
        } else {
            const unsigned char continuation = *byte++;
            if (continuation < lowest_ || continuation > highest_) {
                invalid_ = true;
            }
            lowest_ = 0x80;
            highest_ = 0xBF;
            --pending_;
        }
    }
}

TextEncoding EncodingDecision::Whole() const {
    return invalid_ || pending_ != 0 ? TextEncoding::ShiftJis : TextEncoding::Utf8;
}

TextEncoding EncodingDecision::Start() const {
    return invalid_ ? TextEncoding::ShiftJis : TextEncoding::Utf8;
}

std::optional<QString> DecodeText(QByteArrayView bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return DecodeWithQt(bytes, QStringConverter::Utf8);
        case TextEncoding::ShiftJis:
            return DecodeShiftJis(bytes);
        case TextEncoding::Utf16LittleEndian:
        case TextEncoding::Utf16BigEndian: {
            // A stateless decoder drops a lone last byte without a word, and passes a lone
            // surrogate through.
            if (bytes.size() % 2 != 0) {
                return std::nullopt;
            }
            std::optional<QString> text = DecodeWithQt(
                bytes, encoding == TextEncoding::Utf16LittleEndian ? QStringConverter::Utf16LE
                                                                   : QStringConverter::Utf16BE);
            if (text && HasLoneSurrogate(*text)) {
                return std::nullopt;
            }
            return text;
        }
    }
    return std::nullopt;
}

}  // namespace zarame
