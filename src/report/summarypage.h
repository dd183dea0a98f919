#pragma once

#include <QByteArray>
#include <QVector>

class SaveData;

// The one-page A4 summary of a measurement and of its sector `sectorIndex` as a PDF; empty when
// no page could be painted (saving then leaves the page out).
QByteArray summaryPagePdf(const SaveData &data, int sectorIndex);
// The pages of several sectors, in their order; drawn as one document and split, so that they
// share the cost of embedding the fonts.
QVector<QByteArray> summaryPagesPdf(const SaveData &data, const QVector<int> &sectorIndexes);
