#include "scanning/scan_ui.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "scan/source_selection.h"
#include "scanning/twain_pro.h"

namespace vellumo::scanning {

using namespace vellumo::platform;
using namespace vellumo::scan;

CSourceDialog::CSourceDialog(const std::vector<std::string>& names, int current, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CSourceDialog"));
    setWindowTitle(tr("Select Source"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Sources:"), this));
    list_ = new QListWidget(this);
    for (const std::string& name : names) list_->addItem(QString::fromStdString(name));
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* ok = buttons->button(QDialogButtonBox::Ok);
    auto updateOk = [this, ok] { ok->setEnabled(selectedIndex() >= 0); };
    connect(list_, &QListWidget::currentRowChanged, this, updateOk);
    selectIndex(current >= 0 && current < list_->count() ? current : 0);
    updateOk();
}

int CSourceDialog::selectedIndex() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? list_->row(item) : -1;
}

void CSourceDialog::selectIndex(int index) {
    if (index < 0 || index >= list_->count()) {
        list_->setCurrentRow(-1);
        return;
    }
    list_->setCurrentRow(index);
    list_->item(index)->setSelected(true);
}

int ChooseSource(QWidget* parent, const std::vector<std::string>& names, int current) {
    CSourceDialog dialog(names, current, parent);
    const int answer = platform::Dialogs()->execDialog(dialog);
    if (answer != QDialog::Accepted) return -1;
    return dialog.selectedIndex();
}

void FillCurrentDeviceName(QLabel* field) {
    if (!twainPro) return;
    twainPro->WaitUntilReady();
    const std::unique_ptr<ScanUi> ui = MakeMainScanUi(twainPro->owner.window);
    const std::optional<std::string> name = CurrentDeviceText(twainPro->component(), *ui);
    if (name && field) field->setText(QString::fromStdString(*name));
}

void FillCurrentDeviceNameWhenReady(QLabel* field, std::function<bool()> wanted) {
    if (!twainPro || !field) return;
    QPointer<QLabel> target(field);
    auto fill = [target, wanted = std::move(wanted)] {
        if (target && (!wanted || wanted())) FillCurrentDeviceName(target);
    };
    if (twainPro->ready())
        fill();
    else
        QObject::connect(twainPro, &CTwainPRO::becameReady, field, fill, Qt::SingleShotConnection);
}

void OnSelectDevice(QWidget* page, QLabel* field) {
    if (!twainPro) return;
    twainPro->WaitUntilReady();
    QPointer<QWidget> pageWindow(page);
    if (page) page->setEnabled(false);
    ScannerComponent& component = twainPro->component();
    component.SetSourceChooser([pageWindow](const std::vector<std::string>& names, int current) {
        return ChooseSource(pageWindow ? pageWindow->window() : nullptr, names, current);
    });
    SettingsAccess settings;
    settings.setText = [](const std::string& name, const std::string& value) {
        SettingsStore::writeText(name.c_str(), QString::fromStdString(value));
    };
    const std::string name = SelectDevice(component, settings);
    component.SetSourceChooser(nullptr);
    if (field) field->setText(QString::fromStdString(name));
    if (pageWindow) {
        pageWindow->setEnabled(true);
        pageWindow->activateWindow();
        pageWindow->raise();
    }
}

}  // namespace vellumo::scanning
