#include "entry/LabelSets.h"

#include "core/Database.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "core/LabelsFile.h"

namespace papyrant {
namespace {

const QString NameColumn = QStringLiteral("Name");

// A set read from a file of another shape would come back with labels silently missing.
void requireLabelColumns(const RecordSet& rows)
{
    auto require = [&](const QString& column) {
        if (rows.columnIndex(column) < 0)
            throw StoreError(QStringLiteral("there is no column %1").arg(column).toStdString());
    };
    require(NameColumn);
    for (int i = 0; i < LabelFieldCount; ++i) {
        require(startLabelColumns()[i]);
        require(endLabelColumns()[i]);
    }
}

} // namespace

const std::array<QString, LabelFieldCount>& startLabelColumns()
{
    static const std::array<QString, LabelFieldCount> columns{QStringLiteral("Title1"), QStringLiteral("Authors1"),
        QStringLiteral("Authoradd1"), QStringLiteral("Source1"), QStringLiteral("PY1"), QStringLiteral("KeyW1"),
        QStringLiteral("PT1"), QStringLiteral("La1"), QStringLiteral("Ab1")};
    return columns;
}

const std::array<QString, LabelFieldCount>& endLabelColumns()
{
    static const std::array<QString, LabelFieldCount> columns{QStringLiteral("Title2"), QStringLiteral("Authors2"),
        QStringLiteral("Authoradd2"), QStringLiteral("Source2"), QStringLiteral("PY2"), QStringLiteral("keyW2"),
        QStringLiteral("PT2"), QStringLiteral("La2"), QStringLiteral("Ab2")};
    return columns;
}

QString labelSetNamesQuery()
{
    return QStringLiteral("Select abbreviations.Name From abbreviations");
}

QString labelSetLookupQuery(const QString& name)
{
    return QStringLiteral("Select abbreviations.* From abbreviations Where (abbreviations.name = '")
        + sqlLiteralBody(name) + QStringLiteral("')");
}

QString labelSetTableQuery()
{
    return QStringLiteral("Select abbreviations.* From abbreviations");
}

int earliestStartLabelField(const Labels& startLabels, QStringView text)
{
    int earliest = -1;
    qsizetype at = text.size();
    for (int i = 0; i < LabelFieldCount; ++i) {
        if (startLabels[i].isEmpty())
            continue;
        // Only what lies before the earliest label found so far needs searching.
        const qsizetype found = text.first(std::min(text.size(), at + startLabels[i].size())).indexOf(startLabels[i]);
        if (found >= 0 && found < at) {
            at = found;
            earliest = i;
        }
    }
    return earliest;
}

LabelSetStore::LabelSetStore(Prompts& prompts, QString labelsPath)
    : LabelsFileStore(
        prompts, std::move(labelsPath), QStringLiteral("The Labels called %1 are no longer in the labels file."))
{
}

bool LabelSetStore::exists(const QString& name) const
{
    Database db(m_path);
    RecordSet found(db, labelSetLookupQuery(name));
    return found.recordCount() > 0;
}

std::optional<QStringList> LabelSetStore::names()
{
    return reading(QStringLiteral("The labels couldn't be read."), [&]() -> std::optional<QStringList> {
        Database db(m_path);
        RecordSet rows(db, labelSetNamesQuery());
        QStringList names;
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            names << rows.value(0);
        return names;
    });
}

std::optional<LabelSet> LabelSetStore::load(const QString& name, bool* vanished)
{
    if (vanished)
        *vanished = false;
    return reading(QStringLiteral("The labels couldn't be read."), [&]() -> std::optional<LabelSet> {
        Database db(m_path);
        RecordSet found(db, labelSetLookupQuery(name));
        requireLabelColumns(found);
        if (found.recordCount() == 0) {
            tellVanished(name);
            if (vanished)
                *vanished = true;
            return std::nullopt;
        }
        found.moveFirst();
        LabelSet set;
        set.name = found.value(NameColumn);
        for (int i = 0; i < LabelFieldCount; ++i) {
            set.startLabels[i] = found.value(startLabelColumns()[i]);
            set.endLabels[i] = found.value(endLabelColumns()[i]);
        }
        return set;
    });
}

LabelChange LabelSetStore::save(const Labels& startLabels, const Labels& endLabels)
{
    return changing(
        QStringLiteral("The labels couldn't be saved; the labels file is unchanged."), [&]() -> LabelChange {
            QString name;
            bool overwrite = false;
            for (;;) {
                name = m_prompts.input(QStringLiteral("Please type the new abbreviations name"),
                    QStringLiteral("New abbreviations"), name);
                if (name.isEmpty())
                    return {LabelChange::Declined, {}};
                if (!exists(name))
                    break;
                const QString question = QStringLiteral("You already have abbreviations called ") + name
                    + QLatin1Char('\n') + QStringLiteral(" do you want to overwrite it?");
                if (m_prompts.message(
                        question, programTitle(), PromptButtons::YesNo, PromptIcon::Exclamation, PromptButton::Yes)
                    == PromptButton::Yes) {
                    overwrite = true;
                    break;
                }
            }
            return inTransaction([&](Database& db) -> LabelChange {
                if (overwrite) {
                    RecordSet found(db, labelSetLookupQuery(name));
                    if (found.recordCount() > 0) {
                        found.moveFirst();
                        found.deleteCurrent();
                    }
                }
                RecordSet table(db, labelSetTableQuery());
                requireLabelColumns(table);
                table.addNew();
                table.setValue(NameColumn, name);
                for (int i = 0; i < LabelFieldCount; ++i) {
                    table.setValue(startLabelColumns()[i], startLabels[i]);
                    table.setValue(endLabelColumns()[i], endLabels[i]);
                }
                table.update();
                return {LabelChange::Done, name};
            });
        });
}

LabelChange LabelSetStore::remove(const QString& name)
{
    if (!confirmed(QStringLiteral("You are going to delete ") + name + QStringLiteral(" Labels.") + QLatin1Char('\n')
                + QStringLiteral("Are you sure you want to delete it?"),
            QStringLiteral("Delete Labels")))
        return {LabelChange::Declined, {}};
    return changing(QStringLiteral("The labels couldn't be deleted; the labels file is unchanged."), [&] {
        return inTransaction([&](Database& db) -> LabelChange {
            RecordSet found(db, labelSetLookupQuery(name));
            requireLabelColumns(found);
            if (found.recordCount() == 0)
                return tellVanished(name);
            found.moveFirst();
            found.deleteCurrent();
            return {LabelChange::Done, {}};
        });
    });
}

LabelChange LabelSetStore::rename(const QString& oldName)
{
    return changing(
        QStringLiteral("The labels couldn't be renamed; the labels file is unchanged."), [&]() -> LabelChange {
            QString extraLine;
            QString name;
            for (;;) {
                name = m_prompts.input(extraLine + QStringLiteral("Please type the new Labels name"),
                    QStringLiteral("Rename Labels"), oldName);
                if (name.isEmpty())
                    return {LabelChange::Declined, {}};
                if (!exists(name))
                    break;
                extraLine = QStringLiteral("You already have abbreviations called ") + name + QLatin1Char('\n');
            }
            return inTransaction([&](Database& db) -> LabelChange {
                RecordSet found(db, labelSetLookupQuery(oldName));
                requireLabelColumns(found);
                if (found.recordCount() == 0)
                    return tellVanished(oldName);
                found.moveFirst();
                found.edit();
                found.setValue(NameColumn, name);
                found.update();
                return {LabelChange::Done, name};
            });
        });
}

} // namespace papyrant
