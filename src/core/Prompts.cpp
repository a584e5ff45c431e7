#include "core/Prompts.h"

#include <stdexcept>

namespace papyrant {

namespace {
Prompts* installed = nullptr;
}

QString programTitle()
{
    return QStringLiteral("Papyrant");
}

Prompts& prompts()
{
    if (!installed)
        throw std::logic_error("no prompts installed");
    return *installed;
}

void setPrompts(Prompts* replacement)
{
    installed = replacement;
}

} // namespace papyrant
