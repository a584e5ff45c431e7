#pragma once
// Saving viewed result pages to files: the proposed name, the choice of the file with
// its replace question, rich text or plain text, and the "Save all" run that builds every
// page of the result and writes each to a file of its own.

#include "core/Prompts.h"
#include "core/Stepper.h"
#include "search/ColourMarks.h"
#include "search/SearchSnapshot.h"

#include <QString>

#include <functional>
#include <optional>

namespace papyrant {

class RecordSet;

inline const QString ResultFileFilter = QStringLiteral("Rtf File (*.rtf)|*.rtf;|Text File (*.txt)|*.txt");
inline const QString SaveViewedTitle = QStringLiteral("Save viewed records in a file");
inline const QString SaveAllTitle = QStringLiteral("Save all");

// The file kind follows the filter entry chosen in the dialog, not the typed extension:
// entry 1 is rich text, entry 2 plain text.
enum class ResultFileKind { RichText, PlainText };
ResultFileKind resultFileKind(int filterIndex);

// The name proposed in the save dialog: the search summary without the nine characters
// file names may not hold ("|<>*?:\/ and the double quote), cut to its first 40 when it
// has 40 or more.
QString proposedFileName(const QString& summary);
// The same followed by the viewed page's number (1 for the first) when there are several
// pages, for saving the viewed page.
QString proposedPageFileName(const QString& summary, int pageCount, int viewedPage);

// Asks the save dialog until the user names a free file or agrees to replace what exists
// (No brings the dialog back); taken(file) names the existing file the question is about,
// if any. Nothing when the user cancelled.
std::optional<ChosenFile> askOutputFile(Prompts& prompts, const QString& title, const QString& filter,
    const QString& proposed, const std::function<std::optional<QString>(const ChosenFile&)>& taken);

// "The file couldn't be saved correctly" LF the error.
QString fileNotSavedMessage(const QString& error);

// Writes a page to path as rich text or as UTF-8 plain text. The page goes to a
// temporary file beside the target that replaces it only once complete, so a failure
// never leaves half a page in place of an existing file; a read-only file is never
// replaced. Gives nothing on success, otherwise the system's description of the error.
std::optional<QString> writeResultFile(
    const QString& path, const QString& text, const ColourMarks& marks, ResultFileKind kind);

// "Save viewed records in a file": proposes the name, asks until the user accepts a
// free name or agrees to replace the file, and writes the page. A failure is reported
// with fileNotSavedMessage. True when the file was written; false when cancelled or failed.
bool saveViewedRecords(Prompts& prompts, const QString& summary, int pageCount, int viewedPage, const QString& text,
    const ColourMarks& marks);

// The files "Save all" writes: one per page, folder/base1.ext, folder/base2.ext, ...
struct SaveAllFiles {
    QString folder;
    QString SaveAllBase; // chosen name less its last four characters
    QString SaveAllExt; // last three characters of the chosen name
    ResultFileKind kind = ResultFileKind::RichText;

    // Full path of page k's file (k from 0): folder/base<k+1>.ext.
    QString pagePath(int page) const;
};

// The sentence before the reason when a page file of "Save all" cannot be written.
inline const QString FileNotSaved = QStringLiteral("The file couldn't be saved correctly");

// "Save all": asks for the file (the summary's name, no page number), repeating while a
// page file base1.ext..basen.ext exists and the user declines to replace the first of
// them. Nothing when the user cancelled or the name cannot be cut into base and extension
// (reported with fileNotSavedMessage).
std::optional<SaveAllFiles> chooseSaveAllFiles(Prompts& prompts, const QString& summary, int pageCount);

// One "Save all" run: builds page after page of the result as the search's snapshot says
// and writes each to its file, as many as fit in a tick. The record set is left on the
// record that was current. A page that cannot be written or read ends the run with the
// system's or the engine's description; the files written before it stay.
class SaveAllRun : public Stepper {
public:
    SaveAllRun(RecordSet& records, int resultCount, const SearchSnapshot& search, SaveAllFiles files);

    StepOutcome step(const TickBudget& budget) override;
    // Pages written of all pages.
    StepProgress progress() const override { return {m_next, m_pages}; }

private:
    RecordSet& m_records;
    int m_resultCount;
    SearchSnapshot m_search;
    SaveAllFiles m_files;
    int m_pages;
    int m_next = 0;
    QString m_failure;
};

} // namespace papyrant
