#include "support/IndependentReaders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace papyrant::test {
namespace {

QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qWarning() << program << process.readAllStandardError();
    return process.readAllStandardOutput();
}

} // namespace

// Titles with subtitles, authors' family names, the year issued and the first title of
// the host (journal, book).
std::vector<Citation> readMods(const QByteArray& bytes)
{
    std::vector<Citation> citations;
    QXmlStreamReader xml(bytes);
    int hostDepth = 0;
    QString family, subTitle;
    QStringList parts;
    bool author = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto name = xml.name();
        if (xml.isEndElement()) {
            hostDepth -= name == u"relatedItem";
            if (name == u"name" && hostDepth == 0 && author) {
                citations.back().authors << family;
                citations.back().wholeNames << parts.join(u' ');
            }
            if (name == u"mods" && !subTitle.isEmpty())
                citations.back().title += u": "_s + subTitle;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        if (name == u"mods") {
            citations.emplace_back();
            subTitle.clear();
        } else if (name == u"relatedItem") {
            ++hostDepth;
        } else if (name == u"name") {
            family.clear();
            parts.clear();
            author = false;
        } else if (name == u"namePart") {
            const bool isFamily = xml.attributes().value(QLatin1String("type")) == u"family";
            parts << xml.readElementText();
            if (isFamily)
                family = parts.back();
        } else if (name == u"roleTerm") {
            author = author || xml.readElementText() == u"author";
        } else if (name == u"title") {
            const QString text = xml.readElementText();
            if (hostDepth == 0 && citations.back().title.isEmpty())
                citations.back().title = text;
            else if (hostDepth > 0 && citations.back().journal.isEmpty())
                citations.back().journal = text;
        } else if (name == u"subTitle" && hostDepth == 0) {
            subTitle = xml.readElementText();
        } else if (name == u"dateIssued" && hostDepth == 0 && citations.back().year.isEmpty()) {
            citations.back().year = xml.readElementText().left(4);
        }
    }
    if (xml.hasError())
        qWarning() << xml.errorString();
    return citations;
}

namespace {

// Biopython's reading of a MEDLINE file (Debian's python3, which has Bio).
std::vector<Citation> readMedline(const QString& path)
{
    const QString script = uR"(import json, sys
from Bio import Medline
out = []
for r in Medline.parse(open(sys.argv[1], encoding="utf-8")):
    out.append({"title": r.get("TI", ""), "authors": r.get("FAU") or r.get("AU") or [],
                "year": r.get("DP", "")[:4], "journal": r.get("TA", "")})
print(json.dumps(out))
)"_s;
    std::vector<Citation> citations;
    for (const QJsonValue record :
        QJsonDocument::fromJson(run(u"/usr/bin/python3"_s, {u"-c"_s, script, path})).array()) {
        const QJsonObject o = record.toObject();
        QStringList authors;
        for (const QJsonValue author : o[u"authors"].toArray())
            authors << author.toString();
        citations.push_back({o[u"title"].toString(), authors, o[u"year"].toString(), o[u"journal"].toString()});
    }
    return citations;
}

} // namespace

std::vector<Citation> independentCitations(const QString& path, TaggedFormat format)
{
    if (format == TaggedFormat::Medline)
        return readMedline(path);
    std::vector<Citation> titled;
    const QString reader = format == TaggedFormat::Ris ? u"ris2xml"_s : u"isi2xml"_s;
    for (Citation& citation : readMods(run(reader, {path}))) {
        if (!citation.title.isEmpty())
            titled.push_back(std::move(citation));
    }
    return titled;
}

void compareWithReader(const std::vector<QStringList>& stored, const std::vector<Citation>& theirs)
{
    QCOMPARE(stored.size(), theirs.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const QStringList& row = stored[i];
        const Citation& their = theirs[i];
        QCOMPARE(row.value(0), their.title);
        const QStringList authors = row.value(1).split(u"; "_s);
        QCOMPARE(authors.size(), their.authors.size());
        for (qsizetype a = 0; a < authors.size(); ++a)
            QVERIFY2(authors[a].startsWith(their.authors[a]), qPrintable(authors[a] + u" / "_s + their.authors[a]));
        QCOMPARE(row.value(2), their.year);
        QVERIFY2(row.value(3).startsWith(their.journal), qPrintable(row.value(3) + u" / "_s + their.journal));
    }
}

} // namespace papyrant::test
