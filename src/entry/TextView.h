#pragma once
// The text view of the entry screens: shows and edits a TextModel directly, so
// every position, selection and find works on the file's exact characters (a CR LF pair is
// two characters, shown as one line break and passed over as one by the caret).
//
// Exports run to tens of megabytes, so the view lays out only the lines on screen: the
// text is indexed into lines once, and the scroll bar moves line by line; each line is
// wrapped to the width of the view when it is drawn.

#include "entry/TextModel.h"

#include <QAbstractScrollArea>
#include <QColor>

#include <map>
#include <memory>
#include <vector>

class QTextLayout;

namespace papyrant {

class TextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // Replaces the text; the caret goes to the start, marks and undo are forgotten.
    void setModelText(QString text);
    const TextModel& model() const { return m_model; }
    // The model with the view's selection in it, for work that starts from the user's
    // selection (the run, "Get selected text ").
    TextModel& modelWithSelection();
    QString selectedModelText();
    // Shows the model's selection (after the run moved it).
    void showModelSelection();

    // Selects `length` characters from `start` (the caret ends after them).
    void select(qsizetype start, qsizetype length);
    void selectAll();

    // Colours the selected characters; the text itself does not change.
    void colourSelection(const QColor& colour);
    // The colour given to the character at `position`; invalid when it has none.
    QColor colourAt(qsizetype position) const;

signals:
    // A click into the view.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Mark {
        qsizetype start;
        qsizetype end;
        QColor colour;
    };
    struct Edit {
        qsizetype position;
        QString removed;
        QString inserted;
    };
    struct Placed {
        int line;
        int top;
        std::shared_ptr<QTextLayout> layout;
    };

    void indexLines();
    int lineCount() const { return int(m_lineStarts.size()); }
    int lineOf(qsizetype position) const;
    qsizetype lineStart(int line) const { return m_lineStarts[line]; }
    qsizetype lineTextEnd(int line) const; // before the line's break
    std::shared_ptr<QTextLayout> layoutOf(int line) const;
    const std::vector<Placed>& placedLines() const;
    void invalidateLayouts();
    void updateScrollRange();

    qsizetype positionAt(const QPoint& point) const;
    qsizetype nextPosition(qsizetype position) const;
    qsizetype previousPosition(qsizetype position) const;
    qsizetype verticalMove(qsizetype position, int lines) const;
    qsizetype visualLineEdge(qsizetype position, bool end) const;
    void moveCaret(qsizetype position, bool keepAnchor);
    void ensureCaretVisible();
    qsizetype selectionStart() const { return std::min(m_anchor, m_caret); }
    qsizetype selectionEnd() const { return std::max(m_anchor, m_caret); }

    void replaceSelection(const QString& text, bool remember = true);
    void undo();
    void copy() const;
    QString lineBreak() const; // the break the text already uses

    TextModel m_model;
    std::vector<qsizetype> m_lineStarts{0};
    std::vector<Mark> m_marks;
    std::vector<Edit> m_undo;
    qsizetype m_anchor = 0;
    qsizetype m_caret = 0;
    bool m_dragging = false;
    mutable std::vector<Placed> m_placed; // lines on screen, laid out
    mutable bool m_placedValid = false;
    mutable std::map<int, std::shared_ptr<QTextLayout>> m_layouts; // lines laid out lately
};

} // namespace papyrant
