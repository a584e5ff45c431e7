#pragma once
// A multi-line box that is as high as its text needs, in whole lines between a least and
// a greatest number, and scrolls inside once the text runs longer: no line is ever shown
// cut in half, and a short value leaves no empty room.

#include <QPlainTextEdit>

namespace papyrant {

// How many lines a box shows: at least `fewest`, at most `most`.
struct LineRange {
    int fewest;
    int most;
};

class FittedTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    FittedTextBox(LineRange lines, QWidget* parent = nullptr);

    // Lines the text takes at the box's present width, counted up to one more than the
    // box shows.
    int wrappedLineCount() const;
    // Lines the box shows now.
    int shownLines() const { return m_shown; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitHeight();
    // The height that shows `lines` whole lines of the text.
    int heightFor(int lines) const;

    LineRange m_lines;
    int m_shown = 0;
};

// The boxes of the record fields (title ... entry date, category) as the edit tab, the
// review and manual adding show them: a year or a date one line, an abstract many.
LineRange fieldBoxLines(int field);

} // namespace papyrant
