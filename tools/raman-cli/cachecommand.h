#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli cache DIR... [--rebuild] [--pigments]
int runCacheCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
