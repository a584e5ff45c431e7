#pragma once
// Saving viewed result pages to files: the proposed name, the choice of the file with
// its replace question, rich text or plain text, and the "Save all" run that writes one
// file per page while presentation shows the pages one after the other.

#include "core/Prompts.h"
#include "search/ColourMarks.h"

#include <QString>

#include <optional>

namespace papyrant {

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

// One "Save all" run. Presentation shows page after page; after each the screen hands
// the shown page to pageShown, which writes base<k>.ext and says which page comes next.
class SaveAllRun {
public:
    QString SaveAllBase; // chosen name less its last four characters
    QString SaveAllExt; // last three characters of the chosen name
    int SaveAllReturnPage = 0; // page viewed when the run started

    // Asks for the file (the summary's name, no page number), repeating while a page
    // file base1.ext..basen.ext exists and the user declines to replace the first of them.
    // True when the run is under way: the screen then shows page 0 unless it is viewed
    // already, and hands it to pageShown. False when the user cancelled or the name
    // cannot be cut into base and extension (reported); the run is then clear.
    bool start(Prompts& prompts, const QString& summary, int pageCount, int viewedPage);

    struct Next {
        enum Kind { ShowPage, Finished, Failed } kind;
        int page = 0; // ShowPage: the page to show next; Finished: the page to return to
    };
    // Writes the shown page to its file. A failure is reported with fileNotSavedMessage and
    // ends the run; files already written stay. The run is clear after Finished or Failed.
    Next pageShown(Prompts& prompts, int shownPage, int pageCount, const QString& text, const ColourMarks& marks);

    // Full path of page k's file (k from 0): folder/base<k+1>.ext.
    QString pagePath(int page) const;
    void clear();

private:
    QString m_folder;
    ResultFileKind m_kind = ResultFileKind::RichText;
};

} // namespace papyrant
