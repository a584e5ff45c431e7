#include "entry/AutoExtractForm.h"

#include "core/Bibliography.h"
#include "core/Captions.h"
#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "entry/EntryControls.h"
#include "entry/ManualForm.h"
#include "entry/TagMapFrame.h"
#include "entry/TextView.h"
#include "entry/TagMapSource.h"
#include "screens/PictureButtons.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace papyrant {
namespace {

const QString GetSelectedText = QStringLiteral("Get selected text ");

QLabel* namedLabel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QString arrayName(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

} // namespace

AutoExtractForm::AutoExtractForm(Bibliography& bibliography, QWidget* parent)
    : WorkingScreen(ScreenKind::AutoExtract, bibliography, parent)
    , m_data(bibliography)
{
    setObjectName(QStringLiteral("AutoExtractForm"));

    m_work = new QWidget(this);
    const ViewColumn left = viewColumn(m_work, "Command2", QStringLiteral("/HAutoExtract.htm"));
    m_view = left.view;
    connect(m_view, &TextView::clicked, this, &AutoExtractForm::viewClicked);
    connect(left.open, &QToolButton::clicked, this, &AutoExtractForm::openTextFile);
    connect(left.back, &QToolButton::clicked, this, &WorkingScreen::backToControlPanel);

    m_extract = captionButton(m_work, QStringLiteral("CommandExtract"), QStringLiteral("Extract"));
    m_extract->setEnabled(false);
    connect(m_extract, &QPushButton::clicked, this, &AutoExtractForm::StartExtraction);

    auto* lower = new QHBoxLayout;
    lower->addWidget(buildLabelSets());
    lower->addWidget(buildCategory());
    auto* right = new QVBoxLayout;
    right->addWidget(buildLabelGrid());
    right->addLayout(lower);
    // Made last, as it stands last: the tab key reaches it after the other controls.
    m_tagMaps = new TagMapFrame(m_view->model(), m_work);
    connect(m_tagMaps, &TagMapFrame::choiceChanged, this, &AutoExtractForm::tagMapChosen);
    right->addWidget(m_tagMaps);
    auto* extractRow = new QHBoxLayout;
    extractRow->addStretch();
    extractRow->addWidget(m_extract);
    right->addLayout(extractRow);
    right->addStretch();

    auto* work = new QHBoxLayout(m_work);
    work->setContentsMargins(0, 0, 0, 0);
    work->addLayout(left.layout, 1);
    work->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_work, 1);
    layout->addWidget(buildProgressPanel());

    // A run locks the controls but leaves its progress panel alone.
    setWorkArea(m_work);

    // Load: the binding on the open bibliography, the category, label-set and tag-map lists,
    // the caption.
    m_data.setRecordSource(QStringLiteral("Abstracts"));
    FillCategoryList();
    FillLabelSetList();
    m_tagMaps->readMaps();
    setWindowTitle(windowCaption(ScreenKind::AutoExtract, bibliography.BibName()));
    resize(1100, 640);
}

AutoExtractForm::~AutoExtractForm() = default;

QWidget* AutoExtractForm::buildLabelGrid()
{
    auto* grid = new QWidget(m_work);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(namedLabel(grid, QStringLiteral("Label8"), QStringLiteral("Start after")), 0, 1);
    layout->addWidget(namedLabel(grid, QStringLiteral("Label9"), QStringLiteral("End before")), 0, 3);
    layout->addWidget(namedLabel(grid, QStringLiteral("Label2"), QStringLiteral("First field")), 0, 5);
    auto* group = new QButtonGroup(grid);
    for (int i = 0; i < LabelFieldCount; ++i) {
        const int row = i + 1;
        const QString field = fieldDisplayNames()[i];
        layout->addWidget(namedLabel(grid, arrayName("Label1", i), field + QLatin1Char(':')), row, 0);
        m_startBoxes[i] = new QLineEdit(grid);
        m_startBoxes[i]->setObjectName(arrayName("Text2", i));
        m_endBoxes[i] = new QLineEdit(grid);
        m_endBoxes[i]->setObjectName(arrayName("Text4", i));
        // A label of any length goes into the file and comes back whole (a line box
        // would cut it at 32,767 characters).
        m_startBoxes[i]->setMaxLength(std::numeric_limits<int>::max());
        m_endBoxes[i]->setMaxLength(std::numeric_limits<int>::max());
        auto* takeStart = captionButton(grid, arrayName("Command1", i), GetSelectedText);
        auto* takeEnd = captionButton(grid, arrayName("Command8", i), GetSelectedText);
        // "Get selected text " copies the selection exactly, line breaks included, and
        // empties the box when nothing is selected.
        connect(takeStart, &QPushButton::clicked, this,
            [this, i] { m_startBoxes[i]->setText(m_view->selectedModelText()); });
        connect(
            takeEnd, &QPushButton::clicked, this, [this, i] { m_endBoxes[i]->setText(m_view->selectedModelText()); });
        m_firstField[i] = new QRadioButton(grid);
        m_firstField[i]->setObjectName(arrayName("Option1", i));
        // The grid's controls repeat by row and column: a screen reader says both.
        m_startBoxes[i]->setAccessibleName(field + QStringLiteral(": start after"));
        m_endBoxes[i]->setAccessibleName(field + QStringLiteral(": end before"));
        takeStart->setAccessibleName(
            QStringLiteral("Get selected text into ") + field + QStringLiteral(": start after"));
        takeEnd->setAccessibleName(QStringLiteral("Get selected text into ") + field + QStringLiteral(": end before"));
        m_firstField[i]->setAccessibleName(field + QStringLiteral(": first field"));
        group->addButton(m_firstField[i], i);
        layout->addWidget(m_startBoxes[i], row, 1);
        layout->addWidget(takeStart, row, 2);
        layout->addWidget(m_endBoxes[i], row, 3);
        layout->addWidget(takeEnd, row, 4);
        layout->addWidget(m_firstField[i], row, 5, Qt::AlignCenter);
    }
    m_firstField[0]->setChecked(true);
    return grid;
}

QWidget* AutoExtractForm::buildLabelSets()
{
    auto* frame = new QGroupBox(QStringLiteral("Labels"), m_work);
    frame->setObjectName(QStringLiteral("Frame2"));
    m_labelSets = new QComboBox(frame);
    m_labelSets->setObjectName(QStringLiteral("Combo1"));
    m_labelSets->setMinimumContentsLength(18);
    auto* save = pictureButton(frame, "Command4", QStyle::SP_DialogSaveButton, QStringLiteral("Save current Labels"));
    m_deleteLabels = pictureButton(frame, "Command6", QStyle::SP_TrashIcon, QStringLiteral("Delete current Labels"));
    m_renameLabels
        = pictureButton(frame, "Command7", QStyle::SP_FileDialogContentsView, QStringLiteral("Rename current Labels"));
    m_deleteLabels->setEnabled(false);
    m_renameLabels->setEnabled(false);
    connect(m_labelSets, &QComboBox::activated, this, &AutoExtractForm::labelSetChosen);
    connect(save, &QToolButton::clicked, this, &AutoExtractForm::saveLabels);
    connect(m_deleteLabels, &QToolButton::clicked, this, &AutoExtractForm::deleteLabels);
    connect(m_renameLabels, &QToolButton::clicked, this, &AutoExtractForm::renameLabels);
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(m_labelSets, 1);
    layout->addWidget(save);
    layout->addWidget(m_deleteLabels);
    layout->addWidget(m_renameLabels);
    return frame;
}

QWidget* AutoExtractForm::buildCategory()
{
    auto* frame = new QGroupBox(QStringLiteral("Put in category"), m_work);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_categories = new QComboBox(frame);
    m_categories->setObjectName(QStringLiteral("Combo2"));
    m_categories->setMinimumContentsLength(14);
    auto* addNew = captionButton(frame, QStringLiteral("Command5"), QStringLiteral("Add  new"));
    addNew->setToolTip(QStringLiteral("Add  new category"));
    connect(addNew, &QPushButton::clicked, this, [this] { addCategory(m_categories); });
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(m_categories, 1);
    layout->addWidget(addNew);
    return frame;
}

QWidget* AutoExtractForm::buildProgressPanel()
{
    m_progressPanel = new QWidget(this);
    m_progressPanel->setObjectName(QStringLiteral("Picture1"));
    m_recordNo = namedLabel(m_progressPanel, QStringLiteral("Label4"), QString());
    m_fromTo = namedLabel(m_progressPanel, QStringLiteral("Label5"), QString());
    m_bar = new QProgressBar(m_progressPanel);
    m_bar->setObjectName(QStringLiteral("Bar1"));
    m_bar->setTextVisible(false);
    auto* line = new QHBoxLayout;
    line->addWidget(namedLabel(m_progressPanel, QStringLiteral("Label3"), QStringLiteral("Extracting record No.")));
    line->addWidget(m_recordNo);
    line->addStretch();
    line->addWidget(m_fromTo);
    auto* layout = new QVBoxLayout(m_progressPanel);
    layout->addLayout(line);
    layout->addWidget(m_bar);
    m_progressPanel->hide();
    return m_progressPanel;
}

void AutoExtractForm::FillCategoryList()
{
    fillSorted(m_categories, bibliography().refreshCategories(prompts()));
}

void AutoExtractForm::FillLabelSetList()
{
    m_labelSets->clear();
    LabelSetStore store(prompts(), programState().LabelsPath);
    if (const auto names = store.names())
        m_labelSets->addItems(*names);
    m_labelSets->setCurrentIndex(-1);
}

void AutoExtractForm::UpdateLabelButtons()
{
    const bool chosen = !m_labelSets->currentText().isEmpty();
    m_deleteLabels->setEnabled(chosen);
    m_renameLabels->setEnabled(chosen);
}

void AutoExtractForm::openTextFile()
{
    const auto title = openTextFileInto(m_view);
    if (!title)
        return;
    m_fileTitle = *title;
    m_tagMaps->textOpened();
    if (!m_labelSets->currentText().isEmpty())
        chooseEarliestFirstField();
}

void AutoExtractForm::tagMapChosen()
{
    // A recognised export needs no labels: it can be extracted as soon as it is open.
    if (m_tagMaps->mapChosen() && !m_view->model().isEmpty())
        m_extract->setEnabled(true);
}

void AutoExtractForm::chooseEarliestFirstField()
{
    // The field that begins the text's first record begins every record: the MEDLINE set
    // starts at the year, which precedes the title.
    const int field = earliestStartLabelField(boxTexts(m_startBoxes), m_view->model().text());
    if (field >= 0)
        m_firstField[field]->setChecked(true);
}

void AutoExtractForm::viewClicked()
{
    m_extract->setEnabled(!m_view->model().isEmpty());
}

void AutoExtractForm::labelSetChosen()
{
    UpdateLabelButtons();
    LabelSetStore store(prompts(), programState().LabelsPath);
    bool vanished = false;
    const auto set = store.load(m_labelSets->currentText(), &vanished);
    if (vanished) {
        // Another program took it out of the labels file: the list follows the file.
        FillLabelSetList();
        UpdateLabelButtons();
    }
    if (!set)
        return;
    for (int i = 0; i < LabelFieldCount; ++i) {
        m_startBoxes[i]->setText(set->startLabels[i]);
        m_endBoxes[i]->setText(set->endLabels[i]);
    }
    // A label set chosen: the labels cut the text.
    m_tagMaps->chooseLabels();
    chooseEarliestFirstField();
}

void AutoExtractForm::afterLabelChange(const LabelChange& change)
{
    if (change.result == LabelChange::Declined || change.result == LabelChange::Failed)
        return;
    // A set that vanished meanwhile leaves the list: it is read again either way.
    FillLabelSetList();
    if (change.result == LabelChange::Done && !change.name.isEmpty())
        m_labelSets->setCurrentIndex(m_labelSets->findText(change.name, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void AutoExtractForm::saveLabels()
{
    LabelSetStore store(prompts(), programState().LabelsPath);
    afterLabelChange(store.save(boxTexts(m_startBoxes), boxTexts(m_endBoxes)));
}

void AutoExtractForm::deleteLabels()
{
    LabelSetStore store(prompts(), programState().LabelsPath);
    const LabelChange change = store.remove(m_labelSets->currentText());
    afterLabelChange(change);
    if (change.result == LabelChange::Done) {
        for (int i = 0; i < LabelFieldCount; ++i) {
            m_startBoxes[i]->clear();
            m_endBoxes[i]->clear();
        }
    }
    if (change.result == LabelChange::Done || change.result == LabelChange::Vanished)
        UpdateLabelButtons();
}

void AutoExtractForm::renameLabels()
{
    LabelSetStore store(prompts(), programState().LabelsPath);
    const LabelChange change = store.rename(m_labelSets->currentText());
    afterLabelChange(change);
    if (change.result == LabelChange::Vanished)
        UpdateLabelButtons();
}

Labels AutoExtractForm::boxTexts(const std::array<QLineEdit*, LabelFieldCount>& boxes) const
{
    Labels texts;
    for (int i = 0; i < LabelFieldCount; ++i)
        texts[i] = boxes[i]->text();
    return texts;
}

int AutoExtractForm::firstField() const
{
    for (int i = 0; i < LabelFieldCount; ++i) {
        if (m_firstField[i]->isChecked())
            return i;
    }
    return 0;
}

bool AutoExtractForm::openRecordSet()
{
    if (m_data.hasRecordset())
        return true;
    try {
        m_data.refresh();
        return true;
    } catch (const std::exception& e) {
        reportDataError(e);
        return false;
    }
}

void AutoExtractForm::StartExtraction()
{
    std::optional<TagMap> map;
    if (m_tagMaps->mapChosen() && !(map = m_tagMaps->chosenMap()))
        return; // the saved map is gone from the labels file; the user has been told
    if (!openRecordSet())
        return;
    TextModel& text = m_view->modelWithSelection();
    m_run = std::make_unique<ExtractionRun>(text, m_data.database(), m_data.recordset());
    m_recordNo->setText(QStringLiteral("1"));
    m_bar->setRange(0, m_run->progressMaximum());
    m_bar->setValue(0);
    m_fromTo->setText(QStringLiteral("from ") + m_fileTitle + QStringLiteral(" to ") + bibliography().BibName());
    chooseNoneWhenEmpty(m_categories);

    if (map) {
        // The text is read by the grammar of the layout it was found to be.
        const TaggedFormat format
            = m_tagMaps->textFormat() != TaggedFormat::None ? m_tagMaps->textFormat() : map->format;
        m_run->start(std::make_unique<TagMapSource>(text.text(), format, std::move(*map)), m_categories->currentText());
    } else {
        ExtractionSetup setup;
        setup.startLabels = boxTexts(m_startBoxes);
        setup.endLabels = boxTexts(m_endBoxes);
        setup.firstField = firstField();
        setup.category = m_categories->currentText();
        if (const auto refusal = m_run->start(setup)) {
            prompts().notice(refusal->message);
            (refusal->endLabel ? m_endBoxes : m_startBoxes)[refusal->field]->setFocus();
            return;
        }
    }
    m_progressPanel->show();
    ticks().start(*m_run,
        {m_bar, DataErrorSentence, [this] { m_recordNo->setText(QString::number(m_run->state().RecordCounter)); },
            [this](const StepOutcome& outcome) { extractionEnded(outcome); }});
}

void AutoExtractForm::extractionEnded(const StepOutcome& outcome)
{
    if (outcome.kind == StepOutcome::Kind::Done) {
        FinishExtraction();
        return;
    }
    // The records committed before, and those of this tick before the failure, stay
    // stored; the driver reports the failure. The next run opens the table afresh.
    m_run.reset();
    m_data.close();
    m_progressPanel->hide();
}

void AutoExtractForm::FinishExtraction()
{
    m_run->finish();
    m_view->showModelSelection();
    m_progressPanel->hide();
    if (m_run->anyFailed()) {
        if (prompts().message(m_run->failedRecordsQuestion(), programTitle(), PromptButtons::YesNo, PromptIcon::None,
                PromptButton::Yes)
            == PromptButton::Yes)
            handOverFailedRecords();
    } else {
        prompts().notice(m_run->successMessage());
    }
}

void AutoExtractForm::handOverFailedRecords()
{
    auto* manual = qobject_cast<ManualForm*>(screens().instance(ScreenKind::ManualAdding, bibliography()));
    if (!manual)
        return;
    QStringList categories;
    for (int i = 0; i < m_categories->count(); ++i)
        categories << m_categories->itemText(i);
    manual->receiveFailedRecords(m_run->state().FailedTexts, categories, m_categories->currentIndex());
    hide();
    screens().show(ScreenKind::ManualAdding, bibliography());
}

void AutoExtractForm::unloadScreen()
{
    m_run.reset();
    m_data.close();
}

} // namespace papyrant
