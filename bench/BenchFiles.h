#pragma once
// What several figures share: generated exports written once and reused, fresh copies of
// the template, the labels file read without anyone to answer, and the process's memory.

#include "core/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <stdexcept>

namespace papyrant::bench {

// Removes a bibliography before a fresh copy takes its name, with any rollback journal a
// run broken off half way left beside it: the engine would play that journal back into the
// fresh copy and break it.
inline void removeBibliography(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// Writes the export of `records` records (UTF-8) into the data folder once; later runs
// reuse it.
template <typename Generator>
QString exportFile(const QString& dataFolder, const QString& leaf, int records)
{
    const QString path = dataFolder + QLatin1Char('/') + leaf;
    if (QFileInfo(path).size() > 0)
        return path;
    std::printf("  (generating %s)\n", qPrintable(path));
    std::fflush(stdout);
    QDir().mkpath(dataFolder);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Generator().make(records).toUtf8()) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

// A fresh copy of the template at `path`, replacing what was there.
void freshBibliography(const QString& templatePath, const QString& path);

// VmRSS or VmHWM (the peak) of this process, in kilobytes.
long statusKilobytes(const char* field);

// The labels file is read without anyone to answer: a prompt means it failed.
class NoPrompts final : public Prompts {
public:
    PromptButton message(const QString& text, const QString&, PromptButtons, PromptIcon, PromptButton) override
    {
        throw std::runtime_error(text.toStdString());
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<ChosenFile> openFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<ChosenFile> saveFile(const QString&, const QString&, const QString&) override { return {}; }
};

} // namespace papyrant::bench
