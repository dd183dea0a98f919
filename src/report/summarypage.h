#pragma once

class QString;
class SaveData;

// Paints the one-page A4 summary of a measurement and of its sector `sectorIndex` into a PDF
// file. False when no page could be written; saving does not depend on the outcome.
bool writeSummaryPage(const SaveData &data, const QString &path, int sectorIndex);
