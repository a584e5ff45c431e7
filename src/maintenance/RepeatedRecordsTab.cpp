#include "maintenance/RepeatedRecordsTab.h"

#include "screens/BoxText.h"
#include "screens/FittedTextBox.h"
#include "screens/PictureButtons.h"
#include "screens/ScrollingForm.h"
#include "screens/TickDriver.h"
#include "screens/WaitCursor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace papyrant {

namespace {

// Captions of the review rows; the later ones carry a colon as they always have.
const std::array<QString, FieldCount>& rowCaptions()
{
    static const std::array<QString, FieldCount> captions{QStringLiteral("Title"), QStringLiteral("Authors"),
        QStringLiteral("Author address"), QStringLiteral("Source"), QStringLiteral("Publishing year"),
        QStringLiteral("Key words"), QStringLiteral("Publication type"), QStringLiteral("Language:"),
        QStringLiteral("Abstract:"), QStringLiteral("Personal comment:"), QStringLiteral("Entry date:"),
        QStringLiteral("Category:")};
    return captions;
}

QString indexed(const char* name, int i)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i);
}

} // namespace

RepeatedRecordsTab::RepeatedRecordsTab(
    Bibliography& bibliography, const AutoRemoveOptions& autoRemove, TickDriver& ticks, QWidget* parent)
    : QWidget(parent)
    , m_data(bibliography)
    , m_autoRemoveOptions(autoRemove)
    , m_ticks(ticks)
    , m_review(m_data, prompts())
{
    m_findNext = new QPushButton(QStringLiteral("Find next repeated records"), this);
    m_findNext->setObjectName(QStringLiteral("Command1"));
    m_first = new QRadioButton(QStringLiteral("Show 1st repeated record"), this);
    m_first->setObjectName(QStringLiteral("Option1"));
    m_second = new QRadioButton(QStringLiteral("Show 2nd repeated record"), this);
    m_second->setObjectName(QStringLiteral("Option2"));
    m_update = pictureButton(this, "CommandUpdate", QStyle::SP_DialogSaveButton,
        QStringLiteral("Update current record"), ButtonWords::Beside);
    m_remove = pictureButton(
        this, "CommandRemove", QStyle::SP_TrashIcon, QStringLiteral("Remove current record"), ButtonWords::Beside);
    m_autoRemove = new QPushButton(QStringLiteral("Auto remove repeated records"), this);
    m_autoRemove->setObjectName(QStringLiteral("Command5"));
    m_options = new QPushButton(QStringLiteral("Options"), this);
    m_options->setObjectName(QStringLiteral("CommandOptions"));
    m_options->setToolTip(QStringLiteral("Auto remove options"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("Bar1"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);

    auto* pairBar = new QHBoxLayout;
    pairBar->addWidget(m_findNext);
    pairBar->addWidget(m_first);
    pairBar->addWidget(m_second);
    pairBar->addStretch();
    pairBar->addWidget(m_update);
    pairBar->addWidget(m_remove);
    auto* runBar = new QHBoxLayout;
    runBar->addWidget(m_autoRemove);
    runBar->addWidget(m_options);
    runBar->addWidget(m_bar, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pairBar);
    layout->addWidget(buildReviewRows(), 1);
    layout->addLayout(runBar);

    connect(m_findNext, &QPushButton::clicked, this, &RepeatedRecordsTab::findNextClicked);
    connect(m_first, &QRadioButton::clicked, this, [this] {
        m_review.showFirst();
        showReview();
    });
    connect(m_second, &QRadioButton::clicked, this, [this] {
        m_review.showSecond();
        showReview();
    });
    connect(m_update, &QToolButton::clicked, this, &RepeatedRecordsTab::updateClicked);
    connect(m_remove, &QToolButton::clicked, this, &RepeatedRecordsTab::removeClicked);
    connect(m_autoRemove, &QPushButton::clicked, this, &RepeatedRecordsTab::autoRemoveClicked);
    connect(m_options, &QPushButton::clicked, this, &RepeatedRecordsTab::optionsRequested);

    m_first->setChecked(true);
    showReview();
}

RepeatedRecordsTab::~RepeatedRecordsTab() = default;

QWidget* RepeatedRecordsTab::buildReviewRows()
{
    auto* rows = new QWidget(this);
    rows->setObjectName(QStringLiteral("Picture5"));
    auto* grid = new QGridLayout(rows);
    auto* similar = new QLabel(QStringLiteral("Similar"), rows);
    similar->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(similar, 0, 2);
    const QPixmap tick = style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(16, 16);
    for (int i = 0; i < FieldCount; ++i) {
        auto* caption = new QLabel(rowCaptions()[i], rows);
        caption->setObjectName(indexed("Label1", i));
        // As high as the value needs, within the field's lines; longer values scroll.
        auto* box = new FittedTextBox(fieldBoxLines(i), rows);
        box->setObjectName(indexed("Text2", i));
        caption->setBuddy(box);
        auto* mark = new QLabel(rows);
        mark->setObjectName(indexed("Picture3", i));
        mark->setPixmap(tick);
        QSizePolicy keepPlace = mark->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);
        mark->setSizePolicy(keepPlace);
        grid->addWidget(caption, i + 1, 0, Qt::AlignTop);
        grid->addWidget(box, i + 1, 1);
        grid->addWidget(mark, i + 1, 2, Qt::AlignTop | Qt::AlignHCenter);
        m_boxes[i] = box;
        m_marks[i] = mark;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(FieldCount + 1, 1);
    // The rows scroll in their frame; the box that takes the focus comes into view.
    return scrollingForm(this, rows, "Picture1", "VScroll1");
}

void RepeatedRecordsTab::showReview()
{
    for (int i = 0; i < FieldCount; ++i) {
        // Leave a box alone when it already holds the text, so the cursor stays put.
        if (boxText(m_boxes[i]) != lineFeedForm(m_review.boxes()[i]))
            m_boxes[i]->setPlainText(m_review.boxes()[i]);
        m_marks[i]->setVisible(m_review.marks()[i]);
    }
    (m_review.shown() == RepeatedPairReview::Shown::First ? m_first : m_second)->setChecked(true);
    m_first->setEnabled(m_review.firstAvailable());
    m_second->setEnabled(m_review.secondAvailable());
    m_update->setEnabled(m_review.actionsEnabled());
    m_remove->setEnabled(m_review.removeEnabled());
}

void RepeatedRecordsTab::findNextClicked()
{
    emit inputLocked(true);
    {
        WaitCursor wait;
        for (QPlainTextEdit* box : m_boxes)
            box->clear();
        m_review.findNext();
    }
    showReview();
    emit inputLocked(false);
}

void RepeatedRecordsTab::updateClicked()
{
    FieldValues typed;
    for (int i = 0; i < FieldCount; ++i) {
        typed[i] = boxText(m_boxes[i]);
        // A box left as it was gives back the stored text, its CR LF pairs included.
        if (typed[i] == lineFeedForm(m_review.boxes()[i]))
            typed[i] = m_review.boxes()[i];
    }
    m_review.updateCurrent(typed);
    showReview();
}

void RepeatedRecordsTab::removeClicked()
{
    m_review.removeCurrent();
    showReview();
}

void RepeatedRecordsTab::autoRemoveClicked()
{
    m_bar->setValue(0);
    m_review.clearDisplay();
    showReview();
    try {
        // Opening the scan reads every title in one sorted pass.
        WaitCursor wait;
        m_run = std::make_unique<AutoRemoveRun>(m_data.database(), m_autoRemoveOptions.fields);
    } catch (const std::exception& error) {
        m_review.restartScan();
        reportWorkFailure(AutoRemoveFailure, autoRemoveFailureReason(errorText(error)));
        return;
    }
    m_ticks.start(*m_run, {m_bar, AutoRemoveFailure, {}, [this](const StepOutcome& outcome) { runEnded(outcome); }});
}

void RepeatedRecordsTab::runEnded(const StepOutcome& outcome)
{
    const QString report = m_run->report();
    m_run.reset();
    m_review.restartScan();
    m_bar->setValue(0);
    if (outcome.kind == StepOutcome::Kind::Done)
        prompts().notice(report);
}

} // namespace papyrant
