#include "maintenance/ScanRecords.h"

#include "core/RecordModel.h"
#include "maintenance/RepeatedRecords.h"

#include <QHash>

namespace papyrant {
namespace {

std::size_t fingerprint(const QString& title)
{
    return qHash(normalisedValue(title));
}

} // namespace

ScanRecords::ScanRecords(Database& db)
    : m_records(db, ScanStatement, columnName(Title),
        [this](const QString& title) { m_fingerprints.push_back(fingerprint(title)); })
{
    m_records.moveFirst();
}

bool ScanRecords::moveNextMayPair()
{
    const std::size_t previous = currentFingerprint();
    m_records.moveNext();
    return !m_records.eof() && currentFingerprint() == previous;
}

void ScanRecords::titleChanged(const QString& title)
{
    const int slot = m_records.currentSlot();
    if (slot >= 0 && slot < static_cast<int>(m_fingerprints.size()))
        m_fingerprints[slot] = fingerprint(title);
}

std::size_t ScanRecords::currentFingerprint() const
{
    const int slot = m_records.currentSlot();
    if (slot < 0 || slot >= static_cast<int>(m_fingerprints.size()))
        throw StoreError("there is no current record");
    return m_fingerprints[slot];
}

} // namespace papyrant
