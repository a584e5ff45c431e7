#pragma once
// "Auto remove options": the fields that must agree before auto remove deletes a record.
// The maintenance screen creates it hidden, shows it from "Options" and waits, disabled,
// until "OK". The ticks are the program-wide choice itself (autoRemoveFields), so they
// outlive this dialog and the maintenance screen; "OK" is refused while none is ticked.

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

namespace papyrant {

class MaintOptionForm : public QWidget {
    Q_OBJECT
public:
    explicit MaintOptionForm(QWidget* parent = nullptr);

signals:
    // "OK" hid the dialog.
    void accepted();

protected:
    // "OK" is the only way out: the window manager's close is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    void itemChanged(QListWidgetItem* item);
    void showRule();

    QLabel* m_label; // Label1
    QListWidget* m_fields; // List1
    QPlainTextEdit* m_rule; // Text1
    QPushButton* m_ok; // Command1
};

} // namespace papyrant
