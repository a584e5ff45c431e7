#include "BenchFiles.h"

namespace papyrant::bench {

void freshBibliography(const QString& templatePath, const QString& path)
{
    removeBibliography(path);
    if (!QFile::copy(templatePath, path))
        throw std::runtime_error("cannot copy the template to " + path.toStdString());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

long statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

} // namespace papyrant::bench
