#include "search/ResultExport.h"

#include "core/CommonPrompts.h"
#include "core/Database.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "search/ResultFiles.h"

#include <QFileInfo>
#include <QStringList>

#include <SQLiteCpp/Column.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace papyrant {
namespace {

// Title ... Personal: the columns a citation writer reads.
constexpr int CitedColumns = Personal + 1;

} // namespace

std::optional<ChosenFile> chooseExportFile(Prompts& prompts, const QString& bibName)
{
    return askOutputFile(
        prompts, ExportTitle, CitationFileFilter, bibName, [](const ChosenFile& chosen) -> std::optional<QString> {
            const QString suffix = QFileInfo(chosen.fileTitle).suffix();
            if (fileTaken(chosen, suffix.isEmpty() ? chosen.fileTitle : QStringLiteral("*.") + suffix))
                return chosen.fileTitle;
            return std::nullopt;
        });
}

RecordValues currentRecordValues(const RecordSet& records)
{
    RecordValues values;
    for (int column = 0; column < ColumnCount; ++column)
        values[std::size_t(column)] = records.value(columnName(column));
    return values;
}

ResultExport::ResultExport(Database& db, std::vector<std::int64_t> keys, CitationFormat format, const QString& path)
    : m_keys(std::move(keys))
    , m_file(format, path)
{
    // Entry date, category and sort key are no part of a citation: they are not read.
    QStringList columns;
    for (int column = 0; column < CitedColumns; ++column)
        columns << columnName(column);
    // Unbound places are NULL and match no row: the last, shorter batch uses the same
    // statement.
    QStringList places;
    for (int i = 0; i < BatchSize; ++i)
        places << QStringLiteral("?");
    m_read = storeCall([&] {
        return std::make_unique<SQLite::Statement>(db.handle(),
            QStringLiteral("SELECT rowid, %1 FROM Abstracts WHERE rowid IN (%2)")
                .arg(columns.join(QStringLiteral(", ")), places.join(QStringLiteral(", ")))
                .toStdString());
    });
}

ResultExport::~ResultExport()
{
    stopWriter();
}

void ResultExport::stopWriter()
{
    if (!m_writer.joinable())
        return;
    {
        const std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    m_writer.join();
}

void ResultExport::readBatch(Batch& batch)
{
    const int count = std::min(BatchSize, static_cast<int>(m_keys.size()) - m_keysRead);
    // The batch's keys sorted, each with its place in the batch, to find a row's place.
    std::vector<std::pair<std::int64_t, int>> places;
    places.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        places.emplace_back(m_keys[std::size_t(m_keysRead + i)], i);
    std::sort(places.begin(), places.end());
    // The records of the batch before share the values' texts: dropped first, the texts
    // are the values' alone again and are decoded into without a copy.
    batch.records.clear();
    batch.values.resize(std::size_t(count));
    batch.found.assign(std::size_t(count), false);
    storeCall([&] {
        StatementUse use(*m_read);
        for (int i = 0; i < count; ++i)
            use->bind(i + 1, static_cast<int64_t>(m_keys[std::size_t(m_keysRead + i)]));
        while (use->executeStep()) {
            const std::int64_t key = use->getColumn(0).getInt64();
            const auto place = std::lower_bound(places.begin(), places.end(), std::pair<std::int64_t, int>{key, 0});
            if (place == places.end() || place->first != key)
                continue;
            batch.found[std::size_t(place->second)] = true;
            RecordValues& values = batch.values[std::size_t(place->second)];
            for (int column = 0; column < CitedColumns; ++column) {
                const SQLite::Column value = use->getColumn(column + 1);
                const int bytes = value.getBytes();
                // A byte of UTF-8 gives at most one UTF-16 code unit; truncating keeps the room.
                QString& text = values[std::size_t(column)];
                text.resize(bytes);
                const QChar* end = m_utf8.appendToBuffer(text.data(), QByteArrayView(value.getText(), bytes));
                text.truncate(end - text.constData());
            }
        }
    });
    batch.records.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        if (batch.found[std::size_t(i)])
            batch.records[std::size_t(i)] = citationRecord(batch.values[std::size_t(i)]);
    }
    m_keysRead += count;
}

void ResultExport::writeBatches()
{
    std::optional<QString> failure;
    for (;;) {
        std::unique_ptr<Batch> batch;
        {
            std::unique_lock lock(m_lock);
            m_changed.wait(lock, [&] { return m_stop || m_allRead || !m_full.empty(); });
            if (m_stop)
                return;
            if (m_full.empty())
                break; // all read and written
            batch = std::move(m_full.front());
            m_full.pop_front();
        }
        m_changed.notify_all();
        for (std::size_t i = 0; i < batch->found.size() && !failure; ++i) {
            if (m_stop)
                return;
            if (batch->found[i] && !m_file.write(batch->records[i]))
                failure = m_file.failure();
            else
                ++m_written;
        }
        if (failure)
            break;
        const std::lock_guard lock(m_lock);
        m_empty.push_back(std::move(batch));
    }
    // Putting the file in place waits until all of it is on the disk: hundreds of
    // milliseconds on a busy disk, which the writer waits, not the window.
    if (!failure)
        failure = m_file.finish();
    {
        const std::lock_guard lock(m_lock);
        m_writeFailure = failure;
        m_writerEnded = true;
    }
    m_changed.notify_all();
}

StepOutcome ResultExport::fail(const QString& reason)
{
    m_failure = reason;
    stopWriter();
    m_file.abandon();
    return StepOutcome::failed(m_failure);
}

StepOutcome ResultExport::step(const TickBudget& budget)
{
    if (!m_failure.isEmpty())
        return StepOutcome::failed(m_failure);
    if (!m_started) {
        if (const auto failure = m_file.start())
            return fail(*failure);
        m_started = true;
        m_writer = std::thread([this] { writeBatches(); });
    }
    const auto remaining = [&] { return std::chrono::milliseconds(std::max<qint64>(budget.remainingMs(), 0)); };
    const int total = static_cast<int>(m_keys.size());
    try {
        while (m_keysRead < total) {
            std::unique_ptr<Batch> batch;
            {
                // The writer is behind: the tick waits for it, at most its own length.
                std::unique_lock lock(m_lock);
                if (!m_changed.wait_for(
                        lock, remaining(), [&] { return m_writerEnded || m_full.size() < std::size_t(BatchesAhead); }))
                    return StepOutcome::more();
                if (m_writerEnded)
                    break; // it failed
                if (!m_empty.empty()) {
                    batch = std::move(m_empty.back());
                    m_empty.pop_back();
                }
            }
            if (!batch)
                batch = std::make_unique<Batch>();
            readBatch(*batch);
            {
                const std::lock_guard lock(m_lock);
                m_full.push_back(std::move(batch));
            }
            m_changed.notify_all();
            if (budget.spent())
                return StepOutcome::more();
        }
    } catch (const std::exception& error) {
        return fail(errorText(error));
    }
    {
        std::unique_lock lock(m_lock);
        m_allRead = true;
        m_changed.notify_all();
        if (!m_changed.wait_for(lock, remaining(), [&] { return m_writerEnded; }))
            return StepOutcome::more();
    }
    m_writer.join();
    if (m_writeFailure)
        return fail(*m_writeFailure);
    return StepOutcome::done();
}

} // namespace papyrant
