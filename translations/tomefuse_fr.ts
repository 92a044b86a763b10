<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>QtProgressSheet</name>
    <message>
        <source>Preparing…</source>
        <translation>Préparation…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2</source>
        <translation>Écriture de la page %1 sur %2</translation>
    </message>
</context>
<context>
    <name>tomefuse::CombineJob</name>
    <message numerus="yes">
        <source>the pages chosen, %1, are not all there: it now has %n pages</source>
        <translation>
            <numerusform>les pages choisies (%1) ne sont pas toutes là&#xa0;: le fichier n’a plus que %n page</numerusform>
            <numerusform>les pages choisies (%1) ne sont pas toutes là&#xa0;: le fichier n’a plus que %n pages</numerusform>
        </translation>
    </message>
    <message>
        <source>not enough memory to read %1</source>
        <translation>pas assez de mémoire pour lire %1</translation>
    </message>
    <message>
        <source>repaired: %1</source>
        <translation>réparé&#xa0;: %1</translation>
    </message>
    <message>
        <source>the pages chosen, %1, are not all there: it now has 1 page</source>
        <translation>les pages choisies (%1) ne sont pas toutes là&#xa0;: le fichier n’a plus qu’une page</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>le fichier n’a pas pu être écrit</translation>
    </message>
    <message>
        <source>not enough memory</source>
        <translation>pas assez de mémoire</translation>
    </message>
</context>
<context>
    <name>tomefuse::ContentsPage</name>
    <message>
        <source>Contents</source>
        <translation>Table des matières</translation>
    </message>
    <message>
        <source>the contents page could not be laid out</source>
        <translation>la table des matières n’a pas pu être mise en page</translation>
    </message>
    <message>
        <source>the contents page could not be laid out: %1</source>
        <translation>la table des matières n’a pas pu être mise en page&#xa0;: %1</translation>
    </message>
    <message>
        <source>the contents page could not be written</source>
        <translation>la table des matières n’a pas pu être écrite</translation>
    </message>
    <message>
        <source>its length does not settle</source>
        <translation>sa longueur ne se stabilise pas</translation>
    </message>
    <message>
        <source>the contents page cannot be laid out here (its Qt module is missing)</source>
        <translation>la table des matières ne peut pas être mise en page ici (son module Qt est absent)</translation>
    </message>
</context>
<context>
    <name>tomefuse::DocumentPropertiesDialog</name>
    <message>
        <source>Document Properties</source>
        <translation>Propriétés du document</translation>
    </message>
    <message>
        <source>Written into every combined PDF, where viewers and desktop search find them. An empty field writes nothing.</source>
        <translation>Ces informations sont écrites dans chaque PDF fusionné, où les visionneurs et la recherche du bureau les trouvent. Un champ vide n’écrit rien.</translation>
    </message>
    <message>
        <source>separated by commas</source>
        <translation>séparés par des virgules</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titre&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Author:</source>
        <translation>&amp;Auteur&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation>&amp;Sujet&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Keywords:</source>
        <translation>&amp;Mots-clés&#xa0;:</translation>
    </message>
</context>
<context>
    <name>tomefuse::EntryReader</name>
    <message>
        <source>the pages chosen, %1, are not all there any more</source>
        <translation>les pages choisies (%1) ne sont plus toutes là</translation>
    </message>
    <message>
        <source>%1 (the file interleaved with it, “%2”)</source>
        <translation>%1 (le fichier entrelacé avec lui, «&#xa0;%2&#xa0;»)</translation>
    </message>
</context>
<context>
    <name>tomefuse::FolderScan</name>
    <message>
        <source>1 folder without PDFs</source>
        <translation>1 dossier sans PDF</translation>
    </message>
    <message numerus="yes">
        <source>%n folders without PDFs</source>
        <translation>
            <numerusform>%n dossier sans PDF</numerusform>
            <numerusform>%n dossiers sans PDF</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that is not a PDF</source>
        <translation>1 fichier qui n’est pas un PDF</translation>
    </message>
    <message numerus="yes">
        <source>%n files that are not PDFs</source>
        <translation>
            <numerusform>%n fichier qui n’est pas un PDF</numerusform>
            <numerusform>%n fichiers qui ne sont pas des PDF</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that needs a password</source>
        <translation>1 fichier protégé par un mot de passe</translation>
    </message>
    <message numerus="yes">
        <source>%n files that need a password</source>
        <translation>
            <numerusform>%n fichier protégé par un mot de passe</numerusform>
            <numerusform>%n fichiers protégés par un mot de passe</numerusform>
        </translation>
    </message>
    <message>
        <source>1 damaged file</source>
        <translation>1 fichier endommagé</translation>
    </message>
    <message numerus="yes">
        <source>%n damaged files</source>
        <translation>
            <numerusform>%n fichier endommagé</numerusform>
            <numerusform>%n fichiers endommagés</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that cannot be read</source>
        <translation>1 fichier illisible</translation>
    </message>
    <message numerus="yes">
        <source>%n files that cannot be read</source>
        <translation>
            <numerusform>%n fichier illisible</numerusform>
            <numerusform>%n fichiers illisibles</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 et %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 was left out</source>
        <translation>Laissé de côté&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 were left out</source>
        <translation>Laissés de côté&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>tomefuse::JobFile</name>
    <message>
        <source>not a Tomefuse job file</source>
        <translation>ce n’est pas un fichier de liste Tomefuse</translation>
    </message>
    <message>
        <source>made by a newer Tomefuse (job format %1); this one reads format %2</source>
        <translation>créé par une version plus récente de Tomefuse (format %1)&#x202f;; celle-ci lit le format %2</translation>
    </message>
    <message>
        <source>a damaged job file: %1</source>
        <translation>un fichier de liste endommagé&#xa0;: %1</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>no longer there</source>
        <translation>n’existe plus</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>impossible d’y écrire</translation>
    </message>
</context>
<context>
    <name>tomefuse::ListEdit</name>
    <message>
        <source>Sort by Name</source>
        <translation>Trier par nom</translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation>Trier par date de modification</translation>
    </message>
    <message>
        <source>Sort by Pages</source>
        <translation>Trier par nombre de pages</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Inverser l’ordre</translation>
    </message>
    <message>
        <source>Rename File</source>
        <translation>Renommer le fichier</translation>
    </message>
    <message>
        <source>Choose Pages</source>
        <translation>Choisir les pages</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Faire pivoter à gauche</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Faire pivoter à droite</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Ajouter le fichier</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Files</source>
        <translation>
            <numerusform>Ajouter %n fichier</numerusform>
            <numerusform>Ajouter %n fichiers</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove File</source>
        <translation>Retirer le fichier</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Files</source>
        <translation>
            <numerusform>Retirer %n fichier</numerusform>
            <numerusform>Retirer %n fichiers</numerusform>
        </translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Déplacer le fichier</translation>
    </message>
    <message numerus="yes">
        <source>Move %n Files</source>
        <translation>
            <numerusform>Déplacer %n fichier</numerusform>
            <numerusform>Déplacer %n fichiers</numerusform>
        </translation>
    </message>
    <message>
        <source>Sort by Bookmarks</source>
        <translation>Trier par signets</translation>
    </message>
    <message>
        <source>Sort by Location</source>
        <translation>Trier par emplacement</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Ouvrir une liste</translation>
    </message>
    <message>
        <source>Interleave Reversed</source>
        <translation>Entrelacer inversé</translation>
    </message>
    <message>
        <source>Interleave</source>
        <translation>Entrelacer</translation>
    </message>
</context>
<context>
    <name>tomefuse::MainWindow</name>
    <message>
        <source>Add…</source>
        <translation>Ajouter…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Save Combined PDF…</source>
        <translation>Enregistrer le PDF fusionné…</translation>
    </message>
    <message>
        <source>Quick Save to Temporary Folder</source>
        <translation>Enregistrer rapidement dans le dossier temporaire</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Add a Bookmark for Each File</source>
        <translation>Ajouter un signet pour chaque fichier</translation>
    </message>
    <message>
        <source>Keep Each File&apos;s Own Bookmarks</source>
        <translation>Conserver les signets de chaque fichier</translation>
    </message>
    <message>
        <source>Open the Combined PDF When Saved</source>
        <translation>Ouvrir le PDF fusionné après l’enregistrement</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Commandes</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 fichier</translation>
    </message>
    <message>
        <source>1 page</source>
        <translation>1 page</translation>
    </message>
    <message>
        <source>A combined PDF is being saved.</source>
        <translation>Un PDF fusionné est en cours d’enregistrement.</translation>
    </message>
    <message>
        <source>Stop saving and close the window? Nothing will be written.</source>
        <translation>Arrêter l’enregistrement et fermer la fenêtre&#x202f;? Rien ne sera écrit.</translation>
    </message>
    <message>
        <source>Stop Saving and Close</source>
        <translation>Arrêter l’enregistrement et fermer</translation>
    </message>
    <message>
        <source>Continue Saving</source>
        <translation>Continuer l’enregistrement</translation>
    </message>
    <message>
        <source>Add Folder…</source>
        <translation>Ajouter un dossier…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Déplacer vers le haut</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Déplacer vers le bas</translation>
    </message>
    <message>
        <source>Move to Top</source>
        <translation>Déplacer tout en haut</translation>
    </message>
    <message>
        <source>Move to Bottom</source>
        <translation>Déplacer tout en bas</translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation>Trier par nom</translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation>Trier par date de modification</translation>
    </message>
    <message>
        <source>Sort by Pages</source>
        <translation>Trier par nombre de pages</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Inverser l’ordre</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>More Commands</source>
        <translation>Autres commandes</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Annuler&#xa0;: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rétablir&#xa0;: %1</translation>
    </message>
    <message>
        <source>Choose Pages…</source>
        <translation>Choisir les pages…</translation>
    </message>
    <message>
        <source>Choose which pages of the selected file go into the combined PDF</source>
        <translation>Choisir les pages du fichier sélectionné à reprendre dans le PDF fusionné</translation>
    </message>
    <message>
        <source>Document Properties…</source>
        <translation>Propriétés du document…</translation>
    </message>
    <message>
        <source>Add a Contents Page</source>
        <translation>Ajouter une table des matières</translation>
    </message>
    <message>
        <source>Bookmarks in the Contents</source>
        <translation>Signets dans la table des matières</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>First Level</source>
        <translation>Premier niveau</translation>
    </message>
    <message>
        <source>Two Levels</source>
        <translation>Deux niveaux</translation>
    </message>
    <message>
        <source>All Levels</source>
        <translation>Tous les niveaux</translation>
    </message>
    <message>
        <source>Start Each File on a Right-Hand Page</source>
        <translation>Commencer chaque fichier sur une page de droite</translation>
    </message>
    <message>
        <source>Add PDF files to the end of the list</source>
        <translation>Ajouter des fichiers PDF à la fin de la liste</translation>
    </message>
    <message>
        <source>Add every PDF in a folder and its subfolders</source>
        <translation>Ajouter tous les PDF d’un dossier et de ses sous-dossiers</translation>
    </message>
    <message>
        <source>Take the selected files off the list</source>
        <translation>Retirer de la liste les fichiers sélectionnés</translation>
    </message>
    <message>
        <source>Combine the listed files into one PDF and save it</source>
        <translation>Fusionner les fichiers de la liste en un seul PDF et l’enregistrer</translation>
    </message>
    <message>
        <source>Combine the listed files into the temporary folder without asking</source>
        <translation>Fusionner les fichiers de la liste dans le dossier temporaire, sans rien demander</translation>
    </message>
    <message>
        <source>Open the help page in the browser</source>
        <translation>Ouvrir la page d’aide dans le navigateur</translation>
    </message>
    <message>
        <source>Open the selected file in its viewer</source>
        <translation>Ouvrir le fichier sélectionné dans le visionneur de PDF</translation>
    </message>
    <message>
        <source>Change the name the selected file is listed under</source>
        <translation>Modifier le nom sous lequel le fichier sélectionné figure dans la liste</translation>
    </message>
    <message>
        <source>Take back the last change to the list</source>
        <translation>Annuler la dernière modification de la liste</translation>
    </message>
    <message>
        <source>Make the change taken back again</source>
        <translation>Rétablir la modification annulée</translation>
    </message>
    <message>
        <source>Move the selected files one place up</source>
        <translation>Monter les fichiers sélectionnés d’une position</translation>
    </message>
    <message>
        <source>Move the selected files one place down</source>
        <translation>Descendre les fichiers sélectionnés d’une position</translation>
    </message>
    <message>
        <source>Move the selected files to the top of the list</source>
        <translation>Déplacer les fichiers sélectionnés en haut de la liste</translation>
    </message>
    <message>
        <source>Move the selected files to the bottom of the list</source>
        <translation>Déplacer les fichiers sélectionnés en bas de la liste</translation>
    </message>
    <message>
        <source>Sort the list by name, numbers by their value</source>
        <translation>Trier la liste par nom, les nombres selon leur valeur</translation>
    </message>
    <message>
        <source>Sort the list by when each file last changed</source>
        <translation>Trier la liste selon la date de dernière modification de chaque fichier</translation>
    </message>
    <message>
        <source>Sort the list by number of pages</source>
        <translation>Trier la liste par nombre de pages</translation>
    </message>
    <message>
        <source>Turn the list&apos;s order around</source>
        <translation>Inverser l’ordre de la liste</translation>
    </message>
    <message>
        <source>Tomefuse Help</source>
        <translation>Aide de Tomefuse</translation>
    </message>
    <message>
        <source>Stop Saving</source>
        <translation>Arrêter l’enregistrement</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>About Tomefuse</source>
        <translation>À propos de Tomefuse</translation>
    </message>
    <message numerus="yes">
        <source>%Ln files</source>
        <translation>
            <numerusform>%Ln fichier</numerusform>
            <numerusform>%Ln fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln pages</source>
        <translation>
            <numerusform>%Ln page</numerusform>
            <numerusform>%Ln pages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %Ln cannot be read</source>
        <translation>
            <numerusform>, %Ln illisible</numerusform>
            <numerusform>, %Ln illisibles</numerusform>
        </translation>
    </message>
    <message>
        <source>&lt;h3&gt;Tomefuse %1&lt;/h3&gt;&lt;p&gt;Combines PDF files, and images, into one PDF with every file&apos;s bookmarks.&lt;/p&gt;&lt;p&gt;Licensed under the Apache License, version 2.0.&lt;/p&gt;&lt;p&gt;Built with Qt %2 and qpdf %3; images are read with libjpeg-turbo, libpng and libtiff.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Tomefuse %1&lt;/h3&gt;&lt;p&gt;Fusionne des fichiers PDF et des images en un seul PDF, avec les signets de chaque fichier.&lt;/p&gt;&lt;p&gt;Distribué sous la licence Apache, version 2.0.&lt;/p&gt;&lt;p&gt;Conçu avec Qt %2 et qpdf %3&#x202f;; les images sont lues avec libjpeg-turbo, libpng et libtiff.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Enter Password…</source>
        <translation>Saisir le mot de passe…</translation>
    </message>
    <message>
        <source>Divider between the list and the preview</source>
        <translation>Séparateur entre la liste et l’aperçu</translation>
    </message>
    <message>
        <source>Page Labels in the Contents</source>
        <translation>Étiquettes de page dans la table des matières</translation>
    </message>
    <message>
        <source>Tomefuse lists (*.%1)</source>
        <translation>Listes Tomefuse (*.%1)</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Faire pivoter à droite</translation>
    </message>
    <message>
        <source>Turn the selected files, or the pages chosen in the preview, a quarter turn clockwise</source>
        <translation>Faire pivoter d’un quart de tour dans le sens horaire les fichiers sélectionnés, ou les pages choisies dans l’aperçu</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Faire pivoter à gauche</translation>
    </message>
    <message>
        <source>Turn the selected files, or the pages chosen in the preview, a quarter turn counterclockwise</source>
        <translation>Faire pivoter d’un quart de tour dans le sens antihoraire les fichiers sélectionnés, ou les pages choisies dans l’aperçu</translation>
    </message>
    <message>
        <source>Interleave With Next File</source>
        <translation>Entrelacer avec le fichier suivant</translation>
    </message>
    <message>
        <source>Make the selected file and the next one entry, their pages in turn: 1, 1, 2, 2, …</source>
        <translation>Faire du fichier sélectionné et du suivant une seule entrée, leurs pages en alternance&#xa0;: 1, 1, 2, 2, …</translation>
    </message>
    <message>
        <source>Interleave With Next File Reversed</source>
        <translation>Entrelacer avec le fichier suivant inversé</translation>
    </message>
    <message>
        <source>The same, with the next file&apos;s pages last page first, for backs scanned from the bottom</source>
        <translation>De même, avec les pages du fichier suivant en commençant par la dernière, pour des versos numérisés à partir du bas</translation>
    </message>
    <message>
        <source>Take Only These Pages</source>
        <translation>Ne prendre que ces pages</translation>
    </message>
    <message>
        <source>Leave Out These Pages</source>
        <translation>Omettre ces pages</translation>
    </message>
    <message>
        <source>Save List As…</source>
        <translation>Enregistrer la liste sous…</translation>
    </message>
    <message>
        <source>Keep the list and its options in a file, to combine them again later</source>
        <translation>Conserver la liste et ses options dans un fichier, pour les fusionner de nouveau plus tard</translation>
    </message>
    <message>
        <source>Save List As</source>
        <translation>Enregistrer la liste sous</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Ouvrir une liste…</translation>
    </message>
    <message>
        <source>Read a list kept in a file in place of this one</source>
        <translation>Lire une liste conservée dans un fichier à la place de celle-ci</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Ouvrir une liste</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Ouvrir une liste récente</translation>
    </message>
    <message>
        <source>No Recent Lists</source>
        <translation>Aucune liste récente</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Vider le menu</translation>
    </message>
    <message>
        <source>Image Pages</source>
        <translation>Pages des images</translation>
    </message>
    <message>
        <source>At Their Own Size</source>
        <translation>À leur propre taille</translation>
    </message>
    <message>
        <source>Fitted to A4</source>
        <translation>Ajustées au format A4</translation>
    </message>
    <message>
        <source>Fitted to Letter</source>
        <translation>Ajustées au format Letter</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageGridModel</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 sur %2</translation>
    </message>
    <message>
        <source>%1, left out</source>
        <translation>%1, écartée</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>Page %1, left out</source>
        <translation>Page %1, écartée</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageSelection</name>
    <message numerus="yes">
        <source>“%1”: the file has %n pages</source>
        <translation>
            <numerusform>«&#xa0;%1&#xa0;»&#xa0;: le fichier a %n page</numerusform>
            <numerusform>«&#xa0;%1&#xa0;»&#xa0;: le fichier a %n pages</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is not a page or a range of pages, such as 3 or 1-5 or 10-z</source>
        <translation>«&#xa0;%1&#xa0;» n’est ni une page ni une plage de pages, comme 3, 1-5 ou 10-z</translation>
    </message>
    <message>
        <source>“%1”: pages count from 1</source>
        <translation>«&#xa0;%1&#xa0;»&#xa0;: les pages se comptent à partir de 1</translation>
    </message>
    <message>
        <source>“%1”: the file has 1 page</source>
        <translation>«&#xa0;%1&#xa0;»&#xa0;: le fichier a 1 page</translation>
    </message>
    <message>
        <source>“%1”: the file has no pages</source>
        <translation>«&#xa0;%1&#xa0;»&#xa0;: le fichier n’a aucune page</translation>
    </message>
    <message>
        <source>a page or range is missing between two commas</source>
        <translation>il manque une page ou une plage de pages entre deux virgules</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageSelectionDelegate</name>
    <message>
        <source>all, or 1-3, 7, 10-z</source>
        <translation>all, ou 1-3, 7, 10-z</translation>
    </message>
    <message>
        <source>The pages to take, in order: “all”, or pages and ranges separated by commas, such as 1-3, 7, 10-z. z is the last page; 9-5 takes pages backwards; a page may come more than once.</source>
        <translation>Les pages à reprendre, dans l’ordre&#xa0;: «&#xa0;all&#xa0;», ou des pages et des plages séparées par des virgules, comme 1-3, 7, 10-z. z désigne la dernière page&#x202f;; 9-5 reprend les pages en sens inverse&#x202f;; une même page peut figurer plusieurs fois.</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
</context>
<context>
    <name>tomefuse::PasswordDialog</name>
    <message>
        <source>The password was wrong. Try again, or skip the file.</source>
        <translation>Le mot de passe est incorrect. Réessayez ou ignorez le fichier.</translation>
    </message>
    <message>
        <source>Password Needed</source>
        <translation>Mot de passe requis</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Mot de passe&#xa0;:</translation>
    </message>
    <message>
        <source>Tomefuse keeps the password in memory only, while the file is listed. The combined PDF is not protected.</source>
        <translation>Tomefuse ne garde le mot de passe qu’en mémoire, tant que le fichier figure dans la liste. Le PDF fusionné n’est pas protégé.</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Ignorer</translation>
    </message>
    <message>
        <source>“%1” is protected by a password.</source>
        <translation>«&#xa0;%1&#xa0;» est protégé par un mot de passe.</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 dans %2</translation>
    </message>
    <message>
        <source>Skip All</source>
        <translation>Tout ignorer</translation>
    </message>
    <message>
        <source>Skip this file and every other protected file being added now</source>
        <translation>Ignorer ce fichier et tous les autres fichiers protégés en cours d’ajout</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfEntry</name>
    <message>
        <source>no longer there</source>
        <translation>n’existe plus</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>n’est pas un fichier</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permission refusée</translation>
    </message>
    <message>
        <source>not a PDF</source>
        <translation>n’est pas un PDF</translation>
    </message>
    <message>
        <source>damaged beyond repair</source>
        <translation>endommagé de façon irréparable</translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation>mot de passe requis</translation>
    </message>
    <message>
        <source>not enough memory to read it</source>
        <translation>mémoire insuffisante pour le lire</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>illisible</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableModel</name>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>Cannot be read: %1
%2</source>
        <translation>Illisible&#xa0;: %1
%2</translation>
    </message>
    <message>
        <source>The pages taken from each file. Double-click a count to choose them: “all”, or pages and ranges such as 1-3, 7, 10-z.</source>
        <translation>Les pages reprises de chaque fichier. Double-cliquez sur un nombre pour les choisir&#xa0;: «&#xa0;all&#xa0;», ou des pages et des plages comme 1-3, 7, 10-z.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Signets</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Emplacement</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>%1…</source>
        <translation>%1…</translation>
    </message>
    <message>
        <source>Interleaved with %1</source>
        <translation>Entrelacé avec %1</translation>
    </message>
    <message>
        <source>%1, some turned</source>
        <translation>%1, certaines pivotées</translation>
    </message>
    <message>
        <source>%1, turned %2°</source>
        <translation>%1, pivotées de %2°</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableView</name>
    <message>
        <source>Files to combine</source>
        <translation>Fichiers à fusionner</translation>
    </message>
    <message>
        <source>Drop PDF files here, or choose Add…</source>
        <translation>Déposez des fichiers PDF ici ou choisissez «&#xa0;Ajouter…&#xa0;»</translation>
    </message>
</context>
<context>
    <name>tomefuse::PreviewPane</name>
    <message>
        <source>Bookmarks of the selected file</source>
        <translation>Signets du fichier sélectionné</translation>
    </message>
    <message>
        <source>Pages of the selected file</source>
        <translation>Pages du fichier sélectionné</translation>
    </message>
    <message>
        <source>cannot be found</source>
        <translation>est introuvable</translation>
    </message>
    <message>
        <source>is not a PDF file, or is damaged</source>
        <translation>n’est pas un fichier PDF ou est endommagé</translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation>nécessite un mot de passe</translation>
    </message>
    <message>
        <source>does not open with the password given</source>
        <translation>ne s’ouvre pas avec le mot de passe saisi</translation>
    </message>
    <message>
        <source>is protected in a way that cannot be read</source>
        <translation>utilise une protection qui empêche sa lecture</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>ne peut pas être lu</translation>
    </message>
    <message>
        <source>cannot be shown without tomefuse-preview-worker</source>
        <translation>ne peut pas être affiché sans tomefuse-preview-worker</translation>
    </message>
    <message>
        <source>Select a file in the list to see its pages and bookmarks.</source>
        <translation>Sélectionnez un fichier dans la liste pour voir ses pages et ses signets.</translation>
    </message>
    <message>
        <source>This file %1.</source>
        <translation>Ce fichier %1.</translation>
    </message>
    <message>
        <source>Reading bookmarks…</source>
        <translation>Lecture des signets…</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Signets</translation>
    </message>
    <message>
        <source>%1 (page %2)</source>
        <translation>%1 (page %2)</translation>
    </message>
    <message>
        <source>No bookmarks</source>
        <translation>Aucun signet</translation>
    </message>
    <message>
        <source>Divider between the bookmarks and the pages</source>
        <translation>Séparateur entre les signets et les pages</translation>
    </message>
</context>
<context>
    <name>tomefuse::QtPanels</name>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>%1 files (%2)</source>
        <translation>Fichiers %1 (%2)</translation>
    </message>
    <message>
        <source>Files (%1)</source>
        <translation>Fichiers (%1)</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ajouter un dossier</translation>
    </message>
    <message>
        <source>Add PDF Files</source>
        <translation>Ajouter des fichiers PDF</translation>
    </message>
    <message>
        <source>PDF files and images (%1)</source>
        <translation>Fichiers PDF et images (%1)</translation>
    </message>
    <message>
        <source>PDF files (%1)</source>
        <translation>Fichiers PDF (%1)</translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation>Images (%1)</translation>
    </message>
</context>
<context>
    <name>tomefuse::QtProgressSheet</name>
    <message>
        <source>Saving</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Preparing…</source>
        <translation>Préparation…</translation>
    </message>
    <message>
        <source>Stop saving: nothing is written, the list stays as it is</source>
        <translation>Arrêter l’enregistrement&#xa0;: rien n’est écrit, la liste reste telle quelle</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Annulation…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Open the combined PDF</source>
        <translation>Ouvrir le PDF fusionné</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>Show the combined PDF in the file manager</source>
        <translation>Afficher le PDF fusionné dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Close this bar</source>
        <translation>Fermer cette barre</translation>
    </message>
</context>
<context>
    <name>tomefuse::RefusingSaveDialog</name>
    <message>
        <source>“%1” cannot be replaced.</source>
        <translation>«&#xa0;%1&#xa0;» ne peut pas être remplacé.</translation>
    </message>
</context>
<context>
    <name>tomefuse::SaveProgress</name>
    <message>
        <source>Reading “%1” (file %2 of %3)</source>
        <translation>Lecture de «&#xa0;%1&#xa0;» (fichier %2 sur %3)</translation>
    </message>
    <message>
        <source>Writing bookmarks and links</source>
        <translation>Écriture des signets et des liens</translation>
    </message>
</context>
<context>
    <name>tomefuse::SaveSession</name>
    <message>
        <source>The combined PDF could not be saved.</source>
        <translation>Le PDF fusionné n’a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>The combined PDF was not saved.</source>
        <translation>Le PDF fusionné n’a pas été enregistré.</translation>
    </message>
    <message>
        <source>A file cannot be read: %1</source>
        <translation>Un fichier est illisible&#xa0;: %1</translation>
    </message>
    <message>
        <source>None of the files can be read.</source>
        <translation>Aucun des fichiers n’est lisible.</translation>
    </message>
    <message>
        <source>Nothing is combined.</source>
        <translation>Rien n’est fusionné.</translation>
    </message>
    <message>
        <source>1 file cannot be read and will be left out.</source>
        <translation>1 fichier est illisible et sera laissé de côté.</translation>
    </message>
    <message>
        <source>Combine the others?</source>
        <translation>Fusionner les autres&#x202f;?</translation>
    </message>
    <message>
        <source>Combine the Others</source>
        <translation>Fusionner les autres</translation>
    </message>
    <message>
        <source>Saved “%1” in %2</source>
        <translation>«&#xa0;%1&#xa0;» enregistré dans %2</translation>
    </message>
    <message>
        <source>Save Combined PDF</source>
        <translation>Enregistrer le PDF fusionné</translation>
    </message>
    <message>
        <source>Some pages are missing from the combined PDF.</source>
        <translation>Des pages manquent dans le PDF fusionné.</translation>
    </message>
    <message>
        <source>These files could not be read:</source>
        <translation>Ces fichiers n’ont pas pu être lus&#xa0;:</translation>
    </message>
    <message>
        <source>“%1” could not be opened.</source>
        <translation>«&#xa0;%1&#xa0;» n’a pas pu être ouvert.</translation>
    </message>
    <message>
        <source>No application on this desktop is set up to open PDF files. The combined PDF is saved in %1.</source>
        <translation>Aucune application de ce bureau n’est configurée pour ouvrir les fichiers PDF. Le PDF fusionné est enregistré dans %1.</translation>
    </message>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>Aucun gestionnaire de fichiers n’a pu afficher «&#xa0;%1&#xa0;».</translation>
    </message>
    <message numerus="yes">
        <source>%n files cannot be read and will be left out.</source>
        <translation>
            <numerusform>%n fichier est illisible et sera laissé de côté.</numerusform>
            <numerusform>%n fichiers sont illisibles et seront laissés de côté.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checking 1 file before saving…</source>
        <translation>Vérification d’un fichier avant l’enregistrement…</translation>
    </message>
    <message numerus="yes">
        <source>Checking %n files before saving…</source>
        <translation>
            <numerusform>Vérification de %n fichier avant l’enregistrement…</numerusform>
            <numerusform>Vérification de %n fichiers avant l’enregistrement…</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tomefuse::TomefuseAppDelegate</name>
    <message>
        <source>The help could not be opened.</source>
        <translation>L’aide n’a pas pu être ouverte.</translation>
    </message>
    <message>
        <source>No web browser is set up on this desktop. The help is at %1.</source>
        <translation>Aucun navigateur web n’est configuré sur ce bureau. L’aide se trouve à l’adresse %1.</translation>
    </message>
    <message>
        <source>A file needs a name; the old one stays.</source>
        <translation>Un fichier doit avoir un nom&#x202f;; l’ancien est conservé.</translation>
    </message>
    <message>
        <source>These pages cannot be taken from “%1”.</source>
        <translation>Ces pages ne peuvent pas être prises dans «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>The list could not be saved as “%1”.</source>
        <translation>La liste n’a pas pu être enregistrée sous «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>The list “%1” cannot be opened.</source>
        <translation>La liste «&#xa0;%1&#xa0;» ne peut pas être ouverte.</translation>
    </message>
    <message>
        <source>Some files of the list are no longer there.</source>
        <translation>Certains fichiers de la liste n’existent plus.</translation>
    </message>
    <message>
        <source>They stay listed, marked as such; the others are combined without them.

%1</source>
        <translation>Ils restent dans la liste, marqués comme tels&#x202f;; les autres sont fusionnés sans eux.

%1</translation>
    </message>
    <message>
        <source>A file keeps at least one page; remove it from the list to leave it out.</source>
        <translation>Un fichier garde au moins une page&#x202f;; retirez-le de la liste pour l’omettre.</translation>
    </message>
</context>
</TS>
