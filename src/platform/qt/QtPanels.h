#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/desktop/Panels.h"
#include "platform/qt/QtStrings.h"

class QWidget;

namespace tomefuse {

// The name filter for a list of extensions: "PDF files (*.pdf)" for {"pdf"}.
QString nameFilterForTypes(const std::vector<std::string>& types);
// The lines an open dialog offers: every type first, chosen, then each kind and all files.
QStringList nameFiltersForOpening(const std::vector<std::string>& types);

// Qt's own file dialog rather than the desktop's, so the panels behave alike on every desktop
// and can be driven in tests.
class QtOpenPanel final : public OpenPanel {
  public:
    explicit QtOpenPanel(QWidget* parent = nullptr) : parent_(parent) {}

    void setCanChooseDirectories(bool flag) override { canChooseDirectories_ = flag; }
    void setAllowsMultipleSelection(bool flag) override { allowsMultipleSelection_ = flag; }
    void setAllowedFileTypes(const std::vector<std::string>& types) override { types_ = types; }
    int runModal() override;
    std::vector<std::string> URLs() const override { return urls_; }

  private:
    QPointer<QWidget> parent_;
    bool canChooseDirectories_ = false;
    bool allowsMultipleSelection_ = false;
    std::vector<std::string> types_;
    std::vector<std::string> urls_;
};

class QtSavePanel final : public SavePanel {
  public:
    explicit QtSavePanel(QWidget* parent = nullptr) : parent_(parent) {}

    void setTitle(const std::string& title) override { title_ = QString::fromStdString(title); }
    void setAllowedFileTypes(const std::vector<std::string>& types) override { types_ = types; }
    // Qt's dialog has no control for hiding the extension: both flags are kept for what they
    // say, and the name always shows its extension.
    void setExtensionHidden(bool flag) override { extensionHidden_ = flag; }
    void setCanSelectHiddenExtension(bool flag) override { canSelectHiddenExtension_ = flag; }
    void setDirectoryURL(const std::string& path) override { directory_ = fromStdPath(path); }
    void setNameFieldStringValue(const std::string& name) override { name_ = fromStdPath(name); }
    void setRefusal(const std::function<std::string(const std::string& path)>& refusal) override { refusal_ = refusal; }
    int runModal() override;
    std::string URL() const override { return url_; }

    bool extensionHidden() const { return extensionHidden_; }
    bool canSelectHiddenExtension() const { return canSelectHiddenExtension_; }

  private:
    QPointer<QWidget> parent_;
    QString title_;
    std::vector<std::string> types_;
    bool extensionHidden_ = false;
    bool canSelectHiddenExtension_ = false;
    QString directory_;
    QString name_;
    std::function<std::string(const std::string& path)> refusal_;
    std::string url_;
};

}  // namespace tomefuse
