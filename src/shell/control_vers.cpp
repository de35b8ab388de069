#include "shell/control_vers.h"

#include "common/sql_literals.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <vector>

namespace {

// One statement of a group and what it adds; an empty column means the
// statement has nothing to test and runs whenever its group runs.
struct Step
{
    QString table;
    QString column;
    QString sql;
};

struct Group
{
    std::vector<Step> steps;
    QStringList message;
};

const std::vector<Group> &groups()
{
    static const std::vector<Group> all = {
        {{{"OPER", "IDSKLAD", "ALTER TABLE OPER ADD idsklad numeric(12,2)"},
          {"OPER", "IDSKLAD2", "ALTER TABLE OPER ADD idsklad2 numeric(12,2)"},
          {{}, {}, "UPDATE OPER SET IDSKLAD=0, IDSKLAD2=0"}},
         {QStringLiteral("Добавлены новое поле OPER.IDSKLAD"),
          QStringLiteral("После запуска программы выполните для каждого типа операции (приход, продажа, списание....)"),
          QStringLiteral("Сервис - <Привязка склада к операции> в верхнем выпадающем меню")}},
        {{{"CONFIG2", "OPENGRUPPA", "ALTER TABLE config2 ADD OPENGRUPPA Numeric(12,2)"},
          {{}, {}, "UPDATE config2 set opengruppa=1"}},
         {}},
        {{{"OPER", "OPRIX", "ALTER TABLE OPER ADD oprix numeric(12,2)"}, {{}, {}, "UPDATE OPER set oprix=1"}}, {}},
        {{{"CONFIG2", "OPLATA1", "ALTER TABLE config2 ADD OPLATA1 Numeric(12,2)"},
          {"CONFIG2", "OPLATA2", "ALTER TABLE config2 ADD OPLATA2 Numeric(12,2)"},
          {{}, {}, "UPDATE CONFIG2 SET OPLATA2=1946, OPLATA1=1947"}},
         {QStringLiteral("Добавлены новое поле CONFIG2.OPLATA"),
          QStringLiteral("В настройках организации можно указать вид оплаты для операций Поступление и Продажа")}},
        {{{"CONFIG2", "SVYVOD", "ALTER TABLE config2 ADD SVYVOD Character (100)"},
          {"TOVAR", "KOD5", "ALTER TABLE tovar ADD kod5 Character (25)"},
          {"TOVAR", "KOD52", "ALTER TABLE tovar ADD kod52 Character (25)"},
          {"TOVAR", "ATOLKOD", "ALTER TABLE tovar ADD atolkod Character (25)"},
          {{}, {}, "ALTER TABLE tovar ALTER name2 TYPE char(101)"},
          {{}, {}, "ALTER TABLE tovar ALTER name TYPE char(101)"}},
         {}},
        {{{"CONFIG2", "ATOLDIR", "ALTER TABLE config2 ADD ATOLDIR Character (200)"},
          {"CONFIG2", "ATOLFNAME", "ALTER TABLE config2 ADD ATOLFNAME Character (20)"},
          {"TOVAR", "ATOLOK", "ALTER TABLE tovar ADD ATOLOK Character (1)"},
          {"GRUPPAT", "ATOLOK", "ALTER TABLE gruppat ADD ATOLOK Character (1)"},
          {{}, "atol", "CREATE GENERATOR atol"},
          {{}, {}, "SET GENERATOR atol to 0"}},
         {}},
    };
    return all;
}

bool stepDone(Db &db, const Step &step)
{
    if (step.column.isEmpty())
        return false;
    if (step.table.isEmpty())
        return generatorExists(db, step.column);
    return FFindPole(db, step.table, step.column);
}

bool isTested(const Step &step)
{
    return !step.column.isEmpty();
}

} // namespace

bool FFindPole(Db &db, const QString &table, const QString &column)
{
    const DbRows rows = db.query(
        QStringLiteral("select R.RDB$RELATION_NAME, R.RDB$FIELD_POSITION, R.RDB$FIELD_NAME,\n"
                       "F.RDB$FIELD_LENGTH, F.RDB$FIELD_TYPE, F.RDB$FIELD_SCALE, F.RDB$FIELD_SUB_TYPE\n"
                       "from RDB$FIELDS F, RDB$RELATION_FIELDS R\n"
                       "where F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE and R.RDB$SYSTEM_FLAG = 0\n"
                       "and R.RDB$RELATION_NAME = %1\n"
                       "and R.RDB$FIELD_NAME = %2\n"
                       "order by R.RDB$RELATION_NAME, R.RDB$FIELD_POSITION")
            .arg(sqlText(table.toUpper()), sqlText(column.toUpper())));
    return rows.size() == 1;
}

bool generatorExists(Db &db, const QString &name)
{
    return !db.query(QStringLiteral("select 1 from RDB$GENERATORS where RDB$GENERATOR_NAME = ")
                     + sqlText(name.toUpper()))
                .isEmpty();
}

void FControlVers(Db &db, Desktop &desktop)
{
    for (const Group &group : groups()) {
        bool missing = false;
        for (const Step &step : group.steps)
            missing = missing || (isTested(step) && !stepDone(db, step));
        if (!missing)
            continue;
        for (const Step &step : group.steps) {
            if (stepDone(db, step))
                continue;
            db.exec(step.sql);
            db.commit();
        }
        if (!group.message.isEmpty())
            desktop.info(group.message);
    }
}
