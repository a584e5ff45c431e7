#include "BibliographyGenerator.h"

#include "core/Database.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"

#include <QStringList>

namespace papyrant::bench {
namespace {

const QStringList Vocabulary = QString(
    "gene therapy virus cell protein receptor expression tumour cancer immune response clinical trial patients "
    "randomised controlled study cohort analysis mouse model signalling pathway kinase inhibitor dose treatment "
    "outcome survival mortality risk factor association genome sequencing transcription regulation membrane "
    "transport metabolism insulin diabetes obesity inflammation cytokine antibody vaccine infection bacterial "
    "resistance antibiotic microbiome neuron synapse brain cognitive memory behaviour stress hormone cortisol "
    "cardiac heart vascular blood pressure hypertension stroke renal liver hepatic lung pulmonary asthma airway "
    "imaging resonance tomography ultrasound biomarker diagnosis screening prevalence incidence epidemiology "
    "children adults elderly women men population survey questionnaire quality life pain surgery postoperative "
    "complications rehabilitation exercise nutrition diet vitamin supplementation deficiency oxidative damage "
    "repair apoptosis proliferation differentiation stem development embryo plant soil climate water species")
                                   .split(QLatin1Char(' '));

const QStringList Surnames = QString(
    "Smith Müller García Rossi Nowak Kowalski Tanaka Wang Li Chen Kim Johnson Brown Dubois Martin Jensen Larsen "
    "Novák Horváth Papadopoulos Ivanov Silva Santos Costa Öztürk Yılmaz Andersson Nilsson Virtanen O'Brien")
                                 .split(QLatin1Char(' '));

const QStringList Categories
    = QString("Reviews|Methods|Genetics|Oncology|Immunology|Neurology|Cardiology|Epidemiology|Nutrition|Microbiology|"
              "Pharmacology|Surgery|Paediatrics|Ecology|Imaging|Crohn's disease|Statistics|Teaching|To read|None")
          .split(QLatin1Char('|'));

const QStringList Languages
    = QString("English|German|French|Spanish|Italian|Polish|Japanese|Chinese|Russian|Portuguese")
          .split(QLatin1Char('|'));

const QStringList Types = QString("Journal Article|Review|Letter|Editorial|Clinical Trial|Meta-Analysis|Case Reports")
                              .split(QLatin1Char('|'));

} // namespace

BibliographyGenerator::BibliographyGenerator(std::uint64_t seed)
    : m_random(seed)
{
}

int BibliographyGenerator::between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

bool BibliographyGenerator::chance(double p)
{
    return std::bernoulli_distribution(p)(m_random);
}

QString BibliographyGenerator::words(int minChars, int maxChars)
{
    const int length = between(minChars, maxChars);
    QString text;
    text.reserve(length + 16);
    while (text.size() < length) {
        if (!text.isEmpty())
            text += chance(0.08) ? QStringLiteral(", ") : QStringLiteral(" ");
        text += Vocabulary[between(0, Vocabulary.size() - 1)];
    }
    text.truncate(length);
    return text;
}

QString BibliographyGenerator::authors(int minChars, int maxChars)
{
    const int length = between(minChars, maxChars);
    QString text;
    while (text.size() < length) {
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += Surnames[between(0, Surnames.size() - 1)] + QLatin1Char(' ') + QChar(u'A' + between(0, 25));
    }
    return text;
}

GeneratedRecord BibliographyGenerator::next()
{
    GeneratedRecord r;
    // Some titles come again, as when the same export is poured in twice.
    if (!m_recentTitles.empty() && chance(0.05)) {
        r[Title] = m_recentTitles[between(0, static_cast<int>(m_recentTitles.size()) - 1)];
    } else {
        r[Title] = words(60, 200);
        if (m_recentTitles.size() < 500)
            m_recentTitles.push_back(r[Title]);
        else
            m_recentTitles[between(0, 499)] = r[Title];
    }
    r[Authors] = authors(20, 300);
    r[Author_address]
        = QStringLiteral("Department of %1, University of %2")
              .arg(Vocabulary[between(0, Vocabulary.size() - 1)], Surnames[between(0, Surnames.size() - 1)]);
    r[Source] = QStringLiteral("J %1 %2;%3(%4):%5-%6")
                    .arg(Vocabulary[between(0, Vocabulary.size() - 1)])
                    .arg(between(1950, 2026))
                    .arg(between(1, 80))
                    .arg(between(1, 12))
                    .arg(between(1, 400))
                    .arg(between(401, 800));
    r[Publishing_year] = QString::number(between(1950, 2026));
    r[Keywords] = words(20, 120);
    r[Publication_type] = Types[between(0, Types.size() - 1)];
    r[Language] = Languages[std::min(between(0, 14), 9)]; // English most often
    r[Abstract] = words(500, 3000);
    r[Personal] = EmptyFieldMarker;
    r[Entry_Date] = QStringLiteral("%1.%2.20%3").arg(between(1, 28)).arg(between(1, 12)).arg(between(10, 26));
    r[Category] = Categories[between(0, Categories.size() - 1)];
    for (int i = Authors; i <= Publication_type; ++i) {
        if (chance(0.10))
            r[i] = EmptyFieldMarker;
    }
    if (chance(0.10))
        r[Abstract] = EmptyFieldMarker;
    r[TitelS] = r[Title].left(250);
    return r;
}

std::vector<GeneratedRecord> BibliographyGenerator::make(int count)
{
    std::vector<GeneratedRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i)
        records.push_back(next());
    return records;
}

namespace {

template <typename NextRecord>
void appendEach(Database& db, int count, NextRecord next)
{
    Database::Transaction batch(db);
    RecordSet table(db, QStringLiteral("Abstracts"));
    for (int i = 0; i < count; ++i) {
        const GeneratedRecord record = next(i);
        table.addNew();
        for (int c = 0; c < ColumnCount; ++c)
            table.setValue(c, record[c]);
        table.update();
    }
    batch.commit();
}

} // namespace

void appendRecords(Database& db, const std::vector<GeneratedRecord>& records)
{
    appendEach(db, static_cast<int>(records.size()), [&](int i) { return records[i]; });
}

void appendGenerated(Database& db, int count, BibliographyGenerator& generator)
{
    appendEach(db, count, [&](int) { return generator.next(); });
}

} // namespace papyrant::bench
