#pragma once
// The values a column takes across a bibliography: the lists screens offer to choose from.

#include <QString>
#include <QStringList>

namespace papyrant {

class Database;

// The first column of every row the statement gives, in the order the engine returns
// them ("Select Distinct Abstracts.Language From Abstracts"). Throws StoreError.
QStringList readDistinctValues(Database& db, const QString& statement);

} // namespace papyrant
