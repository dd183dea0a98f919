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
    <message>
        <source>Klicken Sie &quot;Ok&quot;, um das Dokument zu generieren.</source>
        <translation>Click &quot;Ok&quot; to generate the document.</translation>
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
</TS>
