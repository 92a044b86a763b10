<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>QtProgressSheet</name>
    <message>
        <source>Preparing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::DocumentPropertiesDialog</name>
    <message>
        <source>Document Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written into every combined PDF, where viewers and desktop search find them. An empty field writes nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>separated by commas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Author:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keywords:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::MainWindow</name>
    <message>
        <source>Add…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Combined PDF…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick Save to Temporary Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a Bookmark for Each File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Each File&apos;s Own Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the Combined PDF When Saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A combined PDF is being saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop saving and close the window? Nothing will be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Saving and Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue Saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort by Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More Commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Pages…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose which pages of the selected file go into the combined PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Document Properties…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a Contents Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bookmarks in the Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two Levels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Levels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Each File on a Right-Hand Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add PDF files to the end of the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add every PDF in a folder and its subfolders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take the selected files off the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Combine the listed files into one PDF and save it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Combine the listed files into the temporary folder without asking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the help page in the browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the selected file in its viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the name the selected file is listed under</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take back the last change to the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make the change taken back again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the selected files one place up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the selected files one place down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the selected files to the top of the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the selected files to the bottom of the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort the list by name, numbers by their value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort the list by when each file last changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort the list by number of pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn the list&apos;s order around</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::PageGridModel</name>
    <message>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, left out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1, left out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::PageSelectionDelegate</name>
    <message>
        <source>all, or 1-3, 7, 10-z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pages to take, in order: “all”, or pages and ranges separated by commas, such as 1-3, 7, 10-z. z is the last page; 9-5 takes pages backwards; a page may come more than once.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::PasswordDialog</name>
    <message>
        <source>The password was wrong. Try again, or skip the file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password Needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tomefuse keeps the password in memory only, while the file is listed. The combined PDF is not protected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is protected by a password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableModel</name>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot be read: %1
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pages taken from each file. Double-click a count to choose them: “all”, or pages and ranges such as 1-3, 7, 10-z.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableView</name>
    <message>
        <source>Files to combine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop PDF files here, or choose Add…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::PreviewPane</name>
    <message>
        <source>Bookmarks of the selected file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pages of the selected file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not a PDF file, or is damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>does not open with the password given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is protected in a way that cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be shown without tomefuse-preview-worker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a file in the list to see its pages and bookmarks.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading bookmarks…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (page %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::QtPanels</name>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add PDF Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::QtProgressSheet</name>
    <message>
        <source>Saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop saving: nothing is written, the list stays as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tomefuse::RefusingSaveDialog</name>
    <message>
        <source>“%1” cannot be replaced.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
