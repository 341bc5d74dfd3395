#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zarame {

// A Linux path or file name is a string of bytes, not always valid UTF-8. The program holds
// them as QString without losing a byte: valid UTF-8 decodes as usual, and every byte of an
// invalid sequence becomes a lone low surrogate U+DC80..U+DCFF, which encoding turns back into
// that byte. Use these at every boundary between the system's bytes and the program's text.
QString DecodeBytes(QByteArrayView bytes);
QByteArray EncodeBytes(QStringView text);

// The same text for people to read: each escaped byte (and any other lone surrogate) shows as
// U+FFFD, so a log line never carries an unpaired surrogate. A text without one comes back as
// itself, unshared work free: the log and standard error pass every line through here.
QString VisibleText(const QString& text);

// The same text for one line of a log: on top of VisibleText, every control character (U+0000 to
// U+001F and U+007F) shows as its symbol from the Control Pictures block, so a name holding a
// newline, a NUL or an escape sequence stays one line on screen and in standard output. A text
// without one comes back as itself.
QString VisibleLine(const QString& text);

}  // namespace zarame
