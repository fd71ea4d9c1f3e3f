#include "optionparsing.h"

#include "tool/console.h"

#include <QtTest>

void verifyRepeatableOptions()
{
    const tool::AcceptedOptions accepted = { { "serial", "db" }, {}, { "serial" } };
    tool::Arguments parsed;
    QString error;
    QVERIFY(tool::parseArguments({ "--serial", "A", "x", "--serial=B" }, accepted, &parsed, &error));
    QCOMPARE(parsed.values("serial"), QStringList({ "A", "B" }));
    QCOMPARE(parsed.positional, QStringList("x"));
    tool::Arguments twice;
    QVERIFY(!tool::parseArguments({ "--db", "a", "--db", "b" }, accepted, &twice, &error));
    QCOMPARE(error, QString("option --db given twice"));
}
