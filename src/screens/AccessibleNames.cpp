#include "screens/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include <vector>

namespace papyrant {

namespace {

// Set on a control whose name came from its tool tip, so the name follows the tool tip.
constexpr char NamedFromToolTip[] = "papyrantNamedFromToolTip";

// Controls a user types into, picks from or reads: boxes, lists, bars and views. Scroll
// areas only hold other controls, and scroll bars belong to what they scroll.
bool isBox(const QWidget* w)
{
    if (qobject_cast<const QScrollArea*>(w) || qobject_cast<const QScrollBar*>(w))
        return false;
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w)
        || qobject_cast<const QProgressBar*>(w) || qobject_cast<const QAbstractSlider*>(w);
}

QString labelText(const QLabel* label)
{
    const QString text = label->text();
    if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return QTextDocumentFragment::fromHtml(text).toPlainText();
    return text;
}

// A label that can speak for a control: shown text, and not the buddy of another control.
const QLabel* speakingLabel(const QLayoutItem* item, const QWidget* control)
{
    const auto* label = item ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
    if (!label || label->isHidden() || labelText(label).trimmed().isEmpty())
        return nullptr;
    if (label->buddy() && label->buddy() != control)
        return nullptr;
    return label;
}

bool isSpacer(QLayoutItem* item)
{
    return item->spacerItem() != nullptr;
}

// The layouts from `layout` down to the one holding `control`, each with the index of
// the item that holds it (the control itself or a layout around it).
bool pathTo(QLayout* layout, const QWidget* control, std::vector<std::pair<QLayout*, int>>& path)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == control) {
            path.emplace_back(layout, i);
            return true;
        }
        if (QLayout* inner = item->layout()) {
            path.emplace_back(layout, i);
            if (pathTo(inner, control, path))
                return true;
            path.pop_back();
        }
    }
    return false;
}

const QLabel* labelInGrid(const QGridLayout* grid, int index, const QWidget* control)
{
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    // To the left on the same row, then straight above.
    for (int c = column - 1; c >= 0; --c) {
        const QLayoutItem* item = grid->itemAtPosition(row, c);
        if (!item)
            continue;
        if (const QLabel* label = speakingLabel(item, control))
            return label;
        break;
    }
    if (row > 0)
        return speakingLabel(grid->itemAtPosition(row - 1, column), control);
    return nullptr;
}

// The label that stands just before the control in its layout: to its left or above it.
// From a box layout whose first item holds the control, the search goes on in the layout
// around it, so a caption above a row of controls names the row's first control.
const QLabel* labelBefore(const QWidget* control)
{
    const QWidget* parent = control->parentWidget();
    if (!parent || !parent->layout())
        return nullptr;
    std::vector<std::pair<QLayout*, int>> path;
    if (!pathTo(parent->layout(), control, path))
        return nullptr;
    for (auto step = path.rbegin(); step != path.rend(); ++step) {
        QLayout* layout = step->first;
        const int index = step->second;
        if (const auto* grid = qobject_cast<const QGridLayout*>(layout))
            return labelInGrid(grid, index, control);
        if (const auto* form = qobject_cast<const QFormLayout*>(layout)) {
            const auto* label = qobject_cast<const QLabel*>(form->labelForField(const_cast<QWidget*>(control)));
            return label && !label->isHidden() ? label : nullptr;
        }
        int before = index - 1;
        while (before >= 0 && isSpacer(layout->itemAt(before)))
            --before;
        if (before >= 0)
            return speakingLabel(layout->itemAt(before), control);
    }
    return nullptr;
}

const QLabel* buddyOf(const QWidget* control)
{
    const QWidget* window = control->window();
    for (const QLabel* label : window->findChildren<const QLabel*>()) {
        if (label->buddy() == control)
            return label;
    }
    return nullptr;
}

QString frameTitle(const QWidget* control)
{
    for (const QWidget* w = control->parentWidget(); w && !w->isWindow(); w = w->parentWidget()) {
        if (const auto* frame = qobject_cast<const QGroupBox*>(w))
            return nameFromCaption(frame->title());
    }
    return QString();
}

// Where a name comes from, and the name.
struct DerivedName {
    QString name;
    bool fromToolTip = false;
};

DerivedName derive(const QWidget* control)
{
    // The typing box of an editable list speaks as the list.
    if (qobject_cast<const QLineEdit*>(control)) {
        if (const auto* combo = qobject_cast<const QComboBox*>(control->parentWidget())) {
            if (!combo->accessibleName().isEmpty())
                return {combo->accessibleName()};
            return derive(combo);
        }
    }
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    if (button && !nameFromCaption(button->text()).isEmpty())
        return {};
    if (!button && !isBox(control))
        return {};
    const QString toolTip = nameFromCaption(control->toolTip());
    if (button && !toolTip.isEmpty())
        return {toolTip, true};
    if (const QLabel* label = buddyOf(control))
        return {nameFromCaption(labelText(label))};
    if (const QLabel* label = labelBefore(control))
        return {nameFromCaption(labelText(label))};
    if (!toolTip.isEmpty())
        return {toolTip, true};
    return {frameTitle(control)};
}

} // namespace

QString nameFromCaption(const QString& caption)
{
    QString name;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        name += caption[i];
    }
    name = name.simplified();
    while (name.endsWith(QLatin1Char(':')))
        name = name.chopped(1).trimmed();
    return name;
}

QString derivedAccessibleName(const QWidget* control)
{
    return derive(control).name;
}

// On Linux the toolkit gives a combo box's shown value as its name and tells what the
// box is for only through the label relation: a sibling label whose buddy it is, or the
// frame it stands in. A combo box named otherwise gets such a label: the one before it
// in its layout, or, where none stands, one that is never shown and carries its name.
void labelForTheBus(QComboBox* combo)
{
    QWidget* parent = combo->parentWidget();
    const QString name = combo->accessibleName();
    if (!parent || name.isEmpty() || (qobject_cast<QGroupBox*>(parent) && !frameTitle(combo).isEmpty()))
        return;
    for (const QObject* child : parent->children()) {
        const auto* label = qobject_cast<const QLabel*>(child);
        if (label && label->buddy() == combo)
            return;
    }
    auto* label = const_cast<QLabel*>(labelBefore(combo));
    if (!label || label->parentWidget() != parent || label->buddy()) {
        label = new QLabel(name, parent);
        label->setObjectName(QStringLiteral("papyrantSpokenLabel"));
        label->hide();
    }
    label->setBuddy(combo);
}

void nameIfUnnamed(QWidget* control)
{
    if (control->accessibleName().isEmpty()) {
        const DerivedName derived = derive(control);
        if (!derived.name.isEmpty()) {
            control->setAccessibleName(derived.name);
            control->setProperty(NamedFromToolTip, derived.fromToolTip);
        }
    }
    if (auto* combo = qobject_cast<QComboBox*>(control))
        labelForTheBus(combo);
}

void nameUnnamedControls(QWidget* root)
{
    nameIfUnnamed(root);
    for (QWidget* control : root->findChildren<QWidget*>())
        nameIfUnnamed(control);
}

void followToolTip(QWidget* control)
{
    if (!control->property(NamedFromToolTip).toBool())
        return;
    const QString name = nameFromCaption(control->toolTip());
    if (!name.isEmpty())
        control->setAccessibleName(name);
}

} // namespace papyrant
