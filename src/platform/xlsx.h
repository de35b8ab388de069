#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <stdexcept>
#include <vector>

// A failure to read or write a workbook; message() names the file and is the
// text shown to the user.
class XlsxError : public std::runtime_error
{
public:
    explicit XlsxError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A block of cells, 1-based and inclusive, as "B4:H10" or "B4".
struct XlsxRange
{
    int firstRow = 1;
    int firstCol = 1;
    int lastRow = 1;
    int lastCol = 1;

    static XlsxRange cell(int row, int col) { return {row, col, row, col}; }
    // Throws XlsxError on an address that is not a cell or a block of cells.
    static XlsxRange parse(const QString &address);
};

namespace xlsx {

// "A" is 1, "XFD" is 16384; 0 for anything else.
int columnNumber(const QString &letters);
QString columnLetters(int col);
QString cellAddress(int row, int col);

// Colour values of the system keep blue in the high byte (15921891 is a pale
// blue-grey); sheets want red first.
unsigned bgrToRgb(unsigned bgr);

// Row references of a formula after rows [at, at + count) were inserted
// (count > 0) or deleted (count < 0) in the sheet the references point at.
// sheetName is that sheet; unqualified references count as pointing at it
// when sameSheet is set. References into deleted rows become #REF!.
std::string shiftFormulaRows(const std::string &formula, const std::string &sheetName, bool sameSheet, int at,
                             int count);

} // namespace xlsx

class XlsxBook;
struct XlsxSheetData;

// One worksheet of an open workbook. Rows and columns are 1-based. Values and
// formats change only the cells named; everything else of the sheet is kept.
class XlsxSheet final
{
public:
    ~XlsxSheet();
    XlsxSheet(const XlsxSheet &) = delete;
    XlsxSheet &operator=(const XlsxSheet &) = delete;

    QString name() const;

    // double and integer values are numbers, QDate a date, QString text
    // (line breaks wrap), an invalid QVariant clears the value but keeps the style.
    void setValue(int row, int col, const QVariant &value);
    void setValue(const QString &address, const QVariant &value);
    // Values written to the right of (row, col), one per cell.
    void setRowValues(int row, int col, const QVariantList &values);
    void setRowValues(const QString &address, const QVariantList &values);
    void setNumber(int row, int col, double value);
    void setText(int row, int col, const QString &text);
    void setDate(int row, int col, const QDate &date);
    // Formula text with or without the leading "="; it is calculated when the file is opened.
    void setFormula(int row, int col, const QString &formula);

    // Text, double or QDate as stored; a formula cell gives the value saved with it.
    QVariant value(int row, int col) const;
    QVariant value(const QString &address) const;
    QString formula(int row, int col) const;
    int lastRow() const;
    int lastColumn() const;

    void setBold(const XlsxRange &range, bool on = true);
    void setItalic(const XlsxRange &range, bool on = true);
    void setFontSize(const XlsxRange &range, double points);
    void setFill(const XlsxRange &range, unsigned rgb);
    // Thin lines on the edges and between all cells of the block.
    void setBorders(const XlsxRange &range);

    void setColumnWidth(int col, double width);
    void setColumnHidden(int col, bool hidden = true);
    // Widths from the longest value in each column (merged cells do not count).
    void autoFitColumns(int firstCol, int lastCol);

    // Cells, merged ranges, formulas and defined names below move with the rows.
    void deleteRows(int row, int count = 1);
    void insertRows(int row, int count = 1);
    // Rows [firstRow, lastRow] copied with values, styles, heights and merged
    // ranges so that firstRow lands on destRow; relative references move along.
    void copyRows(int firstRow, int lastRow, int destRow);
    void mergeCells(const XlsxRange &range);
    QList<XlsxRange> mergedRanges() const;

    void setGridLines(bool shown);
    // A PNG picture with its top-left corner at the cell, at its own size.
    void addPicture(int row, int col, const QByteArray &png);

private:
    friend class XlsxBook;
    XlsxSheet(XlsxBook &book, std::unique_ptr<XlsxSheetData> data);

    XlsxBook &m_book;
    std::unique_ptr<XlsxSheetData> m_data;
};

struct XlsxBookData;

// An .xlsx workbook read into memory. Parts that are not changed are written
// back as they were. Every failure throws XlsxError naming the file.
class XlsxBook final
{
public:
    explicit XlsxBook(const QString &path);
    ~XlsxBook();
    XlsxBook(const XlsxBook &) = delete;
    XlsxBook &operator=(const XlsxBook &) = delete;

    QString path() const;
    int sheetCount() const;
    // 1-based, as the sheets are ordered in the workbook.
    XlsxSheet &sheet(int index);

    // Writes to the file it was opened from, or to another path. Formulas are
    // recalculated by the program that opens it next.
    void save();
    void saveAs(const QString &path);

private:
    friend class XlsxSheet;
    // Rows of one sheet moved; formulas of every sheet and the defined names follow.
    void shiftRowsOf(XlsxSheet &target, int at, int count);

    std::unique_ptr<XlsxBookData> m_data;
    std::vector<std::unique_ptr<XlsxSheet>> m_sheets;
};
