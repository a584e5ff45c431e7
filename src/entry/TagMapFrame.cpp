#include "entry/TagMapFrame.h"

#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "entry/TagMapDialog.h"
#include "entry/TextModel.h"
#include "formats/ReadyTagMaps.h"
#include "formats/TagMapStore.h"
#include "screens/PictureButtons.h"
#include "screens/WaitCursor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace papyrant {
namespace {

constexpr int KindRole = Qt::UserRole;
constexpr int NameRole = Qt::UserRole + 1;

TagMapStore store()
{
    return TagMapStore(prompts(), programState().LabelsPath);
}

} // namespace

TagMapFrame::TagMapFrame(const TextModel& text, QWidget* parent)
    : QGroupBox(QStringLiteral("Tag map"), parent)
    , m_text(text)
{
    setObjectName(QStringLiteral("TagMapFrame"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("FormatSummary"));
    m_summary->setAccessibleName(QStringLiteral("Layout of the text"));
    m_maps = new QComboBox(this);
    m_maps->setObjectName(QStringLiteral("TagMapList"));
    m_maps->setAccessibleName(QStringLiteral("Tag map"));
    m_maps->setMinimumContentsLength(24);
    m_edit = new QPushButton(QStringLiteral("Tag map..."), this);
    m_edit->setObjectName(QStringLiteral("TagMapEdit"));
    m_edit->setToolTip(QStringLiteral("Show the tags of the text and the fields they fill"));
    m_edit->setAccessibleName(QStringLiteral("Tag map dialog"));
    m_delete = pictureButton(this, "TagMapDelete", QStyle::SP_TrashIcon, QStringLiteral("Delete current tag map"));
    m_rename = pictureButton(
        this, "TagMapRename", QStyle::SP_FileDialogContentsView, QStringLiteral("Rename current tag map"));
    connect(m_maps, &QComboBox::activated, this, [this] {
        UpdateTagMapButtons();
        emit choiceChanged();
    });
    connect(m_edit, &QPushButton::clicked, this, &TagMapFrame::editMap);
    connect(m_delete, &QToolButton::clicked, this, &TagMapFrame::deleteMap);
    connect(m_rename, &QToolButton::clicked, this, &TagMapFrame::renameMap);

    auto* row = new QHBoxLayout;
    row->addWidget(m_maps, 1);
    row->addWidget(m_edit);
    row->addWidget(m_delete);
    row->addWidget(m_rename);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addLayout(row);
    FillTagMapList(Kind::None, {});
}

void TagMapFrame::readMaps()
{
    readSavedMaps();
    FillTagMapList(chosenKind(), chosenName());
}

void TagMapFrame::readSavedMaps()
{
    if (auto saved = store().maps())
        m_saved = std::move(*saved);
}

void TagMapFrame::FillTagMapList(Kind kind, const QString& name)
{
    m_maps->clear();
    const auto add = [&](const QString& text, Kind itemKind, const QString& itemName) {
        m_maps->addItem(text);
        m_maps->setItemData(m_maps->count() - 1, int(itemKind), KindRole);
        m_maps->setItemData(m_maps->count() - 1, itemName, NameRole);
    };
    add(QStringLiteral("None (extract by the labels)"), Kind::None, {});
    m_maps->insertSeparator(m_maps->count());
    for (const TagMap& map : readyTagMaps())
        add(map.name + QStringLiteral(" (ready-made)"), Kind::Ready, map.name);
    if (!m_saved.empty())
        m_maps->insertSeparator(m_maps->count());
    for (const TagMap& map : m_saved)
        add(map.name, Kind::Saved, map.name);
    if (m_fromDialog)
        add(QStringLiteral("From the Tag map dialog, not saved"), Kind::FromDialog, {});
    choose(kind, name);
}

void TagMapFrame::choose(Kind kind, const QString& name)
{
    int at = 0;
    for (int i = 0; i < m_maps->count(); ++i) {
        if (m_maps->itemData(i, KindRole) == QVariant(int(kind))
            && m_maps->itemData(i, NameRole).toString().compare(name, Qt::CaseInsensitive) == 0)
            at = i;
    }
    m_maps->setCurrentIndex(at);
    UpdateTagMapButtons();
    emit choiceChanged();
}

void TagMapFrame::chooseFallback()
{
    if (const TagMap* ready = readyTagMap(m_detection.format))
        choose(Kind::Ready, ready->name);
    else
        choose(Kind::None, {});
}

TagMapFrame::Kind TagMapFrame::chosenKind() const
{
    return Kind(m_maps->currentData(KindRole).toInt());
}

QString TagMapFrame::chosenName() const
{
    return m_maps->currentData(NameRole).toString();
}

bool TagMapFrame::mapChosen() const
{
    return chosenKind() != Kind::None;
}

void TagMapFrame::chooseLabels()
{
    choose(Kind::None, {});
}

void TagMapFrame::textOpened()
{
    {
        WaitCursor wait;
        m_detection = detectTaggedFormat(m_text.text());
    }
    m_summary->setText(detectionSummary(m_detection));
    const auto madeForText = [&](TaggedFormat format) { return format == m_detection.format; };
    const Kind kind = chosenKind();
    const bool keep = (kind == Kind::Saved && std::any_of(m_saved.begin(), m_saved.end(), [&](const TagMap& map) {
        return map.name == chosenName() && madeForText(map.format);
    })) || (kind == Kind::FromDialog && madeForText(m_fromDialog->format));
    if (m_detection.format == TaggedFormat::None) {
        choose(Kind::None, {});
    } else if (keep) {
        UpdateTagMapButtons();
    } else if (readyTagMap(m_detection.format)) {
        chooseFallback();
    } else {
        const auto saved
            = std::find_if(m_saved.begin(), m_saved.end(), [&](const TagMap& map) { return madeForText(map.format); });
        if (saved != m_saved.end())
            choose(Kind::Saved, saved->name);
        else
            choose(Kind::None, {});
    }
}

std::optional<TagMap> TagMapFrame::chosenMap()
{
    switch (chosenKind()) {
    case Kind::None: return std::nullopt;
    case Kind::Ready: return *readyTagMapNamed(chosenName());
    case Kind::FromDialog: return m_fromDialog;
    case Kind::Saved: break;
    }
    bool vanished = false;
    auto map = store().load(chosenName(), &vanished);
    if (vanished) {
        // Another program took it out of the labels file: the list follows the file.
        readSavedMaps();
        FillTagMapList(Kind::None, {});
        chooseFallback();
    }
    return map;
}

void TagMapFrame::UpdateTagMapButtons()
{
    const bool saved = chosenKind() == Kind::Saved;
    m_delete->setEnabled(saved);
    m_rename->setEnabled(saved);
    m_edit->setEnabled(m_detection.format != TaggedFormat::None && !m_text.isEmpty());
}

void TagMapFrame::editMap()
{
    const Kind kind = chosenKind();
    const QString name = chosenName();
    std::optional<TagMap> chosen = chosenMap();
    if (kind == Kind::Saved && !chosen)
        return; // gone from the labels file, or unreadable: the user has been told
    auto* dialog = new TagMapDialog(m_text.text(), m_detection, chosen ? &*chosen : nullptr, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::finished, this, [this, dialog, kind, name](int result) {
        // Maps may have been saved meanwhile, whichever way the dialog was left.
        readSavedMaps();
        if (result != QDialog::Accepted) {
            FillTagMapList(kind, name);
            return;
        }
        const TagMap map = dialog->map();
        if (!map.name.isEmpty()) {
            FillTagMapList(Kind::Saved, map.name);
        } else if (kind != Kind::None && !dialog->changed()) {
            FillTagMapList(kind, name); // looked at, not changed: the chosen map stays
        } else {
            m_fromDialog = map;
            FillTagMapList(Kind::FromDialog, {});
        }
    });
    dialog->open();
}

void TagMapFrame::deleteMap()
{
    const LabelChange change = store().remove(chosenName());
    if (change.result != LabelChange::Done && change.result != LabelChange::Vanished)
        return;
    readSavedMaps();
    FillTagMapList(Kind::None, {});
    chooseFallback();
}

void TagMapFrame::renameMap()
{
    const LabelChange change = store().rename(chosenName());
    if (change.result == LabelChange::Declined || change.result == LabelChange::Failed)
        return;
    readSavedMaps();
    FillTagMapList(Kind::None, {});
    if (change.result == LabelChange::Done)
        choose(Kind::Saved, change.name);
    else
        chooseFallback();
}

} // namespace papyrant
