#include "settings/ini_text.h"

#include <QStringDecoder>
#include <algorithm>

namespace zarame {

namespace {

bool IsKeyCharacter(char character) {
    // What QSettings leaves unescaped in a key, and its escapes ("%20", "%U3042", "\\").
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
           (character >= '0' && character <= '9') || character == '_' || character == '-' ||
           character == '.' || character == '%' || character == '\\' || character == '/';
}

bool IsIniLine(QByteArrayView line) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) {
        return true;
    }
    if (line.startsWith('[')) {
        return line.endsWith(']');
    }
    const qsizetype equals = line.indexOf('=');
    if (equals <= 0) {
        return false;
    }
    const QByteArrayView key = line.first(equals).trimmed();
    return !key.isEmpty() && std::all_of(key.begin(), key.end(), IsKeyCharacter);
}

}  // namespace

bool IsIniText(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    const bool control = std::any_of(bytes.begin(), bytes.end(), [](char character) {
        const auto unit = static_cast<unsigned char>(character);
        return (unit < 0x20 && unit != '\t' && unit != '\n' && unit != '\r') || unit == 0x7F;
    });
    if (control) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder(bytes);
    if (decoder.hasError()) {
        return false;
    }
    // QSettings ends a line at either of CR and LF.
    qsizetype start = 0;
    for (qsizetype end = 0; end <= bytes.size(); ++end) {
        if (end == bytes.size() || bytes[end] == '\n' || bytes[end] == '\r') {
            if (!IsIniLine(bytes.sliced(start, end - start))) {
                return false;
            }
            start = end + 1;
        }
    }
    return true;
}

}  // namespace zarame
