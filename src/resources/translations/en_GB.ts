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
</TS>
