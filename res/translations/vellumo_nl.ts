<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>AppStream</name>
    <message>
        <source>Turn paper into PDF</source>
        <translation>Van papier naar PDF</translation>
    </message>
    <message>
        <source>Vellumo scans pages from a scanner or loads image files, shows them as a list of thumbnails, and saves all pages as one PDF file or sends that PDF by e-mail.</source>
        <translation>Vellumo scant pagina&apos;s met een scanner of laadt afbeeldingen, toont ze als een lijst van miniaturen en bewaart alle pagina&apos;s als één PDF-bestand of verstuurt die PDF per e-mail.</translation>
    </message>
    <message>
        <source>Scan from any SANE scanner, from the flatbed or the document feeder, in black and white, grey or colour</source>
        <translation>Scannen met elke SANE-scanner, van de glasplaat of uit de invoer, in zwart-wit, grijs of kleur</translation>
    </message>
    <message>
        <source>Load TIFF, BMP, JPEG, PCX, GIF, PNG and TGA files as pages</source>
        <translation>TIFF-, BMP-, JPEG-, PCX-, GIF-, PNG- en TGA-bestanden als pagina&apos;s laden</translation>
    </message>
    <message>
        <source>Rotate, invert, mirror, crop, reorder and delete pages; crop scanned pages automatically</source>
        <translation>Pagina&apos;s draaien, omkeren, spiegelen, bijsnijden, herschikken en verwijderen; gescande pagina&apos;s automatisch bijsnijden</translation>
    </message>
    <message>
        <source>Save the pages as one PDF, or save a page as an image file</source>
        <translation>De pagina&apos;s als één PDF opslaan, of een pagina als afbeelding</translation>
    </message>
    <message>
        <source>Mail the PDF through the desktop&apos;s mail program or directly through an SMTP server</source>
        <translation>De PDF versturen met het e-mailprogramma van het bureaublad of rechtstreeks via een SMTP-server</translation>
    </message>
    <message>
        <source>A command-line program, vellumo-cli, does the same without windows</source>
        <translation>Een opdrachtregelprogramma, vellumo-cli, doet hetzelfde zonder vensters</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vellumo</source>
        <translation>Over Vellumo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versie %1</translation>
    </message>
    <message>
        <source>Send me mail!</source>
        <translation>Stuur me een mail!</translation>
    </message>
</context>
<context>
    <name>CActivityDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Pagina %1 van %2</translation>
    </message>
</context>
<context>
    <name>CPageView</name>
    <message>
        <source>Scanned</source>
        <translation>Gescand</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>Pagina %1: %2</translation>
    </message>
    <message>
        <source> (page %1)</source>
        <translation> (pagina %1)</translation>
    </message>
    <message>
        <source>Blank page</source>
        <translation>Lege pagina</translation>
    </message>
    <message>
        <source>Waiting for its text</source>
        <translation>Wacht op de tekst</translation>
    </message>
</context>
<context>
    <name>CPreviewDlg</name>
    <message>
        <source>Vellumo - Scanned image preview</source>
        <translation>Vellumo - Voorbeeld van de scan</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Dis&amp;card</source>
        <translation>&amp;Weggooien</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>Op&amp;slaan als...</translation>
    </message>
    <message>
        <source>&amp;Crop</source>
        <translation>&amp;Bijsnijden</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>&amp;Links draaien</translation>
    </message>
    <message>
        <source>Rotate &amp;right</source>
        <translation>&amp;Rechts draaien</translation>
    </message>
    <message>
        <source>&amp;Upside down</source>
        <translation>&amp;Ondersteboven</translation>
    </message>
    <message>
        <source>&amp;Invert image</source>
        <translation>Om&amp;keren</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Passend</translation>
    </message>
</context>
<context>
    <name>CSendMailDlg</name>
    <message>
        <source>Vellumo - Send by email</source>
        <translation>Vellumo - Per e-mail versturen</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Van:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Aan:</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Onderwerp:</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Bericht:</translation>
    </message>
    <message>
        <source>Send mail</source>
        <translation>Versturen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
</context>
<context>
    <name>CSourceDialog</name>
    <message>
        <source>Select Source</source>
        <translation>Bron kiezen</translation>
    </message>
    <message>
        <source>Sources:</source>
        <translation>Bronnen:</translation>
    </message>
</context>
<context>
    <name>CTabDocumentsDlg</name>
    <message>
        <source>Searchable PDFs: </source>
        <translation>Doorzoekbare PDF&apos;s: </translation>
    </message>
    <message>
        <source>Scanned pages: </source>
        <translation>Gescande pagina&apos;s: </translation>
    </message>
    <message>
        <source>Document Settings</source>
        <translation>Documentinstellingen</translation>
    </message>
    <message>
        <source>Make PDFs searchable (recognise text)</source>
        <translation>PDF&apos;s doorzoekbaar maken (tekst herkennen)</translation>
    </message>
    <message>
        <source>Languages to recognise:</source>
        <translation>Te herkennen talen:</translation>
    </message>
    <message>
        <source>Straighten pages</source>
        <translation>Pagina&apos;s rechtzetten</translation>
    </message>
    <message>
        <source>Turn pages upright</source>
        <translation>Pagina&apos;s rechtop draaien</translation>
    </message>
    <message>
        <source>Blank pages:</source>
        <translation>Lege pagina&apos;s:</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Markeren</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Weglaten</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Uit</translation>
    </message>
    <message>
        <source> - not installed</source>
        <translation> - niet geïnstalleerd</translation>
    </message>
</context>
<context>
    <name>CTabEmailDlg</name>
    <message>
        <source>Email Settings</source>
        <translation>E-mailinstellingen</translation>
    </message>
    <message>
        <source>Send email via SMTP server</source>
        <translation>Versturen via SMTP-server</translation>
    </message>
    <message>
        <source>To e-mail address:</source>
        <translation>Naar e-mailadres:</translation>
    </message>
    <message>
        <source>Send e-mail using this SMTP server:</source>
        <translation>Versturen via deze SMTP-server:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Poort:</translation>
    </message>
    <message>
        <source>User id:</source>
        <translation>Gebruiker:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Wachtwoord:</translation>
    </message>
    <message>
        <source>My e-mail address:</source>
        <translation>Mijn e-mailadres:</translation>
    </message>
    <message>
        <source>Send test email</source>
        <translation>Testmail versturen</translation>
    </message>
</context>
<context>
    <name>CTabGeneralDlg</name>
    <message>
        <source>Brightness: </source>
        <translation>Helderheid: </translation>
    </message>
    <message>
        <source>Page size: </source>
        <translation>Formaat: </translation>
    </message>
    <message>
        <source>Options: </source>
        <translation>Opties: </translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Algemene instellingen</translation>
    </message>
    <message>
        <source>Current TWAIN device:</source>
        <translation>Huidige scanner:</translation>
    </message>
    <message>
        <source>&amp;Select device</source>
        <translation>&amp;Kiezen</translation>
    </message>
    <message>
        <source>Default scan parameters:</source>
        <translation>Standaardwaarden:</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Zwart-wit scannen</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>In grijstinten scannen</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>In kleur scannen</translation>
    </message>
    <message>
        <source>Resolution in black and white:</source>
        <translation>Resolutie zwart-wit:</translation>
    </message>
    <message>
        <source>Resolution in grey scales:</source>
        <translation>Resolutie grijstinten:</translation>
    </message>
    <message>
        <source>Resolution in color:</source>
        <translation>Resolutie kleur:</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Donker</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normaal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Licht</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Helderheid: lichtst</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Helderheid: lichter</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Helderheid: licht</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Helderheid: normaal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Helderheid: donker</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Helderheid: donkerder</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Helderheid: donkerst</translation>
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
        <translation>PDF-compressie in procent</translation>
    </message>
    <message>
        <source>&amp;Reset to factory defaults</source>
        <translation>&amp;Fabriekswaarden</translation>
    </message>
    <message>
        <source>Show scan result before saving it</source>
        <translation>Scan tonen voor het opslaan</translation>
    </message>
    <message>
        <source>Auto crop scanned images</source>
        <translation>Scans automatisch bijsnijden</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Invoer uitschakelen</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Dubbelzijdig scannen</translation>
    </message>
    <message>
        <source>Invert scanned image</source>
        <translation>Scans omkeren</translation>
    </message>
    <message>
        <source>Compress PDF:</source>
        <translation>PDF comprimeren:</translation>
    </message>
    <message>
        <source>Make log file</source>
        <translation>Logbestand maken</translation>
    </message>
</context>
<context>
    <name>CVellumoDlg</name>
    <message>
        <source>Pages</source>
        <translation>Pagina&apos;s</translation>
    </message>
</context>
<context>
    <name>CVellumoTranslucentDlg</name>
    <message>
        <source>Pages ready to save (%1):</source>
        <translation>Pagina&apos;s klaar om op te slaan (%1):</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Rotate &amp;right</source>
        <translation>&amp;Rechts draaien</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>&amp;Links draaien</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>Om&amp;keren</translation>
    </message>
    <message>
        <source>&amp;Mirror</source>
        <translation>&amp;Spiegelen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Verwijderen</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>Naar &amp;boven</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Naar &amp;onder</translation>
    </message>
    <message>
        <source>SCAN PAGE</source>
        <translation>PAGINA SCANNEN</translation>
    </message>
    <message>
        <source>LOAD PAGE</source>
        <translation>PAGINA LADEN</translation>
    </message>
    <message>
        <source>MAIL AS PDF</source>
        <translation>PDF MAILEN</translation>
    </message>
    <message>
        <source>SAVE AS PDF</source>
        <translation>PDF OPSLAAN</translation>
    </message>
    <message>
        <source>ABOUT</source>
        <translation>OVER</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>HULP</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hulp</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimaliseren</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>START</translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation>INSTELLINGEN</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Algemeen</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Zwart-wit scannen</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>In grijstinten scannen</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>In kleur scannen</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Helderheid: lichtst</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Helderheid: lichter</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Helderheid: licht</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Helderheid: normaal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Helderheid: donker</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Helderheid: donkerder</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Helderheid: donkerst</translation>
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
        <translation>Scan tonen voor het opslaan</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Invoer uitschakelen</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Dubbelzijdig scannen</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Documenten</translation>
    </message>
    <message>
        <source>Straighten</source>
        <translation>Rechtzetten</translation>
    </message>
    <message>
        <source>Turn upright</source>
        <translation>Rechtop draaien</translation>
    </message>
    <message>
        <source>Delete blank pages</source>
        <translation>Lege pagina&apos;s verwijderen</translation>
    </message>
    <message>
        <source>Interleave (fronts, then backs)</source>
        <translation>Afwisselen (voorkanten, dan achterkanten)</translation>
    </message>
    <message>
        <source>Interleave, backs reversed</source>
        <translation>Afwisselen, achterkanten omgekeerd</translation>
    </message>
    <message>
        <source>Reverse order</source>
        <translation>Volgorde omkeren</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Ongedaan &amp;maken</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>Ongedaan &amp;maken: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Op&amp;nieuw</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>Op&amp;nieuw: %1</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>Scan to PDF</source>
        <translation>Scannen naar PDF</translation>
    </message>
    <message>
        <source>Scan pages or load image files, correct them and save or mail them as one PDF</source>
        <translation>Scan pagina&apos;s of laad afbeeldingen, corrigeer ze en bewaar of verstuur ze als één PDF</translation>
    </message>
    <message>
        <source>scan;scanner;PDF;document;paper;mail;</source>
        <translation>scannen;scanner;PDF;document;papier;e-mail;</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Vellumo Help</source>
        <translation>Vellumo-hulp</translation>
    </message>
    <message>
        <source>Vellumo turns paper into PDF. You scan pages or load image files, see them as a list of thumbnails, correct them (rotate, invert, mirror, reorder, delete), and then save all pages as one PDF file or send that PDF by e-mail.</source>
        <translation>Vellumo maakt van papier PDF. U scant pagina&apos;s of laadt afbeeldingen, ziet ze als een lijst van miniaturen, corrigeert ze (draaien, omkeren, spiegelen, herschikken, verwijderen) en bewaart daarna alle pagina&apos;s als één PDF-bestand of verstuurt die PDF per e-mail.</translation>
    </message>
    <message>
        <source>The window</source>
        <translation>Het venster</translation>
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
        <translation>De paginalijst</translation>
    </message>
    <message>
        <source>Keys and drag and drop</source>
        <translation>Toetsen en slepen</translation>
    </message>
    <message>
        <source>Correcting pages</source>
        <translation>Pagina&apos;s corrigeren</translation>
    </message>
    <message>
        <source>The preview</source>
        <translation>Het voorbeeld</translation>
    </message>
    <message>
        <source>Saving and mailing</source>
        <translation>Opslaan en mailen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>The log file</source>
        <translation>Het logbestand</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Opdrachtregel</translation>
    </message>
    <message>
        <source>The left column holds the tabs &lt;b&gt;HOME&lt;/b&gt; and &lt;b&gt;SETTINGS&lt;/b&gt; (with its pages &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; below it), and the buttons &lt;b&gt;ABOUT&lt;/b&gt; and &lt;b&gt;HELP&lt;/b&gt;. In the home view the middle shows the page list with the number of pages above it, and the right column shows the buttons &lt;b&gt;SCAN PAGE&lt;/b&gt; and &lt;b&gt;LOAD PAGE&lt;/b&gt; above, &lt;b&gt;MAIL AS PDF&lt;/b&gt; and &lt;b&gt;SAVE AS PDF&lt;/b&gt; below, and the quick settings in between. The two round buttons at the top right minimise the window and end the program. Drag the window by any free spot of it.</source>
        <translation>De linkerkolom bevat de tabbladen &lt;b&gt;START&lt;/b&gt; en &lt;b&gt;INSTELLINGEN&lt;/b&gt; (met de pagina&apos;s &lt;b&gt;Algemeen&lt;/b&gt; en &lt;b&gt;E-mail&lt;/b&gt; eronder) en de knoppen &lt;b&gt;OVER&lt;/b&gt; en &lt;b&gt;HULP&lt;/b&gt;. In de startweergave toont het midden de paginalijst met het aantal pagina&apos;s erboven, en de rechterkolom toont bovenaan de knoppen &lt;b&gt;PAGINA SCANNEN&lt;/b&gt; en &lt;b&gt;PAGINA LADEN&lt;/b&gt;, onderaan &lt;b&gt;PDF MAILEN&lt;/b&gt; en &lt;b&gt;PDF OPSLAAN&lt;/b&gt;, en daartussen de snelinstellingen. De twee ronde knoppen rechtsboven minimaliseren het venster en sluiten het programma af. Versleep het venster aan een willekeurige vrije plek.</translation>
    </message>
    <message>
        <source>The quick settings act on the next scans only and are not kept when you end the program:</source>
        <translation>De snelinstellingen gelden alleen voor de volgende scans en blijven niet bewaard als u het programma afsluit:</translation>
    </message>
    <message>
        <source>&lt;b&gt;Scanning mode&lt;/b&gt;: black and white, grey scales or colour.</source>
        <translation>&lt;b&gt;Scanmodus&lt;/b&gt;: zwart-wit, grijstinten of kleur.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brightness&lt;/b&gt;: seven steps from Dark on the left through Normal to Bright on the right.</source>
        <translation>&lt;b&gt;Helderheid&lt;/b&gt;: zeven stappen, van Donker links via Normaal naar Licht rechts.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Page size&lt;/b&gt;: Letter, A4, Legal or A3.</source>
        <translation>&lt;b&gt;Paginaformaat&lt;/b&gt;: Letter, A4, Legal of A3.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Options&lt;/b&gt;: show the scan result before it joins the list (the preview), do not use the automatic document feeder, scan both sides of each sheet (duplex).</source>
        <translation>&lt;b&gt;Opties&lt;/b&gt;: de scan tonen voordat hij in de lijst komt (het voorbeeld), de automatische invoer niet gebruiken, beide kanten van elk vel scannen (dubbelzijdig).</translation>
    </message>
    <message>
        <source>Pressing &lt;b&gt;HOME&lt;/b&gt; puts the quick settings back to the defaults stored on the General settings page. The keys: &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing; &lt;kbd&gt;Enter&lt;/kbd&gt; ends the program, and asks first when the list still holds pages.</source>
        <translation>&lt;b&gt;START&lt;/b&gt; zet de snelinstellingen terug op de standaardwaarden van de instellingenpagina Algemeen. De toetsen: &lt;kbd&gt;Esc&lt;/kbd&gt; doet niets; &lt;kbd&gt;Enter&lt;/kbd&gt; sluit het programma af en vraagt eerst of dat mag als de lijst nog pagina&apos;s bevat.</translation>
    </message>
    <message>
        <source>Put the paper on the glass or in the feeder and press &lt;b&gt;SCAN PAGE&lt;/b&gt;. Vellumo talks to the scanner chosen on the General page (any scanner your system knows through SANE), using the scanning mode, resolution, brightness, feeder and duplex settings. While it scans, a small window shows what is happening and offers &lt;b&gt;Cancel&lt;/b&gt;. Each scanned page is kept in a private temporary file and appears in the page list as &lt;i&gt;Scanned&lt;/i&gt;. When the options say so, pages are inverted (white on black originals) or cropped to the paper automatically.</source>
        <translation>Leg het papier op de glasplaat of in de invoer en druk op &lt;b&gt;PAGINA SCANNEN&lt;/b&gt;. Vellumo werkt met de scanner die op de pagina Algemeen is gekozen (elke scanner die uw systeem via SANE kent), met de instellingen voor scanmodus, resolutie, helderheid, invoer en dubbelzijdig. Tijdens het scannen toont een klein venster wat er gebeurt en biedt het &lt;b&gt;Annuleren&lt;/b&gt; aan. Elke gescande pagina staat in een privé tijdelijk bestand en verschijnt in de lijst als &lt;i&gt;Gescand&lt;/i&gt;. Als de opties dat zeggen, worden pagina&apos;s automatisch omgekeerd (wit op zwart) of op het papier bijgesneden.</translation>
    </message>
    <message>
        <source>Loading image files</source>
        <translation>Afbeeldingen laden</translation>
    </message>
    <message>
        <source>&lt;b&gt;LOAD PAGE&lt;/b&gt; opens a file dialog in which you can choose one or more image files: TIFF, BMP, JPEG, PCX, GIF, PNG and TGA. Every file becomes a page at the end of the list, shown with its full path. Vellumo reads your files where they are: it never changes or deletes them. A file that cannot be read is reported and skipped.</source>
        <translation>&lt;b&gt;PAGINA LADEN&lt;/b&gt; opent een bestandsvenster waarin u een of meer afbeeldingen kiest: TIFF, BMP, JPEG, PCX, GIF, PNG en TGA. Elk bestand wordt een pagina aan het eind van de lijst, getoond met het volledige pad. Vellumo leest uw bestanden waar ze staan: het wijzigt of verwijdert ze nooit. Een bestand dat niet te lezen is, wordt gemeld en overgeslagen.</translation>
    </message>
    <message>
        <source>The page list and its context menu</source>
        <translation>De paginalijst en haar menu</translation>
    </message>
    <message>
        <source>The list shows every page as a thumbnail, in the order they will appear in the PDF. The line above the list counts them. Click a page to open it in an image viewer (a program named &lt;code&gt;viewer&lt;/code&gt; beside Vellumo when there is one, otherwise your desktop&apos;s viewer).</source>
        <translation>De lijst toont elke pagina als miniatuur, in de volgorde waarin ze in de PDF komen. De regel boven de lijst telt ze. Klik op een pagina om haar te openen in een afbeeldingsviewer (een programma met de naam &lt;code&gt;viewer&lt;/code&gt; naast Vellumo als dat er is, anders de viewer van uw bureaublad).</translation>
    </message>
    <message>
        <source>Right-click a page for its menu:</source>
        <translation>Een rechtsklik op een pagina opent haar menu:</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>Wat het doet</translation>
    </message>
    <message>
        <source>Rotate right / Rotate left</source>
        <translation>Rechts draaien / Links draaien</translation>
    </message>
    <message>
        <source>turns the page a quarter turn clockwise or counter-clockwise</source>
        <translation>draait de pagina een kwartslag met of tegen de klok in</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Omkeren</translation>
    </message>
    <message>
        <source>swaps black and white (light and dark)</source>
        <translation>verwisselt zwart en wit (licht en donker)</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Spiegelen</translation>
    </message>
    <message>
        <source>flips the page left to right</source>
        <translation>spiegelt de pagina van links naar rechts</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Verwijderen</translation>
    </message>
    <message>
        <source>asks, then removes the page from the list. A scanned page&apos;s temporary file is deleted; a loaded file of yours stays on disk.</source>
        <translation>vraagt het eerst en haalt de pagina dan uit de lijst. Het tijdelijke bestand van een gescande pagina wordt verwijderd; een geladen bestand van u blijft op de schijf.</translation>
    </message>
    <message>
        <source>Move up / Move down</source>
        <translation>Naar boven / Naar onder</translation>
    </message>
    <message>
        <source>moves the selected page one place towards the start or the end of the list</source>
        <translation>verplaatst de gekozen pagina één plaats naar het begin of het eind van de lijst</translation>
    </message>
    <message>
        <source>Entries that are greyed out are not available in this build of the program.</source>
        <translation>Grijze items zijn in deze versie van het programma niet beschikbaar.</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Toets</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Delete&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Delete&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>deletes the selected page, after the same question as the menu entry Delete</source>
        <translation>verwijdert de gekozen pagina, na dezelfde vraag als het menu-item Verwijderen</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;LOAD PAGE&lt;/b&gt;</source>
        <translation>hetzelfde als &lt;b&gt;PAGINA LADEN&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;SAVE AS PDF&lt;/b&gt;</source>
        <translation>hetzelfde als &lt;b&gt;PDF OPSLAAN&lt;/b&gt;</translation>
    </message>
    <message>
        <source>The keys work wherever the focus is in the window, not while a question or a file dialog is open. &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing in the main window, so the program never ends by accident.</source>
        <translation>De toetsen werken overal in het venster, maar niet zolang een vraag of een bestandsvenster open is. &lt;kbd&gt;Esc&lt;/kbd&gt; doet niets in het hoofdvenster, zodat het programma nooit per ongeluk stopt.</translation>
    </message>
    <message>
        <source>Drop image files from your file manager on the page list to load them, in the order they were dropped, just as &lt;b&gt;LOAD PAGE&lt;/b&gt; loads them: a file (or folder) that cannot be read is reported and skipped, and your files stay where they are. Drag a thumbnail up or down within the list to move its page to the place you drop it on.</source>
        <translation>Sleep afbeeldingen uit uw bestandsbeheer naar de paginalijst om ze te laden, in de volgorde waarin u ze loslaat, precies zoals &lt;b&gt;PAGINA LADEN&lt;/b&gt; dat doet: een bestand (of map) dat niet te lezen is, wordt gemeld en overgeslagen, en uw bestanden blijven waar ze zijn. Sleep een miniatuur in de lijst omhoog of omlaag om haar pagina te verplaatsen naar de plek waar u haar loslaat.</translation>
    </message>
    <message>
        <source>While a PDF is being written for &lt;b&gt;SAVE AS PDF&lt;/b&gt; or &lt;b&gt;MAIL AS PDF&lt;/b&gt;, the bar in the small status window shows which page it is at.</source>
        <translation>Terwijl een PDF wordt geschreven voor &lt;b&gt;PDF OPSLAAN&lt;/b&gt; of &lt;b&gt;PDF MAILEN&lt;/b&gt;, toont de balk in het kleine statusvenster bij welke pagina het is.</translation>
    </message>
    <message>
        <source>Rotating, inverting and mirroring never touch the original: each correction writes a new working copy of the page into a private temporary file and replaces the thumbnail. The working copies are deleted when the page is deleted, when the list is cleared and when the program ends.</source>
        <translation>Draaien, omkeren en spiegelen raken het origineel nooit aan: elke correctie schrijft een nieuwe werkkopie van de pagina in een privé tijdelijk bestand en vervangt de miniatuur. De werkkopieën worden verwijderd als de pagina wordt verwijderd, als de lijst wordt leeggemaakt en als het programma stopt.</translation>
    </message>
    <message>
        <source>With the option &quot;show the scan result before saving it&quot; ticked, every scanned page is shown large before it joins the list. There you can look at it, correct it, keep it or throw it away.</source>
        <translation>Met de optie „Scan tonen voor het opslaan” aangevinkt, wordt elke gescande pagina groot getoond voordat ze in de lijst komt. Daar kunt u haar bekijken, corrigeren, houden of weggooien.</translation>
    </message>
    <message>
        <source>Saving and mailing PDFs</source>
        <translation>PDF&apos;s opslaan en mailen</translation>
    </message>
    <message>
        <source>&lt;b&gt;SAVE AS PDF&lt;/b&gt; asks for a file name and writes all pages, in list order, into one PDF file. Each page keeps its size on paper, taken from its resolution. With compression on (General page), colour and grey pages are stored as JPEG at the chosen quality; black and white pages are always stored losslessly. After saving, Vellumo offers to clear the list.</source>
        <translation>&lt;b&gt;PDF OPSLAAN&lt;/b&gt; vraagt om een bestandsnaam en schrijft alle pagina&apos;s, in de volgorde van de lijst, in één PDF-bestand. Elke pagina houdt haar formaat op papier, afgeleid van haar resolutie. Met compressie aan (pagina Algemeen) worden kleur- en grijspagina&apos;s als JPEG in de gekozen kwaliteit opgeslagen; zwart-witpagina&apos;s altijd zonder verlies. Na het opslaan biedt Vellumo aan de lijst leeg te maken.</translation>
    </message>
    <message>
        <source>&lt;b&gt;MAIL AS PDF&lt;/b&gt; builds the same PDF as &lt;code&gt;Images.pdf&lt;/code&gt; and sends it, either directly through the SMTP server set up on the Email page (you write the message in a small mail window; a progress bar with &lt;b&gt;Cancel&lt;/b&gt; shows the transfer), or by handing it to your desktop&apos;s mail program. Afterwards it offers to clear the list.</source>
        <translation>&lt;b&gt;PDF MAILEN&lt;/b&gt; maakt dezelfde PDF als &lt;code&gt;Images.pdf&lt;/code&gt; en verstuurt hem, rechtstreeks via de SMTP-server van de pagina E-mail (u schrijft het bericht in een klein venster; een voortgangsbalk met &lt;b&gt;Annuleren&lt;/b&gt; toont de overdracht) of door hem aan het e-mailprogramma van uw bureaublad te geven. Daarna biedt het aan de lijst leeg te maken.</translation>
    </message>
    <message>
        <source>When you end the program while the list still holds pages, Vellumo asks &quot;You didn&apos;t save or send the pages in the list. Quit anyway?&quot; so that nothing is lost by accident.</source>
        <translation>Als u het programma afsluit terwijl de lijst nog pagina&apos;s bevat, vraagt Vellumo „U hebt de pagina&apos;s in de lijst niet opgeslagen of verstuurd. Toch afsluiten?”, zodat niets per ongeluk verloren gaat.</translation>
    </message>
    <message>
        <source>The settings pages</source>
        <translation>De instellingenpagina&apos;s</translation>
    </message>
    <message>
        <source>Press &lt;b&gt;SETTINGS&lt;/b&gt; to open the settings view; &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; switch between its pages, &lt;b&gt;HOME&lt;/b&gt; or &lt;b&gt;SETTINGS&lt;/b&gt; again returns to the page list. Values are stored when you leave a page.</source>
        <translation>&lt;b&gt;INSTELLINGEN&lt;/b&gt; opent de instellingenweergave; &lt;b&gt;Algemeen&lt;/b&gt; en &lt;b&gt;E-mail&lt;/b&gt; wisselen tussen de pagina&apos;s, &lt;b&gt;START&lt;/b&gt; of nogmaals &lt;b&gt;INSTELLINGEN&lt;/b&gt; gaat terug naar de paginalijst. De waarden worden bewaard als u een pagina verlaat.</translation>
    </message>
    <message>
        <source>&lt;b&gt;General&lt;/b&gt;: the scanner to use; the default scanning mode, brightness, page size and options that the quick settings start from; the resolutions for black and white, grey and colour scans; automatic cropping and inverting; PDF compression and its quality; the log file.</source>
        <translation>&lt;b&gt;Algemeen&lt;/b&gt;: de scanner; de scanmodus, helderheid, het paginaformaat en de opties waarmee de snelinstellingen beginnen; de resoluties voor zwart-wit-, grijs- en kleurscans; automatisch bijsnijden en omkeren; de PDF-compressie en haar kwaliteit; het logbestand.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Email&lt;/b&gt;: whether to send through SMTP or through the desktop&apos;s mail program; the SMTP server, port, user name, password and your address; an address to forward to.</source>
        <translation>&lt;b&gt;E-mail&lt;/b&gt;: versturen via SMTP of via het e-mailprogramma van het bureaublad; de SMTP-server, poort, gebruikersnaam, wachtwoord en uw adres; een adres om door te sturen.</translation>
    </message>
    <message>
        <source>The settings are kept in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, readable by you alone.</source>
        <translation>De instellingen staan in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, alleen voor u leesbaar.</translation>
    </message>
    <message>
        <source>Tick &quot;Make log file&quot; on the General page and Vellumo writes one line with date and time for every step of its work (start, scanner talk, pages, PDF building, mailing, end) into &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in your documents folder. The file is only appended to; delete it when you no longer need it. It helps support find out what went wrong.</source>
        <translation>Vink „Logbestand maken” aan op de pagina Algemeen en Vellumo schrijft voor elke stap van zijn werk (start, scanner, pagina&apos;s, PDF maken, mailen, einde) een regel met datum en tijd in &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in uw documentenmap. Het bestand groeit alleen aan; verwijder het als u het niet meer nodig hebt. Het helpt de ondersteuning te achterhalen wat er misging.</translation>
    </message>
    <message>
        <source>The command-line front end</source>
        <translation>De opdrachtregel</translation>
    </message>
    <message>
        <source>&lt;code&gt;vellumo-cli&lt;/code&gt; does the same work without windows, for scripts and automation. It loads image files, applies the page corrections, writes PDFs, scans from a SANE device and mails PDFs through SMTP, with the same engine and the same settings as the windows. The program lists its own commands and options when asked for its usage.</source>
        <translation>&lt;code&gt;vellumo-cli&lt;/code&gt; doet hetzelfde werk zonder vensters, voor scripts en automatisering. Het laadt afbeeldingen, corrigeert pagina&apos;s, schrijft PDF&apos;s, scant met een SANE-apparaat en mailt PDF&apos;s via SMTP, met dezelfde techniek en dezelfde instellingen als de vensters. Het programma noemt zijn opdrachten en opties als u naar het gebruik vraagt.</translation>
    </message>
    <message>
        <source>The program itself accepts one switch: started with &lt;code&gt;/GO&lt;/code&gt; while another Vellumo is running, it asks that one to close first.</source>
        <translation>Het programma zelf kent één schakelaar: gestart met &lt;code&gt;/GO&lt;/code&gt; terwijl een andere Vellumo draait, vraagt het die eerst te sluiten.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Over</translation>
    </message>
    <message>
        <source>Vellumo 3.07. Questions and reports: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, web site &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</source>
        <translation>Vellumo 3.07. Vragen en meldingen: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, website &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Everything works from the keyboard too: &lt;kbd&gt;Tab&lt;/kbd&gt; moves from control to control in the order they stand on the screen, and a blue ring shows where you are; the arrow keys choose within a group of round buttons; &lt;kbd&gt;Space&lt;/kbd&gt; presses the button or ticks the box that has the ring. Screen readers name every control.</source>
        <translation>Alles werkt ook met het toetsenbord: &lt;kbd&gt;Tab&lt;/kbd&gt; gaat van element naar element in de volgorde op het scherm, en een blauwe ring toont waar u bent; de pijltoetsen kiezen binnen een groep ronde knoppen; de &lt;kbd&gt;spatiebalk&lt;/kbd&gt; drukt de knop in of vinkt het vakje aan dat de ring heeft. Schermlezers noemen elk element bij naam.</translation>
    </message>
    <message>
        <source>Vellumo speaks the language of your desktop when it knows it (German, French, Spanish, Italian, Dutch or Portuguese) and English otherwise. The log file is always in English.</source>
        <translation>Vellumo spreekt de taal van uw bureaublad als het die kent (Duits, Frans, Spaans, Italiaans, Nederlands of Portugees), en anders Engels. Het logbestand is altijd Engels.</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>*** Successfully created %1 ***</source>
        <translation>*** %1 is gemaakt ***</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): invalid parameters</source>
        <translation>Het PDF-bestand %1 kon niet worden gemaakt (fout %2): ongeldige parameters</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), possibly because the file is in use by another application</source>
        <translation>Het PDF-bestand %1 kon niet worden gemaakt (fout %2), misschien omdat een ander programma het bestand gebruikt</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), PDF file already exists and could not be overwritten - it is possibly being held open by a PDF viewer application</source>
        <translation>Het PDF-bestand %1 kon niet worden gemaakt (fout %2): het bestand bestaat al en kon niet worden overschreven - misschien houdt een PDF-lezer het open</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): no images to be added</source>
        <translation>Het PDF-bestand %1 kon niet worden gemaakt (fout %2): geen afbeeldingen om toe te voegen</translation>
    </message>
    <message>
        <source>Could not create PDF file %1: %2</source>
        <translation>Het PDF-bestand %1 kon niet worden gemaakt: %2</translation>
    </message>
    <message>
        <source>Could not add image to PDF file %1 (error %2)</source>
        <translation>De afbeelding kon niet aan het PDF-bestand %1 worden toegevoegd (fout %2)</translation>
    </message>
    <message>
        <source>Unsupported graphics format</source>
        <translation>Niet ondersteund afbeeldingsformaat</translation>
    </message>
    <message>
        <source>Creating PDF...</source>
        <translation>PDF maken...</translation>
    </message>
    <message>
        <source>Creating mail message...</source>
        <translation>E-mail maken...</translation>
    </message>
    <message>
        <source>Looking for scanner...</source>
        <translation>Scanner zoeken...</translation>
    </message>
    <message>
        <source>Setting up scanner %1 ....</source>
        <translation>Scanner %1 instellen ....</translation>
    </message>
    <message>
        <source>Scanning from %1 ....</source>
        <translation>Scannen met %1 ....</translation>
    </message>
    <message>
        <source>Saving image to temporary file ....</source>
        <translation>Afbeelding in tijdelijk bestand opslaan ....</translation>
    </message>
    <message>
        <source>Error opening TWAIN session</source>
        <translation>Fout bij het openen van de scannersessie</translation>
    </message>
    <message>
        <source>Scanner doesn&apos;t support duplex mode</source>
        <translation>De scanner kan niet dubbelzijdig scannen</translation>
    </message>
    <message>
        <source>The scanner is still busy with the last scan</source>
        <translation>De scanner is nog bezig met de laatste scan</translation>
    </message>
    <message>
        <source>Error while setting units:
%1</source>
        <translation>Fout bij het instellen van de eenheden:
%1</translation>
    </message>
    <message>
        <source>Error while setting pixel type:
%1</source>
        <translation>Fout bij het instellen van het pixeltype:
%1</translation>
    </message>
    <message>
        <source>Error while setting resolution:
%1</source>
        <translation>Fout bij het instellen van de resolutie:
%1</translation>
    </message>
    <message>
        <source>Error while setting brightness to %1
%2</source>
        <translation>Fout bij het instellen van de helderheid op %1
%2</translation>
    </message>
    <message>
        <source>Error while setting image layout: capability not supported
%1</source>
        <translation>Fout bij het instellen van het beeldgebied: niet ondersteund
%1</translation>
    </message>
    <message>
        <source>Error while setting XferCount
%1</source>
        <translation>Fout bij het instellen van het aantal pagina&apos;s (XferCount)
%1</translation>
    </message>
    <message>
        <source>Error while scanning:
%1</source>
        <translation>Fout bij het scannen:
%1</translation>
    </message>
    <message>
        <source>Error while selecting data source:
%1</source>
        <translation>Fout bij het kiezen van de bron:
%1</translation>
    </message>
    <message>
        <source>Error %1 while converting image</source>
        <translation>Fout %1 bij het omzetten van de afbeelding</translation>
    </message>
    <message>
        <source>Error %1 while saving image</source>
        <translation>Fout %1 bij het opslaan van de afbeelding</translation>
    </message>
    <message>
        <source>Nothing to save yet</source>
        <translation>Nog niets om op te slaan</translation>
    </message>
    <message>
        <source>Nothing to mail yet</source>
        <translation>Nog niets om te versturen</translation>
    </message>
    <message>
        <source>Clear list of pages to save or send?</source>
        <translation>De lijst met pagina&apos;s leegmaken?</translation>
    </message>
    <message>
        <source>Clear list of pages to send?</source>
        <translation>De lijst met te versturen pagina&apos;s leegmaken?</translation>
    </message>
    <message>
        <source>Delete this image?</source>
        <translation>Deze afbeelding verwijderen?</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>Geen pagina gekozen</translation>
    </message>
    <message>
        <source>No need to move page</source>
        <translation>De pagina hoeft niet te worden verplaatst</translation>
    </message>
    <message>
        <source>You didn&apos;t save or send the pages in the list. Quit anyway?</source>
        <translation>U hebt de pagina&apos;s in de lijst niet opgeslagen of verstuurd. Toch afsluiten?</translation>
    </message>
    <message>
        <source>Unable to determine temporary file path</source>
        <translation>De map voor tijdelijke bestanden is onbekend</translation>
    </message>
    <message>
        <source>Unable to create temporary file</source>
        <translation>Het tijdelijke bestand kon niet worden gemaakt</translation>
    </message>
    <message>
        <source>Unable to initialize MIME</source>
        <translation>MIME kon niet worden gestart</translation>
    </message>
    <message>
        <source>Unable to create message</source>
        <translation>Het bericht kon niet worden gemaakt</translation>
    </message>
    <message>
        <source>Unable to attach file</source>
        <translation>Het bestand kon niet worden bijgevoegd</translation>
    </message>
    <message>
        <source>Unable to initialize SMTP</source>
        <translation>SMTP kon niet worden gestart</translation>
    </message>
    <message>
        <source>SMTP server requires authentication, but you did not specify a user-id and password for this server!</source>
        <translation>De SMTP-server vraagt om aanmelding, maar voor deze server zijn geen gebruiker en wachtwoord opgegeven!</translation>
    </message>
    <message>
        <source>Message successfully sent</source>
        <translation>Bericht verstuurd</translation>
    </message>
    <message>
        <source>Message successfully sent to %1</source>
        <translation>Bericht verstuurd naar %1</translation>
    </message>
    <message>
        <source>Unable to deliver message to %1: %2</source>
        <translation>Het bericht aan %1 kon niet worden bezorgd: %2</translation>
    </message>
    <message>
        <source>Sending mail message, please wait ...</source>
        <translation>E-mail versturen, even geduld ...</translation>
    </message>
    <message>
        <source>Sending mail, please wait ...</source>
        <translation>E-mail versturen, even geduld ...</translation>
    </message>
    <message>
        <source>Connecting to mail server, please wait ...</source>
        <translation>Verbinden met de mailserver, even geduld ...</translation>
    </message>
    <message>
        <source>Logging in to mail server, please wait ...</source>
        <translation>Aanmelden bij de mailserver, even geduld ...</translation>
    </message>
    <message>
        <source>Could not find MAPI DLL</source>
        <translation>Geen e-mailprogramma gevonden</translation>
    </message>
    <message>
        <source>Invalid MAPI DLL</source>
        <translation>Ongeldig e-mailprogramma</translation>
    </message>
    <message>
        <source>No memory during MAPI send mail</source>
        <translation>Te weinig geheugen bij het doorgeven van de e-mail</translation>
    </message>
    <message>
        <source>Error during MAPI send mail</source>
        <translation>Fout bij het doorgeven van de e-mail</translation>
    </message>
    <message>
        <source>*** Mail application ended without errors ***</source>
        <translation>*** Het e-mailprogramma is zonder fouten beëindigd ***</translation>
    </message>
    <message>
        <source>Select PDF file to save to</source>
        <translation>PDF-bestand kiezen om in op te slaan</translation>
    </message>
    <message>
        <source>Select file(s) to load</source>
        <translation>Bestand(en) kiezen om te laden</translation>
    </message>
    <message>
        <source>Save As Graphics File</source>
        <translation>Opslaan als afbeelding</translation>
    </message>
    <message>
        <source>PDF File (*.PDF)</source>
        <translation>PDF-bestand (*.PDF)</translation>
    </message>
    <message>
        <source>TIFF File (*.tif)</source>
        <translation>TIFF-bestand (*.tif)</translation>
    </message>
    <message>
        <source>BMP File (*.bmp)</source>
        <translation>BMP-bestand (*.bmp)</translation>
    </message>
    <message>
        <source>JPEG File (*.jpg)</source>
        <translation>JPEG-bestand (*.jpg)</translation>
    </message>
    <message>
        <source>PCX File (*.pcx)</source>
        <translation>PCX-bestand (*.pcx)</translation>
    </message>
    <message>
        <source>GIF File (*.gif)</source>
        <translation>GIF-bestand (*.gif)</translation>
    </message>
    <message>
        <source>PNG File (*.png)</source>
        <translation>PNG-bestand (*.png)</translation>
    </message>
    <message>
        <source>EPS File (*.eps)</source>
        <translation>EPS-bestand (*.eps)</translation>
    </message>
    <message>
        <source>TGA File (*.tga)</source>
        <translation>TGA-bestand (*.tga)</translation>
    </message>
    <message>
        <source>Recognising text, page %1 of %2</source>
        <translation>Tekst herkennen, pagina %1 van %2</translation>
    </message>
    <message>
        <source>Loading pages...</source>
        <translation>Pagina's laden...</translation>
    </message>
    <message>
        <source>%1 is protected. Password:</source>
        <translation>%1 is beveiligd. Wachtwoord:</translation>
    </message>
    <message>
        <source>Wrong password for %1. Password:</source>
        <translation>Onjuist wachtwoord voor %1. Wachtwoord:</translation>
    </message>
    <message>
        <source>Vellumo was not closed properly. Restore the %1 pages of the last session?</source>
        <translation>Vellumo is niet goed afgesloten. De %1 pagina&apos;s van de vorige sessie herstellen?</translation>
    </message>
    <message>
        <source>1 page could not be restored because its file is missing.</source>
        <translation>1 pagina kon niet worden hersteld omdat het bestand ervan ontbreekt.</translation>
    </message>
    <message>
        <source>%1 pages could not be restored because their files are missing.</source>
        <translation>%1 pagina&apos;s konden niet worden hersteld omdat hun bestanden ontbreken.</translation>
    </message>
    <message>
        <source>The list of pages of a session that was not closed properly could not be read (%1). It was set aside in %2.</source>
        <translation>De paginalijst van een sessie die niet goed is afgesloten kon niet worden gelezen (%1). Hij is apart gezet in %2.</translation>
    </message>
    <message>
        <source>The folder for the pages cannot be used (%1). Pages are kept in the temporary folder and cannot be restored after a crash.</source>
        <translation>De map voor de pagina&apos;s kan niet worden gebruikt (%1). De pagina&apos;s worden in de tijdelijke map bewaard en kunnen na een crash niet worden hersteld.</translation>
    </message>
    <message>
        <source>The change was not made: the list of pages could not be saved in %1 (%2).</source>
        <translation>De wijziging is niet uitgevoerd: de paginalijst kon niet worden opgeslagen in %1 (%2).</translation>
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
        <translation>verwijderen</translation>
    </message>
    <message>
        <source>move</source>
        <translation>verplaatsen</translation>
    </message>
    <message>
        <source>rotate right</source>
        <translation>rechts draaien</translation>
    </message>
    <message>
        <source>rotate left</source>
        <translation>links draaien</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>omkeren</translation>
    </message>
    <message>
        <source>mirror</source>
        <translation>spiegelen</translation>
    </message>
    <message>
        <source>clear list</source>
        <translation>lijst leegmaken</translation>
    </message>
    <message>
        <source>change</source>
        <translation>wijziging</translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>Fit page	F</source>
        <translation>Hele pagina	F</translation>
    </message>
    <message>
        <source>Fit width	W</source>
        <translation>Paginabreedte	W</translation>
    </message>
    <message>
        <source>100 %	1</source>
        <translation>100 %	1</translation>
    </message>
    <message>
        <source>Zoom in	+</source>
        <translation>Inzoomen	+</translation>
    </message>
    <message>
        <source>Zoom out	-</source>
        <translation>Uitzoomen	-</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Paper to PDF</source>
        <translation>Van papier naar PDF</translation>
    </message>
    <message>
        <source>Scan or load pages</source>
        <translation>Pagina&apos;s scannen of laden</translation>
    </message>
    <message>
        <source>Check them in the list</source>
        <translation>In de lijst controleren</translation>
    </message>
    <message>
        <source>Save or mail as PDF</source>
        <translation>Als PDF opslaan of mailen</translation>
    </message>
    <message>
        <source>Click a page to view it, right-click to edit</source>
        <translation>Klik: pagina bekijken; rechtsklik: bewerken</translation>
    </message>
    <message>
        <source>Scanning mode</source>
        <translation>Scanmodus</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helderheid</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Donker</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normaal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Licht</translation>
    </message>
    <message>
        <source>Page size</source>
        <translation>Paginaformaat</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opties</translation>
    </message>
</context>
<context>
    <name>ViewerWindow</name>
    <message>
        <source>Vellumo - Page %1 of %2</source>
        <translation>Vellumo - Pagina %1 van %2</translation>
    </message>
    <message>
        <source>Cannot show %1:
%2</source>
        <translation>Kan %1 niet tonen:
%2</translation>
    </message>
</context>
</TS>
