#include "platform/dbf.h"

#include "common/win1251.h"

#include <QFile>
#include <QFileInfo>

#include <shapefil.h>

namespace {

// Code points of the DOS Cyrillic bytes 0x80..0xFF, eight to a row.
// clang-format off
constexpr char16_t kCp866UpperHalf[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};
// clang-format on

constexpr int kLdidCp866 = 0x65;
constexpr int kLdidCp1251 = 0xC9;

DBFHandle handleOf(void *handle)
{
    return static_cast<DBFHandle>(handle);
}

int cp866ByteOf(char32_t codePoint)
{
    if (codePoint < 0x80)
        return int(codePoint);
    for (int i = 0; i < 128; ++i) {
        if (kCp866UpperHalf[i] == codePoint)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

DbfTable::~DbfTable()
{
    close();
}

DbfTable::CodePage DbfTable::codePageOf(int languageDriver)
{
    switch (languageDriver) {
    case 0xC9:
    case 0x57:
        return CodePage::Cp1251;
    default:
        return CodePage::Cp866;
    }
}

bool DbfTable::open(const QString &path)
{
    close();
    if (!QFileInfo::exists(path)) {
        m_error = QStringLiteral("Файл не найден: ") + path;
        return false;
    }
    DBFHandle handle = DBFOpen(QFile::encodeName(path).constData(), "rb+");
    if (handle == nullptr)
        handle = DBFOpen(QFile::encodeName(path).constData(), "rb");
    if (handle == nullptr) {
        m_error = QStringLiteral("Не удалось открыть таблицу dBase: ") + path;
        return false;
    }
    m_handle = handle;
    m_codePage = codePageOf(handle->iLanguageDriver);
    m_error.clear();
    return true;
}

bool DbfTable::create(const QString &path, CodePage codePage)
{
    close();
    QFile::remove(path);
    const QByteArray ldid = QByteArrayLiteral("LDID/") +
                            QByteArray::number(codePage == CodePage::Cp1251 ? kLdidCp1251 : kLdidCp866);
    DBFHandle handle = DBFCreateEx(QFile::encodeName(path).constData(), ldid.constData());
    if (handle == nullptr) {
        m_error = QStringLiteral("Не удалось создать таблицу dBase: ") + path;
        return false;
    }
    m_handle = handle;
    m_codePage = codePage;
    m_error.clear();
    return true;
}

void DbfTable::close()
{
    if (m_handle != nullptr)
        DBFClose(handleOf(m_handle));
    m_handle = nullptr;
}

bool DbfTable::addField(const QString &name, FieldType type, int width, int decimals)
{
    static constexpr DBFFieldType types[] = {FTString, FTInteger, FTDouble};
    if (DBFAddField(handleOf(m_handle), name.toLatin1().constData(), types[int(type)], width, decimals) < 0) {
        m_error = QStringLiteral("Не удалось добавить поле ") + name;
        return false;
    }
    return true;
}

int DbfTable::fieldIndex(const QString &name) const
{
    return DBFGetFieldIndex(handleOf(m_handle), name.toLatin1().constData());
}

int DbfTable::recordCount() const
{
    return DBFGetRecordCount(handleOf(m_handle));
}

int DbfTable::readInt(int record, int field) const
{
    return DBFReadIntegerAttribute(handleOf(m_handle), record, field);
}

QString DbfTable::readString(int record, int field) const
{
    const char *text = DBFReadStringAttribute(handleOf(m_handle), record, field);
    return text == nullptr ? QString() : decode(QByteArray(text)).trimmed();
}

int DbfTable::appendRecord()
{
    const int record = recordCount();
    if (!DBFWriteNULLAttribute(handleOf(m_handle), record, 0)) {
        m_error = QStringLiteral("Не удалось добавить запись");
        return -1;
    }
    return record;
}

bool DbfTable::writeInt(int record, int field, int value)
{
    if (!DBFWriteIntegerAttribute(handleOf(m_handle), record, field, value)) {
        m_error = QStringLiteral("Не удалось записать число %1").arg(value);
        return false;
    }
    return true;
}

bool DbfTable::writeString(int record, int field, const QString &value)
{
    // Cut to the field's width here, as dBase does, so that a refusal means a real failure.
    int width = 0;
    DBFGetFieldInfo(handleOf(m_handle), field, nullptr, &width, nullptr);
    const QByteArray bytes = encode(value).left(width);
    if (!DBFWriteStringAttribute(handleOf(m_handle), record, field, bytes.constData())) {
        m_error = QStringLiteral("Не удалось записать текст ") + value;
        return false;
    }
    return true;
}

QByteArray DbfTable::encode(const QString &text) const
{
    QByteArray bytes;
    for (const char32_t c : text.toUcs4()) {
        const int b = m_codePage == CodePage::Cp1251 ? win1251::byteOf(c) : cp866ByteOf(c);
        bytes.append(char(b < 0 ? '?' : b));
    }
    return bytes;
}

QString DbfTable::decode(const QByteArray &bytes) const
{
    QString text;
    text.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const char32_t c = b < 0x80                         ? char32_t(b)
                           : m_codePage == CodePage::Cp1251 ? win1251::codePointOf(b)
                                                            : char32_t(kCp866UpperHalf[b - 0x80]);
        text.append(QChar(char16_t(c)));
    }
    return text;
}
