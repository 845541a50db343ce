#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTextStream>
#include <QThread>

#include "ScriptedDialogs.h"
#include "app/MainController.h"
#include "models/CaptionTracksDialogModel.h"
#include "models/MainWindowModel.h"
#include "models/PlaylistEditorModel.h"
#include "models/SingleVideoDialogModel.h"
#include "platform/Clock.h"
#include "platform/FileWorkPlan.h"
#include "platform/RandomSource.h"
#include "ui/FrmCaptionTracks.h"
#include "ui/FrmFileWork.h"
#include "ui/FrmMain.h"
#include "ui/FrmVideoFilesMulti.h"
#include "ui/FrmVideoFilesSingle.h"
#include "ui/QtViews.h"

namespace {

constexpr qint64 kBigVideo = 1'200'000'000;

// The screen the windows are drawn on, each window with a plain title bar (the offscreen platform
// draws no frames) and where a window manager would place it: the main window at the top left,
// a dialog centred over it.
class Screen {
  public:
    explicit Screen(QScreen* screen) : m_image(screen->size(), QImage::Format_RGB32) {
        m_image.fill(QColor(0x3a, 0x40, 0x4a));
    }
    void place(QWidget& window, bool centred) {
        constexpr int kTitleBar = 26;
        const QPixmap picture = window.grab();
        const QSize room = m_image.size() - picture.size() - QSize(0, kTitleBar);
        const QPoint at = centred ? QPoint(room.width() / 2, room.height() / 2) : QPoint(0, 0);
        const QRect bar(at, QSize(picture.width(), kTitleBar));
        QPainter painter(&m_image);
        painter.fillRect(bar, QColor(0x20, 0x24, 0x2c));
        painter.setPen(Qt::white);
        painter.drawText(bar.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         window.windowTitle());
        painter.drawPixmap(at + QPoint(0, kTitleBar), picture);
    }
    bool save(const QString& path) const { return m_image.save(path); }

  private:
    QImage m_image;
};

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

// The windows only show the names they are given: the pictures need no real videos, and fixed
// names keep them the same from run to run.
QStringList sampleVideos() {
    QStringList paths;
    for (const char* name : {"welcome.flv", "product-tour.flv", "customer-stories.flv"})
        paths.append(QStringLiteral("/home/ann/videos/") + QLatin1String(name));
    return paths;
}

void fillPlaylist(PlaylistEditorModel& editor, ScriptedDialogs& dialogs,
                  const QStringList& videos) {
    editor.selectLayout(PlaylistLayout::TitleDesc);
    dialogs.files = videos;
    editor.addFlashFiles();
    const QStringList titles = {"Welcome", "A tour of the product", "Customer stories"};
    const QStringList descriptions = {"Who we are, in one minute", "Every feature, step by step",
                                      "Three shops tell how they use it"};
    for (int row = 1; row <= titles.size(); ++row) {
        editor.setCellText(row, PlaylistEditorModel::TitleColumn, titles.at(row - 1));
        editor.setCellText(row, PlaylistEditorModel::DescColumn, descriptions.at(row - 1));
    }
    editor.setCurrentCell(1, PlaylistEditorModel::TitleColumn);
}

// A page for phones: HTML5 with inline play, and a player that fits a narrow page.
void chooseOptions(MainWindowModel& window) {
    window.setHtml5(true);
    window.change(&ProjectSettings::PlaysInline, true);
    window.change(&ProjectSettings::FluidSize, true);
}

// The single video with its HTML5 copy and two caption tracks, the second with its own label.
void fillSingleVideo(SingleVideoDialogModel& video, ScriptedDialogs& dialogs) {
    const QString folder = QStringLiteral("/home/ann/videos/");
    video.show();
    dialogs.files = {folder + QStringLiteral("welcome.flv")};
    video.chooseFlashFile();
    dialogs.files = {folder + QStringLiteral("welcome.mp4")};
    video.chooseMp4File();
    video.addCaption({folder + QStringLiteral("welcome.en.vtt"), QStringLiteral("en"),
                      QStringLiteral("English")});
    video.addCaption({folder + QStringLiteral("welcome.de.srt"), QStringLiteral("de"),
                      QStringLiteral("Deutsch (SDH)")});
}

FileWorkPlan copyPlan(const QString& video, const QString& outputFolder) {
    FileWorkPlan plan;
    FileWorkStep copy;
    copy.name = QStringLiteral("product-tour.flv");
    copy.source = video;
    copy.target = outputFolder + copy.name;
    copy.bytes = kBigVideo;
    FileWorkStep inject = copy;
    inject.kind = FileWorkStep::Kind::Inject;
    inject.source = inject.target;
    FileWorkStep mirror = copy;
    mirror.kind = FileWorkStep::Kind::Mirror;
    mirror.source = copy.target;
    plan.steps = {copy, inject, mirror};
    return plan;
}

bool write(Screen& screen, const QString& path) {
    if (screen.save(path))
        return true;
    QTextStream(stderr) << "cannot write " << path << '\n';
    return false;
}

}  // namespace

// vidlark-window-pictures APP_FOLDER PROFILE PICTURE_FOLDER: draws the main window with the
// profile applied and the phone options on, the single-video window with caption tracks, the
// playlist editor with three videos and a row's caption dialog over it, and the file-work window
// part way through a large copy, each on the screen the platform gives (the script asks for
// 1280x720).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: vidlark-window-pictures APP_FOLDER PROFILE PICTURE_FOLDER\n";
        return 2;
    }
    const QStringList videos = sampleVideos();
    ScriptedDialogs dialogs;
    QtViews views;
    SystemClock clock;
    SystemRandom random;
    MainController controller(AppPaths::portable(args.at(1)), dialogs, views, clock, random);
    if (!controller.loadInstallation())
        return 1;
    controller.readProfile(args.at(2));
    chooseOptions(controller.window());
    FrmMain frmMain(controller);
    views.attach(controller, frmMain);
    frmMain.show();
    frmMain.refresh();
    settle();
    const QDir out(args.at(3));
    Screen mainScreen(app.primaryScreen());
    mainScreen.place(frmMain, false);
    bool ok = write(mainScreen, out.filePath(QStringLiteral("main-window.png")));

    fillSingleVideo(controller.singleVideo(), dialogs);
    FrmVideoFilesSingle single(controller, &frmMain);
    single.show();
    settle();
    Screen singleScreen = mainScreen;
    singleScreen.place(single, true);
    ok = write(singleScreen, out.filePath(QStringLiteral("single-video.png"))) && ok;
    single.hide();

    fillPlaylist(controller.playlistEditor(), dialogs, videos);
    FrmVideoFilesMulti playlist(controller, &frmMain);
    playlist.show();
    settle();
    Screen playlistScreen = mainScreen;
    playlistScreen.place(playlist, true);
    ok = write(playlistScreen, out.filePath(QStringLiteral("playlist-editor.png"))) && ok;

    // The row menu's caption dialog, as it opens over the playlist for the second video.
    CaptionTracksDialogModel tracks(QStringLiteral("product-tour.flv"),
                                    {{QStringLiteral("/home/ann/videos/product-tour.en.vtt"),
                                      QStringLiteral("en"), QStringLiteral("English")},
                                     {QStringLiteral("/home/ann/videos/product-tour.pt-BR.srt"),
                                      QStringLiteral("pt-BR"), QStringLiteral("Portugu\u00eas")}});
    FrmCaptionTracks captions(tracks, &playlist);
    captions.show();
    settle();
    playlistScreen.place(captions, true);
    ok = write(playlistScreen, out.filePath(QStringLiteral("playlist-captions.png"))) && ok;
    captions.hide();
    playlist.hide();

    FrmFileWork fileWork(&frmMain, &dialogs);
    fileWork.begin(copyPlan(videos.at(1), QStringLiteral("/home/ann/site/")));
    QThread::msleep(1500);  // so the window has a pace to estimate the time left from
    fileWork.progress(0, kBigVideo * 2 / 5, kBigVideo);
    settle();
    Screen workScreen = mainScreen;
    workScreen.place(fileWork, true);
    ok = write(workScreen, out.filePath(QStringLiteral("file-work.png"))) && ok;
    return ok ? 0 : 1;
}
