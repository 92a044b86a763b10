#include "combine/DocumentOptions.h"

#include <algorithm>

#include "list/EntryReader.h"

namespace tomefuse {

std::map<std::string, bool> settingDefaults() {
    return {
        {shouldInsertTOCForFilenamesKey, true},       {preserveExistingTOCsKey, true},
        {shouldOpenPDFInDefaultApplicationKey, true}, {shouldAddContentsPageKey, false},
        {shouldStartFilesOnRightHandPagesKey, false}, {shouldNumberContentsByPageLabelsKey, false},
    };
}

CombineSettings readCombineSettings(const UserDefaults& defaults, ContentsTypesetter* typesetter) {
    CombineSettings settings;
    settings.fileBookmarks = defaults.boolForKey(shouldInsertTOCForFilenamesKey);
    settings.keepBookmarks = defaults.boolForKey(preserveExistingTOCsKey);
    readDocumentOptions(defaults, typesetter, settings);
    return settings;
}

PDFDocumentAttributes readDocumentProperties(const UserDefaults& defaults) {
    return {defaults.stringForKey(documentTitleKey), defaults.stringForKey(documentAuthorKey),
            defaults.stringForKey(documentSubjectKey), defaults.stringForKey(documentKeywordsKey)};
}

void storeDocumentProperties(UserDefaults& defaults, const PDFDocumentAttributes& properties) {
    defaults.setString(documentTitleKey, properties.title);
    defaults.setString(documentAuthorKey, properties.author);
    defaults.setString(documentSubjectKey, properties.subject);
    defaults.setString(documentKeywordsKey, properties.keywords);
}

void readDocumentOptions(const UserDefaults& defaults, ContentsTypesetter* typesetter, CombineSettings& settings) {
    settings.contents.add = defaults.boolForKey(shouldAddContentsPageKey);
    const long long depth = defaults.integerForKey(contentsBookmarkDepthKey);
    settings.contents.depth = depth < 0 ? -1 : static_cast<int>(std::min(depth, 1000LL));
    settings.contents.pageLabels = defaults.boolForKey(shouldNumberContentsByPageLabelsKey);
    settings.imagePages = imagePageSizeSetting(defaults);
    settings.contents.typesetter = typesetter;
    settings.startFilesOnRightHandPages = defaults.boolForKey(shouldStartFilesOnRightHandPagesKey);
    settings.properties = readDocumentProperties(defaults);
}

}  // namespace tomefuse
