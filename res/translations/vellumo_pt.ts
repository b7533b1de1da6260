<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt">
<context>
    <name>AppStream</name>
    <message>
        <source>Turn paper into PDF</source>
        <translation>Do papel ao PDF</translation>
    </message>
    <message>
        <source>Vellumo scans pages from a scanner or loads image files, shows them as a list of thumbnails, and saves all pages as one PDF file or sends that PDF by e-mail.</source>
        <translation>O Vellumo digitaliza páginas com um scanner ou carrega ficheiros de imagem, mostra-os como uma lista de miniaturas e guarda todas as páginas num só ficheiro PDF ou envia esse PDF por e-mail.</translation>
    </message>
    <message>
        <source>Scan from any SANE scanner, from the flatbed or the document feeder, in black and white, grey or colour</source>
        <translation>Digitalizar com qualquer scanner SANE, do vidro ou do alimentador, a preto e branco, em tons de cinzento ou a cores</translation>
    </message>
    <message>
        <source>Load TIFF, BMP, JPEG, PCX, GIF, PNG and TGA files as pages</source>
        <translation>Carregar ficheiros TIFF, BMP, JPEG, PCX, GIF, PNG e TGA como páginas</translation>
    </message>
    <message>
        <source>Rotate, invert, mirror, crop, reorder and delete pages; crop scanned pages automatically</source>
        <translation>Rodar, inverter, espelhar, recortar, reordenar e apagar páginas; recortar automaticamente as páginas digitalizadas</translation>
    </message>
    <message>
        <source>Save the pages as one PDF, or save a page as an image file</source>
        <translation>Guardar as páginas num só PDF ou guardar uma página como imagem</translation>
    </message>
    <message>
        <source>Mail the PDF through the desktop&apos;s mail program or directly through an SMTP server</source>
        <translation>Enviar o PDF com o programa de e-mail do ambiente de trabalho ou diretamente por um servidor SMTP</translation>
    </message>
    <message>
        <source>A command-line program, vellumo-cli, does the same without windows</source>
        <translation>Um programa de linha de comandos, vellumo-cli, faz o mesmo sem janelas</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vellumo</source>
        <translation>Sobre o Vellumo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versão %1</translation>
    </message>
    <message>
        <source>Send me mail!</source>
        <translation>Escreva-me!</translation>
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
        <translation>Digitalizada</translation>
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
        <translation>Página em branco</translation>
    </message>
    <message>
        <source>Waiting for its text</source>
        <translation>À espera do texto</translation>
    </message>
</context>
<context>
    <name>CPreviewDlg</name>
    <message>
        <source>Vellumo - Scanned image preview</source>
        <translation>Vellumo - Pré-visualização da imagem digitalizada</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
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
        <translation>Rodar à &amp;esquerda</translation>
    </message>
    <message>
        <source>Rotate &amp;right</source>
        <translation>Rodar à &amp;direita</translation>
    </message>
    <message>
        <source>&amp;Upside down</source>
        <translation>&amp;Virar ao contrário</translation>
    </message>
    <message>
        <source>&amp;Invert image</source>
        <translation>&amp;Inverter</translation>
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
        <translation>Vellumo - Enviar por e-mail</translation>
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
        <translation>Assunto:</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Mensagem:</translation>
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
        <translation>Escolher a origem</translation>
    </message>
    <message>
        <source>Sources:</source>
        <translation>Origens:</translation>
    </message>
</context>
<context>
    <name>CTabDocumentsDlg</name>
    <message>
        <source>Searchable PDFs: </source>
        <translation>PDFs pesquisáveis: </translation>
    </message>
    <message>
        <source>Scanned pages: </source>
        <translation>Páginas digitalizadas: </translation>
    </message>
    <message>
        <source>Document Settings</source>
        <translation>Definições de documentos</translation>
    </message>
    <message>
        <source>Make PDFs searchable (recognise text)</source>
        <translation>Tornar PDFs pesquisáveis (reconhecer texto)</translation>
    </message>
    <message>
        <source>Languages to recognise:</source>
        <translation>Idiomas a reconhecer:</translation>
    </message>
    <message>
        <source>Straighten pages</source>
        <translation>Endireitar páginas</translation>
    </message>
    <message>
        <source>Turn pages upright</source>
        <translation>Virar páginas na posição certa</translation>
    </message>
    <message>
        <source>Blank pages:</source>
        <translation>Páginas em branco:</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Marcar</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Retirar</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Não</translation>
    </message>
    <message>
        <source> - not installed</source>
        <translation> - não instalado</translation>
    </message>
</context>
<context>
    <name>CTabEmailDlg</name>
    <message>
        <source>Email Settings</source>
        <translation>Definições de e-mail</translation>
    </message>
    <message>
        <source>Send email via SMTP server</source>
        <translation>Enviar por servidor SMTP</translation>
    </message>
    <message>
        <source>To e-mail address:</source>
        <translation>Endereço de destino:</translation>
    </message>
    <message>
        <source>Send e-mail using this SMTP server:</source>
        <translation>Enviar por este servidor SMTP:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Porta:</translation>
    </message>
    <message>
        <source>User id:</source>
        <translation>Utilizador:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Palavra-passe:</translation>
    </message>
    <message>
        <source>My e-mail address:</source>
        <translation>O meu endereço:</translation>
    </message>
    <message>
        <source>Send test email</source>
        <translation>E-mail de teste</translation>
    </message>
</context>
<context>
    <name>CTabGeneralDlg</name>
    <message>
        <source>Brightness: </source>
        <translation>Brilho: </translation>
    </message>
    <message>
        <source>Page size: </source>
        <translation>Tamanho: </translation>
    </message>
    <message>
        <source>Options: </source>
        <translation>Opções: </translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Definições gerais</translation>
    </message>
    <message>
        <source>Current TWAIN device:</source>
        <translation>Scanner atual:</translation>
    </message>
    <message>
        <source>&amp;Select device</source>
        <translation>&amp;Escolher</translation>
    </message>
    <message>
        <source>Default scan parameters:</source>
        <translation>Valores predefinidos:</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Preto e branco</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Tons de cinzento</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Cores</translation>
    </message>
    <message>
        <source>Resolution in black and white:</source>
        <translation>Resolução preto e branco:</translation>
    </message>
    <message>
        <source>Resolution in grey scales:</source>
        <translation>Resolução cinzento:</translation>
    </message>
    <message>
        <source>Resolution in color:</source>
        <translation>Resolução cores:</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Escuro</translation>
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
        <translation>Brilho: o mais claro</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Brilho: mais claro</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Brilho: claro</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Brilho: normal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Brilho: escuro</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Brilho: mais escuro</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Brilho: o mais escuro</translation>
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
        <translation>Compressão do PDF em percentagem</translation>
    </message>
    <message>
        <source>&amp;Reset to factory defaults</source>
        <translation>&amp;Valores de fábrica</translation>
    </message>
    <message>
        <source>Show scan result before saving it</source>
        <translation>Ver a digitalização antes de guardar</translation>
    </message>
    <message>
        <source>Auto crop scanned images</source>
        <translation>Recortar automaticamente</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Sem alimentador</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Frente e verso</translation>
    </message>
    <message>
        <source>Invert scanned image</source>
        <translation>Inverter digitalizações</translation>
    </message>
    <message>
        <source>Compress PDF:</source>
        <translation>Comprimir PDF:</translation>
    </message>
    <message>
        <source>Make log file</source>
        <translation>Escrever registo</translation>
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
        <translation>Rodar à &amp;direita</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>Rodar à &amp;esquerda</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Inverter</translation>
    </message>
    <message>
        <source>&amp;Mirror</source>
        <translation>&amp;Espelhar</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Apagar</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>&amp;Subir</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>&amp;Descer</translation>
    </message>
    <message>
        <source>SCAN PAGE</source>
        <translation>DIGITALIZAR</translation>
    </message>
    <message>
        <source>LOAD PAGE</source>
        <translation>CARREGAR</translation>
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
        <translation>SOBRE</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>AJUDA</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>INÍCIO</translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation>DEFINIÇÕES</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Preto e branco</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Tons de cinzento</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Cores</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Brilho: o mais claro</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Brilho: mais claro</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Brilho: claro</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Brilho: normal</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Brilho: escuro</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Brilho: mais escuro</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Brilho: o mais escuro</translation>
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
        <translation>Ver a digitalização antes de guardar</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Sem alimentador</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Frente e verso</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Documentos</translation>
    </message>
    <message>
        <source>Straighten</source>
        <translation>Endireitar</translation>
    </message>
    <message>
        <source>Turn upright</source>
        <translation>Virar na posição certa</translation>
    </message>
    <message>
        <source>Delete blank pages</source>
        <translation>Apagar páginas em branco</translation>
    </message>
    <message>
        <source>Interleave (fronts, then backs)</source>
        <translation>Intercalar (frentes, depois versos)</translation>
    </message>
    <message>
        <source>Interleave, backs reversed</source>
        <translation>Intercalar, versos invertidos</translation>
    </message>
    <message>
        <source>Reverse order</source>
        <translation>Inverter ordem</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Des&amp;fazer</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>Des&amp;fazer: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Refazer</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Refazer: %1</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>Scan to PDF</source>
        <translation>Digitalizar para PDF</translation>
    </message>
    <message>
        <source>Scan pages or load image files, correct them and save or mail them as one PDF</source>
        <translation>Digitalize páginas ou carregue imagens, corrija-as e guarde-as ou envie-as num só PDF</translation>
    </message>
    <message>
        <source>scan;scanner;PDF;document;paper;mail;</source>
        <translation>digitalizar;scanner;PDF;documento;papel;e-mail;</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Vellumo Help</source>
        <translation>Ajuda do Vellumo</translation>
    </message>
    <message>
        <source>Vellumo turns paper into PDF. You scan pages or load image files, see them as a list of thumbnails, correct them (rotate, invert, mirror, reorder, delete), and then save all pages as one PDF file or send that PDF by e-mail.</source>
        <translation>O Vellumo transforma papel em PDF. Digitaliza páginas ou carrega ficheiros de imagem, vê-os como uma lista de miniaturas, corrige-os (rodar, inverter, espelhar, reordenar, apagar) e depois guarda todas as páginas num só ficheiro PDF ou envia esse PDF por e-mail.</translation>
    </message>
    <message>
        <source>The window</source>
        <translation>A janela</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Digitalizar</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Carregar</translation>
    </message>
    <message>
        <source>The page list</source>
        <translation>A lista de páginas</translation>
    </message>
    <message>
        <source>Keys and drag and drop</source>
        <translation>Teclas e arrastar e largar</translation>
    </message>
    <message>
        <source>Correcting pages</source>
        <translation>Corrigir páginas</translation>
    </message>
    <message>
        <source>The preview</source>
        <translation>A pré-visualização</translation>
    </message>
    <message>
        <source>Saving and mailing</source>
        <translation>Guardar e enviar</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Definições</translation>
    </message>
    <message>
        <source>The log file</source>
        <translation>O registo</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Linha de comandos</translation>
    </message>
    <message>
        <source>The left column holds the tabs &lt;b&gt;HOME&lt;/b&gt; and &lt;b&gt;SETTINGS&lt;/b&gt; (with its pages &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; below it), and the buttons &lt;b&gt;ABOUT&lt;/b&gt; and &lt;b&gt;HELP&lt;/b&gt;. In the home view the middle shows the page list with the number of pages above it, and the right column shows the buttons &lt;b&gt;SCAN PAGE&lt;/b&gt; and &lt;b&gt;LOAD PAGE&lt;/b&gt; above, &lt;b&gt;MAIL AS PDF&lt;/b&gt; and &lt;b&gt;SAVE AS PDF&lt;/b&gt; below, and the quick settings in between. The two round buttons at the top right minimise the window and end the program. Drag the window by any free spot of it.</source>
        <translation>A coluna da esquerda tem os separadores &lt;b&gt;INÍCIO&lt;/b&gt; e &lt;b&gt;DEFINIÇÕES&lt;/b&gt; (com as suas páginas &lt;b&gt;Geral&lt;/b&gt; e &lt;b&gt;E-mail&lt;/b&gt; por baixo) e os botões &lt;b&gt;SOBRE&lt;/b&gt; e &lt;b&gt;AJUDA&lt;/b&gt;. Na vista inicial, o centro mostra a lista de páginas com o seu número por cima, e a coluna da direita mostra em cima os botões &lt;b&gt;DIGITALIZAR&lt;/b&gt; e &lt;b&gt;CARREGAR&lt;/b&gt;, em baixo &lt;b&gt;ENVIAR PDF&lt;/b&gt; e &lt;b&gt;GUARDAR PDF&lt;/b&gt;, e entre eles as definições rápidas. Os dois botões redondos no canto superior direito minimizam a janela e fecham o programa. Arraste a janela por qualquer ponto livre.</translation>
    </message>
    <message>
        <source>The quick settings act on the next scans only and are not kept when you end the program:</source>
        <translation>As definições rápidas valem só para as próximas digitalizações e não ficam guardadas quando fecha o programa:</translation>
    </message>
    <message>
        <source>&lt;b&gt;Scanning mode&lt;/b&gt;: black and white, grey scales or colour.</source>
        <translation>&lt;b&gt;Modo de digitalização&lt;/b&gt;: preto e branco, tons de cinzento ou cores.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brightness&lt;/b&gt;: seven steps from Dark on the left through Normal to Bright on the right.</source>
        <translation>&lt;b&gt;Brilho&lt;/b&gt;: sete níveis, de Escuro à esquerda, passando por Normal, até Claro à direita.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Page size&lt;/b&gt;: Letter, A4, Legal or A3.</source>
        <translation>&lt;b&gt;Tamanho da página&lt;/b&gt;: Letter, A4, Legal ou A3.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Options&lt;/b&gt;: show the scan result before it joins the list (the preview), do not use the automatic document feeder, scan both sides of each sheet (duplex).</source>
        <translation>&lt;b&gt;Opções&lt;/b&gt;: mostrar o resultado antes de entrar na lista (a pré-visualização), não usar o alimentador automático, digitalizar os dois lados de cada folha (frente e verso).</translation>
    </message>
    <message>
        <source>Pressing &lt;b&gt;HOME&lt;/b&gt; puts the quick settings back to the defaults stored on the General settings page. The keys: &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing; &lt;kbd&gt;Enter&lt;/kbd&gt; ends the program, and asks first when the list still holds pages.</source>
        <translation>&lt;b&gt;INÍCIO&lt;/b&gt; repõe as definições rápidas nos valores guardados na página Geral. As teclas: &lt;kbd&gt;Esc&lt;/kbd&gt; não faz nada; &lt;kbd&gt;Enter&lt;/kbd&gt; fecha o programa e pergunta antes se a lista ainda tiver páginas.</translation>
    </message>
    <message>
        <source>Put the paper on the glass or in the feeder and press &lt;b&gt;SCAN PAGE&lt;/b&gt;. Vellumo talks to the scanner chosen on the General page (any scanner your system knows through SANE), using the scanning mode, resolution, brightness, feeder and duplex settings. While it scans, a small window shows what is happening and offers &lt;b&gt;Cancel&lt;/b&gt;. Each scanned page is kept in a private temporary file and appears in the page list as &lt;i&gt;Scanned&lt;/i&gt;. When the options say so, pages are inverted (white on black originals) or cropped to the paper automatically.</source>
        <translation>Ponha o papel no vidro ou no alimentador e prima &lt;b&gt;DIGITALIZAR&lt;/b&gt;. O Vellumo usa o scanner escolhido na página Geral (qualquer scanner que o seu sistema conheça pelo SANE), com as definições de modo, resolução, brilho, alimentador e frente e verso. Enquanto digitaliza, uma pequena janela mostra o que está a acontecer e oferece &lt;b&gt;Cancelar&lt;/b&gt;. Cada página digitalizada fica num ficheiro temporário privado e aparece na lista como &lt;i&gt;Digitalizada&lt;/i&gt;. Se as opções o indicarem, as páginas são invertidas (originais branco sobre preto) ou recortadas automaticamente ao papel.</translation>
    </message>
    <message>
        <source>Loading image files</source>
        <translation>Carregar ficheiros de imagem</translation>
    </message>
    <message>
        <source>&lt;b&gt;LOAD PAGE&lt;/b&gt; opens a file dialog in which you can choose one or more image files: TIFF, BMP, JPEG, PCX, GIF, PNG and TGA. Every file becomes a page at the end of the list, shown with its full path. Vellumo reads your files where they are: it never changes or deletes them. A file that cannot be read is reported and skipped.</source>
        <translation>&lt;b&gt;CARREGAR&lt;/b&gt; abre uma janela onde escolhe um ou mais ficheiros de imagem: TIFF, BMP, JPEG, PCX, GIF, PNG e TGA. Cada ficheiro torna-se uma página no fim da lista, mostrada com o caminho completo. O Vellumo lê os seus ficheiros onde estão: nunca os altera nem apaga. Um ficheiro que não se consegue ler é assinalado e ignorado.</translation>
    </message>
    <message>
        <source>The page list and its context menu</source>
        <translation>A lista de páginas e o seu menu</translation>
    </message>
    <message>
        <source>The list shows every page as a thumbnail, in the order they will appear in the PDF. The line above the list counts them. Click a page to open it in an image viewer (a program named &lt;code&gt;viewer&lt;/code&gt; beside Vellumo when there is one, otherwise your desktop&apos;s viewer).</source>
        <translation>A lista mostra cada página como miniatura, pela ordem em que aparecerão no PDF. A linha acima da lista conta-as. Clique numa página para a abrir num visualizador de imagens (um programa chamado &lt;code&gt;viewer&lt;/code&gt; ao lado do Vellumo, se existir; senão, o visualizador do seu ambiente de trabalho).</translation>
    </message>
    <message>
        <source>Right-click a page for its menu:</source>
        <translation>Um clique direito numa página abre o seu menu:</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Entrada</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>O que faz</translation>
    </message>
    <message>
        <source>Rotate right / Rotate left</source>
        <translation>Rodar à direita / Rodar à esquerda</translation>
    </message>
    <message>
        <source>turns the page a quarter turn clockwise or counter-clockwise</source>
        <translation>roda a página um quarto de volta no sentido dos ponteiros do relógio ou no sentido contrário</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Inverter</translation>
    </message>
    <message>
        <source>swaps black and white (light and dark)</source>
        <translation>troca o preto e o branco (claro e escuro)</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Espelhar</translation>
    </message>
    <message>
        <source>flips the page left to right</source>
        <translation>espelha a página da esquerda para a direita</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Apagar</translation>
    </message>
    <message>
        <source>asks, then removes the page from the list. A scanned page&apos;s temporary file is deleted; a loaded file of yours stays on disk.</source>
        <translation>pergunta e depois tira a página da lista. O ficheiro temporário de uma página digitalizada é apagado; um ficheiro seu que foi carregado fica no disco.</translation>
    </message>
    <message>
        <source>Move up / Move down</source>
        <translation>Subir / Descer</translation>
    </message>
    <message>
        <source>moves the selected page one place towards the start or the end of the list</source>
        <translation>move a página escolhida um lugar para o início ou para o fim da lista</translation>
    </message>
    <message>
        <source>Entries that are greyed out are not available in this build of the program.</source>
        <translation>As entradas a cinzento não estão disponíveis nesta versão do programa.</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Tecla</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Delete&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Delete&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>deletes the selected page, after the same question as the menu entry Delete</source>
        <translation>apaga a página escolhida, depois da mesma pergunta que a entrada de menu Apagar</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;LOAD PAGE&lt;/b&gt;</source>
        <translation>o mesmo que &lt;b&gt;CARREGAR&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;SAVE AS PDF&lt;/b&gt;</source>
        <translation>o mesmo que &lt;b&gt;GUARDAR PDF&lt;/b&gt;</translation>
    </message>
    <message>
        <source>The keys work wherever the focus is in the window, not while a question or a file dialog is open. &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing in the main window, so the program never ends by accident.</source>
        <translation>As teclas funcionam em toda a janela, mas não enquanto houver uma pergunta ou uma janela de ficheiros aberta. &lt;kbd&gt;Esc&lt;/kbd&gt; não faz nada na janela principal, para que o programa nunca feche por engano.</translation>
    </message>
    <message>
        <source>Drop image files from your file manager on the page list to load them, in the order they were dropped, just as &lt;b&gt;LOAD PAGE&lt;/b&gt; loads them: a file (or folder) that cannot be read is reported and skipped, and your files stay where they are. Drag a thumbnail up or down within the list to move its page to the place you drop it on.</source>
        <translation>Largue ficheiros de imagem do gestor de ficheiros sobre a lista para os carregar, pela ordem em que os larga, tal como &lt;b&gt;CARREGAR&lt;/b&gt;: um ficheiro (ou pasta) que não se consegue ler é assinalado e ignorado, e os seus ficheiros ficam onde estão. Arraste uma miniatura para cima ou para baixo na lista para mover a sua página para o sítio onde a larga.</translation>
    </message>
    <message>
        <source>While a PDF is being written for &lt;b&gt;SAVE AS PDF&lt;/b&gt; or &lt;b&gt;MAIL AS PDF&lt;/b&gt;, the bar in the small status window shows which page it is at.</source>
        <translation>Enquanto um PDF é escrito para &lt;b&gt;GUARDAR PDF&lt;/b&gt; ou &lt;b&gt;ENVIAR PDF&lt;/b&gt;, a barra da pequena janela de estado mostra em que página vai.</translation>
    </message>
    <message>
        <source>Rotating, inverting and mirroring never touch the original: each correction writes a new working copy of the page into a private temporary file and replaces the thumbnail. The working copies are deleted when the page is deleted, when the list is cleared and when the program ends.</source>
        <translation>Rodar, inverter e espelhar nunca mexem no original: cada correção escreve uma nova cópia de trabalho da página num ficheiro temporário privado e substitui a miniatura. As cópias de trabalho são apagadas quando a página é apagada, quando a lista é esvaziada e quando o programa fecha.</translation>
    </message>
    <message>
        <source>With the option &quot;show the scan result before saving it&quot; ticked, every scanned page is shown large before it joins the list. There you can look at it, correct it, keep it or throw it away.</source>
        <translation>Com a opção «Ver a digitalização antes de guardar» marcada, cada página digitalizada é mostrada em grande antes de entrar na lista. Aí pode vê-la, corrigi-la, guardá-la ou deitá-la fora.</translation>
    </message>
    <message>
        <source>Saving and mailing PDFs</source>
        <translation>Guardar e enviar PDF</translation>
    </message>
    <message>
        <source>&lt;b&gt;SAVE AS PDF&lt;/b&gt; asks for a file name and writes all pages, in list order, into one PDF file. Each page keeps its size on paper, taken from its resolution. With compression on (General page), colour and grey pages are stored as JPEG at the chosen quality; black and white pages are always stored losslessly. After saving, Vellumo offers to clear the list.</source>
        <translation>&lt;b&gt;GUARDAR PDF&lt;/b&gt; pede um nome de ficheiro e escreve todas as páginas, pela ordem da lista, num só ficheiro PDF. Cada página mantém o seu tamanho em papel, obtido da sua resolução. Com a compressão ligada (página Geral), as páginas a cores e em cinzento são guardadas como JPEG com a qualidade escolhida; as páginas a preto e branco sempre sem perdas. Depois de guardar, o Vellumo oferece-se para esvaziar a lista.</translation>
    </message>
    <message>
        <source>&lt;b&gt;MAIL AS PDF&lt;/b&gt; builds the same PDF as &lt;code&gt;Images.pdf&lt;/code&gt; and sends it, either directly through the SMTP server set up on the Email page (you write the message in a small mail window; a progress bar with &lt;b&gt;Cancel&lt;/b&gt; shows the transfer), or by handing it to your desktop&apos;s mail program. Afterwards it offers to clear the list.</source>
        <translation>&lt;b&gt;ENVIAR PDF&lt;/b&gt; cria o mesmo PDF como &lt;code&gt;Images.pdf&lt;/code&gt; e envia-o, diretamente pelo servidor SMTP definido na página E-mail (escreve a mensagem numa pequena janela; uma barra de progresso com &lt;b&gt;Cancelar&lt;/b&gt; mostra a transferência), ou entregando-o ao programa de e-mail do seu ambiente de trabalho. Depois oferece-se para esvaziar a lista.</translation>
    </message>
    <message>
        <source>When you end the program while the list still holds pages, Vellumo asks &quot;You didn&apos;t save or send the pages in the list. Quit anyway?&quot; so that nothing is lost by accident.</source>
        <translation>Se fechar o programa enquanto a lista ainda tem páginas, o Vellumo pergunta «Não guardou nem enviou as páginas da lista. Sair mesmo assim?», para que nada se perca por engano.</translation>
    </message>
    <message>
        <source>The settings pages</source>
        <translation>As páginas de definições</translation>
    </message>
    <message>
        <source>Press &lt;b&gt;SETTINGS&lt;/b&gt; to open the settings view; &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; switch between its pages, &lt;b&gt;HOME&lt;/b&gt; or &lt;b&gt;SETTINGS&lt;/b&gt; again returns to the page list. Values are stored when you leave a page.</source>
        <translation>&lt;b&gt;DEFINIÇÕES&lt;/b&gt; abre a vista das definições; &lt;b&gt;Geral&lt;/b&gt; e &lt;b&gt;E-mail&lt;/b&gt; mudam entre as suas páginas, &lt;b&gt;INÍCIO&lt;/b&gt; ou outra vez &lt;b&gt;DEFINIÇÕES&lt;/b&gt; volta à lista de páginas. Os valores são guardados quando sai de uma página.</translation>
    </message>
    <message>
        <source>&lt;b&gt;General&lt;/b&gt;: the scanner to use; the default scanning mode, brightness, page size and options that the quick settings start from; the resolutions for black and white, grey and colour scans; automatic cropping and inverting; PDF compression and its quality; the log file.</source>
        <translation>&lt;b&gt;Geral&lt;/b&gt;: o scanner; o modo, o brilho, o tamanho da página e as opções de onde partem as definições rápidas; as resoluções para preto e branco, cinzento e cores; o recorte e a inversão automáticos; a compressão do PDF e a sua qualidade; o registo.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Email&lt;/b&gt;: whether to send through SMTP or through the desktop&apos;s mail program; the SMTP server, port, user name, password and your address; an address to forward to.</source>
        <translation>&lt;b&gt;E-mail&lt;/b&gt;: se envia por SMTP ou pelo programa de e-mail do ambiente de trabalho; o servidor SMTP, a porta, o utilizador, a palavra-passe e o seu endereço; um endereço para reencaminhar.</translation>
    </message>
    <message>
        <source>The settings are kept in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, readable by you alone.</source>
        <translation>As definições ficam em &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, que só o utilizador pode ler.</translation>
    </message>
    <message>
        <source>Tick &quot;Make log file&quot; on the General page and Vellumo writes one line with date and time for every step of its work (start, scanner talk, pages, PDF building, mailing, end) into &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in your documents folder. The file is only appended to; delete it when you no longer need it. It helps support find out what went wrong.</source>
        <translation>Marque «Escrever registo» na página Geral e o Vellumo escreve uma linha com data e hora por cada passo do seu trabalho (início, scanner, páginas, criação do PDF, envio, fim) em &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; na sua pasta de documentos. O ficheiro só cresce; apague-o quando já não precisar dele. Ajuda o suporte a descobrir o que correu mal.</translation>
    </message>
    <message>
        <source>The command-line front end</source>
        <translation>A linha de comandos</translation>
    </message>
    <message>
        <source>&lt;code&gt;vellumo-cli&lt;/code&gt; does the same work without windows, for scripts and automation. It loads image files, applies the page corrections, writes PDFs, scans from a SANE device and mails PDFs through SMTP, with the same engine and the same settings as the windows. The program lists its own commands and options when asked for its usage.</source>
        <translation>&lt;code&gt;vellumo-cli&lt;/code&gt; faz o mesmo trabalho sem janelas, para scripts e automatização. Carrega ficheiros de imagem, corrige páginas, escreve PDF, digitaliza com um dispositivo SANE e envia PDF por SMTP, com o mesmo motor e as mesmas definições que as janelas. O programa lista os seus comandos e opções quando se pergunta como se usa.</translation>
    </message>
    <message>
        <source>The program itself accepts one switch: started with &lt;code&gt;/GO&lt;/code&gt; while another Vellumo is running, it asks that one to close first.</source>
        <translation>O programa aceita um único parâmetro: iniciado com &lt;code&gt;/GO&lt;/code&gt; enquanto outro Vellumo está a correr, pede primeiro a esse que feche.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>Vellumo 3.07. Questions and reports: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, web site &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</source>
        <translation>Vellumo 3.07. Perguntas e relatórios: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, sítio web &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Everything works from the keyboard too: &lt;kbd&gt;Tab&lt;/kbd&gt; moves from control to control in the order they stand on the screen, and a blue ring shows where you are; the arrow keys choose within a group of round buttons; &lt;kbd&gt;Space&lt;/kbd&gt; presses the button or ticks the box that has the ring. Screen readers name every control.</source>
        <translation>Tudo funciona também com o teclado: &lt;kbd&gt;Tab&lt;/kbd&gt; passa de um controlo para outro pela ordem do ecrã, e um anel azul mostra onde está; as setas escolhem dentro de um grupo de botões redondos; &lt;kbd&gt;Espaço&lt;/kbd&gt; prime o botão ou marca a caixa que tem o anel. Os leitores de ecrã dão nome a cada controlo.</translation>
    </message>
    <message>
        <source>Vellumo speaks the language of your desktop when it knows it (German, French, Spanish, Italian, Dutch or Portuguese) and English otherwise. The log file is always in English.</source>
        <translation>O Vellumo fala a língua do seu ambiente de trabalho quando a conhece (alemão, francês, espanhol, italiano, neerlandês ou português) e, se não, inglês. O registo está sempre em inglês.</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>*** Successfully created %1 ***</source>
        <translation>*** %1 foi criado ***</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): invalid parameters</source>
        <translation>Não foi possível criar o ficheiro PDF %1 (erro %2): parâmetros inválidos</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), possibly because the file is in use by another application</source>
        <translation>Não foi possível criar o ficheiro PDF %1 (erro %2), talvez porque outro programa está a usar o ficheiro</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), PDF file already exists and could not be overwritten - it is possibly being held open by a PDF viewer application</source>
        <translation>Não foi possível criar o ficheiro PDF %1 (erro %2): o ficheiro já existe e não pôde ser substituído - talvez um visualizador de PDF o tenha aberto</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): no images to be added</source>
        <translation>Não foi possível criar o ficheiro PDF %1 (erro %2): não há imagens para acrescentar</translation>
    </message>
    <message>
        <source>Could not create PDF file %1: %2</source>
        <translation>Não foi possível criar o ficheiro PDF %1: %2</translation>
    </message>
    <message>
        <source>Could not add image to PDF file %1 (error %2)</source>
        <translation>Não foi possível acrescentar a imagem ao ficheiro PDF %1 (erro %2)</translation>
    </message>
    <message>
        <source>Unsupported graphics format</source>
        <translation>Formato gráfico não suportado</translation>
    </message>
    <message>
        <source>Creating PDF...</source>
        <translation>A criar o PDF...</translation>
    </message>
    <message>
        <source>Creating mail message...</source>
        <translation>A criar o e-mail...</translation>
    </message>
    <message>
        <source>Looking for scanner...</source>
        <translation>A procurar o scanner...</translation>
    </message>
    <message>
        <source>Setting up scanner %1 ....</source>
        <translation>A preparar o scanner %1 ....</translation>
    </message>
    <message>
        <source>Scanning from %1 ....</source>
        <translation>A digitalizar com %1 ....</translation>
    </message>
    <message>
        <source>Saving image to temporary file ....</source>
        <translation>A guardar a imagem num ficheiro temporário ....</translation>
    </message>
    <message>
        <source>Error opening TWAIN session</source>
        <translation>Erro ao abrir a sessão do scanner</translation>
    </message>
    <message>
        <source>Scanner doesn&apos;t support duplex mode</source>
        <translation>O scanner não digitaliza frente e verso</translation>
    </message>
    <message>
        <source>The scanner is still busy with the last scan</source>
        <translation>O scanner ainda está ocupado com a última digitalização</translation>
    </message>
    <message>
        <source>Error while setting units:
%1</source>
        <translation>Erro ao definir as unidades:
%1</translation>
    </message>
    <message>
        <source>Error while setting pixel type:
%1</source>
        <translation>Erro ao definir o tipo de píxel:
%1</translation>
    </message>
    <message>
        <source>Error while setting resolution:
%1</source>
        <translation>Erro ao definir a resolução:
%1</translation>
    </message>
    <message>
        <source>Error while setting brightness to %1
%2</source>
        <translation>Erro ao definir o brilho para %1
%2</translation>
    </message>
    <message>
        <source>Error while setting image layout: capability not supported
%1</source>
        <translation>Erro ao definir a área da imagem: não suportado
%1</translation>
    </message>
    <message>
        <source>Error while setting XferCount
%1</source>
        <translation>Erro ao definir o número de páginas (XferCount)
%1</translation>
    </message>
    <message>
        <source>Error while scanning:
%1</source>
        <translation>Erro ao digitalizar:
%1</translation>
    </message>
    <message>
        <source>Error while selecting data source:
%1</source>
        <translation>Erro ao escolher a origem:
%1</translation>
    </message>
    <message>
        <source>Error %1 while converting image</source>
        <translation>Erro %1 ao converter a imagem</translation>
    </message>
    <message>
        <source>Error %1 while saving image</source>
        <translation>Erro %1 ao guardar a imagem</translation>
    </message>
    <message>
        <source>Nothing to save yet</source>
        <translation>Ainda não há nada para guardar</translation>
    </message>
    <message>
        <source>Nothing to mail yet</source>
        <translation>Ainda não há nada para enviar</translation>
    </message>
    <message>
        <source>Clear list of pages to save or send?</source>
        <translation>Esvaziar a lista de páginas?</translation>
    </message>
    <message>
        <source>Clear list of pages to send?</source>
        <translation>Esvaziar a lista de páginas a enviar?</translation>
    </message>
    <message>
        <source>Delete this image?</source>
        <translation>Apagar esta imagem?</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>Nenhuma página escolhida</translation>
    </message>
    <message>
        <source>No need to move page</source>
        <translation>Não é preciso mover a página</translation>
    </message>
    <message>
        <source>You didn&apos;t save or send the pages in the list. Quit anyway?</source>
        <translation>Não guardou nem enviou as páginas da lista. Sair mesmo assim?</translation>
    </message>
    <message>
        <source>Unable to determine temporary file path</source>
        <translation>Não se encontra a pasta dos ficheiros temporários</translation>
    </message>
    <message>
        <source>Unable to create temporary file</source>
        <translation>Não foi possível criar o ficheiro temporário</translation>
    </message>
    <message>
        <source>Unable to initialize MIME</source>
        <translation>Não foi possível iniciar o MIME</translation>
    </message>
    <message>
        <source>Unable to create message</source>
        <translation>Não foi possível criar a mensagem</translation>
    </message>
    <message>
        <source>Unable to attach file</source>
        <translation>Não foi possível anexar o ficheiro</translation>
    </message>
    <message>
        <source>Unable to initialize SMTP</source>
        <translation>Não foi possível iniciar o SMTP</translation>
    </message>
    <message>
        <source>SMTP server requires authentication, but you did not specify a user-id and password for this server!</source>
        <translation>O servidor SMTP pede autenticação, mas não indicou utilizador nem palavra-passe para este servidor!</translation>
    </message>
    <message>
        <source>Message successfully sent</source>
        <translation>Mensagem enviada</translation>
    </message>
    <message>
        <source>Message successfully sent to %1</source>
        <translation>Mensagem enviada para %1</translation>
    </message>
    <message>
        <source>Unable to deliver message to %1: %2</source>
        <translation>Não foi possível entregar a mensagem a %1: %2</translation>
    </message>
    <message>
        <source>Sending mail message, please wait ...</source>
        <translation>A enviar o e-mail, aguarde ...</translation>
    </message>
    <message>
        <source>Sending mail, please wait ...</source>
        <translation>A enviar o e-mail, aguarde ...</translation>
    </message>
    <message>
        <source>Connecting to mail server, please wait ...</source>
        <translation>A ligar ao servidor de e-mail, aguarde ...</translation>
    </message>
    <message>
        <source>Logging in to mail server, please wait ...</source>
        <translation>A iniciar sessão no servidor de e-mail, aguarde ...</translation>
    </message>
    <message>
        <source>Could not find MAPI DLL</source>
        <translation>Nenhum programa de e-mail encontrado</translation>
    </message>
    <message>
        <source>Invalid MAPI DLL</source>
        <translation>Programa de e-mail inválido</translation>
    </message>
    <message>
        <source>No memory during MAPI send mail</source>
        <translation>Memória insuficiente ao entregar o e-mail</translation>
    </message>
    <message>
        <source>Error during MAPI send mail</source>
        <translation>Erro ao entregar o e-mail</translation>
    </message>
    <message>
        <source>*** Mail application ended without errors ***</source>
        <translation>*** O programa de e-mail terminou sem erros ***</translation>
    </message>
    <message>
        <source>Select PDF file to save to</source>
        <translation>Escolha o ficheiro PDF onde guardar</translation>
    </message>
    <message>
        <source>Select file(s) to load</source>
        <translation>Escolha o(s) ficheiro(s) a carregar</translation>
    </message>
    <message>
        <source>Save As Graphics File</source>
        <translation>Guardar como imagem</translation>
    </message>
    <message>
        <source>PDF File (*.PDF)</source>
        <translation>Ficheiro PDF (*.PDF)</translation>
    </message>
    <message>
        <source>TIFF File (*.tif)</source>
        <translation>Ficheiro TIFF (*.tif)</translation>
    </message>
    <message>
        <source>BMP File (*.bmp)</source>
        <translation>Ficheiro BMP (*.bmp)</translation>
    </message>
    <message>
        <source>JPEG File (*.jpg)</source>
        <translation>Ficheiro JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>PCX File (*.pcx)</source>
        <translation>Ficheiro PCX (*.pcx)</translation>
    </message>
    <message>
        <source>GIF File (*.gif)</source>
        <translation>Ficheiro GIF (*.gif)</translation>
    </message>
    <message>
        <source>PNG File (*.png)</source>
        <translation>Ficheiro PNG (*.png)</translation>
    </message>
    <message>
        <source>EPS File (*.eps)</source>
        <translation>Ficheiro EPS (*.eps)</translation>
    </message>
    <message>
        <source>TGA File (*.tga)</source>
        <translation>Ficheiro TGA (*.tga)</translation>
    </message>
    <message>
        <source>Recognising text, page %1 of %2</source>
        <translation>A reconhecer o texto, página %1 de %2</translation>
    </message>
    <message>
        <source>Loading pages...</source>
        <translation>A carregar as páginas...</translation>
    </message>
    <message>
        <source>%1 is protected. Password:</source>
        <translation>%1 está protegido. Palavra-passe:</translation>
    </message>
    <message>
        <source>Wrong password for %1. Password:</source>
        <translation>Palavra-passe incorreta para %1. Palavra-passe:</translation>
    </message>
    <message>
        <source>Vellumo was not closed properly. Restore the %1 pages of the last session?</source>
        <translation>O Vellumo não foi fechado corretamente. Restaurar as %1 páginas da última sessão?</translation>
    </message>
    <message>
        <source>1 page could not be restored because its file is missing.</source>
        <translation>Não foi possível restaurar 1 página porque o seu ficheiro está em falta.</translation>
    </message>
    <message>
        <source>%1 pages could not be restored because their files are missing.</source>
        <translation>Não foi possível restaurar %1 páginas porque os seus ficheiros estão em falta.</translation>
    </message>
    <message>
        <source>The list of pages of a session that was not closed properly could not be read (%1). It was set aside in %2.</source>
        <translation>Não foi possível ler a lista de páginas de uma sessão que não foi fechada corretamente (%1). Foi posta de parte em %2.</translation>
    </message>
    <message>
        <source>The folder for the pages cannot be used (%1). Pages are kept in the temporary folder and cannot be restored after a crash.</source>
        <translation>Não é possível usar a pasta das páginas (%1). As páginas ficam na pasta temporária e não poderão ser restauradas após uma falha.</translation>
    </message>
    <message>
        <source>The change was not made: the list of pages could not be saved in %1 (%2).</source>
        <translation>A alteração não foi feita: não foi possível guardar a lista de páginas em %1 (%2).</translation>
    </message>
</context>
<context>
    <name>PageAction</name>
    <message>
        <source>load</source>
        <translation>carregamento</translation>
    </message>
    <message>
        <source>scan</source>
        <translation>digitalização</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>eliminação</translation>
    </message>
    <message>
        <source>move</source>
        <translation>deslocação</translation>
    </message>
    <message>
        <source>rotate right</source>
        <translation>rotação à direita</translation>
    </message>
    <message>
        <source>rotate left</source>
        <translation>rotação à esquerda</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>inversão</translation>
    </message>
    <message>
        <source>mirror</source>
        <translation>espelho</translation>
    </message>
    <message>
        <source>clear list</source>
        <translation>esvaziamento da lista</translation>
    </message>
    <message>
        <source>change</source>
        <translation>alteração</translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>Fit page	F</source>
        <translation>Página inteira	F</translation>
    </message>
    <message>
        <source>Fit width	W</source>
        <translation>Largura da página	W</translation>
    </message>
    <message>
        <source>100 %	1</source>
        <translation>100 %	1</translation>
    </message>
    <message>
        <source>Zoom in	+</source>
        <translation>Ampliar	+</translation>
    </message>
    <message>
        <source>Zoom out	-</source>
        <translation>Reduzir	-</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Paper to PDF</source>
        <translation>Do papel ao PDF</translation>
    </message>
    <message>
        <source>Scan or load pages</source>
        <translation>Digitalizar ou carregar</translation>
    </message>
    <message>
        <source>Check them in the list</source>
        <translation>Rever na lista</translation>
    </message>
    <message>
        <source>Save or mail as PDF</source>
        <translation>Guardar ou enviar em PDF</translation>
    </message>
    <message>
        <source>Click a page to view it, right-click to edit</source>
        <translation>Clique: ver a página; clique direito: editar</translation>
    </message>
    <message>
        <source>Scanning mode</source>
        <translation>Modo de digitalização</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brilho</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Escuro</translation>
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
        <translation>Tamanho da página</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opções</translation>
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
        <translation>Não é possível mostrar %1:
%2</translation>
    </message>
</context>
</TS>
