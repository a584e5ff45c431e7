#include "formats/TagMap.h"

#include "core/RecordModel.h"
#include "formats/TagVocabulary.h"

#include <vector>

namespace papyrant {
namespace {

const QString ListSeparator = QStringLiteral("; ");

bool isListField(int field)
{
    return field == Authors || field == Author_address || field == Keywords || field == Publication_type
        || field == Language;
}

// Tags compare without letter case. They are short and mostly differ in length or in their
// first letter, which is looked at before the full comparison: every rule of a map is
// matched against every tag of every record.
bool sameTag(QStringView a, QStringView b)
{
    if (a.size() != b.size() || a.isEmpty())
        return false;
    const auto capital = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
    const char16_t x = a.front().unicode();
    const char16_t y = b.front().unicode();
    if (x < 0x80 && y < 0x80 && capital(x) != capital(y))
        return false;
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool listed(const QStringList& tags, QStringView tag)
{
    for (const QString& known : tags) {
        if (sameTag(tag, known))
            return true;
    }
    return false;
}

// The non-empty values the rule takes from the record, in file order.
void pick(const TagRule& rule, const TaggedRecord& record, std::vector<const TagValue*>& picked)
{
    picked.clear();
    if (rule.allTags) {
        for (const TagValue& field : record.fields) {
            if (!field.value.isEmpty() && listed(rule.tags, field.tag))
                picked.push_back(&field);
        }
        return;
    }
    for (const QString& tag : rule.tags) {
        for (const TagValue& field : record.fields) {
            if (!field.value.isEmpty() && sameTag(field.tag, tag))
                picked.push_back(&field);
        }
        if (!picked.empty())
            return;
    }
}

// A list value as it goes into the list: codes as names, no separator left at its end.
QString listValue(int field, const TagValue& picked)
{
    QStringView value = picked.value;
    while (value.endsWith(QLatin1Char(';')) || value.endsWith(QLatin1Char(' ')))
        value.chop(1);
    if (field == Publication_type && picked.tag.compare(u"TY", Qt::CaseInsensitive) == 0)
        return risTypeName(value);
    if (field == Language)
        return languageName(value);
    return value.toString();
}

// The values joined by "; ": repeats dropped (two authors may share a name), and no
// value cut in the middle by a holder that keeps only so many characters.
QString joinedList(int field, const std::vector<const TagValue*>& picked)
{
    const int limit = extractionHolderLimit(field);
    QStringList values;
    qsizetype length = 0;
    for (const TagValue* value : picked) {
        QString text = listValue(field, *value);
        if (text.isEmpty() || (field != Authors && values.contains(text)))
            continue;
        const qsizetype grown = length + (values.isEmpty() ? 0 : ListSeparator.size()) + text.size();
        if (grown > limit && !values.isEmpty())
            break;
        length = grown;
        values << std::move(text);
    }
    return values.join(ListSeparator);
}

QString firstValue(const std::vector<const TagValue*>& picked)
{
    return picked.empty() ? QString() : picked.front()->value;
}

QString yearOf(const std::vector<const TagValue*>& picked)
{
    for (const TagValue* value : picked) {
        if (QString year = fourDigitYear(value->value); !year.isEmpty())
            return year;
    }
    return firstValue(picked); // no year in it: kept as the file has it
}

// "Journal. Year;Volume(Issue):Pages", leaving out what the record lacks.
QString composedSource(const TagMap& map, const TaggedRecord& record, const QString& journal, const QString& year,
    std::vector<const TagValue*>& picked)
{
    std::array<QString, 4> parts; // volume, issue, first page, last page
    bool anyPartTags = false;
    for (int part = 0; part < 4; ++part) {
        const TagRule& rule = map.rules[std::size_t(int(TagTarget::Volume) + part)];
        anyPartTags = anyPartTags || !rule.tags.isEmpty();
        pick(rule, record, picked);
        parts[part] = firstValue(picked);
    }
    if (!anyPartTags)
        return journal;
    const auto& [volume, issue, firstPage, lastPage] = parts;
    if (journal.isEmpty() && volume.isEmpty() && issue.isEmpty() && firstPage.isEmpty() && lastPage.isEmpty())
        return {}; // a year alone is no source
    QString source = journal;
    if (!year.isEmpty())
        source += (source.isEmpty() ? QString() : QStringLiteral(". ")) + year;
    QString pages = firstPage;
    if (!lastPage.isEmpty() && lastPage != firstPage)
        pages += (pages.isEmpty() ? QString() : QStringLiteral("-")) + lastPage;
    if (!volume.isEmpty() || !issue.isEmpty() || !pages.isEmpty()) {
        source += QLatin1Char(';') + volume;
        if (!issue.isEmpty())
            source += QLatin1Char('(') + issue + QLatin1Char(')');
        if (!pages.isEmpty())
            source += QLatin1Char(':') + pages;
    }
    return source;
}

} // namespace

QString tagTargetName(TagTarget target)
{
    switch (target) {
    case TagTarget::Unused: return QStringLiteral("(not used)");
    case TagTarget::Volume: return QStringLiteral("Source: volume");
    case TagTarget::Issue: return QStringLiteral("Source: issue");
    case TagTarget::FirstPage: return QStringLiteral("Source: first page");
    case TagTarget::LastPage: return QStringLiteral("Source: last page");
    default: return fieldDisplayNames()[std::size_t(target)];
    }
}

QString ruleText(const TagRule& rule)
{
    return rule.tags.join(rule.allTags ? QStringLiteral(" + ") : QStringLiteral(" | "));
}

TagRule ruleFromText(QStringView text)
{
    TagRule rule;
    rule.allTags = text.contains(QLatin1Char('+'));
    for (const QStringView tag : text.split(rule.allTags ? QLatin1Char('+') : QLatin1Char('|'))) {
        if (const QStringView trimmed = tag.trimmed(); !trimmed.isEmpty())
            rule.tags << trimmed.toString();
    }
    return rule;
}

QString fourDigitYear(QStringView value)
{
    for (qsizetype i = 0; i < value.size();) {
        if (!value[i].isDigit()) {
            ++i;
            continue;
        }
        qsizetype run = i;
        while (run < value.size() && value[run].isDigit())
            ++run;
        if (run - i == 4 || run - i == 8) // a year, or a date written yyyymmdd
            return value.sliced(i, 4).toString();
        i = run;
    }
    return {};
}

void mapTaggedRecord(const TagMap& map, const TaggedRecord& record, std::array<QString, ColumnCount>& row)
{
    thread_local std::vector<const TagValue*> picked;
    QString year;
    QString journal;
    for (int field = 0; field < ExtractedFieldCount; ++field) {
        pick(map.rules[std::size_t(field)], record, picked);
        QString value;
        if (isListField(field)) {
            value = joinedList(field, picked);
        } else if (field == Publishing_year) {
            value = yearOf(picked);
            year = fourDigitYear(value);
        } else if (field == Abstract) {
            QStringList texts;
            for (const TagValue* text : picked)
                texts << text->value;
            value = texts.join(QLatin1Char(' '));
        } else {
            value = firstValue(picked);
        }
        if (field == Source)
            journal = value; // composed once the year is known
        else
            row[field] = extractedValue(value, field);
    }
    row[Source] = extractedValue(composedSource(map, record, journal, year, picked), Source);
    row[TitelS] = holdText(row[Title], extractionHolderLimit(TitelS));
}

} // namespace papyrant
