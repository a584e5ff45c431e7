#pragma once
// The open bibliography: its file, the name the program shows for it, the connection the
// screens work through and the list of its categories. The control panel owns the one
// object and hands it to every screen it opens; logic takes what it needs of it as an
// argument. Nothing about it is program-wide state.

#include "core/Database.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace papyrant {

class Prompts;

class Bibliography {
public:
    Bibliography() = default; // nothing open
    Bibliography(const Bibliography&) = delete;
    Bibliography& operator=(const Bibliography&) = delete;

    // Makes the file at path the open bibliography, shown as name; the connection to the
    // file open before is let go. Nothing is read here.
    void open(const QString& path, const QString& name);
    // Nothing is open afterwards.
    void close();
    // A bibliography is open exactly when it has a name.
    bool isOpen() const { return !m_name.isEmpty(); }

    const QString& BibPath() const { return m_path; } // full path; empty when none is open
    const QString& BibName() const { return m_name; } // the file title less ".pyr", as captions show it

    // The connection, opened on first use and kept until closeConnection(). Throws
    // StoreError when the file cannot be opened.
    Database& database() { return *connection(); }
    // The same connection, for a record source that must keep it for as long as it lives.
    std::shared_ptr<Database> connection();
    // The next use opens the file afresh, so a file replaced or removed meanwhile is seen.
    // A record source still holding the old connection keeps it until it lets it go.
    void closeConnection() { m_connection.reset(); }

    // The distinct categories as last read, in the order the engine gives them.
    const QStringList& categories() const { return m_categories; }
    // Reads the categories again. A store failure leaves the list empty and is reported
    // through the prompts: "The categories could not be read." and the engine's words.
    const QStringList& refreshCategories(Prompts& prompts);

private:
    QString m_path;
    QString m_name;
    std::shared_ptr<Database> m_connection;
    QStringList m_categories;
};

} // namespace papyrant
