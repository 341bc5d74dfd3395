// The built-in number formats a workbook may name by ID alone, as a ja-JP system shows them.
#include "numformat/cell_format.h"

namespace zarame::numformat {
namespace {

struct BuiltIn {
    int id;
    const char16_t* code;
};

constexpr BuiltIn kBuiltIns[] = {
    {0, u"General"},
    {1, u"0"},
    {2, u"0.00"},
    {3, u"#,##0"},
    {4, u"#,##0.00"},
    {5, u"\"¥\"#,##0;\"¥\"\\-#,##0"},
    {6, u"\"¥\"#,##0;[Red]\"¥\"\\-#,##0"},
    {7, u"\"¥\"#,##0.00;\"¥\"\\-#,##0.00"},
    {8, u"\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00"},
    {9, u"0%"},
    {10, u"0.00%"},
    {11, u"0.00E+00"},
    {12, u"# ?/?"},
    {13, u"# ?\?/??"},
    {14, u"yyyy/m/d"},
    {15, u"d-mmm-yy"},
    {16, u"d-mmm"},
    {17, u"mmm-yy"},
    {18, u"h:mm AM/PM"},
    {19, u"h:mm:ss AM/PM"},
    {20, u"h:mm"},
    {21, u"h:mm:ss"},
    {22, u"yyyy/m/d h:mm"},
    {27, u"[$-411]ge.m.d"},
    {28, u"[$-411]ggge\"年\"m\"月\"d\"日\""},
    {29, u"[$-411]ggge\"年\"m\"月\"d\"日\""},
    {30, u"m/d/yy"},
    {31, u"yyyy\"年\"m\"月\"d\"日\""},
    {32, u"h\"時\"mm\"分\""},
    {33, u"h\"時\"mm\"分\"ss\"秒\""},
    {34, u"yyyy\"年\"m\"月\""},
    {35, u"m\"月\"d\"日\""},
    {36, u"[$-411]ge.m.d"},
    {37, u"#,##0;-#,##0"},
    {38, u"#,##0;[Red]-#,##0"},
    {39, u"#,##0.00;-#,##0.00"},
    {40, u"#,##0.00;[Red]-#,##0.00"},
    {41, u"_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ "},
    {42, u"_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ "},
    {43, u"_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"??_ ;_ @_ "},
    {44, u"_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"??_ ;_ @_ "},
    {45, u"mm:ss"},
    {46, u"[h]:mm:ss"},
    {47, u"mm:ss.0"},
    {48, u"##0.0E+0"},
    {49, u"@"},
    {50, u"[$-411]ge.m.d"},
    {51, u"[$-411]ggge\"年\"m\"月\"d\"日\""},
    {52, u"yyyy\"年\"m\"月\""},
    {53, u"m\"月\"d\"日\""},
    {54, u"[$-411]ggge\"年\"m\"月\"d\"日\""},
    {55, u"yyyy\"年\"m\"月\""},
    {56, u"m\"月\"d\"日\""},
    {57, u"[$-411]ge.m.d"},
    {58, u"[$-411]ggge\"年\"m\"月\"d\"日\""},
};

}  // namespace

QString BuiltInFormatCode(int formatId) {
    for (const BuiltIn& builtIn : kBuiltIns) {
        if (builtIn.id == formatId) {
            return QString::fromUtf16(builtIn.code);
        }
    }
    return {};
}

}  // namespace zarame::numformat
