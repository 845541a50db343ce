#include "ui/FrmAbout.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/HelpTexts.h"
#include "platform/Version.h"
#include "ui/DialogParts.h"
#include "ui/ProductPicture.h"
#include "ui/UiPlatform.h"

using DialogParts::label;

FrmAbout::FrmAbout(QWidget* parent, std::function<void(const QString&)> open)
    : QDialog(parent), m_open(std::move(open)) {
    if (!m_open)
        m_open = [](const QString& page) { UiPlatform::openUrl(page); };
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral(VIDLARK_PRODUCT " Ver %1 build 2.0.4 revision 50")
                       .arg(VIDLARK_VERSION_MAJOR));
    setModal(true);

    imgAbout = label(this, QStringLiteral("imgAbout"), QString());
    imgAbout->setPixmap(ProductPicture::draw(QSize(400, 225)));
    lblUses =
        label(this, QStringLiteral("lblUses"), QStringLiteral("Uses FLVMDI, SWFOBJECT and JQUERY"));
    lblWebsite = label(this, QStringLiteral("lblWebsite"), QStringLiteral("Website:"));
    lblVidlark =
        link(QStringLiteral("lblVidlark"), HelpTexts::homePage(), QStringLiteral("Visit Website"));
    lblSupport = label(this, QStringLiteral("lblSupport"), QStringLiteral("Support:"));
    lblVidlarkSupport = link(QStringLiteral("lblVidlarkSupport"), HelpTexts::supportPage(),
                             QStringLiteral("Vidlark Support"));
    lblOther = label(this, QStringLiteral("lblOther"), QStringLiteral("Contact:"));
    lblVidlarkContact = link(QStringLiteral("lblVidlarkContact"), HelpTexts::contactPage(),
                             QStringLiteral("Contact Vidlark"));
    cmdClose = DialogParts::button(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                                   QStringLiteral("Close this window"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* links = new QFormLayout;
    links->addRow(lblWebsite, lblVidlark);
    links->addRow(lblSupport, lblVidlarkSupport);
    links->addRow(lblOther, lblVidlarkContact);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(imgAbout, 0, Qt::AlignHCenter);
    layout->addWidget(lblUses);
    layout->addLayout(links);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* FrmAbout::link(const QString& name, const QString& address, const QString& tip) {
    QLabel* l =
        label(this, name, QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()));
    l->setTextFormat(Qt::RichText);
    l->setToolTip(DialogParts::toolTip(tip));
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    l->setOpenExternalLinks(false);
    l->setCursor(Qt::PointingHandCursor);
    connect(l, &QLabel::linkActivated, this, [this](const QString& page) { m_open(page); });
    return l;
}
