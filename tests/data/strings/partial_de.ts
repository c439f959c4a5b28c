<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="343">
        <source>&amp;File</source>
        <translation>&amp;Datei (Teil)</translation>
    </message>
    <message id="381">
        <source>CPS needs vbscript engine to start. Please install vbscript engine before re-starting the %s.</source>
        <translation>%s braucht %s und %d: zu viele Platzhalter.</translation>
    </message>
    <message id="344">
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="901">
        <source>Customer Handout</source>
        <translation>Kunden/Info: Blatt</translation>
    </message>
</context>
</TS>
