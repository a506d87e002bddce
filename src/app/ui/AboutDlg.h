#pragma once
// The gallery information dialog ("关于 ORVBook"): the program's title and version, the
// galleries (and add-ins) of the work directory, and the choice of another work directory.
// After OK, Changed() tells whether the program's gallery list was rebuilt.

#include <QDialog>

#include <string>

class QLineEdit;
class QTreeWidget;

namespace orv {

struct ReaderState;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    enum Control : int {
        kTitle = 1043,
        kVersionLabel = 1033,
        kVersion = 1044,
        kChooseFolder = 1050,
        kWorkDir = 1036,
        kGalleryList = 1045,
        kOk = 1,
        kCancel = 2,
    };

    CAboutDlg(ReaderState& state, QWidget* parent = nullptr);

    bool Changed() const { return m_changed; }
    const std::string& WorkDir() const { return m_workDir; }

    // The button "工作目录>>" with the folder already picked (a program path).
    void UseFolder(const std::string& folder);

protected:
    void accept() override;

private:
    void FillList();
    void ChooseFolder();
    void TellUnwritten(bool written) const;

    ReaderState& m_state;
    std::string m_workDir;
    bool m_changed = false;
    QLineEdit* m_edit;
    QTreeWidget* m_list;
};

} // namespace orv
