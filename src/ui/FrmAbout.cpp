#include "ui/FrmAbout.h"

#include "app/HelpTexts.h"
#include "platform/Version.h"
#include "ui/ProductPicture.h"
#include "ui/UiPlatform.h"

FrmAbout::FrmAbout(QWidget* parent, std::function<void(const QString&)> open)
    : QDialog(parent), m_open(std::move(open)) {
    if (!m_open)
        m_open = [](const QString& page) { UiPlatform::openUrl(page); };
    setupUi(this);
    setWindowTitle(QStringLiteral(VIDLARK_PRODUCT " Ver %1 build 2.0.4 revision 50")
                       .arg(VIDLARK_VERSION_MAJOR));
    imgAbout->setPixmap(ProductPicture::draw(QSize(400, 225)));
    showLink(lblVidlark, HelpTexts::homePage());
    showLink(lblVidlarkSupport, HelpTexts::supportPage());
    showLink(lblVidlarkContact, HelpTexts::contactPage());
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

// The program opens the pages itself, so that a failure to open one can be told to the user.
void FrmAbout::showLink(QLabel* link, const QString& address) {
    link->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()));
    connect(link, &QLabel::linkActivated, this, [this](const QString& page) { m_open(page); });
}
