#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli library list [--sources FILE]
// raman-cli library install ID... [--yes] [--sources FILE]
int runLibraryCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
