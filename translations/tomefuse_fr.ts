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
        <source>Help</source>
        <translation>Aide</translation>
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
        <source>%1 files</source>
        <translation>%1 fichiers</translation>
    </message>
    <message>
        <source>1 page</source>
        <translation>1 page</translation>
    </message>
    <message>
        <source>%1 pages</source>
        <translation>%1 pages</translation>
    </message>
    <message>
        <source>, %1 cannot be read</source>
        <translation>, %1 illisible(s)</translation>
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
</context>
<context>
    <name>tomefuse::RefusingSaveDialog</name>
    <message>
        <source>“%1” cannot be replaced.</source>
        <translation>«&#xa0;%1&#xa0;» ne peut pas être remplacé.</translation>
    </message>
</context>
</TS>
