// Renders a JPEG as an intro image of a 640 x 360 player (the 642 x 362 rendering, its preview,
// the bitmap and the quality-90 JPEG) several times and prints the best time in milliseconds.
//   bench_Render --make <picture.jpg>              draws a 4000 x 3000 photo-like test picture
//   bench_Render <picture.jpg> <app folder> [rounds]

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <cstdio>

#include "appearance/IntroOutroImages.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"

namespace {

// Messages go to standard error; nothing is ever chosen.
class BenchDialogs : public Dialogs {
  public:
    Answer message(const QString& text, Icon, Buttons, const QString&) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return Answer::Ok;
    }
    std::optional<QStringList> openFiles(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> browseFolder(const QString&) override { return std::nullopt; }
    std::optional<quint32> chooseColour(quint32) override { return std::nullopt; }
};

// Gradients, shapes and fine noise, so the JPEG holds as much detail as a camera picture.
int makePicture(const QString& path) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 4000, 3000);
    sky.setColorAt(0, QColor(30, 90, 200));
    sky.setColorAt(1, QColor(240, 180, 60));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(7);
    for (int i = 0; i < 400; ++i) {
        painter.setBrush(QColor::fromRgb(random.generate() | 0xFF000000u));
        painter.drawEllipse(random.bounded(4000), random.bounded(3000), random.bounded(400),
                            random.bounded(400));
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] ^= random.generate() & 0x070707u;
    }
    return image.save(path, "JPG", 90) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--make"))
        return makePicture(args[2]);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_Render <picture.jpg> <app folder> [rounds]\n");
        return 2;
    }
    const int rounds = args.size() > 3 ? args[3].toInt() : 5;
    QDir().mkpath(args[2] + QStringLiteral("/temp"));
    BenchDialogs dialogs;
    IntroOutroImages images(AppPaths::portable(args[2]), dialogs);
    ProjectSettings settings;
    qint64 bestNs = -1;
    for (int i = 0; i < rounds; ++i) {
        settings.IntroImagePath = args[1];
        settings.IntroImageName = QStringLiteral("intro.jpg");
        QElapsedTimer timer;
        timer.start();
        images.reload(IntroOutroImages::Kind::Intro, settings, QSize(642, 362));
        const qint64 ns = timer.nsecsElapsed();
        if (settings.IntroImageName.isEmpty())
            return 1;  // reported by the dialogs
        if (bestNs < 0 || ns < bestNs)
            bestNs = ns;
    }
    std::printf("render 4000x3000 into 642x362: %.1f ms\n", static_cast<double>(bestNs) / 1e6);
    return 0;
}
