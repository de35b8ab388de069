#include "shell/vvod_cislo.h"
#include "shell/vvodcislo2.h"
#include "shell/vvoddata.h"
#include "shell/vvodstroka.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

// Makes one dialog and tells how to read its confirmed flag.
using Factory = std::function<std::pair<QDialog *, std::function<bool()>>()>;
Q_DECLARE_METATYPE(Factory)

// The four input dialogs: what "Ok !", Enter and "Отмена" leave for the caller.
class TstInputDialogs : public QObject
{
    Q_OBJECT

private slots:
    void numberStartsAtOne();
    void numberText_data();
    void numberText();
    void maximumRefusal_data();
    void maximumRefusal();
    void maximumLabel_data();
    void maximumLabel();
    void secondNumberConfirmsOnEnter();
    void earliestDate_data();
    void earliestDate();
    void cancelClearsConfirmed_data();
    void cancelClearsConfirmed();
};

namespace {

QPushButton *button(QWidget *dialog, const QString &text)
{
    for (QPushButton *b : dialog->findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

// Shows the dialog for real, so that focus and the default button behave as for the user.
void showActive(QWidget *dialog)
{
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

} // namespace

void TstInputDialogs::numberStartsAtOne()
{
    VvodCislo dialog;
    QCOMPARE(dialog.field()->text(), QStringLiteral("1"));
    QCOMPARE(dialog.value(), 1.0);
    QCOMPARE(dialog.maxLabel()->text(), QString());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ввод числа"));
}

void TstInputDialogs::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 12.0 << QStringLiteral("12");
    QTest::newRow("one decimal") << 2.5 << QStringLiteral("2.5");
    QTest::newRow("two decimals") << 0.05 << QStringLiteral("0.05");
    QTest::newRow("third decimal rounds half up") << 2.345 << QStringLiteral("2.35");
    QTest::newRow("rounds to whole") << 2.999 << QStringLiteral("3");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("negative") << -1.25 << QStringLiteral("-1.25");
    QTest::newRow("tiny negative is zero") << -0.001 << QStringLiteral("0");
}

void TstInputDialogs::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(VvodCislo::numberText(value), text);
}

void TstInputDialogs::maximumRefusal_data()
{
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("below") << 5.0 << QStringLiteral("4") << true;
    QTest::newRow("equal") << 5.0 << QStringLiteral("5") << true;
    QTest::newRow("just above") << 5.0 << QStringLiteral("5.01") << false;
    QTest::newRow("comma decimal above") << 5.0 << QStringLiteral("5,5") << false;
    QTest::newRow("fractional balance") << 2.75 << QStringLiteral("2.75") << true;
    QTest::newRow("zero balance") << 0.0 << QStringLiteral("0.5") << false;
    QTest::newRow("no maximum") << -1.0 << QStringLiteral("1000000") << true;
}

void TstInputDialogs::maximumRefusal()
{
    QFETCH(double, maximum);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    VvodCislo dialog;
    dialog.setMaximum(maximum);
    showActive(&dialog);
    dialog.field()->setFocus();
    dialog.field()->setText(typed);
    QTest::keyClick(dialog.field(), Qt::Key_Return);
    QCOMPARE(dialog.confirmed(), accepted);
    QCOMPARE(dialog.isVisible(), !accepted);
    if (!accepted) {
        QVERIFY(dialog.field()->hasFocus());
        // The button refuses the same way as Enter.
        QTest::mouseClick(button(&dialog, QStringLiteral("Ok !")), Qt::LeftButton);
        QVERIFY(!dialog.confirmed());
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.field()->hasFocus());
    }
}

void TstInputDialogs::maximumLabel_data()
{
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QString>("label");
    QTest::newRow("whole") << 5.0 << QStringLiteral("max=5");
    QTest::newRow("fraction") << 12.5 << QStringLiteral("max=12.5");
    QTest::newRow("none") << -1.0 << QString();
}

void TstInputDialogs::maximumLabel()
{
    QFETCH(double, maximum);
    QFETCH(QString, label);
    VvodCislo dialog;
    dialog.setMaximum(3);
    dialog.setMaximum(maximum);
    QCOMPARE(dialog.maxLabel()->text(), label);
}

void TstInputDialogs::secondNumberConfirmsOnEnter()
{
    VvodCislo2 dialog;
    dialog.setValue(0);
    showActive(&dialog);
    QVERIFY(dialog.field()->hasFocus());
    QTest::keyClicks(dialog.field(), QStringLiteral("7,5"));
    QTest::keyClick(dialog.field(), Qt::Key_Return);
    QVERIFY(dialog.confirmed());
    QCOMPARE(dialog.value(), 7.5);
    QVERIFY(!dialog.isVisible());
}

void TstInputDialogs::earliestDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("day before") << QDate(1909, 12, 31) << false;
    QTest::newRow("first day") << QDate(1910, 1, 1) << true;
    QTest::newRow("long before") << QDate(1900, 1, 1) << false;
    QTest::newRow("today") << QDate::currentDate() << true;
}

void TstInputDialogs::earliestDate()
{
    QFETCH(QDate, date);
    QFETCH(bool, accepted);
    VvodData dialog;
    showActive(&dialog);
    dialog.setDate(date);
    QCOMPARE(dialog.date(), date);
    QTest::mouseClick(button(&dialog, QStringLiteral("Ok !")), Qt::LeftButton);
    QCOMPARE(dialog.confirmed(), accepted);
    QCOMPARE(dialog.isVisible(), !accepted);
    if (!accepted)
        QVERIFY(dialog.field()->hasFocus());
}

void TstInputDialogs::cancelClearsConfirmed_data()
{
    QTest::addColumn<Factory>("make");
    QTest::newRow("vvod_cislo") << Factory([] {
        auto *d = new VvodCislo;
        return std::make_pair<QDialog *, std::function<bool()>>(d, [d] { return d->confirmed(); });
    });
    QTest::newRow("VvodCislo2") << Factory([] {
        auto *d = new VvodCislo2;
        return std::make_pair<QDialog *, std::function<bool()>>(d, [d] { return d->confirmed(); });
    });
    QTest::newRow("VvodStroka") << Factory([] {
        auto *d = new VvodStroka;
        return std::make_pair<QDialog *, std::function<bool()>>(d, [d] { return d->confirmed(); });
    });
    QTest::newRow("VvodData") << Factory([] {
        auto *d = new VvodData;
        return std::make_pair<QDialog *, std::function<bool()>>(d, [d] { return d->confirmed(); });
    });
}

void TstInputDialogs::cancelClearsConfirmed()
{
    QFETCH(Factory, make);
    auto [raw, confirmed] = make();
    const std::unique_ptr<QDialog> dialog(raw);
    showActive(dialog.get());
    QTest::mouseClick(button(dialog.get(), QStringLiteral("Ok !")), Qt::LeftButton);
    QVERIFY(confirmed());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));

    // The dialog is kept and shown again; this time the user gives up.
    showActive(dialog.get());
    QTest::mouseClick(button(dialog.get(), QStringLiteral("Отмена")), Qt::LeftButton);
    QVERIFY(!confirmed());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));

    showActive(dialog.get());
    QTest::mouseClick(button(dialog.get(), QStringLiteral("Ok !")), Qt::LeftButton);
    QVERIFY(confirmed());
    showActive(dialog.get());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QVERIFY(!confirmed());
}

QTEST_MAIN(TstInputDialogs)
#include "tst_input_dialogs.moc"
