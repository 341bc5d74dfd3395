#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>
#include <memory>

namespace zarame::workbook {

class ZipEntryStream;

// A streaming reader over one XML part, fed piece by piece as the parse needs it, so a part of
// any size is never held whole. Elements are matched by local name, so any prefix and both the
// transitional and the strict namespaces read alike. A document type declaration (where entity
// bombs live; no workbook part has one), a parse error or a truncated part raises a RunTimeError.
class XmlPart {
public:
    explicit XmlPart(std::unique_ptr<ZipEntryStream> stream);
    XmlPart(QByteArray whole, QString name);
    ~XmlPart();

    // The next token; EndDocument once the part is done.
    QXmlStreamReader::TokenType Next();
    // Moves to the next start element named `name` below the current depth; false at the end of
    // the enclosing element (or of the part).
    bool NextStartBelow(int depth, QStringView name);
    // The text content of the current element, all descendants joined; leaves the reader on its
    // end element.
    QString ElementText();
    // Skips to the end of the current element.
    void SkipElement();

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

// An attribute by local name, whatever its prefix; empty when absent.
QStringView Attribute(const QXmlStreamAttributes& attributes, QStringView localName);
// The same, only among attributes that carry a namespace (r:id beside a plain id).
QStringView NamespacedAttribute(const QXmlStreamAttributes& attributes, QStringView localName);

}  // namespace zarame::workbook
