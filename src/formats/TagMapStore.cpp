#include "formats/TagMapStore.h"

#include "core/Database.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "core/LabelsFile.h"
#include "formats/ReadyTagMaps.h"

namespace papyrant {
namespace {

const QString Table = QStringLiteral("tagmaps");
const QString NameColumn = QStringLiteral("Name");
const QString FormatColumn = QStringLiteral("Format");

// Column of each TagTarget's rule: the field's column, then the parts of the source.
const std::array<QString, TagTargetCount>& ruleColumns()
{
    static const std::array<QString, TagTargetCount> columns = [] {
        std::array<QString, TagTargetCount> made;
        for (int i = 0; i <= int(TagTarget::Abstract); ++i)
            made[std::size_t(i)] = columnName(i); // the field's column
        made[std::size_t(TagTarget::Volume)] = QStringLiteral("Volume");
        made[std::size_t(TagTarget::Issue)] = QStringLiteral("Issue");
        made[std::size_t(TagTarget::FirstPage)] = QStringLiteral("First_page");
        made[std::size_t(TagTarget::LastPage)] = QStringLiteral("Last_page");
        return made;
    }();
    return columns;
}

bool hasTable(Database& db)
{
    RecordSet found(db,
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = '%1' COLLATE NOCASE")
            .arg(Table));
    return found.recordCount() > 0;
}

QString lookupQuery(const QString& name)
{
    return QStringLiteral("Select tagmaps.* From tagmaps Where (tagmaps.Name = '") + sqlLiteralBody(name)
        + QStringLiteral("')");
}

// A map read from a table of another shape would come back with rules silently missing.
void requireRuleColumns(const RecordSet& rows)
{
    for (const QString& column : ruleColumns()) {
        if (rows.columnIndex(column) < 0)
            throw StoreError(QStringLiteral("there is no column %1").arg(column).toStdString());
    }
}

TagMap mapOfRow(const RecordSet& row)
{
    TagMap map;
    map.name = row.value(NameColumn);
    map.format = taggedFormatNamed(row.value(FormatColumn));
    for (int i = 0; i < TagTargetCount; ++i)
        map.rules[std::size_t(i)] = ruleFromText(row.value(ruleColumns()[std::size_t(i)]));
    return map;
}

// The saved map's row, current; nothing when the map (or the whole table) is not there.
std::unique_ptr<RecordSet> findRow(Database& db, const QString& name)
{
    if (!hasTable(db))
        return nullptr;
    auto found = std::make_unique<RecordSet>(db, lookupQuery(name));
    requireRuleColumns(*found);
    if (found->recordCount() == 0)
        return nullptr;
    found->moveFirst();
    return found;
}

bool exists(const QString& path, const QString& name)
{
    Database db(path);
    return findRow(db, name) != nullptr;
}

} // namespace

QString tagMapTableStatement()
{
    QString columns;
    for (const QString& column : ruleColumns())
        columns += QStringLiteral(", ") + column + QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS tagmaps (Name TEXT COLLATE NOCASE, Format TEXT") + columns
        + QLatin1Char(')');
}

TagMapStore::TagMapStore(Prompts& prompts, QString labelsPath)
    : LabelsFileStore(
        prompts, std::move(labelsPath), QStringLiteral("The tag map called %1 is no longer in the labels file."))
{
}

std::optional<QStringList> TagMapStore::names()
{
    return reading(QStringLiteral("The tag maps couldn't be read."), [&]() -> std::optional<QStringList> {
        Database db(m_path);
        QStringList names;
        if (!hasTable(db))
            return names;
        RecordSet rows(db, QStringLiteral("Select tagmaps.Name From tagmaps"));
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            names << rows.value(0);
        return names;
    });
}

std::optional<std::vector<TagMap>> TagMapStore::maps()
{
    return reading(QStringLiteral("The tag maps couldn't be read."), [&]() -> std::optional<std::vector<TagMap>> {
        Database db(m_path);
        std::vector<TagMap> maps;
        if (!hasTable(db))
            return maps;
        RecordSet rows(db, QStringLiteral("Select tagmaps.* From tagmaps"));
        requireRuleColumns(rows);
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            maps.push_back(mapOfRow(rows));
        return maps;
    });
}

std::optional<TagMap> TagMapStore::load(const QString& name, bool* vanished)
{
    if (vanished)
        *vanished = false;
    return reading(QStringLiteral("The tag maps couldn't be read."), [&]() -> std::optional<TagMap> {
        Database db(m_path);
        const auto row = findRow(db, name);
        if (!row) {
            tellVanished(name);
            if (vanished)
                *vanished = true;
            return std::nullopt;
        }
        return mapOfRow(*row);
    });
}

QString TagMapStore::askName(
    const QString& prompt, const QString& title, const QString& proposed, bool offerOverwrite, bool* overwrite)
{
    QString extraLine;
    QString name = proposed;
    for (;;) {
        name = m_prompts.input(extraLine + prompt, title, name).trimmed();
        if (name.isEmpty())
            return {};
        if (readyTagMapNamed(name)) {
            extraLine = name + QStringLiteral(" is the name of a ready-made tag map.") + QLatin1Char('\n');
            continue;
        }
        if (!exists(m_path, name))
            return name;
        if (!offerOverwrite) {
            extraLine = QStringLiteral("You already have a tag map called ") + name + QLatin1Char('\n');
            continue;
        }
        const QString question = QStringLiteral("You already have a tag map called ") + name + QLatin1Char('\n')
            + QStringLiteral("Do you want to overwrite it?");
        if (m_prompts.message(
                question, programTitle(), PromptButtons::YesNo, PromptIcon::Exclamation, PromptButton::Yes)
            == PromptButton::Yes) {
            *overwrite = true;
            return name;
        }
        extraLine.clear();
    }
}

LabelChange TagMapStore::save(const TagMap& map)
{
    return changing(
        QStringLiteral("The tag map couldn't be saved; the labels file is unchanged."), [&]() -> LabelChange {
            bool overwrite = false;
            const QString name = askName(QStringLiteral("Please type the name of the new tag map"),
                QStringLiteral("New tag map"), map.name, true, &overwrite);
            if (name.isEmpty())
                return {LabelChange::Declined, {}};
            return inTransaction([&](Database& db) -> LabelChange {
                db.execute(tagMapTableStatement());
                if (overwrite) {
                    if (const auto row = findRow(db, name))
                        row->deleteCurrent();
                }
                RecordSet table(db, QStringLiteral("Select tagmaps.* From tagmaps"));
                table.addNew();
                table.setValue(NameColumn, name);
                table.setValue(FormatColumn, taggedFormatName(map.format));
                for (int i = 0; i < TagTargetCount; ++i)
                    table.setValue(ruleColumns()[std::size_t(i)], ruleText(map.rules[std::size_t(i)]));
                table.update();
                return {LabelChange::Done, name};
            });
        });
}

LabelChange TagMapStore::remove(const QString& name)
{
    if (!confirmed(QStringLiteral("You are going to delete the tag map ") + name + QLatin1Char('.') + QLatin1Char('\n')
                + QStringLiteral("Are you sure you want to delete it?"),
            QStringLiteral("Delete tag map")))
        return {LabelChange::Declined, {}};
    return changing(QStringLiteral("The tag map couldn't be deleted; the labels file is unchanged."), [&] {
        return inTransaction([&](Database& db) -> LabelChange {
            const auto row = findRow(db, name);
            if (!row)
                return tellVanished(name);
            row->deleteCurrent();
            return {LabelChange::Done, {}};
        });
    });
}

LabelChange TagMapStore::rename(const QString& oldName)
{
    return changing(
        QStringLiteral("The tag map couldn't be renamed; the labels file is unchanged."), [&]() -> LabelChange {
            const QString name = askName(QStringLiteral("Please type the new name of the tag map"),
                QStringLiteral("Rename tag map"), oldName, false, nullptr);
            if (name.isEmpty())
                return {LabelChange::Declined, {}};
            return inTransaction([&](Database& db) -> LabelChange {
                const auto row = findRow(db, oldName);
                if (!row)
                    return tellVanished(oldName);
                row->edit();
                row->setValue(NameColumn, name);
                row->update();
                return {LabelChange::Done, name};
            });
        });
}

} // namespace papyrant
