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
        SQLite::Statement columns(db.handle(), "SELECT name, type FROM pragma_table_info('Abstracts') ORDER BY cid");
        while (columns.executeStep()) {
            names << QString::fromUtf8(columns.getColumn(0).getText());
            types << QString::fromUtf8(columns.getColumn(1).getText());
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
