#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

#include "workbook/xml_namespace.h"

namespace zarame::workbook {

class ZipEntryStream;

// A small pull scanner for the large, machine-written UTF-8 parts of a workbook (worksheets,
// shared strings), several times faster than a general XML reader because it works on the bytes
// and builds no strings it is not asked for. It knows elements, attributes, text, CDATA, the five
// named entities, character references and namespace declarations in scope; it skips comments
// and processing instructions and refuses a document type declaration. It counts open elements
// but does not check that end tags name their start tags: a damaged part gives wrong cells or an
// error, never a crash or a hang. A token larger than the cap, or nesting deeper than the cap,
// raises.
class XmlScanner {
public:
    enum class Token { Start, End, Text, EndOfPart };

    XmlScanner(std::unique_ptr<ZipEntryStream> stream, QByteArray head = {});
    ~XmlScanner();

    Token Next();

    // For Start and End: the element's name without its prefix, and its namespace. Valid until
    // the next call.
    QByteArrayView name() const { return name_; }
    XmlNamespace space() const { return space_; }
    // How many elements enclose the current token, a Start's or End's own element included (the
    // root is at depth 1).
    int depth() const { return depth_; }
    bool Is(XmlNamespace space, QByteArrayView localName) const {
        return space_ == space && name_ == localName;
    }
    // For Start: whether the element closes itself (<c/>); no End token follows it.
    bool selfClosing() const { return selfClosing_; }
    // For Start: an attribute without a prefix, entities decoded; empty when absent.
    QByteArray Attribute(QByteArrayView localName) const;
    // The same without a copy where the value holds no reference (decoded into `storage` where
    // it does); valid until the next call.
    QByteArrayView AttributeView(QByteArrayView localName, QByteArray& storage) const;
    // For Start: an attribute whose prefix stands for `space` (xml:space, r:id).
    QByteArray Attribute(XmlNamespace space, QByteArrayView localName) const;
    // For Text: the text, entities decoded, as UTF-8.
    const QByteArray& text() const { return text_; }

    // After a Start: skips to its matching end.
    void SkipElement();
    // After a Start: skips to its end tag by searching for it, without reading what lies between
    // (unless that holds what a search cannot step over: the same name nested, a comment, CDATA).
    void SkipElementText();
    // After a Start: the text of the element and its descendants, as UTF-8.
    QByteArray ElementText();
    // Reads the rest of the part without scanning it, so that the archive checks its checksum.
    void ReadToEnd();

    const QString& partName() const { return partName_; }

private:
    bool Ensure(qsizetype count);
    qsizetype Find(QByteArrayView needle, qsizetype from);
    void DecodeInto(QByteArrayView raw, QByteArray& out) const;
    [[noreturn]] void Damaged(const char* what) const;
    QByteArrayView FindAttribute(XmlNamespace space, QByteArrayView localName) const;
    void StartElement(QByteArrayView qualifiedName);
    void EndElement(QByteArrayView qualifiedName);
    void CloseElement();
    void Declare(QByteArrayView prefix, QByteArrayView uri);
    XmlNamespace Resolve(QByteArrayView prefix) const;

    // A namespace declaration and the element it was made on.
    struct Binding {
        QByteArray prefix;  // empty for the default namespace
        XmlNamespace space;
        int depth;
    };

    std::unique_ptr<ZipEntryStream> stream_;
    QString partName_;
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool endOfStream_ = false;
    QByteArrayView name_;
    QByteArray endTag_;  // "</" and the qualified name of the last Start, for SkipElementText
    QByteArrayView attributes_;
    bool selfClosing_ = false;
    QByteArray text_;
    XmlNamespace space_ = XmlNamespace::None;
    int depth_ = 0;                  // open elements, the one just started or ended included
    bool closePending_ = false;      // the last token closed the element at depth_
    std::vector<Binding> bindings_;  // innermost last
};

}  // namespace zarame::workbook
