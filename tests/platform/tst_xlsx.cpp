#include "platform/xlsx.h"
#include "platform/xlsx_refs.h"
#include "sheet_reader.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TstXlsx : public QObject
{
    Q_OBJECT

private slots:
    void columnLetters_data();
    void columnLetters();
    void rangeParse_data();
    void rangeParse();
    void bgrToRgb_data();
    void bgrToRgb();
    void shiftFormula_data();
    void shiftFormula();
    void translateFormula_data();
    void translateFormula();

    void values_data();
    void values();
    void readsForeignWorkbook();
    void dropsSavedResults();
    void fonts();
    void borders();
    void columns();
    void deleteRows();
    void insertRows();
    void copyRows();
    void gridLinesAndPicture();
    void keepsUntouchedParts();
    void errors_data();
    void errors();
};

namespace {

QString templatePath()
{
    return QDir(QStringLiteral(TEVO_FORMS_DIR)).filePath(QStringLiteral("test.xlsx"));
}

// A copy of the test template in dir, to be changed by the test.
QString templateCopy(const QTemporaryDir &dir, const QString &name = QStringLiteral("copy.xlsx"))
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    if (!QFile::copy(templatePath(), path))
        qFatal("cannot copy the test template from %s", qPrintable(templatePath()));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

QStringList strings(const QJsonValue &value)
{
    QStringList out;
    for (const QJsonValue &v : value.toArray())
        out << v.toString();
    return out;
}

// The first sheet's formulas, merged ranges, print area and the second
// sheet's reference to the total, as the independent reader sees them.
const char *const kStructure = R"(
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
cells = {}
for row in ws.iter_rows():
    for c in row:
        if c.value is not None:
            cells[c.coordinate] = c.value
out({"cells": cells,
     "merged": sorted(str(r) for r in ws.merged_cells.ranges),
     "printArea": ws.print_area, # the defined name's blocks of this sheet
     "total": wb.worksheets[1]["B1"].value,
     "fullCalc": bool(wb.calculation.fullCalcOnLoad),
     "bold": {c.coordinate: bool(c.font.b) for row in ws.iter_rows(max_col=5) for c in row if c.font.b},
     "boxed": sorted(c.coordinate for row in ws.iter_rows(max_col=5) for c in row if c.border.top.style == "thin")})
)";

struct ValueCase
{
    const char *name;
    int row;
    int col;
    QVariant value;
    const char *pyType; // type of the value openpyxl reads
    QString pyText;     // str() of that value
    QVariant readBack;  // what our reader gives after reopening
};

QList<ValueCase> valueCases()
{
    const QString breakText = QStringLiteral("Первая строка\nвторая строка");
    return {
        {"cyrillic text", 11, 1, QStringLiteral("Ёлка «зелёная» №5"), "str",
         QStringLiteral("Ёлка «зелёная» №5"), QStringLiteral("Ёлка «зелёная» №5")},
        {"line break", 11, 2, breakText, "str", breakText, breakText},
        {"leading and trailing blanks", 11, 3, QStringLiteral("  отступ  "), "str",
         QStringLiteral("  отступ  "), QStringLiteral("  отступ  ")},
        {"xml specials", 11, 4, QStringLiteral("<a & b> \"q\""), "str", QStringLiteral("<a & b> \"q\""),
         QStringLiteral("<a & b> \"q\"")},
        {"whole number", 12, 1, 42, "int", QStringLiteral("42"), 42.0},
        {"negative fraction", 12, 2, -1234.5678, "float", QStringLiteral("-1234.5678"), -1234.5678},
        {"large number", 12, 3, 123456789012.25, "float", QStringLiteral("123456789012.25"), 123456789012.25},
        {"date", 12, 4, QDate(2024, 2, 29), "datetime", QStringLiteral("2024-02-29 00:00:00"),
         QDate(2024, 2, 29)},
        {"date into a date cell of the template", 2, 2, QDate(1999, 12, 31), "datetime",
         QStringLiteral("1999-12-31 00:00:00"), QDate(1999, 12, 31)},
        {"empty clears template text", 1, 1, QVariant(), "NoneType", QStringLiteral("None"), QVariant()},
        {"text over template text", 3, 2, QStringLiteral("Товар"), "str", QStringLiteral("Товар"),
         QStringLiteral("Товар")},
        {"number into the line area", 4, 3, 2.5, "float", QStringLiteral("2.5"), 2.5},
    };
}

struct ValueResults
{
    QJsonObject independent;
    QMap<QString, QVariant> ours;
    QMap<QString, bool> wrap;
};

// Every case written into one workbook and read back once by each reader.
const ValueResults &valueResults()
{
    static const ValueResults results = [] {
        QTemporaryDir dir;
        const QString path = templateCopy(dir);
        ValueResults r;
        {
            XlsxBook book(path);
            for (const ValueCase &c : valueCases())
                book.sheet(1).setValue(c.row, c.col, c.value);
            book.save();
        }
        XlsxBook again(path);
        for (const ValueCase &c : valueCases())
            r.ours[QString::fromLatin1(c.name)] = again.sheet(1).value(c.row, c.col);
        r.independent = sheet_reader::run(QStringLiteral(R"(
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
res = {}
for row in ws.iter_rows(max_row=12, max_col=5):
    for c in row:
        res[c.coordinate] = [type(c.value).__name__, str(c.value), bool(c.alignment.wrap_text)]
out(res)
)"),
                                          {path})
                            .toObject();
        return r;
    }();
    return results;
}

} // namespace

void TstXlsx::columnLetters_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("letters");
    QTest::newRow("first") << 1 << QStringLiteral("A");
    QTest::newRow("last single") << 26 << QStringLiteral("Z");
    QTest::newRow("first double") << 27 << QStringLiteral("AA");
    QTest::newRow("AZ") << 52 << QStringLiteral("AZ");
    QTest::newRow("last of a sheet") << 16384 << QStringLiteral("XFD");
}

void TstXlsx::columnLetters()
{
    QFETCH(int, col);
    QFETCH(QString, letters);
    QCOMPARE(xlsx::columnLetters(col), letters);
    QCOMPARE(xlsx::columnNumber(letters), col);
    QCOMPARE(xlsx::columnNumber(letters.toLower()), col);
}

void TstXlsx::rangeParse_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QList<int>>("rowsAndCols");
    QTest::newRow("cell") << QStringLiteral("B5") << true << QList<int>{5, 2, 5, 2};
    QTest::newRow("block") << QStringLiteral("A1:H10") << true << QList<int>{1, 1, 10, 8};
    QTest::newRow("absolute") << QStringLiteral("$C$3:$D$4") << true << QList<int>{3, 3, 4, 4};
    QTest::newRow("reversed corners") << QStringLiteral("D4:B2") << true << QList<int>{2, 2, 4, 4};
    QTest::newRow("no row") << QStringLiteral("B") << false << QList<int>{};
    QTest::newRow("row zero") << QStringLiteral("A0") << false << QList<int>{};
    QTest::newRow("beyond the last column") << QStringLiteral("XFE1") << false << QList<int>{};
    QTest::newRow("text") << QStringLiteral("Итого") << false << QList<int>{};
}

void TstXlsx::rangeParse()
{
    QFETCH(QString, address);
    QFETCH(bool, valid);
    QFETCH(QList<int>, rowsAndCols);
    try {
        const XlsxRange r = XlsxRange::parse(address);
        QVERIFY(valid);
        QCOMPARE((QList<int>{r.firstRow, r.firstCol, r.lastRow, r.lastCol}), rowsAndCols);
    } catch (const XlsxError &e) {
        QVERIFY2(!valid, qPrintable(e.message()));
        QVERIFY(e.message().contains(address));
    }
}

void TstXlsx::bgrToRgb_data()
{
    QTest::addColumn<uint>("bgr");
    QTest::addColumn<uint>("rgb");
    QTest::newRow("grid background") << 15921891u << 0xE3F2F2u;
    QTest::newRow("selected rows") << 16444064u << 0xA0EAFAu;
    QTest::newRow("pure red") << 0x0000FFu << 0xFF0000u;
    QTest::newRow("pure blue") << 0xFF0000u << 0x0000FFu;
    QTest::newRow("green stays") << 0x00FF00u << 0x00FF00u;
}

void TstXlsx::bgrToRgb()
{
    QFETCH(uint, bgr);
    QFETCH(uint, rgb);
    QCOMPARE(xlsx::bgrToRgb(bgr), rgb);
}

void TstXlsx::shiftFormula_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("sameSheet");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shifted");
    QTest::newRow("insert below a cell") << "C5*D5" << true << 5 << 2 << "C7*D7";
    QTest::newRow("insert after a cell") << "C4*D4" << true << 5 << 2 << "C4*D4";
    QTest::newRow("insert inside a range") << "SUM(E4:E6)" << true << 5 << 2 << "SUM(E4:E8)";
    QTest::newRow("absolute moves too") << "$E$7+E$8" << true << 5 << 1 << "$E$8+E$9";
    QTest::newRow("delete below") << "SUM(E4:E6)+E9" << true << 7 << -1 << "SUM(E4:E6)+E8";
    QTest::newRow("delete inside a range") << "SUM(E4:E10)" << true << 6 << -3 << "SUM(E4:E7)";
    QTest::newRow("delete the range's top") << "SUM(E4:E10)" << true << 3 << -3 << "SUM(E3:E7)";
    QTest::newRow("delete the whole range") << "SUM(E4:E6)" << true << 4 << -3 << "SUM(#REF!)";
    QTest::newRow("delete a cell referred to") << "A5+1" << true << 5 << -1 << "#REF!+1";
    QTest::newRow("other sheet named") << "'Отчёт'!E7*2" << false << 5 << 1 << "'Отчёт'!E8*2";
    QTest::newRow("unquoted sheet name") << "Отчёт!E7" << false << 5 << 1 << "Отчёт!E8";
    QTest::newRow("another sheet is not moved") << "Итоги!E7+E7" << true << 5 << 1 << "Итоги!E7+E8";
    QTest::newRow("unqualified from another sheet") << "E7" << false << 5 << 1 << "E7";
    QTest::newRow("text in quotes") << "\"A5\"&A5" << true << 5 << 1 << "\"A5\"&A6";
    QTest::newRow("function names are not cells")
        << "LOG10(A5)+ATAN2(B6,1)" << true << 5 << 1 << "LOG10(A6)+ATAN2(B7,1)";
    QTest::newRow("whole columns stay") << "SUM(E:E)" << true << 1 << 3 << "SUM(E:E)";
    QTest::newRow("whole rows move") << "SUM(5:7)" << true << 6 << 2 << "SUM(5:9)";
    QTest::newRow("numbers stay") << "A5*1.5+2E+3" << true << 1 << 1 << "A6*1.5+2E+3";
    QTest::newRow("lower-case reference") << "sum(a5)" << true << 5 << 1 << "sum(A6)";
}

void TstXlsx::shiftFormula()
{
    QFETCH(QString, formula);
    QFETCH(bool, sameSheet);
    QFETCH(int, at);
    QFETCH(int, count);
    QFETCH(QString, shifted);
    const std::string result = xlsx::shiftFormulaRows(
        formula.toStdString(), QStringLiteral("Отчёт").toStdString(), sameSheet, at, count);
    QCOMPARE(QString::fromStdString(result), shifted);
}

void TstXlsx::translateFormula_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QString>("translated");
    QTest::newRow("relative down") << "C4*D4" << 9 << 0 << "C13*D13";
    QTest::newRow("absolute stays") << "$C$4*D$4+$D4" << 9 << 1 << "$C$4*E$4+$D13";
    QTest::newRow("range") << "SUM(E4:E6)" << 10 << 0 << "SUM(E14:E16)";
    QTest::newRow("off the sheet") << "A2" << -2 << 0 << "#REF!";
}

void TstXlsx::translateFormula()
{
    QFETCH(QString, formula);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QString, translated);
    QCOMPARE(QString::fromStdString(xlsx::translateFormula(formula.toStdString(), rows, cols)), translated);
}

void TstXlsx::values_data()
{
    QTest::addColumn<int>("index");
    const QList<ValueCase> cases = valueCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name) << i;
}

void TstXlsx::values()
{
    QFETCH(int, index);
    const ValueCase c = valueCases().at(index);
    const ValueResults &r = valueResults();
    const QJsonArray seen = r.independent.value(xlsx::cellAddress(c.row, c.col)).toArray();
    QCOMPARE(seen.at(0).toString(), QString::fromLatin1(c.pyType));
    QCOMPARE(seen.at(1).toString(), c.pyText);
    if (c.value.typeId() == QMetaType::QString)
        QCOMPARE(seen.at(2).toBool(), c.value.toString().contains(QLatin1Char('\n')) || c.row == 3);
    QCOMPARE(r.ours.value(QString::fromLatin1(c.name)), c.readBack);
}

void TstXlsx::readsForeignWorkbook()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("foreign.xlsx"));
    sheet_reader::run(QStringLiteral(R"(
import datetime
wb = openpyxl.Workbook()
ws = wb.active
ws["A1"] = "Наименование"
ws["B1"] = 12.75
ws["C1"] = datetime.date(2023, 3, 8)
ws["D1"] = "=B1*2"
ws["A2"] = "Наименование"
ws["B2"] = True
ws["A4"] = "после пустой строки"
wb.save(sys.argv[1])
out(True)
)"),
                      {path});
    XlsxBook book(path);
    const XlsxSheet &sheet = book.sheet(1);
    QCOMPARE(sheet.value(QStringLiteral("A1")), QVariant(QStringLiteral("Наименование")));
    QCOMPARE(sheet.value(QStringLiteral("B1")), QVariant(12.75));
    QCOMPARE(sheet.value(QStringLiteral("C1")), QVariant(QDate(2023, 3, 8)));
    QCOMPARE(sheet.formula(1, 4), QStringLiteral("B1*2"));
    QCOMPARE(sheet.value(QStringLiteral("A2")), QVariant(QStringLiteral("Наименование")));
    QCOMPARE(sheet.value(QStringLiteral("B2")), QVariant(true));
    QCOMPARE(sheet.value(QStringLiteral("A3")), QVariant());
    QCOMPARE(sheet.value(QStringLiteral("A4")), QVariant(QStringLiteral("после пустой строки")));
    QCOMPARE(sheet.lastRow(), 4);
    QCOMPARE(sheet.lastColumn(), 4);
}

void TstXlsx::dropsSavedResults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.xlsx"));
    // A workbook as a spreadsheet program leaves it: results saved with the formulas.
    sheet_reader::run(QStringLiteral(R"(
wb = openpyxl.Workbook()
wb.active["A1"] = 2
wb.active["B1"] = "=A1*10"
wb.save(sys.argv[1] + ".tmp")
src = zipfile.ZipFile(sys.argv[1] + ".tmp")
dst = zipfile.ZipFile(sys.argv[1], "w")
for name in src.namelist():
    data = src.read(name)
    if name == "xl/worksheets/sheet1.xml":
        data = data.replace(b"<f>A1*10</f><v></v>", b"<f>A1*10</f><v>20</v>")
    dst.writestr(name, data)
dst.close()
out(openpyxl.load_workbook(sys.argv[1], data_only=True).active["B1"].value)
)"),
                      {path});
    {
        XlsxBook book(path);
        QCOMPARE(book.sheet(1).value(1, 2), QVariant(20.0));
        book.sheet(1).setValue(1, 1, 3);
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QStringLiteral(R"(
wb = openpyxl.load_workbook(sys.argv[1])
out({"saved": openpyxl.load_workbook(sys.argv[1], data_only=True).active["B1"].value,
     "formula": wb.active["B1"].value, "fullCalc": bool(wb.calculation.fullCalcOnLoad)})
)"),
                                               {path})
                                 .toObject();
    // A stale 20 would be shown for 3*10 by any reader that does not recalculate.
    QVERIFY(seen.value(QStringLiteral("saved")).isNull());
    QCOMPARE(seen.value(QStringLiteral("formula")).toString(), QStringLiteral("=A1*10"));
    QVERIFY(seen.value(QStringLiteral("fullCalc")).toBool());
}

void TstXlsx::fonts()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    {
        XlsxBook book(path);
        XlsxSheet &s = book.sheet(1);
        s.setRowValues(4, 1, {1, QStringLiteral("Гвозди"), 3, 2.5});
        s.setBold({4, 1, 4, 2});
        s.setItalic(XlsxRange::parse(QStringLiteral("B4:C4")));
        s.setFontSize(XlsxRange::cell(5, 2), 16);
        s.setFill({6, 1, 6, 5}, xlsx::bgrToRgb(15921891));
        s.setBold(XlsxRange::cell(3, 1), false);
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QStringLiteral(R"(
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
res = {}
for ref in ["A3", "B3", "A4", "B4", "C4", "D4", "B5", "C5", "A6", "E6", "A7"]:
    c = ws[ref]
    res[ref] = [bool(c.font.b), bool(c.font.i), c.font.sz, c.font.name,
                c.fill.fill_type, c.fill.fgColor.rgb if c.fill.fill_type else None,
                c.border.left.style, c.number_format]
out(res)
)"),
                                               {path})
                                 .toObject();
    auto cell = [&](const char *ref) { return seen.value(QLatin1String(ref)).toArray(); };
    // bold, italic, size, font, fill kind, colour, left border, number format
    QCOMPARE(cell("A4").at(0).toBool(), true);
    QCOMPARE(cell("A4").at(1).toBool(), false);
    QCOMPARE(cell("B4").at(0).toBool(), true);
    QCOMPARE(cell("B4").at(1).toBool(), true);
    QCOMPARE(cell("C4").at(0).toBool(), false);
    QCOMPARE(cell("C4").at(1).toBool(), true);
    QCOMPARE(cell("D4").at(0).toBool(), false);
    QCOMPARE(cell("D4").at(1).toBool(), false);
    QCOMPARE(cell("B5").at(2).toDouble(), 16.0);
    QCOMPARE(cell("C5").at(2).toDouble(), 10.0);
    QCOMPARE(cell("A6").at(4).toString(), QStringLiteral("solid"));
    QCOMPARE(cell("A6").at(5).toString(), QStringLiteral("FFE3F2F2"));
    QCOMPARE(cell("E6").at(5).toString(), QStringLiteral("FFE3F2F2"));
    QCOMPARE(cell("A3").at(0).toBool(), false);
    QCOMPARE(cell("B3").at(0).toBool(), true);
    // What the change did not name stays as the template has it.
    for (const char *ref : {"A4", "B4", "C4", "B5", "A6"}) {
        QCOMPARE(cell(ref).at(3).toString(), QStringLiteral("Calibri"));
        QCOMPARE(cell(ref).at(6).toString(), QStringLiteral("thin"));
    }
    QCOMPARE(cell("C4").at(7).toString(), QStringLiteral("#,##0.00"));
    QCOMPARE(cell("A6").at(2).toDouble(), 10.0);
    QCOMPARE(cell("A7").at(4).toString(), QString());
    QCOMPARE(cell("B3").at(5).toString(), QStringLiteral("FFE3F2F2"));
}

void TstXlsx::borders()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    {
        XlsxBook book(path);
        XlsxSheet &s = book.sheet(1);
        s.setValue(QStringLiteral("H11"), QStringLiteral("внутри"));
        s.setBold(XlsxRange::cell(11, 8));
        s.setBorders(XlsxRange::parse(QStringLiteral("G10:I12")));
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QStringLiteral(R"(
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
res = {}
for row in ws.iter_rows(min_row=9, max_row=13, min_col=6, max_col=10):
    for c in row:
        b = c.border
        res[c.coordinate] = [b.left.style, b.right.style, b.top.style, b.bottom.style, bool(c.font.b), c.value]
out(res)
)"),
                                               {path})
                                 .toObject();
    for (auto it = seen.begin(); it != seen.end(); ++it) {
        const XlsxRange r = XlsxRange::parse(it.key());
        const bool inside = r.firstRow >= 10 && r.firstRow <= 12 && r.firstCol >= 7 && r.firstCol <= 9;
        const QStringList sides = strings(it.value()).mid(0, 4);
        const QString expected = inside ? QStringLiteral("thin") : QString();
        QVERIFY2(sides == QStringList(4, expected),
                 qPrintable(it.key() + QLatin1Char(' ') + sides.join(',')));
    }
    QCOMPARE(seen.value(QStringLiteral("H11")).toArray().at(4).toBool(), true);
    QCOMPARE(seen.value(QStringLiteral("H11")).toArray().at(5).toString(), QStringLiteral("внутри"));
}

void TstXlsx::columns()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    const QString longText = QStringLiteral("Очень длинное наименование товара для ширины");
    {
        XlsxBook book(path);
        XlsxSheet &s = book.sheet(1);
        s.setColumnWidth(3, 22.5);
        s.setColumnHidden(4);
        s.setValue(12, 6, longText);
        s.setValue(13, 7, 5);
        s.setValue(14, 7, 1234567.25);
        s.setValue(12, 8, QStringLiteral("кор"));
        s.setValue(13, 8, QStringLiteral("короче\nвторая строка текста"));
        s.autoFitColumns(6, 8);
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QStringLiteral(R"(
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
res = {}
for letter in "ABCDEFGH":
    d = ws.column_dimensions[letter]
    res[letter] = [d.width, bool(d.hidden)]
out(res)
)"),
                                               {path})
                                 .toObject();
    auto width = [&](const char *col) { return seen.value(QLatin1String(col)).toArray().at(0).toDouble(); };
    auto hidden = [&](const char *col) { return seen.value(QLatin1String(col)).toArray().at(1).toBool(); };
    QCOMPARE(width("C"), 22.5);
    QVERIFY(hidden("D"));
    QVERIFY(!hidden("C"));
    QVERIFY(!hidden("E"));
    QCOMPARE(width("B"), 40.0);
    QCOMPARE(width("E"), 14.0);
    QVERIFY2(width("F") >= longText.size(), qPrintable(QString::number(width("F"))));
    QVERIFY(width("F") < longText.size() * 1.5);
    QVERIFY(width("G") >= 10 && width("G") < width("F"));
    // The longest line counts, not the whole text with its line break.
    QVERIFY(width("H") >= 20 && width("H") < 30);
}

void TstXlsx::deleteRows()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    {
        XlsxBook book(path);
        XlsxSheet &s = book.sheet(1);
        for (int row = 4; row <= 6; ++row)
            s.setRowValues(row, 1, {row - 3, QStringLiteral("Товар %1").arg(row - 3), row, 10});
        s.deleteRows(5);
        QCOMPARE(s.formula(6, 5), QStringLiteral("SUM(E4:E5)"));
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QString::fromUtf8(kStructure), {path}).toObject();
    const QJsonObject cells = seen.value(QStringLiteral("cells")).toObject();
    QCOMPARE(cells.value(QStringLiteral("B4")).toString(), QStringLiteral("Товар 1"));
    QCOMPARE(cells.value(QStringLiteral("B5")).toString(), QStringLiteral("Товар 3"));
    QCOMPARE(cells.value(QStringLiteral("E4")).toString(), QStringLiteral("=C4*D4"));
    QCOMPARE(cells.value(QStringLiteral("E5")).toString(), QStringLiteral("=C5*D5"));
    QCOMPARE(cells.value(QStringLiteral("A6")).toString(), QStringLiteral("Итого"));
    QCOMPARE(cells.value(QStringLiteral("E6")).toString(), QStringLiteral("=SUM(E4:E5)"));
    QCOMPARE(cells.value(QStringLiteral("A8")).toString(), QStringLiteral("Подпись ____________"));
    QVERIFY(!cells.contains(QStringLiteral("A9")));
    QCOMPARE(strings(seen.value(QStringLiteral("merged"))), (QStringList{"A1:E1", "A6:D6"}));
    QCOMPARE(strings(seen.value(QStringLiteral("printArea"))), QStringList{QStringLiteral("$A$1:$E$8")});
    QCOMPARE(seen.value(QStringLiteral("total")).toString(), QStringLiteral("='Отчёт'!E6"));
    QVERIFY(seen.value(QStringLiteral("fullCalc")).toBool());
    QVERIFY(seen.value(QStringLiteral("bold")).toObject().contains(QStringLiteral("A6")));
    QVERIFY(!seen.value(QStringLiteral("bold")).toObject().contains(QStringLiteral("A7")));
    QCOMPARE(strings(seen.value(QStringLiteral("boxed"))).size(), 5 * 3);
}

void TstXlsx::insertRows()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    {
        XlsxBook book(path);
        XlsxSheet &s = book.sheet(1);
        s.setRowValues(5, 1, {2, QStringLiteral("второй")});
        s.insertRows(5, 2);
        s.setRowValues(5, 1, {QStringLiteral("вставлена")});
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QString::fromUtf8(kStructure), {path}).toObject();
    const QJsonObject cells = seen.value(QStringLiteral("cells")).toObject();
    QCOMPARE(cells.value(QStringLiteral("A5")).toString(), QStringLiteral("вставлена"));
    QVERIFY(!cells.contains(QStringLiteral("A6")));
    QCOMPARE(cells.value(QStringLiteral("B7")).toString(), QStringLiteral("второй"));
    QCOMPARE(cells.value(QStringLiteral("E7")).toString(), QStringLiteral("=C7*D7"));
    QCOMPARE(cells.value(QStringLiteral("E4")).toString(), QStringLiteral("=C4*D4"));
    QCOMPARE(cells.value(QStringLiteral("A9")).toString(), QStringLiteral("Итого"));
    QCOMPARE(cells.value(QStringLiteral("E9")).toString(), QStringLiteral("=SUM(E4:E8)"));
    QCOMPARE(cells.value(QStringLiteral("A11")).toString(), QStringLiteral("Подпись ____________"));
    QCOMPARE(strings(seen.value(QStringLiteral("merged"))), (QStringList{"A1:E1", "A9:D9"}));
    QCOMPARE(strings(seen.value(QStringLiteral("printArea"))), QStringList{QStringLiteral("$A$1:$E$11")});
    QCOMPARE(seen.value(QStringLiteral("total")).toString(), QStringLiteral("='Отчёт'!E9"));
    QVERIFY(seen.value(QStringLiteral("bold")).toObject().contains(QStringLiteral("E9")));
}

void TstXlsx::copyRows()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    {
        XlsxBook book(path);
        XlsxSheet &s = book.sheet(1);
        s.setValue(QStringLiteral("B4"), QStringLiteral("первый блок"));
        s.setValue(QStringLiteral("B13"), QStringLiteral("будет заменено"));
        s.copyRows(3, 7, 12);
        s.setValue(QStringLiteral("B14"), QStringLiteral("второй блок"));
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QString::fromUtf8(kStructure), {path}).toObject();
    const QJsonObject cells = seen.value(QStringLiteral("cells")).toObject();
    QCOMPARE(cells.value(QStringLiteral("B12")).toString(), QStringLiteral("Наименование"));
    QCOMPARE(cells.value(QStringLiteral("B13")).toString(), QStringLiteral("первый блок"));
    QCOMPARE(cells.value(QStringLiteral("B14")).toString(), QStringLiteral("второй блок"));
    QCOMPARE(cells.value(QStringLiteral("E13")).toString(), QStringLiteral("=C13*D13"));
    QCOMPARE(cells.value(QStringLiteral("E16")).toString(), QStringLiteral("=SUM(E13:E15)"));
    QCOMPARE(cells.value(QStringLiteral("A16")).toString(), QStringLiteral("Итого"));
    // The source block is untouched.
    QCOMPARE(cells.value(QStringLiteral("E7")).toString(), QStringLiteral("=SUM(E4:E6)"));
    QCOMPARE(cells.value(QStringLiteral("B4")).toString(), QStringLiteral("первый блок"));
    QCOMPARE(strings(seen.value(QStringLiteral("merged"))), (QStringList{"A16:D16", "A1:E1", "A7:D7"}));
    const QJsonObject bold = seen.value(QStringLiteral("bold")).toObject();
    QVERIFY(bold.contains(QStringLiteral("C12")));
    QVERIFY(bold.contains(QStringLiteral("A16")));
    const QStringList boxed = strings(seen.value(QStringLiteral("boxed")));
    QCOMPARE(boxed.size(), 2 * 5 * 4);
    QVERIFY(boxed.contains(QStringLiteral("E15")));
}

void TstXlsx::gridLinesAndPicture()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    QImage picture(40, 24, QImage::Format_RGB32);
    picture.fill(QColor(200, 10, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    {
        XlsxBook book(path);
        book.sheet(1).setGridLines(false);
        book.sheet(1).addPicture(3, 7, png);
        book.sheet(2).addPicture(1, 1, png);
        book.save();
    }
    const QJsonObject seen = sheet_reader::run(QStringLiteral(R"(
import io
from PIL import Image
wb = openpyxl.load_workbook(sys.argv[1])
res = {"grid": [ws.sheet_view.showGridLines for ws in wb.worksheets], "pictures": []}
for ws in wb.worksheets:
    for img in ws._images:
        pic = Image.open(io.BytesIO(img._data()))
        res["pictures"].append([ws.title, img.anchor._from.row, img.anchor._from.col, pic.size[0], pic.size[1],
                                pic.getpixel((5, 5))[:3]])
out(res)
)"),
                                               {path})
                                 .toObject();
    const QJsonArray grid = seen.value(QStringLiteral("grid")).toArray();
    QCOMPARE(grid.at(0).toBool(true), false);
    QVERIFY(grid.at(1).isNull() || grid.at(1).toBool());
    const QJsonArray pictures = seen.value(QStringLiteral("pictures")).toArray();
    QCOMPARE(pictures.size(), 2);
    const QJsonArray first = pictures.at(0).toArray();
    QCOMPARE(first.at(0).toString(), QStringLiteral("Отчёт"));
    QCOMPARE(first.at(1).toInt(), 2); // G3, counted from zero
    QCOMPARE(first.at(2).toInt(), 6);
    QCOMPARE(first.at(3).toInt(), 40);
    QCOMPARE(first.at(4).toInt(), 24);
    QCOMPARE(first.at(5).toArray(), (QJsonArray{200, 10, 30}));
    QCOMPARE(pictures.at(1).toArray().at(0).toString(), QStringLiteral("Итоги"));
}

void TstXlsx::keepsUntouchedParts()
{
    QTemporaryDir dir;
    const QString path = templateCopy(dir);
    const QString other = dir.filePath(QStringLiteral("other.xlsx"));
    const QByteArray before = fileHash(path);
    {
        XlsxBook book(path);
        book.sheet(1).setValue(4, 2, QStringLiteral("изменено"));
        book.saveAs(other);
        QCOMPARE(book.path(), other);
    }
    QCOMPARE(fileHash(path), before);
    const QJsonObject seen = sheet_reader::run(QStringLiteral(R"(
a = zipfile.ZipFile(sys.argv[1])
b = zipfile.ZipFile(sys.argv[2])
names_a = set(a.namelist())
names_b = set(b.namelist())
same = sorted(n for n in names_a & names_b if a.read(n) == b.read(n))
wb = openpyxl.load_workbook(sys.argv[2])
out({"missing": sorted(names_a - names_b), "same": same, "value": wb.worksheets[0]["B4"].value,
     "sheets": wb.sheetnames})
)"),
                                               {path, other})
                                 .toObject();
    QCOMPARE(strings(seen.value(QStringLiteral("missing"))), QStringList());
    const QStringList same = strings(seen.value(QStringLiteral("same")));
    QVERIFY2(same.contains(QStringLiteral("xl/theme/theme1.xml")), qPrintable(same.join(',')));
    QVERIFY(same.contains(QStringLiteral("docProps/app.xml")));
    QVERIFY(same.contains(QStringLiteral("docProps/core.xml")));
    QCOMPARE(seen.value(QStringLiteral("value")).toString(), QStringLiteral("изменено"));
    QCOMPARE(strings(seen.value(QStringLiteral("sheets"))), (QStringList{"Отчёт", "Итоги"}));
}

void TstXlsx::errors_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("not a zip") << "text";
    QTest::newRow("zip without a workbook") << "zip";
    QTest::newRow("save where a folder is") << "folder";
    QTest::newRow("save into a missing folder") << "nofolder";
    QTest::newRow("sheet that does not exist") << "sheet";
    QTest::newRow("picture that is not png") << "picture";
}

void TstXlsx::errors()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("книга.xlsx"));
    QString named = path;
    auto act = [&]() {
        if (kind == QLatin1String("missing")) {
            XlsxBook book(path);
        } else if (kind == QLatin1String("text")) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write("это не книга");
            f.close();
            XlsxBook book(path);
        } else if (kind == QLatin1String("zip")) {
            // An .xlsx is a zip; this one holds something else.
            sheet_reader::run(
                QStringLiteral("zipfile.ZipFile(sys.argv[1], 'w').writestr('a.txt', 'x')\nout(1)"), {path});
            XlsxBook book(path);
        } else if (kind == QLatin1String("folder") || kind == QLatin1String("nofolder")) {
            path = templateCopy(dir);
            named = kind == QLatin1String("folder") ? dir.filePath(QStringLiteral("папка.xlsx"))
                                                    : dir.filePath(QStringLiteral("нет/x.xlsx"));
            QDir(dir.path()).mkpath(QStringLiteral("папка.xlsx/внутри"));
            XlsxBook book(path);
            book.saveAs(named);
        } else if (kind == QLatin1String("sheet")) {
            path = named = templateCopy(dir);
            XlsxBook book(path);
            book.sheet(3);
        } else {
            path = named = templateCopy(dir);
            XlsxBook book(path);
            book.sheet(1).addPicture(1, 1, QByteArray("GIF89a not a png at all...."));
        }
    };
    try {
        act();
        QFAIL("no error");
    } catch (const XlsxError &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(named)), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(TstXlsx)
#include "tst_xlsx.moc"
