#include "core/Clock.h"

#include <QLocale>

namespace papyrant {
namespace {

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

const SystemClock systemClock;
const Clock* installedClock = &systemClock;

} // namespace

const Clock& currentClock()
{
    return *installedClock;
}

void setClock(const Clock* replacement)
{
    installedClock = replacement ? replacement : &systemClock;
}

QString shortDateText(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString todayText()
{
    return shortDateText(currentClock().today());
}

} // namespace papyrant
