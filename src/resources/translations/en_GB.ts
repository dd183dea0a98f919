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
</TS>
