#include "RisExportGenerator.h"

#include <QStringList>

namespace papyrant::bench {

RisExportGenerator::RisExportGenerator(std::uint64_t seed)
    : m_words(seed)
{
}

QString RisExportGenerator::record(int number)
{
    const bool older = number % 4 == 1;
    const auto line = [](const char* tag, const QString& value) {
        return QLatin1String(tag) + QStringLiteral("  - ") + value + QLatin1Char('\n');
    };
    QString authors;
    for (int i = m_words.between(2, 8); i > 0; --i)
        authors += line(older ? "A1" : "AU", m_words.surname() + QStringLiteral(", ") + m_words.initial() + u'.');
    const QString year = QString::number(m_words.between(1995, 2024));
    QString r = line("TY", QStringLiteral("JOUR"));
    if (number % 20 != 19)
        r += line(older ? "T1" : "TI", m_words.sentence(8, 22));
    if (number % 10 != 3)
        r += authors;
    r += line(older ? "Y1" : "PY", older ? year + QStringLiteral("///") : year);
    if (number % 10 == 3)
        r += authors;
    r += line(older ? "JF" : "JO", m_words.journal());
    r += line("VL", QString::number(m_words.between(1, 300)));
    r += line("IS", QString::number(m_words.between(1, 12)));
    r += line("SP", QString::number(m_words.between(1, 500)));
    r += line("EP", QString::number(m_words.between(501, 900)));
    QStringList abstract;
    for (int i = m_words.between(7, 11); i > 0; --i)
        abstract << m_words.sentence(12, 26);
    r += line(older ? "N2" : "AB", abstract.join(QLatin1Char(' ')));
    for (int i = m_words.between(3, 10); i > 0; --i)
        r += line("KW", m_words.word() + QLatin1Char(' ') + m_words.word());
    r += line("LA", QStringLiteral("eng"));
    r += line("N1", m_words.sentence(10, 20));
    r += line("DO", QStringLiteral("10.1000/jse.%1").arg(number));
    r += line("UR", QStringLiteral("https://doi.org/10.1000/jse.%1").arg(number));
    r += QStringLiteral("ER  - \n\n");
    return r;
}

QString RisExportGenerator::make(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += record(i);
    return text;
}

} // namespace papyrant::bench
