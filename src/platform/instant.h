#pragma once
// The moment that names an archived version, from the platform's clock, and
// as the windows write it.

#include "store/archives.h"

#include <QDateTime>
#include <QString>

namespace tarvex::archives {

inline Instant instantDe(const QDateTime& t)
{
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(), t.time().second()};
}

// "06/12/2026" and "09:30:00".
inline QString dateDe(const Instant& i)
{
    return QStringLiteral("%1/%2/%3").arg(i.jour, 2, 10, QLatin1Char('0')).arg(i.mois, 2, 10, QLatin1Char('0')).arg(i.annee);
}

inline QString heureDe(const Instant& i)
{
    return QStringLiteral("%1:%2:%3")
        .arg(i.heure, 2, 10, QLatin1Char('0'))
        .arg(i.minute, 2, 10, QLatin1Char('0'))
        .arg(i.seconde, 2, 10, QLatin1Char('0'));
}

}  // namespace tarvex::archives
