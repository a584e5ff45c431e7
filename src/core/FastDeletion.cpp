#include "core/FastDeletion.h"

#include <string>

namespace papyrant {

FastDeletion::FastDeletion(Database& db)
    : m_db(db)
{
    try {
        m_previous = db.handle().execAndGet("PRAGMA secure_delete").getInt();
        db.handle().exec("PRAGMA secure_delete = FAST");
    } catch (const std::exception&) {
        m_previous = -1; // the deletion works without it, only slower
    }
}

FastDeletion::~FastDeletion()
{
    if (m_previous < 0)
        return;
    try {
        m_db.handle().exec(m_previous == 2 ? std::string("PRAGMA secure_delete = FAST")
                                           : "PRAGMA secure_delete = " + std::to_string(m_previous));
    } catch (const std::exception&) {
    }
}

} // namespace papyrant
