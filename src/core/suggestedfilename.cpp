#include "core/suggestedfilename.h"

#include <QRegularExpression>

QString suggestedFileName(const QString &text, const QString &extension, const QString &fallback)
{
    static const QRegularExpression refused(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]+"));
    QString name = QString(text).replace(refused, QStringLiteral("_")).simplified();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1); // no hidden file
    if (name.isEmpty())
        name = fallback.isEmpty() ? QStringLiteral("export") : fallback;
    return name + QLatin1Char('.') + extension;
}
