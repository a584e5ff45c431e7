#pragma once
// What the stores of the labels file (label sets, tag maps) share: why the file can't be
// used, in words a user can act on, the check before a write, and the frame of their
// operations: each opens the file for itself, writes in one transaction, and tells the user
// itself when it fails, leaving the file as it was.

#include "core/Prompts.h"

#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

namespace papyrant {

class Database;

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

// What became of a save, delete or rename.
struct LabelChange {
    enum Result {
        Done, // written; `name` is the name now
        Declined, // the user said No or gave no name: nothing written
        Vanished, // the entry was no longer in the file: nothing written, the user was told
        Failed // the file could not be read or written: nothing written, the user was told
    } result
        = Declined;
    QString name;
};

class LabelsFileStore {
protected:
    // `vanishedText` names an entry that is gone, with %1 for its name ("The tag map called
    // %1 is no longer in the labels file.").
    LabelsFileStore(Prompts& prompts, QString labelsPath, QString vanishedText);

    // Runs the reading work; an error is told as `sentence` and the reason, giving nothing.
    template <typename Work>
    auto reading(const QString& sentence, Work&& work) const -> decltype(work())
    {
        try {
            return work();
        } catch (const std::exception& e) {
            tell(sentence, e);
            return std::nullopt;
        }
    }
    // Runs the work of a save, delete or rename; an error is told as `sentence` and the
    // reason, giving Failed.
    LabelChange changing(const QString& sentence, const std::function<LabelChange()>& work) const;
    // Runs a write on the file in one transaction, committed only when the work gives Done.
    // Throws on any failure.
    LabelChange inTransaction(const std::function<LabelChange(Database&)>& work) const;
    // The delete question (Yes and No, no icon, Yes the default); true on Yes.
    bool confirmed(const QString& question, const QString& title) const;
    // "<vanished text>" and "Nothing was changed.", and gives Vanished.
    LabelChange tellVanished(const QString& name) const;
    void tell(const QString& sentence, const std::exception& error) const;

    Prompts& m_prompts;
    QString m_path;

private:
    QString m_vanishedText;
};

} // namespace papyrant
