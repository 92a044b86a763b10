#include <gtest/gtest.h>

#include "Fakes.h"
#include "support/Fixtures.h"

namespace tomefuse::test {
namespace {

TEST(Controller, EnablesRemoveBySelectionAndSaveByListLength) {
    TempDir dir;
    std::string pdf = makePdf(dir, "one.pdf", 1);
    struct Case {
        int entries;
        IndexSet selection;
        bool removeEnabled;
        bool saveEnabled;
    };
    const Case cases[] = {
        {0, {}, false, false}, {1, {}, false, false},   {1, {0}, true, false},
        {2, {}, false, true},  {3, {1, 2}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries");
        Harness h(dir.path());
        for (int i = 0; i < c.entries; ++i) {
            h.add(pdf);
        }
        h.table.selection = c.selection;
        EXPECT_EQ(h.controller.validateUserInterfaceItem(&TomefuseAppDelegate::removeFromTable), c.removeEnabled);
        EXPECT_EQ(h.controller.validateUserInterfaceItem(&TomefuseAppDelegate::saveToDisk), c.saveEnabled);
        for (auto always : {&TomefuseAppDelegate::addToTable, &TomefuseAppDelegate::saveToTemporaryFile,
                            &TomefuseAppDelegate::showHelp, &TomefuseAppDelegate::tableViewDoubleClicked}) {
            EXPECT_TRUE(h.controller.validateUserInterfaceItem(always));
        }
    }
}

TEST(Controller, StartUpRegistersSettingsDragTypesAndDoubleAction) {
    TempDir dir;
    std::string pdf = makePdf(dir, "early.pdf", 2);
    Harness h(dir.path(), false);
    h.defaults.setBool(preserveExistingTOCsKey, false);
    // The desktop may ask to open a file before launch has finished; it must not be lost.
    ASSERT_TRUE(h.controller.openFile(pdf));

    h.controller.applicationDidFinishLaunching();

    EXPECT_EQ(h.journal, (Journal{"registerDefaults", "registerForDraggedTypes", "setDoubleAction"}));
    ASSERT_EQ(h.defaults.registerCalls.size(), 1u);
    EXPECT_EQ(h.defaults.registerCalls[0], (std::map<std::string, bool>{{"shouldInsertTOCForFilenames", true},
                                                                        {"preserveExistingTOCs", true},
                                                                        {"shouldOpenPDFInDefaultApplication", true},
                                                                        {"shouldAddContentsPage", false},
                                                                        {"shouldStartFilesOnRightHandPages", false},
                                                                        {"shouldNumberContentsByPageLabels", false}}));
    EXPECT_TRUE(h.defaults.boolForKey(shouldInsertTOCForFilenamesKey));
    EXPECT_TRUE(h.defaults.boolForKey(shouldOpenPDFInDefaultApplicationKey));
    EXPECT_FALSE(h.defaults.boolForKey(preserveExistingTOCsKey)) << "a user value wins over the default";

    EXPECT_EQ(h.filenames(), std::vector<std::string>{"early"});
    EXPECT_EQ(h.table.registeredTypes, (std::vector<std::string>{"public.file-url", "MultiplePDFContent"}));
    ASSERT_TRUE(h.table.doubleAction);
    h.openScript.result = 0;
    h.table.doubleAction();
    EXPECT_EQ(h.openScript.runs, 1) << "the double action is tableViewDoubleClicked";
    EXPECT_TRUE(h.controller.applicationShouldTerminateAfterLastWindowClosed());
}

TEST(Controller, StartUpWithoutOutletsDoesNotCrash) {
    FakeUserDefaults defaults;
    Journal journal;
    FakeWorkspace workspace(journal);
    FakeSystem system(journal, "/tmp");
    TomefuseAppDelegate controller(
        DesktopServices{defaults, NotificationCenter::defaultCenter(), workspace, system, nullptr, nullptr});
    controller.applicationDidFinishLaunching();
    EXPECT_FALSE(controller.validateUserInterfaceItem(&TomefuseAppDelegate::removeFromTable));
    controller.addToTable(nullptr);
    controller.removeFromTable(nullptr);
    EXPECT_EQ(system.beeps, 2) << "no dialog to show and nothing selected";
}

TEST(Controller, HelpOpensTheLocalPageOrTheWebPage) {
    Harness h;
    h.controller.showHelp(nullptr);
    h.controller.setHelpPagePath("/usr/share/tomefuse/help page.html");
    h.controller.showHelp(nullptr);
    EXPECT_EQ(h.workspace.urls,
              (std::vector<std::string>{"https://tomefuse.org/help", "file:///usr/share/tomefuse/help%20page.html"}));
}

}  // namespace
}  // namespace tomefuse::test
