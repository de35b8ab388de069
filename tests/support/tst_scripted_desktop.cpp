#include "scripted_desktop.h"

#include <QTest>

class TstScriptedDesktop : public QObject
{
    Q_OBJECT

private slots:
    void answersInOrderAndRecords();
};

void TstScriptedDesktop::answersInOrderAndRecords()
{
    ScriptedDesktop desktop;
    desktop.answer(true);
    desktop.answer(false);
    desktop.answerFile(QStringLiteral("/tmp/a.sql"));
    desktop.info({QStringLiteral("Выполнено")});
    QVERIFY(desktop.ask({QStringLiteral("Удалить запись ?")}));
    QVERIFY(!desktop.ask({QStringLiteral("Точно"), QStringLiteral("?")}));
    QCOMPARE(desktop.openFile(QString(), QString(), QString()), QStringLiteral("/tmp/a.sql"));
    desktop.error({QStringLiteral("a"), QStringLiteral("b")});
    QCOMPARE(desktop.texts(), (QStringList{QStringLiteral("Выполнено"), QStringLiteral("Удалить запись ?"),
                                            QStringLiteral("Точно\n?"), QStringLiteral("a\nb")}));
    QCOMPARE(desktop.messages().last().kind, ScriptedDesktop::Kind::Error);
}

QTEST_GUILESS_MAIN(TstScriptedDesktop)
#include "tst_scripted_desktop.moc"
