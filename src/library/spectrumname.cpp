#include "library/spectrumname.h"

#include "core/logging.h"

#include <QRegularExpression>

rruff_infos parseSpectrumName(const QString &fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? fileName : fileName.left(dot);
    const QStringList fields = base.split(QStringLiteral("__"));
    rruff_infos info;
    info.name = fields.value(0);
    info.rruffId = fields.value(1);
    info.laserWavelength = fields.value(3);
    info.angle = fields.value(4);
    info.orientation = fields.value(5);
    info.dataKind = fields.value(6);
    info.number = fields.value(7);
    return info;
}

QString cacheEntryName(const rruff_infos &info)
{
    return QStringLiteral("%1__%2__Raman__%3__%4__%5__%6__%7.bin")
        .arg(info.name, info.rruffId, info.laserWavelength, info.angle, info.orientation,
             info.dataKind, info.number);
}

QString pigmentNameMapper(const QString &fileName)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("^([A-z\\s]*?)\\s?([A-Z\\d]+)?_(\\d+)(?:_(\\d))?(?:_[a-z]+)?\\.txt")));
    static const QString scheme
        = QStringLiteral("%1__BXXXXXX__Raman__%2__0__unoriented__Raman_Data_Processed__%3.txt");
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch()) {
        qCWarning(logDataLibraries) << "Expression did not match filename:" << fileName;
        return scheme.arg(fileName, QStringLiteral("0"), QStringLiteral("0"));
    }
    return scheme.arg(match.captured(1) + QLatin1Char('_') + match.captured(4), match.captured(3),
                      QLatin1String("pigment_") + match.captured(2));
}

SpectrumNameMapper nameMapperForInstallHandler(const QString &handler)
{
    if (handler.startsWith(QLatin1String("chsopensource")))
        return &pigmentNameMapper;
    return {};
}
