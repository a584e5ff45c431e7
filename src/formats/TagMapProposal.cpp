#include "formats/TagMapProposal.h"

#include "formats/ReadyTagMaps.h"
#include "formats/TagVocabulary.h"
#include "formats/TaggedRecordCursor.h"

#include <QSet>

#include <array>

namespace papyrant {
namespace {

constexpr qsizetype SampleLength = 200;
constexpr int DistinctCap = 64; // beyond this many distinct values a tag counts as varied

// What the values of one tag look like.
struct TagShape {
    TagUse use;
    qsizetype totalLength = 0;
    int years = 0; // short values holding a four-digit year
    int names = 0; // values shaped like a person's name
    int languages = 0;
    int numbers = 0; // short values holding a digit (volumes, issues, pages)
    QSet<QString> distinct;
    int lastRecord = -1;

    double share(int count) const { return use.values ? double(count) / use.values : 0; }
    double averageLength() const { return use.values ? double(totalLength) / use.values : 0; }
    bool repeatsInRecords() const { return use.values > use.records; }
};

bool startsCapital(QStringView word)
{
    return !word.isEmpty() && word.front().isUpper();
}

// "Crooks, Gavin E.", "Crooks, G", "Crooks GE", "van der Berg, A.": a few words without
// digits, the surname capitalised, with given names or initials after a comma or as
// capitals at the end.
bool looksLikeName(QStringView value)
{
    if (value.size() > 60 || value.isEmpty())
        return false;
    for (const QChar c : value) {
        if (c.isDigit())
            return false;
    }
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma > 0) {
        const QStringView surname = value.first(comma).trimmed();
        const QStringView given = value.sliced(comma + 1).trimmed();
        return !surname.isEmpty() && startsCapital(surname.split(QLatin1Char(' ')).last()) && startsCapital(given)
            && surname.count(QLatin1Char(' ')) < 3 && given.count(QLatin1Char(' ')) < 3;
    }
    const auto words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2 || words.size() > 3)
        return false;
    const QStringView initials = words.last();
    return startsCapital(words.first()) && initials.size() <= 3
        && std::all_of(initials.begin(), initials.end(), [](QChar c) { return c.isUpper(); });
}

void measure(TagShape& shape, const TagValue& field, int record)
{
    TagUse& use = shape.use;
    ++use.values;
    if (shape.lastRecord != record) {
        ++use.records;
        shape.lastRecord = record;
    }
    const QString& value = field.value;
    if (use.sample.isEmpty())
        use.sample = value.left(SampleLength);
    shape.totalLength += value.size();
    if (value.size() <= 30 && !fourDigitYear(value).isEmpty()) {
        const int year = fourDigitYear(value).toInt();
        shape.years += year >= 1500 && year < 2100;
    }
    shape.names += looksLikeName(value);
    shape.languages += isLanguage(value);
    shape.numbers += value.size() <= 12 && std::any_of(value.begin(), value.end(), [](QChar c) { return c.isDigit(); });
    if (shape.distinct.size() <= DistinctCap)
        shape.distinct.insert(value);
}

// Tags and label words services commonly use, in the order they are tried.
struct Hint {
    std::array<const char*, 8> tags; // whole tags (letter case ignored)
    std::array<const char*, 4> words; // words a "Label: value" label holds
    TagTarget target;
};

const Hint Hints[] = {
    {{"AB", "N2", "%X"}, {"abstract", "summary"}, TagTarget::Abstract},
    {{"KW", "MH", "OT", "DE", "ID", "%K"}, {"keyword", "key word", "subject", "descriptor"}, TagTarget::Keywords},
    {{"LA", "%G"}, {"language"}, TagTarget::Language},
    {{"AD", "C1", "%+"}, {"affiliation", "address"}, TagTarget::Author_address},
    {{"AU", "A1", "FAU", "AF", "%A"}, {"author", "creator"}, TagTarget::Authors},
    {{"EP"}, {"end page", "last page"}, TagTarget::LastPage},
    {{"SP", "BP", "%P"}, {"page"}, TagTarget::FirstPage},
    {{"VL", "VI", "%V"}, {"volume"}, TagTarget::Volume},
    {{"IS", "IP", "%N"}, {"issue"}, TagTarget::Issue},
    {{"SO", "JO", "JF", "JA", "T2", "JT", "%J", "%B"}, {"journal", "source", "periodical"}, TagTarget::Source},
    {{"PY", "Y1", "DP", "%D"}, {"year", "date"}, TagTarget::Publishing_year},
    {{"PT", "DT", "TY", "%0"}, {"type"}, TagTarget::Publication_type},
    {{"TI", "T1", "CT", "%T"}, {"title"}, TagTarget::Title},
};

// The target the tag's name suggests, if its values bear it out.
TagTarget hinted(const TagShape& shape)
{
    const QString& tag = shape.use.tag;
    const QString label = tag.toLower();
    for (const Hint& hint : Hints) {
        bool named = false;
        for (const char* known : hint.tags)
            named = named || (known && tag.compare(QLatin1String(known), Qt::CaseInsensitive) == 0);
        if (tag.size() > 4) { // a label: look for the words
            for (const char* word : hint.words)
                named = named || (word && label.contains(QLatin1String(word)));
        }
        if (!named)
            continue;
        switch (hint.target) {
        case TagTarget::Publishing_year: return shape.share(shape.years) >= 0.8 ? hint.target : TagTarget::Unused;
        case TagTarget::Volume:
        case TagTarget::Issue:
        case TagTarget::FirstPage:
        case TagTarget::LastPage: return shape.share(shape.numbers) >= 0.8 ? hint.target : TagTarget::Unused;
        default: return hint.target;
        }
    }
    return TagTarget::Unused;
}

// The target the values suggest.
TagTarget shaped(const TagShape& shape, int recordCount)
{
    if (shape.share(shape.years) >= 0.8)
        return TagTarget::Publishing_year;
    if (shape.averageLength() >= 200)
        return TagTarget::Abstract;
    if (shape.share(shape.names) >= 0.8 && shape.repeatsInRecords())
        return TagTarget::Authors;
    if (shape.share(shape.languages) >= 0.8)
        return TagTarget::Language;
    const bool repeated = shape.use.values >= 2 && shape.distinct.size() * 2 <= shape.use.values;
    if (repeated && shape.averageLength() <= 40)
        return shape.use.values * 2 > shape.use.records * 3 ? TagTarget::Keywords : TagTarget::Publication_type;
    const bool inEveryRecord = shape.use.records * 10 >= recordCount * 9 && !shape.repeatsInRecords();
    if (inEveryRecord && shape.averageLength() >= 20 && shape.averageLength() <= 300)
        return TagTarget::Title;
    return TagTarget::Unused;
}

bool takesSeveralTags(TagTarget target)
{
    return target == TagTarget::Keywords || target == TagTarget::Author_address;
}

} // namespace

std::vector<TagUse> proposeTagMap(QStringView text, TaggedFormat format)
{
    std::vector<TagShape> shapes;
    TaggedRecordCursor cursor(text, format);
    TaggedRecord record;
    int records = 0;
    while (cursor.next(record)) {
        for (const TagValue& field : record.fields) {
            auto shape = std::find_if(
                shapes.begin(), shapes.end(), [&](const TagShape& known) { return known.use.tag == field.tag; });
            if (shape == shapes.end()) {
                shapes.emplace_back();
                shapes.back().use.tag = field.tag;
                shape = shapes.end() - 1;
            }
            if (!field.value.isEmpty())
                measure(*shape, field, records);
        }
        ++records;
    }

    std::vector<TagUse> uses;
    if (const TagMap* ready = readyTagMap(format)) {
        for (TagShape& shape : shapes) {
            for (int target = 0; target < TagTargetCount && shape.use.target == TagTarget::Unused; ++target) {
                if (ready->rules[std::size_t(target)].tags.contains(shape.use.tag, Qt::CaseInsensitive))
                    shape.use.target = TagTarget(target);
            }
            uses.push_back(std::move(shape.use));
        }
        return uses;
    }
    // Names first, then values; a field other than key words and addresses takes one tag.
    std::array<bool, TagTargetCount> taken{};
    const auto propose = [&](TagShape& shape, TagTarget target) {
        if (shape.use.target != TagTarget::Unused || target == TagTarget::Unused)
            return;
        if (taken[std::size_t(target)] && !takesSeveralTags(target))
            return;
        shape.use.target = target;
        taken[std::size_t(target)] = true;
    };
    for (TagShape& shape : shapes)
        propose(shape, hinted(shape));
    for (TagShape& shape : shapes)
        propose(shape, shaped(shape, records));
    for (TagShape& shape : shapes)
        uses.push_back(std::move(shape.use));
    return uses;
}

void followTagMap(std::vector<TagUse>& uses, const TagMap& map)
{
    for (TagUse& use : uses) {
        use.target = TagTarget::Unused;
        for (int target = 0; target < TagTargetCount && use.target == TagTarget::Unused; ++target) {
            if (map.rules[std::size_t(target)].tags.contains(use.tag, Qt::CaseInsensitive))
                use.target = TagTarget(target);
        }
    }
}

TagMap tagMapFromUses(const std::vector<TagUse>& uses, TaggedFormat format, const TagMap* preferred)
{
    TagMap map;
    map.format = format;
    for (const TagUse& use : uses) {
        if (use.target == TagTarget::Unused)
            continue;
        TagRule& rule = map.rule(use.target);
        rule.tags << use.tag;
        rule.allTags = takesSeveralTags(use.target);
    }
    // Where a ready-made map prefers one tag to another (AF to AU), so does the new map.
    if (const TagMap* model = preferred ? preferred : readyTagMap(format)) {
        for (int target = 0; target < TagTargetCount; ++target) {
            const QStringList& order = model->rules[std::size_t(target)].tags;
            const auto rank = [&](const QString& tag) {
                const qsizetype at = order.indexOf(tag);
                return at < 0 ? order.size() : at;
            };
            QStringList& tags = map.rules[std::size_t(target)].tags;
            std::stable_sort(
                tags.begin(), tags.end(), [&](const QString& a, const QString& b) { return rank(a) < rank(b); });
        }
    }
    return map;
}

} // namespace papyrant
