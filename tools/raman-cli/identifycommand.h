#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli identify SPECTRUM... [--library DIR]... [--method fingerprint|correlation|auto]
//   [--top N] [--sensitivity S] [the processing options of process]
int runIdentifyCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
