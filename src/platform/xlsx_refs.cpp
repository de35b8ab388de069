#include "platform/xlsx_refs.h"

#include "platform/xlsx.h"

#include <QRegularExpression>

#include <functional>

namespace xlsx {

namespace {

// One end of a reference: a cell (both parts), a whole column or a whole row.
struct End
{
    int row = 0;
    int col = 0;
    bool absRow = false;
    bool absCol = false;
};

struct Ref
{
    End a;
    End b;
    bool range = false;
};

bool isNameChar(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c == '.' || c == '$' || c == '\\' || c >= 0x80;
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads "$A$1", "A", "$12" at pos; pos moves past it.
std::optional<End> readEnd(const std::string &f, std::size_t &pos)
{
    std::size_t i = pos;
    const bool firstDollar = i < f.size() && f[i] == '$';
    if (firstDollar)
        ++i;
    int col = 0;
    std::size_t letters = 0;
    while (i < f.size() && isLetter(f[i]) && letters < 4) {
        col = col * 26 + (std::toupper(static_cast<unsigned char>(f[i])) - 'A' + 1);
        ++i;
        ++letters;
    }
    if (letters > 3 || col > kMaxCol)
        return std::nullopt;
    const bool secondDollar = letters > 0 && i < f.size() && f[i] == '$';
    if (secondDollar)
        ++i;
    long row = 0;
    std::size_t digits = 0;
    while (i < f.size() && isDigit(f[i]) && digits < 8) {
        row = row * 10 + (f[i] - '0');
        ++i;
        ++digits;
    }
    if (digits == 0 && (letters == 0 || secondDollar))
        return std::nullopt;
    if (digits > 0 && (row < 1 || row > kMaxRow))
        return std::nullopt;
    End e;
    e.col = col;
    e.row = static_cast<int>(row);
    e.absCol = letters > 0 && firstDollar;
    e.absRow = letters > 0 ? secondDollar : firstDollar;
    pos = i;
    return e;
}

bool isCell(const End &e)
{
    return e.row > 0 && e.col > 0;
}

// A reference starting at pos: a cell, or a block, whole rows or whole
// columns joined by ":". Names, numbers and functions are not references.
std::optional<Ref> readRef(const std::string &f, std::size_t &pos)
{
    std::size_t i = pos;
    const auto a = readEnd(f, i);
    if (!a)
        return std::nullopt;
    Ref ref;
    ref.a = *a;
    if (i < f.size() && f[i] == ':') {
        std::size_t j = i + 1;
        const auto b = readEnd(f, j);
        const bool sameKind = b && (isCell(*a) == isCell(*b)) && ((a->row > 0) == (b->row > 0)) &&
                              ((a->col > 0) == (b->col > 0));
        if (sameKind && (j >= f.size() || !isNameChar(static_cast<unsigned char>(f[j])))) {
            if (j < f.size() && f[j] == '(')
                return std::nullopt;
            ref.b = *b;
            ref.range = true;
            pos = j;
            return ref;
        }
    }
    if (!isCell(*a))
        return std::nullopt;
    if (i < f.size() && (isNameChar(static_cast<unsigned char>(f[i])) || f[i] == '('))
        return std::nullopt;
    pos = i;
    return ref;
}

void writeEnd(std::string &out, const End &e)
{
    if (e.col > 0) {
        if (e.absCol)
            out += '$';
        out += columnLetters(e.col).toStdString();
    }
    if (e.row > 0) {
        if (e.absRow)
            out += '$';
        out += std::to_string(e.row);
    }
}

std::string refText(const Ref &r)
{
    std::string out;
    writeEnd(out, r.a);
    if (r.range) {
        out += ':';
        writeEnd(out, r.b);
    }
    return out;
}

// Returns the new reference, or nullopt to keep it as written; setting
// invalid writes #REF! instead.
using RefRewrite = std::function<std::optional<Ref>(const std::string *sheet, const Ref &ref, bool &invalid)>;

std::string unquoteSheet(const std::string &quoted)
{
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        out += quoted[i];
        if (quoted[i] == '\'' && quoted[i + 1] == '\'')
            ++i;
    }
    return out;
}

std::string rewriteRefs(const std::string &f, const RefRewrite &rewrite)
{
    std::string out;
    out.reserve(f.size() + 8);
    std::size_t i = 0;
    auto emitRef = [&](const std::string *sheet, std::size_t prefixStart, std::size_t refStart) {
        std::size_t pos = refStart;
        const auto ref = readRef(f, pos);
        if (!ref)
            return false;
        bool invalid = false;
        const auto changed = rewrite(sheet, *ref, invalid);
        out.append(f, prefixStart, refStart - prefixStart);
        if (invalid)
            out += "#REF!";
        else
            out += changed ? refText(*changed) : f.substr(refStart, pos - refStart);
        i = pos;
        return true;
    };
    while (i < f.size()) {
        const char c = f[i];
        if (c == '"') {
            std::size_t j = i + 1;
            while (j < f.size()) {
                if (f[j] == '"' && !(j + 1 < f.size() && f[j + 1] == '"'))
                    break;
                j += f[j] == '"' ? 2 : 1;
            }
            out.append(f, i, j + 1 - i);
            i = j + 1;
            continue;
        }
        if (c == '[') {
            const std::size_t j = f.find(']', i);
            const std::size_t end = j == std::string::npos ? f.size() : j + 1;
            out.append(f, i, end - i);
            i = end;
            continue;
        }
        if (c == '\'') {
            std::size_t j = i + 1;
            while (j < f.size()) {
                if (f[j] == '\'' && !(j + 1 < f.size() && f[j + 1] == '\''))
                    break;
                j += f[j] == '\'' ? 2 : 1;
            }
            if (j + 1 < f.size() && f[j + 1] == '!') {
                const std::string sheet = unquoteSheet(f.substr(i, j + 1 - i));
                const std::size_t start = i;
                if (emitRef(&sheet, start, j + 2))
                    continue;
            }
            const std::size_t end = std::min(f.size(), j + 1);
            out.append(f, i, end - i);
            i = end;
            continue;
        }
        const bool startsName = isNameChar(static_cast<unsigned char>(c)) &&
                                (i == 0 || !isNameChar(static_cast<unsigned char>(f[i - 1])));
        if (startsName) {
            std::size_t j = i;
            while (j < f.size() && isNameChar(static_cast<unsigned char>(f[j])))
                ++j;
            if (j < f.size() && f[j] == '!') {
                const std::string sheet = f.substr(i, j - i);
                const std::size_t start = i;
                if (emitRef(&sheet, start, j + 1))
                    continue;
            } else if (emitRef(nullptr, i, i)) {
                continue;
            }
            out.append(f, i, j - i);
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

bool sameName(const std::string &a, const std::string &b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<std::pair<int, int>> shiftSpan(int first, int last, int at, int count)
{
    if (count > 0) {
        if (first >= at)
            first = std::min(kMaxRow, first + count);
        if (last >= at)
            last = std::min(kMaxRow, last + count);
        return std::make_pair(first, last);
    }
    const int removed = -count;
    const int end = at + removed - 1;
    if (first >= at && last <= end)
        return std::nullopt;
    const int newFirst = first < at ? first : (first > end ? first - removed : at);
    const int newLast = last < at ? last : (last > end ? last - removed : at - 1);
    return std::make_pair(newFirst, newLast);
}

std::string translateFormula(const std::string &formula, int rows, int cols)
{
    auto move = [&](End &e, bool &invalid) {
        if (e.row > 0 && !e.absRow) {
            e.row += rows;
            invalid = invalid || e.row < 1 || e.row > kMaxRow;
        }
        if (e.col > 0 && !e.absCol) {
            e.col += cols;
            invalid = invalid || e.col < 1 || e.col > kMaxCol;
        }
    };
    return rewriteRefs(formula,
                       [&](const std::string *, const Ref &ref, bool &invalid) -> std::optional<Ref> {
                           Ref r = ref;
                           move(r.a, invalid);
                           if (r.range)
                               move(r.b, invalid);
                           return r;
                       });
}

std::string shiftFormulaRows(const std::string &formula, const std::string &sheetName, bool sameSheet, int at,
                             int count)
{
    return rewriteRefs(formula,
                       [&](const std::string *sheet, const Ref &ref, bool &invalid) -> std::optional<Ref> {
                           if (sheet ? !sameName(*sheet, sheetName) : !sameSheet)
                               return std::nullopt;
                           Ref r = ref;
                           if (r.a.row == 0)
                               return std::nullopt; // whole columns do not move
                           const int first = r.range ? std::min(r.a.row, r.b.row) : r.a.row;
                           const int last = r.range ? std::max(r.a.row, r.b.row) : r.a.row;
                           const auto span = r.range ? shiftSpan(first, last, at, count)
                                                     : shiftSpan(first, first, at, count);
                           if (!span) {
                               invalid = true;
                               return std::nullopt;
                           }
                           if (r.range && r.a.row <= r.b.row) {
                               r.a.row = span->first;
                               r.b.row = span->second;
                           } else if (r.range) {
                               r.a.row = span->second;
                               r.b.row = span->first;
                           } else {
                               r.a.row = span->first;
                           }
                           return r;
                       });
}

std::string shiftRangeList(const std::string &list, int at, int count)
{
    std::string out;
    std::size_t i = 0;
    while (i < list.size()) {
        const std::size_t space = list.find(' ', i);
        const std::size_t end = space == std::string::npos ? list.size() : space;
        const std::string item = list.substr(i, end - i);
        i = end + 1;
        if (item.empty())
            continue;
        const std::string shifted = shiftFormulaRows(item, std::string(), true, at, count);
        if (shifted.find("#REF!") != std::string::npos)
            continue;
        if (!out.empty())
            out += ' ';
        out += shifted;
    }
    return out;
}

std::optional<std::pair<int, int>> parseCell(const char *text, std::size_t size)
{
    int col = 0;
    std::size_t i = 0;
    while (i < size && isLetter(text[i]) && i < 3) {
        col = col * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        ++i;
    }
    if (i == 0 || col > kMaxCol)
        return std::nullopt;
    long row = 0;
    const std::size_t digitsFrom = i;
    while (i < size && isDigit(text[i]) && i - digitsFrom < 8) {
        row = row * 10 + (text[i] - '0');
        ++i;
    }
    if (i != size || i == digitsFrom || row < 1 || row > kMaxRow)
        return std::nullopt;
    return std::make_pair(static_cast<int>(row), col);
}

int columnNumber(const QString &letters)
{
    const QByteArray text = letters.toLatin1();
    int col = 0;
    for (const char c : text) {
        if (!isLetter(c) || col > kMaxCol)
            return 0;
        col = col * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
    }
    return text.size() > 3 || col > kMaxCol ? 0 : col;
}

QString columnLetters(int col)
{
    QString out;
    while (col > 0) {
        const int rest = (col - 1) % 26;
        out.prepend(QChar('A' + rest));
        col = (col - 1) / 26;
    }
    return out;
}

QString cellAddress(int row, int col)
{
    return columnLetters(col) + QString::number(row);
}

unsigned bgrToRgb(unsigned bgr)
{
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

} // namespace xlsx

XlsxRange XlsxRange::parse(const QString &address)
{
    static const QRegularExpression pattern(QStringLiteral("^\\$?([A-Za-z]{1,3})\\$?(\\d{1,7})"
                                                           "(?::\\$?([A-Za-z]{1,3})\\$?(\\d{1,7}))?$"));
    const auto m = pattern.match(address.trimmed());
    if (!m.hasMatch())
        throw XlsxError(QStringLiteral("Неверный адрес ячеек: ") + address);
    XlsxRange r;
    r.firstCol = xlsx::columnNumber(m.captured(1));
    r.firstRow = m.captured(2).toInt();
    r.lastCol = m.captured(3).isEmpty() ? r.firstCol : xlsx::columnNumber(m.captured(3));
    r.lastRow = m.captured(4).isEmpty() ? r.firstRow : m.captured(4).toInt();
    if (r.firstCol < 1 || r.lastCol < 1 || r.firstRow < 1 || r.lastRow < 1 || r.firstRow > xlsx::kMaxRow ||
        r.lastRow > xlsx::kMaxRow)
        throw XlsxError(QStringLiteral("Неверный адрес ячеек: ") + address);
    if (r.firstRow > r.lastRow)
        std::swap(r.firstRow, r.lastRow);
    if (r.firstCol > r.lastCol)
        std::swap(r.firstCol, r.lastCol);
    return r;
}
