#pragma once
// The image viewer: one modeless window that shows a preview enlarged (slides, slide-library
// members and pictures in a picture control, any other file in a web view) and remembers its
// place in the settings ("VIEWIMAGE"). The main window keeps the one instance; it is deleted
// when closed and made again on the next use.

#include "content/ContentViewState.h"

#include <QDialog>

#include <string>

namespace orv {

struct ReaderState;
class CContentView;
class CPictureCtrl;

class CImageViewDlg : public QDialog {
    Q_OBJECT
public:
    enum Control : int { kPicture = 1007, kWeb = 1026 };

    CImageViewDlg(ReaderState& state, QWidget* parent = nullptr);
    ~CImageViewDlg() override;

    // Shows path under title: in the picture control or in the web view, as the path says.
    void ShowFile(const QString& title, const std::string& path);

    CPictureCtrl* Picture() const { return m_picture; }
    CContentView* WebView() const { return m_web; }
    bool WebMode() const { return m_webMode; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void PlaceFromSettings();
    void LayOut();

    ReaderState& m_state;
    CPictureCtrl* m_picture;
    CContentView* m_web = nullptr; // made on the first file it shows
    ContentViewState m_webState;
    std::string m_previousCompanion;
    bool m_webMode = false;
};

} // namespace orv
