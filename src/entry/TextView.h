#pragma once
// The text view of the entry screens (RText1): shows the text and keeps its TextModel in
// step with every edit, so selections and finds work on the file's exact characters while
// the widget shows them with CR LF pairs as single line breaks.

#include "entry/TextModel.h"

#include <QPlainTextEdit>

namespace papyrant {

class TextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextView(QWidget* parent = nullptr);

    // Replaces the text; the cursor goes to the start.
    void setModelText(QString text);
    const TextModel& model() const { return m_model; }
    // The model with the view's selection copied into it, for work that starts from the
    // user's selection (the run, "Get selected text ").
    TextModel& modelWithSelection();
    // The view's selection as the file holds it (a CR LF pair stays two characters).
    QString selectedModelText();
    // Shows the model's selection in the view (after the run moved it).
    void showModelSelection();
    // Colours the selected text; the text itself does not change.
    void colourSelection(const QColor& colour);

signals:
    // A click into the view.
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void followEdit(int position, int removed, int added);

    TextModel m_model;
    bool m_ownChange = false; // the view changes under our own hand: no edit to follow
};

} // namespace papyrant
