#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <cstdint>

namespace zarame::workbook {

// The namespaces the readers tell apart. An element or attribute counts only in its own
// namespace: writers put look-alikes of other namespaces into extension lists (an Excel 2010
// book carries an x14:workbookPr beside the main one), and matching by local name alone would
// read them as the real thing.
enum class XmlNamespace : std::uint8_t {
    None,  // no namespace: an unprefixed attribute, or an element outside any default namespace
    Other,
    Xml,                   // the xml: prefix (xml:space)
    Spreadsheet,           // SpreadsheetML main, transitional or strict
    Relationships,         // relationship ids (r:id), transitional or strict
    PackageRelationships,  // the .rels parts
    Office,                // OpenDocument office:
    Table,
    Text,
    Style,
    Number,
    Config,
};

// How deep elements may nest in any part. Real parts stay within a dozen levels; a part nested
// deeper is damage, refused before the reader's stack of open elements grows with it.
inline constexpr int kNestingCap = 256;

XmlNamespace NamespaceOfUri(QByteArrayView uri);
XmlNamespace NamespaceOfUri(QStringView uri);

}  // namespace zarame::workbook
