// Fills 100,000 rows × 8 columns of a template with our xlsx layer and writes
// the same cells with libxlsxwriter, printing both times, their ratio and the
// peak memory of the process. Run: bench_xlsx [--keep]

#include "platform/xlsx.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <xlsxwriter.h>

#include <cstdio>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 8;
constexpr int kFirstRow = 4;

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

QString goodsName(int i)
{
    return QStringLiteral("Товар № %1 «тест»").arg(i);
}

double ours(const QString &templatePath, const QString &target)
{
    QElapsedTimer timer;
    timer.start();
    QFile::remove(target);
    if (!QFile::copy(templatePath, target))
        throw XlsxError(QStringLiteral("Не удалось скопировать %1").arg(templatePath));
    XlsxBook book(target);
    XlsxSheet &sheet = book.sheet(1);
    const QDate start(2024, 1, 1);
    for (int i = 0; i < kRows; ++i) {
        const int row = kFirstRow + i;
        sheet.setRowValues(row, 1,
                           {i + 1, goodsName(i), QStringLiteral("Группа %1").arg(i % 50), 1.0 + i % 7,
                            10.25 + i % 100, (1.0 + i % 7) * (10.25 + i % 100), start.addDays(i % 365),
                            QStringLiteral("Склад основной")});
        if (i % 10 == 0) {
            const XlsxRange line{row, 1, row, kCols};
            sheet.setBold(line);
            sheet.setFill(line, xlsx::bgrToRgb(15921891));
        }
    }
    sheet.setBorders({kFirstRow, 1, kFirstRow + kRows - 1, kCols});
    book.save();
    return timer.elapsed() / 1000.0;
}

double writer(const QString &target)
{
    QElapsedTimer timer;
    timer.start();
    lxw_workbook *book = workbook_new(QFile::encodeName(target).constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    lxw_format *plain = workbook_add_format(book);
    format_set_border(plain, LXW_BORDER_THIN);
    lxw_format *date = workbook_add_format(book);
    format_set_border(date, LXW_BORDER_THIN);
    format_set_num_format(date, "dd.mm.yyyy");
    lxw_format *marked = workbook_add_format(book);
    format_set_border(marked, LXW_BORDER_THIN);
    format_set_bold(marked);
    format_set_bg_color(marked, int(xlsx::bgrToRgb(15921891)));
    lxw_format *markedDate = workbook_add_format(book);
    format_set_border(markedDate, LXW_BORDER_THIN);
    format_set_bold(markedDate);
    format_set_bg_color(markedDate, int(xlsx::bgrToRgb(15921891)));
    format_set_num_format(markedDate, "dd.mm.yyyy");
    const QDate start(2024, 1, 1);
    for (int i = 0; i < kRows; ++i) {
        const lxw_row_t row = lxw_row_t(kFirstRow - 1 + i);
        lxw_format *f = i % 10 == 0 ? marked : plain;
        lxw_format *fd = i % 10 == 0 ? markedDate : date;
        worksheet_write_number(sheet, row, 0, i + 1, f);
        worksheet_write_string(sheet, row, 1, goodsName(i).toUtf8().constData(), f);
        worksheet_write_string(sheet, row, 2, QStringLiteral("Группа %1").arg(i % 50).toUtf8().constData(),
                               f);
        worksheet_write_number(sheet, row, 3, 1.0 + i % 7, f);
        worksheet_write_number(sheet, row, 4, 10.25 + i % 100, f);
        worksheet_write_number(sheet, row, 5, (1.0 + i % 7) * (10.25 + i % 100), f);
        const QDate d = start.addDays(i % 365);
        lxw_datetime when = {d.year(), d.month(), d.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, row, 6, &when, fd);
        worksheet_write_string(sheet, row, 7, "Склад основной", f);
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        throw XlsxError(QStringLiteral("libxlsxwriter could not write %1").arg(target));
    return timer.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString templatePath = QDir(QStringLiteral(TEVO_FORMS_DIR)).filePath(QStringLiteral("test.xlsx"));
    QTemporaryDir dir;
    // --keep leaves both files for a look with another reader.
    const bool keep = app.arguments().contains(QStringLiteral("--keep"));
    dir.setAutoRemove(!keep);
    try {
        const double oursSeconds = ours(templatePath, dir.filePath(QStringLiteral("ours.xlsx")));
        const long oursPeak = peakMegabytes();
        const double writerSeconds = writer(dir.filePath(QStringLiteral("writer.xlsx")));
        std::printf("rows x columns:      %d x %d\n", kRows, kCols);
        std::printf("xlsx layer:          %.2f s\n", oursSeconds);
        std::printf("libxlsxwriter:       %.2f s\n", writerSeconds);
        std::printf("ratio:               %.2f\n", oursSeconds / writerSeconds);
        std::printf("peak memory (layer): %ld MiB\n", oursPeak);
        std::printf("peak memory (all):   %ld MiB\n", peakMegabytes());
        std::printf("file sizes:          %lld / %lld bytes\n",
                    QFileInfo(dir.filePath(QStringLiteral("ours.xlsx"))).size(),
                    QFileInfo(dir.filePath(QStringLiteral("writer.xlsx"))).size());
        if (keep)
            std::printf("files kept in:       %s\n", qPrintable(dir.path()));
    } catch (const XlsxError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
