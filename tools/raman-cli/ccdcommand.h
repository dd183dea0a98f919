#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli ccd RAW --width W --height H [--calibration FILE] [--laser NM]
int runCcdCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
