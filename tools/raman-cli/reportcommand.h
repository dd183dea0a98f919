#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli report FOLDER [--point N | --all-points] [-o OUT.pdf] [--template FILE]
//                         [--logo FILE] [--language LOCALE]
int runReportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
