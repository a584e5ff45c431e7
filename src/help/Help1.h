#pragma once
// The help window: a small browser over the program's HTML pages, with Back, Home and
// About. It stands beside the screen that opened it and never blocks it.

#include <QTextBrowser>
#include <QWidget>

class QPushButton;

namespace papyrant {

// The browser of the help window. A page that cannot be read shows a short page of
// its own saying so, as a web browser would, instead of an empty view.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;
};

class Help1 : public QWidget {
    Q_OBJECT
public:
    explicit Help1(QWidget* parent = nullptr);

    // The one help window of the program, created on first use.
    static Help1& instance();
    static bool exists();

    // Shows the page at a full path; Home leads back to it.
    void navigate(const QString& fullPath);
    // The page Home leads to: the one opened last.
    const QString& homePage() const { return m_homePage; }
    QTextBrowser* browser() const { return m_browser; }

    // Puts a newly opened window beside `caller`, clear of it and wholly on its screen
    // (helpPlacement), made smaller when the screen has no room for its whole size.
    void placeBeside(const QWidget* caller);

    // The text of the About box.
    static QString aboutText();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void goBack();
    void goHome();
    void showAbout();
    void layoutControls();

    HelpBrowser* m_browser;
    QPushButton* m_back;
    QPushButton* m_home;
    QPushButton* m_about;
    QString m_homePage;
};

} // namespace papyrant
