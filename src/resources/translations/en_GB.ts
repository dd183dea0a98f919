<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="de_DE">
<context>
    <name>AnalysisExports</name>
    <message>
        <source>Spektrum</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>Text (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <source>%1: das Spektrum hat keine positiven Intensitäten.</source>
        <translation>%1: the spectrum has no positive intensities.</translation>
    </message>
    <message>
        <source>Spektrum nicht lesbar</source>
        <translation>Spectrum not readable</translation>
    </message>
    <message>
        <source>Spektrum exportieren</source>
        <translation>Export spectrum</translation>
    </message>
    <message>
        <source>Keine Peaks</source>
        <translation>No peaks</translation>
    </message>
    <message>
        <source>Keine Peaks ausgewählt oder erkannt.</source>
        <translation>No peaks selected or detected.</translation>
    </message>
    <message>
        <source>Peak-Liste exportieren</source>
        <translation>Export peak list</translation>
    </message>
    <message>
        <source>%1 Peaks</source>
        <translation>%1 peaks</translation>
    </message>
</context>
<context>
    <name>AnalysisPlotView</name>
    <message>
        <source>Raman-Verschiebung / cm⁻¹</source>
        <translation>Raman shift / cm⁻¹</translation>
    </message>
    <message>
        <source>Intensität (normiert)</source>
        <translation>Intensity (normalised)</translation>
    </message>
    <message>
        <source>Analysiertes Spektrum</source>
        <translation>Analysed spectrum</translation>
    </message>
    <message>
        <source>Hintergrundsignal</source>
        <translation>Background signal</translation>
    </message>
    <message>
        <source>Linienhäufigkeiten</source>
        <translation>Line frequencies</translation>
    </message>
    <message>
        <source>Spektren aus Dateien entfernen</source>
        <translation>Remove spectra from files</translation>
    </message>
</context>
<context>
    <name>AspectRatioPixmapLabel</name>
    <message>
        <source>&lt;i&gt;Kein Bild vorhanden&lt;/i&gt;</source>
        <translation>&lt;i&gt;No image available&lt;/i&gt;</translation>
    </message>
</context>
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
        <source>&amp;Sprache</source>
        <translation>&amp;Language</translation>
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
    <message>
        <source>Backup-&amp;Kopien</source>
        <translation>Backup &amp;copies</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>toolBar</translation>
    </message>
    <message>
        <source>&amp;Quellverzeichnis auswählen ...</source>
        <translation>Select &amp;source directory ...</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Änderungen speichern</source>
        <translation>&amp;Save changes</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>&amp;Automatische Backups durchsuchen ...</source>
        <translation>Browse &amp;automatic backups ...</translation>
    </message>
    <message>
        <source>Alle &amp;Backup-Daten löschen</source>
        <translation>Delete all &amp;backup data</translation>
    </message>
    <message>
        <source>Neu laden</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>Lädt die Liste der Speicherdaten neu von der Festplatte.</source>
        <translation>Reloads the list of save data from disk.</translation>
    </message>
    <message>
        <source>Eintrag löschen</source>
        <translation>Delete entry</translation>
    </message>
    <message>
        <source>Bericht erzeugen</source>
        <translation>Generate report</translation>
    </message>
    <message>
        <source>Speicherdaten nicht lesbar</source>
        <translation>Save data not readable</translation>
    </message>
    <message>
        <source>&lt;p&gt;Die Speicherdaten in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;konnten nicht gelesen werden: der Ordner fehlt, oder seine metadata.json ist beschädigt.&lt;/p&gt;</source>
        <translation>&lt;p&gt;The save data in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;could not be read: the folder is missing, or its metadata.json is damaged.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Daten löschen</source>
        <translation>Delete data</translation>
    </message>
    <message>
        <source>&lt;p&gt;Alle Backups in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;wirklich löschen?&lt;/p&gt;</source>
        <translation>&lt;p&gt;Really delete all backups in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;?&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Lade Messung ...</source>
        <translation>Loading measurement ...</translation>
    </message>
    <message>
        <source>Spektrum aus Datei &amp;analysieren ...</source>
        <translation>&amp;Analyse spectrum from file ...</translation>
    </message>
    <message>
        <source>Öffnet die Analyse für ein Spektrum aus einer Datei (JCAMP-DX, SPC, RRUFF, CSV), das zu keiner Messung gehört</source>
        <translation>Opens the analysis for a spectrum from a file (JCAMP-DX, SPC, RRUFF, CSV) that belongs to no measurement</translation>
    </message>
    <message>
        <source>Spektrum aus Datei analysieren</source>
        <translation>Analyse spectrum from file</translation>
    </message>
    <message>
        <source>Analyse von %1</source>
        <translation>Analysis of %1</translation>
    </message>
    <message>
        <source>Backup-Kopie, nur zum Ansehen: %1</source>
        <translation>Backup copy, for viewing only: %1</translation>
    </message>
    <message>
        <source>Die Quellfassung der Backup-Kopie ist hier nicht gelistet.</source>
        <translation>The source version of the backup copy is not listed here.</translation>
    </message>
    <message>
        <source> - Backup-Kopie (schreibgeschützt)</source>
        <translation> - backup copy (read-only)</translation>
    </message>
    <message>
        <source>E&amp;xtras</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Bibliotheken verwalten ...</source>
        <translation>&amp;Manage libraries ...</translation>
    </message>
    <message>
        <source>Referenzbibliotheken für die Analyse einrichten und herunterladen</source>
        <translation>Set up and download the reference libraries of the analysis</translation>
    </message>
    <message>
        <source>&amp;Einstellungen ...</source>
        <translation>&amp;Settings ...</translation>
    </message>
    <message>
        <source>Neustart fehlgeschlagen</source>
        <translation>Restart failed</translation>
    </message>
    <message>
        <source>Das Programm konnte nicht neu gestartet werden. Bitte starten Sie es selbst neu.</source>
        <translation>The program could not be restarted. Please start it again yourself.</translation>
    </message>
</context>
<context>
    <name>CorrelationParametersDialog</name>
    <message>
        <source>Suchparameter</source>
        <translation>Search parameters</translation>
    </message>
    <message>
        <source>Peaksuche</source>
        <translation>Peak search</translation>
    </message>
    <message>
        <source>Generelle Einstellungen zur Suchstrategie</source>
        <translation>General search strategy settings</translation>
    </message>
    <message>
        <source>Toleranz für perfekte Übereinstimmung</source>
        <translation>Tolerance for a perfect match</translation>
    </message>
    <message>
        <source>Optionen</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Auf Standardwerte zurücksetzen</source>
        <translation>Reset to default values</translation>
    </message>
    <message>
        <source>Zurücksetzen</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Minimal-Faktor über Rauschen</source>
        <translation>Minimum factor above noise</translation>
    </message>
    <message>
        <source>Peak sicher über Rauschen bei</source>
        <translation>Peak clearly above noise at</translation>
    </message>
    <message>
        <source>Überprüfte Breite (1/cm)</source>
        <translation>Checked width (1/cm)</translation>
    </message>
    <message>
        <source>Breite für Mittelpunktsberechnung (1/cm)</source>
        <translation>Width for centre calculation (1/cm)</translation>
    </message>
    <message>
        <source>Minimale Flankenhöhe</source>
        <translation>Minimum flank height</translation>
    </message>
    <message>
        <source>Ideale Flankenhöhe</source>
        <translation>Ideal flank height</translation>
    </message>
    <message>
        <source>Gewichtungs-Multiplikator für klare Flanken</source>
        <translation>Weight multiplier for clear flanks</translation>
    </message>
    <message>
        <source>Peak-Minimalhöhe (absolut)</source>
        <translation>Minimum peak height (absolute)</translation>
    </message>
    <message>
        <source>Peak-Maximalbreite (1/cm)</source>
        <translation>Maximum peak width (1/cm)</translation>
    </message>
    <message>
        <source>Maximale Abweichung Wellenzahl</source>
        <translation>Maximum wavenumber deviation</translation>
    </message>
    <message>
        <source>Abzug für klare unpassende Linien</source>
        <translation>Penalty for clearly unmatched lines</translation>
    </message>
    <message>
        <source>Toleranz Ignorieren unpassender Linien</source>
        <translation>Tolerance for ignoring unmatched lines</translation>
    </message>
    <message>
        <source>Wellenzahl Peaks (Differenz 1/cm)</source>
        <translation>Peak wavenumber (difference 1/cm)</translation>
    </message>
    <message>
        <source>Breite Peaks (Verhältnis)</source>
        <translation>Peak width (ratio)</translation>
    </message>
    <message>
        <source>Energie Peaks (Verhältnis)</source>
        <translation>Peak energy (ratio)</translation>
    </message>
</context>
<context>
    <name>DesktopOpen</name>
    <message>
        <source>&lt;p&gt;Es ließ sich kein Datei-Browser starten, der den Ordner&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;zeigt.&lt;/p&gt;</source>
        <translation>&lt;p&gt;No file manager could be started to show the folder&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Es ließ sich kein Programm starten, das die Datei&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;anzeigt.&lt;/p&gt;</source>
        <translation>&lt;p&gt;No program could be started to show the file&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Ordner nicht geöffnet</source>
        <translation>Folder not opened</translation>
    </message>
    <message>
        <source>Datei nicht geöffnet</source>
        <translation>File not opened</translation>
    </message>
</context>
<context>
    <name>DialogDate</name>
    <message>
        <source>Funddatum für Bericht</source>
        <translation>Date found for report</translation>
    </message>
</context>
<context>
    <name>DialogGenerateReport</name>
    <message>
        <source>Bericht generieren</source>
        <translation>Generate Report</translation>
    </message>
    <message>
        <source>Allgemein</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Pfad zu pdflatex:</source>
        <translation>Path to pdflatex:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Öffnen wenn fertig:</source>
        <translation>Open when done:</translation>
    </message>
    <message>
        <source>Aktiviert</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Stil</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Eigenes Template:</source>
        <translation>Custom template:</translation>
    </message>
    <message>
        <source>Pfad zum Template</source>
        <translation>Path to the template</translation>
    </message>
    <message>
        <source>Eigenes Logo:</source>
        <translation>Custom logo:</translation>
    </message>
    <message>
        <source>Pfad zur Bilddatei</source>
        <translation>Path to the image file</translation>
    </message>
</context>
<context>
    <name>DialogLCAnalysisProgress</name>
    <message>
        <source>Die Datenbank wird nach Paaren von Spektren durchsucht, die in Summe zu dem Analysierten passen.</source>
        <translation>The database is searched for pairs of spectra whose sum matches the analysed one.</translation>
    </message>
    <message>
        <source>Fertig: </source>
        <translation>Done: </translation>
    </message>
    <message>
        <source>Folgende Kombinationen aus zwei Mineralien sind plausibel für das geladene Spektrum (doppelklicken zum Ansehen):</source>
        <translation>These combinations of two minerals are plausible for the loaded spectrum (double-click to view):</translation>
    </message>
    <message>
        <source>Suche nach zwei Mineralen</source>
        <translation>Search for two minerals</translation>
    </message>
</context>
<context>
    <name>DialogSearchLib</name>
    <message>
        <source>Ergebnis analysieren</source>
        <translation>Analyse result</translation>
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
    <name>DialogShowNicePic</name>
    <message>
        <source>Mineral Erkennungsbild</source>
        <translation>Mineral identification picture</translation>
    </message>
</context>
<context>
    <name>ExportForLibrary</name>
    <message>
        <source>Spektrum für Bibliothek exportieren</source>
        <translation>Export spectrum for library</translation>
    </message>
    <message>
        <source>Bibliothek</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>Durchsuchen ...</source>
        <translation>Browse ...</translation>
    </message>
    <message>
        <source>Name des Eintrags</source>
        <translation>Entry name</translation>
    </message>
    <message>
        <source>Laser-Wellenlänge nominal</source>
        <translation>Nominal laser wavelength</translation>
    </message>
    <message>
        <source> nm</source>
        <translation> nm</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Chemische Zusammensetzung [&lt;a href=&quot;tip&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#2980b9;&quot;&gt;Hilfe&lt;/span&gt;&lt;/a&gt;]&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Chemical composition [&lt;a href=&quot;tip&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#2980b9;&quot;&gt;Help&lt;/span&gt;&lt;/a&gt;]&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>HTML, leer lassen um nach Namen zuzuordnen</source>
        <translation>HTML, leave empty to assign by name</translation>
    </message>
    <message>
        <source>Vorschau</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Chemie gültig für</source>
        <translation>Chemistry valid for</translation>
    </message>
    <message>
        <source>nur diesen Eintrag</source>
        <translation>this entry only</translation>
    </message>
    <message>
        <source>alle Einträge mit demselben Namen</source>
        <translation>all entries with the same name</translation>
    </message>
    <message>
        <source>Orientierung</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>undefiniert</source>
        <translation>undefined</translation>
    </message>
    <message>
        <source>0° CCW</source>
        <translation>0° CCW</translation>
    </message>
    <message>
        <source>45° CCW</source>
        <translation>45° CCW</translation>
    </message>
    <message>
        <source>90° CCW</source>
        <translation>90° CCW</translation>
    </message>
    <message>
        <source>Cache neu erzeugen</source>
        <translation>Rebuild cache</translation>
    </message>
    <message>
        <source>Aktiviert</source>
        <translation>Enabled</translation>
    </message>
</context>
<context>
    <name>GenerateReportDialog</name>
    <message>
        <source>TeX-Compiler auswählen</source>
        <translation>Select TeX Compiler</translation>
    </message>
    <message>
        <source>Kein gültiges Programm</source>
        <translation>Not a Valid Program</translation>
    </message>
    <message>
        <source>Bitte wählen Sie eine ausführbare Datei aus.</source>
        <translation>Please select an executable file.</translation>
    </message>
    <message>
        <source>Template auswählen</source>
        <translation>Select Template</translation>
    </message>
    <message>
        <source>LaTeX-Dateien (*.tex);;</source>
        <translation>LaTeX files (*.tex);;</translation>
    </message>
    <message>
        <source>Logo auswählen</source>
        <translation>Select Logo</translation>
    </message>
    <message>
        <source>Bericht speichern</source>
        <translation>Save Report</translation>
    </message>
    <message>
        <source>Bericht generieren fehlgeschlagen</source>
        <translation>Report Generation Failed</translation>
    </message>
    <message>
        <source>Das Generieren des Berichts ist fehlgeschlagen.</source>
        <translation>Generating the report failed.</translation>
    </message>
    <message>
        <source>Speichern unter ...</source>
        <translation>Save as ...</translation>
    </message>
    <message>
        <source>Klicken Sie „%1“, um den Bericht zu erzeugen.</source>
        <translation>Click “%1” to generate the report.</translation>
    </message>
    <message>
        <source>%1 Messpunkt %2</source>
        <translation>%1 measuring point %2</translation>
    </message>
    <message>
        <source>PDF-Dokumente (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
</context>
<context>
    <name>GetSampleDataDialog</name>
    <message>
        <source>Probendaten</source>
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
    <name>GroupAnswer</name>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Sicherheit des Minerals&lt;/b&gt; (S: Punktzahl des besten Minerals, 0 bis 10; V: sein Vorsprung vor dem nächsten Mineral): &lt;i&gt;sicher&lt;/i&gt;, wenn V ≥ %1 − %2 · (S − 9) und S ≥ %3 (je besser die Übereinstimmung, desto weniger Vorsprung braucht es); &lt;i&gt;wahrscheinlich&lt;/i&gt;, wenn V ≥ %4 und S ≥ %5; sonst &lt;i&gt;unsicher&lt;/i&gt;.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Gruppe&lt;/b&gt;: die Strukturgruppe des besten Minerals nach der IMA-Liste, mit ihren Mineralen bis %6 Punkte dahinter, die die Spektren nicht trennen. &lt;i&gt;sicher&lt;/i&gt;, wenn das Mineral sicher ist, oder wenn S ≥ %7 und die Gruppe jedes Mineral außerhalb um mindestens %8 Punkte übertrifft; sonst gilt die Sicherheit des Minerals. Ein Mineral ohne Gruppe behält seine eigene.&lt;/p&gt;&lt;p&gt;Gemessen in fünffacher Kreuzvalidierung nach Proben an 3083 Spektren der RRUFF-Sammlung (Schwellen auf vier Teilen gewählt, auf dem fünften geprüft): &lt;i&gt;sicher&lt;/i&gt; sind %9 % der Antworten, davon %10 % richtig; auf Gruppenebene %11 %, davon %12 % richtig (Gruppe richtig bei %13 % aller Antworten).&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Confidence of the mineral&lt;/b&gt; (S: score of the best mineral, 0 to 10; M: its lead over the next mineral): &lt;i&gt;confident&lt;/i&gt; when M ≥ %1 − %2 · (S − 9) and S ≥ %3 (the closer the match, the less lead it needs); &lt;i&gt;likely&lt;/i&gt; when M ≥ %4 and S ≥ %5; otherwise &lt;i&gt;uncertain&lt;/i&gt;.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Group&lt;/b&gt;: the structural group of the best mineral in the IMA list, with its minerals up to %6 points behind, which the spectra do not separate. &lt;i&gt;confident&lt;/i&gt; when the mineral is confident, or when S ≥ %7 and the group leads every mineral outside it by at least %8 points; otherwise the mineral&apos;s confidence applies. A mineral in no group keeps its own.&lt;/p&gt;&lt;p&gt;Measured by five-fold cross-validation by sample on 3083 spectra of the RRUFF collection (thresholds chosen on four folds, checked on the fifth): &lt;i&gt;confident&lt;/i&gt; are %9 % of the answers, %10 % of them right; at group level %11 %, %12 % of them right (group right for %13 % of all answers).&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>LCAnalysisProgressDialog</name>
    <message>
        <source>Fertig: %1 k von %2 k (%3 m %4 s übrig)</source>
        <translation>Done: %1 k of %2 k (%3 m %4 s left)</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>Sprache geändert</source>
        <translation>Language changed</translation>
    </message>
    <message>
        <source>Die gewählte Sprache gilt nach einem Neustart des Programms. Jetzt neu starten?</source>
        <translation>The chosen language applies after the program is restarted. Restart now?</translation>
    </message>
    <message>
        <source>Jetzt neu starten</source>
        <translation>Restart now</translation>
    </message>
    <message>
        <source>Später</source>
        <translation>Later</translation>
    </message>
</context>
<context>
    <name>LibraryDownloadDialog</name>
    <message>
        <source>Raman-Bibliotheken herunterladen</source>
        <translation>Download Raman libraries</translation>
    </message>
    <message>
        <source>Für die gewählten Bibliotheken gelten folgende Lizenzbestimmungen:</source>
        <translation>The following licence terms apply to the chosen libraries:</translation>
    </message>
    <message>
        <source>Die gewählten Bibliotheken werden heruntergeladen und installiert.</source>
        <translation>The chosen libraries are being downloaded and installed.</translation>
    </message>
    <message>
        <source>Herunterladen:</source>
        <translation>Download:</translation>
    </message>
    <message>
        <source>Starte Download ...</source>
        <translation>Starting download ...</translation>
    </message>
    <message>
        <source>Installieren:</source>
        <translation>Install:</translation>
    </message>
    <message>
        <source>Warte auf Download ...</source>
        <translation>Waiting for download ...</translation>
    </message>
    <message>
        <source>Fertig: %v von %m</source>
        <translation>Done: %v of %m</translation>
    </message>
    <message>
        <source>Details ...</source>
        <translation>Details ...</translation>
    </message>
    <message>
        <source>Akzeptieren und herunterladen</source>
        <translation>Accept and download</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Von&lt;/b&gt;: &lt;i&gt;${VENDOR_WEBSITE}&lt;/i&gt;&lt;br&gt;
&lt;b&gt;Lizenztext&lt;/b&gt;: ${VENDOR_LICENSE}&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;From&lt;/b&gt;: &lt;i&gt;${VENDOR_WEBSITE}&lt;/i&gt;&lt;br&gt;
&lt;b&gt;Licence text&lt;/b&gt;: ${VENDOR_LICENSE}&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Bibliothek schon vorhanden</source>
        <translation>Library already present</translation>
    </message>
    <message>
        <source>Diese Bibliothek war schon einmal installiert, soll die bestehende Installation in &apos;%1&apos; ersetzt werden?</source>
        <translation>This library has been installed before. Replace the existing installation in &apos;%1&apos;?</translation>
    </message>
    <message>
        <source>Fertig.</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>Die Installation von %1 Bibliotheken ist fehlgeschlagen (%2 erfolgreich installiert)&lt;br&gt;Klicken Sie &apos;Details&apos; für weitere Informationen.</source>
        <translation>Installing %1 libraries failed (%2 installed successfully)&lt;br&gt;Click &apos;Details&apos; for more information.</translation>
    </message>
    <message>
        <source>Konnte Datei &apos;%1&apos; nicht öffnen.</source>
        <translation>Could not open file &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>LibraryManagementDialog</name>
    <message>
        <source>Raman-Bibliotheken verwalten</source>
        <translation>Manage Raman libraries</translation>
    </message>
    <message>
        <source>Angehakte Bibliotheken werden geladen; angehakte herunterladbare Bibliotheken werden beim Übernehmen heruntergeladen und installiert.</source>
        <translation>Ticked libraries are loaded; ticked downloadable libraries are downloaded and installed when you apply.</translation>
    </message>
    <message>
        <source>Bibliothek</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Ordner</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Ordner hinzufügen ...</source>
        <translation>Add folder ...</translation>
    </message>
    <message>
        <source>Entfernen</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Cache löschen</source>
        <translation>Clear cache</translation>
    </message>
    <message>
        <source>Alle Caches löschen</source>
        <translation>Clear all caches</translation>
    </message>
    <message>
        <source>Eingerichtete Bibliotheken</source>
        <translation>Configured libraries</translation>
    </message>
    <message>
        <source>Ordner fehlt</source>
        <translation>Folder missing</translation>
    </message>
    <message>
        <source>Cache vorhanden</source>
        <translation>Cache present</translation>
    </message>
    <message>
        <source>Kein Cache</source>
        <translation>No cache</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Mineralien zum Herunterladen</source>
        <translation>Minerals to download</translation>
    </message>
    <message>
        <source>Pigmente zum Herunterladen</source>
        <translation>Pigments to download</translation>
    </message>
    <message>
        <source>Installiert, nicht eingerichtet</source>
        <translation>Installed, not configured</translation>
    </message>
    <message>
        <source>Nicht installiert</source>
        <translation>Not installed</translation>
    </message>
    <message>
        <source>Raman-Bibliothek auswählen</source>
        <translation>Select Raman library</translation>
    </message>
    <message>
        <source>Das Wiederherstellen aller Caches kann einige Zeit in Anspruch nehmen - wirklich alle löschen?</source>
        <translation>Rebuilding all caches can take a while - really delete them all?</translation>
    </message>
    <message>
        <source>Alle löschen</source>
        <translation>Delete all</translation>
    </message>
</context>
<context>
    <name>LineEditingController</name>
    <message>
        <source>Linksklick setzt einen Stützpunkt, Rechtsklick entfernt ihn.</source>
        <translation>Left click sets a support point, right click removes it.</translation>
    </message>
    <message>
        <source>Linksklick setzt eine Linie, Rechtsklick entfernt sie.</source>
        <translation>Left click sets a line, right click removes it.</translation>
    </message>
</context>
<context>
    <name>MineralSearch</name>
    <message>
        <source>sicher</source>
        <translation>confident</translation>
    </message>
    <message>
        <source>wahrscheinlich</source>
        <translation>likely</translation>
    </message>
    <message>
        <source>unsicher</source>
        <translation>uncertain</translation>
    </message>
</context>
<context>
    <name>MixtureSearchDialogs</name>
    <message>
        <source>Gemisch-Anpassung</source>
        <translation>Mixture fit</translation>
    </message>
    <message>
        <source>Das Spektrum wird als Summe von zwei oder drei Referenzspektren und einem glatten Untergrund angepasst.</source>
        <translation>The spectrum is fitted as the sum of two or three reference spectra and a smooth background.</translation>
    </message>
    <message>
        <source>%1 %2 %</source>
        <translation>%1 %2 %</translation>
    </message>
    <message>
        <source>%1 (Rest %2 %)</source>
        <translation>%1 (residual %2 %)</translation>
    </message>
    <message>
        <source>Kein Gemisch passt: das Spektrum ist leer, flach oder zu kurz, oder keine Referenz deckt seinen Bereich ab.</source>
        <translation>No mixture fits: the spectrum is empty, flat or too short, or no reference covers its range.</translation>
    </message>
    <message>
        <source>Diese Gemische passen zum geladenen Spektrum, mit dem Anteil jedes Minerals und dem Rest, den die Anpassung nicht erklärt (doppelklicken zum Ansehen):</source>
        <translation>These mixtures fit the loaded spectrum, with the share of every mineral and the residual the fit leaves unexplained (double-click to view):</translation>
    </message>
</context>
<context>
    <name>NewMineralPicDialog</name>
    <message>
        <source>Bild des Minerals in Datenbank aufnehmen</source>
        <translation>Add a picture of the mineral to the database</translation>
    </message>
    <message>
        <source>Mineralname</source>
        <translation>Mineral name</translation>
    </message>
    <message>
        <source>Sammlung</source>
        <translation>Collection</translation>
    </message>
    <message>
        <source>Fundort</source>
        <translation>Locality</translation>
    </message>
    <message>
        <source>Copyright</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>Anmerkung</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>Neues Bild</source>
        <translation>New picture</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Mineralbild zur Aufnahme in die Datenbank auswählen</source>
        <translation>Choose a mineral picture to add to the database</translation>
    </message>
    <message>
        <source>Bilder im jpg-Format (*.jpg) ;; Alle Dateien (*.*)</source>
        <translation>JPEG pictures (*.jpg) ;; All files (*.*)</translation>
    </message>
    <message>
        <source>kein copyright eingegeben</source>
        <translation>no copyright entered</translation>
    </message>
    <message>
        <source>bitte sicherstellen, dass keine Rechte verletzt werden</source>
        <translation>please make sure that no rights are infringed</translation>
    </message>
    <message>
        <source>Kein Bild</source>
        <translation>Not a picture</translation>
    </message>
    <message>
        <source>Die Datei %1 kann nicht als Bild gelesen werden.</source>
        <translation>The file %1 cannot be read as a picture.</translation>
    </message>
    <message>
        <source>Bild nicht gespeichert</source>
        <translation>Picture not saved</translation>
    </message>
    <message>
        <source>Das Bild oder seine Beschreibung konnte nicht als %1 gespeichert werden.</source>
        <translation>The picture or its description could not be saved as %1.</translation>
    </message>
</context>
<context>
    <name>NicePicWidget</name>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Copyright: </source>
        <translation>Copyright: </translation>
    </message>
    <message>
        <source>Fundort: </source>
        <translation>Locality: </translation>
    </message>
    <message>
        <source>Sammlung: </source>
        <translation>Collection: </translation>
    </message>
    <message>
        <source>Anmerkung: </source>
        <translation>Remark: </translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;i&gt;Für %1 ist noch kein Bild gespeichert.&lt;/i&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;i&gt;No picture of %1 has been stored yet.&lt;/i&gt;&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>PDFExport</name>
    <message>
        <source>Raman-Spektrometer (Modell nicht angegeben)</source>
        <translation>Raman spectrometer (model not specified)</translation>
    </message>
    <message>
        <source>Id:</source>
        <translation>Id:</translation>
    </message>
    <message>
        <source>Probe:</source>
        <translation>Sample:</translation>
    </message>
    <message>
        <source>Ident-Nr.:</source>
        <translation>Ident no.:</translation>
    </message>
    <message>
        <source>Sammlung:</source>
        <translation>Collection:</translation>
    </message>
    <message>
        <source>Fundort:</source>
        <translation>Locality:</translation>
    </message>
    <message>
        <source>Fundjahr:</source>
        <translation>Year found:</translation>
    </message>
    <message>
        <source>Funddatum:</source>
        <translation>Date found:</translation>
    </message>
    <message>
        <source>BBB</source>
        <translation>BBB</translation>
    </message>
    <message>
        <source>Bildbreite:</source>
        <translation>Image width:</translation>
    </message>
    <message>
        <source>Objektiv:</source>
        <translation>Objective:</translation>
    </message>
    <message>
        <source>Aufnahmeparameter:</source>
        <translation>Recording parameters:</translation>
    </message>
    <message>
        <source>Identifiziertes Mineral:</source>
        <translation>Identified mineral:</translation>
    </message>
    <message>
        <source>Laserwellenlänge:</source>
        <translation>Laser wavelength:</translation>
    </message>
    <message>
        <source>Id: </source>
        <translation>Id: </translation>
    </message>
    <message>
        <source>Fundort: </source>
        <translation>Locality: </translation>
    </message>
    <message>
        <source>Sammlung: </source>
        <translation>Collection: </translation>
    </message>
    <message>
        <source>Fundjahr: </source>
        <translation>Year found: </translation>
    </message>
    <message>
        <source>Funddatum: </source>
        <translation>Date found: </translation>
    </message>
    <message>
        <source>Bildbreite: </source>
        <translation>Image width: </translation>
    </message>
    <message>
        <source>Belichtungszeit:</source>
        <translation>Exposure time:</translation>
    </message>
    <message>
        <source>Gain:</source>
        <translation>Gain:</translation>
    </message>
    <message>
        <source>Chip-Temperatur:</source>
        <translation>Chip temperature:</translation>
    </message>
    <message>
        <source>Objektiv: </source>
        <translation>Objective: </translation>
    </message>
    <message>
        <source>Spaltbreite:</source>
        <translation>Slit width:</translation>
    </message>
    <message>
        <source>manuell</source>
        <translation>manual</translation>
    </message>
    <message>
        <source>ND-Filter:</source>
        <translation>ND filter:</translation>
    </message>
    <message>
        <source>Spektrum automatisch identifiziert</source>
        <translation>Spectrum identified automatically</translation>
    </message>
    <message>
        <source>Spektrum manuell zugeordnet</source>
        <translation>Spectrum assigned manually</translation>
    </message>
    <message>
        <source>Raman Browser</source>
        <translation>Raman Browser</translation>
    </message>
    <message>
        <source>Auswertung von Raman-Messungen</source>
        <translation>Analysis of Raman measurements</translation>
    </message>
    <message>
        <source>Zusammenfassung eines Messpunkts</source>
        <translation>Summary of one measuring point</translation>
    </message>
    <message>
        <source>Hersteller des Spektrometers:</source>
        <translation>Spectrometer manufacturer:</translation>
    </message>
    <message>
        <source>nicht angegeben</source>
        <translation>not specified</translation>
    </message>
    <message>
        <source>Kontakt:</source>
        <translation>Contact:</translation>
    </message>
    <message>
        <source>siehe Dokumentation des Messplatzes</source>
        <translation>see the documentation of the instrument</translation>
    </message>
    <message>
        <source>Raman-Analyse für %1</source>
        <translation>Raman analysis for %1</translation>
    </message>
    <message>
        <source>RAMAN-Spektrometer &apos;Corvalinthe&apos;</source>
        <translation>RAMAN spectrometer &apos;Corvalinthe&apos;</translation>
    </message>
</context>
<context>
    <name>ProgramSettings</name>
    <message>
        <source>%1: kein Ordner angegeben</source>
        <translation>%1: no folder given</translation>
    </message>
    <message>
        <source>%1: der Ordner „%2“ existiert nicht</source>
        <translation>%1: the folder “%2” does not exist</translation>
    </message>
    <message>
        <source>%1: in den Ordner „%2“ kann nicht geschrieben werden</source>
        <translation>%1: the folder “%2” cannot be written to</translation>
    </message>
    <message>
        <source>TeX-Compiler</source>
        <translation>TeX compiler</translation>
    </message>
    <message>
        <source>%1: „%2“ lässt sich nicht ausführen</source>
        <translation>%1: “%2” does not run</translation>
    </message>
    <message>
        <source>Speicherpfad</source>
        <translation>Save path</translation>
    </message>
    <message>
        <source>Backup-Ordner</source>
        <translation>Backup folder</translation>
    </message>
</context>
<context>
    <name>QDialog</name>
    <message>
        <source>Exportieren</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Tippen Sie ^ oder _, um den HTML-Code für hoch- bzw. tiefgestellten Text einzufügen.</source>
        <translation>Type ^ or _ to insert the HTML code for superscript or subscript text.</translation>
    </message>
    <message>
        <source>Bibliotheksordner auswählen</source>
        <translation>Choose library folder</translation>
    </message>
    <message>
        <source>Ungültiger Name</source>
        <translation>Invalid name</translation>
    </message>
    <message>
        <source>Bitte geben Sie einen gültigen Namen an.</source>
        <translation>Please enter a valid name.</translation>
    </message>
    <message>
        <source>Kein Bibliotheksordner</source>
        <translation>No library folder</translation>
    </message>
    <message>
        <source>Bitte wählen Sie einen vorhandenen Bibliotheksordner aus.</source>
        <translation>Please choose an existing library folder.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Automatisch identifiziert</source>
        <translation>Identified automatically</translation>
    </message>
    <message>
        <source>Manuell ausgewählt</source>
        <translation>Selected manually</translation>
    </message>
    <message>
        <source>Kein Kommentar angegeben.</source>
        <translation>No comment given.</translation>
    </message>
    <message>
        <source>Funddatum</source>
        <translation>Date found</translation>
    </message>
    <message>
        <source>Fundjahr</source>
        <translation>Year found</translation>
    </message>
</context>
<context>
    <name>RamanLibraryModel</name>
    <message>
        <source>Wird geladen ...</source>
        <translation>Loading ...</translation>
    </message>
    <message>
        <source>Erg</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Mineral</source>
        <translation>Mineral</translation>
    </message>
    <message>
        <source>Formel</source>
        <translation>Formula</translation>
    </message>
    <message>
        <source>Ident Nr.</source>
        <translation>Ident no.</translation>
    </message>
    <message>
        <source>RRUFFID</source>
        <translation>RRUFF ID</translation>
    </message>
    <message>
        <source>Bilder</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>Datenbank</source>
        <translation>Database</translation>
    </message>
    <message>
        <source>Sicherheit</source>
        <translation>Confidence</translation>
    </message>
    <message>
        <source>Gruppe</source>
        <translation>Group</translation>
    </message>
</context>
<context>
    <name>ReportTemplate</name>
    <message>
        <source>Analyse</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Aufnahme-Objektiv</source>
        <translation>Objective</translation>
    </message>
    <message>
        <source>Aufnahme-Parameter</source>
        <translation>Recording parameters</translation>
    </message>
    <message>
        <source>Ausgewählt durch</source>
        <translation>Selected by</translation>
    </message>
    <message>
        <source>Belichtungszeit</source>
        <translation>Exposure time</translation>
    </message>
    <message>
        <source>Bildbreite</source>
        <translation>Image width</translation>
    </message>
    <message>
        <source>Dichtefilter</source>
        <translation>ND filter</translation>
    </message>
    <message>
        <source>Durchgeführt am</source>
        <translation>Performed on</translation>
    </message>
    <message>
        <source>Eigentümer</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Fundort</source>
        <translation>Locality</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Kommentar</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Laser-Wellenlänge</source>
        <translation>Laser wavelength</translation>
    </message>
    <message>
        <source>Messpunkt Nr.</source>
        <translation>Measuring point no.</translation>
    </message>
    <message>
        <source>Probe</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>Probennummer</source>
        <translation>Sample number</translation>
    </message>
    <message>
        <source>Sammlung</source>
        <translation>Collection</translation>
    </message>
    <message>
        <source>Sensor-Temperatur</source>
        <translation>Sensor temperature</translation>
    </message>
    <message>
        <source>Spaltbreite</source>
        <translation>Slit width</translation>
    </message>
    <message>
        <source>Bericht erstellt am</source>
        <translation>Report written on</translation>
    </message>
    <message>
        <source>Kennung der Analyse</source>
        <translation>Analysis ID</translation>
    </message>
    <message>
        <source>Programmversion</source>
        <translation>Program version</translation>
    </message>
</context>
<context>
    <name>ResultPanel</name>
    <message>
        <source>Vor %1 gestellt, obwohl knapp schlechter bewertet: die Banden, in denen sich die Referenzen beider Minerale unterscheiden, sprechen für %2.</source>
        <translation>Put before %1 although scored slightly lower: the bands in which the references of the two minerals differ favour %2.</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Keine Referenzbibliothek eingerichtet.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Ohne Bibliothek lässt sich das Spektrum nicht identifizieren. Richten Sie eigene Bibliotheksordner ein oder laden Sie öffentliche Sammlungen herunter.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;No reference library is set up.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Without a library the spectrum cannot be identified. Set up library folders of your own or download public collections.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Bibliotheken verwalten ...</source>
        <translation>Manage libraries ...</translation>
    </message>
    <message>
        <source>Dieses Spektrum analysieren</source>
        <translation>Analyse this spectrum</translation>
    </message>
    <message>
        <source>RRUFF-Seite im Browser anzeigen</source>
        <translation>Show RRUFF page in the browser</translation>
    </message>
    <message>
        <source>Mindat-Seite im Browser anzeigen</source>
        <translation>Show Mindat page in the browser</translation>
    </message>
    <message>
        <source>Mineralienatlas-Seite im Browser anzeigen</source>
        <translation>Show Mineralienatlas page in the browser</translation>
    </message>
    <message>
        <source>Erkennungs-Bild anzeigen</source>
        <translation>Show identification picture</translation>
    </message>
    <message>
        <source>Erkennungs-Bild hinzufügen für %1</source>
        <translation>Add identification picture for %1</translation>
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
    <name>SaveDataDisplayWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Metadaten bearbeiten ...</source>
        <translation>Edit metadata ...</translation>
    </message>
    <message>
        <source>Neu analysieren ...</source>
        <translation>Analyse again ...</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Keine Vorschau verfügbar</source>
        <translation>No preview available</translation>
    </message>
    <message>
        <source>Als aktiv setzen</source>
        <translation>Set as active</translation>
    </message>
    <message>
        <source>Messung löschen</source>
        <translation>Delete measurement</translation>
    </message>
    <message>
        <source>Daten analysieren ...</source>
        <translation>Analyse data ...</translation>
    </message>
    <message>
        <source>Ordner im Datei-Browser anzeigen ...</source>
        <translation>Show folder in file browser ...</translation>
    </message>
    <message>
        <source>Für Bibliothek exportieren ...</source>
        <translation>Export for library ...</translation>
    </message>
    <message>
        <source>Bericht erzeugen ...</source>
        <translation>Generate report ...</translation>
    </message>
    <message>
        <source>Der Messpunkt und alle enthaltenen Daten gehen verloren. Fortfahren?</source>
        <translation>The measuring point and all its data will be lost. Continue?</translation>
    </message>
    <message>
        <source>Ergebnis nicht gespeichert</source>
        <translation>Result not stored</translation>
    </message>
    <message>
        <source>Der analysierte Messpunkt ist nicht mehr geladen: er wurde gelöscht, oder eine andere Messung wurde geöffnet. Das Ergebnis bleibt in diesem Fenster, bis Sie es schließen.</source>
        <translation>The analysed measuring point is no longer loaded: it was deleted, or another measurement was opened. The result stays in this window until you close it.</translation>
    </message>
    <message>
        <source>Messpunkt auswählen</source>
        <translation>Select measuring point</translation>
    </message>
    <message>
        <source>Bitte wählen Sie zuerst einen Messpunkt aus.</source>
        <translation>Please select a measuring point first.</translation>
    </message>
    <message>
        <source>Änderungen speichern?</source>
        <translation>Save changes?</translation>
    </message>
    <message>
        <source>Die ausgewählten Speicherdaten wurden geändert. Möchten Sie die Änderungen speichern?</source>
        <translation>The selected save data were changed. Do you want to save the changes?</translation>
    </message>
    <message>
        <source>Fehler beim Speichern</source>
        <translation>Error while saving</translation>
    </message>
    <message>
        <source>Die Änderungen konnten nicht gespeichert werden; die Messung ist unverändert.

%1</source>
        <translation>The changes could not be saved; the measurement is unchanged.

%1</translation>
    </message>
    <message>
        <source>Daten löschen</source>
        <translation>Delete data</translation>
    </message>
    <message>
        <source>&lt;p&gt;Alle Daten in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;wirklich löschen?&lt;/p&gt;</source>
        <translation>&lt;p&gt;Really delete all data in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;?&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Auf der Festplatte geändert</source>
        <translation>Changed on disk</translation>
    </message>
    <message>
        <source>&lt;p&gt;Die Messung in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;wurde seit dem Laden außerhalb dieses Fensters geändert. Mit Ihren Änderungen überschreiben?&lt;/p&gt;&lt;p&gt;„Neu laden“ verwirft Ihre Änderungen und zeigt die andere Fassung.&lt;/p&gt;</source>
        <translation>&lt;p&gt;The measurement in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;was changed outside this window since it was loaded. Overwrite it with your changes?&lt;/p&gt;&lt;p&gt;“Reload” discards your changes and shows the other version.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Überschreiben</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>Neu laden</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>Keine Änderungen, nichts gespeichert.</source>
        <translation>No changes, nothing saved.</translation>
    </message>
    <message>
        <source>Gespeichert: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>Backup-Kopie</source>
        <translation>Backup copy</translation>
    </message>
    <message>
        <source>&lt;p&gt;Die Messung in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;ist eine Backup-Kopie und wird nicht überschrieben.&lt;/p&gt;</source>
        <translation>&lt;p&gt;The measurement in&lt;/p&gt;&lt;p&gt;&lt;tt&gt;%1&lt;/tt&gt;&lt;/p&gt;&lt;p&gt;is a backup copy and is not overwritten.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>SaveDataModel</name>
    <message>
        <source>Foto der Probe (mit Laser)</source>
        <translation>Photo of the sample (with laser)</translation>
    </message>
    <message>
        <source>Spektrum (Graph)</source>
        <translation>Spectrum (graph)</translation>
    </message>
    <message>
        <source>Spektrum (Rohdaten)</source>
        <translation>Spectrum (raw data)</translation>
    </message>
    <message>
        <source>Spektrum (Prozessierte Daten)</source>
        <translation>Spectrum (processed data)</translation>
    </message>
    <message>
        <source>Spektrum (Graph Rohdaten)</source>
        <translation>Spectrum (raw data graph)</translation>
    </message>
    <message>
        <source>Spektrum (CCD-Rohbild)</source>
        <translation>Spectrum (CCD raw image)</translation>
    </message>
    <message>
        <source>Bibliotheks-Suchergebnis</source>
        <translation>Library search result</translation>
    </message>
    <message>
        <source>Bibliotheks-Suchergebnis (Tabelle)</source>
        <translation>Library search result (table)</translation>
    </message>
    <message>
        <source>Spektrum Aufnahmedaten</source>
        <translation>Spectrum recording data</translation>
    </message>
    <message>
        <source>nicht identifiziert</source>
        <translation>not identified</translation>
    </message>
    <message>
        <source>Messpunkt Nr. %1 (%2)</source>
        <translation>Measuring point no. %1 (%2)</translation>
    </message>
    <message>
        <source>Belichtungszeit</source>
        <translation>Exposure time</translation>
    </message>
    <message>
        <source>Neutralfilter</source>
        <translation>Neutral density filter</translation>
    </message>
    <message>
        <source>Objektiv</source>
        <translation>Objective</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Temperatur Kamera</source>
        <translation>Camera temperature</translation>
    </message>
    <message>
        <source>Automatisch identifiziert</source>
        <translation>Identified automatically</translation>
    </message>
    <message>
        <source>Match-Qualität</source>
        <translation>Match quality</translation>
    </message>
    <message>
        <source>Manuell ausgewählt</source>
        <translation>Selected manually</translation>
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
        <source>Besitzer</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>Fundort</source>
        <translation>Locality</translation>
    </message>
    <message>
        <source>Fundjahr</source>
        <translation>Year found</translation>
    </message>
    <message>
        <source>Funddatum</source>
        <translation>Date found</translation>
    </message>
    <message>
        <source>8 oder früher</source>
        <translation>8 or earlier</translation>
    </message>
    <message>
        <source>ID-Nummer</source>
        <translation>ID number</translation>
    </message>
    <message>
        <source>Daten aufgenommen</source>
        <translation>Data recorded</translation>
    </message>
    <message>
        <source>Daten bearbeitet</source>
        <translation>Data edited</translation>
    </message>
    <message>
        <source>Daten-Version</source>
        <translation>Data version</translation>
    </message>
    <message>
        <source>%1 (erstellt: %2)</source>
        <translation>%1 (created: %2)</translation>
    </message>
    <message>
        <source>Messpunkt Nr. %1 (%2) - Dateien fehlen</source>
        <translation>Measuring point no. %1 (%2) - files missing</translation>
    </message>
    <message>
        <source>sicher</source>
        <translation>confident</translation>
    </message>
    <message>
        <source>wahrscheinlich</source>
        <translation>likely</translation>
    </message>
    <message>
        <source>unsicher</source>
        <translation>uncertain</translation>
    </message>
    <message>
        <source>Sicherheit</source>
        <translation>Confidence</translation>
    </message>
    <message>
        <source>Gruppe</source>
        <translation>Group</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Speicherpfad:</source>
        <translation>Save path:</translation>
    </message>
    <message>
        <source>Hier speichert das Messprogramm neue Messungen; die Liste zeigt diesen Ordner beim ersten Start.</source>
        <translation>The measuring program saves new measurements here; the list shows this folder at the first start.</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Backup-Ordner:</source>
        <translation>Backup folder:</translation>
    </message>
    <message>
        <source>Hierhin verschiebt das Speichern die vorige Fassung einer Messung.</source>
        <translation>Saving moves the previous version of a measurement here.</translation>
    </message>
    <message>
        <source>TeX-Compiler (pdflatex):</source>
        <translation>TeX compiler (pdflatex):</translation>
    </message>
    <message>
        <source>ohne: keine Berichte</source>
        <translation>none: no reports</translation>
    </message>
    <message>
        <source>Sprache:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Referenzbibliotheken:</source>
        <translation>Reference libraries:</translation>
    </message>
    <message>
        <source>Bibliotheken verwalten ...</source>
        <translation>Manage libraries ...</translation>
    </message>
    <message>
        <source>Sprache des Systems</source>
        <translation>Language of the system</translation>
    </message>
    <message>
        <source>TeX-Compiler auswählen</source>
        <translation>Choose the TeX compiler</translation>
    </message>
    <message>
        <source>Ordner auswählen</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>Einstellungen nicht übernommen</source>
        <translation>Settings not applied</translation>
    </message>
    <message>
        <source>Diese Einstellungen lassen sich nicht verwenden:

%1</source>
        <translation>These settings cannot be used:

%1</translation>
    </message>
</context>
<context>
    <name>SpectrumAnalysisWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Z&amp;uschneiden</source>
        <translation>C&amp;ut</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source> 1/cm</source>
        <translation> 1/cm</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>End</translation>
    </message>
    <message>
        <source>&amp;Glättungsfilter</source>
        <translation>Smoothin&amp;g filter</translation>
    </message>
    <message>
        <source>Breite</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>&lt;p&gt;Anzahl der gemittelten Punkte&lt;/p&gt;</source>
        <translation>&lt;p&gt;Number of averaged points&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Ordnung</source>
        <translation>Order</translation>
    </message>
    <message>
        <source>&lt;p&gt;Polynom-Ordnung. Vorsichtig verwenden, im Zweifel erhöhen Sie zuerst die Breite.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Polynomial order. Use with care; when in doubt, increase the width first.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Un&amp;tergrund entfernen</source>
        <translation>Remove backgroun&amp;d</translation>
    </message>
    <message>
        <source>Methode</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>Goldindec</source>
        <translation>Goldindec</translation>
    </message>
    <message>
        <source>Splines</source>
        <translation>Splines</translation>
    </message>
    <message>
        <source>Manuell mit Splines</source>
        <translation>Manual with splines</translation>
    </message>
    <message>
        <source>Separat anzeigen</source>
        <translation>Show separately</translation>
    </message>
    <message>
        <source>Aktiviert</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>&lt;i&gt;Keine Optionen verfügbar.&lt;/i&gt;</source>
        <translation>&lt;i&gt;No options available.&lt;/i&gt;</translation>
    </message>
    <message>
        <source>Dynamisch</source>
        <translation>Dynamic</translation>
    </message>
    <message>
        <source>&lt;p&gt;Erlaubt dem Spline-Algorithmus, seine Stützpunkte zu verschieben, damit das Ergebnis nach Abzug des Untergrunds positiv bleibt.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Lets the spline algorithm move its support points so that the result stays positive after the background is removed.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Kontrollpunkte</source>
        <translation>Control points</translation>
    </message>
    <message>
        <source>Bearbeiten</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Aktiviert (Strg+E)</source>
        <translation>Enabled (Ctrl+E)</translation>
    </message>
    <message>
        <source>Zurücksetzen</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Identifi&amp;zieren</source>
        <translation>Identif&amp;y</translation>
    </message>
    <message>
        <source>Siehe Panel auf der rechten Seite.</source>
        <translation>See the panel on the right.</translation>
    </message>
    <message>
        <source>Endergebnis</source>
        <translation>Final result</translation>
    </message>
    <message>
        <source>automatischer Vorschlag</source>
        <translation>automatic suggestion</translation>
    </message>
    <message>
        <source>manuelle Selektion</source>
        <translation>manual selection</translation>
    </message>
    <message>
        <source>individuelle Bezeichnung</source>
        <translation>custom name</translation>
    </message>
    <message>
        <source>nicht identifiziert</source>
        <translation>not identified</translation>
    </message>
    <message>
        <source>Bezeichnung für das Material</source>
        <translation>Name of the material</translation>
    </message>
    <message>
        <source>Ergebnisse speichern</source>
        <translation>Save results</translation>
    </message>
    <message>
        <source>Exportieren</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Spektrum</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>Speichert das dargestellte Ergebnis für die aktuelle Messung (Ctrl+S)</source>
        <translation>Saves the shown result for the current measurement (Ctrl+S)</translation>
    </message>
    <message>
        <source>Ergebnis speichern</source>
        <translation>Save result</translation>
    </message>
    <message>
        <source>Suchoptionen</source>
        <translation>Search options</translation>
    </message>
    <message>
        <source>Peak-Erkennung</source>
        <translation>Peak detection</translation>
    </message>
    <message>
        <source>Korrelation</source>
        <translation>Correlation</translation>
    </message>
    <message>
        <source>Manuelle Peak-Auswahl</source>
        <translation>Manual peak selection</translation>
    </message>
    <message>
        <source>Zeige Linien</source>
        <translation>Show lines</translation>
    </message>
    <message>
        <source>Empfindlichkeit</source>
        <translation>Sensitivity</translation>
    </message>
    <message>
        <source>Details ...</source>
        <translation>Details ...</translation>
    </message>
    <message>
        <source>Nur dargestellter Bereich</source>
        <translation>Shown range only</translation>
    </message>
    <message>
        <source>Auf Peaks einrasten:</source>
        <translation>Snap to peaks:</translation>
    </message>
    <message>
        <source>Andere ignorieren:</source>
        <translation>Ignore others:</translation>
    </message>
    <message>
        <source>&lt;p&gt;Linien der Referenzspektren, die Sie nicht ausgewählt haben, werden bei der Suche nicht berücksichtigt.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Lines of the reference spectra that you have not selected are left out of the search.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Linien:</source>
        <translation>Lines:</translation>
    </message>
    <message>
        <source>Autom. Vorschlag</source>
        <translation>Autom. suggestion</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Löscht alle Linien aus dem Diagramm. Rechtsklick auf dem Diagramm löscht einzelne Linien.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Removes all lines from the plot. A right click on the plot removes single lines.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Alle löschen</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>Empfindlichkeit:</source>
        <translation>Sensitivity:</translation>
    </message>
    <message>
        <source>Filter (Ctrl+F: Suchen, Ctrl+G: Ergebnis)</source>
        <translation>Filter (Ctrl+F: search, Ctrl+G: result)</translation>
    </message>
    <message>
        <source>Mineralname</source>
        <translation>Mineral name</translation>
    </message>
    <message>
        <source>Elemente (Na) oder Gruppen (:H2O), Komma-getrennt</source>
        <translation>Elements (Na) or groups (:H2O), comma-separated</translation>
    </message>
    <message>
        <source>Darstellung</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>Anzahl Einträge:</source>
        <translation>Number of entries:</translation>
    </message>
    <message>
        <source>Zeige Probenspektrum</source>
        <translation>Show sample spectrum</translation>
    </message>
    <message>
        <source>Prozessierte Daten</source>
        <translation>Processed data</translation>
    </message>
    <message>
        <source>Rohdaten</source>
        <translation>Raw data</translation>
    </message>
    <message>
        <source>Referenz</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Peakliste</source>
        <translation>Peak list</translation>
    </message>
    <message>
        <source>Spektrum für Bibliothek</source>
        <translation>Spectrum for library</translation>
    </message>
    <message>
        <source>Exportiert das analysierte Spektrum zur Verwendung in einer eigenen Bibliothek</source>
        <translation>Exports the analysed spectrum for use in a library of your own</translation>
    </message>
    <message>
        <source>Zoom zurücksetzen</source>
        <translation>Reset zoom</translation>
    </message>
    <message>
        <source>Y-Achse automatisch</source>
        <translation>Automatic y axis</translation>
    </message>
    <message>
        <source>Auswahl aufheben</source>
        <translation>Clear selection</translation>
    </message>
    <message>
        <source>Zwei-Mineralien-Suche ...</source>
        <translation>Two-mineral search ...</translation>
    </message>
    <message>
        <source>Linienhäufigkeiten anzeigen</source>
        <translation>Show line frequencies</translation>
    </message>
    <message>
        <source>nicht identifizierbar</source>
        <translation>not identifiable</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Ctrl+Alt+S</source>
        <translation>Ctrl+Alt+S</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Mineral-Suche</source>
        <translation>Mineral search</translation>
    </message>
    <message>
        <source>&lt;p&gt;Vergleicht die Form des ganzen Spektrums und die Lage der Peaks mit jedem Referenzspektrum und listet jedes Mineral einmal, mit seinem besten Spektrum. Die Spalte „Sicherheit“ sagt, wie weit das beste Mineral vor dem nächsten liegt, die Spalte „Gruppe“ dasselbe für seine Strukturgruppe, wenn die Spektren deren Minerale nicht trennen. Der Tooltip nennt die Regel.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Compares the shape of the whole spectrum and the positions of its peaks with every reference spectrum and lists every mineral once, with its best spectrum. The column “Confidence” tells how far the best mineral leads the next one, the column “Group” the same for its structural group, whose minerals the spectra may not separate. The tool tip states the rule.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Gemisch-Anpassung ...</source>
        <translation>Mixture fit ...</translation>
    </message>
    <message>
        <source>Passt das Spektrum als Summe von zwei oder drei Referenzspektren und einem glatten Untergrund an</source>
        <translation>Fits the spectrum as the sum of two or three reference spectra and a smooth background</translation>
    </message>
    <message>
        <source>Elemente: Na, :H2O</source>
        <translation>Elements: Na, :H2O</translation>
    </message>
</context>
<context>
    <name>SpectrumAnalysisWindow</name>
    <message>
        <source>Extras ...</source>
        <translation>Extras ...</translation>
    </message>
</context>
<context>
    <name>SpectrumImport</name>
    <message>
        <source>die Prüfsumme in Zeile %1 stimmt nicht (%2 statt %3)</source>
        <translation>the check value in line %1 is wrong (%2 instead of %3)</translation>
    </message>
    <message>
        <source>mehr als %1 Datenpunkte</source>
        <translation>more than %1 data points</translation>
    </message>
    <message>
        <source>die Datei ist abgeschnitten</source>
        <translation>the file is truncated</translation>
    </message>
    <message>
        <source>unsinnige Punktzahl %1</source>
        <translation>absurd number of points %1</translation>
    </message>
    <message>
        <source>die Datenform %1 wird nicht unterstützt</source>
        <translation>the data form %1 is not supported</translation>
    </message>
    <message>
        <source>%1 Datenpunkte statt der angegebenen %2</source>
        <translation>%1 data points instead of the declared %2</translation>
    </message>
    <message>
        <source>der Abstand der x-Werte fehlt</source>
        <translation>the spacing of the x values is missing</translation>
    </message>
    <message>
        <source>das alte SPC-Format (vor 1996) wird nicht unterstützt</source>
        <translation>the old SPC format (before 1996) is not supported</translation>
    </message>
    <message>
        <source>die Datei enthält %1 Spektren, nur das erste wurde gelesen</source>
        <translation>the file holds %1 spectra, only the first was read</translation>
    </message>
    <message>
        <source>die x-Achse ist in einer Einheit, die keine Spektralachse ist (%1)</source>
        <translation>the x axis is in a unit that is no spectral axis (%1)</translation>
    </message>
    <message>
        <source>die x-Achse ist in %1, aber die Laserwellenlänge ist unbekannt</source>
        <translation>the x axis is in %1, but the laser wavelength is unknown</translation>
    </message>
    <message>
        <source>ungleich viele x- und y-Werte</source>
        <translation>unequal numbers of x and y values</translation>
    </message>
    <message>
        <source>keine Datenpunkte</source>
        <translation>no data points</translation>
    </message>
    <message>
        <source>ungültiger Wert (NaN oder unendlich) bei Punkt %1</source>
        <translation>invalid value (NaN or infinite) at point %1</translation>
    </message>
    <message>
        <source>die x-Werte steigen nicht durchgehend</source>
        <translation>the x values do not rise throughout</translation>
    </message>
    <message>
        <source>unbekanntes Dateiformat</source>
        <translation>unknown file format</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>die Datei lässt sich nicht öffnen</source>
        <translation>the file cannot be opened</translation>
    </message>
    <message>
        <source>die Datei ist zu groß für ein Spektrum</source>
        <translation>the file is too large for a spectrum</translation>
    </message>
    <message>
        <source>die Datei lässt sich nicht ganz lesen</source>
        <translation>the file cannot be read completely</translation>
    </message>
    <message>
        <source>Zeile %1 ist nicht lesbar</source>
        <translation>line %1 cannot be read</translation>
    </message>
    <message>
        <source>%1 weitere Spalten nicht gelesen</source>
        <translation>%1 further columns not read</translation>
    </message>
    <message>
        <source>Spektren (*.jdx *.dx *.jcm *.spc *.txt *.csv *.tsv *.dat);;Alle Dateien (*)</source>
        <translation>Spectra (*.jdx *.dx *.jcm *.spc *.txt *.csv *.tsv *.dat);;All files (*)</translation>
    </message>
    <message>
        <source>die letzte Zeile ist keine gültige Prüfsumme; alle Datenpunkte wurden gelesen</source>
        <translation>the last line is no valid check value; all data points were read</translation>
    </message>
</context>
</TS>
