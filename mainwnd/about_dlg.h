// CAboutDlg: the program's name, version and picture, with links to write to the makers and to
// visit the program's web site.
#pragma once

#include <QDialog>

class QLabel;

namespace vellumo::mainwnd {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* mailLink() const { return mailLink_; }
    QLabel* webLink() const { return webLink_; }

private:
    QLabel* mailLink_;
    QLabel* webLink_;
};

}  // namespace vellumo::mainwnd
