#pragma once

#include <QDialog>

class QProgressBar;

// "Ожидайте": the progress window that long loops show, advance and close.
class FWait final : public QDialog
{
    Q_OBJECT

public:
    explicit FWait(QWidget *parent = nullptr);
    void begin();
    void advance(int percent);
    void end();
    int progress() const;

private:
    QProgressBar *m_bar = nullptr;
};
