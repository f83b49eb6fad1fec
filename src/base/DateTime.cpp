#include "base/DateTime.h"

#include <QDateTime>

namespace vellum {

double NowDateTime() {
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    return double(epoch.msecsTo(QDateTime::currentDateTime())) / 86400000.0;
}

} // namespace vellum
