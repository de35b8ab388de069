#include "shell/fwait.h"

#include <QApplication>
#include <QProgressBar>
#include <QVBoxLayout>

FWait::FWait(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm22"));
    setWindowTitle(QStringLiteral("Ожидайте"));
    setModal(false);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setMinimumWidth(320);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
}

void FWait::begin()
{
    m_bar->setValue(0);
    show();
    QApplication::processEvents();
}

void FWait::advance(int percent)
{
    m_bar->setValue(qBound(0, percent, 100));
    QApplication::processEvents();
}

void FWait::end()
{
    hide();
}

int FWait::progress() const
{
    return m_bar->value();
}
