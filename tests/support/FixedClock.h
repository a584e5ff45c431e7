#pragma once
// A clock stopped on one day, installed for the lifetime of the object, so entry dates
// in a test do not depend on when it runs.

#include "core/Clock.h"

namespace papyrant::test {

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDate day)
        : m_day(day)
    {
        setClock(this);
    }
    ~FixedClock() override { setClock(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    QDate today() const override { return m_day; }

private:
    QDate m_day;
};

} // namespace papyrant::test
