#include "MedlineExportGenerator.h"

#include <QStringList>

namespace papyrant::bench {
MedlineExportGenerator::MedlineExportGenerator(std::uint64_t seed)
    : m_words(seed)
{
}

QString MedlineExportGenerator::indented(const QString& text) const
{
    // Lines of at most 80 characters, later ones indented as the format does.
    QString out;
    int lineLength = 6;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (lineLength + word.size() + 1 > 80) {
            out += QStringLiteral("\n      ");
            lineLength = 6;
        } else if (!out.isEmpty()) {
            out += QLatin1Char(' ');
            ++lineLength;
        }
        out += word;
        lineLength += int(word.size());
    }
    return out;
}

QString MedlineExportGenerator::record(int number)
{
    const int year = m_words.between(1995, 2024);
    const QString month = m_words.month();
    const QString journal = m_words.journal();
    QString r;
    r += QStringLiteral("PMID- %1\nOWN - NLM\nSTAT- MEDLINE\nDCOM- %20412\nLR  - %20412\n")
             .arg(30000000 + number)
             .arg(year);
    r += QStringLiteral("IS  - 1573-5036 (Electronic)\nVI  - %1\nIP  - %2\n")
             .arg(m_words.between(1, 300))
             .arg(m_words.between(1, 12));
    r += QStringLiteral("DP  - %1 %2\n").arg(year).arg(month);
    r += QStringLiteral("TI  - ") + indented(m_words.sentence(8, 22)) + QLatin1Char('\n');
    if (number % 20 != 19)
        r += QStringLiteral("PG  - %1-%2\n").arg(m_words.between(1, 500)).arg(m_words.between(501, 900));
    r += QStringLiteral("LID - 10.1000/jse.%1 [doi]\n").arg(number);
    QStringList abstract;
    for (int i = m_words.between(5, 8); i > 0; --i)
        abstract << m_words.sentence(12, 26);
    r += QStringLiteral("AB  - ") + indented(abstract.join(QLatin1Char(' '))) + QLatin1Char('\n');
    for (int i = m_words.between(2, 8); i > 0; --i) {
        const QString surname = m_words.surname();
        const QChar initial = m_words.initial();
        r += QStringLiteral("FAU - %1, %2.\nAU  - %1 %2\n").arg(surname).arg(initial);
        if (i % 2 == 0)
            r += QStringLiteral("AD  - Department of Soil Science, University of %1, %1.\n").arg(surname);
    }
    r += QStringLiteral("LA  - eng\nPT  - Journal Article\nPL  - Netherlands\n");
    r += QStringLiteral("TA  - J Soil\nJT  - %1\nJID - %2\nSB  - IM\n").arg(journal).arg(9100000 + number % 997);
    for (int i = m_words.between(3, 10); i > 0; --i)
        r += QStringLiteral("MH  - ") + m_words.word() + QStringLiteral("/*analysis\n");
    r += QStringLiteral("EDAT- %1/01/10 06:00\nMHDA- %1/04/13 06:00\nCRDT- %1/01/10 06:00\n").arg(year);
    r += QStringLiteral("AID - 10.1000/jse.%1 [doi]\nPST - ppublish\n").arg(number);
    r += QStringLiteral("SO  - J Soil. %1 %2;12(3):211-224. doi: 10.1000/jse.%3.\n").arg(year).arg(month).arg(number);
    return r;
}

QString MedlineExportGenerator::make(int count)
{
    QString text = QStringLiteral("\n");
    for (int i = 0; i < count; ++i) {
        text += record(i);
        text += QLatin1Char('\n');
    }
    return text;
}

} // namespace papyrant::bench
