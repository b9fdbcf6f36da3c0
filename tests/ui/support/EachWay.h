#pragma once

#include <QTest>

// The data of a test that runs once each way: a bool column and a named row for each value.
inline void EachWay(const char* szColumn, const char* szWhenFalse, const char* szWhenTrue) {
    QTest::addColumn<bool>(szColumn);
    QTest::newRow(szWhenFalse) << false;
    QTest::newRow(szWhenTrue) << true;
}
