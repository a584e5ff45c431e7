#include "screens/ReadingOrder.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <set>

namespace papyrant {

namespace {

constexpr char FollowsReadingOrder[] = "papyrantReadingOrder";

// A control takes the focus itself; its inner parts (the line of a combo box, the view
// of a list) are its own business. Containers only hold controls.
bool isControl(const QWidget* w)
{
    if (qobject_cast<const QScrollArea*>(w) || qobject_cast<const QTabWidget*>(w)
        || qobject_cast<const QStackedWidget*>(w))
        return false;
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy();
}

class Reader {
public:
    QList<QWidget*> controls;

    void readWidget(QWidget* w, bool root = false)
    {
        if (!seen.insert(w).second || (w->isWindow() && !root))
            return;
        if (isControl(w)) {
            // An editable combo box's line and a list's view belong to the control.
            controls << w;
            return;
        }
        if (QLayout* layout = w->layout())
            readLayout(layout);
        // Children no layout holds: by their place, top to bottom, left to right.
        QList<QWidget*> placed;
        for (QObject* child : w->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && !widget->isWindow() && !seen.count(widget))
                placed << widget;
        }
        std::stable_sort(placed.begin(), placed.end(),
            [](const QWidget* a, const QWidget* b) { return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x(); });
        for (QWidget* child : placed)
            readWidget(child);
    }

private:
    std::set<const QWidget*> seen;
    std::set<const QLayout*> seenLayouts;

    void readItem(QLayoutItem* item)
    {
        if (!item)
            return;
        if (QWidget* w = item->widget())
            readWidget(w);
        else if (QLayout* inner = item->layout())
            readLayout(inner);
    }

    void readLayout(QLayout* layout)
    {
        // A layout spanning several cells of a grid is read once.
        if (!seenLayouts.insert(layout).second)
            return;
        if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
            for (int row = 0; row < grid->rowCount(); ++row) {
                for (int column = 0; column < grid->columnCount(); ++column)
                    readItem(grid->itemAtPosition(row, column));
            }
            return;
        }
        if (auto* form = qobject_cast<QFormLayout*>(layout)) {
            for (int row = 0; row < form->rowCount(); ++row) {
                readItem(form->itemAt(row, QFormLayout::LabelRole));
                readItem(form->itemAt(row, QFormLayout::FieldRole));
                readItem(form->itemAt(row, QFormLayout::SpanningRole));
            }
            return;
        }
        for (int i = 0; i < layout->count(); ++i)
            readItem(layout->itemAt(i));
    }
};

} // namespace

QList<QWidget*> readingOrder(QWidget* root)
{
    Reader reader;
    reader.readWidget(root, true);
    return reader.controls;
}

void setReadingTabOrder(QWidget* window)
{
    const QList<QWidget*> controls = readingOrder(window);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

void followReadingOrder(QWidget* window)
{
    window->setProperty(FollowsReadingOrder, true);
}

bool followsReadingOrder(const QWidget* window)
{
    return window->property(FollowsReadingOrder).toBool();
}

} // namespace papyrant
