#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli upgrade DIR... [--dry-run]: re-saves every measurement folder below the DIRs whose
// format is older than the current one, in place and with the usual backup.
int runUpgradeCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
