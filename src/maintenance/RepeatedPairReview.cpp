#include "maintenance/RepeatedPairReview.h"

namespace papyrant {

RepeatedPairReview::RepeatedPairReview(DataBinding& data, Prompts& prompts)
    : m_data(data)
    , m_prompts(prompts)
{
}

void RepeatedPairReview::findNext()
{
    m_boxes = {};
    try {
        // One read transaction for the whole search: the file stays locked for reading
        // once, instead of once per record read.
        Database& db = m_data.database();
        Database::Transaction reading(db);
        if (!m_scanStarted) {
            m_scan = std::make_unique<ScanRecords>(db);
            m_scanStarted = true;
        } else {
            // Resume with the second record of the pair shown last: step back to the first
            // when the second is on view, then one forward. When the second was removed,
            // that lands on the record that followed it. Nothing is shown on the way, so a
            // first record removed from the top of the list is never read.
            if (m_shown == Shown::Second) {
                m_shown = Shown::First;
                records().movePrevious();
            }
            records().moveNext();
        }
        while (!records().eof()) {
            if (m_scan->moveNextMayPair() && titlesEqual()) {
                showRepeatedPair();
                reading.commit();
                return;
            }
        }
        reading.commit();
    } catch (const std::exception& error) {
        abandonScan(error);
        return;
    }
    endOfRecords();
}

bool RepeatedPairReview::titlesEqual()
{
    records().movePrevious();
    const QString title = normalisedValue(records().value(Title));
    records().moveNext();
    return normalisedValue(records().value(Title)) == title;
}

void RepeatedPairReview::endOfRecords()
{
    m_prompts.notice(QStringLiteral("There are no more similar records"));
    restartScan();
    clearDisplay();
}

void RepeatedPairReview::showRepeatedPair()
{
    // The search stands on the second record; the first comes on view.
    records().movePrevious();
    m_shown = Shown::First;
    showCurrentRecord();
    computeMarksFromFirst();
    m_firstAvailable = true;
    m_secondAvailable = true;
    m_actionsEnabled = true;
}

void RepeatedPairReview::computeMarksFromFirst()
{
    if (m_shown == Shown::Second)
        records().movePrevious();
    const FieldValues first = normalisedFields(records());
    records().moveNext();
    m_marks = similarityMarks(first, normalisedFields(records()));
    if (m_shown == Shown::First)
        records().movePrevious();
}

void RepeatedPairReview::showCurrentRecord()
{
    const FieldValues values = normalisedFields(records());
    for (int i = 0; i < FieldCount; ++i)
        m_boxes[i] = isEmptyField(values[i]) ? QString() : values[i];
}

void RepeatedPairReview::select(Shown shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    if (shown == Shown::First)
        records().movePrevious();
    else
        records().moveNext();
    showCurrentRecord();
}

void RepeatedPairReview::showFirst()
{
    if (!m_firstAvailable)
        return;
    try {
        select(Shown::First);
    } catch (const std::exception& error) {
        abandonScan(error);
    }
}

void RepeatedPairReview::showSecond()
{
    if (!m_secondAvailable)
        return;
    try {
        select(Shown::Second);
    } catch (const std::exception& error) {
        abandonScan(error);
    }
}

void RepeatedPairReview::updateCurrent(const FieldValues& typed)
{
    if (!m_actionsEnabled)
        return;
    try {
        records().edit();
        QString title;
        for (int i = 0; i < FieldCount; ++i) {
            // A box holding only blanks or line breaks is as empty as one holding nothing:
            // the record keeps the marker rather than an empty text.
            QString value = normalisedValue(typed[i]);
            if (value.isEmpty())
                value = EmptyFieldMarker;
            records().setValue(i, value);
            if (i == Title)
                title = value;
        }
        records().setValue(TitelS, title);
        records().update();
        m_scan->titleChanged(title);
    } catch (const std::exception& error) {
        records().cancelUpdate();
        reportFailure(QStringLiteral("Can't update this record"), error);
        return;
    }
    m_boxes = typed;
    if (!m_firstAvailable || !m_secondAvailable)
        return;
    try {
        computeMarksFromFirst();
    } catch (const std::exception& error) {
        abandonScan(error);
    }
}

void RepeatedPairReview::removeCurrent()
{
    if (!removeEnabled())
        return;
    try {
        records().deleteCurrent();
    } catch (const std::exception& error) {
        reportFailure(QStringLiteral("Can't remove this record"), error);
        return;
    }
    const Shown removed = m_shown;
    (removed == Shown::First ? m_firstAvailable : m_secondAvailable) = false;
    m_marks = {};
    try {
        select(removed == Shown::First ? Shown::Second : Shown::First);
    } catch (const std::exception& error) {
        abandonScan(error);
    }
}

void RepeatedPairReview::clearDisplay()
{
    m_boxes = {};
    m_marks = {};
    m_firstAvailable = false;
    m_secondAvailable = false;
    m_actionsEnabled = false;
}

void RepeatedPairReview::restartScan()
{
    m_scanStarted = false;
    m_scan.reset();
}

void RepeatedPairReview::abandonScan(const std::exception& error)
{
    // The set no longer matches the bibliography (records changed elsewhere, a lock):
    // the next search starts afresh from the first record.
    restartScan();
    clearDisplay();
    reportFailure(QStringLiteral("Can't look for repeated records"), error);
}

void RepeatedPairReview::reportFailure(const QString& sentence, const std::exception& error)
{
    m_prompts.notice(sentence + QLatin1Char('\n') + errorText(error));
}

} // namespace papyrant
