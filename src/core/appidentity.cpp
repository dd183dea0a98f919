#include "core/appidentity.h"

#include <QCoreApplication>
#include <QSettings>

namespace AppIdentity {

void apply()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(organisationName));
    QCoreApplication::setApplicationName(QString::fromLatin1(applicationName));
    QSettings::setDefaultFormat(QSettings::IniFormat);
}

} // namespace AppIdentity
