#include "ui/FrmSplash.h"

#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/Version.h"
#include "ui/DialogParts.h"
#include "ui/ProductPicture.h"

FrmSplash::FrmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral(VIDLARK_TITLE));
    setModal(true);
    setCursor(Qt::WaitCursor);

    imgSplash = DialogParts::label(this, QStringLiteral("imgSplash"), QString());
    imgSplash->setPixmap(ProductPicture::draw(QSize(480, 270)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(imgSplash);

    tmrSplash = new QTimer(this);
    tmrSplash->setObjectName(QStringLiteral("tmrSplash"));
    tmrSplash->setInterval(2000);
    tmrSplash->setSingleShot(true);
    connect(tmrSplash, &QTimer::timeout, this, &QDialog::accept);
}

void FrmSplash::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        tmrSplash->start();
    QDialog::showEvent(event);
}
