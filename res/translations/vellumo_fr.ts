<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AppStream</name>
    <message>
        <source>Turn paper into PDF</source>
        <translation>Transformer le papier en PDF</translation>
    </message>
    <message>
        <source>Vellumo scans pages from a scanner or loads image files, shows them as a list of thumbnails, and saves all pages as one PDF file or sends that PDF by e-mail.</source>
        <translation>Vellumo numérise des pages avec un scanner ou charge des fichiers image, les montre sous forme de liste de vignettes et enregistre toutes les pages dans un seul fichier PDF ou envoie ce PDF par courriel.</translation>
    </message>
    <message>
        <source>Scan from any SANE scanner, from the flatbed or the document feeder, in black and white, grey or colour</source>
        <translation>Numériser avec tout scanner SANE, à plat ou depuis le chargeur, en noir et blanc, en niveaux de gris ou en couleur</translation>
    </message>
    <message>
        <source>Load TIFF, BMP, JPEG, PCX, GIF, PNG and TGA files as pages</source>
        <translation>Charger des fichiers TIFF, BMP, JPEG, PCX, GIF, PNG et TGA comme pages</translation>
    </message>
    <message>
        <source>Rotate, invert, mirror, crop, reorder and delete pages; crop scanned pages automatically</source>
        <translation>Pivoter, inverser, retourner, rogner, réordonner et supprimer des pages ; rogner automatiquement les pages numérisées</translation>
    </message>
    <message>
        <source>Save the pages as one PDF, or save a page as an image file</source>
        <translation>Enregistrer les pages dans un seul PDF, ou une page comme fichier image</translation>
    </message>
    <message>
        <source>Mail the PDF through the desktop&apos;s mail program or directly through an SMTP server</source>
        <translation>Envoyer le PDF avec le logiciel de courriel du bureau ou directement par un serveur SMTP</translation>
    </message>
    <message>
        <source>A command-line program, vellumo-cli, does the same without windows</source>
        <translation>Un programme en ligne de commande, vellumo-cli, fait de même sans fenêtres</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vellumo</source>
        <translation>À propos de Vellumo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Send me mail!</source>
        <translation>Écrivez-moi !</translation>
    </message>
</context>
<context>
    <name>CActivityDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 sur %2</translation>
    </message>
</context>
<context>
    <name>CPageView</name>
    <message>
        <source>Scanned</source>
        <translation>Numérisée</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>Page %1 : %2</translation>
    </message>
    <message>
        <source> (page %1)</source>
        <translation> (page %1)</translation>
    </message>
    <message>
        <source>Blank page</source>
        <translation>Page blanche</translation>
    </message>
    <message>
        <source>Waiting for its text</source>
        <translation>En attente de son texte</translation>
    </message>
</context>
<context>
    <name>CPreviewDlg</name>
    <message>
        <source>Vellumo - Scanned image preview</source>
        <translation>Vellumo - Aperçu de l&apos;image numérisée</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Dis&amp;card</source>
        <translation>&amp;Jeter</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Enregistrer sous...</translation>
    </message>
    <message>
        <source>&amp;Crop</source>
        <translation>&amp;Rogner</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>Pivoter à &amp;gauche</translation>
    </message>
    <message>
        <source>Rotate &amp;right</source>
        <translation>Pivoter à &amp;droite</translation>
    </message>
    <message>
        <source>&amp;Upside down</source>
        <translation>&amp;Retourner</translation>
    </message>
    <message>
        <source>&amp;Invert image</source>
        <translation>&amp;Inverser</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Ajuster</translation>
    </message>
</context>
<context>
    <name>CSendMailDlg</name>
    <message>
        <source>Vellumo - Send by email</source>
        <translation>Vellumo - Envoyer par courriel</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>De :</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>À :</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Objet :</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Message :</translation>
    </message>
    <message>
        <source>Send mail</source>
        <translation>Envoyer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>CSourceDialog</name>
    <message>
        <source>Select Source</source>
        <translation>Choisir la source</translation>
    </message>
    <message>
        <source>Sources:</source>
        <translation>Sources :</translation>
    </message>
</context>
<context>
    <name>CTabDocumentsDlg</name>
    <message>
        <source>Searchable PDFs: </source>
        <translation>PDF interrogeables : </translation>
    </message>
    <message>
        <source>Scanned pages: </source>
        <translation>Pages numérisées : </translation>
    </message>
    <message>
        <source>Document Settings</source>
        <translation>Réglages des documents</translation>
    </message>
    <message>
        <source>Make PDFs searchable (recognise text)</source>
        <translation>Rendre les PDF interrogeables (reconnaître le texte)</translation>
    </message>
    <message>
        <source>Languages to recognise:</source>
        <translation>Langues à reconnaître :</translation>
    </message>
    <message>
        <source>Straighten pages</source>
        <translation>Redresser les pages</translation>
    </message>
    <message>
        <source>Turn pages upright</source>
        <translation>Remettre les pages à l&apos;endroit</translation>
    </message>
    <message>
        <source>Blank pages:</source>
        <translation>Pages blanches :</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Marquer</translation>
    </message>
    <message>
        <source>Drop</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Non</translation>
    </message>
    <message>
        <source> - not installed</source>
        <translation> - non installée</translation>
    </message>
</context>
<context>
    <name>CTabEmailDlg</name>
    <message>
        <source>Email Settings</source>
        <translation>Réglages du courriel</translation>
    </message>
    <message>
        <source>Send email via SMTP server</source>
        <translation>Envoyer par un serveur SMTP</translation>
    </message>
    <message>
        <source>To e-mail address:</source>
        <translation>Adresse de destination :</translation>
    </message>
    <message>
        <source>Send e-mail using this SMTP server:</source>
        <translation>Envoyer par ce serveur SMTP :</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port :</translation>
    </message>
    <message>
        <source>User id:</source>
        <translation>Utilisateur :</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe :</translation>
    </message>
    <message>
        <source>My e-mail address:</source>
        <translation>Mon adresse :</translation>
    </message>
    <message>
        <source>Send test email</source>
        <translation>Courriel de test</translation>
    </message>
</context>
<context>
    <name>CTabGeneralDlg</name>
    <message>
        <source>Brightness: </source>
        <translation>Luminosité : </translation>
    </message>
    <message>
        <source>Page size: </source>
        <translation>Format : </translation>
    </message>
    <message>
        <source>Options: </source>
        <translation>Options : </translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Réglages généraux</translation>
    </message>
    <message>
        <source>Current TWAIN device:</source>
        <translation>Scanner actuel :</translation>
    </message>
    <message>
        <source>&amp;Select device</source>
        <translation>&amp;Choisir</translation>
    </message>
    <message>
        <source>Default scan parameters:</source>
        <translation>Réglages par défaut :</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Noir et blanc</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Niveaux de gris</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Resolution in black and white:</source>
        <translation>Résolution noir et blanc :</translation>
    </message>
    <message>
        <source>Resolution in grey scales:</source>
        <translation>Résolution gris :</translation>
    </message>
    <message>
        <source>Resolution in color:</source>
        <translation>Résolution couleur :</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Clair</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Luminosité : la plus claire</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Luminosité : plus claire</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Luminosité : claire</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Luminosité : normale</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Luminosité : sombre</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Luminosité : plus sombre</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Luminosité : la plus sombre</translation>
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
        <translation>Compression PDF en pour cent</translation>
    </message>
    <message>
        <source>&amp;Reset to factory defaults</source>
        <translation>&amp;Valeurs d&apos;usine</translation>
    </message>
    <message>
        <source>Show scan result before saving it</source>
        <translation>Voir le scan avant de le garder</translation>
    </message>
    <message>
        <source>Auto crop scanned images</source>
        <translation>Rogner automatiquement</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Sans chargeur</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Recto verso</translation>
    </message>
    <message>
        <source>Invert scanned image</source>
        <translation>Inverser les scans</translation>
    </message>
    <message>
        <source>Compress PDF:</source>
        <translation>Compresser PDF :</translation>
    </message>
    <message>
        <source>Make log file</source>
        <translation>Écrire un journal</translation>
    </message>
</context>
<context>
    <name>CVellumoDlg</name>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
</context>
<context>
    <name>CVellumoTranslucentDlg</name>
    <message>
        <source>Pages ready to save (%1):</source>
        <translation>Pages à enregistrer (%1) :</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Rotate &amp;right</source>
        <translation>Pivoter à &amp;droite</translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation>Pivoter à &amp;gauche</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Inverser</translation>
    </message>
    <message>
        <source>&amp;Mirror</source>
        <translation>&amp;Miroir</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>Vers le &amp;haut</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Vers le &amp;bas</translation>
    </message>
    <message>
        <source>SCAN PAGE</source>
        <translation>NUMÉRISER</translation>
    </message>
    <message>
        <source>LOAD PAGE</source>
        <translation>CHARGER</translation>
    </message>
    <message>
        <source>MAIL AS PDF</source>
        <translation>ENVOYER PDF</translation>
    </message>
    <message>
        <source>SAVE AS PDF</source>
        <translation>ENREGISTRER PDF</translation>
    </message>
    <message>
        <source>ABOUT</source>
        <translation>À PROPOS</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>AIDE</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>ACCUEIL</translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation>RÉGLAGES</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Courriel</translation>
    </message>
    <message>
        <source>Scan in black and white</source>
        <translation>Noir et blanc</translation>
    </message>
    <message>
        <source>Scan in grey scales</source>
        <translation>Niveaux de gris</translation>
    </message>
    <message>
        <source>Scan in color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Brightness: brightest</source>
        <translation>Luminosité : la plus claire</translation>
    </message>
    <message>
        <source>Brightness: brighter</source>
        <translation>Luminosité : plus claire</translation>
    </message>
    <message>
        <source>Brightness: bright</source>
        <translation>Luminosité : claire</translation>
    </message>
    <message>
        <source>Brightness: normal</source>
        <translation>Luminosité : normale</translation>
    </message>
    <message>
        <source>Brightness: dark</source>
        <translation>Luminosité : sombre</translation>
    </message>
    <message>
        <source>Brightness: darker</source>
        <translation>Luminosité : plus sombre</translation>
    </message>
    <message>
        <source>Brightness: darkest</source>
        <translation>Luminosité : la plus sombre</translation>
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
        <translation>Voir le scan avant de le garder</translation>
    </message>
    <message>
        <source>Disable autofeeder</source>
        <translation>Sans chargeur</translation>
    </message>
    <message>
        <source>Enable duplex scanning</source>
        <translation>Recto verso</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Documents</translation>
    </message>
    <message>
        <source>Straighten</source>
        <translation>Redresser</translation>
    </message>
    <message>
        <source>Turn upright</source>
        <translation>Remettre à l&apos;endroit</translation>
    </message>
    <message>
        <source>Delete blank pages</source>
        <translation>Supprimer les pages blanches</translation>
    </message>
    <message>
        <source>Interleave (fronts, then backs)</source>
        <translation>Entrelacer (recto, puis verso)</translation>
    </message>
    <message>
        <source>Interleave, backs reversed</source>
        <translation>Entrelacer, verso inversé</translation>
    </message>
    <message>
        <source>Reverse order</source>
        <translation>Inverser l&apos;ordre</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler : %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rétablir : %1</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>Scan to PDF</source>
        <translation>Numériser en PDF</translation>
    </message>
    <message>
        <source>Scan pages or load image files, correct them and save or mail them as one PDF</source>
        <translation>Numériser des pages ou charger des images, les corriger et les enregistrer ou les envoyer en un seul PDF</translation>
    </message>
    <message>
        <source>scan;scanner;PDF;document;paper;mail;</source>
        <translation>numériser;scanner;PDF;document;papier;courriel;</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Vellumo Help</source>
        <translation>Aide de Vellumo</translation>
    </message>
    <message>
        <source>Vellumo turns paper into PDF. You scan pages or load image files, see them as a list of thumbnails, correct them (rotate, invert, mirror, reorder, delete), and then save all pages as one PDF file or send that PDF by e-mail.</source>
        <translation>Vellumo transforme le papier en PDF. Vous numérisez des pages ou chargez des fichiers image, les voyez sous forme de liste de vignettes, les corrigez (pivoter, inverser, retourner, réordonner, supprimer), puis enregistrez toutes les pages dans un seul fichier PDF ou envoyez ce PDF par courriel.</translation>
    </message>
    <message>
        <source>The window</source>
        <translation>La fenêtre</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Numériser</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Charger</translation>
    </message>
    <message>
        <source>The page list</source>
        <translation>La liste des pages</translation>
    </message>
    <message>
        <source>Keys and drag and drop</source>
        <translation>Touches et glisser-déposer</translation>
    </message>
    <message>
        <source>Correcting pages</source>
        <translation>Corriger les pages</translation>
    </message>
    <message>
        <source>The preview</source>
        <translation>L&apos;aperçu</translation>
    </message>
    <message>
        <source>Saving and mailing</source>
        <translation>Enregistrer et envoyer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>The log file</source>
        <translation>Le journal</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Ligne de commande</translation>
    </message>
    <message>
        <source>The left column holds the tabs &lt;b&gt;HOME&lt;/b&gt; and &lt;b&gt;SETTINGS&lt;/b&gt; (with its pages &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; below it), and the buttons &lt;b&gt;ABOUT&lt;/b&gt; and &lt;b&gt;HELP&lt;/b&gt;. In the home view the middle shows the page list with the number of pages above it, and the right column shows the buttons &lt;b&gt;SCAN PAGE&lt;/b&gt; and &lt;b&gt;LOAD PAGE&lt;/b&gt; above, &lt;b&gt;MAIL AS PDF&lt;/b&gt; and &lt;b&gt;SAVE AS PDF&lt;/b&gt; below, and the quick settings in between. The two round buttons at the top right minimise the window and end the program. Drag the window by any free spot of it.</source>
        <translation>La colonne de gauche porte les onglets &lt;b&gt;ACCUEIL&lt;/b&gt; et &lt;b&gt;RÉGLAGES&lt;/b&gt; (avec ses pages &lt;b&gt;Général&lt;/b&gt; et &lt;b&gt;Courriel&lt;/b&gt; en dessous) et les boutons &lt;b&gt;À PROPOS&lt;/b&gt; et &lt;b&gt;AIDE&lt;/b&gt;. Dans la vue d&apos;accueil, le milieu montre la liste des pages avec leur nombre au-dessus, et la colonne de droite montre en haut les boutons &lt;b&gt;NUMÉRISER&lt;/b&gt; et &lt;b&gt;CHARGER&lt;/b&gt;, en bas &lt;b&gt;ENVOYER PDF&lt;/b&gt; et &lt;b&gt;ENREGISTRER PDF&lt;/b&gt;, et entre eux les réglages rapides. Les deux boutons ronds en haut à droite réduisent la fenêtre et quittent le programme. Déplacez la fenêtre en la saisissant par n&apos;importe quel endroit libre.</translation>
    </message>
    <message>
        <source>The quick settings act on the next scans only and are not kept when you end the program:</source>
        <translation>Les réglages rapides ne valent que pour les prochaines numérisations et ne sont pas gardés à la fin du programme :</translation>
    </message>
    <message>
        <source>&lt;b&gt;Scanning mode&lt;/b&gt;: black and white, grey scales or colour.</source>
        <translation>&lt;b&gt;Mode de numérisation&lt;/b&gt; : noir et blanc, niveaux de gris ou couleur.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brightness&lt;/b&gt;: seven steps from Dark on the left through Normal to Bright on the right.</source>
        <translation>&lt;b&gt;Luminosité&lt;/b&gt; : sept degrés, de Sombre à gauche à Clair à droite en passant par Normal.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Page size&lt;/b&gt;: Letter, A4, Legal or A3.</source>
        <translation>&lt;b&gt;Format de page&lt;/b&gt; : Letter, A4, Legal ou A3.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Options&lt;/b&gt;: show the scan result before it joins the list (the preview), do not use the automatic document feeder, scan both sides of each sheet (duplex).</source>
        <translation>&lt;b&gt;Options&lt;/b&gt; : montrer le résultat avant qu&apos;il n&apos;entre dans la liste (l&apos;aperçu), ne pas utiliser le chargeur automatique, numériser les deux faces de chaque feuille (recto verso).</translation>
    </message>
    <message>
        <source>Pressing &lt;b&gt;HOME&lt;/b&gt; puts the quick settings back to the defaults stored on the General settings page. The keys: &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing; &lt;kbd&gt;Enter&lt;/kbd&gt; ends the program, and asks first when the list still holds pages.</source>
        <translation>&lt;b&gt;ACCUEIL&lt;/b&gt; remet les réglages rapides aux valeurs par défaut de la page de réglages Général. Les touches : &lt;kbd&gt;Échap&lt;/kbd&gt; ne fait rien ; &lt;kbd&gt;Entrée&lt;/kbd&gt; quitte le programme, après avoir demandé si la liste contient encore des pages.</translation>
    </message>
    <message>
        <source>Put the paper on the glass or in the feeder and press &lt;b&gt;SCAN PAGE&lt;/b&gt;. Vellumo talks to the scanner chosen on the General page (any scanner your system knows through SANE), using the scanning mode, resolution, brightness, feeder and duplex settings. While it scans, a small window shows what is happening and offers &lt;b&gt;Cancel&lt;/b&gt;. Each scanned page is kept in a private temporary file and appears in the page list as &lt;i&gt;Scanned&lt;/i&gt;. When the options say so, pages are inverted (white on black originals) or cropped to the paper automatically.</source>
        <translation>Posez le papier sur la vitre ou dans le chargeur et appuyez sur &lt;b&gt;NUMÉRISER&lt;/b&gt;. Vellumo utilise le scanner choisi sur la page Général (tout scanner que votre système connaît par SANE), avec les réglages de mode, de résolution, de luminosité, de chargeur et de recto verso. Pendant la numérisation, une petite fenêtre montre ce qui se passe et propose &lt;b&gt;Annuler&lt;/b&gt;. Chaque page numérisée est gardée dans un fichier temporaire privé et apparaît dans la liste comme &lt;i&gt;Numérisée&lt;/i&gt;. Si les options le demandent, les pages sont inversées (originaux blanc sur noir) ou rognées automatiquement au format du papier.</translation>
    </message>
    <message>
        <source>Loading image files</source>
        <translation>Charger des fichiers image</translation>
    </message>
    <message>
        <source>&lt;b&gt;LOAD PAGE&lt;/b&gt; opens a file dialog in which you can choose one or more image files: TIFF, BMP, JPEG, PCX, GIF, PNG and TGA. Every file becomes a page at the end of the list, shown with its full path. Vellumo reads your files where they are: it never changes or deletes them. A file that cannot be read is reported and skipped.</source>
        <translation>&lt;b&gt;CHARGER&lt;/b&gt; ouvre une fenêtre où vous choisissez un ou plusieurs fichiers image : TIFF, BMP, JPEG, PCX, GIF, PNG et TGA. Chaque fichier devient une page en fin de liste, affichée avec son chemin complet. Vellumo lit vos fichiers là où ils sont : il ne les modifie ni ne les supprime jamais. Un fichier illisible est signalé et ignoré.</translation>
    </message>
    <message>
        <source>The page list and its context menu</source>
        <translation>La liste des pages et son menu</translation>
    </message>
    <message>
        <source>The list shows every page as a thumbnail, in the order they will appear in the PDF. The line above the list counts them. Click a page to open it in an image viewer (a program named &lt;code&gt;viewer&lt;/code&gt; beside Vellumo when there is one, otherwise your desktop&apos;s viewer).</source>
        <translation>La liste montre chaque page en vignette, dans l&apos;ordre où elles paraîtront dans le PDF. La ligne au-dessus de la liste les compte. Un clic sur une page l&apos;ouvre dans une visionneuse (un programme nommé &lt;code&gt;viewer&lt;/code&gt; à côté de Vellumo s&apos;il existe, sinon la visionneuse de votre bureau).</translation>
    </message>
    <message>
        <source>Right-click a page for its menu:</source>
        <translation>Un clic droit sur une page ouvre son menu :</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Entrée</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>Ce qu&apos;elle fait</translation>
    </message>
    <message>
        <source>Rotate right / Rotate left</source>
        <translation>Pivoter à droite / Pivoter à gauche</translation>
    </message>
    <message>
        <source>turns the page a quarter turn clockwise or counter-clockwise</source>
        <translation>tourne la page d&apos;un quart de tour dans le sens des aiguilles d&apos;une montre ou dans l&apos;autre sens</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Inverser</translation>
    </message>
    <message>
        <source>swaps black and white (light and dark)</source>
        <translation>échange le noir et le blanc (le clair et le sombre)</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Miroir</translation>
    </message>
    <message>
        <source>flips the page left to right</source>
        <translation>retourne la page de gauche à droite</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>asks, then removes the page from the list. A scanned page&apos;s temporary file is deleted; a loaded file of yours stays on disk.</source>
        <translation>demande, puis retire la page de la liste. Le fichier temporaire d&apos;une page numérisée est supprimé ; un fichier chargé qui vous appartient reste sur le disque.</translation>
    </message>
    <message>
        <source>Move up / Move down</source>
        <translation>Vers le haut / Vers le bas</translation>
    </message>
    <message>
        <source>moves the selected page one place towards the start or the end of the list</source>
        <translation>déplace la page choisie d&apos;une place vers le début ou la fin de la liste</translation>
    </message>
    <message>
        <source>Entries that are greyed out are not available in this build of the program.</source>
        <translation>Les entrées grisées ne sont pas disponibles dans cette version du programme.</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Touche</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Delete&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Suppr&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>deletes the selected page, after the same question as the menu entry Delete</source>
        <translation>supprime la page choisie, après la même question que l&apos;entrée de menu Supprimer</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;O&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;LOAD PAGE&lt;/b&gt;</source>
        <translation>comme &lt;b&gt;CHARGER&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</source>
        <translation>&lt;kbd&gt;Ctrl&lt;/kbd&gt;+&lt;kbd&gt;S&lt;/kbd&gt;</translation>
    </message>
    <message>
        <source>the same as &lt;b&gt;SAVE AS PDF&lt;/b&gt;</source>
        <translation>comme &lt;b&gt;ENREGISTRER PDF&lt;/b&gt;</translation>
    </message>
    <message>
        <source>The keys work wherever the focus is in the window, not while a question or a file dialog is open. &lt;kbd&gt;Esc&lt;/kbd&gt; does nothing in the main window, so the program never ends by accident.</source>
        <translation>Les touches marchent partout dans la fenêtre, mais pas tant qu&apos;une question ou une fenêtre de fichiers est ouverte. &lt;kbd&gt;Échap&lt;/kbd&gt; ne fait rien dans la fenêtre principale, pour que le programme ne se ferme jamais par accident.</translation>
    </message>
    <message>
        <source>Drop image files from your file manager on the page list to load them, in the order they were dropped, just as &lt;b&gt;LOAD PAGE&lt;/b&gt; loads them: a file (or folder) that cannot be read is reported and skipped, and your files stay where they are. Drag a thumbnail up or down within the list to move its page to the place you drop it on.</source>
        <translation>Déposez des fichiers image depuis votre gestionnaire de fichiers sur la liste pour les charger, dans l&apos;ordre où ils sont déposés, comme le fait &lt;b&gt;CHARGER&lt;/b&gt; : un fichier (ou dossier) illisible est signalé et ignoré, et vos fichiers restent où ils sont. Faites glisser une vignette vers le haut ou le bas dans la liste pour déplacer sa page à l&apos;endroit où vous la déposez.</translation>
    </message>
    <message>
        <source>While a PDF is being written for &lt;b&gt;SAVE AS PDF&lt;/b&gt; or &lt;b&gt;MAIL AS PDF&lt;/b&gt;, the bar in the small status window shows which page it is at.</source>
        <translation>Pendant l&apos;écriture d&apos;un PDF pour &lt;b&gt;ENREGISTRER PDF&lt;/b&gt; ou &lt;b&gt;ENVOYER PDF&lt;/b&gt;, la barre de la petite fenêtre d&apos;état montre à quelle page il en est.</translation>
    </message>
    <message>
        <source>Rotating, inverting and mirroring never touch the original: each correction writes a new working copy of the page into a private temporary file and replaces the thumbnail. The working copies are deleted when the page is deleted, when the list is cleared and when the program ends.</source>
        <translation>Pivoter, inverser et retourner ne touchent jamais l&apos;original : chaque correction écrit une nouvelle copie de travail de la page dans un fichier temporaire privé et remplace la vignette. Les copies de travail sont supprimées avec la page, quand la liste est vidée et à la fin du programme.</translation>
    </message>
    <message>
        <source>With the option &quot;show the scan result before saving it&quot; ticked, every scanned page is shown large before it joins the list. There you can look at it, correct it, keep it or throw it away.</source>
        <translation>Avec l&apos;option « Voir le scan avant de le garder » cochée, chaque page numérisée est montrée en grand avant d&apos;entrer dans la liste. Vous pouvez alors la regarder, la corriger, la garder ou la jeter.</translation>
    </message>
    <message>
        <source>Saving and mailing PDFs</source>
        <translation>Enregistrer et envoyer des PDF</translation>
    </message>
    <message>
        <source>&lt;b&gt;SAVE AS PDF&lt;/b&gt; asks for a file name and writes all pages, in list order, into one PDF file. Each page keeps its size on paper, taken from its resolution. With compression on (General page), colour and grey pages are stored as JPEG at the chosen quality; black and white pages are always stored losslessly. After saving, Vellumo offers to clear the list.</source>
        <translation>&lt;b&gt;ENREGISTRER PDF&lt;/b&gt; demande un nom de fichier et écrit toutes les pages, dans l&apos;ordre de la liste, dans un seul fichier PDF. Chaque page garde sa taille sur papier, tirée de sa résolution. Avec la compression (page Général), les pages en couleur et en gris sont stockées en JPEG à la qualité choisie ; les pages noir et blanc sont toujours stockées sans perte. Après l&apos;enregistrement, Vellumo propose de vider la liste.</translation>
    </message>
    <message>
        <source>&lt;b&gt;MAIL AS PDF&lt;/b&gt; builds the same PDF as &lt;code&gt;Images.pdf&lt;/code&gt; and sends it, either directly through the SMTP server set up on the Email page (you write the message in a small mail window; a progress bar with &lt;b&gt;Cancel&lt;/b&gt; shows the transfer), or by handing it to your desktop&apos;s mail program. Afterwards it offers to clear the list.</source>
        <translation>&lt;b&gt;ENVOYER PDF&lt;/b&gt; crée le même PDF sous le nom &lt;code&gt;Images.pdf&lt;/code&gt; et l&apos;envoie, soit directement par le serveur SMTP réglé sur la page Courriel (vous écrivez le message dans une petite fenêtre ; une barre de progression avec &lt;b&gt;Annuler&lt;/b&gt; montre le transfert), soit en le confiant au logiciel de courriel de votre bureau. Ensuite, il propose de vider la liste.</translation>
    </message>
    <message>
        <source>When you end the program while the list still holds pages, Vellumo asks &quot;You didn&apos;t save or send the pages in the list. Quit anyway?&quot; so that nothing is lost by accident.</source>
        <translation>Si vous quittez le programme alors que la liste contient encore des pages, Vellumo demande « Vous n&apos;avez ni enregistré ni envoyé les pages de la liste. Quitter quand même ? », pour que rien ne se perde par accident.</translation>
    </message>
    <message>
        <source>The settings pages</source>
        <translation>Les pages de réglages</translation>
    </message>
    <message>
        <source>Press &lt;b&gt;SETTINGS&lt;/b&gt; to open the settings view; &lt;b&gt;General&lt;/b&gt; and &lt;b&gt;Email&lt;/b&gt; switch between its pages, &lt;b&gt;HOME&lt;/b&gt; or &lt;b&gt;SETTINGS&lt;/b&gt; again returns to the page list. Values are stored when you leave a page.</source>
        <translation>&lt;b&gt;RÉGLAGES&lt;/b&gt; ouvre la vue des réglages ; &lt;b&gt;Général&lt;/b&gt; et &lt;b&gt;Courriel&lt;/b&gt; passent d&apos;une page à l&apos;autre, &lt;b&gt;ACCUEIL&lt;/b&gt; ou à nouveau &lt;b&gt;RÉGLAGES&lt;/b&gt; ramène à la liste des pages. Les valeurs sont enregistrées quand vous quittez une page.</translation>
    </message>
    <message>
        <source>&lt;b&gt;General&lt;/b&gt;: the scanner to use; the default scanning mode, brightness, page size and options that the quick settings start from; the resolutions for black and white, grey and colour scans; automatic cropping and inverting; PDF compression and its quality; the log file.</source>
        <translation>&lt;b&gt;Général&lt;/b&gt; : le scanner ; le mode, la luminosité, le format et les options dont partent les réglages rapides ; les résolutions en noir et blanc, en gris et en couleur ; le rognage et l&apos;inversion automatiques ; la compression PDF et sa qualité ; le journal.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Email&lt;/b&gt;: whether to send through SMTP or through the desktop&apos;s mail program; the SMTP server, port, user name, password and your address; an address to forward to.</source>
        <translation>&lt;b&gt;Courriel&lt;/b&gt; : envoi par SMTP ou par le logiciel de courriel du bureau ; le serveur SMTP, le port, l&apos;utilisateur, le mot de passe et votre adresse ; une adresse de renvoi.</translation>
    </message>
    <message>
        <source>The settings are kept in &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, readable by you alone.</source>
        <translation>Les réglages sont gardés dans &lt;code&gt;~/.config/Brackwin/Vellumo.conf&lt;/code&gt;, lisible par vous seul.</translation>
    </message>
    <message>
        <source>Tick &quot;Make log file&quot; on the General page and Vellumo writes one line with date and time for every step of its work (start, scanner talk, pages, PDF building, mailing, end) into &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; in your documents folder. The file is only appended to; delete it when you no longer need it. It helps support find out what went wrong.</source>
        <translation>Cochez « Écrire un journal » sur la page Général, et Vellumo écrit une ligne datée pour chaque étape de son travail (démarrage, échanges avec le scanner, pages, création du PDF, envoi, fin) dans &lt;code&gt;Vellumo_log.mdm&lt;/code&gt; de votre dossier de documents. Le fichier ne fait que s&apos;allonger ; supprimez-le quand vous n&apos;en avez plus besoin. Il aide l&apos;assistance à comprendre ce qui n&apos;a pas marché.</translation>
    </message>
    <message>
        <source>The command-line front end</source>
        <translation>La ligne de commande</translation>
    </message>
    <message>
        <source>&lt;code&gt;vellumo-cli&lt;/code&gt; does the same work without windows, for scripts and automation. It loads image files, applies the page corrections, writes PDFs, scans from a SANE device and mails PDFs through SMTP, with the same engine and the same settings as the windows. The program lists its own commands and options when asked for its usage.</source>
        <translation>&lt;code&gt;vellumo-cli&lt;/code&gt; fait le même travail sans fenêtres, pour les scripts et l&apos;automatisation. Il charge des fichiers image, corrige les pages, écrit des PDF, numérise avec un appareil SANE et envoie des PDF par SMTP, avec le même moteur et les mêmes réglages que les fenêtres. Le programme indique ses commandes et options quand on lui demande son mode d&apos;emploi.</translation>
    </message>
    <message>
        <source>The program itself accepts one switch: started with &lt;code&gt;/GO&lt;/code&gt; while another Vellumo is running, it asks that one to close first.</source>
        <translation>Le programme accepte un seul commutateur : lancé avec &lt;code&gt;/GO&lt;/code&gt; pendant qu&apos;un autre Vellumo tourne, il demande d&apos;abord à celui-ci de se fermer.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Vellumo 3.07. Questions and reports: &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, web site &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</source>
        <translation>Vellumo 3.07. Questions et signalements : &lt;a href=&quot;mailto:support@vellumo.org&quot;&gt;support@vellumo.org&lt;/a&gt;, site web &lt;a href=&quot;https://vellumo.org/&quot;&gt;https://vellumo.org/&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Everything works from the keyboard too: &lt;kbd&gt;Tab&lt;/kbd&gt; moves from control to control in the order they stand on the screen, and a blue ring shows where you are; the arrow keys choose within a group of round buttons; &lt;kbd&gt;Space&lt;/kbd&gt; presses the button or ticks the box that has the ring. Screen readers name every control.</source>
        <translation>Tout se fait aussi au clavier : &lt;kbd&gt;Tab&lt;/kbd&gt; passe d&apos;un élément à l&apos;autre dans l&apos;ordre de l&apos;écran, et un anneau bleu montre où vous êtes ; les flèches choisissent dans un groupe de boutons ronds ; &lt;kbd&gt;Espace&lt;/kbd&gt; appuie sur le bouton ou coche la case qui porte l&apos;anneau. Les lecteurs d&apos;écran nomment chaque élément.</translation>
    </message>
    <message>
        <source>Vellumo speaks the language of your desktop when it knows it (German, French, Spanish, Italian, Dutch or Portuguese) and English otherwise. The log file is always in English.</source>
        <translation>Vellumo parle la langue de votre bureau quand il la connaît (allemand, français, espagnol, italien, néerlandais ou portugais), sinon l&apos;anglais. Le journal est toujours en anglais.</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>*** Successfully created %1 ***</source>
        <translation>*** %1 a été créé ***</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): invalid parameters</source>
        <translation>Impossible de créer le fichier PDF %1 (erreur %2) : paramètres invalides</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), possibly because the file is in use by another application</source>
        <translation>Impossible de créer le fichier PDF %1 (erreur %2), peut-être parce que le fichier est utilisé par un autre programme</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2), PDF file already exists and could not be overwritten - it is possibly being held open by a PDF viewer application</source>
        <translation>Impossible de créer le fichier PDF %1 (erreur %2) : le fichier existe déjà et n&apos;a pas pu être remplacé - une visionneuse PDF le garde peut-être ouvert</translation>
    </message>
    <message>
        <source>Could not create PDF file %1 (error %2): no images to be added</source>
        <translation>Impossible de créer le fichier PDF %1 (erreur %2) : aucune image à ajouter</translation>
    </message>
    <message>
        <source>Could not create PDF file %1: %2</source>
        <translation>Impossible de créer le fichier PDF %1 : %2</translation>
    </message>
    <message>
        <source>Could not add image to PDF file %1 (error %2)</source>
        <translation>Impossible d&apos;ajouter l&apos;image au fichier PDF %1 (erreur %2)</translation>
    </message>
    <message>
        <source>Unsupported graphics format</source>
        <translation>Format graphique non pris en charge</translation>
    </message>
    <message>
        <source>Creating PDF...</source>
        <translation>Création du PDF...</translation>
    </message>
    <message>
        <source>Creating mail message...</source>
        <translation>Création du courriel...</translation>
    </message>
    <message>
        <source>Looking for scanner...</source>
        <translation>Recherche du scanner...</translation>
    </message>
    <message>
        <source>Setting up scanner %1 ....</source>
        <translation>Préparation du scanner %1 ....</translation>
    </message>
    <message>
        <source>Scanning from %1 ....</source>
        <translation>Numérisation avec %1 ....</translation>
    </message>
    <message>
        <source>Saving image to temporary file ....</source>
        <translation>Enregistrement de l&apos;image dans un fichier temporaire ....</translation>
    </message>
    <message>
        <source>Error opening TWAIN session</source>
        <translation>Erreur à l&apos;ouverture de la session du scanner</translation>
    </message>
    <message>
        <source>Scanner doesn&apos;t support duplex mode</source>
        <translation>Le scanner ne sait pas numériser en recto verso</translation>
    </message>
    <message>
        <source>The scanner is still busy with the last scan</source>
        <translation>Le scanner est encore occupé par la dernière numérisation</translation>
    </message>
    <message>
        <source>Error while setting units:
%1</source>
        <translation>Erreur en réglant les unités :
%1</translation>
    </message>
    <message>
        <source>Error while setting pixel type:
%1</source>
        <translation>Erreur en réglant le type de pixel :
%1</translation>
    </message>
    <message>
        <source>Error while setting resolution:
%1</source>
        <translation>Erreur en réglant la résolution :
%1</translation>
    </message>
    <message>
        <source>Error while setting brightness to %1
%2</source>
        <translation>Erreur en réglant la luminosité à %1
%2</translation>
    </message>
    <message>
        <source>Error while setting image layout: capability not supported
%1</source>
        <translation>Erreur en réglant la zone d&apos;image : non prise en charge
%1</translation>
    </message>
    <message>
        <source>Error while setting XferCount
%1</source>
        <translation>Erreur en réglant le nombre de pages (XferCount)
%1</translation>
    </message>
    <message>
        <source>Error while scanning:
%1</source>
        <translation>Erreur pendant la numérisation :
%1</translation>
    </message>
    <message>
        <source>Error while selecting data source:
%1</source>
        <translation>Erreur en choisissant la source :
%1</translation>
    </message>
    <message>
        <source>Error %1 while converting image</source>
        <translation>Erreur %1 en convertissant l&apos;image</translation>
    </message>
    <message>
        <source>Error %1 while saving image</source>
        <translation>Erreur %1 en enregistrant l&apos;image</translation>
    </message>
    <message>
        <source>Nothing to save yet</source>
        <translation>Rien à enregistrer pour le moment</translation>
    </message>
    <message>
        <source>Nothing to mail yet</source>
        <translation>Rien à envoyer pour le moment</translation>
    </message>
    <message>
        <source>Clear list of pages to save or send?</source>
        <translation>Vider la liste des pages ?</translation>
    </message>
    <message>
        <source>Clear list of pages to send?</source>
        <translation>Vider la liste des pages à envoyer ?</translation>
    </message>
    <message>
        <source>Delete this image?</source>
        <translation>Supprimer cette image ?</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>Aucune page choisie</translation>
    </message>
    <message>
        <source>No need to move page</source>
        <translation>Inutile de déplacer la page</translation>
    </message>
    <message>
        <source>You didn&apos;t save or send the pages in the list. Quit anyway?</source>
        <translation>Vous n&apos;avez ni enregistré ni envoyé les pages de la liste. Quitter quand même ?</translation>
    </message>
    <message>
        <source>Unable to determine temporary file path</source>
        <translation>Impossible de trouver le dossier des fichiers temporaires</translation>
    </message>
    <message>
        <source>Unable to create temporary file</source>
        <translation>Impossible de créer le fichier temporaire</translation>
    </message>
    <message>
        <source>Unable to initialize MIME</source>
        <translation>Impossible d&apos;initialiser MIME</translation>
    </message>
    <message>
        <source>Unable to create message</source>
        <translation>Impossible de créer le message</translation>
    </message>
    <message>
        <source>Unable to attach file</source>
        <translation>Impossible de joindre le fichier</translation>
    </message>
    <message>
        <source>Unable to initialize SMTP</source>
        <translation>Impossible d&apos;initialiser SMTP</translation>
    </message>
    <message>
        <source>SMTP server requires authentication, but you did not specify a user-id and password for this server!</source>
        <translation>Le serveur SMTP demande une authentification, mais aucun utilisateur ni mot de passe n&apos;est indiqué pour ce serveur !</translation>
    </message>
    <message>
        <source>Message successfully sent</source>
        <translation>Message envoyé</translation>
    </message>
    <message>
        <source>Message successfully sent to %1</source>
        <translation>Message envoyé à %1</translation>
    </message>
    <message>
        <source>Unable to deliver message to %1: %2</source>
        <translation>Impossible de remettre le message à %1 : %2</translation>
    </message>
    <message>
        <source>Sending mail message, please wait ...</source>
        <translation>Envoi du courriel, veuillez patienter ...</translation>
    </message>
    <message>
        <source>Sending mail, please wait ...</source>
        <translation>Envoi du courriel, veuillez patienter ...</translation>
    </message>
    <message>
        <source>Connecting to mail server, please wait ...</source>
        <translation>Connexion au serveur de courriel, veuillez patienter ...</translation>
    </message>
    <message>
        <source>Logging in to mail server, please wait ...</source>
        <translation>Identification sur le serveur de courriel, veuillez patienter ...</translation>
    </message>
    <message>
        <source>Could not find MAPI DLL</source>
        <translation>Aucun logiciel de courriel trouvé</translation>
    </message>
    <message>
        <source>Invalid MAPI DLL</source>
        <translation>Logiciel de courriel invalide</translation>
    </message>
    <message>
        <source>No memory during MAPI send mail</source>
        <translation>Mémoire insuffisante pour transmettre le courriel</translation>
    </message>
    <message>
        <source>Error during MAPI send mail</source>
        <translation>Erreur en transmettant le courriel</translation>
    </message>
    <message>
        <source>*** Mail application ended without errors ***</source>
        <translation>*** Le logiciel de courriel s&apos;est terminé sans erreur ***</translation>
    </message>
    <message>
        <source>Select PDF file to save to</source>
        <translation>Choisir le fichier PDF à enregistrer</translation>
    </message>
    <message>
        <source>Select file(s) to load</source>
        <translation>Choisir le ou les fichiers à charger</translation>
    </message>
    <message>
        <source>Save As Graphics File</source>
        <translation>Enregistrer comme image</translation>
    </message>
    <message>
        <source>PDF File (*.PDF)</source>
        <translation>Fichier PDF (*.PDF)</translation>
    </message>
    <message>
        <source>TIFF File (*.tif)</source>
        <translation>Fichier TIFF (*.tif)</translation>
    </message>
    <message>
        <source>BMP File (*.bmp)</source>
        <translation>Fichier BMP (*.bmp)</translation>
    </message>
    <message>
        <source>JPEG File (*.jpg)</source>
        <translation>Fichier JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>PCX File (*.pcx)</source>
        <translation>Fichier PCX (*.pcx)</translation>
    </message>
    <message>
        <source>GIF File (*.gif)</source>
        <translation>Fichier GIF (*.gif)</translation>
    </message>
    <message>
        <source>PNG File (*.png)</source>
        <translation>Fichier PNG (*.png)</translation>
    </message>
    <message>
        <source>EPS File (*.eps)</source>
        <translation>Fichier EPS (*.eps)</translation>
    </message>
    <message>
        <source>TGA File (*.tga)</source>
        <translation>Fichier TGA (*.tga)</translation>
    </message>
    <message>
        <source>Recognising text, page %1 of %2</source>
        <translation>Reconnaissance du texte, page %1 sur %2</translation>
    </message>
    <message>
        <source>Loading pages...</source>
        <translation>Chargement des pages...</translation>
    </message>
    <message>
        <source>%1 is protected. Password:</source>
        <translation>%1 est protégé. Mot de passe :</translation>
    </message>
    <message>
        <source>Wrong password for %1. Password:</source>
        <translation>Mot de passe incorrect pour %1. Mot de passe :</translation>
    </message>
    <message>
        <source>Vellumo was not closed properly. Restore the %1 pages of the last session?</source>
        <translation>Vellumo n&apos;a pas été fermé correctement. Restaurer les %1 pages de la dernière session ?</translation>
    </message>
    <message>
        <source>1 page could not be restored because its file is missing.</source>
        <translation>1 page n&apos;a pas pu être restaurée car son fichier est manquant.</translation>
    </message>
    <message>
        <source>%1 pages could not be restored because their files are missing.</source>
        <translation>%1 pages n&apos;ont pas pu être restaurées car leurs fichiers sont manquants.</translation>
    </message>
    <message>
        <source>The list of pages of a session that was not closed properly could not be read (%1). It was set aside in %2.</source>
        <translation>La liste des pages d&apos;une session qui n&apos;a pas été fermée correctement n&apos;a pas pu être lue (%1). Elle a été mise de côté dans %2.</translation>
    </message>
    <message>
        <source>The folder for the pages cannot be used (%1). Pages are kept in the temporary folder and cannot be restored after a crash.</source>
        <translation>Le dossier des pages ne peut pas être utilisé (%1). Les pages sont conservées dans le dossier temporaire et ne pourront pas être restaurées après un plantage.</translation>
    </message>
    <message>
        <source>The change was not made: the list of pages could not be saved in %1 (%2).</source>
        <translation>La modification n&apos;a pas été faite : la liste des pages n&apos;a pas pu être enregistrée dans %1 (%2).</translation>
    </message>
</context>
<context>
    <name>PageAction</name>
    <message>
        <source>load</source>
        <translation>chargement</translation>
    </message>
    <message>
        <source>scan</source>
        <translation>numérisation</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>suppression</translation>
    </message>
    <message>
        <source>move</source>
        <translation>déplacement</translation>
    </message>
    <message>
        <source>rotate right</source>
        <translation>rotation à droite</translation>
    </message>
    <message>
        <source>rotate left</source>
        <translation>rotation à gauche</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>inversion</translation>
    </message>
    <message>
        <source>mirror</source>
        <translation>miroir</translation>
    </message>
    <message>
        <source>clear list</source>
        <translation>vidage de la liste</translation>
    </message>
    <message>
        <source>change</source>
        <translation>modification</translation>
    </message>
</context>
<context>
    <name>PageCanvas</name>
    <message>
        <source>Fit page	F</source>
        <translation>Page entière	F</translation>
    </message>
    <message>
        <source>Fit width	W</source>
        <translation>Pleine largeur	W</translation>
    </message>
    <message>
        <source>100 %	1</source>
        <translation>100 %	1</translation>
    </message>
    <message>
        <source>Zoom in	+</source>
        <translation>Zoom avant	+</translation>
    </message>
    <message>
        <source>Zoom out	-</source>
        <translation>Zoom arrière	-</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Paper to PDF</source>
        <translation>Du papier au PDF</translation>
    </message>
    <message>
        <source>Scan or load pages</source>
        <translation>Numériser ou charger</translation>
    </message>
    <message>
        <source>Check them in the list</source>
        <translation>Vérifier dans la liste</translation>
    </message>
    <message>
        <source>Save or mail as PDF</source>
        <translation>Enregistrer ou envoyer</translation>
    </message>
    <message>
        <source>Click a page to view it, right-click to edit</source>
        <translation>Clic : voir la page ; clic droit : la modifier</translation>
    </message>
    <message>
        <source>Scanning mode</source>
        <translation>Mode de numérisation</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bright</source>
        <translation>Clair</translation>
    </message>
    <message>
        <source>Page size</source>
        <translation>Format de page</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
</context>
<context>
    <name>ViewerWindow</name>
    <message>
        <source>Vellumo - Page %1 of %2</source>
        <translation>Vellumo - Page %1 sur %2</translation>
    </message>
    <message>
        <source>Cannot show %1:
%2</source>
        <translation>Impossible d'afficher %1 :
%2</translation>
    </message>
</context>
</TS>
