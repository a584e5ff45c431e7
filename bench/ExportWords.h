#pragma once
// The words, names and journals of generated exports, drawn from one seeded generator so
// every export of a size is the same from run to run.

#include <QString>

#include <cstdint>
#include <random>

namespace papyrant::bench {

class ExportWords {
public:
    explicit ExportWords(std::uint64_t seed)
        : m_random(seed)
    {
    }

    int between(int low, int high);
    // A sentence of minWords to maxWords words, capitalised, with a full stop.
    QString sentence(int minWords, int maxWords);
    QString word();
    QString surname();
    QString journal();
    QString month();
    QChar initial();

private:
    std::mt19937_64 m_random;
};

} // namespace papyrant::bench
