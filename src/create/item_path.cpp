#include "create/item_path.h"

#include <QStringTokenizer>
#include <cerrno>

namespace zarame {

RefusedNameError::RefusedNameError(const QString& name)
    : RunTimeError(EINVAL, QStringLiteral("作成先フォルダの外を指す名前は使えません: ") + name) {}

QString ItemPath(const QString& folder, const QString& name) {
    if (name.contains(QChar(u'\0'))) {
        throw RefusedNameError(name);
    }
    for (QStringView component : QStringTokenizer(name, u'/')) {
        if (component == u"..") {
            throw RefusedNameError(name);
        }
    }
    return folder + u'/' + name;
}

}  // namespace zarame
