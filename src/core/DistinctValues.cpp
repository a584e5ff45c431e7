#include "core/DistinctValues.h"

#include "core/DataBinding.h"

namespace papyrant {

QStringList readDistinctValues(const QString& databasePath, const QString& statement)
{
    DataBinding binding(databasePath);
    binding.setRecordSource(statement);
    RecordSet& rows = binding.refresh();
    QStringList values;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        values << rows.value(0);
    return values;
}

QStringList readCategories(const QString& bibliographyPath)
{
    return readDistinctValues(bibliographyPath, QStringLiteral("Select Distinct Abstracts.Category From Abstracts"));
}

} // namespace papyrant
