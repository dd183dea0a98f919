#pragma once

#include <QString>

// A file name made from a text the user knows the data by (a mineral, a sample number): characters
// that file systems refuse become "_", and `fallback` stands in for a text with nothing left.
QString suggestedFileName(const QString &text, const QString &extension,
                          const QString &fallback = QString());
