#include "panel/MainForm.h"

#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "help/Help1.h"
#include "help/HelpOpener.h"
#include "panel/Artwork.h"
#include "panel/PicsForm.h"
#include "panel/PictureButton.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace papyrant {

namespace {

const QString NoBibliography = QStringLiteral("There is no bibliography opened.") + QLatin1Char('\n')
    + QStringLiteral("Please open bibliography first.");

constexpr QSize WindowSize(720, 416);
constexpr QSize BigButton(100, 100);
constexpr QSize SmallButton(56, 56);
constexpr QSize BlinkSize(40, 40);
// The card the background art draws around the status line, help and exit.
constexpr QRect StatusCard(20, 328, 680, 72);
// Help and exit sit this far inside the card's border, as far as from its top and bottom.
constexpr int CardInset = (StatusCard.height() - SmallButton.height()) / 2;

struct ButtonRow {
    PanelButton number;
    const char* objectName;
    const char* art; // faces "<art>" and "<art>-hot"
    const char* tooltip; // empty: none
    const char* caption; // words under the big buttons
    const char* spoken; // what a screen reader says: the button's action
};

// Left to right as they stand on the panel; made in this order, Tab walks them so.
constexpr std::array<ButtonRow, 8> ButtonRows{{
    {PanelButton::Create, "Picture1", "create", "Create a new bibliography", "New", "Create a new bibliography"},
    {PanelButton::Open, "Picture13", "open", "Open an exist bibliography", "Open", "Open a bibliography"},
    {PanelButton::AutoExtract, "Picture7", "extract", "Auto extract from text file", "Auto extract",
        "Auto extract from text file"},
    {PanelButton::Manual, "Picture9", "manual", "Add records manually", "Add manually", "Add records manually"},
    {PanelButton::Search, "Picture17", "search", "Do search in current bibliography", "Search",
        "Search the bibliography"},
    {PanelButton::Maintenance, "Picture15", "maintain", "", "Maintenance", "Maintenance"},
    {PanelButton::Help, "Picture19", "help", "", "", "Help"},
    {PanelButton::Exit, "Picture2", "exit", "", "", "Exit Papyrant"},
}};

QSize faceSize(PanelButton number)
{
    return number == PanelButton::Help || number == PanelButton::Exit ? SmallButton : BigButton;
}

} // namespace

ScreenKind MainForm::screenOf(PanelButton button)
{
    switch (button) {
    case PanelButton::AutoExtract: return ScreenKind::AutoExtract;
    case PanelButton::Manual: return ScreenKind::ManualAdding;
    case PanelButton::Search: return ScreenKind::SearchResults;
    case PanelButton::Maintenance: return ScreenKind::Maintenance;
    default: return ScreenKind::ControlPanel;
    }
}

MainForm::MainForm(QWidget* parent)
    : QWidget(parent)
    , m_hover(*this)
    , m_animationTimer(new QTimer(this))
    , m_imageTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(windowCaption(ScreenKind::ControlPanel, QString()));
    setFixedSize(WindowSize);
    setMouseTracking(true);

    m_background = new TrackedPicture(QStringLiteral("Picture22"), this);
    m_banner = new TrackedPicture(QStringLiteral("Picture10"), this);
    for (int i = 0; i < 2; ++i) {
        m_blink[i] = new QLabel(m_banner);
        m_blink[i]->setObjectName(QStringLiteral("Picture21_%1").arg(i));
        m_blink[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_blink[i]->hide();
    }
    buildButtons();

    m_status = new QLabel(NoBibliographyStatus, this);
    m_status->setObjectName(QStringLiteral("Label1"));
    m_status->setWordWrap(true);
    m_status->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_status->setStyleSheet(QStringLiteral("color: #1f3a5f; font-size: 10pt;"));

    m_indexLine = new QLabel(this);
    m_indexLine->setObjectName(QStringLiteral("IndexLine"));
    m_indexLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_indexLine->setStyleSheet(QStringLiteral("color: #1f3a5f; font-size: 8pt;"));
    m_indexLine->hide();
    m_indexTimer = new QTimer(this);
    m_indexTimer->setInterval(250);
    connect(m_indexTimer, &QTimer::timeout, this, &MainForm::showIndexProgress);

    m_animationTimer->setObjectName(QStringLiteral("Timer1"));
    m_animationTimer->setInterval(250);
    connect(m_animationTimer, &QTimer::timeout, this, &MainForm::animationTick);

    // The frames are not needed to show the panel; they load just after it appears.
    m_imageTimer->setObjectName(QStringLiteral("Timer2"));
    m_imageTimer->setInterval(50);
    connect(m_imageTimer, &QTimer::timeout, this, [this] {
        m_hover.loadImagesOnce();
        m_imageTimer->stop();
    });
    m_imageTimer->start();

    connect(m_background, &TrackedPicture::pointerMoved, this, [this] { m_hover.restoreResting(); });
    connect(m_banner, &TrackedPicture::pointerMoved, this, [this] { m_hover.restoreResting(); });

    placeControls();
    screens().setControlPanel(this, [this](ScreenExit exit) { screenLeft(exit); });
    load();
}

MainForm::~MainForm() = default;

void MainForm::buildButtons()
{
    const qreal ratio = devicePixelRatioF();
    for (const ButtonRow& row : ButtonRows) {
        auto* picture = new PictureButton(QString::fromLatin1(row.objectName), this);
        if (*row.tooltip)
            picture->setToolTip(QString::fromLatin1(row.tooltip));
        picture->setAccessibleName(QString::fromLatin1(row.spoken));
        const QSize size = faceSize(row.number);
        picture->setFixedSize(size);
        const QString art = QString::fromLatin1(row.art);
        m_buttons.push_back(
            {row.number, picture, renderArt(art, size, ratio), renderArt(art + QStringLiteral("-hot"), size, ratio)});
        const PanelButton number = row.number;
        // Reached by Tab, a button lights up and plays as if the pointer were on it.
        for (auto signal : {&PictureButton::pointerMoved, &PictureButton::keyboardFocused})
            connect(picture, signal, this, [this, number] { m_hover.pointerOver(number); });
        switch (number) {
        case PanelButton::Create: connect(picture, &PictureButton::clicked, this, &MainForm::createClicked); break;
        case PanelButton::Open: connect(picture, &PictureButton::clicked, this, &MainForm::openClicked); break;
        case PanelButton::Help: connect(picture, &PictureButton::clicked, this, &MainForm::helpClicked); break;
        case PanelButton::Exit: connect(picture, &PictureButton::clicked, this, &QWidget::close); break;
        default:
            connect(picture, &PictureButton::clicked, this, [this, number] { workingScreenClicked(number); });
            break;
        }
    }
    m_bannerImages = {renderArt(QStringLiteral("banner"), PicsForm::frameSize(), ratio),
        renderArt(QStringLiteral("banner-exit"), PicsForm::frameSize(), ratio)};
    for (int i = 0; i < 2; ++i)
        m_blink[i]->setPixmap(renderArt(QStringLiteral("blink-%1").arg(i), BlinkSize, ratio));
    m_background->setPixmap(renderArt(QStringLiteral("background"), WindowSize, ratio));
}

void MainForm::placeControls()
{
    m_background->setGeometry(QRect(QPoint(0, 0), WindowSize));
    m_banner->setGeometry(QRect(QPoint(20, 20), PicsForm::frameSize()));
    m_blink[0]->setGeometry(QRect(QPoint(368, 22), BlinkSize));
    m_blink[1]->setGeometry(QRect(QPoint(368, 88), BlinkSize));

    int x = 20;
    for (const ButtonRow& row : ButtonRows) {
        if (faceSize(row.number) != BigButton)
            continue;
        button(row.number).picture->move(x, 190);
        auto* caption = new QLabel(QString::fromLatin1(row.caption), this);
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setStyleSheet(QStringLiteral("color: #1f3a5f; font-size: 9pt;"));
        caption->setGeometry(x - 8, 294, BigButton.width() + 16, 22);
        x += BigButton.width() + 16;
    }
    const QPoint exitAt(StatusCard.right() + 1 - CardInset - SmallButton.width(), StatusCard.top() + CardInset);
    button(PanelButton::Exit).picture->move(exitAt);
    button(PanelButton::Help).picture->move(exitAt - QPoint(SmallButton.width() + 12, 0));
    m_status->setGeometry(32, 336, 520, 40);
    m_indexLine->setGeometry(32, 377, 520, 18);
}

MainForm::Button& MainForm::button(PanelButton number)
{
    for (Button& b : m_buttons) {
        if (b.number == number)
            return b;
    }
    return m_buttons.front();
}

void MainForm::load()
{
    programState().initialiseAtStart(QDir::currentPath());
    m_banner->setPixmap(m_bannerImages[0]);
    for (Button& b : m_buttons)
        b.picture->setPixmap(b.resting);
}

void MainForm::refreshRecordCount()
{
    showRecordCount(true);
}

void MainForm::showRecordCount(bool reportFailure)
{
    try {
        m_status->setText(papyrant::refreshRecordCount(m_bibliography));
    } catch (const std::exception& e) {
        // The bibliography went missing or broke while a screen had it: the line says so
        // rather than show a count that may no longer hold.
        m_status->setText(uncountedStatus(m_bibliography));
        if (reportFailure)
            prompts().notice(
                QStringLiteral("Can't read the record count of this bibliography") + QLatin1Char('\n') + errorText(e));
    }
}

void MainForm::screenLeft(ScreenExit exit)
{
    // The screen has let go of its record sets; a fresh connection sees the file as it is now.
    m_bibliography.closeConnection();
    // When the program ends, nothing is reported, but the line is brought up to date all the same.
    showRecordCount(exit != ScreenExit::CloseBox);
    if (exit != ScreenExit::CloseBox)
        startIndexUpkeep();
}

void MainForm::createClicked()
{
    stopIndexUpkeep();
    showOpened(createBibliography(prompts(), programState(), m_bibliography));
}

void MainForm::openClicked()
{
    stopIndexUpkeep();
    showOpened(openBibliography(prompts(), m_bibliography));
}

void MainForm::showOpened(const std::optional<QString>& statusLine)
{
    if (statusLine) {
        m_status->setText(*statusLine);
        m_hover.restoreResting();
    } else if (!m_bibliography.isOpen()) {
        // A failure closed the bibliography that was open; otherwise its line still holds.
        m_status->setText(NoBibliographyStatus);
    }
    startIndexUpkeep(); // the new one's, or again the one still open
}

void MainForm::startIndexUpkeep()
{
    stopIndexUpkeep();
    if (!m_bibliography.isOpen())
        return;
    // A file the user may not write keeps what it has; it is searched all the same.
    const QFileInfo file(m_bibliography.BibPath());
    if (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable())
        return;
    m_indexUpkeep = std::make_unique<SearchIndexUpkeep>(m_bibliography.BibPath());
    m_indexClock.start();
    m_indexTimer->start();
}

void MainForm::stopIndexUpkeep()
{
    m_indexTimer->stop();
    m_indexUpkeep.reset();
    m_indexLine->hide();
}

void MainForm::showIndexProgress()
{
    if (!m_indexUpkeep)
        return;
    switch (m_indexUpkeep->state()) {
    case SearchIndexUpkeep::State::Working:
        // A catch-up of a few records ends before anyone could read about it.
        if (m_indexClock.elapsed() >= 1000) {
            m_indexLine->setText(QStringLiteral("Building the search index for quick searches: %1%")
                                     .arg(m_indexUpkeep->permille() / 10));
            m_indexLine->show();
        }
        return;
    case SearchIndexUpkeep::State::Failed:
        m_indexLine->setText(QStringLiteral("The search index could not be brought up to date, so searches read "
                                            "every record: ")
            + m_indexUpkeep->failure());
        m_indexLine->setToolTip(m_indexLine->text());
        m_indexLine->show();
        break;
    default: m_indexLine->hide(); break;
    }
    m_indexTimer->stop();
}

void MainForm::workingScreenClicked(PanelButton number)
{
    if (!m_bibliography.isOpen()) {
        m_hover.restoreResting();
        prompts().notice(NoBibliography);
        return;
    }
    const ScreenKind kind = screenOf(number);
    if (!screens().isRegistered(kind)) {
        // This build has no such screen yet: say so rather than open an empty window.
        m_hover.restoreResting();
        prompts().notice(QStringLiteral("This screen is not available in this version of Papyrant yet."));
        return;
    }
    // The screen has the file to itself; the index waits for the return to the panel.
    stopIndexUpkeep();
    if (screens().show(kind, m_bibliography))
        hide();
    else
        startIndexUpkeep();
}

void MainForm::helpClicked()
{
    if (showHelp(QStringLiteral("/Hmain.htm")))
        m_hover.restoreResting();
}

void MainForm::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    m_hover.restoreResting();
}

void MainForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_hover.restoreResting();
}

void MainForm::closeEvent(QCloseEvent* event)
{
    if (Help1::exists())
        Help1::instance().close();
    stopIndexUpkeep();
    event->accept();
    screens().endProgram();
}

// --- what the hover machine asks for ---

void MainForm::setAnimationTimerEnabled(bool enabled)
{
    if (enabled)
        m_animationTimer->start();
    else
        m_animationTimer->stop();
}

void MainForm::showRestingImages()
{
    for (Button& b : m_buttons)
        b.picture->setPixmap(b.resting);
    m_banner->setPixmap(m_bannerImages[0]);
    m_bannerFrame = -1;
    for (QLabel* blink : m_blink)
        blink->hide();
}

void MainForm::setHandPointer(PanelButton number)
{
    button(number).picture->setCursor(handCursor(devicePixelRatioF()));
}

void MainForm::showHighlighted(PanelButton number)
{
    Button& b = button(number);
    b.picture->setPixmap(b.highlighted);
}

void MainForm::loadImageHolder()
{
    if (!m_pics)
        m_pics = std::make_unique<PicsForm>(devicePixelRatioF());
}

void MainForm::copyFrames(int holderArray, int lastFrame)
{
    const std::vector<QPixmap>& source = m_pics->frames(holderArray);
    if (m_frames.size() < 6)
        m_frames.resize(6);
    for (int i = 0; i <= lastFrame && i < static_cast<int>(source.size()); ++i)
        m_frames[static_cast<std::size_t>(i)] = source[static_cast<std::size_t>(i)];
}

void MainForm::showFrame(int index)
{
    if (index < 0 || index >= static_cast<int>(m_frames.size()))
        return;
    m_banner->setPixmap(m_frames[static_cast<std::size_t>(index)]);
    m_bannerFrame = index;
}

void MainForm::showExitBanner()
{
    m_banner->setPixmap(m_bannerImages[1]);
    m_bannerFrame = -2;
}

void MainForm::toggleBlink()
{
    const bool firstShown = !m_blink[0]->isHidden();
    m_blink[0]->setVisible(!firstShown);
    m_blink[1]->setVisible(firstShown);
}

} // namespace papyrant
