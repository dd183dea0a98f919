#pragma once

#include <QByteArray>

class SaveData;

// The one-page A4 summary of a measurement and of its sector `sectorIndex` as a PDF; empty when
// no page could be painted (saving then leaves the page out).
QByteArray summaryPagePdf(const SaveData &data, int sectorIndex);
