<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>AppStream</name>
    <message>
        <source>Turn paper into PDF</source>
        <translation>Dalla carta al PDF</translation>
    </message>
    <message>
        <source>Vellumo scans pages from a scanner or loads image files, shows them as a list of thumbnails, and saves all pages as one PDF file or sends that PDF by e-mail.</source>
        <translation>Vellumo acquisisce pagine da uno scanner o carica file di immagine, li mostra come elenco di miniature e salva tutte le pagine in un solo file PDF o invia quel PDF per e-mail.</translation>
    </message>
    <message>
        <source>Scan from any SANE scanner, from the flatbed or the document feeder, in black and white, grey or colour</source>
        <translation>Acquisire con qualsiasi scanner SANE, dal piano o dall&apos;alimentatore, in bianco e nero, in grigi o a colori</translation>
    </message>
    <message>
        <source>Load TIFF, BMP, JPEG, PCX, GIF, PNG and TGA files as pages</source>
        <translation>Caricare file TIFF, BMP, JPEG, PCX, GIF, PNG e TGA come pagine</translation>
    </message>
    <message>
        <source>Rotate, invert, mirror, crop, reorder and delete pages; crop scanned pages automatically</source>
        <translation>Ruotare, invertire, specchiare, ritagliare, riordinare ed eliminare pagine; ritagliare automaticamente le pagine acquisite</translation>
    </message>
    <message>
        <source>Save the pages as one PDF, or save a page as an image file</source>
        <translation>Salvare le pagine in un solo PDF o salvare una pagina come immagine</translation>
    </message>
    <message>
        <source>Mail the PDF through the desktop&apos;s mail program or directly through an SMTP server</source>
        <translation>Inviare il PDF con il programma di posta del desktop o direttamente tramite un server SMTP</translation>
    </message>
    <message>
        <source>A command-line program, vellumo-cli, does the same without windows</source>
        <translation>Un programma a riga di comando, vellumo-cli, fa lo stesso senza finestre</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vellumo</source>
        <translation>Informazioni su Vellumo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versione %1</translation>
    </message>
    <message>
        <source>Send me mail!</source>
        <translation>Scrivetemi!</translation>
    </message>
</context>
<context>
    <name>CActivityDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Pagina %1 di %2</translation>
    </message>
</context>
<context>
    <name>CPageView</name>
    <message>
        <source>Scanned</source>
        <translation>Acquisita</translation>
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
        <translation>Pagina vuota</translation>
    </message>
    <message>
        <source>Waiting for its text</source>
        <translation>In attesa del testo</translation>
    </message>
</context>
<context>
    <name>CPreviewDlg</name>
    <message>
        <source>Vellumo - Scanned image preview</source>
        <translation>Vellumo - Anteprima dell&apos;immagine acquisita</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Dis&amp;card</source>
        <translation>&amp;Scarta</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>Sal&amp;va come...</translation>
    </message>
    <message>
        <source>&amp;Crop</source>
        <translation>&amp;Ritaglia</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>Ruota a &amp;sinistra</translation>
    </message>
    <message>
        <source>Rotate &amp;right</source>
        <translation>Ruota a &amp;destra</translation>
    </message>
    <message>
        <source>&amp;Upside down</source>
        <translation>&amp;Capovolgi</translation>
    </message>
    <message>
        <source>&amp;Invert image</source>
        <translation>&amp;Inverti</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Adatta</translation>
    </message>
</context>
<context>
    <name>CSendMailDlg</name>
    <message>
        <source>Vellumo - Send by email</source>
        <translation>Vellumo - Invia per e-mail</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Da:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>A:</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Oggetto:</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Messaggio:</translation>
    </message>
    <message>
        <source>Send mail</source>
        <translation>Invia</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>CSourceDialog</name>
    <message>
        <source>Select Source</source>
        <translation>Scegli la sorgente</translation>
    </message>
    <message>
        <source>Sources:</source>
        <translation>Sorgenti:</translation>
    </message>
</context>
<context>
    <name>CTabDocumentsDlg</name>
    <message>
        <source>Searchable PDFs: </source>
        <translation>PDF ricercabili: </translation>
    </message>
    <message>
        <source>Scanned pages: </source>
        <translation>Pagine scansionate: </translation>
    </message>
    <message>
        <source>Document Settings</source>
        <translation>Impostazioni documenti</translation>
    </message>
    <message>
        <source>Make PDFs searchable (recognise text)</source>
        <translation>Rendi i PDF ricercabili (riconosci il testo)</translation>
    </message>
    <message>
        <source>Languages to recognise:</source>
        <translation>Lingue da riconoscere:</translation>
    </message>
    <message>
        <source>Straighten pages</source>
        <translation>Raddrizza le pagine</translation>
    </message>
    <message>
        <source>Turn pages upright</source>
        <translation>Ruota le pagine dritte</translation>
    </message>
    <message>
        <source>Blank pages:</source>
        <translation>Pagine vuote:</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Segna</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Togli</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>No</translation>
    </message>
    <message>
        <source> - not installed</source>
        <translation> - non installata</translation>
    </message>
</context>
<context>
    <name>CTabEmailDlg</name>
    <message>
        <source>Email Settings</source>
        <translation>Impostazioni e-mail</translation>
    </message>
    <message>
        <source>Send email via SMTP server</source>
        <translation>Invia tramite server SMTP</translation>
    </message>
    <message>
        <source>To e-mail address:</source>
        <translation>Indirizzo destinatario:</translation>
    </message>
    <message>
        <source>Send e-mail using this SMTP server:</source>
        <translation>Invia tramite questo server SMTP:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Porta:</translation>
    </message>
    <message>
        <source>User id:</source>
        <translation>Utente:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>My e-mail address:</source>
        <translation>Il mio indirizzo:</translation>
    </message>
    <message>
        <source>Send test email</source>
        <translation>E-mail di prova</translation>
    </message>
</context>
<context>
    <name>CTabGeneralDlg</name>
    <message>
        <source>Brightness: </source>
        <translation>Luminosità: </translation>
    </message>
    <message>
        <source>Page size: </source>
        <translation>Formato: </translation>
    </message>
    <message>
        <source>Options: </source>
        <translation>Opzioni: </translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Impostazioni generali</translation>
    </message>
    <message>
        <source>Current TWAIN device:</source>
        <translation>Scanner attuale:</translation>
    </message>
    <message>
        <source>&amp;Select device</source>
        <translation>&amp;Scegli</translation>
    </message>
    <message>
        <source>Default scan parameters:</source>
        <translation>Valori predefiniti:</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Bianco e nero</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Scala di grigi</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Colori</translation>
    </message>
    <message>
        <source>Resolution in black and white:</source>
        <translation>Risoluzione bianco e nero:</translation>
    </message>
    <message>
        <source>Resolution in grey scales:</source>
        <translation>Risoluzione grigi:</translation>
    </message>
    <message>
        <source>Resolution in color:</source>
        <translation>Risoluzione colori:</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Scuro</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normale</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Chiaro</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Luminosità: la più chiara</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Luminosità: più chiara</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Luminosità: chiara</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Luminosità: normale</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Luminosità: scura</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Luminosità: più scura</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Luminosità: la più scura</translation>
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
        <translation>Compressione PDF in percento</translation>
    </message>
    <message>
        <source>&amp;Reset to factory defaults</source>
        <translation>&amp;Valori di fabbrica</translation>
    </message>
    <message>
        <source>Show scan result before saving it</source>
        <translation>Mostra la scansione prima di salvarla</translation>
    </message>
    <message>
        <source>Auto crop scanned images</source>
        <translation>Ritaglia automaticamente</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Senza alimentatore</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Fronte e retro</translation>
    </message>
    <message>
        <source>Invert scanned image</source>
        <translation>Inverti le scansioni</translation>
    </message>
    <message>
        <source>Compress PDF:</source>
        <translation>Comprimi PDF:</translation>
    </message>
    <message>
        <source>Make log file</source>
        <translation>Scrivi un registro</translation>
    </message>
</context>
<context>
    <name>CVellumoDlg</name>
    <message>
        <source>Pages</source>
        <translation>Pagine</translation>
    </message>
</context>
<context>
    <name>CVellumoTranslucentDlg</name>
    <message>
        <source>Pages ready to save (%1):</source>
        <translation>Pagine da salvare (%1):</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Rotate &amp;right</source>
        <translation>Ruota a &amp;destra</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>Ruota a &amp;sinistra</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Inverti</translation>
    </message>
    <message>
        <source>&amp;Mirror</source>
        <translation>&amp;Specchia</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Elimina</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>Sposta &amp;su</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Sposta &amp;giù</translation>
    </message>
    <message>
        <source>SCAN PAGE</source>
        <translation>ACQUISISCI</translation>
    </message>
    <message>
        <source>LOAD PAGE</source>
        <translation>CARICA</translation>
    </message>
    <message>
        <source>MAIL AS PDF</source>
        <translation>INVIA PDF</translation>
    </message>
    <message>
        <source>SAVE AS PDF</source>
        <translation>SALVA PDF</translation>
    </message>
    <message>
        <source>ABOUT</source>
        <translation>INFO</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>GUIDA</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Guida</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Riduci</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>HOME</translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation>IMPOSTAZIONI</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Generale</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Bianco e nero</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Scala di grigi</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Colori</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Luminosità: la più chiara</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Luminosità: più chiara</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Luminosità: chiara</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Luminosità: normale</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Luminosità: scura</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Luminosità: più scura</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Luminosità: la più scura</translation>
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
        <translation>Mostra la scansione prima di salvarla</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Senza alimentatore</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Fronte e retro</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Documenti</translation>
    </message>
    <message>
        <source>Straighten</source>
        <translation>Raddrizza</translation>
    </message>
    <message>
        <source>Turn upright</source>
        <translation>Ruota dritta</translation>
    </message>
    <message>
        <source>Delete blank pages</source>
        <translation>Elimina pagine vuote</translation>
    </message>
    <message>
        <source>Interleave (fronts, then backs)</source>
        <translation>Alterna (fronti, poi retri)</translation>
    </message>
    <message>
        <source>Interleave, backs reversed</source>
        <translation>Alterna, retri invertiti</translation>
    </message>
    <message>
        <source>Reverse order</source>
        <translation>Inverti ordine</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annulla</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annulla: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ripeti</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Ripeti: %1</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>Scan to PDF</source>
        <translation>Scansione in PDF</translation>
    </message>
    <message>
        <source>Scan pages or load image files, correct them and save or mail them as one PDF</source>
        <translation>Acquisisci pagine o carica immagini, correggile e salvale o inviale in un solo PDF</translation>
    </message>
    <message>
        <source>scan;scanner;PDF;document;paper;mail;</source>
        <translation>scansione;scanner;PDF;documento;carta;posta;</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Vellumo Help</source>
        <translation>Guida di Vellumo</translation>
    </message>
    <message>
        <source>Vellumo turns paper into PDF. You scan pages or load image files, see them as a list of thumbnails, correct them (rotate, invert, mirror, reorder, delete), and then save all pages as one PDF file or send that PDF by e-mail.</source>
        <translation>Vellumo trasforma la carta in PDF. Acquisisci pagine o carichi file di immagine, li vedi come elenco di miniature, li correggi (ruotare, invertire, specchiare, riordinare, eliminare) e poi salvi tutte le pagine in un solo file PDF o invii quel PDF per e-mail.</translation>
    </message>
    <message>
        <source>The window</source>
        <translation>La finestra</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Acquisire</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Caricare</translation>
    </message>
    <message>
        <source>The page list</source>
        <translation>L&apos;elenco delle pagine</translation>
    </message>
    <message>
        <source>Keys and drag and drop</source>
        <translation>Tasti e trascinamento</translation>
    </message>
    <message>
        <source>Correcting pages</source>
        <translation>Correggere le pagine</translation>
    </message>
    <message>
        <source>The preview</source>
        <translation>L&apos;anteprima</translation>
    </message>
    <message>
        <source>Saving and mailing</source>
        <translation>Salvare e inviare</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>The log file</source>
        <translation>Il registro</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Riga di comando</translation>
    </message>
    <message>
        <source>The left column holds the tabs &lt;b&gt;HOME&lt;/b&gt; and &lt;b&gt;SETTINGS&lt;/b&gt; (with its pages &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; below it), and the buttons &lt;b&gt;ABOUT&lt;/b&gt; and &lt;b&gt;HELP&lt;/b&gt;. In the home view the middle shows the page list with the number of pages above it, and the right column shows the buttons &lt;b&gt;SCAN PAGE&lt;/b&gt; and &lt;b&gt;LOAD PAGE&lt;/b&gt; above, &lt;b&gt;MAIL AS PDF&lt;/b&gt; and &lt;b&gt;SAVE AS PDF&lt;/b&gt; below, and the quick settings in between. The two round buttons at the top right minimise the window and end the program. Drag the window by any free spot of it.</source>
        <translation>La colonna di sinistra contiene le schede &lt;b&gt;HOME&lt;/b&gt; e &lt;b&gt;IMPOSTAZIONI&lt;/b&gt; (con le sue pagine &lt;b&gt;Generale&lt;/b&gt; ed &lt;b&gt;E-mail&lt;/b&gt; sotto) e i pulsanti &lt;b&gt;INFO&lt;/b&gt; e &lt;b&gt;GUIDA&lt;/b&gt;. Nella vista principale, al centro c&apos;è l&apos;elenco delle pagine con il loro numero sopra, e la colonna di destra mostra in alto i pulsanti &lt;b&gt;ACQUISISCI&lt;/b&gt; e &lt;b&gt;CARICA&lt;/b&gt;, in basso &lt;b&gt;INVIA PDF&lt;/b&gt; e &lt;b&gt;SALVA PDF&lt;/b&gt;, e in mezzo le impostazioni rapide. I due pulsanti rotondi in alto a destra riducono la finestra e chiudono il programma. Trascina la finestra da qualsiasi punto libero.</translation>
    </message>
    <message>
        <source>The quick settings act on the next scans only and are not kept when you end the program:</source>
        <translation>Le impostazioni rapide valgono solo per le prossime acquisizioni e non restano alla chiusura del programma:</translation>
    </message>
    <message>
        <source>&lt;b&gt;Scanning mode&lt;/b&gt;: black and white, grey scales or colour.</source>
        <translation>&lt;b&gt;Modo di acquisizione&lt;/b&gt;: bianco e nero, scala di grigi o colori.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brightness&lt;/b&gt;: seven steps from Dark on the left through Normal to Bright on the right.</source>
        <translation>&lt;b&gt;Luminosità&lt;/b&gt;: sette livelli, da Scuro a sinistra, passando per Normale, a Chiaro a destra.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Page size&lt;/b&gt;: Letter, A4, Legal or A3.</source>
        <translation>&lt;b&gt;Formato pagina&lt;/b&gt;: Letter, A4, Legal o A3.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Options&lt;/b&gt;: show the scan result before it joins the list (the preview), do not use the automatic document feeder, scan both sides of each sheet (duplex).</source>
        <translation>&lt;b&gt;Opzioni&lt;/b&gt;: mostrare il risultato prima che entri nell&apos;elenco (l&apos;anteprima), non usare l&apos;alimentatore automatico, acquisire entrambi i lati di ogni foglio (fronte e retro).</translation>
    </message>
    <message>
        <source>Pressing &lt;b&gt;HOME&lt;/b&gt; puts the quick settings back to the defaults stored on the General settings page. The keys: &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing; &lt;kbd&gt;Enter&lt;/kbd&gt; ends the program, and asks first when the list still holds pages.</source>
        <translation>&lt;b&gt;HOME&lt;/b&gt; riporta le impostazioni rapide ai valori salvati nella pagina Generale. I tasti: &lt;kbd&gt;Esc&lt;/kbd&gt; non fa nulla; &lt;kbd&gt;Invio&lt;/kbd&gt; chiude il programma, chiedendo prima se l&apos;elenco contiene ancora pagine.</translation>
    </message>
    <message>
        <source>Put the paper on the glass or in the feeder and press &lt;b&gt;SCAN PAGE&lt;/b&gt;. Vellumo talks to the scanner chosen on the General page (any scanner your system knows through SANE), using the scanning mode, resolution, brightness, feeder and duplex settings. While it scans, a small window shows what is happening and offers &lt;b&gt;Cancel&lt;/b&gt;. Each scanned page is kept in a private temporary file and appears in the page list as &lt;i&gt;Scanned&lt;/i&gt;. When the options say so, pages are inverted (white on black originals) or cropped to the paper automatically.</source>
        <translation>Metti la carta sul vetro o nell&apos;alimentatore e premi &lt;b&gt;ACQUISISCI&lt;/b&gt;. Vellumo usa lo scanner scelto nella pagina Generale (qualsiasi scanner che il sistema conosce tramite SANE), con le impostazioni di modo, risoluzione, luminosità, alimentatore e fronte-retro. Durante l&apos;acquisizione una piccola finestra mostra cosa succede e offre &lt;b&gt;Annulla&lt;/b&gt;. Ogni pagina acquisita è tenuta in un file temporaneo privato e compare nell&apos;elenco come &lt;i&gt;Acquisita&lt;/i&gt;. Se le opzioni lo dicono, le pagine vengono invertite (originali bianco su nero) o ritagliate automaticamente sulla carta.</translation>
    </message>
    <message>
        <source>Loading image files</source>
        <translation>Caricare file di immagine</translation>
    </message>
    <message>
        <source>&lt;b&gt;LOAD PAGE&lt;/b&gt; opens a file dialog in which you can choose one or more image files: TIFF, BMP, JPEG, PCX, GIF, PNG and TGA. Every file becomes a page at the end of the list, shown with its full path. Vellumo reads your files where they are: it never changes or deletes them. A file that cannot be read is reported and skipped.</source>
        <translation>&lt;b&gt;CARICA&lt;/b&gt; apre una finestra in cui scegliere uno o più file di immagine: TIFF, BMP, JPEG, PCX, GIF, PNG e TGA. Ogni file diventa una pagina in fondo all&apos;elenco, mostrata con il suo percorso completo. Vellumo legge i tuoi file dove si trovano: non li modifica né li elimina mai. Un file illeggibile viene segnalato e saltato.</translation>
    </message>
    <message>
        <source>The page list and its context menu</source>
        <translation>L&apos;elenco delle pagine e il suo menu</translation>
    </message>
    <message>
        <source>The list shows every page as a thumbnail, in the order they will appear in the PDF. The line above the list counts them. Click a page to open it in an image viewer (a program named &lt;code&gt;viewer&lt;/code&gt; beside Vellumo when there is one, otherwise your desktop&apos;s viewer).</source>
        <translation>L&apos;elenco mostra ogni pagina come miniatura, nell&apos;ordine in cui comparirà nel PDF. La riga sopra l&apos;elenco le conta. Un clic su una pagina la apre in un visualizzatore (un programma chiamato &lt;code&gt;viewer&lt;/code&gt; accanto a Vellumo, se c&apos;è, altrimenti il visualizzatore del desktop).</translation>
    </message>
    <message>
        <source>Right-click a page for its menu:</source>
        <translation>Un clic destro su una pagina apre il suo menu:</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Voce</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>Che cosa fa</translation>
    </message>
    <message>
        <source>Rotate right / Rotate left</source>
        <translation>Ruota a destra / Ruota a sinistra</translation>
    </message>
    <message>
        <source>turns the page a quarter turn clockwise or counter-clockwise</source>
        <translation>ruota la pagina di un quarto di giro in senso orario o antiorario</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Inverti</translation>
    </message>
    <message>
        <source>swaps black and white (light and dark)</source>
        <translation>scambia il nero e il bianco (chiaro e scuro)</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Specchia</translation>
    </message>
    <message>
        <source>flips the page left to right</source>
        <translation>specchia la pagina da sinistra a destra</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Elimina</translation>
    </message>
    <message>
        <source>asks, then removes the page from the list. A scanned page&apos;s temporary file is deleted; a loaded file of yours stays on disk.</source>
        <translation>chiede conferma, poi toglie la pagina dall&apos;elenco. Il file temporaneo di una pagina acquisita viene eliminato; un tuo file caricato resta sul disco.</translation>
    </message>
    <message>
        <source>Move up / Move down</source>
        <translation>Sposta su / Sposta giù</translation>
    </message>
    <message>
        <source>moves the selected page one place towards the start or the end of the list</source>
        <translation>sposta la pagina scelta di un posto verso l&apos;inizio o la fine dell&apos;elenco</translation>
    </message>
    <message>
        <source>Entries that are greyed out are not available in this build of the program.</source>
        <translation>Le voci in grigio non sono disponibili in questa versione del programma.</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Tasto</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Delete&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Canc&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>deletes the selected page, after the same question as the menu entry Delete</source>
        <translation>elimina la pagina scelta, dopo la stessa domanda della voce di menu Elimina</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;LOAD PAGE&lt;/b&gt;</source>
        <translation>come &lt;b&gt;CARICA&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;SAVE AS PDF&lt;/b&gt;</source>
        <translation>come &lt;b&gt;SALVA PDF&lt;/b&gt;</translation>
    </message>
    <message>
        <source>The keys work wherever the focus is in the window, not while a question or a file dialog is open. &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing in the main window, so the program never ends by accident.</source>
        <translation>I tasti funzionano in tutta la finestra, ma non mentre è aperta una domanda o una finestra dei file. &lt;kbd&gt;Esc&lt;/kbd&gt; non fa nulla nella finestra principale, così il programma non si chiude mai per errore.</translation>
    </message>
    <message>
        <source>Drop image files from your file manager on the page list to load them, in the order they were dropped, just as &lt;b&gt;LOAD PAGE&lt;/b&gt; loads them: a file (or folder) that cannot be read is reported and skipped, and your files stay where they are. Drag a thumbnail up or down within the list to move its page to the place you drop it on.</source>
        <translation>Trascina file di immagine dal gestore dei file sull&apos;elenco per caricarli, nell&apos;ordine in cui li rilasci, proprio come fa &lt;b&gt;CARICA&lt;/b&gt;: un file (o una cartella) illeggibile viene segnalato e saltato, e i tuoi file restano dove sono. Trascina una miniatura in su o in giù nell&apos;elenco per spostare la sua pagina nel punto in cui la rilasci.</translation>
    </message>
    <message>
        <source>While a PDF is being written for &lt;b&gt;SAVE AS PDF&lt;/b&gt; or &lt;b&gt;MAIL AS PDF&lt;/b&gt;, the bar in the small status window shows which page it is at.</source>
        <translation>Mentre un PDF viene scritto per &lt;b&gt;SALVA PDF&lt;/b&gt; o &lt;b&gt;INVIA PDF&lt;/b&gt;, la barra nella piccola finestra di stato mostra a che pagina è arrivato.</translation>
    </message>
    <message>
        <source>Rotating, inverting and mirroring never touch the original: each correction writes a new working copy of the page into a private temporary file and replaces the thumbnail. The working copies are deleted when the page is deleted, when the list is cleared and when the program ends.</source>
        <translation>Ruotare, invertire e specchiare non toccano mai l&apos;originale: ogni correzione scrive una nuova copia di lavoro della pagina in un file temporaneo privato e sostituisce la miniatura. Le copie di lavoro vengono eliminate quando si elimina la pagina, quando si svuota l&apos;elenco e alla chiusura del programma.</translation>
    </message>
    <message>
        <source>With the option &quot;show the scan result before saving it&quot; ticked, every scanned page is shown large before it joins the list. There you can look at it, correct it, keep it or throw it away.</source>
        <translation>Con l&apos;opzione «Mostra la scansione prima di salvarla» spuntata, ogni pagina acquisita viene mostrata in grande prima di entrare nell&apos;elenco. Lì puoi guardarla, correggerla, tenerla o scartarla.</translation>
    </message>
    <message>
        <source>Saving and mailing PDFs</source>
        <translation>Salvare e inviare PDF</translation>
    </message>
    <message>
        <source>&lt;b&gt;SAVE AS PDF&lt;/b&gt; asks for a file name and writes all pages, in list order, into one PDF file. Each page keeps its size on paper, taken from its resolution. With compression on (General page), colour and grey pages are stored as JPEG at the chosen quality; black and white pages are always stored losslessly. After saving, Vellumo offers to clear the list.</source>
        <translation>&lt;b&gt;SALVA PDF&lt;/b&gt; chiede un nome di file e scrive tutte le pagine, nell&apos;ordine dell&apos;elenco, in un solo file PDF. Ogni pagina mantiene la sua dimensione su carta, ricavata dalla risoluzione. Con la compressione attiva (pagina Generale), le pagine a colori e in grigi sono salvate come JPEG con la qualità scelta; le pagine in bianco e nero sempre senza perdita. Dopo il salvataggio Vellumo propone di svuotare l&apos;elenco.</translation>
    </message>
    <message>
        <source>&lt;b&gt;MAIL AS PDF&lt;/b&gt; builds the same PDF as &lt;code&gt;Images.pdf&lt;/code&gt; and sends it, either directly through the SMTP server set up on the Email page (you write the message in a small mail window; a progress bar with &lt;b&gt;Cancel&lt;/b&gt; shows the transfer), or by handing it to your desktop&apos;s mail program. Afterwards it offers to clear the list.</source>
        <translation>&lt;b&gt;INVIA PDF&lt;/b&gt; crea lo stesso PDF come &lt;code&gt;Images.pdf&lt;/code&gt; e lo invia, direttamente tramite il server SMTP impostato nella pagina E-mail (scrivi il messaggio in una piccola finestra; una barra di avanzamento con &lt;b&gt;Annulla&lt;/b&gt; mostra il trasferimento) oppure passandolo al programma di posta del desktop. Poi propone di svuotare l&apos;elenco.</translation>
    </message>
    <message>
        <source>When you end the program while the list still holds pages, Vellumo asks &quot;You didn&apos;t save or send the pages in the list. Quit anyway?&quot; so that nothing is lost by accident.</source>
        <translation>Se chiudi il programma mentre l&apos;elenco contiene ancora pagine, Vellumo chiede «Non hai salvato né inviato le pagine dell&apos;elenco. Uscire comunque?», così niente va perso per errore.</translation>
    </message>
    <message>
        <source>The settings pages</source>
        <translation>Le pagine delle impostazioni</translation>
    </message>
    <message>
        <source>Press &lt;b&gt;SETTINGS&lt;/b&gt; to open the settings view; &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; switch between its pages, &lt;b&gt;HOME&lt;/b&gt; or &lt;b&gt;SETTINGS&lt;/b&gt; again returns to the page list. Values are stored when you leave a page.</source>
        <translation>&lt;b&gt;IMPOSTAZIONI&lt;/b&gt; apre la vista delle impostazioni; &lt;b&gt;Generale&lt;/b&gt; ed &lt;b&gt;E-mail&lt;/b&gt; passano da una pagina all&apos;altra, &lt;b&gt;HOME&lt;/b&gt; o di nuovo &lt;b&gt;IMPOSTAZIONI&lt;/b&gt; riporta all&apos;elenco delle pagine. I valori vengono salvati quando lasci una pagina.</translation>
    </message>
    <message>
        <source>&lt;b&gt;General&lt;/b&gt;: the scanner to use; the default scanning mode, brightness, page size and options that the quick settings start from; the resolutions for black and white, grey and colour scans; automatic cropping and inverting; PDF compression and its quality; the log file.</source>
        <translation>&lt;b&gt;Generale&lt;/b&gt;: lo scanner; il modo, la luminosità, il formato e le opzioni da cui partono le impostazioni rapide; le risoluzioni per bianco e nero, grigi e colori; ritaglio e inversione automatici; la compressione PDF e la sua qualità; il registro.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Email&lt;/b&gt;: whether to send through SMTP or through the desktop&apos;s mail program; the SMTP server, port, user name, password and your address; an address to forward to.</source>
        <translation>&lt;b&gt;E-mail&lt;/b&gt;: se inviare tramite SMTP o con il programma di posta del desktop; il server SMTP, la porta, l&apos;utente, la password e il tuo indirizzo; un indirizzo di inoltro.</translation>
    </message>
    <message>
        <source>The settings are kept in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, readable by you alone.</source>
        <translation>Le impostazioni sono conservate in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, leggibile solo da te.</translation>
    </message>
    <message>
        <source>Tick &quot;Make log file&quot; on the General page and Vellumo writes one line with date and time for every step of its work (start, scanner talk, pages, PDF building, mailing, end) into &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in your documents folder. The file is only appended to; delete it when you no longer need it. It helps support find out what went wrong.</source>
        <translation>Spunta «Scrivi un registro» nella pagina Generale e Vellumo scrive una riga con data e ora per ogni passo del suo lavoro (avvio, scanner, pagine, creazione del PDF, invio, fine) in &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; nella cartella dei documenti. Il file si allunga soltanto; eliminalo quando non ti serve più. Aiuta l&apos;assistenza a capire che cosa non ha funzionato.</translation>
    </message>
    <message>
        <source>The command-line front end</source>
        <translation>La riga di comando</translation>
    </message>
    <message>
        <source>&lt;code&gt;vellumo-cli&lt;/code&gt; does the same work without windows, for scripts and automation. It loads image files, applies the page corrections, writes PDFs, scans from a SANE device and mails PDFs through SMTP, with the same engine and the same settings as the windows. The program lists its own commands and options when asked for its usage.</source>
        <translation>&lt;code&gt;vellumo-cli&lt;/code&gt; fa lo stesso lavoro senza finestre, per script e automazione. Carica file di immagine, corregge le pagine, scrive PDF, acquisisce da un dispositivo SANE e invia PDF tramite SMTP, con lo stesso motore e le stesse impostazioni delle finestre. Il programma elenca i suoi comandi e le sue opzioni quando gli si chiede come si usa.</translation>
    </message>
    <message>
        <source>The program itself accepts one switch: started with &lt;code&gt;/GO&lt;/code&gt; while another Vellumo is running, it asks that one to close first.</source>
        <translation>Il programma accetta un solo parametro: avviato con &lt;code&gt;/GO&lt;/code&gt; mentre un altro Vellumo è in funzione, chiede prima a quello di chiudersi.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Vellumo 3.07. Questions and reports: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, web site &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</source>
        <translation>Vellumo 3.07. Domande e segnalazioni: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, sito web &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Everything works from the keyboard too: &lt;kbd&gt;Tab&lt;/kbd&gt; moves from control to control in the order they stand on the screen, and a blue ring shows where you are; the arrow keys choose within a group of round buttons; &lt;kbd&gt;Space&lt;/kbd&gt; presses the button or ticks the box that has the ring. Screen readers name every control.</source>
        <translation>Tutto funziona anche da tastiera: &lt;kbd&gt;Tab&lt;/kbd&gt; passa da un controllo all&apos;altro nell&apos;ordine dello schermo, e un anello blu mostra dove sei; le frecce scelgono all&apos;interno di un gruppo di pulsanti rotondi; &lt;kbd&gt;Spazio&lt;/kbd&gt; preme il pulsante o spunta la casella che ha l&apos;anello. I lettori di schermo danno un nome a ogni controllo.</translation>
    </message>
    <message>
        <source>Vellumo speaks the language of your desktop when it knows it (German, French, Spanish, Italian, Dutch or Portuguese) and English otherwise. The log file is always in English.</source>
        <translation>Vellumo parla la lingua del tuo desktop quando la conosce (tedesco, francese, spagnolo, italiano, olandese o portoghese), altrimenti l&apos;inglese. Il registro è sempre in inglese.</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>*** Successfully created %1 ***</source>
        <translation>*** %1 è stato creato ***</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): invalid parameters</source>
        <translation>Impossibile creare il file PDF %1 (errore %2): parametri non validi</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), possibly because the file is in use by another application</source>
        <translation>Impossibile creare il file PDF %1 (errore %2), forse perché il file è in uso da un altro programma</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), PDF file already exists and could not be overwritten - it is possibly being held open by a PDF viewer application</source>
        <translation>Impossibile creare il file PDF %1 (errore %2): il file esiste già e non è stato possibile sovrascriverlo - forse un visualizzatore PDF lo tiene aperto</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): no images to be added</source>
        <translation>Impossibile creare il file PDF %1 (errore %2): nessuna immagine da aggiungere</translation>
    </message>
    <message>
        <source>Could not create PDF file %1: %2</source>
        <translation>Impossibile creare il file PDF %1: %2</translation>
    </message>
    <message>
        <source>Could not add image to PDF file %1 (error %2)</source>
        <translation>Impossibile aggiungere l&apos;immagine al file PDF %1 (errore %2)</translation>
    </message>
    <message>
        <source>Unsupported graphics format</source>
        <translation>Formato grafico non supportato</translation>
    </message>
    <message>
        <source>Creating PDF...</source>
        <translation>Creazione del PDF...</translation>
    </message>
    <message>
        <source>Creating mail message...</source>
        <translation>Creazione dell&apos;e-mail...</translation>
    </message>
    <message>
        <source>Looking for scanner...</source>
        <translation>Ricerca dello scanner...</translation>
    </message>
    <message>
        <source>Setting up scanner %1 ....</source>
        <translation>Preparazione dello scanner %1 ....</translation>
    </message>
    <message>
        <source>Scanning from %1 ....</source>
        <translation>Acquisizione da %1 ....</translation>
    </message>
    <message>
        <source>Saving image to temporary file ....</source>
        <translation>Salvataggio dell&apos;immagine in un file temporaneo ....</translation>
    </message>
    <message>
        <source>Error opening TWAIN session</source>
        <translation>Errore nell&apos;apertura della sessione dello scanner</translation>
    </message>
    <message>
        <source>Scanner doesn&apos;t support duplex mode</source>
        <translation>Lo scanner non acquisisce fronte e retro</translation>
    </message>
    <message>
        <source>The scanner is still busy with the last scan</source>
        <translation>Lo scanner è ancora occupato con l&apos;ultima acquisizione</translation>
    </message>
    <message>
        <source>Error while setting units:
%1</source>
        <translation>Errore nell&apos;impostare le unità:
%1</translation>
    </message>
    <message>
        <source>Error while setting pixel type:
%1</source>
        <translation>Errore nell&apos;impostare il tipo di pixel:
%1</translation>
    </message>
    <message>
        <source>Error while setting resolution:
%1</source>
        <translation>Errore nell&apos;impostare la risoluzione:
%1</translation>
    </message>
    <message>
        <source>Error while setting brightness to %1
%2</source>
        <translation>Errore nell&apos;impostare la luminosità a %1
%2</translation>
    </message>
    <message>
        <source>Error while setting image layout: capability not supported
%1</source>
        <translation>Errore nell&apos;impostare l&apos;area dell&apos;immagine: non supportato
%1</translation>
    </message>
    <message>
        <source>Error while setting XferCount
%1</source>
        <translation>Errore nell&apos;impostare il numero di pagine (XferCount)
%1</translation>
    </message>
    <message>
        <source>Error while scanning:
%1</source>
        <translation>Errore durante l&apos;acquisizione:
%1</translation>
    </message>
    <message>
        <source>Error while selecting data source:
%1</source>
        <translation>Errore nella scelta della sorgente:
%1</translation>
    </message>
    <message>
        <source>Error %1 while converting image</source>
        <translation>Errore %1 nel convertire l&apos;immagine</translation>
    </message>
    <message>
        <source>Error %1 while saving image</source>
        <translation>Errore %1 nel salvare l&apos;immagine</translation>
    </message>
    <message>
        <source>Nothing to save yet</source>
        <translation>Ancora niente da salvare</translation>
    </message>
    <message>
        <source>Nothing to mail yet</source>
        <translation>Ancora niente da inviare</translation>
    </message>
    <message>
        <source>Clear list of pages to save or send?</source>
        <translation>Svuotare l&apos;elenco delle pagine?</translation>
    </message>
    <message>
        <source>Clear list of pages to send?</source>
        <translation>Svuotare l&apos;elenco delle pagine da inviare?</translation>
    </message>
    <message>
        <source>Delete this image?</source>
        <translation>Eliminare questa immagine?</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>Nessuna pagina scelta</translation>
    </message>
    <message>
        <source>No need to move page</source>
        <translation>Non serve spostare la pagina</translation>
    </message>
    <message>
        <source>You didn&apos;t save or send the pages in the list. Quit anyway?</source>
        <translation>Non hai salvato né inviato le pagine dell&apos;elenco. Uscire comunque?</translation>
    </message>
    <message>
        <source>Unable to determine temporary file path</source>
        <translation>Cartella dei file temporanei non trovata</translation>
    </message>
    <message>
        <source>Unable to create temporary file</source>
        <translation>Impossibile creare il file temporaneo</translation>
    </message>
    <message>
        <source>Unable to initialize MIME</source>
        <translation>Impossibile avviare MIME</translation>
    </message>
    <message>
        <source>Unable to create message</source>
        <translation>Impossibile creare il messaggio</translation>
    </message>
    <message>
        <source>Unable to attach file</source>
        <translation>Impossibile allegare il file</translation>
    </message>
    <message>
        <source>Unable to initialize SMTP</source>
        <translation>Impossibile avviare SMTP</translation>
    </message>
    <message>
        <source>SMTP server requires authentication, but you did not specify a user-id and password for this server!</source>
        <translation>Il server SMTP richiede l&apos;autenticazione, ma per questo server non sono indicati utente e password!</translation>
    </message>
    <message>
        <source>Message successfully sent</source>
        <translation>Messaggio inviato</translation>
    </message>
    <message>
        <source>Message successfully sent to %1</source>
        <translation>Messaggio inviato a %1</translation>
    </message>
    <message>
        <source>Unable to deliver message to %1: %2</source>
        <translation>Impossibile consegnare il messaggio a %1: %2</translation>
    </message>
    <message>
        <source>Sending mail message, please wait ...</source>
        <translation>Invio dell&apos;e-mail, attendere ...</translation>
    </message>
    <message>
        <source>Sending mail, please wait ...</source>
        <translation>Invio dell&apos;e-mail, attendere ...</translation>
    </message>
    <message>
        <source>Connecting to mail server, please wait ...</source>
        <translation>Connessione al server di posta, attendere ...</translation>
    </message>
    <message>
        <source>Logging in to mail server, please wait ...</source>
        <translation>Accesso al server di posta, attendere ...</translation>
    </message>
    <message>
        <source>Could not find MAPI DLL</source>
        <translation>Nessun programma di posta trovato</translation>
    </message>
    <message>
        <source>Invalid MAPI DLL</source>
        <translation>Programma di posta non valido</translation>
    </message>
    <message>
        <source>No memory during MAPI send mail</source>
        <translation>Memoria insufficiente nel passare l&apos;e-mail</translation>
    </message>
    <message>
        <source>Error during MAPI send mail</source>
        <translation>Errore nel passare l&apos;e-mail</translation>
    </message>
    <message>
        <source>*** Mail application ended without errors ***</source>
        <translation>*** Il programma di posta è terminato senza errori ***</translation>
    </message>
    <message>
        <source>Select PDF file to save to</source>
        <translation>Scegli il file PDF in cui salvare</translation>
    </message>
    <message>
        <source>Select file(s) to load</source>
        <translation>Scegli i file da caricare</translation>
    </message>
    <message>
        <source>Save As Graphics File</source>
        <translation>Salva come immagine</translation>
    </message>
    <message>
        <source>PDF File (*.PDF)</source>
        <translation>File PDF (*.PDF)</translation>
    </message>
    <message>
        <source>TIFF File (*.tif)</source>
        <translation>File TIFF (*.tif)</translation>
    </message>
    <message>
        <source>BMP File (*.bmp)</source>
        <translation>File BMP (*.bmp)</translation>
    </message>
    <message>
        <source>JPEG File (*.jpg)</source>
        <translation>File JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>PCX File (*.pcx)</source>
        <translation>File PCX (*.pcx)</translation>
    </message>
    <message>
        <source>GIF File (*.gif)</source>
        <translation>File GIF (*.gif)</translation>
    </message>
    <message>
        <source>PNG File (*.png)</source>
        <translation>File PNG (*.png)</translation>
    </message>
    <message>
        <source>EPS File (*.eps)</source>
        <translation>File EPS (*.eps)</translation>
    </message>
    <message>
        <source>TGA File (*.tga)</source>
        <translation>File TGA (*.tga)</translation>
    </message>
    <message>
        <source>Recognising text, page %1 of %2</source>
        <translation>Riconoscimento del testo, pagina %1 di %2</translation>
    </message>
    <message>
        <source>Loading pages...</source>
        <translation>Caricamento delle pagine...</translation>
    </message>
    <message>
        <source>%1 is protected. Password:</source>
        <translation>%1 è protetto. Password:</translation>
    </message>
    <message>
        <source>Wrong password for %1. Password:</source>
        <translation>Password errata per %1. Password:</translation>
    </message>
    <message>
        <source>Vellumo was not closed properly. Restore the %1 pages of the last session?</source>
        <translation>Vellumo non è stato chiuso correttamente. Ripristinare le %1 pagine dell&apos;ultima sessione?</translation>
    </message>
    <message>
        <source>1 page could not be restored because its file is missing.</source>
        <translation>Non è stato possibile ripristinare 1 pagina perché manca il suo file.</translation>
    </message>
    <message>
        <source>%1 pages could not be restored because their files are missing.</source>
        <translation>Non è stato possibile ripristinare %1 pagine perché mancano i loro file.</translation>
    </message>
    <message>
        <source>The list of pages of a session that was not closed properly could not be read (%1). It was set aside in %2.</source>
        <translation>Non è stato possibile leggere l&apos;elenco delle pagine di una sessione non chiusa correttamente (%1). È stato messo da parte in %2.</translation>
    </message>
    <message>
        <source>The folder for the pages cannot be used (%1). Pages are kept in the temporary folder and cannot be restored after a crash.</source>
        <translation>Non è possibile usare la cartella delle pagine (%1). Le pagine sono tenute nella cartella temporanea e non potranno essere ripristinate dopo un arresto anomalo.</translation>
    </message>
    <message>
        <source>The change was not made: the list of pages could not be saved in %1 (%2).</source>
        <translation>La modifica non è stata eseguita: non è stato possibile salvare l&apos;elenco delle pagine in %1 (%2).</translation>
    </message>
</context>
<context>
    <name>PageAction</name>
    <message>
        <source>load</source>
        <translation>caricamento</translation>
    </message>
    <message>
        <source>scan</source>
        <translation>acquisizione</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>eliminazione</translation>
    </message>
    <message>
        <source>move</source>
        <translation>spostamento</translation>
    </message>
    <message>
        <source>rotate right</source>
        <translation>rotazione a destra</translation>
    </message>
    <message>
        <source>rotate left</source>
        <translation>rotazione a sinistra</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>inversione</translation>
    </message>
    <message>
        <source>mirror</source>
        <translation>specchiatura</translation>
    </message>
    <message>
        <source>clear list</source>
        <translation>svuotamento dell&apos;elenco</translation>
    </message>
    <message>
        <source>change</source>
        <translation>modifica</translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>Fit page	F</source>
        <translation>Pagina intera	F</translation>
    </message>
    <message>
        <source>Fit width	W</source>
        <translation>Larghezza pagina	W</translation>
    </message>
    <message>
        <source>100 %	1</source>
        <translation>100 %	1</translation>
    </message>
    <message>
        <source>Zoom in	+</source>
        <translation>Ingrandisci	+</translation>
    </message>
    <message>
        <source>Zoom out	-</source>
        <translation>Riduci	-</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Paper to PDF</source>
        <translation>Dalla carta al PDF</translation>
    </message>
    <message>
        <source>Scan or load pages</source>
        <translation>Acquisisci o carica</translation>
    </message>
    <message>
        <source>Check them in the list</source>
        <translation>Controlla nell&apos;elenco</translation>
    </message>
    <message>
        <source>Save or mail as PDF</source>
        <translation>Salva o invia in PDF</translation>
    </message>
    <message>
        <source>Click a page to view it, right-click to edit</source>
        <translation>Clic: vedi la pagina; clic destro: modificala</translation>
    </message>
    <message>
        <source>Scanning mode</source>
        <translation>Modo di acquisizione</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosità</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Scuro</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normale</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Chiaro</translation>
    </message>
    <message>
        <source>Page size</source>
        <translation>Formato pagina</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opzioni</translation>
    </message>
</context>
<context>
    <name>ViewerWindow</name>
    <message>
        <source>Vellumo - Page %1 of %2</source>
        <translation>Vellumo - Pagina %1 di %2</translation>
    </message>
    <message>
        <source>Cannot show %1:
%2</source>
        <translation>Impossibile mostrare %1:
%2</translation>
    </message>
</context>
</TS>
