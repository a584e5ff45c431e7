#include "help/Help1.h"

#include "core/Prompts.h"
#include "help/HelpLayout.h"
#include "screens/ReadingOrder.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QUrl>

#include <stdexcept>

#ifndef PAPYRANT_VERSION
#define PAPYRANT_VERSION "unknown"
#endif

namespace papyrant {

namespace {
QPointer<Help1> theHelpWindow;

constexpr int ButtonGapPixels = 8;
// Narrower than this the pages are hard to read; the window is not squeezed below it
// to stay clear of its caller.
constexpr int NarrowestPlacedWidth = 320;
} // namespace

HelpBrowser::HelpBrowser(QWidget* parent)
    : QTextBrowser(parent)
{
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile() && !QFileInfo::exists(name.toLocalFile())) {
        return QStringLiteral("<html><body><h2>This page cannot be shown</h2>"
                              "<p>The help page <b>%1</b> was not found in the program folder.</p>"
                              "</body></html>")
            .arg(name.toLocalFile().toHtmlEscaped());
    }
    return QTextBrowser::loadResource(type, name);
}

Help1::Help1(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new HelpBrowser(this))
    , m_back(new QPushButton(QStringLiteral("Back"), this))
    , m_home(new QPushButton(QStringLiteral("Home"), this))
    , m_about(new QPushButton(QStringLiteral("About"), this))
{
    setObjectName(QStringLiteral("Help1"));
    setWindowTitle(QStringLiteral("Help"));
    followReadingOrder(this);
    m_browser->setObjectName(QStringLiteral("WB1"));
    m_back->setObjectName(QStringLiteral("Command1"));
    m_home->setObjectName(QStringLiteral("Command2"));
    m_about->setObjectName(QStringLiteral("Command3"));
    m_browser->setOpenLinks(true);

    connect(m_back, &QPushButton::clicked, this, &Help1::goBack);
    connect(m_home, &QPushButton::clicked, this, &Help1::goHome);
    connect(m_about, &QPushButton::clicked, this, &Help1::showAbout);

    // The window manager stops a drag at the lowest height the resize rule allows.
    setMinimumHeight(twipsToPixels(HelpMinimumHeightTwips, logicalDpiY()));
    // The pages wrap to the window down to this width; narrower, they would need a
    // horizontal scroll bar.
    setMinimumWidth(NarrowestPlacedWidth);
    m_browser->setAccessibleName(QStringLiteral("Help page"));
    resize(640, 600);
    layoutControls();
}

Help1& Help1::instance()
{
    if (!theHelpWindow) {
        theHelpWindow = new Help1;
        theHelpWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *theHelpWindow;
}

bool Help1::exists()
{
    return !theHelpWindow.isNull();
}

void Help1::navigate(const QString& fullPath)
{
    m_homePage = fullPath;
    const QUrl page = QUrl::fromLocalFile(fullPath);
    // The same page again (Home on the home page) must still show its top.
    if (m_browser->source() == page)
        m_browser->reload();
    else
        m_browser->setSource(page);
}

void Help1::placeBeside(const QWidget* caller)
{
    if (!caller || !caller->screen())
        return;
    const QRect callerFrame = caller->frameGeometry();
    // Before it is first shown this window has no frame yet; the caller's, drawn by the
    // same window manager, is the best guess of what it will get.
    const auto margins = [](const QWidget* window) {
        const QRect frame = window->frameGeometry();
        const QRect inner = window->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom());
    };
    const QMargins decoration = frameGeometry() != geometry() ? margins(this) : margins(caller);
    const QSize minimum(qMax(minimumWidth(), NarrowestPlacedWidth), minimumHeight());
    const QRect frame = helpPlacement(callerFrame, size().grownBy(decoration), minimum.grownBy(decoration),
        caller->screen()->availableGeometry(), ButtonGapPixels);
    resize(frame.size().shrunkBy(decoration));
    move(frame.topLeft());
}

void Help1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void Help1::layoutControls()
{
    if (isMinimized())
        return;
    const HelpLayout layout = helpLayout(size(), logicalDpiX(), logicalDpiY());
    if (layout.clampedHeight) {
        // The resize this makes lays the browser out.
        resize(width(), *layout.clampedHeight);
        return;
    }
    m_browser->setGeometry(layout.browser);
    int x = layout.browser.left();
    for (QPushButton* button : {m_back, m_home, m_about}) {
        const QSize hint = button->sizeHint();
        button->setGeometry(x, qMax(0, (layout.browser.top() - hint.height()) / 2), hint.width(), hint.height());
        x += hint.width() + ButtonGapPixels;
    }
}

void Help1::goBack()
{
    if (m_browser->isBackwardAvailable())
        m_browser->backward();
}

void Help1::goHome()
{
    navigate(m_homePage);
}

QString Help1::aboutText()
{
    return QStringLiteral("Papyrant ") + QStringLiteral(PAPYRANT_VERSION) + QLatin1Char('\n')
        + QStringLiteral("Keeps bibliographies: collects literature records from text exports and by hand, "
                         "searches, edits and tidies them.")
        + QLatin1Char('\n') + QLatin1Char('\n') + QStringLiteral("Built with:") + QLatin1Char('\n')
        + QStringLiteral("Qt 6, under the GNU Lesser General Public License version 3 (LGPLv3)") + QLatin1Char('\n')
        + QStringLiteral("SQLite, in the public domain") + QLatin1Char('\n')
        + QStringLiteral("SQLiteCpp, under the MIT licence");
}

void Help1::showAbout()
{
    prompts().message(aboutText(), QStringLiteral("About"), PromptButtons::Ok, PromptIcon::None, PromptButton::Ok);
}

} // namespace papyrant
