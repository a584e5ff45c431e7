#pragma once
// Questions several screens ask in the same words, and the test behind the replace question.

#include "core/Prompts.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace papyrant {

// True when the chosen file's name is already taken in its folder. The listing of the
// pattern ("*.pyr", "*.txt") is compared exactly, as users name files; a file the listing
// misses (another letter case on a case-blind disk, another extension) still counts, so
// nothing is ever replaced without asking.
bool fileTaken(const ChosenFile& file, const QString& listingPattern);

// "You already have file called "<name>"" LF "Do you want to replace it?", Yes/No with
// the question icon and No as the default. True on Yes.
bool askReplaceFile(Prompts& prompts, const QString& fileName);

// Asks for a new category name ("Please type the new category name", "New category")
// until the answer is empty or differs from every listed name (exactly, letter case
// counting); each duplicate is refused with "You already have a Category named " and the
// name. Gives the accepted name, or an empty text when the user gave none. A list that
// makes the matching entry current before the refusal passes duplicateNamed, which gets
// the entry's index in listed.
QString askNewCategory(
    Prompts& prompts, const QStringList& listed, const std::function<void(int)>& duplicateNamed = {});

} // namespace papyrant
