<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="de_DE">
<context>
    <name>BrowserMainWindow</name>
    <message>
        <source>Raman-Speicherdatenbetrachter</source>
        <translation>Raman Save Data Viewer</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Lan&amp;guage</source>
        <translation>Lan&amp;guage</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>[%1] Raman-Speicherdatenbetrachter</source>
        <translation>[%1] Raman Save Data Viewer</translation>
    </message>
    <message>
        <source>Lade Speicherdaten: %1 von etwa %2 (%3%) ...</source>
        <translation>Loading save data: %1 of about %2 (%3%) ...</translation>
    </message>
    <message>
        <source>Fertig.</source>
        <translation>Done.</translation>
    </message>
</context>
<context>
    <name>SaveDataBrowseModel</name>
    <message>
        <source>#</source>
        <translation>#</translation>
    </message>
    <message>
        <source>Bewertung</source>
        <translation>Rating</translation>
    </message>
    <message>
        <source>Sammlung</source>
        <translation>Collection</translation>
    </message>
    <message>
        <source>Bezeichnung</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Inhalte</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Erstellt</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Geändert</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Eindeutige ID</source>
        <translation>Unique ID</translation>
    </message>
</context>
<context>
    <name>SaveDataBrowseWidget</name>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Eigentümer enthält</source>
        <translation>Owner contains</translation>
    </message>
    <message>
        <source>Ergebnis enthält</source>
        <translation>Result contains</translation>
    </message>
    <message>
        <source>Bezeichnung enthält</source>
        <translation>Name contains</translation>
    </message>
    <message>
        <source>Bewertung mindestens</source>
        <translation>Minimum rating</translation>
    </message>
    <message>
        <source>Leere ausblenden</source>
        <translation>Hide empty</translation>
    </message>
    <message>
        <source>Aktiviert</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Unbewertete ausblenden</source>
        <translation>Hide unrated</translation>
    </message>
    <message>
        <source>Angezeigte Spalten</source>
        <translation>Shown columns</translation>
    </message>
    <message>
        <source>Konfigurieren ...</source>
        <translation>Configure ...</translation>
    </message>
    <message>
        <source>Speicherdaten-Quellverzeichnis auswählen</source>
        <translation>Select save data source directory</translation>
    </message>
</context>
<context>
    <name>DialogSelectTableColumns</name>
    <message>
        <source>Tabellen-Spalten auswählen</source>
        <translation>Select table columns</translation>
    </message>
    <message>
        <source>Wählen Sie die Spalten aus, die in der Datei-Liste angezeigt werden sollen.</source>
        <translation>Select the columns to show in the file list.</translation>
    </message>
</context>
<context>
    <name>GetSampleDataDialog</name>
    <message>
        <source>Sample-Daten</source>
        <translation>Sample data</translation>
    </message>
    <message>
        <source>Probenherkunft</source>
        <translation>Sample origin</translation>
    </message>
    <message>
        <source>Fundstelle  </source>
        <translation>Location  </translation>
    </message>
    <message>
        <source>z. B. Grube Clara</source>
        <translation>e.g. Clara mine</translation>
    </message>
    <message>
        <source>Funddatum   </source>
        <translation>Date found   </translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Jahr/Monat/Tag</source>
        <translation>Year/month/day</translation>
    </message>
    <message>
        <source>&amp;Jahr</source>
        <translation>&amp;Year</translation>
    </message>
    <message>
        <source>kein Datum</source>
        <translation>no date</translation>
    </message>
    <message>
        <source>Kurzanmerkung (maximal 5 Zeilen a 80 Zeichen)</source>
        <translation>Short remark (at most 5 lines of 80 characters)</translation>
    </message>
    <message>
        <source>Probenidentifikation</source>
        <translation>Sample identification</translation>
    </message>
    <message>
        <source>Besitzer</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>Sammlung</source>
        <translation>Collection</translation>
    </message>
    <message>
        <source>Sammlungs-Nummer</source>
        <translation>Collection number</translation>
    </message>
    <message>
        <source>Bewertung</source>
        <translation>Rating</translation>
    </message>
    <message>
        <source>Qualität der Analyse</source>
        <translation>Quality of the analysis</translation>
    </message>
</context>
<context>
    <name>SampleDataDialog</name>
    <message>
        <source>Unbenannt</source>
        <translation>Unnamed</translation>
    </message>
</context>
<context>
    <name>DialogDate</name>
    <message>
        <source>Funddatum für Bericht</source>
        <translation>Date found for report</translation>
    </message>
</context>
</TS>
