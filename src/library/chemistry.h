#pragma once

#include <QHash>
#include <QString>
#include <QVarLengthArray>

// The chemistry of a mineral: its formula and the elements in it.
struct Chemistry
{
    // Element symbol packed as (upper-case first letter << 8) | (lower-case second letter or 0),
    // in order of appearance in the formula, duplicates kept.
    QVarLengthArray<quint16, 8> elements;
    QString formulaHtml;  // with <sub>/<sup> markup, as written in the chemistry file
    QString formulaPlain; // the same without tags

    static Chemistry fromFormula(const QString &formulaHtml);
    static quint16 elementCode(const QString &symbol);
    static QString elementSymbol(quint16 code);
};

// The key under which a mineral name finds its chemistry: Abenakiite-(Ce) -> abenakiiteCe
// lower-cased, hyphens removed.
QString chemistryKey(const QString &name);

using ChemistryTable = QHash<QString, Chemistry>;

// Reads a chemistry file ("<name> <formula>" per line, name keys lower-cased); a later line with
// the same key wins. An unreadable file gives an empty table and a warning.
ChemistryTable readChemistryFile(const QString &path);
