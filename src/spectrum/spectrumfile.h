#pragma once

#include "spectrum/ramandata.h"

#include <QByteArray>
#include <QDataStream>
#include <QMap>
#include <QString>

// Text spectrum files: optional "# key: value" header lines, then "x<sep> y" lines.
// Returns an empty record for unreadable or unsorted files; descending files are reversed.
// The header map, when asked for, receives every "# key: value" line.
RamanData<Wavenumbers> loadSpectrumFromCSV(const QString &path,
                                           QMap<QString, QString> *header = nullptr);
// The same from the content of such a file; `path` only names it in warnings.
RamanData<Wavenumbers> spectrumFromText(const QByteArray &content, const QString &path,
                                        QMap<QString, QString> *header = nullptr);

// The text form of numbers in spectrum and calibration files: 6 significant digits.
QString formatSpectrumNumber(double value);

// "x y\n" per point, the form read back by loadSpectrumFromCSV.
QByteArray spectrumText(const QVector<double> &x, const QVector<double> &y);

template<typename Unit>
QByteArray spectrumText(const RamanData<Unit> &data)
{
    return spectrumText(data.x, data.y);
}

// Writes the text form atomically; false (and a warning) on failure.
bool writeSpectrumText(const QString &path, const RamanData<Wavenumbers> &data);

// Binary form: consecutive (x, y) pairs of doubles, no header, until the stream ends.
void readSpectrumPairs(QDataStream &stream, QVector<double> &x, QVector<double> &y);
void writeSpectrumPairs(QDataStream &stream, const QVector<double> &x, const QVector<double> &y);

template<typename Unit>
QDataStream &operator>>(QDataStream &stream, RamanData<Unit> &data)
{
    readSpectrumPairs(stream, data.x, data.y);
    return stream;
}

template<typename Unit>
QDataStream &operator<<(QDataStream &stream, const RamanData<Unit> &data)
{
    writeSpectrumPairs(stream, data.x, data.y);
    return stream;
}
