#pragma once

#include <zip.h>
#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace zarame::testing {

// The parts of a zip package in the order they are written.
using ZipParts = std::vector<std::pair<QString, QByteArray>>;

enum class ZipCompression { Deflate, Store };

// Writes `parts` as a zip archive at `path`; false when libzip refuses.
inline bool WriteZip(const QString& path, const ZipParts& parts,
                     ZipCompression compression = ZipCompression::Deflate) {
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        return false;
    }
    for (const auto& [name, content] : parts) {
        // The data stay in `parts` until zip_close has written them.
        zip_source_t* source = zip_source_buffer(archive, content.constData(),
                                                 static_cast<zip_uint64_t>(content.size()), 0);
        const zip_int64_t index =
            zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
        zip_set_file_compression(
            archive, static_cast<zip_uint64_t>(index),
            compression == ZipCompression::Store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    return zip_close(archive) == 0;
}

// A one-sheet .xlsx whose worksheet holds `rows` (<row> elements) and whose shared-string table
// holds `items` (<si> elements).
inline ZipParts OneSheetXlsx(const QByteArray& rows, const QByteArray& items = {}) {
    const QByteArray main = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray relationships =
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const QByteArray package =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    return {
        {"_rels/.rels", package + "<Relationship Id=\"b\" Type=\"" + relationships +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/_rels/workbook.xml.rels",
         package + "<Relationship Id=\"s\" Type=\"" + relationships +
             "/worksheet\" Target=\"sheet.xml\"/><Relationship Id=\"t\" Type=\"" + relationships +
             "/sharedStrings\" Target=\"strings.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook " + main + " xmlns:r=\"" + relationships +
                                "\"><sheets><sheet name=\"s\" sheetId=\"1\" r:id=\"s\"/></sheets>"
                                "</workbook>"},
        {"xl/strings.xml", "<sst " + main + ">" + items + "</sst>"},
        {"xl/sheet.xml", "<worksheet " + main + "><sheetData>" + rows + "</sheetData></worksheet>"},
    };
}

}  // namespace zarame::testing
