#include "workbook/xml_scanner.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {
namespace {

using Token = XmlScanner::Token;

const char* SpaceMark(XmlNamespace space) {
    switch (space) {
        case XmlNamespace::None:
            return "";
        case XmlNamespace::Spreadsheet:
            return "s:";
        case XmlNamespace::Relationships:
            return "r:";
        case XmlNamespace::Xml:
            return "xml:";
        default:
            return "?:";
    }
}

// Every token as text: <space:name a=value> for starts (a is unprefixed, r:id and xml:space
// follow when present), </space:name>, and the text itself.
QByteArray Tokens(const QByteArray& xml) {
    XmlScanner scanner(nullptr, xml);
    QByteArray out;
    for (Token token = scanner.Next(); token != Token::EndOfPart; token = scanner.Next()) {
        const QByteArray name = SpaceMark(scanner.space()) + scanner.name().toByteArray();
        if (token == Token::Start) {
            out += "<" + name + " a=" + scanner.Attribute("a");
            const QByteArray id = scanner.Attribute(XmlNamespace::Relationships, "id");
            const QByteArray space = scanner.Attribute(XmlNamespace::Xml, "space");
            out += id.isEmpty() ? "" : " r:id=" + id;
            out += space.isEmpty() ? "" : " xml:space=" + space;
            out += scanner.selfClosing() ? "/>" : ">";
        } else if (token == Token::End) {
            out += "</" + name + ">";
        } else {
            out += scanner.text();
        }
    }
    return out;
}

#define MAIN "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
#define STRICT "http://purl.oclc.org/ooxml/spreadsheetml/main"

TEST(XmlScanner, EntitiesCdataCommentsAndNamespacesInScope) {
    for (const auto& [xml, tokens] : std::initializer_list<std::pair<const char*, const char*>>{
             {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- a > b -->"
              "<c a='1&amp;2' b=\"&quot;>\">&lt;&#x6F22;&#23383;<![CDATA[<&>]]><v/></c>",
              "<c a=1&2><漢字<&><v a=/></c>"},
             // A default namespace holds for the element and below; a prefix only where used.
             {"<w xmlns='" MAIN "' xmlns:x='" STRICT "'><c/><x:c/></w><c/>",
              "<s:w a=><s:c a=/><s:c a=/></s:w><c a=/>"},
             // Declarations nearer in scope win, end with their element, and xmlns='' undoes.
             {"<x:w xmlns:x='" MAIN "'><x:a xmlns:x='urn:other'><x:b/></x:a><x:c xmlns=''><d/>"
              "</x:c></x:w>",
              "<s:w a=><?:a a=><?:b a=/></?:a><s:c a=><d a=/></s:c></s:w>"},
             // A self-closing element's own declarations hold for it and its attributes only.
             {"<w><s:c xmlns:s='" MAIN "' xmlns:r='http://purl.oclc.org/ooxml/officeDocument/"
              "relationships' r:id='7' s:a='no' a='yes'/><s:c/></w>",
              "<w a=><s:c a=yes r:id=7/><?:c a=/></w>"},
             // Prefixed attributes are not plain ones; xml: needs no declaration.
             {"<t xml:space='preserve' o:a='1' xmlns:o='urn:o'/>", "<t a= xml:space=preserve/>"},
         }) {
        EXPECT_EQ(Tokens(xml), tokens) << xml;
    }
}

TEST(XmlScanner, RefusesWhatItCannotReadSafely) {
    for (const char* xml :
         {"<!DOCTYPE x [<!ENTITY a \"b\">]><x/>", "<c>&bogus;</c>", "<c>&#0;</c>",
          "<c a=\"never closed>",
          "<?xml version=\"1.0\" "
          "encoding=\"UTF-16\"?><c/>",
          "\xFF\xFE<\0c\0/\0>\0", "<c><!-- open", "<a/></a>", "<a xmlns:x='urn:x'></a></x:a>"}) {
        EXPECT_THROW(Tokens(QByteArray(xml)), RunTimeError) << xml;
    }
}

TEST(XmlScanner, NestingUpToTheCap) {
    const auto nested = [](int depth) {
        return QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
    };
    EXPECT_NO_THROW(Tokens(nested(kNestingCap)));
    EXPECT_THROW(Tokens(nested(kNestingCap + 1)), RunTimeError);
    // Siblings do not add up.
    EXPECT_NO_THROW(Tokens("<r>" + QByteArray("<a></a><b/>").repeated(1000) + "</r>"));
}

TEST(XmlScanner, SkipsToTheRightEndTagAndLeavesItsDeclarationsBehind) {
    XmlScanner scanner(nullptr, "<w xmlns='" MAIN
                                "'><c r=\"A1\" xmlns='urn:o'><col>x</col><v>1</v></c >"
                                "<c><v>2</v></c></w>");
    ASSERT_EQ(scanner.Next(), Token::Start);
    ASSERT_EQ(scanner.Next(), Token::Start);
    EXPECT_EQ(scanner.space(), XmlNamespace::Other);
    scanner.SkipElementText();
    ASSERT_EQ(scanner.Next(), Token::Start);
    EXPECT_TRUE(scanner.Is(XmlNamespace::Spreadsheet, "c"));
    EXPECT_EQ(scanner.depth(), 2);
    ASSERT_EQ(scanner.Next(), Token::Start);
    EXPECT_EQ(scanner.ElementText(), "2");
}

}  // namespace
}  // namespace zarame::workbook
