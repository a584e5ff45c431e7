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

ResultExport::~ResultExport() = default;

void ResultExport::readBatch()
{
    m_batchStart = m_next;
    const int count = std::min(BatchSize, static_cast<int>(m_keys.size()) - m_next);
    // The batch's keys sorted, each with its place in the batch, to find a row's place.
    std::vector<std::pair<std::int64_t, int>> places;
    places.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        places.emplace_back(m_keys[std::size_t(m_next + i)], i);
    std::sort(places.begin(), places.end());
    m_batch.assign(std::size_t(count), std::nullopt);
    storeCall([&] {
        StatementUse use(*m_read);
        for (int i = 0; i < count; ++i)
            use->bind(i + 1, static_cast<int64_t>(m_keys[std::size_t(m_next + i)]));
        while (use->executeStep()) {
            const std::int64_t key = use->getColumn(0).getInt64();
            const auto place = std::lower_bound(places.begin(), places.end(), std::pair<std::int64_t, int>{key, 0});
            if (place == places.end() || place->first != key)
                continue;
            RecordValues& values = m_batch[std::size_t(place->second)].emplace();
            for (int column = 0; column < CitedColumns; ++column) {
                const SQLite::Column value = use->getColumn(column + 1);
                values[std::size_t(column)] = QString::fromUtf8(value.getText(), value.getBytes());
            }
        }
    });
}

StepOutcome ResultExport::fail(const QString& reason)
{
    m_failure = reason;
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
    }
    const int total = static_cast<int>(m_keys.size());
    try {
        while (m_next < total) {
            if (m_next - m_batchStart >= static_cast<int>(m_batch.size()))
                readBatch();
            const std::optional<RecordValues>& record = m_batch[std::size_t(m_next - m_batchStart)];
            if (record && !m_file.write(*record))
                return fail(m_file.failure());
            ++m_next;
            if (budget.spent())
                return StepOutcome::more();
        }
    } catch (const std::exception& error) {
        return fail(errorText(error));
    }
    if (const auto failure = m_file.finish())
        return fail(*failure);
    return StepOutcome::done();
}

} // namespace papyrant
