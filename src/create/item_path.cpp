#include "create/item_path.h"

#include <QStringTokenizer>
#include <cerrno>

namespace zarame {

RefusedNameError::RefusedNameError(Reason reason, const QString& name)
    : RunTimeError(EINVAL, reason == Reason::ClimbsOut
                               ? QStringLiteral("作成先フォルダの外を指す名前は使えません: ") + name
                               // Shown as U+FFFD: a NUL would cut the line short wherever it is
                               // written out as bytes.
                               : QStringLiteral("NUL 文字を含む名前は使えません: ") +
                                     QString(name).replace(QChar(u'\0'), QChar(0xFFFD))) {}

QString ItemPath(const QString& folder, const QString& name) {
    if (name.contains(QChar(u'\0'))) {
        throw RefusedNameError(RefusedNameError::Reason::HoldsNul, name);
    }
    for (QStringView component : QStringTokenizer(name, u'/')) {
        if (component == u"..") {
            throw RefusedNameError(RefusedNameError::Reason::ClimbsOut, name);
        }
    }
    return folder + u'/' + name;
}

}  // namespace zarame
