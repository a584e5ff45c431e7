// The export file: complete files only, under the chosen name; a failure at the start or
// half way leaves no file (and an existing file as it was) and says why.

#include "formats/CitationExport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace papyrant;

namespace {

RecordValues longRecord(int number)
{
    RecordValues values;
    values.fill(EmptyFieldMarker);
    values[Title] = QStringLiteral("Record %1").arg(number);
    values[Abstract] = QString(2000, u'x');
    return values;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Files past the limit cannot grow, even for root: writes fail with "File too large".
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limited = m_before;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_before); }

private:
    rlimit m_before{};
};

} // namespace

class CitationExportTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_folder.emplace(); }

    void completeFileReplacesTheOldOne()
    {
        const QString path = m_folder->filePath(QStringLiteral("out.bib"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        CitationExport file(CitationFormat::BibTex, path);
        QCOMPARE(file.start(), std::nullopt);
        QVERIFY(file.write(longRecord(1)) && file.write(longRecord(2)));
        QCOMPARE(contents(path), QByteArray("old")); // nothing shows before the end
        QCOMPARE(file.finish(), std::nullopt);
        QCOMPARE(file.recordsWritten(), 2);
        QCOMPARE(contents(path).count("@misc{anon"), qsizetype(2));
        QCOMPARE(entries(), QStringList{"out.bib"});
    }

    void failureHalfWayLeavesNoFile_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new file") << false;
        QTest::newRow("replacing a file") << true;
    }
    void failureHalfWayLeavesNoFile()
    {
        QFETCH(bool, existing);
        const QString path = m_folder->filePath(QStringLiteral("out.ris"));
        if (existing) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        }
        CitationExport file(CitationFormat::Ris, path);
        std::optional<QString> failure;
        {
            const FileSizeLimit limit(64 * 1024);
            QCOMPARE(file.start(), std::nullopt);
            int written = 0;
            while (written < 1000 && file.write(longRecord(written)))
                ++written;
            QVERIFY2(written < 1000, "the size limit stopped no write");
            failure = file.finish();
        }
        QCOMPARE(failure.value_or(QStringLiteral("(none)")), QStringLiteral("File too large"));
        QCOMPARE(file.failure(), QStringLiteral("File too large"));
        QCOMPARE(entries(), existing ? QStringList{"out.ris"} : QStringList{});
        if (existing)
            QCOMPARE(contents(path), QByteArray("old"));
    }

    void unwritablePlacesAreRefused_data()
    {
        QTest::addColumn<QString>("leaf");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder is a file") << "plain/out.json"
                                          << "Not a directory";
        QTest::newRow("read-only file") << "plain"
                                        << "Permission denied";
    }
    void unwritablePlacesAreRefused()
    {
        QFETCH(QString, leaf);
        QFETCH(QString, reason);
        const QString plain = m_folder->filePath(QStringLiteral("plain"));
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept") == 4);
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ReadGroup));
        CitationExport out(CitationFormat::CslJson, m_folder->filePath(leaf));
        QVERIFY(out.start().value_or(QString()).contains(reason));
        QVERIFY(!out.write(longRecord(1)));
        QVERIFY(out.finish().has_value());
        QCOMPARE(entries(), QStringList{"plain"});
        QCOMPARE(contents(plain), QByteArray("kept"));
    }

    void abandonedExportLeavesNothing()
    {
        {
            CitationExport file(CitationFormat::CslJson, m_folder->filePath(QStringLiteral("out.json")));
            QCOMPARE(file.start(), std::nullopt);
            QVERIFY(file.write(longRecord(1)));
        }
        QCOMPARE(entries(), QStringList{});
    }

private:
    QStringList entries() const { return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_GUILESS_MAIN(CitationExportTest)
#include "tst_CitationExport.moc"
