#include "core/Bibliography.h"

#include "core/DistinctValues.h"
#include "core/Prompts.h"
#include "core/SqlText.h"

namespace papyrant {

void Bibliography::open(const QString& path, const QString& name)
{
    close();
    m_path = path;
    m_name = name;
}

void Bibliography::close()
{
    m_connection.reset();
    m_path.clear();
    m_name.clear();
    m_categories.clear();
}

std::shared_ptr<Database> Bibliography::connection()
{
    if (!m_connection)
        m_connection = std::make_shared<Database>(m_path);
    return m_connection;
}

const QStringList& Bibliography::refreshCategories(Prompts& prompts)
{
    m_categories.clear();
    try {
        m_categories = readDistinctValues(database(),
            QStringLiteral("Select Distinct ") + columnAsText(QStringLiteral("Abstracts.Category"))
                + QStringLiteral(" From Abstracts"));
    } catch (const std::exception& error) {
        prompts.notice(QStringLiteral("The categories could not be read.\n") + errorText(error));
    }
    return m_categories;
}

} // namespace papyrant
