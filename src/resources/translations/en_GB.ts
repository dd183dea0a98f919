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
    <name>CorrelationParametersDialog</name>
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
</TS>
