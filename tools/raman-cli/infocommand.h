#pragma once

#include "storage/savedata.h"

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

// raman-cli info FOLDER [--parts metadata|images|spectra|all]
int runInfoCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

// The loaded measurement as printed by `info`.
QJsonObject saveDataToInfoJson(const SaveData &data);
