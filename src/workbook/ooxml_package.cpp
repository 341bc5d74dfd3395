#include "workbook/ooxml_package.h"

#include <QStringList>
#include <QUrl>

#include "workbook/xml_part.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {

namespace {

QString RelationshipsPartOf(const QString& sourcePart) {
    const qsizetype slash = sourcePart.lastIndexOf(u'/');
    return sourcePart.left(slash + 1) + QStringLiteral("_rels/") + sourcePart.mid(slash + 1) +
           QStringLiteral(".rels");
}

}  // namespace

QString ResolveTarget(const QString& sourcePart, const QString& target) {
    const QString decoded = QUrl::fromPercentEncoding(target.toUtf8());
    QStringList segments;
    if (!decoded.startsWith(u'/')) {
        segments = sourcePart.split(u'/');
        segments.removeLast();  // the source's own name
    }
    for (const QString& segment : decoded.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == u"..") {
            if (!segments.isEmpty()) {
                segments.removeLast();
            }
        } else if (segment != u".") {
            segments.append(segment);
        }
    }
    return segments.join(u'/');
}

std::map<QString, Relationship> ReadRelationships(const ZipArchive& archive,
                                                  const QString& sourcePart) {
    std::map<QString, Relationship> relationships;
    const QString name = RelationshipsPartOf(sourcePart);
    std::optional<QByteArray> whole = archive.ReadWhole(name, kHeldPartCap);
    if (!whole) {
        return relationships;
    }
    XmlPart part(std::move(*whole), name);
    while (part.NextStartBelow(1, u"Relationship")) {
        const QXmlStreamAttributes attributes = part.reader().attributes();
        if (Attribute(attributes, u"TargetMode") == u"External") {
            continue;
        }
        const QString type = Attribute(attributes, u"Type").toString();
        relationships[Attribute(attributes, u"Id").toString()] =
            Relationship{type.mid(type.lastIndexOf(u'/') + 1),
                         ResolveTarget(sourcePart, Attribute(attributes, u"Target").toString())};
    }
    return relationships;
}

QString WorkbookPartName(const ZipArchive& archive) {
    for (const auto& [id, relationship] : ReadRelationships(archive, QString())) {
        if (relationship.type == u"officeDocument") {
            return relationship.target;
        }
    }
    return QStringLiteral("xl/workbook.xml");
}

}  // namespace zarame::workbook
