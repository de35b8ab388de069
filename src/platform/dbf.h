#pragma once

#include <QString>

// One dBase table file, read or written record by record. Text fields are in
// the DOS or Windows Cyrillic code page that the file's language driver byte
// names; a file without one is read as DOS (866). Failures are return values
// with errorString() telling why.
class DbfTable final
{
public:
    enum class CodePage { Cp866, Cp1251 };
    enum class FieldType { String, Integer, Double };

    DbfTable() = default;
    ~DbfTable();
    DbfTable(const DbfTable &) = delete;
    DbfTable &operator=(const DbfTable &) = delete;

    bool open(const QString &path);
    // A new empty file (replacing any old one) marked with the code page.
    bool create(const QString &path, CodePage codePage);
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    QString errorString() const { return m_error; }
    CodePage codePage() const { return m_codePage; }

    // Only before the first record is written.
    bool addField(const QString &name, FieldType type, int width, int decimals = 0);
    int fieldIndex(const QString &name) const; // -1 when there is none
    int recordCount() const;

    int readInt(int record, int field) const;
    QString readString(int record, int field) const; // trimmed

    // Appends an empty record and returns its number.
    int appendRecord();
    bool writeInt(int record, int field, int value);
    bool writeString(int record, int field, const QString &value);

    // Language driver ids of the header's byte 29.
    static CodePage codePageOf(int languageDriver);

private:
    QByteArray encode(const QString &text) const;
    QString decode(const QByteArray &bytes) const;

    void *m_handle = nullptr;
    CodePage m_codePage = CodePage::Cp866;
    QString m_error;
};
