#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

namespace zarame::workbook {

class ZipEntryStream;

// A small pull scanner for the large, machine-written UTF-8 parts of a workbook (worksheets,
// shared strings), several times faster than a general XML reader because it works on the bytes
// and builds no strings it is not asked for. It knows elements, attributes, text, CDATA, the five
// named entities and character references; it skips comments and processing instructions and
// refuses a document type declaration. It does not check that tags pair up: a damaged part gives
// wrong cells or an error, never a crash or a hang. A token larger than the cap raises.
class XmlScanner {
public:
    enum class Token { Start, End, Text, EndOfPart };

    XmlScanner(std::unique_ptr<ZipEntryStream> stream, QByteArray head = {});
    ~XmlScanner();

    Token Next();

    // For Start and End: the element's name without its prefix. Valid until the next call.
    QByteArrayView name() const { return name_; }
    // For Start: whether the element closes itself (<c/>); no End token follows it.
    bool selfClosing() const { return selfClosing_; }
    // For Start: an attribute by local name, entities decoded; empty when absent.
    QByteArray Attribute(QByteArrayView localName) const;
    // For Text: the text, entities decoded, as UTF-8.
    const QByteArray& text() const { return text_; }

    // After a Start: skips to its matching end.
    void SkipElement();
    // After a Start of an element that holds only text or elements of other names: skips to its
    // end tag by searching for it, without reading what lies between.
    void SkipElementText();
    // After a Start: the text of the element and its descendants, as UTF-8.
    QByteArray ElementText();

    const QString& partName() const { return partName_; }

private:
    bool Ensure(qsizetype count);
    qsizetype Find(QByteArrayView needle, qsizetype from);
    void DecodeInto(QByteArrayView raw, QByteArray& out) const;
    [[noreturn]] void Damaged(const char* what) const;

    std::unique_ptr<ZipEntryStream> stream_;
    QString partName_;
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool endOfStream_ = false;
    QByteArrayView name_;
    QByteArray qualifiedName_;  // of the last Start, for SkipElementText
    QByteArrayView attributes_;
    bool selfClosing_ = false;
    QByteArray text_;
};

}  // namespace zarame::workbook
