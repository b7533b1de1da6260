<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AppStream</name>
    <message>
        <source>Turn paper into PDF</source>
        <translation>Convierta el papel en PDF</translation>
    </message>
    <message>
        <source>Vellumo scans pages from a scanner or loads image files, shows them as a list of thumbnails, and saves all pages as one PDF file or sends that PDF by e-mail.</source>
        <translation>Vellumo escanea páginas con un escáner o carga archivos de imagen, los muestra como una lista de miniaturas y guarda todas las páginas en un solo archivo PDF o envía ese PDF por correo.</translation>
    </message>
    <message>
        <source>Scan from any SANE scanner, from the flatbed or the document feeder, in black and white, grey or colour</source>
        <translation>Escanear con cualquier escáner SANE, desde el cristal o el alimentador, en blanco y negro, en grises o en color</translation>
    </message>
    <message>
        <source>Load TIFF, BMP, JPEG, PCX, GIF, PNG and TGA files as pages</source>
        <translation>Cargar archivos TIFF, BMP, JPEG, PCX, GIF, PNG y TGA como páginas</translation>
    </message>
    <message>
        <source>Rotate, invert, mirror, crop, reorder and delete pages; crop scanned pages automatically</source>
        <translation>Girar, invertir, reflejar, recortar, reordenar y borrar páginas; recortar automáticamente las páginas escaneadas</translation>
    </message>
    <message>
        <source>Save the pages as one PDF, or save a page as an image file</source>
        <translation>Guardar las páginas en un solo PDF o guardar una página como imagen</translation>
    </message>
    <message>
        <source>Mail the PDF through the desktop&apos;s mail program or directly through an SMTP server</source>
        <translation>Enviar el PDF con el programa de correo del escritorio o directamente por un servidor SMTP</translation>
    </message>
    <message>
        <source>A command-line program, vellumo-cli, does the same without windows</source>
        <translation>Un programa de línea de órdenes, vellumo-cli, hace lo mismo sin ventanas</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vellumo</source>
        <translation>Acerca de Vellumo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
    <message>
        <source>Send me mail!</source>
        <translation>¡Escríbame!</translation>
    </message>
</context>
<context>
    <name>CActivityDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Página %1 de %2</translation>
    </message>
</context>
<context>
    <name>CPageView</name>
    <message>
        <source>Scanned</source>
        <translation>Escaneada</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>Página %1: %2</translation>
    </message>
    <message>
        <source> (page %1)</source>
        <translation> (página %1)</translation>
    </message>
    <message>
        <source>Blank page</source>
        <translation>Página en blanco</translation>
    </message>
    <message>
        <source>Waiting for its text</source>
        <translation>Esperando su texto</translation>
    </message>
</context>
<context>
    <name>CPreviewDlg</name>
    <message>
        <source>Vellumo - Scanned image preview</source>
        <translation>Vellumo - Vista previa de la imagen escaneada</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Dis&amp;card</source>
        <translation>&amp;Descartar</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Guardar como...</translation>
    </message>
    <message>
        <source>&amp;Crop</source>
        <translation>&amp;Recortar</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>Girar a la &amp;izquierda</translation>
    </message>
    <message>
        <source>Rotate &amp;right</source>
        <translation>Girar a la d&amp;erecha</translation>
    </message>
    <message>
        <source>&amp;Upside down</source>
        <translation>&amp;Dar la vuelta</translation>
    </message>
    <message>
        <source>&amp;Invert image</source>
        <translation>In&amp;vertir</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Ajustar</translation>
    </message>
</context>
<context>
    <name>CSendMailDlg</name>
    <message>
        <source>Vellumo - Send by email</source>
        <translation>Vellumo - Enviar por correo</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>De:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Para:</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Asunto:</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Mensaje:</translation>
    </message>
    <message>
        <source>Send mail</source>
        <translation>Enviar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>CSourceDialog</name>
    <message>
        <source>Select Source</source>
        <translation>Elegir origen</translation>
    </message>
    <message>
        <source>Sources:</source>
        <translation>Orígenes:</translation>
    </message>
</context>
<context>
    <name>CTabDocumentsDlg</name>
    <message>
        <source>Searchable PDFs: </source>
        <translation>PDF con búsqueda: </translation>
    </message>
    <message>
        <source>Scanned pages: </source>
        <translation>Páginas escaneadas: </translation>
    </message>
    <message>
        <source>Document Settings</source>
        <translation>Ajustes de documentos</translation>
    </message>
    <message>
        <source>Make PDFs searchable (recognise text)</source>
        <translation>Hacer PDF con búsqueda (reconocer texto)</translation>
    </message>
    <message>
        <source>Languages to recognise:</source>
        <translation>Idiomas a reconocer:</translation>
    </message>
    <message>
        <source>Straighten pages</source>
        <translation>Enderezar páginas</translation>
    </message>
    <message>
        <source>Turn pages upright</source>
        <translation>Poner páginas derechas</translation>
    </message>
    <message>
        <source>Blank pages:</source>
        <translation>Páginas en blanco:</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Marcar</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>No</translation>
    </message>
    <message>
        <source> - not installed</source>
        <translation> - no instalado</translation>
    </message>
</context>
<context>
    <name>CTabEmailDlg</name>
    <message>
        <source>Email Settings</source>
        <translation>Ajustes de correo</translation>
    </message>
    <message>
        <source>Send email via SMTP server</source>
        <translation>Enviar por servidor SMTP</translation>
    </message>
    <message>
        <source>To e-mail address:</source>
        <translation>Dirección de destino:</translation>
    </message>
    <message>
        <source>Send e-mail using this SMTP server:</source>
        <translation>Enviar por este servidor SMTP:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Puerto:</translation>
    </message>
    <message>
        <source>User id:</source>
        <translation>Usuario:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Contraseña:</translation>
    </message>
    <message>
        <source>My e-mail address:</source>
        <translation>Mi dirección:</translation>
    </message>
    <message>
        <source>Send test email</source>
        <translation>Correo de prueba</translation>
    </message>
</context>
<context>
    <name>CTabGeneralDlg</name>
    <message>
        <source>Brightness: </source>
        <translation>Brillo: </translation>
    </message>
    <message>
        <source>Page size: </source>
        <translation>Tamaño: </translation>
    </message>
    <message>
        <source>Options: </source>
        <translation>Opciones: </translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Ajustes generales</translation>
    </message>
    <message>
        <source>Current TWAIN device:</source>
        <translation>Escáner actual:</translation>
    </message>
    <message>
        <source>&amp;Select device</source>
        <translation>&amp;Elegir</translation>
    </message>
    <message>
        <source>Default scan parameters:</source>
        <translation>Valores predeterminados:</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Blanco y negro</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Escala de grises</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Resolution in black and white:</source>
        <translation>Resolución blanco y negro:</translation>
    </message>
    <message>
        <source>Resolution in grey scales:</source>
        <translation>Resolución grises:</translation>
    </message>
    <message>
        <source>Resolution in color:</source>
        <translation>Resolución color:</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Oscuro</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Claro</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Brillo: el más claro</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Brillo: más claro</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Brillo: claro</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Brillo: normal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Brillo: oscuro</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Brillo: más oscuro</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Brillo: el más oscuro</translation>
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
        <translation>Compresión PDF en por ciento</translation>
    </message>
    <message>
        <source>&amp;Reset to factory defaults</source>
        <translation>&amp;Valores de fábrica</translation>
    </message>
    <message>
        <source>Show scan result before saving it</source>
        <translation>Ver el escaneo antes de guardarlo</translation>
    </message>
    <message>
        <source>Auto crop scanned images</source>
        <translation>Recortar automáticamente</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Sin alimentador</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Escanear a doble cara</translation>
    </message>
    <message>
        <source>Invert scanned image</source>
        <translation>Invertir escaneos</translation>
    </message>
    <message>
        <source>Compress PDF:</source>
        <translation>Comprimir PDF:</translation>
    </message>
    <message>
        <source>Make log file</source>
        <translation>Escribir registro</translation>
    </message>
</context>
<context>
    <name>CVellumoDlg</name>
    <message>
        <source>Pages</source>
        <translation>Páginas</translation>
    </message>
</context>
<context>
    <name>CVellumoTranslucentDlg</name>
    <message>
        <source>Pages ready to save (%1):</source>
        <translation>Páginas para guardar (%1):</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Rotate &amp;right</source>
        <translation>Girar a la d&amp;erecha</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>Girar a la &amp;izquierda</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Invertir</translation>
    </message>
    <message>
        <source>&amp;Mirror</source>
        <translation>&amp;Reflejar</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Borrar</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>&amp;Subir</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Ba&amp;jar</translation>
    </message>
    <message>
        <source>SCAN PAGE</source>
        <translation>ESCANEAR</translation>
    </message>
    <message>
        <source>LOAD PAGE</source>
        <translation>CARGAR</translation>
    </message>
    <message>
        <source>MAIL AS PDF</source>
        <translation>ENVIAR PDF</translation>
    </message>
    <message>
        <source>SAVE AS PDF</source>
        <translation>GUARDAR PDF</translation>
    </message>
    <message>
        <source>ABOUT</source>
        <translation>ACERCA DE</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>AYUDA</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>INICIO</translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation>AJUSTES</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Correo</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Blanco y negro</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Escala de grises</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Brillo: el más claro</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Brillo: más claro</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Brillo: claro</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Brillo: normal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Brillo: oscuro</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Brillo: más oscuro</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Brillo: el más oscuro</translation>
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
        <translation>Ver el escaneo antes de guardarlo</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Sin alimentador</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Escanear a doble cara</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Documentos</translation>
    </message>
    <message>
        <source>Straighten</source>
        <translation>Enderezar</translation>
    </message>
    <message>
        <source>Turn upright</source>
        <translation>Poner derecha</translation>
    </message>
    <message>
        <source>Delete blank pages</source>
        <translation>Borrar páginas en blanco</translation>
    </message>
    <message>
        <source>Interleave (fronts, then backs)</source>
        <translation>Intercalar (anversos, luego reversos)</translation>
    </message>
    <message>
        <source>Interleave, backs reversed</source>
        <translation>Intercalar, reversos invertidos</translation>
    </message>
    <message>
        <source>Reverse order</source>
        <translation>Invertir orden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Deshacer: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Re&amp;hacer</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>Re&amp;hacer: %1</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>Scan to PDF</source>
        <translation>Escanear a PDF</translation>
    </message>
    <message>
        <source>Scan pages or load image files, correct them and save or mail them as one PDF</source>
        <translation>Escanee páginas o cargue imágenes, corríjalas y guárdelas o envíelas en un solo PDF</translation>
    </message>
    <message>
        <source>scan;scanner;PDF;document;paper;mail;</source>
        <translation>escanear;escáner;PDF;documento;papel;correo;</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Vellumo Help</source>
        <translation>Ayuda de Vellumo</translation>
    </message>
    <message>
        <source>Vellumo turns paper into PDF. You scan pages or load image files, see them as a list of thumbnails, correct them (rotate, invert, mirror, reorder, delete), and then save all pages as one PDF file or send that PDF by e-mail.</source>
        <translation>Vellumo convierte el papel en PDF. Usted escanea páginas o carga archivos de imagen, las ve como una lista de miniaturas, las corrige (girar, invertir, reflejar, reordenar, borrar) y luego guarda todas las páginas en un solo archivo PDF o envía ese PDF por correo.</translation>
    </message>
    <message>
        <source>The window</source>
        <translation>La ventana</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Escanear</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Cargar</translation>
    </message>
    <message>
        <source>The page list</source>
        <translation>La lista de páginas</translation>
    </message>
    <message>
        <source>Keys and drag and drop</source>
        <translation>Teclas y arrastrar y soltar</translation>
    </message>
    <message>
        <source>Correcting pages</source>
        <translation>Corregir páginas</translation>
    </message>
    <message>
        <source>The preview</source>
        <translation>La vista previa</translation>
    </message>
    <message>
        <source>Saving and mailing</source>
        <translation>Guardar y enviar</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>The log file</source>
        <translation>El registro</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Línea de órdenes</translation>
    </message>
    <message>
        <source>The left column holds the tabs &lt;b&gt;HOME&lt;/b&gt; and &lt;b&gt;SETTINGS&lt;/b&gt; (with its pages &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; below it), and the buttons &lt;b&gt;ABOUT&lt;/b&gt; and &lt;b&gt;HELP&lt;/b&gt;. In the home view the middle shows the page list with the number of pages above it, and the right column shows the buttons &lt;b&gt;SCAN PAGE&lt;/b&gt; and &lt;b&gt;LOAD PAGE&lt;/b&gt; above, &lt;b&gt;MAIL AS PDF&lt;/b&gt; and &lt;b&gt;SAVE AS PDF&lt;/b&gt; below, and the quick settings in between. The two round buttons at the top right minimise the window and end the program. Drag the window by any free spot of it.</source>
        <translation>La columna izquierda tiene las pestañas &lt;b&gt;INICIO&lt;/b&gt; y &lt;b&gt;AJUSTES&lt;/b&gt; (con sus páginas &lt;b&gt;General&lt;/b&gt; y &lt;b&gt;Correo&lt;/b&gt; debajo) y los botones &lt;b&gt;ACERCA DE&lt;/b&gt; y &lt;b&gt;AYUDA&lt;/b&gt;. En la vista de inicio, el centro muestra la lista de páginas con su número encima, y la columna derecha muestra arriba los botones &lt;b&gt;ESCANEAR&lt;/b&gt; y &lt;b&gt;CARGAR&lt;/b&gt;, abajo &lt;b&gt;ENVIAR PDF&lt;/b&gt; y &lt;b&gt;GUARDAR PDF&lt;/b&gt;, y entre ellos los ajustes rápidos. Los dos botones redondos de arriba a la derecha minimizan la ventana y cierran el programa. Arrastre la ventana por cualquier punto libre.</translation>
    </message>
    <message>
        <source>The quick settings act on the next scans only and are not kept when you end the program:</source>
        <translation>Los ajustes rápidos valen solo para los próximos escaneos y no se conservan al cerrar el programa:</translation>
    </message>
    <message>
        <source>&lt;b&gt;Scanning mode&lt;/b&gt;: black and white, grey scales or colour.</source>
        <translation>&lt;b&gt;Modo de escaneo&lt;/b&gt;: blanco y negro, escala de grises o color.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brightness&lt;/b&gt;: seven steps from Dark on the left through Normal to Bright on the right.</source>
        <translation>&lt;b&gt;Brillo&lt;/b&gt;: siete niveles, de Oscuro a la izquierda, pasando por Normal, a Claro a la derecha.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Page size&lt;/b&gt;: Letter, A4, Legal or A3.</source>
        <translation>&lt;b&gt;Tamaño de página&lt;/b&gt;: Letter, A4, Legal o A3.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Options&lt;/b&gt;: show the scan result before it joins the list (the preview), do not use the automatic document feeder, scan both sides of each sheet (duplex).</source>
        <translation>&lt;b&gt;Opciones&lt;/b&gt;: mostrar el resultado antes de que entre en la lista (la vista previa), no usar el alimentador automático, escanear las dos caras de cada hoja (doble cara).</translation>
    </message>
    <message>
        <source>Pressing &lt;b&gt;HOME&lt;/b&gt; puts the quick settings back to the defaults stored on the General settings page. The keys: &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing; &lt;kbd&gt;Enter&lt;/kbd&gt; ends the program, and asks first when the list still holds pages.</source>
        <translation>&lt;b&gt;INICIO&lt;/b&gt; devuelve los ajustes rápidos a los valores guardados en la página General. Las teclas: &lt;kbd&gt;Esc&lt;/kbd&gt; no hace nada; &lt;kbd&gt;Intro&lt;/kbd&gt; cierra el programa y pregunta antes si la lista aún tiene páginas.</translation>
    </message>
    <message>
        <source>Put the paper on the glass or in the feeder and press &lt;b&gt;SCAN PAGE&lt;/b&gt;. Vellumo talks to the scanner chosen on the General page (any scanner your system knows through SANE), using the scanning mode, resolution, brightness, feeder and duplex settings. While it scans, a small window shows what is happening and offers &lt;b&gt;Cancel&lt;/b&gt;. Each scanned page is kept in a private temporary file and appears in the page list as &lt;i&gt;Scanned&lt;/i&gt;. When the options say so, pages are inverted (white on black originals) or cropped to the paper automatically.</source>
        <translation>Ponga el papel sobre el cristal o en el alimentador y pulse &lt;b&gt;ESCANEAR&lt;/b&gt;. Vellumo usa el escáner elegido en la página General (cualquier escáner que su sistema conozca por SANE), con los ajustes de modo, resolución, brillo, alimentador y doble cara. Mientras escanea, una ventana pequeña muestra lo que ocurre y ofrece &lt;b&gt;Cancelar&lt;/b&gt;. Cada página escaneada se guarda en un archivo temporal privado y aparece en la lista como &lt;i&gt;Escaneada&lt;/i&gt;. Si las opciones lo indican, las páginas se invierten (originales en blanco sobre negro) o se recortan al papel automáticamente.</translation>
    </message>
    <message>
        <source>Loading image files</source>
        <translation>Cargar archivos de imagen</translation>
    </message>
    <message>
        <source>&lt;b&gt;LOAD PAGE&lt;/b&gt; opens a file dialog in which you can choose one or more image files: TIFF, BMP, JPEG, PCX, GIF, PNG and TGA. Every file becomes a page at the end of the list, shown with its full path. Vellumo reads your files where they are: it never changes or deletes them. A file that cannot be read is reported and skipped.</source>
        <translation>&lt;b&gt;CARGAR&lt;/b&gt; abre un diálogo donde elegir uno o varios archivos de imagen: TIFF, BMP, JPEG, PCX, GIF, PNG y TGA. Cada archivo se convierte en una página al final de la lista, con su ruta completa. Vellumo lee sus archivos donde están: nunca los cambia ni los borra. Un archivo que no se puede leer se avisa y se omite.</translation>
    </message>
    <message>
        <source>The page list and its context menu</source>
        <translation>La lista de páginas y su menú</translation>
    </message>
    <message>
        <source>The list shows every page as a thumbnail, in the order they will appear in the PDF. The line above the list counts them. Click a page to open it in an image viewer (a program named &lt;code&gt;viewer&lt;/code&gt; beside Vellumo when there is one, otherwise your desktop&apos;s viewer).</source>
        <translation>La lista muestra cada página como miniatura, en el orden en que aparecerán en el PDF. La línea sobre la lista las cuenta. Un clic en una página la abre en un visor de imágenes (un programa llamado &lt;code&gt;viewer&lt;/code&gt; junto a Vellumo si lo hay; si no, el visor de su escritorio).</translation>
    </message>
    <message>
        <source>Right-click a page for its menu:</source>
        <translation>Un clic derecho en una página abre su menú:</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Entrada</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>Qué hace</translation>
    </message>
    <message>
        <source>Rotate right / Rotate left</source>
        <translation>Girar a la derecha / Girar a la izquierda</translation>
    </message>
    <message>
        <source>turns the page a quarter turn clockwise or counter-clockwise</source>
        <translation>gira la página un cuarto de vuelta en el sentido de las agujas del reloj o en el contrario</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Invertir</translation>
    </message>
    <message>
        <source>swaps black and white (light and dark)</source>
        <translation>cambia el negro por el blanco (claro y oscuro)</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Reflejar</translation>
    </message>
    <message>
        <source>flips the page left to right</source>
        <translation>refleja la página de izquierda a derecha</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>asks, then removes the page from the list. A scanned page&apos;s temporary file is deleted; a loaded file of yours stays on disk.</source>
        <translation>pregunta y luego quita la página de la lista. El archivo temporal de una página escaneada se borra; un archivo suyo que se cargó sigue en el disco.</translation>
    </message>
    <message>
        <source>Move up / Move down</source>
        <translation>Subir / Bajar</translation>
    </message>
    <message>
        <source>moves the selected page one place towards the start or the end of the list</source>
        <translation>mueve la página elegida un puesto hacia el principio o el final de la lista</translation>
    </message>
    <message>
        <source>Entries that are greyed out are not available in this build of the program.</source>
        <translation>Las entradas en gris no están disponibles en esta versión del programa.</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Tecla</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Delete&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Supr&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>deletes the selected page, after the same question as the menu entry Delete</source>
        <translation>borra la página elegida, tras la misma pregunta que la entrada de menú Borrar</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;LOAD PAGE&lt;/b&gt;</source>
        <translation>lo mismo que &lt;b&gt;CARGAR&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;SAVE AS PDF&lt;/b&gt;</source>
        <translation>lo mismo que &lt;b&gt;GUARDAR PDF&lt;/b&gt;</translation>
    </message>
    <message>
        <source>The keys work wherever the focus is in the window, not while a question or a file dialog is open. &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing in the main window, so the program never ends by accident.</source>
        <translation>Las teclas funcionan en toda la ventana, pero no mientras haya abierta una pregunta o un diálogo de archivos. &lt;kbd&gt;Esc&lt;/kbd&gt; no hace nada en la ventana principal, para que el programa nunca se cierre por accidente.</translation>
    </message>
    <message>
        <source>Drop image files from your file manager on the page list to load them, in the order they were dropped, just as &lt;b&gt;LOAD PAGE&lt;/b&gt; loads them: a file (or folder) that cannot be read is reported and skipped, and your files stay where they are. Drag a thumbnail up or down within the list to move its page to the place you drop it on.</source>
        <translation>Suelte archivos de imagen desde su gestor de archivos sobre la lista para cargarlos, en el orden en que los suelta, igual que &lt;b&gt;CARGAR&lt;/b&gt;: un archivo (o carpeta) que no se puede leer se avisa y se omite, y sus archivos se quedan donde están. Arrastre una miniatura arriba o abajo dentro de la lista para mover su página al lugar donde la suelte.</translation>
    </message>
    <message>
        <source>While a PDF is being written for &lt;b&gt;SAVE AS PDF&lt;/b&gt; or &lt;b&gt;MAIL AS PDF&lt;/b&gt;, the bar in the small status window shows which page it is at.</source>
        <translation>Mientras se escribe un PDF para &lt;b&gt;GUARDAR PDF&lt;/b&gt; o &lt;b&gt;ENVIAR PDF&lt;/b&gt;, la barra de la pequeña ventana de estado muestra por qué página va.</translation>
    </message>
    <message>
        <source>Rotating, inverting and mirroring never touch the original: each correction writes a new working copy of the page into a private temporary file and replaces the thumbnail. The working copies are deleted when the page is deleted, when the list is cleared and when the program ends.</source>
        <translation>Girar, invertir y reflejar nunca tocan el original: cada corrección escribe una nueva copia de trabajo de la página en un archivo temporal privado y reemplaza la miniatura. Las copias de trabajo se borran al borrar la página, al vaciar la lista y al cerrar el programa.</translation>
    </message>
    <message>
        <source>With the option &quot;show the scan result before saving it&quot; ticked, every scanned page is shown large before it joins the list. There you can look at it, correct it, keep it or throw it away.</source>
        <translation>Con la opción «Ver el escaneo antes de guardarlo» marcada, cada página escaneada se muestra en grande antes de entrar en la lista. Allí puede mirarla, corregirla, conservarla o descartarla.</translation>
    </message>
    <message>
        <source>Saving and mailing PDFs</source>
        <translation>Guardar y enviar PDF</translation>
    </message>
    <message>
        <source>&lt;b&gt;SAVE AS PDF&lt;/b&gt; asks for a file name and writes all pages, in list order, into one PDF file. Each page keeps its size on paper, taken from its resolution. With compression on (General page), colour and grey pages are stored as JPEG at the chosen quality; black and white pages are always stored losslessly. After saving, Vellumo offers to clear the list.</source>
        <translation>&lt;b&gt;GUARDAR PDF&lt;/b&gt; pide un nombre de archivo y escribe todas las páginas, en el orden de la lista, en un solo archivo PDF. Cada página conserva su tamaño en papel, según su resolución. Con la compresión activada (página General), las páginas en color y en grises se guardan como JPEG con la calidad elegida; las de blanco y negro siempre sin pérdidas. Después de guardar, Vellumo ofrece vaciar la lista.</translation>
    </message>
    <message>
        <source>&lt;b&gt;MAIL AS PDF&lt;/b&gt; builds the same PDF as &lt;code&gt;Images.pdf&lt;/code&gt; and sends it, either directly through the SMTP server set up on the Email page (you write the message in a small mail window; a progress bar with &lt;b&gt;Cancel&lt;/b&gt; shows the transfer), or by handing it to your desktop&apos;s mail program. Afterwards it offers to clear the list.</source>
        <translation>&lt;b&gt;ENVIAR PDF&lt;/b&gt; crea el mismo PDF como &lt;code&gt;Images.pdf&lt;/code&gt; y lo envía, o bien directamente por el servidor SMTP configurado en la página Correo (usted escribe el mensaje en una pequeña ventana; una barra de progreso con &lt;b&gt;Cancelar&lt;/b&gt; muestra la transferencia), o bien entregándolo al programa de correo de su escritorio. Después ofrece vaciar la lista.</translation>
    </message>
    <message>
        <source>When you end the program while the list still holds pages, Vellumo asks &quot;You didn&apos;t save or send the pages in the list. Quit anyway?&quot; so that nothing is lost by accident.</source>
        <translation>Si cierra el programa mientras la lista aún tiene páginas, Vellumo pregunta «No ha guardado ni enviado las páginas de la lista. ¿Salir de todos modos?», para que nada se pierda por accidente.</translation>
    </message>
    <message>
        <source>The settings pages</source>
        <translation>Las páginas de ajustes</translation>
    </message>
    <message>
        <source>Press &lt;b&gt;SETTINGS&lt;/b&gt; to open the settings view; &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; switch between its pages, &lt;b&gt;HOME&lt;/b&gt; or &lt;b&gt;SETTINGS&lt;/b&gt; again returns to the page list. Values are stored when you leave a page.</source>
        <translation>&lt;b&gt;AJUSTES&lt;/b&gt; abre la vista de ajustes; &lt;b&gt;General&lt;/b&gt; y &lt;b&gt;Correo&lt;/b&gt; cambian entre sus páginas, &lt;b&gt;INICIO&lt;/b&gt; o de nuevo &lt;b&gt;AJUSTES&lt;/b&gt; vuelve a la lista de páginas. Los valores se guardan al salir de una página.</translation>
    </message>
    <message>
        <source>&lt;b&gt;General&lt;/b&gt;: the scanner to use; the default scanning mode, brightness, page size and options that the quick settings start from; the resolutions for black and white, grey and colour scans; automatic cropping and inverting; PDF compression and its quality; the log file.</source>
        <translation>&lt;b&gt;General&lt;/b&gt;: el escáner; el modo, el brillo, el tamaño de página y las opciones de los que parten los ajustes rápidos; las resoluciones para blanco y negro, grises y color; el recorte y la inversión automáticos; la compresión del PDF y su calidad; el registro.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Email&lt;/b&gt;: whether to send through SMTP or through the desktop&apos;s mail program; the SMTP server, port, user name, password and your address; an address to forward to.</source>
        <translation>&lt;b&gt;Correo&lt;/b&gt;: si se envía por SMTP o con el programa de correo del escritorio; el servidor SMTP, el puerto, el usuario, la contraseña y su dirección; una dirección de reenvío.</translation>
    </message>
    <message>
        <source>The settings are kept in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, readable by you alone.</source>
        <translation>Los ajustes se guardan en &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, que solo usted puede leer.</translation>
    </message>
    <message>
        <source>Tick &quot;Make log file&quot; on the General page and Vellumo writes one line with date and time for every step of its work (start, scanner talk, pages, PDF building, mailing, end) into &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in your documents folder. The file is only appended to; delete it when you no longer need it. It helps support find out what went wrong.</source>
        <translation>Marque «Escribir registro» en la página General y Vellumo escribirá una línea con fecha y hora por cada paso de su trabajo (inicio, escáner, páginas, creación del PDF, envío, fin) en &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; de su carpeta de documentos. El archivo solo crece; bórrelo cuando ya no lo necesite. Ayuda al soporte a averiguar qué falló.</translation>
    </message>
    <message>
        <source>The command-line front end</source>
        <translation>La línea de órdenes</translation>
    </message>
    <message>
        <source>&lt;code&gt;vellumo-cli&lt;/code&gt; does the same work without windows, for scripts and automation. It loads image files, applies the page corrections, writes PDFs, scans from a SANE device and mails PDFs through SMTP, with the same engine and the same settings as the windows. The program lists its own commands and options when asked for its usage.</source>
        <translation>&lt;code&gt;vellumo-cli&lt;/code&gt; hace el mismo trabajo sin ventanas, para guiones y automatización. Carga archivos de imagen, corrige páginas, escribe PDF, escanea con un dispositivo SANE y envía PDF por SMTP, con el mismo motor y los mismos ajustes que las ventanas. El programa enumera sus órdenes y opciones cuando se le pide su uso.</translation>
    </message>
    <message>
        <source>The program itself accepts one switch: started with &lt;code&gt;/GO&lt;/code&gt; while another Vellumo is running, it asks that one to close first.</source>
        <translation>El programa acepta un solo modificador: iniciado con &lt;code&gt;/GO&lt;/code&gt; mientras otro Vellumo está en marcha, pide primero a ese que se cierre.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Vellumo 3.07. Questions and reports: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, web site &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</source>
        <translation>Vellumo 3.07. Preguntas e informes: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, sitio web &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Everything works from the keyboard too: &lt;kbd&gt;Tab&lt;/kbd&gt; moves from control to control in the order they stand on the screen, and a blue ring shows where you are; the arrow keys choose within a group of round buttons; &lt;kbd&gt;Space&lt;/kbd&gt; presses the button or ticks the box that has the ring. Screen readers name every control.</source>
        <translation>Todo funciona también con el teclado: &lt;kbd&gt;Tab&lt;/kbd&gt; pasa de un control a otro en el orden de la pantalla, y un anillo azul muestra dónde está; las flechas eligen dentro de un grupo de botones redondos; &lt;kbd&gt;Espacio&lt;/kbd&gt; pulsa el botón o marca la casilla que tiene el anillo. Los lectores de pantalla nombran cada control.</translation>
    </message>
    <message>
        <source>Vellumo speaks the language of your desktop when it knows it (German, French, Spanish, Italian, Dutch or Portuguese) and English otherwise. The log file is always in English.</source>
        <translation>Vellumo habla el idioma de su escritorio cuando lo conoce (alemán, francés, español, italiano, neerlandés o portugués) y, si no, inglés. El registro está siempre en inglés.</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>*** Successfully created %1 ***</source>
        <translation>*** Se creó %1 ***</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): invalid parameters</source>
        <translation>No se pudo crear el archivo PDF %1 (error %2): parámetros no válidos</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), possibly because the file is in use by another application</source>
        <translation>No se pudo crear el archivo PDF %1 (error %2), quizá porque otro programa usa el archivo</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), PDF file already exists and could not be overwritten - it is possibly being held open by a PDF viewer application</source>
        <translation>No se pudo crear el archivo PDF %1 (error %2): el archivo ya existe y no se pudo sobrescribir - quizá un visor de PDF lo tiene abierto</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): no images to be added</source>
        <translation>No se pudo crear el archivo PDF %1 (error %2): no hay imágenes que añadir</translation>
    </message>
    <message>
        <source>Could not create PDF file %1: %2</source>
        <translation>No se pudo crear el archivo PDF %1: %2</translation>
    </message>
    <message>
        <source>Could not add image to PDF file %1 (error %2)</source>
        <translation>No se pudo añadir la imagen al archivo PDF %1 (error %2)</translation>
    </message>
    <message>
        <source>Unsupported graphics format</source>
        <translation>Formato gráfico no admitido</translation>
    </message>
    <message>
        <source>Creating PDF...</source>
        <translation>Creando el PDF...</translation>
    </message>
    <message>
        <source>Creating mail message...</source>
        <translation>Creando el correo...</translation>
    </message>
    <message>
        <source>Looking for scanner...</source>
        <translation>Buscando el escáner...</translation>
    </message>
    <message>
        <source>Setting up scanner %1 ....</source>
        <translation>Preparando el escáner %1 ....</translation>
    </message>
    <message>
        <source>Scanning from %1 ....</source>
        <translation>Escaneando con %1 ....</translation>
    </message>
    <message>
        <source>Saving image to temporary file ....</source>
        <translation>Guardando la imagen en un archivo temporal ....</translation>
    </message>
    <message>
        <source>Error opening TWAIN session</source>
        <translation>Error al abrir la sesión del escáner</translation>
    </message>
    <message>
        <source>Scanner doesn&apos;t support duplex mode</source>
        <translation>El escáner no escanea a doble cara</translation>
    </message>
    <message>
        <source>The scanner is still busy with the last scan</source>
        <translation>El escáner aún está ocupado con el último escaneo</translation>
    </message>
    <message>
        <source>Error while setting units:
%1</source>
        <translation>Error al ajustar las unidades:
%1</translation>
    </message>
    <message>
        <source>Error while setting pixel type:
%1</source>
        <translation>Error al ajustar el tipo de píxel:
%1</translation>
    </message>
    <message>
        <source>Error while setting resolution:
%1</source>
        <translation>Error al ajustar la resolución:
%1</translation>
    </message>
    <message>
        <source>Error while setting brightness to %1
%2</source>
        <translation>Error al ajustar el brillo a %1
%2</translation>
    </message>
    <message>
        <source>Error while setting image layout: capability not supported
%1</source>
        <translation>Error al ajustar el área de imagen: no admitido
%1</translation>
    </message>
    <message>
        <source>Error while setting XferCount
%1</source>
        <translation>Error al ajustar el número de páginas (XferCount)
%1</translation>
    </message>
    <message>
        <source>Error while scanning:
%1</source>
        <translation>Error al escanear:
%1</translation>
    </message>
    <message>
        <source>Error while selecting data source:
%1</source>
        <translation>Error al elegir el origen:
%1</translation>
    </message>
    <message>
        <source>Error %1 while converting image</source>
        <translation>Error %1 al convertir la imagen</translation>
    </message>
    <message>
        <source>Error %1 while saving image</source>
        <translation>Error %1 al guardar la imagen</translation>
    </message>
    <message>
        <source>Nothing to save yet</source>
        <translation>Aún no hay nada que guardar</translation>
    </message>
    <message>
        <source>Nothing to mail yet</source>
        <translation>Aún no hay nada que enviar</translation>
    </message>
    <message>
        <source>Clear list of pages to save or send?</source>
        <translation>¿Vaciar la lista de páginas?</translation>
    </message>
    <message>
        <source>Clear list of pages to send?</source>
        <translation>¿Vaciar la lista de páginas que enviar?</translation>
    </message>
    <message>
        <source>Delete this image?</source>
        <translation>¿Borrar esta imagen?</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>No hay ninguna página elegida</translation>
    </message>
    <message>
        <source>No need to move page</source>
        <translation>No hace falta mover la página</translation>
    </message>
    <message>
        <source>You didn&apos;t save or send the pages in the list. Quit anyway?</source>
        <translation>No ha guardado ni enviado las páginas de la lista. ¿Salir de todos modos?</translation>
    </message>
    <message>
        <source>Unable to determine temporary file path</source>
        <translation>No se encuentra la carpeta de archivos temporales</translation>
    </message>
    <message>
        <source>Unable to create temporary file</source>
        <translation>No se pudo crear el archivo temporal</translation>
    </message>
    <message>
        <source>Unable to initialize MIME</source>
        <translation>No se pudo iniciar MIME</translation>
    </message>
    <message>
        <source>Unable to create message</source>
        <translation>No se pudo crear el mensaje</translation>
    </message>
    <message>
        <source>Unable to attach file</source>
        <translation>No se pudo adjuntar el archivo</translation>
    </message>
    <message>
        <source>Unable to initialize SMTP</source>
        <translation>No se pudo iniciar SMTP</translation>
    </message>
    <message>
        <source>SMTP server requires authentication, but you did not specify a user-id and password for this server!</source>
        <translation>El servidor SMTP pide autenticación, ¡pero no se indicó usuario ni contraseña para este servidor!</translation>
    </message>
    <message>
        <source>Message successfully sent</source>
        <translation>Mensaje enviado</translation>
    </message>
    <message>
        <source>Message successfully sent to %1</source>
        <translation>Mensaje enviado a %1</translation>
    </message>
    <message>
        <source>Unable to deliver message to %1: %2</source>
        <translation>No se pudo entregar el mensaje a %1: %2</translation>
    </message>
    <message>
        <source>Sending mail message, please wait ...</source>
        <translation>Enviando el correo, espere ...</translation>
    </message>
    <message>
        <source>Sending mail, please wait ...</source>
        <translation>Enviando el correo, espere ...</translation>
    </message>
    <message>
        <source>Connecting to mail server, please wait ...</source>
        <translation>Conectando con el servidor de correo, espere ...</translation>
    </message>
    <message>
        <source>Logging in to mail server, please wait ...</source>
        <translation>Iniciando sesión en el servidor de correo, espere ...</translation>
    </message>
    <message>
        <source>Could not find MAPI DLL</source>
        <translation>No se encontró ningún programa de correo</translation>
    </message>
    <message>
        <source>Invalid MAPI DLL</source>
        <translation>Programa de correo no válido</translation>
    </message>
    <message>
        <source>No memory during MAPI send mail</source>
        <translation>Memoria insuficiente al entregar el correo</translation>
    </message>
    <message>
        <source>Error during MAPI send mail</source>
        <translation>Error al entregar el correo</translation>
    </message>
    <message>
        <source>*** Mail application ended without errors ***</source>
        <translation>*** El programa de correo terminó sin errores ***</translation>
    </message>
    <message>
        <source>Select PDF file to save to</source>
        <translation>Elija el archivo PDF donde guardar</translation>
    </message>
    <message>
        <source>Select file(s) to load</source>
        <translation>Elija los archivos que cargar</translation>
    </message>
    <message>
        <source>Save As Graphics File</source>
        <translation>Guardar como imagen</translation>
    </message>
    <message>
        <source>PDF File (*.PDF)</source>
        <translation>Archivo PDF (*.PDF)</translation>
    </message>
    <message>
        <source>TIFF File (*.tif)</source>
        <translation>Archivo TIFF (*.tif)</translation>
    </message>
    <message>
        <source>BMP File (*.bmp)</source>
        <translation>Archivo BMP (*.bmp)</translation>
    </message>
    <message>
        <source>JPEG File (*.jpg)</source>
        <translation>Archivo JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>PCX File (*.pcx)</source>
        <translation>Archivo PCX (*.pcx)</translation>
    </message>
    <message>
        <source>GIF File (*.gif)</source>
        <translation>Archivo GIF (*.gif)</translation>
    </message>
    <message>
        <source>PNG File (*.png)</source>
        <translation>Archivo PNG (*.png)</translation>
    </message>
    <message>
        <source>EPS File (*.eps)</source>
        <translation>Archivo EPS (*.eps)</translation>
    </message>
    <message>
        <source>TGA File (*.tga)</source>
        <translation>Archivo TGA (*.tga)</translation>
    </message>
    <message>
        <source>Recognising text, page %1 of %2</source>
        <translation>Reconociendo texto, página %1 de %2</translation>
    </message>
    <message>
        <source>Loading pages...</source>
        <translation>Cargando páginas...</translation>
    </message>
    <message>
        <source>%1 is protected. Password:</source>
        <translation>%1 está protegido. Contraseña:</translation>
    </message>
    <message>
        <source>Wrong password for %1. Password:</source>
        <translation>Contraseña incorrecta para %1. Contraseña:</translation>
    </message>
    <message>
        <source>Vellumo was not closed properly. Restore the %1 pages of the last session?</source>
        <translation>Vellumo no se cerró correctamente. ¿Restaurar las %1 páginas de la última sesión?</translation>
    </message>
    <message>
        <source>1 page could not be restored because its file is missing.</source>
        <translation>No se pudo restaurar 1 página porque falta su archivo.</translation>
    </message>
    <message>
        <source>%1 pages could not be restored because their files are missing.</source>
        <translation>No se pudieron restaurar %1 páginas porque faltan sus archivos.</translation>
    </message>
    <message>
        <source>The list of pages of a session that was not closed properly could not be read (%1). It was set aside in %2.</source>
        <translation>No se pudo leer la lista de páginas de una sesión que no se cerró correctamente (%1). Se ha apartado en %2.</translation>
    </message>
    <message>
        <source>The folder for the pages cannot be used (%1). Pages are kept in the temporary folder and cannot be restored after a crash.</source>
        <translation>No se puede usar la carpeta de las páginas (%1). Las páginas se guardan en la carpeta temporal y no podrán restaurarse tras un fallo.</translation>
    </message>
    <message>
        <source>The change was not made: the list of pages could not be saved in %1 (%2).</source>
        <translation>No se ha hecho el cambio: no se pudo guardar la lista de páginas en %1 (%2).</translation>
    </message>
</context>
<context>
    <name>PageAction</name>
    <message>
        <source>load</source>
        <translation>carga</translation>
    </message>
    <message>
        <source>scan</source>
        <translation>escaneo</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>borrado</translation>
    </message>
    <message>
        <source>move</source>
        <translation>desplazamiento</translation>
    </message>
    <message>
        <source>rotate right</source>
        <translation>giro a la derecha</translation>
    </message>
    <message>
        <source>rotate left</source>
        <translation>giro a la izquierda</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>inversión</translation>
    </message>
    <message>
        <source>mirror</source>
        <translation>reflejo</translation>
    </message>
    <message>
        <source>clear list</source>
        <translation>vaciado de la lista</translation>
    </message>
    <message>
        <source>change</source>
        <translation>cambio</translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>Fit page	F</source>
        <translation>Página completa	F</translation>
    </message>
    <message>
        <source>Fit width	W</source>
        <translation>Ancho de página	W</translation>
    </message>
    <message>
        <source>100 %	1</source>
        <translation>100 %	1</translation>
    </message>
    <message>
        <source>Zoom in	+</source>
        <translation>Acercar	+</translation>
    </message>
    <message>
        <source>Zoom out	-</source>
        <translation>Alejar	-</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Paper to PDF</source>
        <translation>Del papel al PDF</translation>
    </message>
    <message>
        <source>Scan or load pages</source>
        <translation>Escanear o cargar</translation>
    </message>
    <message>
        <source>Check them in the list</source>
        <translation>Revisar en la lista</translation>
    </message>
    <message>
        <source>Save or mail as PDF</source>
        <translation>Guardar o enviar en PDF</translation>
    </message>
    <message>
        <source>Click a page to view it, right-click to edit</source>
        <translation>Clic: ver la página; clic derecho: editarla</translation>
    </message>
    <message>
        <source>Scanning mode</source>
        <translation>Modo de escaneo</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brillo</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Oscuro</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Claro</translation>
    </message>
    <message>
        <source>Page size</source>
        <translation>Tamaño de página</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
</context>
<context>
    <name>ViewerWindow</name>
    <message>
        <source>Vellumo - Page %1 of %2</source>
        <translation>Vellumo - Página %1 de %2</translation>
    </message>
    <message>
        <source>Cannot show %1:
%2</source>
        <translation>No se puede mostrar %1:
%2</translation>
    </message>
</context>
</TS>
