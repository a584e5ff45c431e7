#pragma once
// The text of a text view as the file holds it, with a selection and a find.
//
// Extraction cuts records at exact character positions, and a line break counts as the
// characters it consists of: a carriage return and a line feed are two. The view (TextView)
// shows and edits this text directly, so its positions are the file's.
//
// The selection and find follow the rich-text box the run was written against: setting the
// start empties the selection, and a find that finds nothing leaves the selection exactly as
// it was (record and field boundaries depend on that).

#include <QString>
#include <QStringView>

namespace papyrant {

class TextModel {
public:
    TextModel() = default;
    explicit TextModel(QString text) { setText(std::move(text)); }

    // Replaces the whole text; the selection goes back to the start.
    void setText(QString text);
    const QString& text() const { return m_text; }
    qsizetype length() const { return m_text.size(); }
    bool isEmpty() const { return m_text.isEmpty(); }

    qsizetype selStart() const { return m_selStart; }
    qsizetype selLength() const { return m_selLength; }
    // Moves the selection's start (clamped to the text) and empties it.
    void setSelStart(qsizetype start);
    // Sets the selection's length from its start, clamped to the text's end.
    void setSelLength(qsizetype length);
    void select(qsizetype start, qsizetype length);
    QString selectedText() const { return m_text.mid(m_selStart, m_selLength); }

    // Case-sensitive search for the first occurrence of the pattern that begins at or after
    // `from` and lies entirely before `to` (the end of the text when `to` is negative). On
    // success the match becomes the selection; on failure the selection stays as it was.
    bool find(QStringView pattern, qsizetype from, qsizetype to = -1);

    // Replaces `length` characters at `start` (an edit in the view); the selection is kept
    // inside the text.
    void replace(qsizetype start, qsizetype length, const QString& text);

private:
    QString m_text;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
};

} // namespace papyrant
