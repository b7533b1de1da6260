// The scanner as the General settings page sees it: the "Current TWAIN device:" field and the
// "&Select device" button, both on the main window's scanner component, and the source dialog
// that lists every installed scanner by name.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QWidget;

namespace vellumo::scanning {

// Fills the field with the name of the component's current source (empty when none can be
// read). When the scanners cannot be listed at all, says so in a message box and leaves the
// field as it is.
void FillCurrentDeviceName(QLabel* field);
// The same without waiting: at once when the scanners have been found, otherwise as soon as
// they are, and then only while `wanted` says so (the page may have been left or the user
// may have chosen a device meanwhile).
void FillCurrentDeviceNameWhenReady(QLabel* field, std::function<bool()> wanted);

// "&Select device": the source dialog; a source chosen there is shown in the field, stored as
// "CurrentDevice" and used by the next scan. Cancelled or failed: the field is emptied and the
// stored choice stays. The page is disabled while the dialog runs.
void OnSelectDevice(QWidget* page, QLabel* field);

// The source dialog: the scanners' names, OK and Cancel.
class CSourceDialog : public QDialog {
    Q_OBJECT
public:
    CSourceDialog(const std::vector<std::string>& names, int current, QWidget* parent = nullptr);
    // The highlighted row, -1 when none.
    int selectedIndex() const;
    void selectIndex(int index);
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

// Shows the source dialog (through the dialog seam); returns the chosen index, or -1 when the
// user cancelled.
int ChooseSource(QWidget* parent, const std::vector<std::string>& names, int current);

}  // namespace vellumo::scanning
