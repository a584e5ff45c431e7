#include "screens/ScrollingForm.h"

#include <QScrollArea>
#include <QScrollBar>

namespace papyrant {

QScrollArea* scrollingForm(QWidget* parent, QWidget* column, const char* frameName, const char* barName)
{
    auto* frame = new QScrollArea(parent);
    frame->setObjectName(QLatin1String(frameName));
    frame->setWidgetResizable(true);
    frame->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes to the controls in the frame, not to the frame itself.
    frame->setFocusPolicy(Qt::NoFocus);
    frame->setWidget(column);
    QScrollBar* bar = frame->verticalScrollBar();
    bar->setObjectName(QLatin1String(barName));
    bar->setSingleStep(2 * column->fontMetrics().lineSpacing());
    return frame;
}

} // namespace papyrant
