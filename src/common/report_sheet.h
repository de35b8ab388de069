#pragma once

#include "platform/xlsx.h"

#include <QRandomGenerator>
#include <QString>

#include <memory>

class Desktop;

// The generated part of a copy's name: three random whole numbers from 0 to
// 199 one after another, then "012". A name whose copy (or the spreadsheet
// program's lock file of it) already exists in folder with that prefix is
// skipped, so an open copy is never overwritten.
QString GetNameXLS(const QString &folder, const QString &prefix,
                   QRandomGenerator *random = QRandomGenerator::global());

// Deletes target and copies source over it. False, with nothing written, when
// the previous copy is still open: the spreadsheet program's lock file is
// beside it, or it cannot be removed. Throws XlsxError naming the file when the
// template is missing or cannot be copied.
bool FCopyFile(const QString &source, const QString &target);

// Saves the filled workbook; a failure is shown as an error naming the file.
bool FSaveExcel(Desktop &desktop, XlsxBook &book);

// A report filled from a template: WorkDir/FORM_EXCEL/<template> is copied to
// WorkDir/TMP_XLS/<prefix><generated name>.xlsx, the copy is filled through
// book() or sheet(), saved and shown with the user's spreadsheet program.
// Every failure is told to the user here; callers stop on false.
class ReportSheet final
{
public:
    ReportSheet(Desktop &desktop, const QString &workDir);
    ~ReportSheet();
    ReportSheet(const ReportSheet &) = delete;
    ReportSheet &operator=(const ReportSheet &) = delete;

    bool open(const QString &templateName, const QString &prefix = QString());
    // The same with the copy's path given.
    bool openCopy(const QString &templateName, const QString &copyPath);

    XlsxBook &book();
    XlsxSheet &sheet(int index = 1) { return book().sheet(index); }
    QString path() const { return m_path; }

    // Saves the copy and opens it for the user.
    bool show();

    static QString templateFolder(const QString &workDir);
    static QString copyFolder(const QString &workDir);

private:
    Desktop &m_desktop;
    QString m_workDir;
    QString m_path;
    std::unique_ptr<XlsxBook> m_book;
};
