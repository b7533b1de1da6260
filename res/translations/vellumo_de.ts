<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AppStream</name>
    <message>
        <source>Turn paper into PDF</source>
        <translation>Aus Papier wird PDF</translation>
    </message>
    <message>
        <source>Vellumo scans pages from a scanner or loads image files, shows them as a list of thumbnails, and saves all pages as one PDF file or sends that PDF by e-mail.</source>
        <translation>Vellumo scannt Seiten mit einem Scanner oder lädt Bilddateien, zeigt sie als Liste von Miniaturen und speichert alle Seiten als eine PDF-Datei oder verschickt dieses PDF per E-Mail.</translation>
    </message>
    <message>
        <source>Scan from any SANE scanner, from the flatbed or the document feeder, in black and white, grey or colour</source>
        <translation>Scannen mit jedem SANE-Scanner, vom Flachbett oder aus dem Einzug, in Schwarzweiß, Graustufen oder Farbe</translation>
    </message>
    <message>
        <source>Load TIFF, BMP, JPEG, PCX, GIF, PNG and TGA files as pages</source>
        <translation>TIFF-, BMP-, JPEG-, PCX-, GIF-, PNG- und TGA-Dateien als Seiten laden</translation>
    </message>
    <message>
        <source>Rotate, invert, mirror, crop, reorder and delete pages; crop scanned pages automatically</source>
        <translation>Seiten drehen, invertieren, spiegeln, zuschneiden, umordnen und löschen; gescannte Seiten automatisch zuschneiden</translation>
    </message>
    <message>
        <source>Save the pages as one PDF, or save a page as an image file</source>
        <translation>Die Seiten als ein PDF speichern oder eine Seite als Bilddatei speichern</translation>
    </message>
    <message>
        <source>Mail the PDF through the desktop&apos;s mail program or directly through an SMTP server</source>
        <translation>Das PDF mit dem E-Mail-Programm des Desktops oder direkt über einen SMTP-Server verschicken</translation>
    </message>
    <message>
        <source>A command-line program, vellumo-cli, does the same without windows</source>
        <translation>Ein Kommandozeilenprogramm, vellumo-cli, kann dasselbe ohne Fenster</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vellumo</source>
        <translation>Über Vellumo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Send me mail!</source>
        <translation>Schreiben Sie mir!</translation>
    </message>
</context>
<context>
    <name>CActivityDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
</context>
<context>
    <name>CPageView</name>
    <message>
        <source>Scanned</source>
        <translation>Gescannt</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>Seite %1: %2</translation>
    </message>
    <message>
        <source> (page %1)</source>
        <translation> (Seite %1)</translation>
    </message>
    <message>
        <source>Blank page</source>
        <translation>Leere Seite</translation>
    </message>
    <message>
        <source>Waiting for its text</source>
        <translation>Wartet auf ihren Text</translation>
    </message>
</context>
<context>
    <name>CPreviewDlg</name>
    <message>
        <source>Vellumo - Scanned image preview</source>
        <translation>Vellumo - Vorschau des gescannten Bildes</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Dis&amp;card</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Speichern unter...</translation>
    </message>
    <message>
        <source>&amp;Crop</source>
        <translation>&amp;Zuschneiden</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>&amp;Links drehen</translation>
    </message>
    <message>
        <source>Rotate &amp;right</source>
        <translation>&amp;Rechts drehen</translation>
    </message>
    <message>
        <source>&amp;Upside down</source>
        <translation>&amp;Auf den Kopf</translation>
    </message>
    <message>
        <source>&amp;Invert image</source>
        <translation>&amp;Invertieren</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Einpassen</translation>
    </message>
</context>
<context>
    <name>CSendMailDlg</name>
    <message>
        <source>Vellumo - Send by email</source>
        <translation>Vellumo - Per E-Mail senden</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>An:</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Betreff:</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Nachricht:</translation>
    </message>
    <message>
        <source>Send mail</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CSourceDialog</name>
    <message>
        <source>Select Source</source>
        <translation>Quelle wählen</translation>
    </message>
    <message>
        <source>Sources:</source>
        <translation>Quellen:</translation>
    </message>
</context>
<context>
    <name>CTabDocumentsDlg</name>
    <message>
        <source>Searchable PDFs: </source>
        <translation>Durchsuchbare PDFs: </translation>
    </message>
    <message>
        <source>Scanned pages: </source>
        <translation>Gescannte Seiten: </translation>
    </message>
    <message>
        <source>Document Settings</source>
        <translation>Dokument-Einstellungen</translation>
    </message>
    <message>
        <source>Make PDFs searchable (recognise text)</source>
        <translation>PDFs durchsuchbar machen (Text erkennen)</translation>
    </message>
    <message>
        <source>Languages to recognise:</source>
        <translation>Zu erkennende Sprachen:</translation>
    </message>
    <message>
        <source>Straighten pages</source>
        <translation>Seiten gerade richten</translation>
    </message>
    <message>
        <source>Turn pages upright</source>
        <translation>Seiten aufrecht drehen</translation>
    </message>
    <message>
        <source>Blank pages:</source>
        <translation>Leere Seiten:</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Markieren</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Weglassen</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source> - not installed</source>
        <translation> - nicht installiert</translation>
    </message>
</context>
<context>
    <name>CTabEmailDlg</name>
    <message>
        <source>Email Settings</source>
        <translation>E-Mail-Einstellungen</translation>
    </message>
    <message>
        <source>Send email via SMTP server</source>
        <translation>E-Mail über SMTP-Server senden</translation>
    </message>
    <message>
        <source>To e-mail address:</source>
        <translation>An E-Mail-Adresse:</translation>
    </message>
    <message>
        <source>Send e-mail using this SMTP server:</source>
        <translation>E-Mail über diesen SMTP-Server senden:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>User id:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>My e-mail address:</source>
        <translation>Meine E-Mail-Adresse:</translation>
    </message>
    <message>
        <source>Send test email</source>
        <translation>Test-E-Mail senden</translation>
    </message>
</context>
<context>
    <name>CTabGeneralDlg</name>
    <message>
        <source>Brightness: </source>
        <translation>Helligkeit: </translation>
    </message>
    <message>
        <source>Page size: </source>
        <translation>Seitengröße: </translation>
    </message>
    <message>
        <source>Options: </source>
        <translation>Optionen: </translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Current TWAIN device:</source>
        <translation>Aktueller Scanner:</translation>
    </message>
    <message>
        <source>&amp;Select device</source>
        <translation>&amp;Gerät wählen</translation>
    </message>
    <message>
        <source>Default scan parameters:</source>
        <translation>Standardwerte zum Scannen:</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Schwarzweiß scannen</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>In Graustufen scannen</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>In Farbe scannen</translation>
    </message>
    <message>
        <source>Resolution in black and white:</source>
        <translation>Auflösung Schwarzweiß:</translation>
    </message>
    <message>
        <source>Resolution in grey scales:</source>
        <translation>Auflösung Graustufen:</translation>
    </message>
    <message>
        <source>Resolution in color:</source>
        <translation>Auflösung Farbe:</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Helligkeit: am hellsten</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Helligkeit: heller</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Helligkeit: hell</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Helligkeit: normal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Helligkeit: dunkel</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Helligkeit: dunkler</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Helligkeit: am dunkelsten</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>Legal</translation>
    </message>
    <message>
        <source>A3</source>
        <translation>A3</translation>
    </message>
    <message>
        <source>PDF compression in percent</source>
        <translation>PDF-Kompression in Prozent</translation>
    </message>
    <message>
        <source>&amp;Reset to factory defaults</source>
        <translation>&amp;Werkseinstellungen</translation>
    </message>
    <message>
        <source>Show scan result before saving it</source>
        <translation>Scan vor dem Speichern zeigen</translation>
    </message>
    <message>
        <source>Auto crop scanned images</source>
        <translation>Scans automatisch zuschneiden</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Einzug abschalten</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Beidseitig scannen</translation>
    </message>
    <message>
        <source>Invert scanned image</source>
        <translation>Scans invertieren</translation>
    </message>
    <message>
        <source>Compress PDF:</source>
        <translation>PDF komprimieren:</translation>
    </message>
    <message>
        <source>Make log file</source>
        <translation>Protokolldatei schreiben</translation>
    </message>
</context>
<context>
    <name>CVellumoDlg</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>CVellumoTranslucentDlg</name>
    <message>
        <source>Pages ready to save (%1):</source>
        <translation>Seiten zum Speichern (%1):</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Rotate &amp;right</source>
        <translation>&amp;Rechts drehen</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>&amp;Links drehen</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Invertieren</translation>
    </message>
    <message>
        <source>&amp;Mirror</source>
        <translation>&amp;Spiegeln</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>SCAN PAGE</source>
        <translation>SEITE SCANNEN</translation>
    </message>
    <message>
        <source>LOAD PAGE</source>
        <translation>SEITE LADEN</translation>
    </message>
    <message>
        <source>MAIL AS PDF</source>
        <translation>ALS PDF MAILEN</translation>
    </message>
    <message>
        <source>SAVE AS PDF</source>
        <translation>PDF SPEICHERN</translation>
    </message>
    <message>
        <source>ABOUT</source>
        <translation>ÜBER</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>HILFE</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>START</translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation>EINSTELLUNGEN</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Schwarzweiß scannen</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>In Graustufen scannen</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>In Farbe scannen</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Helligkeit: am hellsten</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Helligkeit: heller</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Helligkeit: hell</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Helligkeit: normal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Helligkeit: dunkel</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Helligkeit: dunkler</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Helligkeit: am dunkelsten</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>Legal</translation>
    </message>
    <message>
        <source>A3</source>
        <translation>A3</translation>
    </message>
    <message>
        <source>Show scan result before saving it</source>
        <translation>Scan vor dem Speichern zeigen</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Einzug abschalten</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Beidseitig scannen</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Straighten</source>
        <translation>Gerade richten</translation>
    </message>
    <message>
        <source>Turn upright</source>
        <translation>Aufrecht drehen</translation>
    </message>
    <message>
        <source>Delete blank pages</source>
        <translation>Leere Seiten löschen</translation>
    </message>
    <message>
        <source>Interleave (fronts, then backs)</source>
        <translation>Verschränken (Vorderseiten, dann Rückseiten)</translation>
    </message>
    <message>
        <source>Interleave, backs reversed</source>
        <translation>Verschränken, Rückseiten umgekehrt</translation>
    </message>
    <message>
        <source>Reverse order</source>
        <translation>Reihenfolge umkehren</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Rück&amp;gängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>Rück&amp;gängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>Scan to PDF</source>
        <translation>Scannen nach PDF</translation>
    </message>
    <message>
        <source>Scan pages or load image files, correct them and save or mail them as one PDF</source>
        <translation>Seiten scannen oder Bilddateien laden, korrigieren und als ein PDF speichern oder verschicken</translation>
    </message>
    <message>
        <source>scan;scanner;PDF;document;paper;mail;</source>
        <translation>scannen;Scanner;PDF;Dokument;Papier;E-Mail;</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Vellumo Help</source>
        <translation>Vellumo-Hilfe</translation>
    </message>
    <message>
        <source>Vellumo turns paper into PDF. You scan pages or load image files, see them as a list of thumbnails, correct them (rotate, invert, mirror, reorder, delete), and then save all pages as one PDF file or send that PDF by e-mail.</source>
        <translation>Vellumo macht aus Papier PDF. Sie scannen Seiten oder laden Bilddateien, sehen sie als Liste von Miniaturen, korrigieren sie (drehen, invertieren, spiegeln, umordnen, löschen) und speichern dann alle Seiten als eine PDF-Datei oder verschicken dieses PDF per E-Mail.</translation>
    </message>
    <message>
        <source>The window</source>
        <translation>Das Fenster</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Scannen</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>The page list</source>
        <translation>Die Seitenliste</translation>
    </message>
    <message>
        <source>Keys and drag and drop</source>
        <translation>Tasten und Ziehen und Ablegen</translation>
    </message>
    <message>
        <source>Correcting pages</source>
        <translation>Seiten korrigieren</translation>
    </message>
    <message>
        <source>The preview</source>
        <translation>Die Vorschau</translation>
    </message>
    <message>
        <source>Saving and mailing</source>
        <translation>Speichern und Versenden</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>The log file</source>
        <translation>Die Protokolldatei</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Kommandozeile</translation>
    </message>
    <message>
        <source>The left column holds the tabs &lt;b&gt;HOME&lt;/b&gt; and &lt;b&gt;SETTINGS&lt;/b&gt; (with its pages &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; below it), and the buttons &lt;b&gt;ABOUT&lt;/b&gt; and &lt;b&gt;HELP&lt;/b&gt;. In the home view the middle shows the page list with the number of pages above it, and the right column shows the buttons &lt;b&gt;SCAN PAGE&lt;/b&gt; and &lt;b&gt;LOAD PAGE&lt;/b&gt; above, &lt;b&gt;MAIL AS PDF&lt;/b&gt; and &lt;b&gt;SAVE AS PDF&lt;/b&gt; below, and the quick settings in between. The two round buttons at the top right minimise the window and end the program. Drag the window by any free spot of it.</source>
        <translation>Die linke Spalte enthält die Reiter &lt;b&gt;START&lt;/b&gt; und &lt;b&gt;EINSTELLUNGEN&lt;/b&gt; (mit seinen Seiten &lt;b&gt;Allgemein&lt;/b&gt; und &lt;b&gt;E-Mail&lt;/b&gt; darunter) und die Knöpfe &lt;b&gt;ÜBER&lt;/b&gt; und &lt;b&gt;HILFE&lt;/b&gt;. In der Startansicht zeigt die Mitte die Seitenliste mit der Zahl der Seiten darüber, und die rechte Spalte zeigt oben die Knöpfe &lt;b&gt;SEITE SCANNEN&lt;/b&gt; und &lt;b&gt;SEITE LADEN&lt;/b&gt;, unten &lt;b&gt;ALS PDF MAILEN&lt;/b&gt; und &lt;b&gt;PDF SPEICHERN&lt;/b&gt; und dazwischen die Schnelleinstellungen. Die beiden runden Knöpfe oben rechts verkleinern das Fenster und beenden das Programm. Ziehen Sie das Fenster an einer beliebigen freien Stelle.</translation>
    </message>
    <message>
        <source>The quick settings act on the next scans only and are not kept when you end the program:</source>
        <translation>Die Schnelleinstellungen gelten nur für die nächsten Scans und werden beim Beenden nicht behalten:</translation>
    </message>
    <message>
        <source>&lt;b&gt;Scanning mode&lt;/b&gt;: black and white, grey scales or colour.</source>
        <translation>&lt;b&gt;Scanmodus&lt;/b&gt;: Schwarzweiß, Graustufen oder Farbe.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brightness&lt;/b&gt;: seven steps from Dark on the left through Normal to Bright on the right.</source>
        <translation>&lt;b&gt;Helligkeit&lt;/b&gt;: sieben Stufen von Dunkel links über Normal bis Hell rechts.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Page size&lt;/b&gt;: Letter, A4, Legal or A3.</source>
        <translation>&lt;b&gt;Seitengröße&lt;/b&gt;: Letter, A4, Legal oder A3.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Options&lt;/b&gt;: show the scan result before it joins the list (the preview), do not use the automatic document feeder, scan both sides of each sheet (duplex).</source>
        <translation>&lt;b&gt;Optionen&lt;/b&gt;: den Scan zeigen, bevor er in die Liste kommt (die Vorschau), den automatischen Einzug nicht benutzen, beide Seiten jedes Blattes scannen (Duplex).</translation>
    </message>
    <message>
        <source>Pressing &lt;b&gt;HOME&lt;/b&gt; puts the quick settings back to the defaults stored on the General settings page. The keys: &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing; &lt;kbd&gt;Enter&lt;/kbd&gt; ends the program, and asks first when the list still holds pages.</source>
        <translation>&lt;b&gt;START&lt;/b&gt; setzt die Schnelleinstellungen auf die Standardwerte der Einstellungsseite Allgemein zurück. Die Tasten: &lt;kbd&gt;Esc&lt;/kbd&gt; tut nichts; &lt;kbd&gt;Enter&lt;/kbd&gt; beendet das Programm und fragt vorher, wenn die Liste noch Seiten enthält.</translation>
    </message>
    <message>
        <source>Put the paper on the glass or in the feeder and press &lt;b&gt;SCAN PAGE&lt;/b&gt;. Vellumo talks to the scanner chosen on the General page (any scanner your system knows through SANE), using the scanning mode, resolution, brightness, feeder and duplex settings. While it scans, a small window shows what is happening and offers &lt;b&gt;Cancel&lt;/b&gt;. Each scanned page is kept in a private temporary file and appears in the page list as &lt;i&gt;Scanned&lt;/i&gt;. When the options say so, pages are inverted (white on black originals) or cropped to the paper automatically.</source>
        <translation>Legen Sie das Papier auf das Glas oder in den Einzug und drücken Sie &lt;b&gt;SEITE SCANNEN&lt;/b&gt;. Vellumo arbeitet mit dem Scanner, der auf der Seite Allgemein gewählt ist (jeder Scanner, den Ihr System über SANE kennt), mit den Einstellungen für Scanmodus, Auflösung, Helligkeit, Einzug und Duplex. Während des Scannens zeigt ein kleines Fenster, was geschieht, und bietet &lt;b&gt;Abbrechen&lt;/b&gt; an. Jede gescannte Seite liegt in einer privaten temporären Datei und erscheint in der Seitenliste als &lt;i&gt;Gescannt&lt;/i&gt;. Wenn die Optionen es sagen, werden Seiten automatisch invertiert (weiß auf schwarz) oder auf das Papier zugeschnitten.</translation>
    </message>
    <message>
        <source>Loading image files</source>
        <translation>Bilddateien laden</translation>
    </message>
    <message>
        <source>&lt;b&gt;LOAD PAGE&lt;/b&gt; opens a file dialog in which you can choose one or more image files: TIFF, BMP, JPEG, PCX, GIF, PNG and TGA. Every file becomes a page at the end of the list, shown with its full path. Vellumo reads your files where they are: it never changes or deletes them. A file that cannot be read is reported and skipped.</source>
        <translation>&lt;b&gt;SEITE LADEN&lt;/b&gt; öffnet einen Dateidialog, in dem Sie eine oder mehrere Bilddateien wählen: TIFF, BMP, JPEG, PCX, GIF, PNG und TGA. Jede Datei wird eine Seite am Ende der Liste und mit ihrem vollen Pfad gezeigt. Vellumo liest Ihre Dateien dort, wo sie liegen: es ändert oder löscht sie nie. Eine Datei, die sich nicht lesen lässt, wird gemeldet und übersprungen.</translation>
    </message>
    <message>
        <source>The page list and its context menu</source>
        <translation>Die Seitenliste und ihr Kontextmenü</translation>
    </message>
    <message>
        <source>The list shows every page as a thumbnail, in the order they will appear in the PDF. The line above the list counts them. Click a page to open it in an image viewer (a program named &lt;code&gt;viewer&lt;/code&gt; beside Vellumo when there is one, otherwise your desktop&apos;s viewer).</source>
        <translation>Die Liste zeigt jede Seite als Miniatur, in der Reihenfolge, in der sie im PDF stehen werden. Die Zeile über der Liste zählt sie. Ein Klick auf eine Seite öffnet sie in einem Bildbetrachter (ein Programm namens &lt;code&gt;viewer&lt;/code&gt; neben Vellumo, wenn es eines gibt, sonst der Betrachter Ihres Desktops).</translation>
    </message>
    <message>
        <source>Right-click a page for its menu:</source>
        <translation>Ein Rechtsklick auf eine Seite öffnet ihr Menü:</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>Was er tut</translation>
    </message>
    <message>
        <source>Rotate right / Rotate left</source>
        <translation>Rechts drehen / Links drehen</translation>
    </message>
    <message>
        <source>turns the page a quarter turn clockwise or counter-clockwise</source>
        <translation>dreht die Seite um eine Vierteldrehung im oder gegen den Uhrzeigersinn</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Invertieren</translation>
    </message>
    <message>
        <source>swaps black and white (light and dark)</source>
        <translation>vertauscht Schwarz und Weiß (hell und dunkel)</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Spiegeln</translation>
    </message>
    <message>
        <source>flips the page left to right</source>
        <translation>spiegelt die Seite von links nach rechts</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>asks, then removes the page from the list. A scanned page&apos;s temporary file is deleted; a loaded file of yours stays on disk.</source>
        <translation>fragt und nimmt die Seite dann aus der Liste. Die temporäre Datei einer gescannten Seite wird gelöscht; eine geladene Datei von Ihnen bleibt auf der Platte.</translation>
    </message>
    <message>
        <source>Move up / Move down</source>
        <translation>Nach oben / Nach unten</translation>
    </message>
    <message>
        <source>moves the selected page one place towards the start or the end of the list</source>
        <translation>verschiebt die gewählte Seite um einen Platz zum Anfang oder zum Ende der Liste</translation>
    </message>
    <message>
        <source>Entries that are greyed out are not available in this build of the program.</source>
        <translation>Grau dargestellte Einträge gibt es in dieser Ausgabe des Programms nicht.</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Taste</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Delete&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Entf&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>deletes the selected page, after the same question as the menu entry Delete</source>
        <translation>löscht die gewählte Seite, nach derselben Frage wie der Menüeintrag Löschen</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Strg&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;LOAD PAGE&lt;/b&gt;</source>
        <translation>dasselbe wie &lt;b&gt;SEITE LADEN&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Strg&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;SAVE AS PDF&lt;/b&gt;</source>
        <translation>dasselbe wie &lt;b&gt;PDF SPEICHERN&lt;/b&gt;</translation>
    </message>
    <message>
        <source>The keys work wherever the focus is in the window, not while a question or a file dialog is open. &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing in the main window, so the program never ends by accident.</source>
        <translation>Die Tasten wirken überall im Fenster, aber nicht, solange eine Frage oder ein Dateidialog offen ist. &lt;kbd&gt;Esc&lt;/kbd&gt; tut im Hauptfenster nichts, damit das Programm nie aus Versehen endet.</translation>
    </message>
    <message>
        <source>Drop image files from your file manager on the page list to load them, in the order they were dropped, just as &lt;b&gt;LOAD PAGE&lt;/b&gt; loads them: a file (or folder) that cannot be read is reported and skipped, and your files stay where they are. Drag a thumbnail up or down within the list to move its page to the place you drop it on.</source>
        <translation>Legen Sie Bilddateien aus Ihrer Dateiverwaltung auf der Seitenliste ab, um sie in dieser Reihenfolge zu laden, genau wie &lt;b&gt;SEITE LADEN&lt;/b&gt; sie lädt: eine Datei (oder ein Ordner), die sich nicht lesen lässt, wird gemeldet und übersprungen, und Ihre Dateien bleiben, wo sie sind. Ziehen Sie eine Miniatur in der Liste nach oben oder unten, um ihre Seite an die Stelle zu verschieben, an der Sie sie ablegen.</translation>
    </message>
    <message>
        <source>While a PDF is being written for &lt;b&gt;SAVE AS PDF&lt;/b&gt; or &lt;b&gt;MAIL AS PDF&lt;/b&gt;, the bar in the small status window shows which page it is at.</source>
        <translation>Während ein PDF für &lt;b&gt;PDF SPEICHERN&lt;/b&gt; oder &lt;b&gt;ALS PDF MAILEN&lt;/b&gt; geschrieben wird, zeigt der Balken im kleinen Statusfenster, bei welcher Seite es ist.</translation>
    </message>
    <message>
        <source>Rotating, inverting and mirroring never touch the original: each correction writes a new working copy of the page into a private temporary file and replaces the thumbnail. The working copies are deleted when the page is deleted, when the list is cleared and when the program ends.</source>
        <translation>Drehen, Invertieren und Spiegeln ändern nie das Original: jede Korrektur schreibt eine neue Arbeitskopie der Seite in eine private temporäre Datei und ersetzt die Miniatur. Die Arbeitskopien werden gelöscht, wenn die Seite gelöscht, die Liste geleert oder das Programm beendet wird.</translation>
    </message>
    <message>
        <source>With the option &quot;show the scan result before saving it&quot; ticked, every scanned page is shown large before it joins the list. There you can look at it, correct it, keep it or throw it away.</source>
        <translation>Mit der Option „Scan vor dem Speichern zeigen“ wird jede gescannte Seite groß gezeigt, bevor sie in die Liste kommt. Dort können Sie sie ansehen, korrigieren, behalten oder verwerfen.</translation>
    </message>
    <message>
        <source>Saving and mailing PDFs</source>
        <translation>PDFs speichern und versenden</translation>
    </message>
    <message>
        <source>&lt;b&gt;SAVE AS PDF&lt;/b&gt; asks for a file name and writes all pages, in list order, into one PDF file. Each page keeps its size on paper, taken from its resolution. With compression on (General page), colour and grey pages are stored as JPEG at the chosen quality; black and white pages are always stored losslessly. After saving, Vellumo offers to clear the list.</source>
        <translation>&lt;b&gt;PDF SPEICHERN&lt;/b&gt; fragt nach einem Dateinamen und schreibt alle Seiten in der Reihenfolge der Liste in eine PDF-Datei. Jede Seite behält ihre Größe auf dem Papier, die sich aus ihrer Auflösung ergibt. Mit Kompression (Seite Allgemein) werden Farb- und Graustufenseiten als JPEG in der gewählten Qualität gespeichert; Schwarzweißseiten immer verlustfrei. Nach dem Speichern bietet Vellumo an, die Liste zu leeren.</translation>
    </message>
    <message>
        <source>&lt;b&gt;MAIL AS PDF&lt;/b&gt; builds the same PDF as &lt;code&gt;Images.pdf&lt;/code&gt; and sends it, either directly through the SMTP server set up on the Email page (you write the message in a small mail window; a progress bar with &lt;b&gt;Cancel&lt;/b&gt; shows the transfer), or by handing it to your desktop&apos;s mail program. Afterwards it offers to clear the list.</source>
        <translation>&lt;b&gt;ALS PDF MAILEN&lt;/b&gt; erstellt dasselbe PDF als &lt;code&gt;Images.pdf&lt;/code&gt; und verschickt es, entweder direkt über den SMTP-Server der Seite E-Mail (Sie schreiben die Nachricht in einem kleinen Fenster; ein Fortschrittsbalken mit &lt;b&gt;Abbrechen&lt;/b&gt; zeigt die Übertragung) oder indem es das PDF an das E-Mail-Programm Ihres Desktops übergibt. Danach bietet es an, die Liste zu leeren.</translation>
    </message>
    <message>
        <source>When you end the program while the list still holds pages, Vellumo asks &quot;You didn&apos;t save or send the pages in the list. Quit anyway?&quot; so that nothing is lost by accident.</source>
        <translation>Wenn Sie das Programm beenden, solange die Liste noch Seiten enthält, fragt Vellumo „Sie haben die Seiten in der Liste weder gespeichert noch verschickt. Trotzdem beenden?“, damit nichts aus Versehen verloren geht.</translation>
    </message>
    <message>
        <source>The settings pages</source>
        <translation>Die Einstellungsseiten</translation>
    </message>
    <message>
        <source>Press &lt;b&gt;SETTINGS&lt;/b&gt; to open the settings view; &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; switch between its pages, &lt;b&gt;HOME&lt;/b&gt; or &lt;b&gt;SETTINGS&lt;/b&gt; again returns to the page list. Values are stored when you leave a page.</source>
        <translation>&lt;b&gt;EINSTELLUNGEN&lt;/b&gt; öffnet die Einstellungsansicht; &lt;b&gt;Allgemein&lt;/b&gt; und &lt;b&gt;E-Mail&lt;/b&gt; wechseln zwischen ihren Seiten, &lt;b&gt;START&lt;/b&gt; oder noch einmal &lt;b&gt;EINSTELLUNGEN&lt;/b&gt; führt zur Seitenliste zurück. Die Werte werden gespeichert, wenn Sie eine Seite verlassen.</translation>
    </message>
    <message>
        <source>&lt;b&gt;General&lt;/b&gt;: the scanner to use; the default scanning mode, brightness, page size and options that the quick settings start from; the resolutions for black and white, grey and colour scans; automatic cropping and inverting; PDF compression and its quality; the log file.</source>
        <translation>&lt;b&gt;Allgemein&lt;/b&gt;: der Scanner; Scanmodus, Helligkeit, Seitengröße und Optionen, mit denen die Schnelleinstellungen beginnen; die Auflösungen für Schwarzweiß-, Graustufen- und Farbscans; automatisches Zuschneiden und Invertieren; PDF-Kompression und ihre Qualität; die Protokolldatei.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Email&lt;/b&gt;: whether to send through SMTP or through the desktop&apos;s mail program; the SMTP server, port, user name, password and your address; an address to forward to.</source>
        <translation>&lt;b&gt;E-Mail&lt;/b&gt;: ob über SMTP oder über das E-Mail-Programm des Desktops gesendet wird; SMTP-Server, Port, Benutzername, Passwort und Ihre Adresse; eine Adresse zum Weiterleiten.</translation>
    </message>
    <message>
        <source>The settings are kept in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, readable by you alone.</source>
        <translation>Die Einstellungen stehen in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, lesbar nur für Sie.</translation>
    </message>
    <message>
        <source>Tick &quot;Make log file&quot; on the General page and Vellumo writes one line with date and time for every step of its work (start, scanner talk, pages, PDF building, mailing, end) into &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in your documents folder. The file is only appended to; delete it when you no longer need it. It helps support find out what went wrong.</source>
        <translation>Setzen Sie auf der Seite Allgemein den Haken bei „Protokolldatei schreiben“, und Vellumo schreibt für jeden Arbeitsschritt (Start, Scanner, Seiten, PDF-Erstellung, Versand, Ende) eine Zeile mit Datum und Uhrzeit in &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in Ihrem Dokumentenordner. Die Datei wird nur ergänzt; löschen Sie sie, wenn Sie sie nicht mehr brauchen. Sie hilft dem Support herauszufinden, was schiefging.</translation>
    </message>
    <message>
        <source>The command-line front end</source>
        <translation>Die Kommandozeile</translation>
    </message>
    <message>
        <source>&lt;code&gt;vellumo-cli&lt;/code&gt; does the same work without windows, for scripts and automation. It loads image files, applies the page corrections, writes PDFs, scans from a SANE device and mails PDFs through SMTP, with the same engine and the same settings as the windows. The program lists its own commands and options when asked for its usage.</source>
        <translation>&lt;code&gt;vellumo-cli&lt;/code&gt; macht dieselbe Arbeit ohne Fenster, für Skripte und Automatisierung. Es lädt Bilddateien, korrigiert Seiten, schreibt PDFs, scannt mit einem SANE-Gerät und verschickt PDFs über SMTP, mit derselben Technik und denselben Einstellungen wie die Fenster. Das Programm nennt seine Befehle und Optionen, wenn man es nach seinem Gebrauch fragt.</translation>
    </message>
    <message>
        <source>The program itself accepts one switch: started with &lt;code&gt;/GO&lt;/code&gt; while another Vellumo is running, it asks that one to close first.</source>
        <translation>Das Programm selbst kennt einen Schalter: mit &lt;code&gt;/GO&lt;/code&gt; gestartet, während ein anderes Vellumo läuft, bittet es jenes, sich zuerst zu schließen.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Vellumo 3.07. Questions and reports: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, web site &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</source>
        <translation>Vellumo 3.07. Fragen und Meldungen: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, Website &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Everything works from the keyboard too: &lt;kbd&gt;Tab&lt;/kbd&gt; moves from control to control in the order they stand on the screen, and a blue ring shows where you are; the arrow keys choose within a group of round buttons; &lt;kbd&gt;Space&lt;/kbd&gt; presses the button or ticks the box that has the ring. Screen readers name every control.</source>
        <translation>Alles geht auch mit der Tastatur: &lt;kbd&gt;Tab&lt;/kbd&gt; springt von Element zu Element in der Reihenfolge auf dem Bildschirm, und ein blauer Ring zeigt, wo Sie sind; die Pfeiltasten wählen innerhalb einer Gruppe runder Knöpfe; die &lt;kbd&gt;Leertaste&lt;/kbd&gt; drückt den Knopf oder setzt den Haken, der den Ring hat. Bildschirmleser nennen jedes Element beim Namen.</translation>
    </message>
    <message>
        <source>Vellumo speaks the language of your desktop when it knows it (German, French, Spanish, Italian, Dutch or Portuguese) and English otherwise. The log file is always in English.</source>
        <translation>Vellumo spricht die Sprache Ihres Desktops, wenn es sie kennt (Deutsch, Französisch, Spanisch, Italienisch, Niederländisch oder Portugiesisch), sonst Englisch. Die Protokolldatei ist immer englisch.</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>*** Successfully created %1 ***</source>
        <translation>*** %1 wurde erstellt ***</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): invalid parameters</source>
        <translation>Die PDF-Datei %1 konnte nicht erstellt werden (Fehler %2): ungültige Parameter</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), possibly because the file is in use by another application</source>
        <translation>Die PDF-Datei %1 konnte nicht erstellt werden (Fehler %2), vielleicht weil ein anderes Programm die Datei benutzt</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), PDF file already exists and could not be overwritten - it is possibly being held open by a PDF viewer application</source>
        <translation>Die PDF-Datei %1 konnte nicht erstellt werden (Fehler %2): die Datei gibt es schon und sie konnte nicht überschrieben werden - vielleicht hält ein PDF-Betrachter sie offen</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): no images to be added</source>
        <translation>Die PDF-Datei %1 konnte nicht erstellt werden (Fehler %2): keine Bilder zum Einfügen</translation>
    </message>
    <message>
        <source>Could not create PDF file %1: %2</source>
        <translation>Die PDF-Datei %1 konnte nicht erstellt werden: %2</translation>
    </message>
    <message>
        <source>Could not add image to PDF file %1 (error %2)</source>
        <translation>Das Bild konnte nicht in die PDF-Datei %1 eingefügt werden (Fehler %2)</translation>
    </message>
    <message>
        <source>Unsupported graphics format</source>
        <translation>Nicht unterstütztes Grafikformat</translation>
    </message>
    <message>
        <source>Creating PDF...</source>
        <translation>PDF wird erstellt...</translation>
    </message>
    <message>
        <source>Creating mail message...</source>
        <translation>E-Mail wird erstellt...</translation>
    </message>
    <message>
        <source>Looking for scanner...</source>
        <translation>Scanner wird gesucht...</translation>
    </message>
    <message>
        <source>Setting up scanner %1 ....</source>
        <translation>Scanner %1 wird eingerichtet ....</translation>
    </message>
    <message>
        <source>Scanning from %1 ....</source>
        <translation>Scannen mit %1 ....</translation>
    </message>
    <message>
        <source>Saving image to temporary file ....</source>
        <translation>Bild wird in temporäre Datei gespeichert ....</translation>
    </message>
    <message>
        <source>Error opening TWAIN session</source>
        <translation>Fehler beim Öffnen der Scanner-Sitzung</translation>
    </message>
    <message>
        <source>Scanner doesn&apos;t support duplex mode</source>
        <translation>Der Scanner kann nicht beidseitig scannen</translation>
    </message>
    <message>
        <source>The scanner is still busy with the last scan</source>
        <translation>Der Scanner ist noch mit dem letzten Scan beschäftigt</translation>
    </message>
    <message>
        <source>Error while setting units:
%1</source>
        <translation>Fehler beim Einstellen der Einheiten:
%1</translation>
    </message>
    <message>
        <source>Error while setting pixel type:
%1</source>
        <translation>Fehler beim Einstellen des Pixeltyps:
%1</translation>
    </message>
    <message>
        <source>Error while setting resolution:
%1</source>
        <translation>Fehler beim Einstellen der Auflösung:
%1</translation>
    </message>
    <message>
        <source>Error while setting brightness to %1
%2</source>
        <translation>Fehler beim Einstellen der Helligkeit auf %1
%2</translation>
    </message>
    <message>
        <source>Error while setting image layout: capability not supported
%1</source>
        <translation>Fehler beim Einstellen des Bildbereichs: nicht unterstützt
%1</translation>
    </message>
    <message>
        <source>Error while setting XferCount
%1</source>
        <translation>Fehler beim Einstellen der Seitenzahl (XferCount)
%1</translation>
    </message>
    <message>
        <source>Error while scanning:
%1</source>
        <translation>Fehler beim Scannen:
%1</translation>
    </message>
    <message>
        <source>Error while selecting data source:
%1</source>
        <translation>Fehler beim Wählen der Quelle:
%1</translation>
    </message>
    <message>
        <source>Error %1 while converting image</source>
        <translation>Fehler %1 beim Umwandeln des Bildes</translation>
    </message>
    <message>
        <source>Error %1 while saving image</source>
        <translation>Fehler %1 beim Speichern des Bildes</translation>
    </message>
    <message>
        <source>Nothing to save yet</source>
        <translation>Noch nichts zu speichern</translation>
    </message>
    <message>
        <source>Nothing to mail yet</source>
        <translation>Noch nichts zu verschicken</translation>
    </message>
    <message>
        <source>Clear list of pages to save or send?</source>
        <translation>Die Liste der Seiten leeren?</translation>
    </message>
    <message>
        <source>Clear list of pages to send?</source>
        <translation>Die Liste der zu sendenden Seiten leeren?</translation>
    </message>
    <message>
        <source>Delete this image?</source>
        <translation>Dieses Bild löschen?</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>Keine Seite gewählt</translation>
    </message>
    <message>
        <source>No need to move page</source>
        <translation>Die Seite muss nicht verschoben werden</translation>
    </message>
    <message>
        <source>You didn&apos;t save or send the pages in the list. Quit anyway?</source>
        <translation>Sie haben die Seiten in der Liste weder gespeichert noch verschickt. Trotzdem beenden?</translation>
    </message>
    <message>
        <source>Unable to determine temporary file path</source>
        <translation>Der Ordner für temporäre Dateien ist nicht bekannt</translation>
    </message>
    <message>
        <source>Unable to create temporary file</source>
        <translation>Die temporäre Datei konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>Unable to initialize MIME</source>
        <translation>MIME konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>Unable to create message</source>
        <translation>Die Nachricht konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>Unable to attach file</source>
        <translation>Die Datei konnte nicht angehängt werden</translation>
    </message>
    <message>
        <source>Unable to initialize SMTP</source>
        <translation>SMTP konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>SMTP server requires authentication, but you did not specify a user-id and password for this server!</source>
        <translation>Der SMTP-Server verlangt eine Anmeldung, aber für diesen Server sind weder Benutzer noch Passwort angegeben!</translation>
    </message>
    <message>
        <source>Message successfully sent</source>
        <translation>Die Nachricht wurde gesendet</translation>
    </message>
    <message>
        <source>Message successfully sent to %1</source>
        <translation>Die Nachricht wurde an %1 gesendet</translation>
    </message>
    <message>
        <source>Unable to deliver message to %1: %2</source>
        <translation>Die Nachricht an %1 konnte nicht zugestellt werden: %2</translation>
    </message>
    <message>
        <source>Sending mail message, please wait ...</source>
        <translation>E-Mail wird gesendet, bitte warten ...</translation>
    </message>
    <message>
        <source>Sending mail, please wait ...</source>
        <translation>E-Mail wird gesendet, bitte warten ...</translation>
    </message>
    <message>
        <source>Connecting to mail server, please wait ...</source>
        <translation>Verbindung zum Mailserver, bitte warten ...</translation>
    </message>
    <message>
        <source>Logging in to mail server, please wait ...</source>
        <translation>Anmeldung am Mailserver, bitte warten ...</translation>
    </message>
    <message>
        <source>Could not find MAPI DLL</source>
        <translation>Kein E-Mail-Programm gefunden</translation>
    </message>
    <message>
        <source>Invalid MAPI DLL</source>
        <translation>Ungültiges E-Mail-Programm</translation>
    </message>
    <message>
        <source>No memory during MAPI send mail</source>
        <translation>Zu wenig Speicher beim Übergeben der E-Mail</translation>
    </message>
    <message>
        <source>Error during MAPI send mail</source>
        <translation>Fehler beim Übergeben der E-Mail</translation>
    </message>
    <message>
        <source>*** Mail application ended without errors ***</source>
        <translation>*** Das E-Mail-Programm endete ohne Fehler ***</translation>
    </message>
    <message>
        <source>Select PDF file to save to</source>
        <translation>PDF-Datei zum Speichern wählen</translation>
    </message>
    <message>
        <source>Select file(s) to load</source>
        <translation>Datei(en) zum Laden wählen</translation>
    </message>
    <message>
        <source>Save As Graphics File</source>
        <translation>Als Grafikdatei speichern</translation>
    </message>
    <message>
        <source>PDF File (*.PDF)</source>
        <translation>PDF-Datei (*.PDF)</translation>
    </message>
    <message>
        <source>TIFF File (*.tif)</source>
        <translation>TIFF-Datei (*.tif)</translation>
    </message>
    <message>
        <source>BMP File (*.bmp)</source>
        <translation>BMP-Datei (*.bmp)</translation>
    </message>
    <message>
        <source>JPEG File (*.jpg)</source>
        <translation>JPEG-Datei (*.jpg)</translation>
    </message>
    <message>
        <source>PCX File (*.pcx)</source>
        <translation>PCX-Datei (*.pcx)</translation>
    </message>
    <message>
        <source>GIF File (*.gif)</source>
        <translation>GIF-Datei (*.gif)</translation>
    </message>
    <message>
        <source>PNG File (*.png)</source>
        <translation>PNG-Datei (*.png)</translation>
    </message>
    <message>
        <source>EPS File (*.eps)</source>
        <translation>EPS-Datei (*.eps)</translation>
    </message>
    <message>
        <source>TGA File (*.tga)</source>
        <translation>TGA-Datei (*.tga)</translation>
    </message>
    <message>
        <source>Recognising text, page %1 of %2</source>
        <translation>Texterkennung, Seite %1 von %2</translation>
    </message>
    <message>
        <source>Loading pages...</source>
        <translation>Seiten werden geladen...</translation>
    </message>
    <message>
        <source>%1 is protected. Password:</source>
        <translation>%1 ist geschützt. Passwort:</translation>
    </message>
    <message>
        <source>Wrong password for %1. Password:</source>
        <translation>Falsches Passwort für %1. Passwort:</translation>
    </message>
    <message>
        <source>Vellumo was not closed properly. Restore the %1 pages of the last session?</source>
        <translation>Vellumo wurde nicht ordnungsgemäß beendet. Die %1 Seiten der letzten Sitzung wiederherstellen?</translation>
    </message>
    <message>
        <source>1 page could not be restored because its file is missing.</source>
        <translation>1 Seite konnte nicht wiederhergestellt werden, weil ihre Datei fehlt.</translation>
    </message>
    <message>
        <source>%1 pages could not be restored because their files are missing.</source>
        <translation>%1 Seiten konnten nicht wiederhergestellt werden, weil ihre Dateien fehlen.</translation>
    </message>
    <message>
        <source>The list of pages of a session that was not closed properly could not be read (%1). It was set aside in %2.</source>
        <translation>Die Seitenliste einer nicht ordnungsgemäß beendeten Sitzung konnte nicht gelesen werden (%1). Sie wurde in %2 beiseitegelegt.</translation>
    </message>
    <message>
        <source>The folder for the pages cannot be used (%1). Pages are kept in the temporary folder and cannot be restored after a crash.</source>
        <translation>Der Ordner für die Seiten kann nicht benutzt werden (%1). Die Seiten werden im temporären Ordner aufbewahrt und können nach einem Absturz nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>The change was not made: the list of pages could not be saved in %1 (%2).</source>
        <translation>Die Änderung wurde nicht ausgeführt: Die Seitenliste konnte nicht in %1 gespeichert werden (%2).</translation>
    </message>
</context>
<context>
    <name>PageAction</name>
    <message>
        <source>load</source>
        <translation>laden</translation>
    </message>
    <message>
        <source>scan</source>
        <translation>scannen</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>löschen</translation>
    </message>
    <message>
        <source>move</source>
        <translation>verschieben</translation>
    </message>
    <message>
        <source>rotate right</source>
        <translation>rechts drehen</translation>
    </message>
    <message>
        <source>rotate left</source>
        <translation>links drehen</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>invertieren</translation>
    </message>
    <message>
        <source>mirror</source>
        <translation>spiegeln</translation>
    </message>
    <message>
        <source>clear list</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>change</source>
        <translation>ändern</translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>Fit page	F</source>
        <translation>Ganze Seite	F</translation>
    </message>
    <message>
        <source>Fit width	W</source>
        <translation>Seitenbreite	W</translation>
    </message>
    <message>
        <source>100 %	1</source>
        <translation>100 %	1</translation>
    </message>
    <message>
        <source>Zoom in	+</source>
        <translation>Vergrößern	+</translation>
    </message>
    <message>
        <source>Zoom out	-</source>
        <translation>Verkleinern	-</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Paper to PDF</source>
        <translation>Papier zu PDF</translation>
    </message>
    <message>
        <source>Scan or load pages</source>
        <translation>Seiten scannen oder laden</translation>
    </message>
    <message>
        <source>Check them in the list</source>
        <translation>In der Liste prüfen</translation>
    </message>
    <message>
        <source>Save or mail as PDF</source>
        <translation>Als PDF speichern oder senden</translation>
    </message>
    <message>
        <source>Click a page to view it, right-click to edit</source>
        <translation>Klick zeigt die Seite, Rechtsklick bearbeitet sie</translation>
    </message>
    <message>
        <source>Scanning mode</source>
        <translation>Scanmodus</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Page size</source>
        <translation>Seitengröße</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
</context>
<context>
    <name>ViewerWindow</name>
    <message>
        <source>Vellumo - Page %1 of %2</source>
        <translation>Vellumo - Seite %1 von %2</translation>
    </message>
    <message>
        <source>Cannot show %1:
%2</source>
        <translation>%1 kann nicht angezeigt werden:
%2</translation>
    </message>
</context>
</TS>
