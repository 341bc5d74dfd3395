/* Writes the benchmark workbook with libxlsxwriter in its default mode, where every string goes
 * to the shared-strings table: 200,000 rows x 20 columns, column B holding 200,000 distinct
 * names. Build: cc make_large_xlsx.c -lxlsxwriter; usage: ./a.out OUT.xlsx */
#include <stdio.h>
#include <xlsxwriter.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    lxw_workbook* workbook = workbook_new(argv[1]);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "names");
    char text[32];
    for (int row = 0; row < 200000; ++row) {
        for (int column = 0; column < 20; ++column) {
            if (column == 1) {
                snprintf(text, sizeof text, "name%06d", row + 1);
            } else {
                snprintf(text, sizeof text, "r%06dc%02d", row + 1, column + 1);
            }
            worksheet_write_string(sheet, row, column, text, NULL);
        }
    }
    return workbook_close(workbook) == LXW_NO_ERROR ? 0 : 1;
}
