#include "formats/TagVocabulary.h"

#include <array>

namespace papyrant {
namespace {

struct Language {
    const char* threeLetters; // ISO 639-2/B, as MEDLINE writes them
    const char* twoLetters; // ISO 639-1, "" when there is none
    const char* name;
};

constexpr std::array<Language, 48> Languages{
    {{"afr", "af", "Afrikaans"}, {"alb", "sq", "Albanian"}, {"ara", "ar", "Arabic"}, {"arm", "hy", "Armenian"},
        {"bos", "bs", "Bosnian"}, {"bul", "bg", "Bulgarian"}, {"cat", "ca", "Catalan"}, {"chi", "zh", "Chinese"},
        {"cze", "cs", "Czech"}, {"dan", "da", "Danish"}, {"dut", "nl", "Dutch"}, {"eng", "en", "English"},
        {"epo", "eo", "Esperanto"}, {"est", "et", "Estonian"}, {"fin", "fi", "Finnish"}, {"fre", "fr", "French"},
        {"geo", "ka", "Georgian"}, {"ger", "de", "German"}, {"gre", "el", "Greek"}, {"heb", "he", "Hebrew"},
        {"hin", "hi", "Hindi"}, {"hrv", "hr", "Croatian"}, {"hun", "hu", "Hungarian"}, {"ice", "is", "Icelandic"},
        {"ind", "id", "Indonesian"}, {"ita", "it", "Italian"}, {"jpn", "ja", "Japanese"}, {"kor", "ko", "Korean"},
        {"lat", "la", "Latin"}, {"lav", "lv", "Latvian"}, {"lit", "lt", "Lithuanian"}, {"mac", "mk", "Macedonian"},
        {"may", "ms", "Malay"}, {"mul", "", "Multiple languages"}, {"nor", "no", "Norwegian"}, {"per", "fa", "Persian"},
        {"pol", "pl", "Polish"}, {"por", "pt", "Portuguese"}, {"rum", "ro", "Romanian"}, {"rus", "ru", "Russian"},
        {"scr", "", "Croatian"}, {"slo", "sk", "Slovak"}, {"slv", "sl", "Slovenian"}, {"spa", "es", "Spanish"},
        {"srp", "sr", "Serbian"}, {"swe", "sv", "Swedish"}, {"tur", "tr", "Turkish"}, {"ukr", "uk", "Ukrainian"}}};
// Codes of ISO 639-2/T that differ from the bibliographic ones above.
constexpr std::array<std::pair<const char*, const char*>, 12> TerminologyCodes{
    {{"deu", "ger"}, {"fra", "fre"}, {"nld", "dut"}, {"zho", "chi"}, {"ces", "cze"}, {"ell", "gre"}, {"isl", "ice"},
        {"fas", "per"}, {"ron", "rum"}, {"slk", "slo"}, {"sqi", "alb"}, {"hye", "arm"}}};
// A few more codes MEDLINE writes.
constexpr std::array<std::pair<const char*, const char*>, 4> MoreLanguages{
    {{"und", "Undetermined"}, {"tha", "Thai"}, {"vie", "Vietnamese"}, {"wel", "Welsh"}}};

} // namespace

const std::vector<std::pair<QString, QString>>& risReferenceTypes()
{
    static const std::vector<std::pair<QString, QString>> types{{"ABST", "Abstract"}, {"ADVS", "Audiovisual Material"},
        {"AGGR", "Aggregated Database"}, {"ANCIENT", "Ancient Text"}, {"ART", "Artwork"}, {"BILL", "Bill"},
        {"BLOG", "Blog"}, {"BOOK", "Book"}, {"CASE", "Case"}, {"CHAP", "Book Section"}, {"CHART", "Chart"},
        {"CLSWK", "Classical Work"}, {"COMP", "Computer Program"}, {"CONF", "Conference Proceedings"},
        {"CPAPER", "Conference Paper"}, {"CTLG", "Catalog"}, {"DATA", "Dataset"}, {"DBASE", "Online Database"},
        {"DICT", "Dictionary"}, {"EBOOK", "Electronic Book"}, {"ECHAP", "Electronic Book Section"},
        {"EDBOOK", "Edited Book"}, {"EJOUR", "Electronic Article"}, {"ELEC", "Web Page"}, {"ENCYC", "Encyclopedia"},
        {"EQUA", "Equation"}, {"FIGURE", "Figure"}, {"GEN", "Generic"}, {"GOVDOC", "Government Document"},
        {"GRANT", "Grant"}, {"HEAR", "Hearing"}, {"ICOMM", "Internet Communication"}, {"INPR", "In Press"},
        {"JFULL", "Journal (Full)"}, {"JOUR", "Journal Article"}, {"LEGAL", "Legal Rule or Regulation"},
        {"MANSCPT", "Manuscript"}, {"MAP", "Map"}, {"MGZN", "Magazine Article"}, {"MPCT", "Film or Broadcast"},
        {"MULTI", "Online Multimedia"}, {"MUSIC", "Music"}, {"NEWS", "Newspaper Article"}, {"PAMP", "Pamphlet"},
        {"PAT", "Patent"}, {"PCOMM", "Personal Communication"}, {"RPRT", "Report"}, {"SER", "Serial Publication"},
        {"SLIDE", "Slide"}, {"SOUND", "Sound Recording"}, {"STAND", "Standard"}, {"STAT", "Statute"},
        {"THES", "Thesis"}, {"UNBILL", "Unenacted Bill"}, {"UNPB", "Unpublished Work"}, {"VIDEO", "Video Recording"}};
    return types;
}

QString risTypeName(QStringView code)
{
    for (const auto& [known, name] : risReferenceTypes()) {
        if (code.compare(known, Qt::CaseInsensitive) == 0)
            return name;
    }
    return code.toString();
}

QString languageName(QStringView code)
{
    if (code.size() < 2 || code.size() > 3)
        return code.toString();
    const auto is = [&](const char* known) { return code.compare(QLatin1String(known), Qt::CaseInsensitive) == 0; };
    for (const auto& [terminology, same] : TerminologyCodes) {
        if (is(terminology))
            return languageName(QString::fromLatin1(same));
    }
    for (const Language& language : Languages) {
        if (is(language.threeLetters) || (*language.twoLetters && is(language.twoLetters)))
            return QString::fromLatin1(language.name);
    }
    for (const auto& [known, name] : MoreLanguages) {
        if (is(known))
            return QString::fromLatin1(name);
    }
    return code.toString();
}

bool isLanguage(QStringView value)
{
    if (languageName(value) != value)
        return true;
    for (const Language& language : Languages) {
        if (value.compare(QLatin1String(language.name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace papyrant
