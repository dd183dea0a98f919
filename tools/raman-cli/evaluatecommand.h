#pragma once

#include <QStringList>
#include <QTextStream>

int runEvaluateCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
