#include "ui/FrmSplash.h"

#include <QShowEvent>
#include <QTimer>

#include "platform/Version.h"
#include "ui/ProductPicture.h"

FrmSplash::FrmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setupUi(this);
    setWindowTitle(QStringLiteral(VIDLARK_TITLE));
    imgSplash->setPixmap(ProductPicture::draw(QSize(480, 270)));

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
