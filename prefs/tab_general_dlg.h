// CTabGeneralDlg: the "General" settings page: scanning mode, resolutions, brightness, page
// size, the scan and PDF options, the log file and the current scanner. It loads everything from
// the settings each time it is shown and stores everything when it is hidden.
#pragma once

#include <QFont>

#include "prefs/pref_page.h"

class QButtonGroup;

namespace vellumo::prefs {

class CTabGeneralDlg : public CPrefPage {
    Q_OBJECT
public:
    static constexpr int kTemplate = 240;
    static constexpr int kDeviceName = 2210;
    static constexpr int kSelectDevice = 1058;
    static constexpr int kReset = 2070;

    explicit CTabGeneralDlg(QWidget* parent);

    bool UpdateData(bool saveAndValidate) override;
    // Every value from the settings at once; the scanner's name follows in LoadPageLater.
    void LoadPage() override;
    void LoadPageLater() override;
    void SavePage() override;
    // "&Reset to factory defaults".
    void OnResetDefaults();

    // The page's values, as the settings of the same names.
    int nType = 0;
    int nBright = 3;
    int PageSize = 0;
    int Preview = 1;
    int AutoCrop = 0;
    int ADF = 0;
    int Duplex = 0;
    int Invert = 0;
    int Compress = 1;
    int LogFile = 0;
    QString resBW, resGrey, resColor, comprPerc;  // "ResBW", "ResGrey", "ResColor", "ComprPerc"

private:
    void WriteResolutionsToCompress();

    // The user chose a device since the last load: its name is not overwritten.
    bool deviceChosen_ = false;
    QButtonGroup* typeGroup_;
    QButtonGroup* brightGroup_;
    QButtonGroup* sizeGroup_;
};

}  // namespace vellumo::prefs
