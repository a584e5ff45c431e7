#pragma once
// Realistic bibliographies for benchmarks: long abstracts, long author lists, some
// empty fields, a few dozen categories and languages, and some repeated titles.

#include <QString>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace papyrant {
class Database;
}

namespace papyrant::bench {

using GeneratedRecord = std::array<QString, 13>;

class BibliographyGenerator {
public:
    explicit BibliographyGenerator(std::uint64_t seed = 20261206);

    GeneratedRecord next();
    std::vector<GeneratedRecord> make(int count);

    // A word that appears in some records' titles, key words and abstracts.
    static QString searchWord() { return QStringLiteral("protein"); }

private:
    QString words(int minChars, int maxChars);
    QString authors(int minChars, int maxChars);
    int between(int low, int high);
    bool chance(double p);

    std::mt19937_64 m_random;
    std::vector<QString> m_recentTitles;
};

// Adds the records to the bibliography through the record store, in one transaction.
void appendRecords(Database& db, const std::vector<GeneratedRecord>& records);
// Adds count records made by the generator as they are needed, in one transaction.
void appendGenerated(Database& db, int count, BibliographyGenerator& generator);

} // namespace papyrant::bench
