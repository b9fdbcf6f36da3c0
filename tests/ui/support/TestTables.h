#pragma once

#include <QTest>
#include <initializer_list>

// The data of a table-driven test whose rows are structs: one column "Row", each row named by
// its Name; the test takes it with QFETCH(tRow, Row). The struct needs Q_DECLARE_METATYPE.
template <class tRow>
void AddRows(std::initializer_list<tRow> Rows) {
    QTest::addColumn<tRow>("Row");
    for (const tRow& Row : Rows) {
        QTest::newRow(Row.Name) << Row;
    }
}

// The data of a test that runs once each way: a bool column and a named row for each value.
inline void EachWay(const char* szColumn, const char* szWhenFalse, const char* szWhenTrue) {
    QTest::addColumn<bool>(szColumn);
    QTest::newRow(szWhenFalse) << false;
    QTest::newRow(szWhenTrue) << true;
}
