#pragma once
// The picture buttons along the top of the results screen. Back and Help stand on every
// tab (Help moves to its place for the tab); Search options and Clear only on "Search
// items"; the four output buttons only on "Results".

#include <QWidget>

#include <array>

class QToolButton;

namespace papyrant {

// The bar's buttons; Back and Help stand on every tab, the others on their tab only.
enum class ToolButton {
    Back, // to the search items, from there to the control panel
    SearchOptions, // search items
    Clear, // search items
    Copy, // results
    Print, // results
    Save, // results: the viewed page
    SaveAll, // results: every page
    Export, // results: the whole result to a citation file
    Help,
};

class ReportToolBar : public QWidget {
    Q_OBJECT
public:
    explicit ReportToolBar(QWidget* parent = nullptr);

    QToolButton* button(ToolButton which) const { return m_buttons[static_cast<std::size_t>(which)]; }

    // Shows the buttons of the tab, moves Help to its place and names where Back goes.
    void showTab(int tab);

private:
    int px(int twips) const;

    std::array<QToolButton*, 9> m_buttons{};
};

} // namespace papyrant
