// libFuzzer target for one workbook format (ZARAME_FUZZ_FORMAT): the input becomes a workbook
// file, which is opened through the connection and read as a walk and a few jumps would read it.
// Every outcome but a RunTimeError or a clean read is a finding.
//
// For the zip formats the input is not the archive itself (mutated archives mostly fail their
// checksums before any XML is read) but the parts that matter, stored in a fresh archive: for
// xlsx "sharedStrings \x00 sheet", for ods "content.xml \x00 settings.xml".

#include <unistd.h>
#include <zip.h>
#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/run_time_error.h"
#include "workbook/spreadsheet.h"
#include "workbook/streaming_sheet.h"

namespace {

const char* const kRelationships =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
const char* const kWorkbookRelationships =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="s" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="t" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>)";
const char* const kWorkbook =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="a" sheetId="1" r:id="s"/></sheets></workbook>)";

std::string Path() {
    return "/dev/shm/zarame-fuzz-" + std::to_string(getpid()) + "." ZARAME_FUZZ_FORMAT;
}

// The contents stay alive here until the archive is written.
std::vector<QByteArray> parts;

void AddPart(zip_t* archive, const char* name, const QByteArray& content) {
    parts.reserve(8);  // the data stay where they are either way; no reallocation at all
    parts.push_back(content);
    zip_source_t* source = zip_source_buffer(archive, parts.back().constData(),
                                             static_cast<zip_uint64_t>(parts.back().size()), 0);
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
}

bool WriteWorkbook(const std::string& path, const QByteArray& input) {
    const std::string format = ZARAME_FUZZ_FORMAT;
    if (format == "xls" || format == "csv") {
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(input.constData(), 1, static_cast<size_t>(input.size()), file);
        std::fclose(file);
        return true;
    }
    const qsizetype split = input.indexOf('\0');
    const QByteArray first = split < 0 ? input : input.left(split);
    const QByteArray second = split < 0 ? QByteArray() : input.mid(split + 1);
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        return false;
    }
    if (format == "xlsx") {
        AddPart(archive, "_rels/.rels", kRelationships);
        AddPart(archive, "xl/_rels/workbook.xml.rels", kWorkbookRelationships);
        AddPart(archive, "xl/workbook.xml", kWorkbook);
        AddPart(archive, "xl/sharedStrings.xml", first);
        AddPart(archive, "xl/worksheets/sheet1.xml", second);
    } else {
        AddPart(archive, "mimetype", "application/vnd.oasis.opendocument.spreadsheet");
        AddPart(archive, "content.xml", first);
        AddPart(archive, "settings.xml", second);
    }
    const bool written = zip_close(archive) == 0;
    parts.clear();
    return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const std::string path = Path();
    if (!WriteWorkbook(
            path, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)))) {
        return 0;
    }
    try {
        auto book = zarame::workbook::LoadWorkbook(QString::fromStdString(path));
        auto& sheet = book->ActiveSheet();
        for (int row = 1; row <= 64; ++row) {
            sheet.CellText(row, 2);
        }
        sheet.CellText(1048576, 2);
        sheet.CellText(3, 1);  // another column, and back up: read again from the top
        sheet.CellText(2, 3);
        sheet.ReadToEnd();
        book->Close();
    } catch (const zarame::RunTimeError&) {
    }
    return 0;
}
