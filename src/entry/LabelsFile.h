#pragma once
// What the stores of the labels file (label sets, tag maps) share: why the file can't be
// used, in words a user can act on, and the check before a write.

#include <QString>

#include <stdexcept>

namespace papyrant {

// Thrown before a write the file cannot take, with the reason in the user's words.
class LabelsFileProblem : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The reason line of a failed operation: the file is missing (with its path), in use by
// another program, read-only, damaged, or else the engine's own words.
QString labelsFileProblem(const QString& path, const std::exception& error);

// A write needs the file and its folder (for the rollback journal) writable; throws
// LabelsFileProblem otherwise. A missing file is left for the opening to report.
void requireWritableLabelsFile(const QString& path);

} // namespace papyrant
