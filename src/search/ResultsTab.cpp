#include "search/ResultsTab.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace papyrant {

namespace {

QColor colourOf(MarkColour colour)
{
    switch (colour) {
    case MarkColour::Red: return QColor(255, 0, 0);
    case MarkColour::Blue: return QColor(0, 0, 255);
    case MarkColour::Black: break;
    }
    return QColor(0, 0, 0);
}

// The page with every carriage return as one character that the box keeps: the box would
// fold a CR LF pair into one line break and shift every later mark and record end.
QString boxText(const QString& text)
{
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] != QLatin1Char('\r'))
            continue;
        const bool pair = i + 1 < shown.size() && shown[i + 1] == QLatin1Char('\n');
        shown[i] = pair ? QChar(0x200B) : QChar(QChar::LineSeparator);
    }
    return shown;
}

} // namespace

ResultsTab::ResultsTab(QWidget* parent)
    : QWidget(parent)
    , m_pages(new QComboBox(this))
    , m_present(new QPushButton(QStringLiteral("Present"), this))
    , m_notice(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_edit(new QLabel(this))
    , m_text(new QTextEdit(this))
{
    setObjectName(QStringLiteral("ResultsTab"));
    auto* caption = new QLabel(QStringLiteral("Display records"), this);
    caption->setObjectName(QStringLiteral("Label3"));
    m_pages->setObjectName(QStringLiteral("Combo2"));
    m_pages->setMinimumContentsLength(18);
    m_present->setObjectName(QStringLiteral("Command4"));
    m_notice->setObjectName(QStringLiteral("Label8"));
    m_notice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_progress->setObjectName(QStringLiteral("ProgressExport"));
    m_progress->setAccessibleName(QStringLiteral("Records exported"));
    m_progress->setFormat(QStringLiteral("Exporting: %v of %m records"));
    m_progress->hide();
    m_edit->setObjectName(QStringLiteral("Label10"));
    m_edit->setText(QStringLiteral("<a href=\"edit\">Edit results</a>"));
    m_edit->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setEditLabelToolTip(0);

    m_text->setObjectName(QStringLiteral("RText1"));
    m_text->setAccessibleName(QStringLiteral("Viewed records"));
    m_text->setReadOnly(true);
    // Read-only, but the caret still walks the text, so the keyboard can pick a record too.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setUndoRedoEnabled(false);
    m_text->setAcceptRichText(false);
    // A page holds a hundred thousand characters cut into a thousand coloured runs; laying
    // it out without ligatures and kerning for scripts that need neither takes a fraction
    // of the time, and the records read the same.
    QFont pageFont = m_text->font();
    pageFont.setStyleStrategy(QFont::PreferNoShaping);
    m_text->setFont(pageFont);

    connect(m_pages, &QComboBox::currentIndexChanged, this, &ResultsTab::pageChosen);
    connect(m_present, &QPushButton::clicked, this, &ResultsTab::presentRequested);
    connect(m_edit, &QLabel::linkActivated, this, &ResultsTab::editRequested);
    auto caret = [this] { emit caretMoved(m_text->textCursor().position()); };
    connect(m_text, &QTextEdit::cursorPositionChanged, this, caret);
    connect(m_text, &QTextEdit::selectionChanged, this, caret);

    auto* top = new QHBoxLayout;
    top->addWidget(caption);
    top->addWidget(m_pages);
    top->addWidget(m_present);
    top->addWidget(m_progress, 1);
    top->addStretch();
    top->addWidget(m_edit);
    // The notice stands where the page will appear while the box is hidden.
    auto* page = new QGridLayout;
    page->addWidget(m_notice, 0, 0);
    page->addWidget(m_text, 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(page, 1);
}

void ResultsTab::keepPage(const PresentedPage& page)
{
    m_pageText = page.text;
    m_pageRuns = formatRuns(static_cast<int>(page.text.size()), page.marks);
    m_pageMarks = colourMarks(m_pageRuns);
}

void ResultsTab::showPage(const PresentedPage& page)
{
    keepPage(page);
    // The page is built in a document of its own, one insertion per stretch of one
    // format, and then handed to the box whole: the box lays it out once, instead of
    // after every change, and no mark re-formats text already in place.
    auto* document = new QTextDocument(this);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(m_text->font());
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    const QString text = boxText(page.text);
    for (const FormatRun& run : m_pageRuns) {
        QTextCharFormat format;
        format.setForeground(colourOf(run.colour));
        format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
        cursor.insertText(text.mid(run.start, run.length), format);
    }
    cursor.endEditBlock();
    {
        const QSignalBlocker quiet(m_text);
        m_text->setDocument(document);
        delete m_document;
        m_document = document;
        cursor.setPosition(0);
        m_text->setTextCursor(cursor);
    }
}

QString ResultsTab::selectedPageText() const
{
    // Every character of the page keeps one position in the box (see boxText), so the
    // selection's bounds are positions in the page text.
    const QTextCursor cursor = m_text->textCursor();
    return m_pageText.mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
}

void ResultsTab::setPages(const QStringList& pages)
{
    const QSignalBlocker quiet(m_pages);
    m_pages->clear();
    m_pages->addItems(pages);
    m_pages->setCurrentIndex(-1);
}

void ResultsTab::choosePage(int index)
{
    if (m_pages->currentIndex() == index)
        emit pageChosen(index);
    else
        m_pages->setCurrentIndex(index);
}

int ResultsTab::chosenPage() const
{
    return m_pages->currentIndex();
}

QString ResultsTab::chosenPageText() const
{
    return m_pages->currentText();
}

int ResultsTab::pageCount() const
{
    return m_pages->count();
}

void ResultsTab::setNotice(const QString& text)
{
    m_notice->setText(text);
}

void ResultsTab::setEditLabelToolTip(int editTarget)
{
    m_edit->setToolTip(editTarget > 0 ? QStringLiteral("Edit record no. ") + QString::number(editTarget)
                                      : QStringLiteral(" Edit results"));
}

} // namespace papyrant
