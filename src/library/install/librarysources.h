#pragma once

#include "core/librarypath.h"

#include <QJsonObject>
#include <QStringList>
#include <QVector>

// The list of public reference libraries that can be downloaded and installed, and where an
// installed one lives.
namespace LibrarySources {

// ":/library-sources.json"
QString builtInList();

// The whole list; an empty object (after a warning) when it cannot be read or parsed.
QJsonObject readList(const QString &listPath = builtInList());

// One entry per library of the list: its JSON object as `info`, its folder as `path`.
QVector<LibraryPath> installableLibraries(const QString &listPath = builtInList());

// An identifier names a folder of its own below the data location: no separators, no dots only.
bool isValidIdentifier(const QString &identifier);
// The cleaned folder an installable library is unpacked into.
QString installFolder(const QString &identifier);
// True for a folder made by installFolder; only such folders are ever removed as a whole.
bool isInstallFolder(const QString &path);

QString identifier(const LibraryPath &library);
// The "readable-name" for the locale ("de_DE", "en_GB"), else any, else the identifier.
QString readableName(const LibraryPath &library, const QString &locale);
// The vendors of the libraries, each once, in order of first appearance.
QStringList vendorIds(const QVector<LibraryPath> &libraries);

// The licence terms of the vendors, one filled template per vendor. The template's
// "${VENDOR_WEBSITE}" and "${VENDOR_LICENSE}" take the vendor's "website" and "license-terms".
QString licenceText(const QStringList &vendorIds, const QString &templateText,
                    const QString &listPath = builtInList());

} // namespace LibrarySources
