#include "core/BibliographyCheck.h"

#include "core/RecordModel.h"

#include <QStringList>

namespace papyrant {
namespace {

const QString Table = QStringLiteral("Abstracts");

[[noreturn]] void refuse(const QString& reason)
{
    throw StoreError(reason.toStdString());
}

// SQLite's rule for a declared type: only a type naming CHAR, CLOB or TEXT (and not
// INT) keeps text as it was bound; the others turn "0042" into 42.
bool declaresText(const QString& type)
{
    const QString upper = type.toUpper();
    return !upper.contains(QLatin1String("INT"))
        && (upper.contains(QLatin1String("CHAR")) || upper.contains(QLatin1String("CLOB"))
            || upper.contains(QLatin1String("TEXT")));
}

void checkTableKind(Database& db)
{
    SQLite::Statement kind(db.handle(),
        "SELECT type, wr FROM pragma_table_list WHERE schema = 'main' AND name = 'Abstracts' COLLATE NOCASE");
    if (!kind.executeStep())
        refuse(QStringLiteral("no such table: ") + Table);
    const QString type = QString::fromUtf8(kind.getColumn(0).getText());
    if (type == QLatin1String("view"))
        refuse(Table + QStringLiteral(" is a view, not an ordinary table"));
    if (type != QLatin1String("table"))
        refuse(Table + QStringLiteral(" is a %1 table, not an ordinary table").arg(type));
    if (kind.getColumn(1).getInt() != 0)
        refuse(Table + QStringLiteral(" is a table without row ids, not an ordinary table"));
}

} // namespace

void checkBibliography(Database& db)
{
    storeCall([&] {
        checkTableKind(db);
        QStringList names;
        QStringList types;
        QString needsValue; // the first column an add would leave NULL against its NOT NULL
        SQLite::Statement columns(db.handle(),
            "SELECT name, type, \"notnull\", dflt_value IS NULL OR upper(trim(dflt_value)) = 'NULL', pk, "
            "(SELECT count(*) FROM pragma_table_info('Abstracts') WHERE pk > 0) "
            "FROM pragma_table_info('Abstracts') ORDER BY cid");
        while (columns.executeStep()) {
            const QString name = QString::fromUtf8(columns.getColumn(0).getText());
            const QString type = QString::fromUtf8(columns.getColumn(1).getText());
            // The only key column, declared INTEGER, is the row id: an add fills it itself.
            const bool rowId = columns.getColumn(4).getInt() == 1 && columns.getColumn(5).getInt() == 1
                && type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            if (needsValue.isEmpty() && names.size() >= ColumnCount && columns.getColumn(2).getInt() != 0
                && columns.getColumn(3).getInt() != 0 && !rowId)
                needsValue = name;
            names << name;
            types << type;
        }
        for (const QString& wanted : columnNames()) {
            if (!names.contains(wanted, Qt::CaseInsensitive))
                refuse(QStringLiteral("the table %1 has no column %2").arg(Table, wanted));
        }
        for (int i = 0; i < ColumnCount; ++i) {
            if (names[i].compare(columnName(i), Qt::CaseInsensitive) != 0)
                refuse(QStringLiteral("the table %1 has the column %2 where %3 belongs")
                           .arg(Table, names[i], columnName(i)));
            if (!declaresText(types[i])) {
                const QString declared = types[i].isEmpty() ? QStringLiteral("without a type") : types[i];
                refuse(QStringLiteral("the column %1 of the table %2 is declared %3, not as text")
                           .arg(columnName(i), Table, declared));
            }
        }
        // Adds name only the record's columns; one beyond them that must hold a value and
        // has no default would make every add fail.
        if (!needsValue.isEmpty())
            refuse(QStringLiteral("the column %1 of the table %2 is NOT NULL without a default, so no record "
                                  "could be added")
                       .arg(needsValue, Table));
        return 0;
    });
}

int countRecords(Database& db)
{
    return storeCall([&] {
        SQLite::Statement count(db.handle(), "SELECT count(*) FROM Abstracts");
        count.executeStep();
        return count.getColumn(0).getInt();
    });
}

} // namespace papyrant
