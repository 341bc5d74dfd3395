#include "workbook/xml_scanner.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {
namespace {

using Token = XmlScanner::Token;

// Every token as text: <name attr=value> for starts, </name>, and the text itself.
QByteArray Tokens(const QByteArray& xml) {
    XmlScanner scanner(nullptr, xml);
    QByteArray out;
    for (Token token = scanner.Next(); token != Token::EndOfPart; token = scanner.Next()) {
        if (token == Token::Start) {
            out += "<" + scanner.name().toByteArray() + " a=" + scanner.Attribute("a") +
                   (scanner.selfClosing() ? "/>" : ">");
        } else if (token == Token::End) {
            out += "</" + scanner.name().toByteArray() + ">";
        } else {
            out += scanner.text();
        }
    }
    return out;
}

TEST(XmlScanner, EntitiesCdataCommentsAndPrefixes) {
    EXPECT_EQ(Tokens("<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- a > b -->"
                     "<x:c x:a='1&amp;2' b=\"&quot;>\">&lt;&#x6F22;&#23383;<![CDATA[<&>]]>"
                     "<x:v/></x:c>"),
              "<c a=1&2>"
              "<漢字<&>"
              "<v a=/>"
              "</c>");
    EXPECT_EQ(Tokens("<c a = \"x\" />"), "<c a=x/>");
}

TEST(XmlScanner, RefusesWhatItCannotReadSafely) {
    for (const char* xml : {"<!DOCTYPE x [<!ENTITY a \"b\">]><x/>", "<c>&bogus;</c>", "<c>&#0;</c>",
                            "<c a=\"never closed>",
                            "<?xml version=\"1.0\" "
                            "encoding=\"UTF-16\"?><c/>",
                            "\xFF\xFE<\0c\0/\0>\0", "<c><!-- open"}) {
        EXPECT_THROW(Tokens(QByteArray(xml)), RunTimeError) << xml;
    }
}

TEST(XmlScanner, SkipsToTheRightEndTag) {
    XmlScanner scanner(nullptr, "<c r=\"A1\"><col>x</col><v>1</v></c ><c><v>2</v></c>");
    ASSERT_EQ(scanner.Next(), Token::Start);
    scanner.SkipElementText();
    ASSERT_EQ(scanner.Next(), Token::Start);
    EXPECT_EQ(scanner.name(), "c");
    ASSERT_EQ(scanner.Next(), Token::Start);
    EXPECT_EQ(scanner.ElementText(), "2");
}

}  // namespace
}  // namespace zarame::workbook
