#include "support/ScreenFixture.h"

#include "core/Captions.h"
#include "help/Help1.h"
#include "panel/MainForm.h"
#include "screens/WorkingScreen.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

namespace papyrant::test {

ScreenFixture::ScreenFixture()
    : m_folder(std::make_unique<TestProgramFolder>())
    , m_prompts(std::make_unique<ScriptedPrompts>())
{
    QDir::setCurrent(m_folder->path());
}

ScreenFixture::~ScreenFixture()
{
    for (ScreenKind kind :
        {ScreenKind::AutoExtract, ScreenKind::ManualAdding, ScreenKind::SearchResults, ScreenKind::Maintenance})
        delete screens().existing(kind);
    if (Help1::exists())
        delete &Help1::instance();
    delete m_panel.data();
    m_prompts.reset();
    m_folder.reset();
}

MainForm& ScreenFixture::openPanel()
{
    delete m_panel.data();
    m_panel = new MainForm;
    m_panel->show();
    if (!QTest::qWaitForWindowExposed(m_panel.data()))
        qWarning("the control panel did not come on screen");
    return *m_panel;
}

Bibliography& ScreenFixture::bibliography()
{
    return m_panel ? m_panel->bibliography() : m_folder->bibliography();
}

QString ScreenFixture::openBibliography(const QString& fileName, const std::vector<TestRecord>& records)
{
    const QString path = m_folder->makeBibliography(fileName, records);
    bibliography().open(path, QFileInfo(path).fileName().chopped(4));
    return path;
}

void ScreenFixture::verifyNoUnexpectedPrompts() const
{
    QVERIFY2(m_prompts->unexpected().isEmpty(), qPrintable(m_prompts->unexpected().join(QLatin1Char('\n'))));
}

} // namespace papyrant::test
