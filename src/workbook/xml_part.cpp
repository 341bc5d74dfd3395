#include "workbook/xml_part.h"

#include "workbook/read_stop.h"
#include "workbook/workbook_error.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {

XmlPart::XmlPart(std::unique_ptr<ZipEntryStream> stream)
    : stream_(std::move(stream)), name_(stream_->name()) {}

XmlPart::~XmlPart() = default;

namespace {

// What one token (a text run, a tag with its attributes) may take before the reader gives up on
// the part: the stream reader keeps a token whole until it is complete.
constexpr qsizetype kTokenCap = 64 * 1024 * 1024;
// Far more than any spreadsheet cell holds; longer text is cut here rather than held.
constexpr qsizetype kTextCap = 1024 * 1024;

}  // namespace

QXmlStreamReader::TokenType XmlPart::Next() {
    if (pendingEnd_) {
        pendingEnd_ = false;
        --depth_;
    }
    qsizetype fed = 0;
    PollStop();  // a part held whole is parsed without reading, so the parse itself asks
    while (true) {
        const QXmlStreamReader::TokenType token = reader_.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError && stream_) {
                const QByteArray piece = stream_->Read();
                fed += piece.size();
                if (fed > kTokenCap) {
                    throw DamagedWorkbook(name_ + QStringLiteral(": 要素が大きすぎます"));
                }
                if (!piece.isEmpty()) {
                    reader_.addData(piece);
                    continue;
                }
                stream_.reset();
            }
            throw DamagedWorkbook(name_ + QStringLiteral(": ") + reader_.errorString());
        }
        if (token == QXmlStreamReader::DTD) {
            throw DamagedWorkbook(name_ + QStringLiteral(": 文書型定義"));
        }
        if (token == QXmlStreamReader::StartElement && ++depth_ > kNestingCap) {
            throw DamagedWorkbook(name_ + QStringLiteral(": 入れ子が深すぎます"));
        } else if (token == QXmlStreamReader::EndElement) {
            pendingEnd_ = true;  // the end element still belongs to its depth
        } else if (token == QXmlStreamReader::EndDocument) {
            ReadToEnd();
        }
        return token;
    }
}

bool XmlPart::Is(XmlNamespace space, QStringView localName) const {
    return reader_.name() == localName && NamespaceOfUri(reader_.namespaceUri()) == space;
}

void XmlPart::ReadToEnd() {
    if (stream_) {
        stream_->ReadToEnd();
        stream_.reset();
    }
}

bool XmlPart::NextStartBelow(int depth, XmlNamespace space, QStringView localName) {
    while (true) {
        const QXmlStreamReader::TokenType token = Next();
        if (token == QXmlStreamReader::EndDocument) {
            return false;
        }
        if (token == QXmlStreamReader::EndElement && depth_ <= depth) {
            return false;
        }
        if (token == QXmlStreamReader::StartElement && Is(space, localName)) {
            return true;
        }
    }
}

QString XmlPart::ElementText() {
    const int depth = depth_;
    QString text;
    while (true) {
        const QXmlStreamReader::TokenType token = Next();
        if (token == QXmlStreamReader::Characters && text.size() < kTextCap) {
            text += reader_.text().left(kTextCap - text.size());
        } else if ((token == QXmlStreamReader::EndElement && depth_ == depth) ||
                   token == QXmlStreamReader::EndDocument) {
            return text;
        }
    }
}

void XmlPart::SkipElement() {
    const int depth = depth_;
    while (true) {
        const QXmlStreamReader::TokenType token = Next();
        if ((token == QXmlStreamReader::EndElement && depth_ == depth) ||
            token == QXmlStreamReader::EndDocument) {
            return;
        }
    }
}

QStringView Attribute(const QXmlStreamAttributes& attributes, XmlNamespace space,
                      QStringView localName) {
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() == localName && NamespaceOfUri(attribute.namespaceUri()) == space) {
            return attribute.value();
        }
    }
    return {};
}

}  // namespace zarame::workbook
