#include "entry/LabelsFile.h"

#include "core/Database.h"

#include <QDir>
#include <QFileInfo>

namespace papyrant {

QString labelsFileProblem(const QString& path, const std::exception& error)
{
    if (dynamic_cast<const LabelsFileProblem*>(&error))
        return errorText(error);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("The labels file %1 is missing.").arg(QDir::toNativeSeparators(path));
    const QString engine = errorText(error);
    if (engine.contains(QLatin1String("locked")) || engine.contains(QLatin1String("busy")))
        return QStringLiteral("The labels file is in use by another program.");
    if (engine.contains(QLatin1String("readonly")))
        return QStringLiteral("The labels file is read-only.");
    for (const char* damage :
        {"not a database", "malformed", "no such table", "no such column", "there is no column"}) {
        if (engine.contains(QLatin1String(damage)))
            return QStringLiteral("The labels file is damaged.");
    }
    return engine;
}

void requireWritableLabelsFile(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return; // opening it reports the missing file
    if (!file.isWritable())
        throw LabelsFileProblem("The labels file is read-only.");
    if (!QFileInfo(file.absolutePath()).isWritable())
        throw LabelsFileProblem("The folder of the labels file is read-only, so the file can't be changed.");
}

} // namespace papyrant
