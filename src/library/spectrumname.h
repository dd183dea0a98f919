#pragma once

#include "library/chemistry.h"

#include <QString>
#include <functional>

// What the double-underscore file name of a reference spectrum says about it:
// name__rruffId__Raman__laserWavelength__angle__orientation__dataKind__number.txt
struct rruff_infos
{
    QString name;
    QString rruffId;
    QString laserWavelength;
    QString orientation;
    QString angle;
    QString dataKind;
    QString number;
    QString library; // last path component of the library folder
    Chemistry chemistry;
};

rruff_infos parseSpectrumName(const QString &fileName);
// The name of a spectrum's entry in a library cache; parses back to the same record.
QString cacheEntryName(const rruff_infos &info);

// Maps a source file name onto the double-underscore scheme before it is parsed.
using SpectrumNameMapper = std::function<QString(const QString &)>;

// The names of the pigment collection ("Azurite K12_785_2_a.txt" and the like).
QString pigmentNameMapper(const QString &fileName);

// The mapper an installed library needs, chosen by the name of its install handler.
SpectrumNameMapper nameMapperForInstallHandler(const QString &handler);
