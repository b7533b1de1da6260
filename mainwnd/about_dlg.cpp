#include "mainwnd/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/product.h"

namespace vellumo::mainwnd {

using namespace vellumo::platform;

namespace {

const QColor kGround(237, 237, 237);

QLabel* Link(QWidget* parent, const QString& href, const QString& text, int id) {
    auto* label = new QLabel(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(href.toHtmlEscaped(), text.toHtmlEscaped()),
        parent);
    label->setObjectName(QStringLiteral("link%1").arg(id));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated,
                     [](const QString& link) { Dialogs()->openUrl(QUrl(link)); });
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Vellumo"));
    QPalette p = palette();
    p.setColor(QPalette::Window, kGround);
    setPalette(p);
    setAutoFillBackground(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture2826"));
    picture->setPixmap(QPixmap(QStringLiteral(":/images/about.png")));
    picture->setFixedSize(128, 128);
    picture->setScaledContents(true);

    auto* name = new QLabel(QStringLiteral("VELLUMO"), this);
    name->setObjectName(QStringLiteral("productName"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(tr("Version %1").arg(QLatin1String(kProductVersion)), this);
    version->setObjectName(QStringLiteral("version"));

    const QString web = QString::fromLatin1(kProductWebAddress);
    mailLink_ = Link(this, QStringLiteral("mailto:") + QString::fromLatin1(kProductMailAddress),
                     tr("Send me mail!"), 1047);
    // The link text is the site's bare host name.
    webLink_ = Link(this, web + QLatin1Char('/'), QUrl(web).host(), 1048);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(12);
    text->addWidget(mailLink_);
    text->addWidget(webLink_);
    text->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addSpacing(16);
    row->addLayout(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

}  // namespace vellumo::mainwnd
