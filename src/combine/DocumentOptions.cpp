#include "combine/DocumentOptions.h"

#include <algorithm>

namespace tomefuse {

std::map<std::string, bool> settingDefaults() {
    return {
        {shouldInsertTOCForFilenamesKey, true},       {preserveExistingTOCsKey, true},
        {shouldOpenPDFInDefaultApplicationKey, true}, {shouldAddContentsPageKey, false},
        {shouldStartFilesOnRightHandPagesKey, false},
    };
}

CombineSettings readCombineSettings(const UserDefaults& defaults, ContentsTypesetter* typesetter) {
    CombineSettings settings;
    settings.fileBookmarks = defaults.boolForKey(shouldInsertTOCForFilenamesKey);
    settings.keepBookmarks = defaults.boolForKey(preserveExistingTOCsKey);
    readDocumentOptions(defaults, typesetter, settings);
    return settings;
}

void readDocumentOptions(const UserDefaults& defaults, ContentsTypesetter* typesetter, CombineSettings& settings) {
    settings.contents.add = defaults.boolForKey(shouldAddContentsPageKey);
    const long long depth = defaults.integerForKey(contentsBookmarkDepthKey);
    settings.contents.depth = depth < 0 ? -1 : static_cast<int>(std::min(depth, 1000LL));
    settings.contents.typesetter = typesetter;
    settings.startFilesOnRightHandPages = defaults.boolForKey(shouldStartFilesOnRightHandPagesKey);
    settings.properties.title = defaults.stringForKey(documentTitleKey);
    settings.properties.author = defaults.stringForKey(documentAuthorKey);
    settings.properties.subject = defaults.stringForKey(documentSubjectKey);
    settings.properties.keywords = defaults.stringForKey(documentKeywordsKey);
}

}  // namespace tomefuse
