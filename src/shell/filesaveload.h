#pragma once

#include <QDialog>

#include <functional>

class AttachedFilesModel;
class QPushButton;
class QTableView;
class VvodStroka;
struct AppContext;

// "Файлы": the files attached to an employee card (mode 1) or a candidate
// card (mode 2), kept whole in the database. Adding commits once the file's
// bytes are written; deleting leaves the commit to the card.
class FileSaveLoad final : public QDialog
{
    Q_OBJECT

public:
    static constexpr double kMaxSizeMb = 15;

    explicit FileSaveLoad(AppContext &ctx, QWidget *parent = nullptr);

    // Whose files the next showing lists: mode 1 an employee, mode 2 a candidate.
    void setOwner(int mode, double id);
    void load();
    // "Добавить запись", "Открыть", "Сохранить", "Удалить запись".
    void addFile();
    void openFile();
    void saveFile();
    void deleteFile();

    int rowCount() const;
    double currentId() const;
    void setCurrentRow(int row);
    QPushButton *addButton() const { return m_add; }
    QPushButton *deleteButton() const { return m_delete; }

    VvodStroka *noteDialog() const { return m_note; }
    // The note dialog opens modally unless a test drives it without a window.
    void setNoteRunner(std::function<void(VvodStroka &)> runner) { m_runNote = std::move(runner); }

    // DRound to 2 decimals of the size in megabytes.
    static double sizeMb(qint64 bytes);
    static QString sizeText(double sizeMb);
    // The error shown for a file above the limit; empty when it may be attached.
    static QString sizeRefusal(double sizeMb, const QString &file);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void setupWidgets();
    void applyAccessLevel();
    void selectId(double id);
    QByteArray currentBlob();
    QString currentValue(const QString &column) const;
    bool writeFile(const QString &path, const QByteArray &bytes);

    AppContext &m_ctx;
    int m_mode = 1;
    double m_ownerId = 0;
    AttachedFilesModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_delete = nullptr;
    VvodStroka *m_note = nullptr;
    std::function<void(VvodStroka &)> m_runNote;
};
