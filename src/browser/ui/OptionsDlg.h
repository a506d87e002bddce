#pragma once
// The browse options dialog ("选项"): the grid's rows and columns, the preview colours, and
// the layer-settings command of the CAD link. What it offers and writes is the core's
// (browser/BrowseOptions.h); OK writes everything in one go and the caller reloads the grid
// and the detail list.

#include "browser/BrowseOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace orv {

struct ReaderState;

class COptionsDlg : public QDialog {
    Q_OBJECT
public:
    enum Control : int {
        kRows = 1010,
        kColumns = 1011,
        kBackground = 1020,
        kTextFore = 1021,
        kTextBack = 1022,
        kForeground = 1023,
        kSystemColours = 1025,
        kLayers = 1035,
        kShowJoin = 1036,
        kShowDlg = 1037,
    };

    COptionsDlg(ReaderState& state, QWidget* parent = nullptr);

    const BrowseOptions& Options() const { return m_options; }
    // False when OK could not write the settings file.
    bool Written() const { return m_written; }

signals:
    // "图层设置" was pressed: the CAD link's layer settings.
    void LayerSettingsRequested();

public slots:
    void accept() override;

private:
    QComboBox* MakeColourCombo(int id, std::uint32_t colour);
    void SelectColour(QComboBox* combo, std::uint32_t colour);

    ReaderState& m_state;
    SystemColours m_system;
    BrowseOptions m_options;
    QComboBox* m_rows;
    QComboBox* m_columns;
    QComboBox* m_background;
    QComboBox* m_foreground;
    QComboBox* m_textFore;
    QComboBox* m_textBack;
    QCheckBox* m_showJoin;
    QCheckBox* m_showDlg;
    bool m_written = false;
};

} // namespace orv
