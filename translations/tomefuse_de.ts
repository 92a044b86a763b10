<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>QtProgressSheet</name>
    <message>
        <source>Preparing…</source>
        <translation>Wird vorbereitet …</translation>
    </message>
    <message>
        <source>Writing page %1 of %2</source>
        <translation>Seite %1 von %2 wird geschrieben</translation>
    </message>
</context>
<context>
    <name>tomefuse::CombineJob</name>
    <message numerus="yes">
        <source>the pages chosen, %1, are not all there: it now has %n pages</source>
        <translation>
            <numerusform>die gewählten Seiten (%1) sind nicht alle vorhanden: Die Datei hat jetzt %n Seite</numerusform>
            <numerusform>die gewählten Seiten (%1) sind nicht alle vorhanden: Die Datei hat jetzt %n Seiten</numerusform>
        </translation>
    </message>
    <message>
        <source>not enough memory to read %1</source>
        <translation>nicht genug Arbeitsspeicher, um %1 zu lesen</translation>
    </message>
    <message>
        <source>repaired: %1</source>
        <translation>repariert: %1</translation>
    </message>
    <message>
        <source>the pages chosen, %1, are not all there: it now has 1 page</source>
        <translation>die gewählten Seiten (%1) sind nicht alle vorhanden: Die Datei hat jetzt 1 Seite</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>die Datei konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>not enough memory</source>
        <translation>nicht genug Arbeitsspeicher</translation>
    </message>
</context>
<context>
    <name>tomefuse::ContentsPage</name>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>the contents page could not be laid out</source>
        <translation>das Inhaltsverzeichnis konnte nicht gesetzt werden</translation>
    </message>
    <message>
        <source>the contents page could not be laid out: %1</source>
        <translation>das Inhaltsverzeichnis konnte nicht gesetzt werden: %1</translation>
    </message>
    <message>
        <source>the contents page could not be written</source>
        <translation>das Inhaltsverzeichnis konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>its length does not settle</source>
        <translation>seine Länge pendelt sich nicht ein</translation>
    </message>
    <message>
        <source>the contents page cannot be laid out here (its Qt module is missing)</source>
        <translation>das Inhaltsverzeichnis kann hier nicht gesetzt werden (sein Qt-Modul fehlt)</translation>
    </message>
</context>
<context>
    <name>tomefuse::DocumentPropertiesDialog</name>
    <message>
        <source>Document Properties</source>
        <translation>Dokumenteigenschaften</translation>
    </message>
    <message>
        <source>Written into every combined PDF, where viewers and desktop search find them. An empty field writes nothing.</source>
        <translation>Diese Angaben werden in jedes zusammengeführte PDF geschrieben, wo PDF-Betrachter und die Desktop-Suche sie finden. Ein leeres Feld schreibt nichts.</translation>
    </message>
    <message>
        <source>separated by commas</source>
        <translation>durch Kommas getrennt</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>&amp;Author:</source>
        <translation>&amp;Autor:</translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation>T&amp;hema:</translation>
    </message>
    <message>
        <source>&amp;Keywords:</source>
        <translation>&amp;Stichwörter:</translation>
    </message>
</context>
<context>
    <name>tomefuse::EntryReader</name>
    <message>
        <source>the pages chosen, %1, are not all there any more</source>
        <translation>die gewählten Seiten (%1) sind nicht mehr alle vorhanden</translation>
    </message>
    <message>
        <source>%1 (the file interleaved with it, “%2”)</source>
        <translation>%1 (die damit gemischte Datei „%2“)</translation>
    </message>
</context>
<context>
    <name>tomefuse::FolderScan</name>
    <message>
        <source>1 folder without PDFs</source>
        <translation>1 Ordner ohne PDFs</translation>
    </message>
    <message numerus="yes">
        <source>%n folders without PDFs</source>
        <translation>
            <numerusform>%n Ordner ohne PDFs</numerusform>
            <numerusform>%n Ordner ohne PDFs</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that is not a PDF</source>
        <translation>1 Datei, die kein PDF ist</translation>
    </message>
    <message numerus="yes">
        <source>%n files that are not PDFs</source>
        <translation>
            <numerusform>%n Datei, die kein PDF ist</numerusform>
            <numerusform>%n Dateien, die keine PDFs sind</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that needs a password</source>
        <translation>1 Datei, die ein Passwort erfordert</translation>
    </message>
    <message numerus="yes">
        <source>%n files that need a password</source>
        <translation>
            <numerusform>%n Datei, die ein Passwort erfordert</numerusform>
            <numerusform>%n Dateien, die ein Passwort erfordern</numerusform>
        </translation>
    </message>
    <message>
        <source>1 damaged file</source>
        <translation>1 beschädigte Datei</translation>
    </message>
    <message numerus="yes">
        <source>%n damaged files</source>
        <translation>
            <numerusform>%n beschädigte Datei</numerusform>
            <numerusform>%n beschädigte Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that cannot be read</source>
        <translation>1 nicht lesbare Datei</translation>
    </message>
    <message numerus="yes">
        <source>%n files that cannot be read</source>
        <translation>
            <numerusform>%n nicht lesbare Datei</numerusform>
            <numerusform>%n nicht lesbare Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 was left out</source>
        <translation>Ausgelassen: %1</translation>
    </message>
    <message>
        <source>%1 were left out</source>
        <translation>Ausgelassen: %1</translation>
    </message>
</context>
<context>
    <name>tomefuse::JobFile</name>
    <message>
        <source>not a Tomefuse job file</source>
        <translation>keine Tomefuse-Listendatei</translation>
    </message>
    <message>
        <source>made by a newer Tomefuse (job format %1); this one reads format %2</source>
        <translation>mit einer neueren Tomefuse-Version erstellt (Format %1); diese Version liest Format %2</translation>
    </message>
    <message>
        <source>a damaged job file: %1</source>
        <translation>eine beschädigte Listendatei: %1</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>no longer there</source>
        <translation>nicht mehr vorhanden</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>tomefuse::ListEdit</name>
    <message>
        <source>Sort by Name</source>
        <translation>Nach Name sortieren</translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation>Nach Änderungsdatum sortieren</translation>
    </message>
    <message>
        <source>Sort by Pages</source>
        <translation>Nach Seitenanzahl sortieren</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Reihenfolge umkehren</translation>
    </message>
    <message>
        <source>Rename File</source>
        <translation>Datei umbenennen</translation>
    </message>
    <message>
        <source>Choose Pages</source>
        <translation>Seiten auswählen</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Datei hinzufügen</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Files</source>
        <translation>
            <numerusform>%n Datei hinzufügen</numerusform>
            <numerusform>%n Dateien hinzufügen</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove File</source>
        <translation>Datei entfernen</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Files</source>
        <translation>
            <numerusform>%n Datei entfernen</numerusform>
            <numerusform>%n Dateien entfernen</numerusform>
        </translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Datei verschieben</translation>
    </message>
    <message numerus="yes">
        <source>Move %n Files</source>
        <translation>
            <numerusform>%n Datei verschieben</numerusform>
            <numerusform>%n Dateien verschieben</numerusform>
        </translation>
    </message>
    <message>
        <source>Sort by Bookmarks</source>
        <translation>Nach Lesezeichen sortieren</translation>
    </message>
    <message>
        <source>Sort by Location</source>
        <translation>Nach Ort sortieren</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Liste öffnen</translation>
    </message>
    <message>
        <source>Interleave Reversed</source>
        <translation>Abwechselnd mischen, umgekehrt</translation>
    </message>
    <message>
        <source>Interleave</source>
        <translation>Abwechselnd mischen</translation>
    </message>
</context>
<context>
    <name>tomefuse::MainWindow</name>
    <message>
        <source>Add…</source>
        <translation>Hinzufügen …</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Save Combined PDF…</source>
        <translation>Zusammengeführtes PDF speichern …</translation>
    </message>
    <message>
        <source>Quick Save to Temporary Folder</source>
        <translation>Schnell im temporären Ordner speichern</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Add a Bookmark for Each File</source>
        <translation>Für jede Datei ein Lesezeichen anlegen</translation>
    </message>
    <message>
        <source>Keep Each File&apos;s Own Bookmarks</source>
        <translation>Lesezeichen der einzelnen Dateien beibehalten</translation>
    </message>
    <message>
        <source>Open the Combined PDF When Saved</source>
        <translation>Zusammengeführtes PDF nach dem Speichern öffnen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>1 page</source>
        <translation>1 Seite</translation>
    </message>
    <message>
        <source>A combined PDF is being saved.</source>
        <translation>Ein zusammengeführtes PDF wird gerade gespeichert.</translation>
    </message>
    <message>
        <source>Stop saving and close the window? Nothing will be written.</source>
        <translation>Speichern abbrechen und das Fenster schließen? Es wird nichts geschrieben.</translation>
    </message>
    <message>
        <source>Stop Saving and Close</source>
        <translation>Speichern abbrechen und schließen</translation>
    </message>
    <message>
        <source>Continue Saving</source>
        <translation>Weiter speichern</translation>
    </message>
    <message>
        <source>Add Folder…</source>
        <translation>Ordner hinzufügen …</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben verschieben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten verschieben</translation>
    </message>
    <message>
        <source>Move to Top</source>
        <translation>Ganz nach oben verschieben</translation>
    </message>
    <message>
        <source>Move to Bottom</source>
        <translation>Ganz nach unten verschieben</translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation>Nach Name sortieren</translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation>Nach Änderungsdatum sortieren</translation>
    </message>
    <message>
        <source>Sort by Pages</source>
        <translation>Nach Seitenanzahl sortieren</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Reihenfolge umkehren</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>More Commands</source>
        <translation>Weitere Befehle</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>Choose Pages…</source>
        <translation>Seiten auswählen …</translation>
    </message>
    <message>
        <source>Choose which pages of the selected file go into the combined PDF</source>
        <translation>Auswählen, welche Seiten der ausgewählten Datei in das zusammengeführte PDF übernommen werden</translation>
    </message>
    <message>
        <source>Document Properties…</source>
        <translation>Dokumenteigenschaften …</translation>
    </message>
    <message>
        <source>Add a Contents Page</source>
        <translation>Inhaltsverzeichnis einfügen</translation>
    </message>
    <message>
        <source>Bookmarks in the Contents</source>
        <translation>Lesezeichen im Inhaltsverzeichnis</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>First Level</source>
        <translation>Erste Ebene</translation>
    </message>
    <message>
        <source>Two Levels</source>
        <translation>Zwei Ebenen</translation>
    </message>
    <message>
        <source>All Levels</source>
        <translation>Alle Ebenen</translation>
    </message>
    <message>
        <source>Start Each File on a Right-Hand Page</source>
        <translation>Jede Datei auf einer rechten Seite beginnen</translation>
    </message>
    <message>
        <source>Add PDF files to the end of the list</source>
        <translation>PDF-Dateien am Ende der Liste hinzufügen</translation>
    </message>
    <message>
        <source>Add every PDF in a folder and its subfolders</source>
        <translation>Alle PDFs eines Ordners und seiner Unterordner hinzufügen</translation>
    </message>
    <message>
        <source>Take the selected files off the list</source>
        <translation>Die ausgewählten Dateien aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Combine the listed files into one PDF and save it</source>
        <translation>Die Dateien der Liste zu einem PDF zusammenführen und speichern</translation>
    </message>
    <message>
        <source>Combine the listed files into the temporary folder without asking</source>
        <translation>Die Dateien der Liste ohne Nachfrage im temporären Ordner zusammenführen</translation>
    </message>
    <message>
        <source>Open the help page in the browser</source>
        <translation>Die Hilfeseite im Webbrowser öffnen</translation>
    </message>
    <message>
        <source>Open the selected file in its viewer</source>
        <translation>Die ausgewählte Datei im PDF-Betrachter öffnen</translation>
    </message>
    <message>
        <source>Change the name the selected file is listed under</source>
        <translation>Den Namen ändern, unter dem die ausgewählte Datei in der Liste steht</translation>
    </message>
    <message>
        <source>Take back the last change to the list</source>
        <translation>Die letzte Änderung an der Liste zurücknehmen</translation>
    </message>
    <message>
        <source>Make the change taken back again</source>
        <translation>Die zurückgenommene Änderung wiederherstellen</translation>
    </message>
    <message>
        <source>Move the selected files one place up</source>
        <translation>Die ausgewählten Dateien um eine Position nach oben verschieben</translation>
    </message>
    <message>
        <source>Move the selected files one place down</source>
        <translation>Die ausgewählten Dateien um eine Position nach unten verschieben</translation>
    </message>
    <message>
        <source>Move the selected files to the top of the list</source>
        <translation>Die ausgewählten Dateien an den Anfang der Liste verschieben</translation>
    </message>
    <message>
        <source>Move the selected files to the bottom of the list</source>
        <translation>Die ausgewählten Dateien an das Ende der Liste verschieben</translation>
    </message>
    <message>
        <source>Sort the list by name, numbers by their value</source>
        <translation>Die Liste nach Namen sortieren, Zahlen nach ihrem Wert</translation>
    </message>
    <message>
        <source>Sort the list by when each file last changed</source>
        <translation>Die Liste danach sortieren, wann jede Datei zuletzt geändert wurde</translation>
    </message>
    <message>
        <source>Sort the list by number of pages</source>
        <translation>Die Liste nach der Seitenanzahl sortieren</translation>
    </message>
    <message>
        <source>Turn the list&apos;s order around</source>
        <translation>Die Reihenfolge der Liste umkehren</translation>
    </message>
    <message>
        <source>Tomefuse Help</source>
        <translation>Tomefuse-Hilfe</translation>
    </message>
    <message>
        <source>Stop Saving</source>
        <translation>Speichern abbrechen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>About Tomefuse</source>
        <translation>Über Tomefuse</translation>
    </message>
    <message numerus="yes">
        <source>%Ln files</source>
        <translation>
            <numerusform>%Ln Datei</numerusform>
            <numerusform>%Ln Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln pages</source>
        <translation>
            <numerusform>%Ln Seite</numerusform>
            <numerusform>%Ln Seiten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %Ln cannot be read</source>
        <translation>
            <numerusform>, %Ln nicht lesbar</numerusform>
            <numerusform>, %Ln nicht lesbar</numerusform>
        </translation>
    </message>
    <message>
        <source>&lt;h3&gt;Tomefuse %1&lt;/h3&gt;&lt;p&gt;Combines PDF files, and images, into one PDF with every file&apos;s bookmarks.&lt;/p&gt;&lt;p&gt;Licensed under the Apache License, version 2.0.&lt;/p&gt;&lt;p&gt;Built with Qt %2 and qpdf %3; images are read with libjpeg-turbo, libpng and libtiff.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Tomefuse %1&lt;/h3&gt;&lt;p&gt;Führt PDF-Dateien und Bilder zu einem PDF zusammen, mit den Lesezeichen jeder Datei.&lt;/p&gt;&lt;p&gt;Lizenziert unter der Apache License, Version 2.0.&lt;/p&gt;&lt;p&gt;Erstellt mit Qt %2 und qpdf %3; Bilder werden mit libjpeg-turbo, libpng und libtiff gelesen.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Enter Password…</source>
        <translation>Passwort eingeben …</translation>
    </message>
    <message>
        <source>Divider between the list and the preview</source>
        <translation>Trennlinie zwischen Liste und Vorschau</translation>
    </message>
    <message>
        <source>Page Labels in the Contents</source>
        <translation>Seitenbeschriftungen im Inhaltsverzeichnis</translation>
    </message>
    <message>
        <source>Tomefuse lists (*.%1)</source>
        <translation>Tomefuse-Listen (*.%1)</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>Turn the selected files, or the pages chosen in the preview, a quarter turn clockwise</source>
        <translation>Die ausgewählten Dateien oder die in der Vorschau ausgewählten Seiten eine Vierteldrehung im Uhrzeigersinn drehen</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Turn the selected files, or the pages chosen in the preview, a quarter turn counterclockwise</source>
        <translation>Die ausgewählten Dateien oder die in der Vorschau ausgewählten Seiten eine Vierteldrehung gegen den Uhrzeigersinn drehen</translation>
    </message>
    <message>
        <source>Interleave With Next File</source>
        <translation>Abwechselnd mit nächster Datei mischen</translation>
    </message>
    <message>
        <source>Make the selected file and the next one entry, their pages in turn: 1, 1, 2, 2, …</source>
        <translation>Die ausgewählte Datei und die nächste zu einem Eintrag machen, ihre Seiten abwechselnd: 1, 1, 2, 2, …</translation>
    </message>
    <message>
        <source>Interleave With Next File Reversed</source>
        <translation>Abwechselnd mit nächster Datei mischen, umgekehrt</translation>
    </message>
    <message>
        <source>The same, with the next file&apos;s pages last page first, for backs scanned from the bottom</source>
        <translation>Ebenso, mit den Seiten der nächsten Datei von der letzten an, für von unten gescannte Rückseiten</translation>
    </message>
    <message>
        <source>Take Only These Pages</source>
        <translation>Nur diese Seiten übernehmen</translation>
    </message>
    <message>
        <source>Leave Out These Pages</source>
        <translation>Diese Seiten weglassen</translation>
    </message>
    <message>
        <source>Save List As…</source>
        <translation>Liste speichern unter …</translation>
    </message>
    <message>
        <source>Keep the list and its options in a file, to combine them again later</source>
        <translation>Die Liste und ihre Optionen in einer Datei aufbewahren, um sie später erneut zusammenzuführen</translation>
    </message>
    <message>
        <source>Save List As</source>
        <translation>Liste speichern unter</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Liste öffnen …</translation>
    </message>
    <message>
        <source>Read a list kept in a file in place of this one</source>
        <translation>Eine in einer Datei aufbewahrte Liste anstelle dieser einlesen</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Liste öffnen</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>No Recent Lists</source>
        <translation>Keine zuletzt geöffneten Listen</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Menü leeren</translation>
    </message>
    <message>
        <source>Image Pages</source>
        <translation>Bildseiten</translation>
    </message>
    <message>
        <source>At Their Own Size</source>
        <translation>In eigener Größe</translation>
    </message>
    <message>
        <source>Fitted to A4</source>
        <translation>An A4 angepasst</translation>
    </message>
    <message>
        <source>Fitted to Letter</source>
        <translation>An US-Letter angepasst</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageGridModel</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>%1, left out</source>
        <translation>%1, ausgelassen</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>Page %1, left out</source>
        <translation>Seite %1, ausgelassen</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageSelection</name>
    <message numerus="yes">
        <source>“%1”: the file has %n pages</source>
        <translation>
            <numerusform>„%1“: Die Datei hat %n Seite</numerusform>
            <numerusform>„%1“: Die Datei hat %n Seiten</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is not a page or a range of pages, such as 3 or 1-5 or 10-z</source>
        <translation>„%1“ ist weder eine Seite noch ein Seitenbereich, etwa 3, 1-5 oder 10-z</translation>
    </message>
    <message>
        <source>“%1”: pages count from 1</source>
        <translation>„%1“: Seiten werden ab 1 gezählt</translation>
    </message>
    <message>
        <source>“%1”: the file has 1 page</source>
        <translation>„%1“: Die Datei hat 1 Seite</translation>
    </message>
    <message>
        <source>“%1”: the file has no pages</source>
        <translation>„%1“: Die Datei hat keine Seiten</translation>
    </message>
    <message>
        <source>a page or range is missing between two commas</source>
        <translation>zwischen zwei Kommas fehlt eine Seite oder ein Seitenbereich</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageSelectionDelegate</name>
    <message>
        <source>all, or 1-3, 7, 10-z</source>
        <translation>all oder 1-3, 7, 10-z</translation>
    </message>
    <message>
        <source>The pages to take, in order: “all”, or pages and ranges separated by commas, such as 1-3, 7, 10-z. z is the last page; 9-5 takes pages backwards; a page may come more than once.</source>
        <translation>Die zu übernehmenden Seiten, in ihrer Reihenfolge: „all“ oder durch Kommas getrennte Seiten und Bereiche, etwa 1-3, 7, 10-z. z steht für die letzte Seite; 9-5 übernimmt Seiten rückwärts; eine Seite darf mehrfach vorkommen.</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>tomefuse::PasswordDialog</name>
    <message>
        <source>The password was wrong. Try again, or skip the file.</source>
        <translation>Das Passwort ist falsch. Versuchen Sie es erneut oder überspringen Sie die Datei.</translation>
    </message>
    <message>
        <source>Password Needed</source>
        <translation>Passwort erforderlich</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>Tomefuse keeps the password in memory only, while the file is listed. The combined PDF is not protected.</source>
        <translation>Tomefuse hält das Passwort nur im Arbeitsspeicher, solange die Datei in der Liste steht. Das zusammengeführte PDF wird nicht geschützt.</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>“%1” is protected by a password.</source>
        <translation>„%1“ ist durch ein Passwort geschützt.</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <source>Skip All</source>
        <translation>Alle überspringen</translation>
    </message>
    <message>
        <source>Skip this file and every other protected file being added now</source>
        <translation>Diese und alle anderen geschützten Dateien überspringen, die gerade hinzugefügt werden</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfEntry</name>
    <message>
        <source>no longer there</source>
        <translation>nicht mehr vorhanden</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>not a PDF</source>
        <translation>kein PDF</translation>
    </message>
    <message>
        <source>damaged beyond repair</source>
        <translation>irreparabel beschädigt</translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation>Passwort erforderlich</translation>
    </message>
    <message>
        <source>not enough memory to read it</source>
        <translation>zu wenig Arbeitsspeicher zum Lesen</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>nicht lesbar</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableModel</name>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Cannot be read: %1
%2</source>
        <translation>Nicht lesbar: %1
%2</translation>
    </message>
    <message>
        <source>The pages taken from each file. Double-click a count to choose them: “all”, or pages and ranges such as 1-3, 7, 10-z.</source>
        <translation>Die aus jeder Datei übernommenen Seiten. Doppelklicken Sie auf eine Anzahl, um sie auszuwählen: „all“ oder Seiten und Bereiche wie 1-3, 7, 10-z.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>%1…</source>
        <translation>%1 …</translation>
    </message>
    <message>
        <source>Interleaved with %1</source>
        <translation>Abwechselnd gemischt mit %1</translation>
    </message>
    <message>
        <source>%1, some turned</source>
        <translation>%1, einige gedreht</translation>
    </message>
    <message>
        <source>%1, turned %2°</source>
        <translation>%1, um %2° gedreht</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableView</name>
    <message>
        <source>Files to combine</source>
        <translation>Zusammenzuführende Dateien</translation>
    </message>
    <message>
        <source>Drop PDF files here, or choose Add…</source>
        <translation>Legen Sie PDF-Dateien hier ab oder wählen Sie „Hinzufügen …“</translation>
    </message>
</context>
<context>
    <name>tomefuse::PreviewPane</name>
    <message>
        <source>Bookmarks of the selected file</source>
        <translation>Lesezeichen der ausgewählten Datei</translation>
    </message>
    <message>
        <source>Pages of the selected file</source>
        <translation>Seiten der ausgewählten Datei</translation>
    </message>
    <message>
        <source>cannot be found</source>
        <translation>kann nicht gefunden werden</translation>
    </message>
    <message>
        <source>is not a PDF file, or is damaged</source>
        <translation>ist keine PDF-Datei oder ist beschädigt</translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation>benötigt ein Passwort</translation>
    </message>
    <message>
        <source>does not open with the password given</source>
        <translation>lässt sich mit dem angegebenen Passwort nicht öffnen</translation>
    </message>
    <message>
        <source>is protected in a way that cannot be read</source>
        <translation>ist so geschützt, dass sie sich nicht lesen lässt</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>cannot be shown without tomefuse-preview-worker</source>
        <translation>kann ohne tomefuse-preview-worker nicht angezeigt werden</translation>
    </message>
    <message>
        <source>Select a file in the list to see its pages and bookmarks.</source>
        <translation>Wählen Sie eine Datei in der Liste aus, um ihre Seiten und Lesezeichen zu sehen.</translation>
    </message>
    <message>
        <source>This file %1.</source>
        <translation>Diese Datei %1.</translation>
    </message>
    <message>
        <source>Reading bookmarks…</source>
        <translation>Lesezeichen werden gelesen …</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <source>%1 (page %2)</source>
        <translation>%1 (Seite %2)</translation>
    </message>
    <message>
        <source>No bookmarks</source>
        <translation>Keine Lesezeichen</translation>
    </message>
    <message>
        <source>Divider between the bookmarks and the pages</source>
        <translation>Trennlinie zwischen Lesezeichen und Seiten</translation>
    </message>
</context>
<context>
    <name>tomefuse::QtPanels</name>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 files (%2)</source>
        <translation>%1-Dateien (%2)</translation>
    </message>
    <message>
        <source>Files (%1)</source>
        <translation>Dateien (%1)</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Add PDF Files</source>
        <translation>PDF-Dateien hinzufügen</translation>
    </message>
    <message>
        <source>PDF files and images (%1)</source>
        <translation>PDF-Dateien und Bilder (%1)</translation>
    </message>
    <message>
        <source>PDF files (%1)</source>
        <translation>PDF-Dateien (%1)</translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
</context>
<context>
    <name>tomefuse::QtProgressSheet</name>
    <message>
        <source>Saving</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Preparing…</source>
        <translation>Wird vorbereitet …</translation>
    </message>
    <message>
        <source>Stop saving: nothing is written, the list stays as it is</source>
        <translation>Speichern abbrechen: Es wird nichts geschrieben, die Liste bleibt unverändert</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open the combined PDF</source>
        <translation>Das zusammengeführte PDF öffnen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <source>Show the combined PDF in the file manager</source>
        <translation>Das zusammengeführte PDF in der Dateiverwaltung anzeigen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close this bar</source>
        <translation>Diese Leiste schließen</translation>
    </message>
</context>
<context>
    <name>tomefuse::RefusingSaveDialog</name>
    <message>
        <source>“%1” cannot be replaced.</source>
        <translation>„%1“ kann nicht ersetzt werden.</translation>
    </message>
</context>
<context>
    <name>tomefuse::SaveProgress</name>
    <message>
        <source>Reading “%1” (file %2 of %3)</source>
        <translation>„%1“ wird gelesen (Datei %2 von %3)</translation>
    </message>
    <message>
        <source>Writing bookmarks and links</source>
        <translation>Lesezeichen und Verweise werden geschrieben</translation>
    </message>
</context>
<context>
    <name>tomefuse::SaveSession</name>
    <message>
        <source>The combined PDF could not be saved.</source>
        <translation>Das zusammengeführte PDF konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The combined PDF was not saved.</source>
        <translation>Das zusammengeführte PDF wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>A file cannot be read: %1</source>
        <translation>Eine Datei ist nicht lesbar: %1</translation>
    </message>
    <message>
        <source>None of the files can be read.</source>
        <translation>Keine der Dateien ist lesbar.</translation>
    </message>
    <message>
        <source>Nothing is combined.</source>
        <translation>Es wird nichts zusammengeführt.</translation>
    </message>
    <message>
        <source>1 file cannot be read and will be left out.</source>
        <translation>1 Datei ist nicht lesbar und wird ausgelassen.</translation>
    </message>
    <message>
        <source>Combine the others?</source>
        <translation>Die übrigen zusammenführen?</translation>
    </message>
    <message>
        <source>Combine the Others</source>
        <translation>Die übrigen zusammenführen</translation>
    </message>
    <message>
        <source>Saved “%1” in %2</source>
        <translation>„%1“ in %2 gespeichert</translation>
    </message>
    <message>
        <source>Save Combined PDF</source>
        <translation>Zusammengeführtes PDF speichern</translation>
    </message>
    <message>
        <source>Some pages are missing from the combined PDF.</source>
        <translation>Im zusammengeführten PDF fehlen Seiten.</translation>
    </message>
    <message>
        <source>These files could not be read:</source>
        <translation>Diese Dateien konnten nicht gelesen werden:</translation>
    </message>
    <message>
        <source>“%1” could not be opened.</source>
        <translation>„%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>No application on this desktop is set up to open PDF files. The combined PDF is saved in %1.</source>
        <translation>Auf dieser Arbeitsumgebung ist keine Anwendung zum Öffnen von PDF-Dateien eingerichtet. Das zusammengeführte PDF ist in %1 gespeichert.</translation>
    </message>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>Keine Dateiverwaltung konnte „%1“ anzeigen.</translation>
    </message>
    <message numerus="yes">
        <source>%n files cannot be read and will be left out.</source>
        <translation>
            <numerusform>%n Datei ist nicht lesbar und wird ausgelassen.</numerusform>
            <numerusform>%n Dateien sind nicht lesbar und werden ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checking 1 file before saving…</source>
        <translation>Prüfe 1 Datei vor dem Speichern …</translation>
    </message>
    <message numerus="yes">
        <source>Checking %n files before saving…</source>
        <translation>
            <numerusform>Prüfe %n Datei vor dem Speichern …</numerusform>
            <numerusform>Prüfe %n Dateien vor dem Speichern …</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tomefuse::TomefuseAppDelegate</name>
    <message>
        <source>The help could not be opened.</source>
        <translation>Die Hilfe konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>No web browser is set up on this desktop. The help is at %1.</source>
        <translation>Auf dieser Arbeitsumgebung ist kein Webbrowser eingerichtet. Die Hilfe befindet sich unter %1.</translation>
    </message>
    <message>
        <source>A file needs a name; the old one stays.</source>
        <translation>Eine Datei braucht einen Namen; der bisherige bleibt.</translation>
    </message>
    <message>
        <source>These pages cannot be taken from “%1”.</source>
        <translation>Diese Seiten können nicht aus „%1“ übernommen werden.</translation>
    </message>
    <message>
        <source>The list could not be saved as “%1”.</source>
        <translation>Die Liste konnte nicht als „%1“ gespeichert werden.</translation>
    </message>
    <message>
        <source>The list “%1” cannot be opened.</source>
        <translation>Die Liste „%1“ kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Some files of the list are no longer there.</source>
        <translation>Einige Dateien der Liste sind nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>They stay listed, marked as such; the others are combined without them.

%1</source>
        <translation>Sie bleiben in der Liste und sind als solche markiert; die übrigen werden ohne sie zusammengeführt.

%1</translation>
    </message>
    <message>
        <source>A file keeps at least one page; remove it from the list to leave it out.</source>
        <translation>Eine Datei behält mindestens eine Seite; entfernen Sie sie aus der Liste, um sie wegzulassen.</translation>
    </message>
</context>
</TS>
