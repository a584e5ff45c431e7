#include "core/DistinctValues.h"

#include "core/RecordSet.h"

namespace papyrant {

QStringList readDistinctValues(Database& db, const QString& statement)
{
    RecordSet rows(db, statement);
    QStringList values;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        values << rows.value(0);
    return values;
}

} // namespace papyrant
