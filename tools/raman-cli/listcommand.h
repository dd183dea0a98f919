#pragma once

#include <QStringList>
#include <QTextStream>

// raman-cli list DIR [--owner T] [--result T] [--id T] [--min-rating N] [--hide-empty]
//                    [--hide-unrated] [--sort COLUMN[:desc]] [--header]
int runListCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
