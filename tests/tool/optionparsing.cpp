#include "optionparsing.h"

#include "tool/console.h"

#include <QtTest>

void verifyRepeatableOptions()
{
    const tool::OptionSpec spec = { { "serial", "db" }, {}, { "serial" } };
    tool::Arguments parsed;
    QString error;
    QVERIFY(tool::parseArguments({ "--serial", "A", "x", "--serial=B" }, spec, &parsed, &error));
    QCOMPARE(parsed.values("serial"), QStringList({ "A", "B" }));
    QCOMPARE(parsed.positional, QStringList("x"));
    tool::Arguments twice;
    QVERIFY(!tool::parseArguments({ "--db", "a", "--db", "b" }, spec, &twice, &error));
    QCOMPARE(error, QString("option --db given twice"));
}
