#!/usr/bin/python3
"""Draws the spreadsheet templates of FORM_EXCEL.

Usage: make_forms.py OUTPUT_DIR NAME.xlsx...

Each template is one function below; the program fills the cells its report
names and keeps everything else of the template.
"""

import datetime
import os
import sys

from openpyxl import Workbook
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side

THIN = Side(style="thin", color="FF000000")
BOX = Border(left=THIN, right=THIN, top=THIN, bottom=THIN)
HEADING_FILL = PatternFill("solid", fgColor="FFE3F2F2")
FIXED_TIME = datetime.datetime(2024, 1, 1)


def new_book():
    book = Workbook()
    book.properties.creator = "TEVO"
    book.properties.created = FIXED_TIME
    book.properties.modified = FIXED_TIME
    return book


def test_form(path):
    """A header, a line area of three rows and a total row; a second sheet
    refers to the total. Used by the tests of the report mechanism."""
    book = new_book()
    sheet = book.active
    sheet.title = "Отчёт"
    sheet["A1"] = "Тестовый отчёт"
    sheet["A1"].font = Font(name="Calibri", size=14, bold=True)
    sheet.merge_cells("A1:E1")
    sheet["A2"] = "Дата:"
    sheet["B2"].number_format = "DD.MM.YYYY"

    headings = ["№", "Наименование", "Кол-во", "Цена", "Сумма"]
    for col, text in enumerate(headings, start=1):
        cell = sheet.cell(row=3, column=col, value=text)
        cell.font = Font(name="Calibri", size=10, bold=True)
        cell.fill = HEADING_FILL
        cell.border = BOX
        cell.alignment = Alignment(horizontal="center", wrap_text=True)

    for row in range(4, 7):
        for col in range(1, 6):
            cell = sheet.cell(row=row, column=col)
            cell.font = Font(name="Calibri", size=10)
            cell.border = BOX
            if col >= 3:
                cell.number_format = "#,##0.00"
        sheet.cell(row=row, column=5, value=f"=C{row}*D{row}")

    sheet["A7"] = "Итого"
    sheet["A7"].font = Font(name="Calibri", size=10, bold=True)
    sheet.merge_cells("A7:D7")
    sheet["E7"] = "=SUM(E4:E6)"
    sheet["E7"].font = Font(name="Calibri", size=10, bold=True)
    sheet["E7"].number_format = "#,##0.00"
    sheet["A9"] = "Подпись ____________"

    for letter, width in zip("ABCDE", [5, 40, 10, 12, 14]):
        sheet.column_dimensions[letter].width = width
    sheet.print_area = "A1:E9"

    totals = book.create_sheet("Итоги")
    totals["A1"] = "Всего"
    totals["B1"] = "='Отчёт'!E7"
    book.save(path)


FORMS = {
    "test.xlsx": test_form,
}


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name in sys.argv[2:]:
        if name not in FORMS:
            sys.exit(f"no template is drawn under the name {name}")
        FORMS[name](os.path.join(out_dir, name))


if __name__ == "__main__":
    main()
