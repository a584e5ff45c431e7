#include "core/ResultKeys.h"

namespace papyrant {

bool KeyWatch::stale()
{
    if (!m_stale)
        m_stale = m_db.changeStamp() != m_known;
    return m_stale;
}

void KeyWatch::followOwnWrites()
{
    if (!m_stale)
        m_known = m_db.changeStamp();
}

QString keyTest(const QString& condition, bool stale)
{
    if (!stale || condition.trimmed().isEmpty())
        return QStringLiteral("rowid = ?");
    return QStringLiteral("rowid = ? AND (") + condition + QLatin1Char(')');
}

QString skippedRecordsText(std::int64_t skipped)
{
    return QStringLiteral("The bibliography was changed by another program since the search: ")
        + QString::number(skipped) + QStringLiteral(" records no longer matched it and were left alone.");
}

} // namespace papyrant
