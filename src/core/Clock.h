#pragma once
// Today's date, the only moment the program reads: the entry date of every new record.
// Tests install a fixed clock so the dates they expect do not move.

#include <QDate>
#include <QString>

namespace papyrant {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

const Clock& currentClock();
// Installs a replacement clock; nullptr restores the system clock.
void setClock(const Clock* replacement);

// A date as the system's short-date text: the entry date of a new record.
QString shortDateText(const QDate& date);
// Today as the entry date of a record added now.
QString todayText();

} // namespace papyrant
