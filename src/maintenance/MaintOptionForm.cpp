#include "maintenance/MaintOptionForm.h"

#include "core/RecordModel.h"
#include "screens/ReadingOrder.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace papyrant {

MaintOptionForm::MaintOptionForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("MaintOptionForm"));
    setWindowTitle(QStringLiteral("Auto remove options"));
    followReadingOrder(this);

    m_label = new QLabel(QStringLiteral("Auto remove repeated records when selected items are similar."), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setWordWrap(true);
    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("List1"));
    for (int i = 0; i < FieldCount; ++i) {
        auto* item = new QListWidgetItem(fieldDisplayNames()[i], m_fields);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    m_rule = new QPlainTextEdit(this);
    m_rule->setObjectName(QStringLiteral("Text1"));
    m_rule->setReadOnly(true);
    m_rule->setAccessibleName(QStringLiteral("Auto remove rule"));
    m_rule->setMaximumHeight(m_rule->fontMetrics().lineSpacing() * 4);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command1"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_fields);
    layout->addWidget(m_rule);
    layout->addLayout(buttons);

    connect(m_fields, &QListWidget::itemChanged, this, &MaintOptionForm::itemChanged);
    // Return and Enter press "OK", as in any dialog.
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        hide();
        emit accepted(m_edited);
    });
    edit(AutoRemoveOptions{});
}

void MaintOptionForm::edit(const AutoRemoveOptions& options)
{
    m_edited = options;
    {
        const QSignalBlocker quiet(m_fields);
        for (int i = 0; i < FieldCount; ++i)
            m_fields->item(i)->setCheckState(options.fields[i] ? Qt::Checked : Qt::Unchecked);
    }
    showRule();
}

void MaintOptionForm::itemChanged(QListWidgetItem* item)
{
    m_edited.fields[m_fields->row(item)] = item->checkState() == Qt::Checked;
    showRule();
}

void MaintOptionForm::showRule()
{
    m_rule->setPlainText(m_edited.sentence());
    m_ok->setEnabled(m_edited.anySelected());
}

void MaintOptionForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void MaintOptionForm::keyPressEvent(QKeyEvent* event)
{
    // Reaches here from every control that leaves Return alone, the field list included.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (m_ok->isEnabled())
            m_ok->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace papyrant
