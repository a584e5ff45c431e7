#include "search/ReportToolBar.h"

#include "core/Twips.h"

#include <QIcon>
#include <QToolButton>

static void initialiseSearchArt()
{
    Q_INIT_RESOURCE(search_art);
}

namespace papyrant {

namespace {

// Button size and places in twips.
constexpr int ButtonWidth = 550;
constexpr int ButtonHeight = 540;
constexpr int ExportWidth = 1000; // "Export..." is a word, not a picture
constexpr int ResultsTab = 1;

struct ButtonRow {
    ToolButton which;
    const char* objectName;
    const char* picture; // none: the button shows its caption
    const char* toolTip;
    int left; // -1: Help, placed per tab
};

constexpr std::array<ButtonRow, 9> Rows{{
    {ToolButton::Back, "Command3", ":/searchart/back.svg", "Back to control panel", 75},
    {ToolButton::SearchOptions, "Command2", ":/searchart/options.svg", "Search options", 630},
    {ToolButton::Clear, "Command6", ":/searchart/clear.svg", "Clear", 1200},
    {ToolButton::Copy, "Command10", ":/searchart/copy.svg", "Copy viewed records", 630},
    {ToolButton::Print, "Command5", ":/searchart/print.svg", "Print viewed records", 1200},
    {ToolButton::Save, "Command9", ":/searchart/save.svg", "Save viewed records in a file", 1775},
    {ToolButton::SaveAll, "Command15", ":/searchart/saveall.svg", "Save all", 2330},
    {ToolButton::Export, "CommandExport", nullptr, "Export the results to a RIS, BibTeX or CSL-JSON file", 2885},
    {ToolButton::Help, "Command14", ":/art/help.svg", "Help", -1},
}};

int helpLeft(int tab)
{
    switch (tab) {
    case 0: return 1770;
    case ResultsTab: return 2885 + ExportWidth + 55;
    default: return 630;
    }
}

} // namespace

ReportToolBar::ReportToolBar(QWidget* parent)
    : QWidget(parent)
{
    initialiseSearchArt();
    setObjectName(QStringLiteral("ToolBar"));
    const int margin = px(60);
    setFixedHeight(px(ButtonHeight) + 2 * margin);
    setMinimumWidth(px(helpLeft(ResultsTab) + ButtonWidth + 75));
    for (const ButtonRow& row : Rows) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(row.objectName));
        button->setToolTip(QLatin1String(row.toolTip));
        button->setAutoRaise(true);
        const int width = row.picture ? ButtonWidth : ExportWidth;
        const QRect place(px(std::max(row.left, 0)), margin, px(width), px(ButtonHeight));
        button->setGeometry(place);
        if (row.picture) {
            button->setIcon(QIcon(QLatin1String(row.picture)));
            button->setIconSize(place.size() - QSize(4, 4));
        } else {
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setText(QStringLiteral("Export..."));
        }
        m_buttons[static_cast<std::size_t>(row.which)] = button;
    }
    showTab(0);
}

int ReportToolBar::px(int twips) const
{
    return twipsToPixels(twips, logicalDpiX());
}

void ReportToolBar::showTab(int tab)
{
    for (ToolButton which : {ToolButton::SearchOptions, ToolButton::Clear})
        button(which)->setVisible(tab == 0);
    for (ToolButton which :
        {ToolButton::Copy, ToolButton::Print, ToolButton::Save, ToolButton::SaveAll, ToolButton::Export})
        button(which)->setVisible(tab == ResultsTab);
    QToolButton* help = button(ToolButton::Help);
    help->move(px(helpLeft(tab)), help->y());
    // Tab reaches Help after the tab's last button, as it stands now: the window's reading
    // order was taken where Help stood when the window was shown.
    const ToolButton last = tab == 0 ? ToolButton::Clear : tab == ResultsTab ? ToolButton::Export : ToolButton::Back;
    QWidget::setTabOrder(button(last), help);
    button(ToolButton::Back)
        ->setToolTip(tab == 0 ? QStringLiteral("Back to control panel") : QStringLiteral("Back to search items"));
}

} // namespace papyrant
