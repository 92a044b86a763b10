#pragma once

#include <map>
#include <string>

#include "combine/CombineJob.h"
#include "platform/desktop/UserDefaults.h"

namespace tomefuse {

// The settings a combine reads, all YES unless the user says otherwise: a bookmark for each file,
// each file's own bookmarks kept, and the combined file opened (else revealed) once written.
inline constexpr const char* shouldInsertTOCForFilenamesKey = "shouldInsertTOCForFilenames";
inline constexpr const char* preserveExistingTOCsKey = "preserveExistingTOCs";
inline constexpr const char* shouldOpenPDFInDefaultApplicationKey = "shouldOpenPDFInDefaultApplication";

// The settings that shape the combined document for reading and printing. All off, and the
// properties empty, unless the user sets them.
inline constexpr const char* shouldAddContentsPageKey = "shouldAddContentsPage";
// How deep the contents lists each file's bookmarks: 0 not at all, 1, 2, or -1 every level.
inline constexpr const char* contentsBookmarkDepthKey = "contentsBookmarkDepth";
// The contents shows page labels, not places, where the combined document's labels are unique.
inline constexpr const char* shouldNumberContentsByPageLabelsKey = "shouldNumberContentsByPageLabels";
inline constexpr const char* shouldStartFilesOnRightHandPagesKey = "shouldStartFilesOnRightHandPages";
inline constexpr const char* documentTitleKey = "documentTitle";
inline constexpr const char* documentAuthorKey = "documentAuthor";
inline constexpr const char* documentSubjectKey = "documentSubject";
inline constexpr const char* documentKeywordsKey = "documentKeywords";

// The defaults registered for the booleans: the three above YES, the document's own NO.
std::map<std::string, bool> settingDefaults();

// The settings of a combine, as stored: what both front ends read (files that cannot be read are
// left out; the caller says otherwise).
CombineSettings readCombineSettings(const UserDefaults& defaults, ContentsTypesetter* typesetter);

// The document's properties as stored, and storing them.
PDFDocumentAttributes readDocumentProperties(const UserDefaults& defaults);
void storeDocumentProperties(UserDefaults& defaults, const PDFDocumentAttributes& properties);

// Reads them into a combine's settings; the contents page is laid out by typesetter. (The booleans
// are registered with the controller's own; the texts and the depth default to empty and 0.)
void readDocumentOptions(const UserDefaults& defaults, ContentsTypesetter* typesetter, CombineSettings& settings);

}  // namespace tomefuse
