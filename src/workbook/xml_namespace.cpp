#include "workbook/xml_namespace.h"

#include <QString>

namespace zarame::workbook {

namespace {

struct KnownNamespace {
    const char* uri;
    XmlNamespace space;
};

constexpr KnownNamespace kKnown[] = {
    {"http://schemas.openxmlformats.org/spreadsheetml/2006/main", XmlNamespace::Spreadsheet},
    {"http://purl.oclc.org/ooxml/spreadsheetml/main", XmlNamespace::Spreadsheet},
    {"http://schemas.openxmlformats.org/officeDocument/2006/relationships",
     XmlNamespace::Relationships},
    {"http://purl.oclc.org/ooxml/officeDocument/relationships", XmlNamespace::Relationships},
    {"http://schemas.openxmlformats.org/package/2006/relationships",
     XmlNamespace::PackageRelationships},
    {"http://www.w3.org/XML/1998/namespace", XmlNamespace::Xml},
    {"urn:oasis:names:tc:opendocument:xmlns:office:1.0", XmlNamespace::Office},
    {"urn:oasis:names:tc:opendocument:xmlns:table:1.0", XmlNamespace::Table},
    {"urn:oasis:names:tc:opendocument:xmlns:text:1.0", XmlNamespace::Text},
    {"urn:oasis:names:tc:opendocument:xmlns:style:1.0", XmlNamespace::Style},
    {"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0", XmlNamespace::Number},
    {"urn:oasis:names:tc:opendocument:xmlns:config:1.0", XmlNamespace::Config},
};

}  // namespace

XmlNamespace NamespaceOfUri(QByteArrayView uri) {
    if (uri.isEmpty()) {
        return XmlNamespace::None;  // xmlns="" takes the default namespace away
    }
    for (const KnownNamespace& known : kKnown) {
        if (uri == QByteArrayView(known.uri)) {
            return known.space;
        }
    }
    return XmlNamespace::Other;
}

XmlNamespace NamespaceOfUri(QStringView uri) {
    if (uri.isEmpty()) {
        return XmlNamespace::None;
    }
    for (const KnownNamespace& known : kKnown) {
        if (uri == QLatin1StringView(known.uri)) {
            return known.space;
        }
    }
    return XmlNamespace::Other;
}

}  // namespace zarame::workbook
