#pragma once
// One data row of a table-driven test: its name, then its columns in the order the test
// adds them.

#include <QTest>

namespace papyrant::test {

template <typename... Values>
void row(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

} // namespace papyrant::test
