<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="128">
        <source>Vesk CPS</source>
        <extracomment>Main window title. Product name, normally left unchanged.</extracomment>
        <translation>Vesk CPS</translation>
    </message>
    <message id="129">
        <source>
Profile
VeskCPSProfile
Vesk Kel CPS Files (*.vk4)
.vk4
VeskKelCPS.Profile
VeskKelCPS.Profile</source>
        <extracomment>Document type description, one field per line: window title (empty), document name, name for new documents, file filter text, file extension, type id, type name. Keep the line breaks, the extension and the last two lines unchanged.</extracomment>
        <translation>
Profil
VeskCPSProfile
Vesk Kel CPS-Dateien (*.vk4)
.vk4
VeskKelCPS.Profile
VeskKelCPS.Profile</translation>
    </message>
    <message id="130">
        <source>Fatal registry Error, the application will be closed!</source>
        <translation>Schwerwiegender Fehler in der Registrierung, die Anwendung wird geschlossen!</translation>
    </message>
    <message id="131">
        <source>Unknown Error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message id="132">
        <source>Programming error: 107.</source>
        <translation>Programmierfehler: 107.</translation>
    </message>
    <message id="133">
        <source>Programming error: 108.</source>
        <translation>Programmierfehler: 108.</translation>
    </message>
    <message id="134">
        <source>Fatal error: 102.
Please uninstall and re-install CPS.</source>
        <translation>Schwerwiegender Fehler: 102.
Bitte deinstallieren Sie die CPS und installieren Sie sie erneut.</translation>
    </message>
    <message id="135">
        <source>Invalid profile.</source>
        <translation>Ungültiges Profil.</translation>
    </message>
    <message id="136">
        <source>Failed to load profile.</source>
        <translation>Das Profil konnte nicht geladen werden.</translation>
    </message>
    <message id="137">
        <source>Fatal error: 101.</source>
        <translation>Schwerwiegender Fehler: 101.</translation>
    </message>
    <message id="140">
        <source>&amp;OK</source>
        <extracomment>Dialog button.</extracomment>
        <translation>&amp;OK</translation>
    </message>
    <message id="141">
        <source>&amp;Cancel</source>
        <extracomment>Dialog button.</extracomment>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message id="142">
        <source>Error: Set control color.</source>
        <translation>Fehler: Steuerelementfarbe konnte nicht gesetzt werden.</translation>
    </message>
    <message id="143">
        <source>Error: Set background color.</source>
        <translation>Fehler: Hintergrundfarbe konnte nicht gesetzt werden.</translation>
    </message>
    <message id="144">
        <source>Error: Set view size.</source>
        <translation>Fehler: Ansichtsgröße konnte nicht gesetzt werden.</translation>
    </message>
    <message id="145">
        <source>Error: Convert coordinate.</source>
        <translation>Fehler: Koordinaten konnten nicht umgerechnet werden.</translation>
    </message>
    <message id="146">
        <source>Error: Can not find help file information in registry!</source>
        <translation>Fehler: In der Registrierung wurden keine Angaben zur Hilfedatei gefunden!</translation>
    </message>
    <message id="147">
        <source>Error: Help File format is invalid!</source>
        <translation>Fehler: Das Format der Hilfedatei ist ungültig!</translation>
    </message>
    <message id="148">
        <source>Error: Can not find the help file!</source>
        <translation>Fehler: Die Hilfedatei wurde nicht gefunden!</translation>
    </message>
    <message id="149">
        <source>OLE initialization failed. Make sure that the OLE libraries are the correct version.</source>
        <translation>Die OLE-Initialisierung ist fehlgeschlagen. Stellen Sie sicher, dass die richtige Version der OLE-Bibliotheken installiert ist.</translation>
    </message>
    <message id="167">
        <source>General Settings</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message id="168">
        <source>Buttons</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation>Tasten</translation>
    </message>
    <message id="169">
        <source>Channels</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation>Kanäle</translation>
    </message>
    <message id="171">
        <source>Scan List</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation>Scanliste</translation>
    </message>
    <message id="172">
        <source>Audio Settings</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation>Audioeinstellungen</translation>
    </message>
    <message id="180">
        <source>Recent &amp;Files</source>
        <extracomment>File menu: list of recently opened profiles.</extracomment>
        <translation>&amp;Zuletzt geöffnete Dateien</translation>
    </message>
    <message id="184">
        <source>Scan List</source>
        <extracomment>Page title.</extracomment>
        <translation>Scanliste</translation>
    </message>
    <message id="185">
        <source>&amp;Add&gt;&gt;</source>
        <extracomment>Button that moves channels into the scan list.</extracomment>
        <translation>&amp;Hinzufügen &gt;&gt;</translation>
    </message>
    <message id="186">
        <source>&lt;&lt;Re&amp;move</source>
        <extracomment>Button that moves channels out of the scan list.</extracomment>
        <translation>&lt;&lt; &amp;Entfernen</translation>
    </message>
    <message id="187">
        <source>Available Channels</source>
        <translation>Verfügbare Kanäle</translation>
    </message>
    <message id="188">
        <source>Scan List Members</source>
        <translation>Mitglieder der Scanliste</translation>
    </message>
    <message id="189">
        <source>12.5</source>
        <extracomment>Bandwidth in kHz. Keep the point: it is replaced by the decimal separator of the language.</extracomment>
        <translation>12.5</translation>
    </message>
    <message id="190">
        <source>25</source>
        <extracomment>Bandwidth in kHz.</extracomment>
        <translation>25</translation>
    </message>
    <message id="191">
        <source>Low</source>
        <extracomment>Power level.</extracomment>
        <translation>Niedrig</translation>
    </message>
    <message id="192">
        <source>High</source>
        <extracomment>Power level.</extracomment>
        <translation>Hoch</translation>
    </message>
    <message id="193">
        <source>OFF</source>
        <extracomment>Scramble switched off.</extracomment>
        <translation>AUS</translation>
    </message>
    <message id="194">
        <source>Scramble Code 1</source>
        <translation>Scrambler-Code 1</translation>
    </message>
    <message id="195">
        <source>Scramble Code 2</source>
        <translation>Scrambler-Code 2</translation>
    </message>
    <message id="196">
        <source>Scramble Code 3</source>
        <translation>Scrambler-Code 3</translation>
    </message>
    <message id="197">
        <source>Channels</source>
        <extracomment>Column heading of the scan list boxes.</extracomment>
        <translation>Kanäle</translation>
    </message>
    <message id="207">
        <source>Call Tone</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Rufton</translation>
    </message>
    <message id="212">
        <source>Please enter 4 numeric characters.</source>
        <translation>Bitte geben Sie 4 Ziffern ein.</translation>
    </message>
    <message id="213">
        <source>Do you want to reset all buttons with their defaults?</source>
        <translation>Möchten Sie alle Tasten auf ihre Standardbelegung zurücksetzen?</translation>
    </message>
    <message id="221">
        <source>Call Tone</source>
        <extracomment>Followed by a blank and the call tone number.</extracomment>
        <translation>Rufton</translation>
    </message>
    <message id="222">
        <source>Channel name can only contain: A-Z, 0-9, b, c, d, g, h, l, i, o, r, u, *, {, }, ?, &amp;, %, ., +, /, \, -, &apos;</source>
        <extracomment>The character list is what the radio can display; keep it exactly.</extracomment>
        <translation>Der Kanalname darf nur folgende Zeichen enthalten: A-Z, 0-9, b, c, d, g, h, l, i, o, r, u, *, {, }, ?, &amp;, %, ., +, /, \, -, &apos;</translation>
    </message>
    <message id="223">
        <source>Profile Loading Error.&#xd;
File: %s&#xd;
Desc: %s&#xd;
Line: %d, Pos: %d&#xd;
SRC: %s</source>
        <extracomment>Placeholders in order: file, error description, line, position in the line, text of that line.</extracomment>
        <translation>Fehler beim Laden des Profils.&#xd;
Datei: %s&#xd;
Beschreibung: %s&#xd;
Zeile: %d, Pos.: %d&#xd;
Quelle: %s</translation>
    </message>
    <message id="228">
        <source>The passwords you entered do not match.</source>
        <translation>Die eingegebenen Passwörter stimmen nicht überein.</translation>
    </message>
    <message id="229">
        <source>Channels</source>
        <extracomment>Page title.</extracomment>
        <translation>Kanäle</translation>
    </message>
    <message id="230">
        <source>Add Channel</source>
        <translation>Kanal hinzufügen</translation>
    </message>
    <message id="232">
        <source>Receive</source>
        <extracomment>Section heading; also combined as Receive/Transmit.</extracomment>
        <translation>Empfang</translation>
    </message>
    <message id="233">
        <source>Frequency (MHz)</source>
        <translation>Frequenz (MHz)</translation>
    </message>
    <message id="234">
        <source>Bandwidth (KHz)</source>
        <translation>Bandbreite (kHz)</translation>
    </message>
    <message id="235">
        <source>KT/VRC Code</source>
        <extracomment>KT: analog squelch tone; VRC: digital squelch code.</extracomment>
        <translation>KT/VRC-Code</translation>
    </message>
    <message id="236">
        <source>Transmit</source>
        <extracomment>Section heading; also combined as Receive/Transmit.</extracomment>
        <translation>Senden</translation>
    </message>
    <message id="237">
        <source>Scramble</source>
        <extracomment>Field label and button feature name.</extracomment>
        <translation>Scrambler</translation>
    </message>
    <message id="238">
        <source>Repeater</source>
        <translation>Relaisbetrieb</translation>
    </message>
    <message id="239">
        <source>Auto Scan</source>
        <translation>Automatischer Scan</translation>
    </message>
    <message id="241">
        <source>Repeater Power</source>
        <translation>Sendeleistung Relaisbetrieb</translation>
    </message>
    <message id="242">
        <source>RF Frequency</source>
        <extracomment>Page title.</extracomment>
        <translation>HF-Frequenz</translation>
    </message>
    <message id="243">
        <source>Frequency (MHz)</source>
        <translation>Frequenz (MHz)</translation>
    </message>
    <message id="244">
        <source>Bandwidth</source>
        <translation>Bandbreite</translation>
    </message>
    <message id="245">
        <source>Power Level</source>
        <translation>Leistungsstufe</translation>
    </message>
    <message id="246">
        <source>Add</source>
        <extracomment>Button.</extracomment>
        <translation>Hinzufügen</translation>
    </message>
    <message id="247">
        <source>Edit</source>
        <extracomment>Button.</extracomment>
        <translation>Bearbeiten</translation>
    </message>
    <message id="248">
        <source>Delete</source>
        <extracomment>Button.</extracomment>
        <translation>Löschen</translation>
    </message>
    <message id="249">
        <source>New</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Neu</translation>
    </message>
    <message id="250">
        <source>Open</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Öffnen</translation>
    </message>
    <message id="251">
        <source>Save</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Speichern</translation>
    </message>
    <message id="252">
        <source>Add</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Hinzufügen</translation>
    </message>
    <message id="253">
        <source>Delete</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Löschen</translation>
    </message>
    <message id="254">
        <source>Cut</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Ausschneiden</translation>
    </message>
    <message id="255">
        <source>Copy</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Kopieren</translation>
    </message>
    <message id="256">
        <source>Paste</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Einfügen</translation>
    </message>
    <message id="257">
        <source>Read</source>
        <extracomment>Toolbar button: read the radio.</extracomment>
        <translation>Lesen</translation>
    </message>
    <message id="258">
        <source>Write</source>
        <extracomment>Toolbar button: write the radio.</extracomment>
        <translation>Schreiben</translation>
    </message>
    <message id="259">
        <source>Report</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Bericht</translation>
    </message>
    <message id="260">
        <source>About</source>
        <extracomment>Toolbar button.</extracomment>
        <translation>Info</translation>
    </message>
    <message id="261">
        <source>Invalid Value.</source>
        <translation>Ungültiger Wert.</translation>
    </message>
    <message id="263">
        <source>Error: Load dealer information failed.</source>
        <translation>Fehler: Die Händlerinformationen konnten nicht geladen werden.</translation>
    </message>
    <message id="264">
        <source>Error: There is an error when acquiring language type.</source>
        <translation>Fehler: Beim Ermitteln der Sprache ist ein Fehler aufgetreten.</translation>
    </message>
    <message id="265">
        <source>Dealer Information</source>
        <extracomment>Dialog title.</extracomment>
        <translation>Händlerinformationen</translation>
    </message>
    <message id="266">
        <source>Dealer Information</source>
        <extracomment>Heading above a text field.</extracomment>
        <translation>Händlerinformationen</translation>
    </message>
    <message id="267">
        <source>Contact Information</source>
        <translation>Kontaktinformationen</translation>
    </message>
    <message id="268">
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message id="269">
        <source>Invalid frequency: This frequency is not supported by this radio.</source>
        <translation>Ungültige Frequenz: Diese Frequenz wird von diesem Funkgerät nicht unterstützt.</translation>
    </message>
    <message id="271">
        <source>Do you want to create a new profile (Yes), overwrite the currently selected profile (No) or cancel it?</source>
        <extracomment>Asked with Yes, No and Cancel buttons.</extracomment>
        <translation>Möchten Sie ein neues Profil erstellen (Ja), das aktuell ausgewählte Profil überschreiben (Nein) oder den Vorgang abbrechen?</translation>
    </message>
    <message id="272">
        <source>New Profile</source>
        <extracomment>Dialog title.</extracomment>
        <translation>Neues Profil</translation>
    </message>
    <message id="273">
        <source>Please choose profile model.</source>
        <translation>Bitte wählen Sie das Modell für das Profil aus.</translation>
    </message>
    <message id="274">
        <source>%s Customer Programming Software</source>
        <extracomment>%s is the radio family name (ZN420).</extracomment>
        <translation>%s Kunden-Programmiersoftware</translation>
    </message>
    <message id="275">
        <source>Version %s</source>
        <extracomment>%s is the product version.</extracomment>
        <translation>Version %s</translation>
    </message>
    <message id="279">
        <source>The password is not correct. Please check it!</source>
        <translation>Das Passwort ist nicht korrekt. Bitte überprüfen Sie es!</translation>
    </message>
    <message id="280">
        <source>Power up text can only contain: A-Z, 0-9, b, c, d, g, h, l, i, o, r, u, *, {, }, ?, &amp;, %, ., +, /, \, -, &apos;</source>
        <extracomment>The character list is what the radio can display; keep it exactly.</extracomment>
        <translation>Der Einschalttext darf nur folgende Zeichen enthalten: A-Z, 0-9, b, c, d, g, h, l, i, o, r, u, *, {, }, ?, &amp;, %, ., +, /, \, -, &apos;</translation>
    </message>
    <message id="281">
        <source>One feature can not be assigned to multiple buttons.</source>
        <translation>Eine Funktion kann nicht mehreren Tasten zugewiesen werden.</translation>
    </message>
    <message id="282">
        <source>The channel can not be selected!</source>
        <translation>Der Kanal kann nicht ausgewählt werden!</translation>
    </message>
    <message id="283">
        <source>RF Frequency</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation>HF-Frequenz</translation>
    </message>
    <message id="284">
        <source>Invalid Frequency.</source>
        <translation>Ungültige Frequenz.</translation>
    </message>
    <message id="285">
        <source>Invalid Bandwidth selection.</source>
        <translation>Ungültige Auswahl der Bandbreite.</translation>
    </message>
    <message id="286">
        <source>Invalid Power level selection.</source>
        <translation>Ungültige Auswahl der Leistungsstufe.</translation>
    </message>
    <message id="287">
        <source>The frequency you are adding already exists.</source>
        <translation>Die Frequenz, die Sie hinzufügen möchten, ist bereits vorhanden.</translation>
    </message>
    <message id="288">
        <source>Frequency (Frequencies) used by channel can not be deleted.</source>
        <translation>Frequenzen, die von einem Kanal verwendet werden, können nicht gelöscht werden.</translation>
    </message>
    <message id="289">
        <source>User selectable with %s KHz as default</source>
        <extracomment>%s is 12.5.</extracomment>
        <translation>Wählbar, Standard %s kHz</translation>
    </message>
    <message id="290">
        <source>User selectable with %s KHz as default</source>
        <extracomment>%s is 25.</extracomment>
        <translation>Wählbar, Standard %s kHz</translation>
    </message>
    <message id="291">
        <source>Save</source>
        <extracomment>Button while adding or editing a frequency.</extracomment>
        <translation>Speichern</translation>
    </message>
    <message id="292">
        <source>Cancel</source>
        <extracomment>Button while adding or editing a frequency.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message id="293">
        <source>Index</source>
        <extracomment>Column heading.</extracomment>
        <translation>Index</translation>
    </message>
    <message id="294">
        <source>User selectable with low power as default</source>
        <translation>Wählbar, Standard niedrige Leistung</translation>
    </message>
    <message id="295">
        <source>User selectable with high power as default</source>
        <translation>Wählbar, Standard hohe Leistung</translation>
    </message>
    <message id="296">
        <source>Error: Can not find template files!</source>
        <translation>Fehler: Es wurden keine Vorlagendateien gefunden!</translation>
    </message>
    <message id="297">
        <source>About</source>
        <extracomment>Dialog title, followed by a blank and the application name.</extracomment>
        <translation>Info über</translation>
    </message>
    <message id="298">
        <source>A similar name already exists in Channels personalities. Please specify a different name.</source>
        <translation>Ein gleichartiger Name ist bei den Kanälen bereits vorhanden. Bitte geben Sie einen anderen Namen an.</translation>
    </message>
    <message id="299">
        <source>Write</source>
        <extracomment>Progress dialog title.</extracomment>
        <translation>Schreiben</translation>
    </message>
    <message id="300">
        <source>Writing to the radio ...</source>
        <translation>Schreiben in das Funkgerät ...</translation>
    </message>
    <message id="301">
        <source>Reading from the radio ...</source>
        <translation>Lesen aus dem Funkgerät ...</translation>
    </message>
    <message id="302">
        <source>Read</source>
        <extracomment>Progress dialog title.</extracomment>
        <translation>Lesen</translation>
    </message>
    <message id="303">
        <source>Transferring...</source>
        <extracomment>Status bar.</extracomment>
        <translation>Übertragung läuft...</translation>
    </message>
    <message id="304">
        <source>Read Failed!</source>
        <translation>Lesen fehlgeschlagen!</translation>
    </message>
    <message id="305">
        <source>Write Failed!</source>
        <translation>Schreiben fehlgeschlagen!</translation>
    </message>
    <message id="309">
        <source>Error: Communication Error.</source>
        <translation>Fehler: Kommunikationsfehler.</translation>
    </message>
    <message id="310">
        <source>The CPS does not support this profile&apos;s region.</source>
        <translation>Die CPS unterstützt die Region dieses Profils nicht.</translation>
    </message>
    <message id="315">
        <source>Some files needed by CPS are not available.
Please reinstall CPS.</source>
        <translation>Einige von der CPS benötigte Dateien sind nicht vorhanden.
Bitte installieren Sie die CPS neu.</translation>
    </message>
    <message id="319">
        <source>When converting from high-tier radio to low-tier radio, some data may be lost. Do you want to continue?</source>
        <translation>Bei der Übernahme von einem Funkgerät höherer Ausstattung auf ein Funkgerät niedrigerer Ausstattung können Daten verloren gehen. Möchten Sie fortfahren?</translation>
    </message>
    <message id="321">
        <source>&amp;Language</source>
        <extracomment>Edit menu: submenu of user interface languages.</extracomment>
        <translation>&amp;Sprache</translation>
    </message>
    <message id="325">
        <source>The language resource file is missing. The CPS will start with English language version.</source>
        <translation>Die Sprachdatei fehlt. Die CPS wird in der englischen Sprachversion gestartet.</translation>
    </message>
    <message id="327">
        <source>Invalid Value.</source>
        <extracomment>Shown when the password is refused.</extracomment>
        <translation>Ungültiger Wert.</translation>
    </message>
    <message id="329">
        <source>Error: Operation Failed (%d).</source>
        <extracomment>%d is the error code.</extracomment>
        <translation>Fehler: Vorgang fehlgeschlagen (%d).</translation>
    </message>
    <message id="330">
        <source>You have to restart the CPS for this change to take effect.</source>
        <translation>Sie müssen die CPS neu starten, damit diese Änderung wirksam wird.</translation>
    </message>
    <message id="331">
        <source>Files</source>
        <extracomment>File dialog filter: the application name, a blank and this word.</extracomment>
        <translation>Dateien</translation>
    </message>
    <message id="332">
        <source>Read Successfully!</source>
        <translation>Erfolgreich gelesen!</translation>
    </message>
    <message id="333">
        <source>Write Successfully!</source>
        <translation>Erfolgreich geschrieben!</translation>
    </message>
    <message id="334">
        <source>USB Cable Connected</source>
        <extracomment>Status bar.</extracomment>
        <translation>USB-Kabel verbunden</translation>
    </message>
    <message id="335">
        <source>Unknown warning!</source>
        <translation>Unbekannte Warnung!</translation>
    </message>
    <message id="336">
        <source>USB Cable Not Connected</source>
        <extracomment>Status bar.</extracomment>
        <translation>USB-Kabel nicht verbunden</translation>
    </message>
    <message id="337">
        <source>All Files</source>
        <extracomment>File dialog filter.</extracomment>
        <translation>Alle Dateien</translation>
    </message>
    <message id="338">
        <source>The last valid channel can not be deleted.</source>
        <translation>Der letzte gültige Kanal kann nicht gelöscht werden.</translation>
    </message>
    <message id="342">
        <source>Codeplug version of CPS and profile are incompatible! Please update your CPS.</source>
        <translation>Die Codeplug-Versionen von CPS und Profil sind nicht kompatibel! Bitte aktualisieren Sie Ihre CPS.</translation>
    </message>
    <message id="343">
        <source>&amp;File</source>
        <extracomment>Menu title.</extracomment>
        <translation>&amp;Datei</translation>
    </message>
    <message id="344">
        <source>&amp;Edit</source>
        <extracomment>Menu title.</extracomment>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message id="345">
        <source>&amp;View</source>
        <extracomment>Menu title.</extracomment>
        <translation>&amp;Ansicht</translation>
    </message>
    <message id="346">
        <source>&amp;Device</source>
        <extracomment>Menu title: radio commands.</extracomment>
        <translation>&amp;Gerät</translation>
    </message>
    <message id="347">
        <source>&amp;Report</source>
        <extracomment>Menu title; the entry itself opens the report.</extracomment>
        <translation>Be&amp;richt</translation>
    </message>
    <message id="348">
        <source>&amp;Window</source>
        <extracomment>Menu title.</extracomment>
        <translation>&amp;Fenster</translation>
    </message>
    <message id="349">
        <source>&amp;Help</source>
        <extracomment>Menu title.</extracomment>
        <translation>&amp;Hilfe</translation>
    </message>
    <message id="350">
        <source>&amp;New	Ctrl+N</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Neu	Ctrl+N</translation>
    </message>
    <message id="351">
        <source>&amp;Open...	Ctrl+O</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>Ö&amp;ffnen...	Ctrl+O</translation>
    </message>
    <message id="352">
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message id="353">
        <source>&amp;Save	Ctrl+S</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Speichern	Ctrl+S</translation>
    </message>
    <message id="354">
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message id="355">
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message id="356">
        <source>&amp;Add	Ctrl+A</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Hinzufügen	Ctrl+A</translation>
    </message>
    <message id="357">
        <source>Cu&amp;t	Ctrl+X</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Ausschneiden	Ctrl+X</translation>
    </message>
    <message id="358">
        <source>&amp;Copy	Ctrl+C</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Kopieren	Ctrl+C</translation>
    </message>
    <message id="359">
        <source>&amp;Paste	Ctrl+V</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Einfügen	Ctrl+V</translation>
    </message>
    <message id="360">
        <source>&amp;Delete	Del</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Löschen	Del</translation>
    </message>
    <message id="361">
        <source>&amp;Rename	F2</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Umbenennen	F2</translation>
    </message>
    <message id="362">
        <source>Dealer &amp;Info...</source>
        <translation>Händler&amp;informationen...</translation>
    </message>
    <message id="363">
        <source>&amp;Toolbar</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message id="364">
        <source>&amp;Status Bar</source>
        <translation>S&amp;tatusleiste</translation>
    </message>
    <message id="365">
        <source>&amp;Read	Ctrl+R</source>
        <extracomment>Read the radio. The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Lesen	Ctrl+R</translation>
    </message>
    <message id="366">
        <source>&amp;Write	Ctrl+W</source>
        <extracomment>Write the radio. The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Schreiben	Ctrl+W</translation>
    </message>
    <message id="367">
        <source>R&amp;eset	Ctrl+E</source>
        <extracomment>Reset the radio. The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Zurücksetzen	Ctrl+E</translation>
    </message>
    <message id="368">
        <source>&amp;About</source>
        <extracomment>Help menu; followed by a blank, the application name and &quot;...&quot;.</extracomment>
        <translation>&amp;Info über</translation>
    </message>
    <message id="369">
        <source>&amp;Content and Index...	F1</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation>&amp;Inhalt und Index...	F1</translation>
    </message>
    <message id="370">
        <source>&amp;Cascade</source>
        <extracomment>Window menu.</extracomment>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message id="371">
        <source>&amp;Tile</source>
        <extracomment>Window menu.</extracomment>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message id="372">
        <source>COM initial failed.</source>
        <translation>Die COM-Initialisierung ist fehlgeschlagen.</translation>
    </message>
    <message id="373">
        <source>Failed to open registry!</source>
        <translation>Die Registrierung konnte nicht geöffnet werden!</translation>
    </message>
    <message id="374">
        <source>Failed to write registry!</source>
        <translation>In die Registrierung konnte nicht geschrieben werden!</translation>
    </message>
    <message id="375">
        <source>The dealer information in the registry is too long to fit the dialog, please check it!</source>
        <translation>Die Händlerinformationen in der Registrierung sind zu lang für das Dialogfeld. Bitte überprüfen Sie sie!</translation>
    </message>
    <message id="376">
        <source>Invalid serial number</source>
        <translation>Ungültige Seriennummer</translation>
    </message>
    <message id="378">
        <source>Do you want to delete the selected item(s)?</source>
        <translation>Möchten Sie die ausgewählten Einträge löschen?</translation>
    </message>
    <message id="381">
        <source>CPS needs vbscript engine to start. Please install vbscript engine before re-starting the %s.</source>
        <extracomment>%s is the application name.</extracomment>
        <translation>Die CPS benötigt zum Starten die VBScript-Engine. Bitte installieren Sie die VBScript-Engine, bevor Sie %s erneut starten.</translation>
    </message>
    <message id="385">
        <source>The frequency already exists!</source>
        <translation>Die Frequenz ist bereits vorhanden!</translation>
    </message>
    <message id="386">
        <source>%s KHz only</source>
        <extracomment>%s is 12.5.</extracomment>
        <translation>Nur %s kHz</translation>
    </message>
    <message id="387">
        <source>%s KHz only</source>
        <extracomment>%s is 25.</extracomment>
        <translation>Nur %s kHz</translation>
    </message>
    <message id="388">
        <source>Low power only</source>
        <translation>Nur niedrige Leistung</translation>
    </message>
    <message id="389">
        <source>High power only</source>
        <translation>Nur hohe Leistung</translation>
    </message>
    <message id="390">
        <source>Radio&apos;s memory is corrupted. Please perform factory reset to correct the error.</source>
        <translation>Der Speicher des Funkgeräts ist beschädigt. Bitte setzen Sie das Funkgerät auf die Werkseinstellungen zurück, um den Fehler zu beheben.</translation>
    </message>
    <message id="391">
        <source>Codeplug is corrupted</source>
        <translation>Der Codeplug ist beschädigt</translation>
    </message>
    <message id="393">
        <source>The MAPI is not installed, you need to install it to send an e-mail.</source>
        <translation>MAPI ist nicht installiert. Zum Senden einer E-Mail müssen Sie es installieren.</translation>
    </message>
    <message id="394">
        <source>Some personalities in Channels which use this frequency have been modified, do you want to continue with the changes?</source>
        <translation>Einige Kanäle, die diese Frequenz verwenden, wurden geändert. Möchten Sie mit den Änderungen fortfahren?</translation>
    </message>
    <message id="396">
        <source>The current profile is not compatible with the radio.</source>
        <translation>Das aktuelle Profil ist nicht mit dem Funkgerät kompatibel.</translation>
    </message>
    <message id="397">
        <source>There are %d USB connections. Please remove the unused one and keep one connection only.</source>
        <extracomment>%d is the number of programming cables found.</extracomment>
        <translation>Es sind %d USB-Verbindungen vorhanden. Bitte entfernen Sie die nicht benötigten und behalten Sie nur eine Verbindung.</translation>
    </message>
    <message id="398">
        <source>Talkaround Power</source>
        <extracomment>Talkaround: direct radio-to-radio operation without a repeater.</extracomment>
        <translation>Sendeleistung Direktbetrieb</translation>
    </message>
    <message id="399">
        <source>&amp;Help Pane</source>
        <extracomment>View menu.</extracomment>
        <translation>&amp;Hilfebereich</translation>
    </message>
    <message id="400">
        <source>In talkaround mode, Transmit will use Receive settings.</source>
        <translation>Im Direktbetrieb verwendet das Senden die Empfangseinstellungen.</translation>
    </message>
    <message id="401">
        <source>This channel is assigned to a Preset Channel button. Deleting this channel shall cause the value change of the Preset Channel button. Do you want to continue?</source>
        <translation>Dieser Kanal ist einer Festkanaltaste zugewiesen. Wenn Sie diesen Kanal löschen, ändert sich die Belegung der Festkanaltaste. Möchten Sie fortfahren?</translation>
    </message>
    <message id="402">
        <source>Codeplug version of CPS and radio are incompatible! Please update your CPS.</source>
        <translation>Die Codeplug-Versionen von CPS und Funkgerät sind nicht kompatibel! Bitte aktualisieren Sie Ihre CPS.</translation>
    </message>
    <message id="403">
        <source>The CPS does not support this radio&apos;s region.</source>
        <translation>Die CPS unterstützt die Region dieses Funkgeräts nicht.</translation>
    </message>
    <message id="409">
        <source>Warning</source>
        <extracomment>Shown before a radio warning, as &quot;Warning: text&quot;.</extracomment>
        <translation>Warnung</translation>
    </message>
    <message id="410">
        <source>Radio&apos;s memory is corrupted. Please return to manufacture for correction.</source>
        <translation>Der Speicher des Funkgeräts ist beschädigt. Bitte senden Sie das Funkgerät zur Reparatur an den Hersteller.</translation>
    </message>
    <message id="416">
        <source>Monitor</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Monitor</translation>
    </message>
    <message id="417">
        <source>Scan/Nuisance Channel Delete</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Scan/Störkanal löschen</translation>
    </message>
    <message id="419">
        <source>Tx Power Selection</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Sendeleistungswahl</translation>
    </message>
    <message id="420">
        <source>Failed to generate report.</source>
        <translation>Der Bericht konnte nicht erstellt werden.</translation>
    </message>
    <message id="421">
        <source>Repeater/Talkaround</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Relais-/Direktbetrieb</translation>
    </message>
    <message id="422">
        <source>No Operation</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Keine Funktion</translation>
    </message>
    <message id="423">
        <source>Backlight</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Hintergrundbeleuchtung</translation>
    </message>
    <message id="424">
        <source>Preset 1</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Festkanal 1</translation>
    </message>
    <message id="425">
        <source>Preset 2</source>
        <extracomment>Button feature name.</extracomment>
        <translation>Festkanal 2</translation>
    </message>
    <message id="429">
        <source>Name</source>
        <extracomment>Channel name.</extracomment>
        <translation>Name</translation>
    </message>
    <message id="435">
        <source>No KT/VRC code</source>
        <translation>Kein KT/VRC-Code</translation>
    </message>
    <message id="440">
        <source>The radio being programmed does not match the model in the current profile.</source>
        <translation>Das zu programmierende Funkgerät entspricht nicht dem Modell im aktuellen Profil.</translation>
    </message>
    <message id="447">
        <source>Transmit Power</source>
        <translation>Sendeleistung</translation>
    </message>
    <message id="462">
        <source>The CPS does not support this radio model.</source>
        <translation>Die CPS unterstützt dieses Funkgerätemodell nicht.</translation>
    </message>
    <message id="465">
        <source>ON</source>
        <extracomment>Compander setting.</extracomment>
        <translation>EIN</translation>
    </message>
    <message id="466">
        <source>OFF</source>
        <extracomment>Compander setting.</extracomment>
        <translation>AUS</translation>
    </message>
    <message id="470">
        <source>Customized KT</source>
        <extracomment>Navigation tree node and page title.</extracomment>
        <translation>KT benutzerdefiniert</translation>
    </message>
    <message id="471">
        <source>Customized KT</source>
        <extracomment>Squelch code list entry.</extracomment>
        <translation>KT benutzerdefiniert</translation>
    </message>
    <message id="478">
        <source>The KT Code you input is invalid. The valid range is: 67.0 - 255.0 Hz.</source>
        <translation>Der eingegebene KT-Code ist ungültig. Der gültige Bereich ist: 67,0 - 255,0 Hz.</translation>
    </message>
    <message id="479">
        <source>VRC</source>
        <extracomment>Digital squelch code abbreviation.</extracomment>
        <translation>VRC</translation>
    </message>
    <message id="480">
        <source>Inverted VRC</source>
        <translation>VRC invertiert</translation>
    </message>
    <message id="482">
        <source>Hz</source>
        <extracomment>Unit.</extracomment>
        <translation>Hz</translation>
    </message>
    <message id="483">
        <source>Some profile information is not supported by the host radio and therefore will not be transferred(KT/VRC Code). </source>
        <translation>Einige Profilinformationen werden vom angeschlossenen Funkgerät nicht unterstützt und daher nicht übertragen (KT/VRC-Code). </translation>
    </message>
    <message id="491">
        <source>Repeater station id can only contain letter and digits.</source>
        <translation>Die Relaisstationskennung darf nur Buchstaben und Ziffern enthalten.</translation>
    </message>
    <message id="492">
        <source>The tx hangtime is invalid. Its range is 0 - 50.</source>
        <translation>Die Sende-Haltezeit ist ungültig. Der gültige Bereich ist 0 - 50.</translation>
    </message>
    <message id="503">
        <source>Please use the &quot;%s&quot;.</source>
        <extracomment>%s is the name of the program for the profile&apos;s region.</extracomment>
        <translation>Bitte verwenden Sie die „%s“.</translation>
    </message>
    <message id="504">
        <source>Please use the &quot;%s&quot;.</source>
        <extracomment>%s is the name of the program for the radio&apos;s region.</extracomment>
        <translation>Bitte verwenden Sie die „%s“.</translation>
    </message>
    <message id="506">
        <source>The tx low battery is invalid. Its range is 0 - 255.</source>
        <translation>Die Sendezeit bei schwacher Batterie ist ungültig. Der gültige Bereich ist 0 - 255.</translation>
    </message>
    <message id="510">
        <source>Out of range</source>
        <extracomment>Frequency list entry.</extracomment>
        <translation>Außerhalb des Bereichs</translation>
    </message>
    <message id="511">
        <source>At least one channel frequency is out of the valid frequency range. Please correct it before programming. If there is no valid frequency to select, please edit the frequency table first.</source>
        <translation>Mindestens eine Kanalfrequenz liegt außerhalb des gültigen Frequenzbereichs. Bitte korrigieren Sie sie vor dem Programmieren. Wenn keine gültige Frequenz zur Auswahl steht, bearbeiten Sie bitte zuerst die Frequenztabelle.</translation>
    </message>
    <message id="514">
        <source>The transmit frequency index can not be same as the receive frequency index. The next available transmit frequency shall be selected.</source>
        <translation>Der Index der Sendefrequenz darf nicht mit dem Index der Empfangsfrequenz übereinstimmen. Die nächste verfügbare Sendefrequenz wird ausgewählt.</translation>
    </message>
    <message id="515">
        <source>High-power is only available in non-PMR446 markets</source>
        <translation>Hohe Sendeleistung ist nur außerhalb der PMR446-Märkte verfügbar</translation>
    </message>
    <message id="524">
        <source>Customized VRC</source>
        <extracomment>Navigation tree node and page title.</extracomment>
        <translation>VRC benutzerdefiniert</translation>
    </message>
    <message id="525">
        <source>Customized VRC</source>
        <extracomment>Squelch code list entry.</extracomment>
        <translation>VRC benutzerdefiniert</translation>
    </message>
    <message id="526">
        <source>The VRC Code you entered is invalid. The valid range is(OCT): 001 - 777.</source>
        <translation>Der eingegebene VRC-Code ist ungültig. Der gültige Bereich ist (oktal): 001 - 777.</translation>
    </message>
    <message id="528">
        <source>Disable Channel</source>
        <translation>Kanal deaktivieren</translation>
    </message>
    <message id="529">
        <source>Dynamic Talkaround Scan</source>
        <translation>Dynamischer Direktbetrieb-Scan</translation>
    </message>
    <message id="530">
        <source>The radio you are programing has a lower version codeplug, some new features can not be used after writing.</source>
        <translation>Das zu programmierende Funkgerät hat eine ältere Codeplug-Version. Einige neue Funktionen können nach dem Schreiben nicht verwendet werden.</translation>
    </message>
    <message id="533">
        <source>File format error. Failed to save.</source>
        <translation>Dateiformatfehler. Das Speichern ist fehlgeschlagen.</translation>
    </message>
    <message id="534">
        <source>This channel is assigned to a Preset Channel button. Disable this channel shall cause the value change of the Preset Channel button. Do you want to continue?</source>
        <translation>Dieser Kanal ist einer Festkanaltaste zugewiesen. Wenn Sie diesen Kanal deaktivieren, ändert sich die Belegung der Festkanaltaste. Möchten Sie fortfahren?</translation>
    </message>
    <message id="536">
        <source>25 KHz channel spacing is disabled to comply with the USA narrowband mandate. All frequencies and channels of this profile have been set to 12.5 KHz.</source>
        <translation>Der Kanalabstand von 25 kHz ist aufgrund der US-Schmalbandvorschrift gesperrt. Alle Frequenzen und Kanäle dieses Profils wurden auf 12,5 kHz gesetzt.</translation>
    </message>
    <message id="537">
        <source>Compander</source>
        <translation>Kompander</translation>
    </message>
    <message id="538">
        <source>The frequency count of this profile did not match its frequency table. It has been corrected to %d, the number of entries in the table.</source>
        <extracomment>Shown when a profile is opened whose recorded number of frequencies differs from its frequency table. %d is the number of entries in the table.</extracomment>
        <translation>Die Frequenzanzahl dieses Profils stimmte nicht mit seiner Frequenztabelle überein. Sie wurde auf %d korrigiert, die Zahl der Einträge der Tabelle.</translation>
    </message>
    <message id="600">
        <source>Verification failed: the radio&apos;s memory at %s differs from what was written. Please write again.</source>
        <extracomment>%s is the first differing memory address, in hexadecimal (0x1001F).</extracomment>
        <translation>Überprüfung fehlgeschlagen: Der Speicher des Funkgeräts weicht an Adresse %s vom Geschriebenen ab. Bitte schreiben Sie erneut.</translation>
    </message>
    <message id="601">
        <source>The radio&apos;s current contents could not be saved before writing: %s
Nothing has been written to the radio.</source>
        <extracomment>%s is the reason, as the system or the conversion gives it.</extracomment>
        <translation>Der aktuelle Inhalt des Funkgeräts konnte vor dem Schreiben nicht gesichert werden: %s
Es wurde nichts in das Funkgerät geschrieben.</translation>
    </message>
    <message id="610">
        <source>Save changes to %s?</source>
        <translation>Änderungen an %s speichern?</translation>
    </message>
    <message id="611">
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message id="612">
        <source>The radio&apos;s previous contents were saved to:
%s</source>
        <translation>Der bisherige Inhalt des Funkgeräts wurde gesichert in:
%s</translation>
    </message>
    <message id="613">
        <source>The radio was read back: it holds exactly what was written.</source>
        <translation>Das Funkgerät wurde zurückgelesen: Es enthält genau das Geschriebene.</translation>
    </message>
    <message id="620">
        <source>Please enter the password:</source>
        <extracomment>Label above the password field of the password dialog.</extracomment>
        <translation>Bitte geben Sie das Passwort ein:</translation>
    </message>
    <message id="621">
        <source>Copyright © 2026 Corvane. All rights reserved.</source>
        <extracomment>About box, first legal notice line.</extracomment>
        <translation>Copyright © 2026 Corvane. Alle Rechte vorbehalten.</translation>
    </message>
    <message id="622">
        <source>Program only radios that you are authorised to service.</source>
        <extracomment>About box, second legal notice line.</extracomment>
        <translation>Programmieren Sie nur Funkgeräte, die Sie warten dürfen.</translation>
    </message>
    <message id="623">
        <source>Operate every radio within its licence and the local regulations.</source>
        <extracomment>About box, third legal notice line.</extracomment>
        <translation>Betreiben Sie jedes Funkgerät gemäß seiner Lizenz und den örtlichen Vorschriften.</translation>
    </message>
    <message id="630">
        <source>&amp;Undo %s</source>
        <extracomment>Edit menu: undoes the last change of the profile. %s says what it changed (for example &quot;Rename channel 3&quot;).</extracomment>
        <translation>&amp;Rückgängig: %s</translation>
    </message>
    <message id="631">
        <source>&amp;Redo %s</source>
        <extracomment>Edit menu: makes an undone change again. %s says what it changed.</extracomment>
        <translation>&amp;Wiederholen: %s</translation>
    </message>
    <message id="632">
        <source>&amp;Undo</source>
        <extracomment>Edit menu, when there is no change to undo.</extracomment>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message id="633">
        <source>&amp;Redo</source>
        <extracomment>Edit menu, when there is no undone change to make again.</extracomment>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message id="634">
        <source>Change %s</source>
        <extracomment>Names an undo step that changed a value. %s is the entry and the setting, for example &quot;channel 3: rx_code&quot;; never the value.</extracomment>
        <translation>%s ändern</translation>
    </message>
    <message id="635">
        <source>Add %s</source>
        <extracomment>Names an undo step that added an entry. %s is the entry, for example &quot;channel 15&quot;.</extracomment>
        <translation>%s hinzufügen</translation>
    </message>
    <message id="636">
        <source>Delete %s</source>
        <extracomment>Names an undo step that deleted an entry. %s is the entry, for example &quot;frequency 4&quot;.</extracomment>
        <translation>%s löschen</translation>
    </message>
    <message id="637">
        <source>Rename %s</source>
        <extracomment>Names an undo step that renamed an entry. %s is the entry, for example &quot;channel 3&quot;.</extracomment>
        <translation>%s umbenennen</translation>
    </message>
    <message id="638">
        <source>Edit %s</source>
        <extracomment>Names an undo step that changed an entry of the frequency table. %s is the entry, for example &quot;frequency 4&quot;.</extracomment>
        <translation>%s bearbeiten</translation>
    </message>
    <message id="639">
        <source>Changes</source>
        <extracomment>Names an undo step made of several changes that no page described.</extracomment>
        <translation>Änderungen</translation>
    </message>
    <message id="700">
        <source>Radio Information</source>
        <extracomment>Title of the radio information page.</extracomment>
        <translation>Funkgeräteinformationen</translation>
    </message>
    <message id="701">
        <source>Regional Code</source>
        <extracomment>Label on the radio information page: the last two digits of the model code.</extracomment>
        <translation>Regionalcode</translation>
    </message>
    <message id="702">
        <source>Serial Number</source>
        <extracomment>Label on the radio information page.</extracomment>
        <translation>Seriennummer</translation>
    </message>
    <message id="703">
        <source>Firmware Version</source>
        <extracomment>Label on the radio information page.</extracomment>
        <translation>Firmwareversion</translation>
    </message>
    <message id="704">
        <source>Codeplug Version</source>
        <extracomment>Label on the radio information page.</extracomment>
        <translation>Codeplug-Version</translation>
    </message>
    <message id="705">
        <source>Frequency Range (MHz)</source>
        <extracomment>Label on the radio information page: the band the radio is aligned for.</extracomment>
        <translation>Frequenzbereich (MHz)</translation>
    </message>
    <message id="706">
        <source>Rx Frequency Range (MHz)</source>
        <extracomment>Label on the radio information page: the receive range.</extracomment>
        <translation>Empfangsfrequenzbereich (MHz)</translation>
    </message>
    <message id="707">
        <source>Tx Frequency Range (MHz)</source>
        <extracomment>Label on the radio information page: the transmit range.</extracomment>
        <translation>Sendefrequenzbereich (MHz)</translation>
    </message>
    <message id="708">
        <source>Maximum Channel</source>
        <extracomment>Label on the radio information page: how many channels the model offers.</extracomment>
        <translation>Maximale Kanalanzahl</translation>
    </message>
    <message id="710">
        <source>Line %d: %s</source>
        <extracomment>Where a problem of an imported spreadsheet file is: the line number, then the problem.</extracomment>
        <translation>Zeile %d: %s</translation>
    </message>
    <message id="711">
        <source>The file is not UTF-8 text.</source>
        <extracomment>Import of a spreadsheet (CSV) file.</extracomment>
        <translation>Die Datei ist kein UTF-8-Text.</translation>
    </message>
    <message id="712">
        <source>Expected %d columns, found %d.</source>
        <extracomment>Import of a spreadsheet (CSV) file: a row of the wrong width.</extracomment>
        <translation>Erwartet wurden %d Spalten, gefunden %d.</translation>
    </message>
    <message id="713">
        <source>The first line must be the header row: %s</source>
        <extracomment>Import of a spreadsheet (CSV) file; %s is the header row, which stays in English.</extracomment>
        <translation>Die erste Zeile muss die Kopfzeile sein: %s</translation>
    </message>
    <message id="714">
        <source>No frequency %s MHz in the RF frequency table.</source>
        <extracomment>Import of channels: %s is a frequency such as 462.562500.</extracomment>
        <translation>Keine Frequenz %s MHz in der HF-Frequenztabelle.</translation>
    </message>
    <message id="715">
        <source>Nothing was imported.</source>
        <extracomment>After the list of problems of a spreadsheet import.</extracomment>
        <translation>Es wurde nichts importiert.</translation>
    </message>
    <message id="716">
        <source>%s: '%s' is not a valid value.</source>
        <extracomment>Import of a spreadsheet (CSV) file: the column, then the value found in it.</extracomment>
        <translation>%s: '%s' ist kein gültiger Wert.</translation>
    </message>
    <message id="717">
        <source>%s is already on line %d.</source>
        <extracomment>Import of a spreadsheet (CSV) file: a frequency or channel name given twice.</extracomment>
        <translation>%s steht bereits in Zeile %d.</translation>
    </message>
    <message id="718">
        <source>Between %d and %d rows are allowed, found %d.</source>
        <extracomment>Import of a spreadsheet (CSV) file: how many rows the radio model takes.</extracomment>
        <translation>Erlaubt sind %d bis %d Zeilen, gefunden %d.</translation>
    </message>
    <message id="719">
        <source>Import from a spreadsheet</source>
        <extracomment>The step in the Edit menu's Undo and Redo that a spreadsheet import made.</extracomment>
        <translation>Import aus einer Tabelle</translation>
    </message>
    <message id="720">
        <source>&amp;Import Frequencies...</source>
        <extracomment>File menu: replaces the RF frequency table with the rows of a spreadsheet file.</extracomment>
        <translation>&amp;Frequenzen importieren...</translation>
    </message>
    <message id="721">
        <source>Import C&amp;hannels...</source>
        <extracomment>File menu: replaces the channels with the rows of a spreadsheet file.</extracomment>
        <translation>&amp;Kanäle importieren...</translation>
    </message>
    <message id="722">
        <source>Ex&amp;port Frequencies...</source>
        <extracomment>File menu: writes the RF frequency table as a spreadsheet file.</extracomment>
        <translation>Frequenzen e&amp;xportieren...</translation>
    </message>
    <message id="723">
        <source>Export Channe&amp;ls...</source>
        <extracomment>File menu: writes the channels as a spreadsheet file.</extracomment>
        <translation>Kanäle exp&amp;ortieren...</translation>
    </message>
    <message id="724">
        <source>Spreadsheet files (*.csv)</source>
        <extracomment>File dialog filter of the import and export commands. Keep (*.csv).</extracomment>
        <translation>Tabellendateien (*.csv)</translation>
    </message>
    <message id="725">
        <source>%d rows imported.</source>
        <extracomment>Status bar after an import; %d is the number of rows.</extracomment>
        <translation>%d Zeilen importiert.</translation>
    </message>
    <message id="726">
        <source>The file %s could not be written: %s</source>
        <extracomment>%s: the file's path, then the system's reason.</extracomment>
        <translation>Die Datei %s konnte nicht geschrieben werden: %s</translation>
    </message>
    <message id="727">
        <source>The file %s could not be read: %s</source>
        <extracomment>%s: the file's path, then the reason.</extracomment>
        <translation>Die Datei %s konnte nicht gelesen werden: %s</translation>
    </message>
    <message id="728">
        <source>...and %d more.</source>
        <extracomment>Ends a list of import problems that was shortened; %d is how many were left out.</extracomment>
        <translation>...und %d weitere.</translation>
    </message>
    <message id="740">
        <source>Codeplug Password (4-digit number)</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation>Codeplug-Passwort (4 Ziffern)</translation>
    </message>
    <message id="741">
        <source>Confirm Password (4-digit number)</source>
        <extracomment>Label on the general settings page: the password typed a second time.</extracomment>
        <translation>Passwort bestätigen (4 Ziffern)</translation>
    </message>
    <message id="742">
        <source>Power Up Text</source>
        <extracomment>Label on the general settings page: the text a display shows when the radio is switched on.</extracomment>
        <translation>Einschalttext</translation>
    </message>
    <message id="743">
        <source>Repeater Station ID</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation>Repeater-Kennung</translation>
    </message>
    <message id="744">
        <source>Repeater ID Mode</source>
        <extracomment>Label on the general settings page: when the repeater sends its station ID.</extracomment>
        <translation>Repeater-Kennungsmodus</translation>
    </message>
    <message id="745">
        <source>Disable All LEDs</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation>Alle LEDs ausschalten</translation>
    </message>
    <message id="746">
        <source>Disable Restore Factory Default</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation>Werkseinstellungen sperren</translation>
    </message>
    <message id="747">
        <source>Enable Programming Mode</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation>Programmiermodus erlauben</translation>
    </message>
    <message id="748">
        <source>Disable Battery Save</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation>Batteriesparmodus ausschalten</translation>
    </message>
    <message id="749">
        <source>Back Light (Sec.)</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation>Hintergrundbeleuchtung (s)</translation>
    </message>
    <message id="750">
        <source>Tx Hangtime (Sec.)</source>
        <extracomment>Label on the general settings page: how long a repeater keeps transmitting after a signal ends.</extracomment>
        <translation>Sende-Nachlaufzeit (s)</translation>
    </message>
    <message id="751">
        <source>Tx Low Battery (Min.)</source>
        <extracomment>Label on the general settings page: minutes a repeater keeps transmitting on a low battery.</extracomment>
        <translation>Senden bei schwacher Batterie (min)</translation>
    </message>
    <message id="752">
        <source>On Battery Alert Tone</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation>Warnton im Batteriebetrieb</translation>
    </message>
    <message id="753">
        <source>Enable Courtesy Over Beep</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation>Quittungston am Sendeende</translation>
    </message>
    <message id="754">
        <source>Transmit Timeout Timer (Sec.)</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation>Sendezeitbegrenzung (s)</translation>
    </message>
    <message id="755">
        <source>KT Reverse Burst</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation>KT-Phasenumkehr</translation>
    </message>
    <message id="756">
        <source>Alternate Battery Selection</source>
        <extracomment>Group caption and label on the general settings page.</extracomment>
        <translation>Batterieauswahl</translation>
    </message>
    <message id="757">
        <source>Alkaline</source>
        <extracomment>Battery type list item.</extracomment>
        <translation>Alkali</translation>
    </message>
    <message id="758">
        <source>Nickel/LiIon</source>
        <extracomment>Battery type list item.</extracomment>
        <translation>Nickel/Li-Ion</translation>
    </message>
    <message id="759">
        <source>Disable</source>
        <extracomment>Repeater ID mode and battery alert tone list item: never.</extracomment>
        <translation>Aus</translation>
    </message>
    <message id="760">
        <source>15 min</source>
        <extracomment>List item: every 15 minutes.</extracomment>
        <translation>15 min</translation>
    </message>
    <message id="761">
        <source>30 min</source>
        <extracomment>List item: every 30 minutes.</extracomment>
        <translation>30 min</translation>
    </message>
    <message id="762">
        <source>45 min</source>
        <extracomment>List item: every 45 minutes.</extracomment>
        <translation>45 min</translation>
    </message>
    <message id="763">
        <source>60 min</source>
        <extracomment>List item: every 60 minutes.</extracomment>
        <translation>60 min</translation>
    </message>
    <message id="764">
        <source>After conversation</source>
        <extracomment>Repeater ID mode list item.</extracomment>
        <translation>Nach Gesprächsende</translation>
    </message>
    <message id="770">
        <source>Microphone Gain</source>
        <extracomment>Label on the audio settings page.</extracomment>
        <translation>Mikrofonverstärkung</translation>
    </message>
    <message id="771">
        <source>Accessory Microphone Gain</source>
        <extracomment>Label on the audio settings page: a headset or speaker microphone.</extracomment>
        <translation>Verstärkung Zubehörmikrofon</translation>
    </message>
    <message id="772">
        <source>VOX Level</source>
        <extracomment>Label on the audio settings page: voice-operated transmission with a headset.</extracomment>
        <translation>VOX-Pegel</translation>
    </message>
    <message id="773">
        <source>iVOX Level</source>
        <extracomment>Label on the audio settings page: voice-operated transmission with the internal microphone.</extracomment>
        <translation>iVOX-Pegel</translation>
    </message>
    <message id="774">
        <source>Channel Announcement Language</source>
        <extracomment>Label on the audio settings page.</extracomment>
        <translation>Sprache der Kanalansage</translation>
    </message>
    <message id="775">
        <source>Roger Beep Tone</source>
        <extracomment>Label on the audio settings page: a tone at the end of each transmission.</extracomment>
        <translation>Quittungston</translation>
    </message>
    <message id="776">
        <source>Keypad Beep</source>
        <extracomment>Label on the audio settings page.</extracomment>
        <translation>Tastenton</translation>
    </message>
    <message id="777">
        <source>Low</source>
        <extracomment>Microphone gain or VOX level.</extracomment>
        <translation>Niedrig</translation>
    </message>
    <message id="778">
        <source>Medium</source>
        <extracomment>Microphone gain or VOX level.</extracomment>
        <translation>Mittel</translation>
    </message>
    <message id="779">
        <source>High</source>
        <extracomment>Microphone gain or VOX level.</extracomment>
        <translation>Hoch</translation>
    </message>
    <message id="780">
        <source>OFF</source>
        <extracomment>VOX level or channel announcement switched off.</extracomment>
        <translation>AUS</translation>
    </message>
    <message id="781">
        <source>English</source>
        <extracomment>Channel announcement language.</extracomment>
        <translation>Englisch</translation>
    </message>
    <message id="782">
        <source>French</source>
        <extracomment>Channel announcement language.</extracomment>
        <translation>Französisch</translation>
    </message>
    <message id="783">
        <source>Spanish</source>
        <extracomment>Channel announcement language.</extracomment>
        <translation>Spanisch</translation>
    </message>
    <message id="784">
        <source>KT Code %d (Hz)</source>
        <extracomment>Label on the customized KT page; %d is the code number (124 to 129).</extracomment>
        <translation>KT-Code %d (Hz)</translation>
    </message>
    <message id="785">
        <source>KT Code %d (OCT)</source>
        <extracomment>Label on the customized VRC page; %d is the code number (214 to 219), the value is octal.</extracomment>
        <translation>KT-Code %d (OKT)</translation>
    </message>
    <message id="800">
        <source>Add to Scan List</source>
        <extracomment>Undo history: channels moved into the scan list on the scan list page.</extracomment>
        <translation>Zur Scanliste hinzufügen</translation>
    </message>
    <message id="801">
        <source>Remove from Scan List</source>
        <extracomment>Undo history: channels moved out of the scan list on the scan list page.</extracomment>
        <translation>Aus der Scanliste entfernen</translation>
    </message>
    <message id="820">
        <source>Feature</source>
        <extracomment>Section header on the Buttons page, above the button rows.</extracomment>
        <translation>Funktion</translation>
    </message>
    <message id="821">
        <source>Keypad Lock</source>
        <extracomment>Buttons page: lock the keypad.</extracomment>
        <translation>Tastensperre</translation>
    </message>
    <message id="822">
        <source>Side Button 1 (SB1)</source>
        <extracomment>Buttons page: the upper button on the radio's side.</extracomment>
        <translation>Seitentaste 1 (SB1)</translation>
    </message>
    <message id="823">
        <source>Side Button 2 (SB2)</source>
        <extracomment>Buttons page: the lower button on the radio's side.</extracomment>
        <translation>Seitentaste 2 (SB2)</translation>
    </message>
    <message id="824">
        <source>Button A</source>
        <extracomment>Buttons page: the programmable button A.</extracomment>
        <translation>Taste A</translation>
    </message>
    <message id="825">
        <source>Button B</source>
        <extracomment>Buttons page: the programmable button B.</extracomment>
        <translation>Taste B</translation>
    </message>
    <message id="826">
        <source>Button C</source>
        <extracomment>Buttons page: the programmable button C.</extracomment>
        <translation>Taste C</translation>
    </message>
    <message id="827">
        <source>Scramble Button</source>
        <extracomment>Buttons page: what the scramble button does (Selectable or ON/OFF).</extracomment>
        <translation>Verschlüsselungstaste</translation>
    </message>
    <message id="828">
        <source>Call Tone</source>
        <extracomment>Buttons page: label of the call tone list.</extracomment>
        <translation>Rufton</translation>
    </message>
    <message id="829">
        <source>Preset 1 Channel</source>
        <extracomment>Buttons page: the channel the Preset 1 button goes to.</extracomment>
        <translation>Kanal für Festtaste 1</translation>
    </message>
    <message id="830">
        <source>Preset 2 Channel</source>
        <extracomment>Buttons page: the channel the Preset 2 button goes to.</extracomment>
        <translation>Kanal für Festtaste 2</translation>
    </message>
    <message id="831">
        <source>Button Reset</source>
        <extracomment>Buttons page: push button giving every button its default feature.</extracomment>
        <translation>Tasten zurücksetzen</translation>
    </message>
    <message id="832">
        <source>Selectable</source>
        <extracomment>Scramble button mode: the user picks a scramble code.</extracomment>
        <translation>Wählbar</translation>
    </message>
    <message id="833">
        <source>ON/OFF</source>
        <extracomment>Scramble button mode: the button only switches scramble on and off.</extracomment>
        <translation>EIN/AUS</translation>
    </message>
    <message id="834">
        <source>OFF</source>
        <extracomment>Call tone list: no call tone.</extracomment>
        <translation>AUS</translation>
    </message>
    <message id="835">
        <source>Radio picture</source>
        <extracomment>Accessible name of the picture of the radio on the Buttons page.</extracomment>
        <translation>Bild des Funkgeräts</translation>
    </message>
    <message id="900">
        <source>Detailed Report</source>
        <extracomment>Name of the report listing every setting; also its file name.</extracomment>
        <translation>Detaillierter Bericht</translation>
    </message>
    <message id="901">
        <source>Customer Handout</source>
        <extracomment>Name of the leaflet for the radio's user; also its file name.</extracomment>
        <translation>Kundeninformation</translation>
    </message>
    <message id="902">
        <source>Channel #</source>
        <extracomment>Report column: channel number.</extracomment>
        <translation>Kanal-Nr.</translation>
    </message>
    <message id="903">
        <source>Enable</source>
        <translation>Ein</translation>
    </message>
    <message id="904">
        <source>Frequency(Index)</source>
        <extracomment>Report column: a frequency with its index in the frequency table.</extracomment>
        <translation>Frequenz (Index)</translation>
    </message>
    <message id="905">
        <source>Frequency</source>
        <translation>Frequenz</translation>
    </message>
    <message id="906">
        <source>MHz</source>
        <translation>MHz</translation>
    </message>
    <message id="907">
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message id="908">
        <source>Receive/Transmit</source>
        <translation>Empfang/Senden</translation>
    </message>
    <message id="909">
        <source>%s KHz</source>
        <extracomment>A bandwidth; %s is the number.</extracomment>
        <translation>%s kHz</translation>
    </message>
    <message id="910">
        <source>(default)</source>
        <extracomment>Follows a button function that is the button's factory setting.</extracomment>
        <translation>(Standard)</translation>
    </message>
    <message id="911">
        <source>Accessory Jack</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Zubehörbuchse</translation>
    </message>
    <message id="912">
        <source>Channel Selector</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Kanalwahlschalter</translation>
    </message>
    <message id="913">
        <source>ZN420</source>
        <extracomment>Product family name, normally left unchanged.</extracomment>
        <translation>ZN420</translation>
    </message>
    <message id="914">
        <source>Down Button:</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Ab-Taste:</translation>
    </message>
    <message id="915">
        <source>Li-Ion Battery Pack</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Li-Ionen-Akku</translation>
    </message>
    <message id="916">
        <source>Menu Button:</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Menütaste:</translation>
    </message>
    <message id="917">
        <source>Menu Mode</source>
        <extracomment>Customer handout.</extracomment>
        <translation>Menümodus</translation>
    </message>
    <message id="918">
        <source>Microphone</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Mikrofon</translation>
    </message>
    <message id="919">
        <source>Model Number</source>
        <extracomment>Customer handout.</extracomment>
        <translation>Modellnummer</translation>
    </message>
    <message id="920">
        <source>Model</source>
        <extracomment>Customer handout.</extracomment>
        <translation>Modell</translation>
    </message>
    <message id="921">
        <source>Power/Volume Knob</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Ein/Aus- und Lautstärkeregler</translation>
    </message>
    <message id="922">
        <source>Push-to-Talk (PTT)</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Sprechtaste (PTT)</translation>
    </message>
    <message id="923">
        <source>QMV</source>
        <extracomment>Product series name, normally left unchanged.</extracomment>
        <translation>QMV</translation>
    </message>
    <message id="924">
        <source>Scroll down the menu items/change channel</source>
        <extracomment>Customer handout.</extracomment>
        <translation>Menüpunkte abwärts blättern/Kanal wechseln</translation>
    </message>
    <message id="925">
        <source>Scroll up the menu items/change channel</source>
        <extracomment>Customer handout.</extracomment>
        <translation>Menüpunkte aufwärts blättern/Kanal wechseln</translation>
    </message>
    <message id="926">
        <source>GQ730</source>
        <extracomment>Model name, normally left unchanged.</extracomment>
        <translation>GQ730</translation>
    </message>
    <message id="927">
        <source>Spring Action Belt Clip</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Federgürtelclip</translation>
    </message>
    <message id="928">
        <source>Tri-Color LED</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Dreifarbige LED</translation>
    </message>
    <message id="929">
        <source>Up Button:</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation>Auf-Taste:</translation>
    </message>
    <message id="930">
        <source>Wolk Series</source>
        <extracomment>Product series name.</extracomment>
        <translation>Wolk-Serie</translation>
    </message>
    <message id="931">
        <source>JVB</source>
        <extracomment>Maker's name, normally left unchanged.</extracomment>
        <translation>JVB</translation>
    </message>
</context>
</TS>
