#include "ExportWords.h"

#include <QStringList>

namespace papyrant::bench {
namespace {

const QStringList Words{"soil", "carbon", "nitrogen", "grassland", "root", "microbial", "respiration", "field",
    "experiment", "plots", "measured", "increased", "under", "long-term", "management", "effects", "tillage", "biomass",
    "seasonal", "climate", "warming", "moisture", "density", "samples", "across", "sites", "response", "treatment",
    "organic", "matter", "stocks", "depth", "yield", "crop", "rotation", "fertiliser", "phosphorus"};
const QStringList Surnames{"Berg", "Lund", "Costa", "Novak", "Huber", "Moreau", "Virtanen", "Olsen", "Kowalski", "Smit",
    "Silva", "Rocha", "Ahmed", "Grant", "Weber", "Tanaka", "Okafor", "Jensen", "Rossi", "Fischer"};
const QStringList Journals{"Journal of soil ecology", "Alpine ecology", "Soil reports", "Geoderma letters",
    "Soil biology and biochemistry", "Global change and soil", "Journal of tropical soils"};
const QStringList Months{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

int ExportWords::between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

QString ExportWords::sentence(int minWords, int maxWords)
{
    QStringList words;
    const int count = between(minWords, maxWords);
    for (int i = 0; i < count; ++i)
        words << word();
    words.front()[0] = words.front()[0].toUpper();
    return words.join(QLatin1Char(' ')) + QLatin1Char('.');
}

QString ExportWords::word()
{
    return Words[between(0, int(Words.size()) - 1)];
}

QString ExportWords::surname()
{
    return Surnames[between(0, int(Surnames.size()) - 1)];
}

QString ExportWords::journal()
{
    return Journals[between(0, int(Journals.size()) - 1)];
}

QString ExportWords::month()
{
    return Months[between(0, 11)];
}

QChar ExportWords::initial()
{
    return QLatin1Char(char('A' + between(0, 25)));
}

} // namespace papyrant::bench
