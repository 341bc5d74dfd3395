// Reads column B of large workbooks through the spreadsheet connection, and times a whole run that
// makes one folder per name of column B against the same folders made from a number sequence.
//
//   zarame-workbook-bench read BOOK.xlsx|BOOK.xls
//       opens the book and reads column B from row 1 down to the first blank cell, one call per
//       cell as the walk does; prints "rows seconds". Peak memory: run it under /usr/bin/time -v.
//   zarame-workbook-bench run BOOK.xlsx FOLDER [ROUNDS]
//       alternates a run of the workbook column and a run of numbers 1..rows, each making its
//       folders in a fresh folder under FOLDER (nothing is deleted: see batch_benchmark.cpp for
//       why), and prints the best time of each and their ratio.
//
// bench/workbook/run_workbook_bench.sh makes the books and compares with openpyxl.

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "common/run_time_error.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "run/run_sequence.h"
#include "window/window_model.h"
#include "workbook/spreadsheet.h"
#include "workbook/streaming_sheet.h"

namespace {

using zarame::OptionGroup;
using zarame::TextBox;

class QuietHost final : public zarame::Host {
public:
    void ShowMessage(const QString& text, zarame::MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    void MoveFocus(TextBox) override {}
    void PumpEvents() override {}
};

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int Read(const QString& path) {
    const auto start = std::chrono::steady_clock::now();
    const auto book = zarame::workbook::LoadWorkbook(path);
    long rows = 0;
    std::size_t characters = 0;
    // A legacy sheet ends at row 65,536, where asking further raises.
    const long lastRow = path.endsWith(u".xls", Qt::CaseInsensitive) ? 65536 : 1048576;
    for (long row = 1; row <= lastRow; ++row) {
        const QString text = book->ActiveSheet().CellText(row, 2);
        if (text.isEmpty()) {
            break;
        }
        characters += static_cast<std::size_t>(text.size());
        rows = row;
    }
    book->Close();
    std::printf("%ld %.3f\n", rows, Seconds(start));
    return characters > 0 ? 0 : 1;
}

// One whole run into a fresh folder; returns its seconds.
double TimedRun(bool fromWorkbook, const QString& book, const QString& folder, long rows) {
    zarame::WindowModel model;
    QuietHost host;
    model.select(OptionGroup::optType, fromWorkbook ? 0 : 2);
    model.select(OptionGroup::optSpec, 2);
    model.setText(TextBox::txtFolder, folder);
    model.setText(TextBox::txtExcel, book);
    model.setText(TextBox::txtStartCell, "B1");
    model.setText(TextBox::txtBlank, "1");
    model.setText(TextBox::txtFix, "name");
    model.setText(TextBox::txtMin, "1");
    model.setText(TextBox::txtMax, QString::number(rows));
    model.setText(TextBox::txtSize, "6");
    model.setText(TextBox::txtExt, "");
    zarame::WindowLog log(model);
    zarame::RunSequence run(model, host, log, folder + "/../template-" + QString::number(getpid()));
    ::sync();
    const auto start = std::chrono::steady_clock::now();
    const zarame::RunOutcome outcome = run.cmdCreate_Click();
    const double seconds = Seconds(start);
    if (outcome != zarame::RunOutcome::Completed || QDir(folder).count() != rows + 2) {
        std::fprintf(stderr, "run did not complete: %s\n",
                     qPrintable(model.logLines().value(model.logLines().size() - 1)));
        std::exit(1);
    }
    return seconds;
}

int Compare(const QString& book, const QString& base, int rounds) {
    const long rows = 200000;
    double bestWorkbook = 1e9;
    double bestNumbers = 1e9;
    for (int round = 0; round < rounds; ++round) {
        for (bool fromWorkbook : {round % 2 == 0, round % 2 != 0}) {
            const QString folder = QStringLiteral("%1/%2-%3-%4")
                                       .arg(base, fromWorkbook ? "book" : "numbers")
                                       .arg(getpid())
                                       .arg(round);
            QDir().mkpath(folder);
            const double seconds = TimedRun(fromWorkbook, book, folder, rows);
            std::printf("%s %.3f\n", fromWorkbook ? "workbook" : "numbers", seconds);
            std::fflush(stdout);
            (fromWorkbook ? bestWorkbook : bestNumbers) =
                std::min(fromWorkbook ? bestWorkbook : bestNumbers, seconds);
        }
    }
    std::printf("best workbook %.3f numbers %.3f ratio %.2f\n", bestWorkbook, bestNumbers,
                bestWorkbook / bestNumbers);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    try {
        if (argc == 3 && std::string(argv[1]) == "read") {
            return Read(QString::fromLocal8Bit(argv[2]));
        }
        if (argc >= 4 && std::string(argv[1]) == "run") {
            return Compare(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                           argc > 4 ? std::atoi(argv[4]) : 2);
        }
    } catch (const zarame::RunTimeError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 1;
    }
    std::fprintf(stderr, "usage: zarame-workbook-bench read BOOK | run BOOK FOLDER [ROUNDS]\n");
    return 2;
}
