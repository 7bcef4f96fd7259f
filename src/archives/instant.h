#pragma once
// The moment that names an archived version, from the platform's clock.

#include "store/archives.h"

#include <QDateTime>

namespace tarvex::archives {

inline Instant instantDe(const QDateTime& t)
{
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(), t.time().second()};
}

}  // namespace tarvex::archives
