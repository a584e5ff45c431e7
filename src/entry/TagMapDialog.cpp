#include "entry/TagMapDialog.h"

#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "formats/ReadyTagMaps.h"
#include "formats/TagMapStore.h"
#include "screens/WaitCursor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace papyrant {
namespace {

enum Column { TagColumn, CountColumn, RecordsColumn, SampleColumn, FieldColumn };

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidgetItem* numberCell(int number)
{
    QTableWidgetItem* item = cell(QString::number(number));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// The field box of a tag: "(not used)", the nine fields, the parts of the source.
QComboBox* fieldBox(QWidget* parent, const TagUse& use)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("TagField_") + use.tag);
    box->setAccessibleName(QStringLiteral("Field of the tag ") + use.tag);
    for (int target = -1; target < TagTargetCount; ++target)
        box->addItem(tagTargetName(TagTarget(target)));
    box->setCurrentIndex(int(use.target) + 1);
    return box;
}

} // namespace

TagMapDialog::TagMapDialog(QStringView text, const FormatDetection& detection, const TagMap* chosen, QWidget* parent)
    : QDialog(parent)
    , m_format(detection.format)
{
    setObjectName(QStringLiteral("TagMapDialog"));
    setWindowTitle(QStringLiteral("Tag map"));
    {
        // A large export takes a moment to read through.
        WaitCursor wait;
        m_uses = proposeTagMap(text, m_format);
    }
    if (chosen) {
        followTagMap(m_uses, *chosen);
        m_preferred = *chosen;
    }

    QString heading = detectionSummary(detection) + QLatin1Char('\n');
    if (!chosen)
        heading += QStringLiteral("The fields are proposed from the tags and their values.");
    else if (chosen->name.isEmpty())
        heading += QStringLiteral("The fields are as you chose them last.");
    else
        heading += QStringLiteral("The fields are those of the tag map ") + chosen->name + QLatin1Char('.');
    auto* summary = new QLabel(heading, this);
    summary->setObjectName(QStringLiteral("TagMapSummary"));

    auto* table = new QTableWidget(int(m_uses.size()), 5, this);
    table->setObjectName(QStringLiteral("TagTable"));
    table->setAccessibleName(QStringLiteral("Tags of the text"));
    table->setHorizontalHeaderLabels({QStringLiteral("Tag"), QStringLiteral("Count"), QStringLiteral("Records"),
        QStringLiteral("Sample value"), QStringLiteral("Field")});
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(false); // one line a tag; the whole sample is its tool tip
    for (int row = 0; row < int(m_uses.size()); ++row) {
        const TagUse& use = m_uses[std::size_t(row)];
        table->setItem(row, TagColumn, cell(use.tag));
        table->setItem(row, CountColumn, numberCell(use.values));
        table->setItem(row, RecordsColumn, numberCell(use.records));
        QTableWidgetItem* sample = cell(use.sample);
        sample->setToolTip(use.sample);
        table->setItem(row, SampleColumn, sample);
        m_fields.push_back(fieldBox(table, use));
        m_shown.push_back(m_fields.back()->currentIndex());
        table->setCellWidget(row, FieldColumn, m_fields.back());
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setSectionResizeMode(SampleColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(FieldColumn, QHeaderView::ResizeToContents);

    auto* save = new QPushButton(QStringLiteral("Save..."), this);
    save->setObjectName(QStringLiteral("TagMapSave"));
    save->setToolTip(QStringLiteral("Save this tag map in the labels file"));
    save->setAccessibleName(QStringLiteral("Save tag map"));
    connect(save, &QPushButton::clicked, this, &TagMapDialog::save);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("TagMapOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("TagMapCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(save);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table, 1);
    layout->addLayout(bottom);
    // The field boxes, then saving, then OK and Cancel.
    QWidget* previous = table;
    for (QComboBox* box : m_fields) {
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, save);
    setTabOrder(save, buttons);
    resize(780, 480);
}

TagMap TagMapDialog::choices() const
{
    std::vector<TagUse> uses = m_uses;
    for (std::size_t row = 0; row < uses.size(); ++row)
        uses[row].target = TagTarget(m_fields[row]->currentIndex() - 1);
    return tagMapFromUses(uses, m_format, m_preferred ? &*m_preferred : nullptr);
}

bool TagMapDialog::changed() const
{
    for (std::size_t row = 0; row < m_fields.size(); ++row) {
        if (m_fields[row]->currentIndex() != m_shown[row])
            return true;
    }
    return false;
}

TagMap TagMapDialog::map() const
{
    TagMap map = choices();
    if (m_saved && m_saved->rules == map.rules)
        map.name = m_saved->name;
    return map;
}

void TagMapDialog::save()
{
    TagMap map = choices();
    // A saved map proposes its own name (saving asks before overwriting it); a ready-made
    // map's name is taken, so it proposes none.
    if (m_saved)
        map.name = m_saved->name;
    else if (m_preferred && !readyTagMapNamed(m_preferred->name))
        map.name = m_preferred->name;
    const LabelChange change = TagMapStore(prompts(), programState().LabelsPath).save(map);
    if (change.result != LabelChange::Done)
        return;
    map.name = change.name;
    m_saved = map;
}

} // namespace papyrant
