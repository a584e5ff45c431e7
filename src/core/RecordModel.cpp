#include "core/RecordModel.h"

#include <QLocale>

#include <climits>

namespace papyrant {

const std::array<QString, ColumnCount>& columnNames()
{
    static const std::array<QString, ColumnCount> names = {QStringLiteral("Title"), QStringLiteral("Authors"),
        QStringLiteral("Author_address"), QStringLiteral("Source"), QStringLiteral("Publishing_year"),
        QStringLiteral("Keywords"), QStringLiteral("Publication_type"), QStringLiteral("Language"),
        QStringLiteral("Abstract"), QStringLiteral("Personal"), QStringLiteral("Entry_Date"),
        QStringLiteral("Category"), QStringLiteral("TitelS")};
    return names;
}

QString columnName(int index)
{
    return index >= 0 && index < ColumnCount ? columnNames()[index] : QString();
}

int columnIndex(const QString& name)
{
    const auto& names = columnNames();
    for (int i = 0; i < ColumnCount; ++i) {
        if (names[i] == name)
            return i;
    }
    return -1;
}

const std::array<QString, FieldCount>& fieldDisplayNames()
{
    static const std::array<QString, FieldCount> names
        = {QStringLiteral("Title"), QStringLiteral("Authors"), QStringLiteral("Author address"),
            QStringLiteral("Source"), QStringLiteral("Publishing year"), QStringLiteral("Key words"),
            QStringLiteral("Publication type"), QStringLiteral("Language"), QStringLiteral("Abstract"),
            QStringLiteral("Personal comment"), QStringLiteral("Entry date"), QStringLiteral("Category")};
    return names;
}

QString columnNameForm(const QString& displayName)
{
    if (displayName == QLatin1String("Title"))
        return QStringLiteral("TitelS");
    QString form = displayName;
    form.replace(QLatin1Char(' '), QLatin1Char('_'));
    return form;
}

static bool isHolderTrim(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char(' ');
}

QString holdText(const QString& value, int maxLength)
{
    QStringView kept = QStringView(value).left(qMax(0, maxLength));
    qsizetype end = kept.size();
    while (end > 0 && isHolderTrim(kept[end - 1]))
        --end;
    qsizetype start = 0;
    while (start < end && isHolderTrim(kept[start]))
        ++start;
    return kept.mid(start, end - start).toString();
}

QString heldOrMarker(const QString& value, int maxLength)
{
    QString held = holdText(value, maxLength);
    return held.isEmpty() ? EmptyFieldMarker : held;
}

int extractionHolderLimit(int column)
{
    switch (column) {
    case Publishing_year:
    case Publication_type:
    case Language: return 100;
    case TitelS: return 250;
    case Entry_Date:
    case Category:
    case Personal: return 50;
    default: return INT_MAX;
    }
}

QString extractedValue(const QString& cut, int column)
{
    return heldOrMarker(cut, extractionHolderLimit(column));
}

} // namespace papyrant
