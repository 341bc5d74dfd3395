#pragma once

#include <QByteArrayView>

namespace zarame {

// Whether the bytes read entirely as INI text of the kind QSettings writes: valid UTF-8 without
// control characters, each line blank, a ";" or "#" comment, a [group] or an escaped key with
// "=" and a value.
bool IsIniText(QByteArrayView bytes);

}  // namespace zarame
