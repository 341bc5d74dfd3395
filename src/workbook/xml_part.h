#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>
#include <memory>

#include "workbook/xml_namespace.h"

namespace zarame::workbook {

class ZipEntryStream;

// A streaming reader over one XML part, fed piece by piece as the parse needs it, so a part of
// any size is never held whole. Elements are matched by namespace and local name, so any prefix
// and both the transitional and the strict namespaces read alike. A document type declaration
// (where entity bombs live; no workbook part has one), nesting deeper than the cap, a parse error
// or a truncated part raises a RunTimeError.
class XmlPart {
public:
    explicit XmlPart(std::unique_ptr<ZipEntryStream> stream);
    ~XmlPart();

    // The next token; EndDocument once the part is done (and read to its end, so that its
    // checksum has been checked).
    QXmlStreamReader::TokenType Next();
    // Whether the current element is `localName` of `space`.
    bool Is(XmlNamespace space, QStringView localName) const;
    // Moves to the next start element `localName` of `space` below the current depth; false at
    // the end of the enclosing element (or of the part).
    bool NextStartBelow(int depth, XmlNamespace space, QStringView localName);
    // The text content of the current element, all descendants joined; leaves the reader on its
    // end element.
    QString ElementText();
    // Skips to the end of the current element.
    void SkipElement();
    // Reads the rest of the part without parsing it, so that its checksum is checked.
    void ReadToEnd();

    QXmlStreamReader& reader() { return reader_; }
    // How many elements enclose the current token (the root element is depth 1).
    int depth() const { return depth_; }
    const QString& name() const { return name_; }

private:
    std::unique_ptr<ZipEntryStream> stream_;
    QString name_;
    QXmlStreamReader reader_;
    int depth_ = 0;
    bool pendingEnd_ = false;
};

// An attribute by namespace (None for an unprefixed one) and local name; empty when absent.
QStringView Attribute(const QXmlStreamAttributes& attributes, XmlNamespace space,
                      QStringView localName);

}  // namespace zarame::workbook
