<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>QtProgressSheet</name>
    <message>
        <source>Preparing…</source>
        <translation>Preparando…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2</source>
        <translation>Escribiendo la página %1 de %2</translation>
    </message>
</context>
<context>
    <name>tomefuse::CombineJob</name>
    <message numerus="yes">
        <source>the pages chosen, %1, are not all there: it now has %n pages</source>
        <translation>
            <numerusform>las páginas elegidas (%1) no están todas: el archivo tiene ahora %n página</numerusform>
            <numerusform>las páginas elegidas (%1) no están todas: el archivo tiene ahora %n páginas</numerusform>
        </translation>
    </message>
    <message>
        <source>not enough memory to read %1</source>
        <translation>no hay memoria suficiente para leer %1</translation>
    </message>
    <message>
        <source>repaired: %1</source>
        <translation>reparado: %1</translation>
    </message>
    <message>
        <source>the pages chosen, %1, are not all there: it now has 1 page</source>
        <translation>las páginas elegidas (%1) no están todas: el archivo tiene ahora 1 página</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>no se pudo escribir el archivo</translation>
    </message>
    <message>
        <source>not enough memory</source>
        <translation>no hay memoria suficiente</translation>
    </message>
</context>
<context>
    <name>tomefuse::ContentsPage</name>
    <message>
        <source>Contents</source>
        <translation>Índice</translation>
    </message>
    <message>
        <source>the contents page could not be laid out</source>
        <translation>no se pudo maquetar el índice</translation>
    </message>
    <message>
        <source>the contents page could not be laid out: %1</source>
        <translation>no se pudo maquetar el índice: %1</translation>
    </message>
    <message>
        <source>the contents page could not be written</source>
        <translation>no se pudo escribir el índice</translation>
    </message>
    <message>
        <source>its length does not settle</source>
        <translation>su longitud no se estabiliza</translation>
    </message>
    <message>
        <source>the contents page cannot be laid out here (its Qt module is missing)</source>
        <translation>el índice no se puede maquetar aquí (falta su módulo de Qt)</translation>
    </message>
</context>
<context>
    <name>tomefuse::DocumentPropertiesDialog</name>
    <message>
        <source>Document Properties</source>
        <translation>Propiedades del documento</translation>
    </message>
    <message>
        <source>Written into every combined PDF, where viewers and desktop search find them. An empty field writes nothing.</source>
        <translation>Estos datos se escriben en cada PDF combinado, donde los visores y la búsqueda del escritorio los encuentran. Un campo vacío no escribe nada.</translation>
    </message>
    <message>
        <source>separated by commas</source>
        <translation>separadas por comas</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Título:</translation>
    </message>
    <message>
        <source>&amp;Author:</source>
        <translation>&amp;Autor:</translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation>A&amp;sunto:</translation>
    </message>
    <message>
        <source>&amp;Keywords:</source>
        <translation>&amp;Palabras clave:</translation>
    </message>
</context>
<context>
    <name>tomefuse::EntryReader</name>
    <message>
        <source>the pages chosen, %1, are not all there any more</source>
        <translation>las páginas elegidas (%1) ya no están todas</translation>
    </message>
    <message>
        <source>%1 (the file interleaved with it, “%2”)</source>
        <translation>%1 (el archivo intercalado con él, «%2»)</translation>
    </message>
</context>
<context>
    <name>tomefuse::FolderScan</name>
    <message>
        <source>1 folder without PDFs</source>
        <translation>1 carpeta sin PDF</translation>
    </message>
    <message numerus="yes">
        <source>%n folders without PDFs</source>
        <translation>
            <numerusform>%n carpeta sin PDF</numerusform>
            <numerusform>%n carpetas sin PDF</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that is not a PDF</source>
        <translation>1 archivo que no es un PDF</translation>
    </message>
    <message numerus="yes">
        <source>%n files that are not PDFs</source>
        <translation>
            <numerusform>%n archivo que no es un PDF</numerusform>
            <numerusform>%n archivos que no son PDF</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that needs a password</source>
        <translation>1 archivo que requiere contraseña</translation>
    </message>
    <message numerus="yes">
        <source>%n files that need a password</source>
        <translation>
            <numerusform>%n archivo que requiere contraseña</numerusform>
            <numerusform>%n archivos que requieren contraseña</numerusform>
        </translation>
    </message>
    <message>
        <source>1 damaged file</source>
        <translation>1 archivo dañado</translation>
    </message>
    <message numerus="yes">
        <source>%n damaged files</source>
        <translation>
            <numerusform>%n archivo dañado</numerusform>
            <numerusform>%n archivos dañados</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file that cannot be read</source>
        <translation>1 archivo que no se puede leer</translation>
    </message>
    <message numerus="yes">
        <source>%n files that cannot be read</source>
        <translation>
            <numerusform>%n archivo que no se puede leer</numerusform>
            <numerusform>%n archivos que no se pueden leer</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 y %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 was left out</source>
        <translation>Se ha omitido: %1</translation>
    </message>
    <message>
        <source>%1 were left out</source>
        <translation>Se han omitido: %1</translation>
    </message>
</context>
<context>
    <name>tomefuse::JobFile</name>
    <message>
        <source>not a Tomefuse job file</source>
        <translation>no es un archivo de lista de Tomefuse</translation>
    </message>
    <message>
        <source>made by a newer Tomefuse (job format %1); this one reads format %2</source>
        <translation>creado con una versión más reciente de Tomefuse (formato %1); esta lee el formato %2</translation>
    </message>
    <message>
        <source>a damaged job file: %1</source>
        <translation>un archivo de lista dañado: %1</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>no longer there</source>
        <translation>ya no existe</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>no se puede escribir</translation>
    </message>
</context>
<context>
    <name>tomefuse::ListEdit</name>
    <message>
        <source>Sort by Name</source>
        <translation>Ordenar por nombre</translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation>Ordenar por fecha de modificación</translation>
    </message>
    <message>
        <source>Sort by Pages</source>
        <translation>Ordenar por número de páginas</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Invertir el orden</translation>
    </message>
    <message>
        <source>Rename File</source>
        <translation>Renombrar archivo</translation>
    </message>
    <message>
        <source>Choose Pages</source>
        <translation>Elegir páginas</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Girar a la izquierda</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Girar a la derecha</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Añadir archivo</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Files</source>
        <translation>
            <numerusform>Añadir %n archivo</numerusform>
            <numerusform>Añadir %n archivos</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove File</source>
        <translation>Quitar archivo</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Files</source>
        <translation>
            <numerusform>Quitar %n archivo</numerusform>
            <numerusform>Quitar %n archivos</numerusform>
        </translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Mover archivo</translation>
    </message>
    <message numerus="yes">
        <source>Move %n Files</source>
        <translation>
            <numerusform>Mover %n archivo</numerusform>
            <numerusform>Mover %n archivos</numerusform>
        </translation>
    </message>
    <message>
        <source>Sort by Bookmarks</source>
        <translation>Ordenar por marcadores</translation>
    </message>
    <message>
        <source>Sort by Location</source>
        <translation>Ordenar por ubicación</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Abrir lista</translation>
    </message>
    <message>
        <source>Interleave Reversed</source>
        <translation>Intercalar invertido</translation>
    </message>
    <message>
        <source>Interleave</source>
        <translation>Intercalar</translation>
    </message>
</context>
<context>
    <name>tomefuse::MainWindow</name>
    <message>
        <source>Add…</source>
        <translation>Añadir…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Save Combined PDF…</source>
        <translation>Guardar PDF combinado…</translation>
    </message>
    <message>
        <source>Quick Save to Temporary Folder</source>
        <translation>Guardar rápidamente en la carpeta temporal</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Add a Bookmark for Each File</source>
        <translation>Añadir un marcador por cada archivo</translation>
    </message>
    <message>
        <source>Keep Each File&apos;s Own Bookmarks</source>
        <translation>Conservar los marcadores de cada archivo</translation>
    </message>
    <message>
        <source>Open the Combined PDF When Saved</source>
        <translation>Abrir el PDF combinado al guardarlo</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Comandos</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 archivo</translation>
    </message>
    <message>
        <source>1 page</source>
        <translation>1 página</translation>
    </message>
    <message>
        <source>A combined PDF is being saved.</source>
        <translation>Se está guardando un PDF combinado.</translation>
    </message>
    <message>
        <source>Stop saving and close the window? Nothing will be written.</source>
        <translation>¿Detener el guardado y cerrar la ventana? No se escribirá nada.</translation>
    </message>
    <message>
        <source>Stop Saving and Close</source>
        <translation>Detener el guardado y cerrar</translation>
    </message>
    <message>
        <source>Continue Saving</source>
        <translation>Seguir guardando</translation>
    </message>
    <message>
        <source>Add Folder…</source>
        <translation>Añadir carpeta…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renombrar</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Bajar</translation>
    </message>
    <message>
        <source>Move to Top</source>
        <translation>Mover al principio</translation>
    </message>
    <message>
        <source>Move to Bottom</source>
        <translation>Mover al final</translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation>Ordenar por nombre</translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation>Ordenar por fecha de modificación</translation>
    </message>
    <message>
        <source>Sort by Pages</source>
        <translation>Ordenar por número de páginas</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Invertir el orden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>More Commands</source>
        <translation>Más comandos</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Deshacer: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rehacer: %1</translation>
    </message>
    <message>
        <source>Choose Pages…</source>
        <translation>Elegir páginas…</translation>
    </message>
    <message>
        <source>Choose which pages of the selected file go into the combined PDF</source>
        <translation>Elegir qué páginas del archivo seleccionado entran en el PDF combinado</translation>
    </message>
    <message>
        <source>Document Properties…</source>
        <translation>Propiedades del documento…</translation>
    </message>
    <message>
        <source>Add a Contents Page</source>
        <translation>Añadir un índice</translation>
    </message>
    <message>
        <source>Bookmarks in the Contents</source>
        <translation>Marcadores en el índice</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>First Level</source>
        <translation>Primer nivel</translation>
    </message>
    <message>
        <source>Two Levels</source>
        <translation>Dos niveles</translation>
    </message>
    <message>
        <source>All Levels</source>
        <translation>Todos los niveles</translation>
    </message>
    <message>
        <source>Start Each File on a Right-Hand Page</source>
        <translation>Empezar cada archivo en una página impar</translation>
    </message>
    <message>
        <source>Add PDF files to the end of the list</source>
        <translation>Añadir archivos PDF al final de la lista</translation>
    </message>
    <message>
        <source>Add every PDF in a folder and its subfolders</source>
        <translation>Añadir todos los PDF de una carpeta y de sus subcarpetas</translation>
    </message>
    <message>
        <source>Take the selected files off the list</source>
        <translation>Quitar de la lista los archivos seleccionados</translation>
    </message>
    <message>
        <source>Combine the listed files into one PDF and save it</source>
        <translation>Combinar los archivos de la lista en un solo PDF y guardarlo</translation>
    </message>
    <message>
        <source>Combine the listed files into the temporary folder without asking</source>
        <translation>Combinar los archivos de la lista en la carpeta temporal sin preguntar</translation>
    </message>
    <message>
        <source>Open the help page in the browser</source>
        <translation>Abrir la página de ayuda en el navegador</translation>
    </message>
    <message>
        <source>Open the selected file in its viewer</source>
        <translation>Abrir el archivo seleccionado en el visor de PDF</translation>
    </message>
    <message>
        <source>Change the name the selected file is listed under</source>
        <translation>Cambiar el nombre con el que figura en la lista el archivo seleccionado</translation>
    </message>
    <message>
        <source>Take back the last change to the list</source>
        <translation>Deshacer el último cambio en la lista</translation>
    </message>
    <message>
        <source>Make the change taken back again</source>
        <translation>Volver a aplicar el cambio deshecho</translation>
    </message>
    <message>
        <source>Move the selected files one place up</source>
        <translation>Subir una posición los archivos seleccionados</translation>
    </message>
    <message>
        <source>Move the selected files one place down</source>
        <translation>Bajar una posición los archivos seleccionados</translation>
    </message>
    <message>
        <source>Move the selected files to the top of the list</source>
        <translation>Mover los archivos seleccionados al principio de la lista</translation>
    </message>
    <message>
        <source>Move the selected files to the bottom of the list</source>
        <translation>Mover los archivos seleccionados al final de la lista</translation>
    </message>
    <message>
        <source>Sort the list by name, numbers by their value</source>
        <translation>Ordenar la lista por nombre, los números según su valor</translation>
    </message>
    <message>
        <source>Sort the list by when each file last changed</source>
        <translation>Ordenar la lista según la última modificación de cada archivo</translation>
    </message>
    <message>
        <source>Sort the list by number of pages</source>
        <translation>Ordenar la lista por número de páginas</translation>
    </message>
    <message>
        <source>Turn the list&apos;s order around</source>
        <translation>Invertir el orden de la lista</translation>
    </message>
    <message>
        <source>Tomefuse Help</source>
        <translation>Ayuda de Tomefuse</translation>
    </message>
    <message>
        <source>Stop Saving</source>
        <translation>Detener el guardado</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>About Tomefuse</source>
        <translation>Acerca de Tomefuse</translation>
    </message>
    <message numerus="yes">
        <source>%Ln files</source>
        <translation>
            <numerusform>%Ln archivo</numerusform>
            <numerusform>%Ln archivos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln pages</source>
        <translation>
            <numerusform>%Ln página</numerusform>
            <numerusform>%Ln páginas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %Ln cannot be read</source>
        <translation>
            <numerusform>, %Ln no se puede leer</numerusform>
            <numerusform>, %Ln no se pueden leer</numerusform>
        </translation>
    </message>
    <message>
        <source>&lt;h3&gt;Tomefuse %1&lt;/h3&gt;&lt;p&gt;Combines PDF files, and images, into one PDF with every file&apos;s bookmarks.&lt;/p&gt;&lt;p&gt;Licensed under the Apache License, version 2.0.&lt;/p&gt;&lt;p&gt;Built with Qt %2 and qpdf %3; images are read with libjpeg-turbo, libpng and libtiff.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Tomefuse %1&lt;/h3&gt;&lt;p&gt;Combina archivos PDF e imágenes en un solo PDF, con los marcadores de cada archivo.&lt;/p&gt;&lt;p&gt;Publicado bajo la licencia Apache, versión 2.0.&lt;/p&gt;&lt;p&gt;Creado con Qt %2 y qpdf %3; las imágenes se leen con libjpeg-turbo, libpng y libtiff.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Enter Password…</source>
        <translation>Introducir contraseña…</translation>
    </message>
    <message>
        <source>Divider between the list and the preview</source>
        <translation>Divisor entre la lista y la vista previa</translation>
    </message>
    <message>
        <source>Page Labels in the Contents</source>
        <translation>Etiquetas de página en el índice</translation>
    </message>
    <message>
        <source>Tomefuse lists (*.%1)</source>
        <translation>Listas de Tomefuse (*.%1)</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Girar a la derecha</translation>
    </message>
    <message>
        <source>Turn the selected files, or the pages chosen in the preview, a quarter turn clockwise</source>
        <translation>Girar un cuarto de vuelta en el sentido de las agujas del reloj los archivos seleccionados, o las páginas elegidas en la vista previa</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Girar a la izquierda</translation>
    </message>
    <message>
        <source>Turn the selected files, or the pages chosen in the preview, a quarter turn counterclockwise</source>
        <translation>Girar un cuarto de vuelta en sentido contrario a las agujas del reloj los archivos seleccionados, o las páginas elegidas en la vista previa</translation>
    </message>
    <message>
        <source>Interleave With Next File</source>
        <translation>Intercalar con el archivo siguiente</translation>
    </message>
    <message>
        <source>Make the selected file and the next one entry, their pages in turn: 1, 1, 2, 2, …</source>
        <translation>Hacer del archivo seleccionado y el siguiente una sola entrada, con sus páginas alternadas: 1, 1, 2, 2, …</translation>
    </message>
    <message>
        <source>Interleave With Next File Reversed</source>
        <translation>Intercalar con el archivo siguiente invertido</translation>
    </message>
    <message>
        <source>The same, with the next file&apos;s pages last page first, for backs scanned from the bottom</source>
        <translation>Lo mismo, con las páginas del archivo siguiente desde la última, para reversos escaneados desde abajo</translation>
    </message>
    <message>
        <source>Take Only These Pages</source>
        <translation>Tomar solo estas páginas</translation>
    </message>
    <message>
        <source>Leave Out These Pages</source>
        <translation>Omitir estas páginas</translation>
    </message>
    <message>
        <source>Save List As…</source>
        <translation>Guardar lista como…</translation>
    </message>
    <message>
        <source>Keep the list and its options in a file, to combine them again later</source>
        <translation>Guardar la lista y sus opciones en un archivo, para combinarlas de nuevo más tarde</translation>
    </message>
    <message>
        <source>Save List As</source>
        <translation>Guardar lista como</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Abrir lista…</translation>
    </message>
    <message>
        <source>Read a list kept in a file in place of this one</source>
        <translation>Leer una lista guardada en un archivo en lugar de esta</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Abrir lista</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Abrir reciente</translation>
    </message>
    <message>
        <source>No Recent Lists</source>
        <translation>No hay listas recientes</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Vaciar menú</translation>
    </message>
    <message>
        <source>Image Pages</source>
        <translation>Páginas de imágenes</translation>
    </message>
    <message>
        <source>At Their Own Size</source>
        <translation>A su propio tamaño</translation>
    </message>
    <message>
        <source>Fitted to A4</source>
        <translation>Ajustadas a A4</translation>
    </message>
    <message>
        <source>Fitted to Letter</source>
        <translation>Ajustadas a carta</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageGridModel</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Página %1 de %2</translation>
    </message>
    <message>
        <source>%1, left out</source>
        <translation>%1, excluida</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Página %1</translation>
    </message>
    <message>
        <source>Page %1, left out</source>
        <translation>Página %1, excluida</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageSelection</name>
    <message numerus="yes">
        <source>“%1”: the file has %n pages</source>
        <translation>
            <numerusform>«%1»: el archivo tiene %n página</numerusform>
            <numerusform>«%1»: el archivo tiene %n páginas</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is not a page or a range of pages, such as 3 or 1-5 or 10-z</source>
        <translation>«%1» no es una página ni un intervalo de páginas, como 3, 1-5 o 10-z</translation>
    </message>
    <message>
        <source>“%1”: pages count from 1</source>
        <translation>«%1»: las páginas se cuentan desde 1</translation>
    </message>
    <message>
        <source>“%1”: the file has 1 page</source>
        <translation>«%1»: el archivo tiene 1 página</translation>
    </message>
    <message>
        <source>“%1”: the file has no pages</source>
        <translation>«%1»: el archivo no tiene páginas</translation>
    </message>
    <message>
        <source>a page or range is missing between two commas</source>
        <translation>falta una página o un intervalo de páginas entre dos comas</translation>
    </message>
</context>
<context>
    <name>tomefuse::PageSelectionDelegate</name>
    <message>
        <source>all, or 1-3, 7, 10-z</source>
        <translation>all, o 1-3, 7, 10-z</translation>
    </message>
    <message>
        <source>The pages to take, in order: “all”, or pages and ranges separated by commas, such as 1-3, 7, 10-z. z is the last page; 9-5 takes pages backwards; a page may come more than once.</source>
        <translation>Las páginas que se toman, en orden: «all», o páginas e intervalos separados por comas, como 1-3, 7, 10-z. z es la última página; 9-5 toma las páginas en sentido inverso; una página puede aparecer más de una vez.</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Páginas</translation>
    </message>
</context>
<context>
    <name>tomefuse::PasswordDialog</name>
    <message>
        <source>The password was wrong. Try again, or skip the file.</source>
        <translation>La contraseña no es correcta. Inténtelo de nuevo u omita el archivo.</translation>
    </message>
    <message>
        <source>Password Needed</source>
        <translation>Se necesita una contraseña</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Contraseña:</translation>
    </message>
    <message>
        <source>Tomefuse keeps the password in memory only, while the file is listed. The combined PDF is not protected.</source>
        <translation>Tomefuse guarda la contraseña solo en memoria, mientras el archivo esté en la lista. El PDF combinado no queda protegido.</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Omitir</translation>
    </message>
    <message>
        <source>“%1” is protected by a password.</source>
        <translation>«%1» está protegido con contraseña.</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 en %2</translation>
    </message>
    <message>
        <source>Skip All</source>
        <translation>Omitir todos</translation>
    </message>
    <message>
        <source>Skip this file and every other protected file being added now</source>
        <translation>Omitir este archivo y todos los demás archivos protegidos que se están añadiendo</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfEntry</name>
    <message>
        <source>no longer there</source>
        <translation>ya no existe</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>no es un archivo</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permiso denegado</translation>
    </message>
    <message>
        <source>not a PDF</source>
        <translation>no es un PDF</translation>
    </message>
    <message>
        <source>damaged beyond repair</source>
        <translation>dañado sin posibilidad de reparación</translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation>requiere contraseña</translation>
    </message>
    <message>
        <source>not enough memory to read it</source>
        <translation>no hay memoria suficiente para leerlo</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableModel</name>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>Cannot be read: %1
%2</source>
        <translation>No se puede leer: %1
%2</translation>
    </message>
    <message>
        <source>The pages taken from each file. Double-click a count to choose them: “all”, or pages and ranges such as 1-3, 7, 10-z.</source>
        <translation>Las páginas que se toman de cada archivo. Pulse dos veces en un número para elegirlas: «all», o páginas e intervalos como 1-3, 7, 10-z.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Páginas</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Marcadores</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ubicación</translation>
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
        <translation>Intercalado con %1</translation>
    </message>
    <message>
        <source>%1, some turned</source>
        <translation>%1, algunas giradas</translation>
    </message>
    <message>
        <source>%1, turned %2°</source>
        <translation>%1, giradas %2°</translation>
    </message>
</context>
<context>
    <name>tomefuse::PdfTableView</name>
    <message>
        <source>Files to combine</source>
        <translation>Archivos que combinar</translation>
    </message>
    <message>
        <source>Drop PDF files here, or choose Add…</source>
        <translation>Suelte aquí archivos PDF o elija «Añadir…»</translation>
    </message>
</context>
<context>
    <name>tomefuse::PreviewPane</name>
    <message>
        <source>Bookmarks of the selected file</source>
        <translation>Marcadores del archivo seleccionado</translation>
    </message>
    <message>
        <source>Pages of the selected file</source>
        <translation>Páginas del archivo seleccionado</translation>
    </message>
    <message>
        <source>cannot be found</source>
        <translation>no se encuentra</translation>
    </message>
    <message>
        <source>is not a PDF file, or is damaged</source>
        <translation>no es un archivo PDF o está dañado</translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation>requiere una contraseña</translation>
    </message>
    <message>
        <source>does not open with the password given</source>
        <translation>no se abre con la contraseña indicada</translation>
    </message>
    <message>
        <source>is protected in a way that cannot be read</source>
        <translation>está protegido de una forma que impide leerlo</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>cannot be shown without tomefuse-preview-worker</source>
        <translation>no se puede mostrar sin tomefuse-preview-worker</translation>
    </message>
    <message>
        <source>Select a file in the list to see its pages and bookmarks.</source>
        <translation>Seleccione un archivo de la lista para ver sus páginas y marcadores.</translation>
    </message>
    <message>
        <source>This file %1.</source>
        <translation>Este archivo %1.</translation>
    </message>
    <message>
        <source>Reading bookmarks…</source>
        <translation>Leyendo los marcadores…</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Marcadores</translation>
    </message>
    <message>
        <source>%1 (page %2)</source>
        <translation>%1 (página %2)</translation>
    </message>
    <message>
        <source>No bookmarks</source>
        <translation>Sin marcadores</translation>
    </message>
    <message>
        <source>Divider between the bookmarks and the pages</source>
        <translation>Divisor entre los marcadores y las páginas</translation>
    </message>
</context>
<context>
    <name>tomefuse::QtPanels</name>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>%1 files (%2)</source>
        <translation>Archivos %1 (%2)</translation>
    </message>
    <message>
        <source>Files (%1)</source>
        <translation>Archivos (%1)</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Añadir carpeta</translation>
    </message>
    <message>
        <source>Add PDF Files</source>
        <translation>Añadir archivos PDF</translation>
    </message>
    <message>
        <source>PDF files and images (%1)</source>
        <translation>Archivos PDF e imágenes (%1)</translation>
    </message>
    <message>
        <source>PDF files (%1)</source>
        <translation>Archivos PDF (%1)</translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation>Imágenes (%1)</translation>
    </message>
</context>
<context>
    <name>tomefuse::QtProgressSheet</name>
    <message>
        <source>Saving</source>
        <translation>Guardando</translation>
    </message>
    <message>
        <source>Preparing…</source>
        <translation>Preparando…</translation>
    </message>
    <message>
        <source>Stop saving: nothing is written, the list stays as it is</source>
        <translation>Detener el guardado: no se escribe nada y la lista se queda como está</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Cancelando…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Open the combined PDF</source>
        <translation>Abrir el PDF combinado</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>Show the combined PDF in the file manager</source>
        <translation>Mostrar el PDF combinado en el gestor de archivos</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Close this bar</source>
        <translation>Cerrar esta barra</translation>
    </message>
</context>
<context>
    <name>tomefuse::RefusingSaveDialog</name>
    <message>
        <source>“%1” cannot be replaced.</source>
        <translation>«%1» no se puede reemplazar.</translation>
    </message>
</context>
<context>
    <name>tomefuse::SaveProgress</name>
    <message>
        <source>Reading “%1” (file %2 of %3)</source>
        <translation>Leyendo «%1» (archivo %2 de %3)</translation>
    </message>
    <message>
        <source>Writing bookmarks and links</source>
        <translation>Escribiendo marcadores y enlaces</translation>
    </message>
</context>
<context>
    <name>tomefuse::SaveSession</name>
    <message>
        <source>The combined PDF could not be saved.</source>
        <translation>No se ha podido guardar el PDF combinado.</translation>
    </message>
    <message>
        <source>The combined PDF was not saved.</source>
        <translation>El PDF combinado no se ha guardado.</translation>
    </message>
    <message>
        <source>A file cannot be read: %1</source>
        <translation>Un archivo no se puede leer: %1</translation>
    </message>
    <message>
        <source>None of the files can be read.</source>
        <translation>No se puede leer ninguno de los archivos.</translation>
    </message>
    <message>
        <source>Nothing is combined.</source>
        <translation>No se combina nada.</translation>
    </message>
    <message>
        <source>1 file cannot be read and will be left out.</source>
        <translation>1 archivo no se puede leer y se omitirá.</translation>
    </message>
    <message>
        <source>Combine the others?</source>
        <translation>¿Combinar los demás?</translation>
    </message>
    <message>
        <source>Combine the Others</source>
        <translation>Combinar los demás</translation>
    </message>
    <message>
        <source>Saved “%1” in %2</source>
        <translation>«%1» guardado en %2</translation>
    </message>
    <message>
        <source>Save Combined PDF</source>
        <translation>Guardar PDF combinado</translation>
    </message>
    <message>
        <source>Some pages are missing from the combined PDF.</source>
        <translation>Faltan páginas en el PDF combinado.</translation>
    </message>
    <message>
        <source>These files could not be read:</source>
        <translation>Estos archivos no se han podido leer:</translation>
    </message>
    <message>
        <source>“%1” could not be opened.</source>
        <translation>No se ha podido abrir «%1».</translation>
    </message>
    <message>
        <source>No application on this desktop is set up to open PDF files. The combined PDF is saved in %1.</source>
        <translation>En este escritorio no hay ninguna aplicación configurada para abrir archivos PDF. El PDF combinado está guardado en %1.</translation>
    </message>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>Ningún gestor de archivos ha podido mostrar «%1».</translation>
    </message>
    <message numerus="yes">
        <source>%n files cannot be read and will be left out.</source>
        <translation>
            <numerusform>%n archivo no se puede leer y se omitirá.</numerusform>
            <numerusform>%n archivos no se pueden leer y se omitirán.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checking 1 file before saving…</source>
        <translation>Comprobando 1 archivo antes de guardar…</translation>
    </message>
    <message numerus="yes">
        <source>Checking %n files before saving…</source>
        <translation>
            <numerusform>Comprobando %n archivo antes de guardar…</numerusform>
            <numerusform>Comprobando %n archivos antes de guardar…</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tomefuse::TomefuseAppDelegate</name>
    <message>
        <source>The help could not be opened.</source>
        <translation>No se ha podido abrir la ayuda.</translation>
    </message>
    <message>
        <source>No web browser is set up on this desktop. The help is at %1.</source>
        <translation>En este escritorio no hay ningún navegador web configurado. La ayuda está en %1.</translation>
    </message>
    <message>
        <source>A file needs a name; the old one stays.</source>
        <translation>Un archivo necesita un nombre; se conserva el anterior.</translation>
    </message>
    <message>
        <source>These pages cannot be taken from “%1”.</source>
        <translation>Estas páginas no se pueden tomar de «%1».</translation>
    </message>
    <message>
        <source>The list could not be saved as “%1”.</source>
        <translation>No se pudo guardar la lista como «%1».</translation>
    </message>
    <message>
        <source>The list “%1” cannot be opened.</source>
        <translation>No se puede abrir la lista «%1».</translation>
    </message>
    <message>
        <source>Some files of the list are no longer there.</source>
        <translation>Algunos archivos de la lista ya no existen.</translation>
    </message>
    <message>
        <source>They stay listed, marked as such; the others are combined without them.

%1</source>
        <translation>Siguen en la lista, marcados como tales; los demás se combinan sin ellos.

%1</translation>
    </message>
    <message>
        <source>A file keeps at least one page; remove it from the list to leave it out.</source>
        <translation>Un archivo conserva al menos una página; quítelo de la lista para omitirlo.</translation>
    </message>
</context>
</TS>
