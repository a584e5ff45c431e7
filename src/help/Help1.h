#pragma once
// The help window: a small browser over the program's HTML pages.

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace papyrant {

class Help1 : public QWidget {
    Q_OBJECT
public:
    explicit Help1(QWidget* parent = nullptr);

    // The one help window of the program, created on first use.
    static Help1& instance();
    static bool exists();

    // Shows the page at HelpPage (a full path).
    void navigate(const QString& fullPath);
    QTextBrowser* browser() const { return m_browser; }

private:
    void goBack();
    void goHome();
    void showAbout();

    QTextBrowser* m_browser;
    QPushButton* m_back;
    QPushButton* m_home;
    QPushButton* m_about;
};

} // namespace papyrant
