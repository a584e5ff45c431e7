#pragma once
// Text exports in RIS, for timing the reading of tagged exports: records of about 2 KB
// written as exporters differ. Every fourth record uses the older tags (T1, A1, Y1, JF),
// every tenth has its authors after the year, and every twentieth has no title: it is read
// but has nothing to store, and goes to manual adding.

#include "ExportWords.h"

#include <QString>

#include <cstdint>

namespace papyrant::bench {

class RisExportGenerator {
public:
    explicit RisExportGenerator(std::uint64_t seed = 20260505);

    QString make(int count);
    static int recordsWithoutTitle(int count) { return count / 20; }

private:
    QString record(int number);

    ExportWords m_words;
};

} // namespace papyrant::bench
