#pragma once
// The codes tagged exports write where a reader wants words: RIS reference types ("JOUR")
// and language codes (MEDLINE's "eng", ISO 639-1's "en"), so that records of every format
// fill one list of publication types and one list of languages.

#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

namespace papyrant {

// The RIS reference types: code and readable name ("JOUR", "Journal Article").
const std::vector<std::pair<QString, QString>>& risReferenceTypes();
// The readable name of a RIS type code (letter case ignored); the code itself when unknown.
QString risTypeName(QStringView code);

// The English name of a language code of two or three letters (letter case ignored): "eng"
// and "en" give "English". Any other text is given back unchanged.
QString languageName(QStringView code);
// True for a language code languageName knows and for the English name of a language.
bool isLanguage(QStringView value);

} // namespace papyrant
