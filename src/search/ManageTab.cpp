#include "search/ManageTab.h"

namespace papyrant {

ManageTab::ManageTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ManageTab"));
}

void ManageTab::searchFinished(int) { }

void ManageTab::resultsEmptied() { }

void ManageTab::tabChanged() { }

} // namespace papyrant
