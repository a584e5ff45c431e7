#include "screens/ScreenKit.h"

#include "screens/AccessibleNames.h"
#include "screens/FocusRingStyle.h"
#include "screens/ReadingOrder.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>

namespace papyrant {

namespace {

constexpr char HasTabKeys[] = "papyrantTabKeys";

// The value that brings [low, high] of the content into a view showing `length` from
// `shown`: nothing moves when it is in view already; what does not fit shows its start.
int scrolledTo(int shown, int length, int low, int high)
{
    if (low >= shown && high <= shown + length)
        return shown;
    if (high - low > length || low < shown)
        return low;
    return high - length;
}

// The part of `content` a focused control needs on view: the control with its caption
// when the caption (its buddy) stands beside or above it and both fit.
QRect neededOnView(QWidget* focused, QWidget* content, QSize view)
{
    QRect needed(focused->mapTo(content, QPoint(0, 0)), focused->size());
    for (QLabel* label : content->findChildren<QLabel*>()) {
        if (label->buddy() != focused || !label->isVisible())
            continue;
        const QRect withCaption = needed.united(QRect(label->mapTo(content, QPoint(0, 0)), label->size()));
        if (withCaption.height() <= view.height() && withCaption.width() <= view.width())
            needed = withCaption;
    }
    return needed;
}

// Scrolls `focused` into view in every scroll area it lies in, the innermost first, so a
// box reached by Tab, an arrow key or the program is never left out of sight.
void scrollIntoView(QWidget* focused)
{
    QWidget* shown = focused;
    for (QWidget* w = focused->parentWidget(); w && !w->isWindow(); w = w->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(w);
        if (!area || !area->widget() || !area->widget()->isAncestorOf(shown))
            continue;
        const QSize view = area->viewport()->size();
        const QRect needed = neededOnView(shown, area->widget(), view);
        QScrollBar* across = area->horizontalScrollBar();
        QScrollBar* down = area->verticalScrollBar();
        across->setValue(scrolledTo(across->value(), view.width(), needed.left(), needed.right() + 1));
        down->setValue(scrolledTo(down->value(), view.height(), needed.top(), needed.bottom() + 1));
        shown = area;
    }
}

class KitHooks : public QObject {
public:
    explicit KitHooks(QObject* parent)
        : QObject(parent)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Show:
            // Every control that comes into view is named, also ones added after the
            // window was built.
            if (widget->isWindow()) {
                nameUnnamedControls(widget);
                if (followsReadingOrder(widget))
                    setReadingTabOrder(widget);
            } else {
                nameIfUnnamed(widget);
            }
            if (auto* tabs = qobject_cast<QTabWidget*>(widget))
                addTabSwitchKeys(tabs);
            break;
        case QEvent::ToolTipChange: followToolTip(widget); break;
        default: break;
        }
        return false;
    }
};

QPointer<KitHooks> installed;

} // namespace

void addTabSwitchKeys(QTabWidget* tabs)
{
    if (tabs->property(HasTabKeys).toBool())
        return;
    tabs->setProperty(HasTabKeys, true);
    const auto step = [tabs](int by) {
        if (tabs->count() > 1)
            tabs->setCurrentIndex((tabs->currentIndex() + by + tabs->count()) % tabs->count());
    };
    const QKeyCombination forward[] = {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown};
    const QKeyCombination backward[]
        = {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageUp};
    for (const QKeyCombination keys : forward) {
        auto* shortcut = new QShortcut(QKeySequence(keys), tabs, tabs, [step] { step(1); });
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    }
    for (const QKeyCombination keys : backward) {
        auto* shortcut = new QShortcut(QKeySequence(keys), tabs, tabs, [step] { step(-1); });
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    }
}

void installScreenKit()
{
    if (installed || !qApp)
        return;
    installed = new KitHooks(qApp);
    qApp->installEventFilter(installed);
    QObject::connect(qApp, &QApplication::focusChanged, installed, [](QWidget*, QWidget* now) {
        if (now)
            scrollIntoView(now);
    });
    if (!qobject_cast<FocusRingStyle*>(QApplication::style()))
        QApplication::setStyle(new FocusRingStyle(QApplication::style()->name()));
}

} // namespace papyrant
