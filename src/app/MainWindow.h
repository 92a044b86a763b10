#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "app/TomefuseAppDelegate.h"
#include "platform/desktop/ProgressSheet.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMessageBox;
class QSettings;
class QSplitter;
class QTimer;
class QToolBar;

namespace tomefuse {

class ListPreview;
class PdfTableModel;
class PdfTableView;
class PreviewPane;
class QtProgressSheet;
class UserDefaults;

// The main interface: the window, the document table, the commands and the progress sheet. It
// sets the controller's outlets, as a window layout would, and clears them when it goes.
class MainWindow final : public QMainWindow, public Window {
    Q_OBJECT

  public:
    MainWindow(TomefuseAppDelegate& controller, UserDefaults& userDefaults, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Window
    void beginSheet(Panel* sheet, SheetDidEnd didEnd) override;
    void endSheet(Panel* sheet) override;
    void showAlert(const std::string& message, const std::string& informativeText) override;
    bool askToProceed(const std::string& message, const std::string& informativeText,
                      const std::string& proceed) override;

    PdfTableView* table() const { return table_; }
    PdfTableModel* tableModel() const { return model_; }
    QtProgressSheet* progressSheet() const { return sheet_; }
    QLabel* statusLine() const { return status_; }
    ListPreview* preview() const { return preview_; }
    PreviewPane* previewPane() const;
    QSplitter* splitter() const { return splitter_; }

    QAction* addFilesAction() const { return addFiles_; }
    QAction* removeAction() const { return remove_; }
    QAction* saveAction() const { return save_; }
    QAction* quickSaveAction() const { return quickSave_; }
    QAction* helpAction() const { return help_; }
    QAction* stopSavingAction() const { return stopSaving_; }
    QAction* quitAction() const { return quit_; }
    QAction* insertTOCAction() const { return insertTOC_; }
    QAction* preserveTOCsAction() const { return preserveTOCs_; }
    QAction* openWhenSavedAction() const { return openWhenSaved_; }
    QAction* previewAction() const { return showPreview_; }
    // The combined document: its contents page, right-hand starts and properties.
    QAction* contentsPageAction() const { return contentsPage_; }
    QMenu* contentsDepthMenu() const { return contentsDepthMenu_; }
    QMenu* imagePagesMenu() const { return imagePagesMenu_; }
    QAction* contentsLabelsAction() const { return contentsLabels_; }
    QAction* rightHandStartsAction() const { return rightHandStarts_; }
    QAction* documentPropertiesAction() const { return documentProperties_; }

    // Enables the commands as the controller says and shows the counts.
    void updateCommands();
    // Shows the settings as they stand in the user's defaults.
    void syncOptions();

    // "3 files, 42 pages", and ", 1 cannot be read" when some cannot.
    static QString statusText(uint64_t files, uint64_t pages, uint64_t unreadable = 0);

    // Takes the window's size, position, column widths and preview pane from the store, and puts
    // them back there when the window closes. Call before the window is shown.
    void restoreLayout(QSettings& store);

    // Arranging the list (MainWindow_arranging.cpp): the Edit menu, the rows' context menu, the
    // keyboard's way around the window and the status line's remarks.
    void showStatusMessage(const std::string& message) override;
    void showSaved(const std::string& message, const std::function<void()>& open,
                   const std::function<void()>& reveal) override;
    void showAbout();
    // The menu item of a command; null for none.
    QAction* commandAction(TomefuseAppDelegate::Action selector) const;
    QMenu* editMenu() const { return edit_; }
    // The menu a right click (or the menu key) at a point of the table's viewport shows.
    QMenu* tableContextMenu(const QPoint& viewportPos);
    QLabel* noticeLine() const { return notice_; }

    // Choosing what goes in (MainWindow_choosing.cpp): the pages of the selected file, chosen in
    // its Pages cell.
    QAction* choosePagesAction() const { return choosePages_; }

    // Pages and job files (MainWindow_pages.cpp): turning the selected files, or the pages chosen
    // in the preview while it has the focus; two files made one; pages taken or left out by
    // their thumbnails; the list kept in a file and read back, and the lists kept lately.
    QAction* rotateRightAction() const { return rotateRight_; }
    QAction* rotateLeftAction() const { return rotateLeft_; }
    QAction* takeOnlyPagesAction() const { return takeOnlyPages_; }
    QAction* leaveOutPagesAction() const { return leaveOutPages_; }
    QAction* saveListAction() const { return saveList_; }
    QAction* openListAction() const { return openList_; }
    QMenu* openRecentMenu() const { return openRecent_; }
    // Reads a list in place of the one shown, and keeps it among the recent ones.
    bool openList(const QString& path);
    bool saveList(const QString& path);
    QStringList recentLists() const;
    // The menu a right click on the preview's pages shows.
    QMenu* pagesContextMenu();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The window coming to the front reads again the listed files changed meanwhile.
    bool event(QEvent* event) override;

  private:
    struct Command {
        QAction* action;
        TomefuseAppDelegate::Action selector;
    };

    QAction* makeCommand(const QString& text, TomefuseAppDelegate::Action selector);
    static QIcon themeIcon(const QString& name);
    QAction* makeOption(const QString& text, const char* key);
    void buildMenus();
    // MainWindow_document.cpp: the commands and options for the combined document itself.
    void addDocumentCommands(QMenu* file, QMenu* options);
    void syncDocumentOptions();
    void addImagePagesMenu(QMenu* options);
    void showDocumentProperties();
    void combiningChanged();
    void buildPreview();
    void saveLayout();
    // Shrinks the window to the screen's available area, leaving room for a frame.
    void fitToScreen();
    void makeArrangingCommands();
    void buildEditMenu();
    void setUpKeyboardAccess(QToolBar* toolbar);
    void updateEditCommands();
    void makeChoosingCommands();
    void updateChoosingCommands();
    void choosePagesOfSelection();
    void makePagesCommands();
    void addPagesCommands(QMenu* file);
    void updatePagesCommands();
    // The selected row and the pages chosen in the preview, when the pages are what a command
    // works on: the preview has the focus and shows that row's own pages.
    std::optional<std::pair<int64_t, std::vector<uint64_t>>> chosenPages() const;
    void turn(int degrees);
    void rememberList(const QString& path);
    void fillRecentMenu();
    void refreshFromDisk();

    // First of the members: Qt makes a view's accessible interface while the view is being
    // built, and keeps it, so the roles are in place before the list exists.
    struct AccessibleRolesInstalled {
        AccessibleRolesInstalled();
    } accessibleRoles_;
    TomefuseAppDelegate& controller_;
    UserDefaults& userDefaults_;
    PdfTableModel* model_;
    PdfTableView* table_;
    QtProgressSheet* sheet_;
    QLabel* status_;
    ListPreview* preview_ = nullptr;
    QSplitter* splitter_ = nullptr;

    QAction* addFiles_ = nullptr;
    QAction* remove_ = nullptr;
    QAction* save_ = nullptr;
    QAction* quickSave_ = nullptr;
    QAction* help_ = nullptr;
    QAction* stopSaving_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* insertTOC_ = nullptr;
    QAction* preserveTOCs_ = nullptr;
    QAction* openWhenSaved_ = nullptr;
    QAction* showPreview_ = nullptr;
    QAction* contentsPage_ = nullptr;
    QMenu* contentsDepthMenu_ = nullptr;
    QActionGroup* contentsDepths_ = nullptr;
    QMenu* imagePagesMenu_ = nullptr;
    QActionGroup* imagePages_ = nullptr;
    QAction* contentsLabels_ = nullptr;
    QAction* rightHandStarts_ = nullptr;
    QAction* documentProperties_ = nullptr;
    int previewWidth_ = 300;
    std::vector<Command> commands_;
    std::vector<std::pair<QAction*, std::string>> options_;

    QAction* addFolder_ = nullptr;
    QAction* open_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QMenu* edit_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QLabel* notice_ = nullptr;
    QTimer* noticeTimer_ = nullptr;
    QAction* choosePages_ = nullptr;
    bool refreshing_ = false;

    QAction* rotateRight_ = nullptr;
    QAction* rotateLeft_ = nullptr;
    QAction* takeOnlyPages_ = nullptr;
    QAction* leaveOutPages_ = nullptr;
    QAction* saveList_ = nullptr;
    QAction* openList_ = nullptr;
    QMenu* openRecent_ = nullptr;
    QMenu* pagesMenu_ = nullptr;
    QStringList recent_;           // when there is no settings store
    QPointer<QWidget> lastFocus_;  // the widget with the focus, or that had it before a menu opened

    QSettings* layoutStore_ = nullptr;
    Panel* activeSheet_ = nullptr;
    SheetDidEnd sheetDidEnd_;
    bool closeWhenSaved_ = false;          // the user closed the window during a save and stopped it
    QPointer<QMessageBox> closeQuestion_;  // whether to stop the save, while it is asked
};

}  // namespace tomefuse
