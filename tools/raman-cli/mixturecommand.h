#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli mixture SPECTRUM [--library DIR]... [--top N] [--sensitivity S]
//   [the processing options of process]
int runMixtureCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
