#include "workbook/ooxml_package.h"

#include <QStringList>
#include <QUrl>

#include "workbook/workbook_error.h"
#include "workbook/xml_part.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {

namespace {

// Far more relationships than any part has; each costs a few hundred bytes here.
constexpr std::size_t kRelationshipCap = 1 << 17;

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
    if (!archive.Contains(name)) {
        return relationships;
    }
    XmlPart part(archive.OpenEntry(name, kHeldPartCap));
    while (part.NextStartBelow(1, XmlNamespace::PackageRelationships, u"Relationship")) {
        const QXmlStreamAttributes attributes = part.reader().attributes();
        const auto plain = [&attributes](QStringView name) {
            return Attribute(attributes, XmlNamespace::None, name);
        };
        if (plain(u"TargetMode") == u"External") {
            continue;
        }
        if (relationships.size() == kRelationshipCap) {
            throw DamagedWorkbook(name + QStringLiteral(": 関係が多すぎます"));
        }
        const QString type = plain(u"Type").toString();
        relationships[plain(u"Id").toString()] =
            Relationship{type.mid(type.lastIndexOf(u'/') + 1),
                         ResolveTarget(sourcePart, plain(u"Target").toString())};
    }
    part.ReadToEnd();
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
