#pragma once
// "Auto remove options": the fields that must agree before auto remove deletes a record.
// The maintenance screen creates it hidden, hands it a copy of the program's choice and
// shows it from "Options", waiting disabled until "OK" (or Return), which hands the edited
// copy back; "OK" is refused while no field is ticked.

#include "maintenance/AutoRemoveOptions.h"

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

    // Puts the choice into the list: from now on the dialog edits this copy.
    void edit(const AutoRemoveOptions& options);
    const AutoRemoveOptions& options() const { return m_edited; }

signals:
    // "OK" hid the dialog; the edited copy.
    void accepted(const AutoRemoveOptions& options);

protected:
    // "OK" is the only way out: the window manager's close is refused.
    void closeEvent(QCloseEvent* event) override;
    // Return and Enter press "OK" wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void itemChanged(QListWidgetItem* item);
    void showRule();

    QLabel* m_label; // what the ticks mean
    QListWidget* m_fields; // one tick per field
    QPlainTextEdit* m_rule; // the rule the ticks make, in a sentence
    QPushButton* m_ok;
    AutoRemoveOptions m_edited;
};

} // namespace papyrant
