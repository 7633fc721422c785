// A row of a data table in one call, its name then its values in the order of the columns:
// Row("name", a, b) is QTest::newRow("name") << a << b.
#pragma once

#include <QTest>

template <class... Values> void Row(const char *name, const Values &...values) {
    (QTest::newRow(name) << ... << values);
}
