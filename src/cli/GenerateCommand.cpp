#include "cli/GenerateCommand.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <functional>

#include "app/MainController.h"
#include "cli/CliDialogs.h"
#include "cli/CliHtml5Copies.h"
#include "cli/CliViews.h"
#include "media/Html5CopyBatch.h"
#include "media/Html5CopyTargets.h"
#include "models/PlaylistEditorModel.h"
#include "models/SingleVideoDialogModel.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/RandomSource.h"
#include "platform/ScratchFolder.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileListing.h"
#include "settings/ProfileListingError.h"
#include "settings/ProfileValueError.h"

namespace {

void printError(const QString& text) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

// --make-mp4: Completed when the copies are there, to be chosen by `use`; else how the run ends.
int makeMp4Copies(const VideoFilesDialogModel& dialog, const QList<Html5CopyJob>& jobs,
                  Dialogs& dialogs, const std::function<void(const QList<Html5CopyJob>&)>& use) {
    if (!dialog.html5Files()) {
        printError(QStringLiteral("vidlark-cli: --make-mp4 needs HTML5 support on in the profile"));
        return GenerateCommand::Failed;
    }
    Html5CopyBatch batch(jobs, Html5Format::Mp4);
    switch (CliHtml5Copies::make(batch, dialogs)) {
        case CliHtml5Copies::Outcome::Interrupted:
            return GenerateCommand::Interrupted;
        case CliHtml5Copies::Outcome::Failed:
            return GenerateCommand::Failed;
        case CliHtml5Copies::Outcome::Ready:
            break;
    }
    use(batch.ready());
    return GenerateCommand::Completed;
}

// Completed when the video is chosen; else how the run ends.
int chooseSingleVideo(MainController& controller, CliDialogs& dialogs,
                      const GenerateCommand::Options& o) {
    SingleVideoDialogModel& single = controller.singleVideo();
    single.show();
    const struct {
        const QString& path;
        void (SingleVideoDialogModel::*choose)();
    } choices[] = {{o.flash, &SingleVideoDialogModel::chooseFlashFile},
                   {o.mp4, &SingleVideoDialogModel::chooseMp4File},
                   {o.webm, &SingleVideoDialogModel::chooseWebmFile}};
    for (const auto& choice : choices) {
        if (choice.path.isEmpty())
            continue;
        if (!QFileInfo(choice.path).isFile()) {
            printError(QStringLiteral("vidlark-cli: no such video file: ") + choice.path);
            return GenerateCommand::Failed;
        }
        dialogs.chosenFiles.enqueue(QFileInfo(choice.path).absoluteFilePath());
        (single.*choice.choose)();
    }
    for (const QString& argument : o.captions) {
        CaptionTrack track = GenerateCommand::captionTrack(argument);
        // Checks of the request, as a missing video of the run is; by its type, so a pipe or a
        // device is never opened.
        const QFileInfo file(track.path);
        if (!file.exists() || !file.isFile()) {
            printError((file.exists() ? QStringLiteral("vidlark-cli: the caption file is not a "
                                                       "regular file (a folder, a pipe or a "
                                                       "device): ")
                                      : QStringLiteral("vidlark-cli: no such caption file: ")) +
                       track.path);
            return GenerateCommand::Stopped;
        }
        track.path = QFileInfo(track.path).absoluteFilePath();
        single.addCaption(track);
    }
    if (o.makeMp4) {
        const int made = makeMp4Copies(
            single, Html5CopyTargets::forSingleVideo(single.video(), Html5Format::Mp4), dialogs,
            [&single](const QList<Html5CopyJob>& ready) {
                for (const Html5CopyJob& job : ready)
                    single.useMp4File(job.target);
            });
        if (made != GenerateCommand::Completed)
            return made;
    }
    single.save();
    return GenerateCommand::Completed;
}

// Opens the playlist editor, loads the file as "&Load Playlist from File" does and presses
// "Save and E&xit". Completed when the playlist is chosen; else how the run ends.
int choosePlaylist(MainController& controller, CliDialogs& dialogs,
                   const GenerateCommand::Options& o) {
    if (!QFileInfo(o.playlist).isFile()) {
        printError(QStringLiteral("vidlark-cli: no such playlist file: ") + o.playlist);
        return GenerateCommand::Failed;
    }
    PlaylistEditorModel& editor = controller.playlistEditor();
    editor.show();
    dialogs.chosenFiles.enqueue(QFileInfo(o.playlist).absoluteFilePath());
    if (!editor.loadPlaylist())
        return GenerateCommand::Failed;
    if (o.makeMp4) {
        const int made = makeMp4Copies(
            editor, Html5CopyTargets::missingInPlaylist(editor.playlist(), Html5Format::Mp4),
            dialogs, [&editor](const QList<Html5CopyJob>& ready) {
                editor.useCopies(ready, Html5Format::Mp4);
            });
        if (made != GenerateCommand::Completed)
            return made;
    }
    editor.save();
    return GenerateCommand::Completed;
}

// The desktop program clears an intro or outro picture it cannot read when it loads a profile,
// and says so; a script would get a page without it and status 0. Stopped when the profile or
// --set named a picture that is no longer chosen.
int checkPictures(const MainController& controller, const GenerateCommand::Options& o) {
    const QStringList values = ProfileFile::readValues(o.profile);
    const QMap<int, QString> overrides = ProfileListing::parse(o.sets);
    for (const char* key : {"IntroImagePath", "OutroImagePath"}) {
        const ProfileSetting* setting = ProfileLayout::byKey(QLatin1String(key));
        const QString named = overrides.value(setting->line, values.value(setting->line - 1));
        if (named.isEmpty() || ProfileLayout::textOf(*setting, controller.settings()) == named)
            continue;
        printError(QStringLiteral("vidlark-cli: the picture of %1 cannot be used: %2")
                       .arg(QLatin1String(key), named));
        return GenerateCommand::Stopped;
    }
    return GenerateCommand::Completed;
}

}  // namespace

QString GenerateCommand::usage() {
    // The three lines scripts know; --set and the profile command are described in the README.
    return QStringLiteral(
        "usage: vidlark-cli generate --profile FILE.epe [--app-folder DIR] [--output DIR]\n"
        "                            [--flash FILE [--mp4 FILE] [--webm FILE] | --playlist "
        "FILE.plf] [--make-mp4] [--serve]\n"
        "       vidlark-cli serve [--app-folder DIR]");
}

QString GenerateCommand::parse(const QStringList& args, Options& o) {
    const std::pair<const char*, QString*> names[] = {
        {"--profile", &o.profile},  {"--app-folder", &o.appFolder},
        {"--output", &o.output},    {"--flash", &o.flash},
        {"--mp4", &o.mp4},          {"--webm", &o.webm},
        {"--playlist", &o.playlist}};
    for (int i = 0; i < args.size(); i += 2) {
        const std::pair<const char*, bool*> switches[] = {{"--serve", &o.serve},
                                                          {"--make-mp4", &o.makeMp4}};
        bool* flag = nullptr;
        for (const auto& [name, field] : switches) {
            if (args[i] == QLatin1String(name))
                flag = field;
        }
        if (flag) {
            *flag = true;
            --i;  // a switch without a value
            continue;
        }
        QString* target = nullptr;
        for (const auto& [name, field] : names) {
            if (args[i] == QLatin1String(name))
                target = field;
        }
        const bool set = args[i] == QLatin1String("--set");
        const bool caption = args[i] == QLatin1String("--captions");
        if (!target && !set && !caption)
            return QStringLiteral("unknown argument: ") + args[i];
        if (i + 1 >= args.size())
            return QStringLiteral("missing value after ") + args[i];
        if (set)
            o.sets.append(args[i + 1]);
        else if (caption)
            o.captions.append(args[i + 1]);
        else
            *target = args[i + 1];
    }
    if (o.profile.isEmpty())
        return QStringLiteral("--profile is required");
    try {
        ProfileListing::parse(o.sets);
    } catch (const ProfileListingError& error) {
        return error.message();
    }
    if (!o.playlist.isEmpty() && !(o.flash.isEmpty() && o.mp4.isEmpty() && o.webm.isEmpty()))
        return QStringLiteral("--playlist cannot be combined with --flash, --mp4 or --webm");
    if (o.flash.isEmpty() && !(o.mp4.isEmpty() && o.webm.isEmpty()))
        return QStringLiteral("--mp4 and --webm need --flash");
    if (o.makeMp4 && o.flash.isEmpty() && o.playlist.isEmpty())
        return QStringLiteral("--make-mp4 needs --flash or --playlist");
    if (o.makeMp4 && !o.mp4.isEmpty())
        return QStringLiteral("--make-mp4 cannot be combined with --mp4");
    if (!o.captions.isEmpty() && o.flash.isEmpty())
        return QStringLiteral("--captions needs --flash (a playlist's rows carry their own)");
    return {};
}

CaptionTrack GenerateCommand::captionTrack(const QString& argument) {
    const bool drive = argument.size() > 2 && argument[0].isLetter() && argument[1] == u':' &&
                       (argument[2] == u'\\' || argument[2] == u'/');
    const qsizetype end = argument.indexOf(u':', drive ? 2 : 0);
    if (end < 0)
        return {argument, {}, {}};
    const QString rest = argument.mid(end + 1);
    const qsizetype labelAt = rest.indexOf(u':');
    if (labelAt < 0)
        return {argument.left(end), rest, {}};
    return {argument.left(end), rest.left(labelAt), rest.mid(labelAt + 1)};
}

int GenerateCommand::run(const Options& o) {
    CliDialogs dialogs;
    CliViews views(dialogs);
    SystemClock clock;
    SystemRandom random;
    MainController controller(AppPaths::chosen(o.appFolder), dialogs, views, clock, random);
    views.cancelSingleVideoDialog = [&controller] { controller.singleVideo().cancel(); };
    views.cancelPlaylistEditor = [&controller] { controller.playlistEditor().cancel(); };
    try {
        if (!controller.loadInstallation())
            return Failed;
        // Made only once the installation has been read, so a mistyped --app-folder makes nothing.
        // The desktop start-up makes this scratch folder, which every run writes its test copy to.
        FileOps::makeFolder(ScratchFolder::file(controller.paths(), QStringLiteral("thumbs")));
        controller.readProfile(o.profile, ProfileListing::parse(o.sets));
        if (const int status = checkPictures(controller, o); status != Completed)
            return status;
    } catch (const ProfileListingError& error) {
        printError(QStringLiteral("vidlark-cli: ") + error.message());
        return Failed;
    } catch (const ProfileValueError& error) {
        dialogs.error(error.message());
        return Failed;
    } catch (const AppError& error) {
        dialogs.reportError(error);
        return Failed;
    }
    if (!o.playlist.isEmpty() && controller.settings().Multiple) {
        if (const int status = choosePlaylist(controller, dialogs, o); status != Completed)
            return status;
    }
    if (!o.flash.isEmpty() && !controller.settings().Multiple) {
        if (const int status = chooseSingleVideo(controller, dialogs, o); status != Completed)
            return status;
    }
    if (!o.output.isEmpty())
        controller.window().change(&ProjectSettings::OutDir,
                                   FileOps::withTrailingSeparator(QDir::toNativeSeparators(
                                       QFileInfo(o.output).absoluteFilePath())));
    switch (controller.generate()) {
        case MainController::GenerateOutcome::Stopped:
            return Stopped;
        case MainController::GenerateOutcome::Failed:
        case MainController::GenerateOutcome::Cancelled:  // nothing here cancels
            return Failed;
        case MainController::GenerateOutcome::Completed:
            break;
    }
    const GenerationSnapshot& snapshot = controller.snapshot();
    std::printf("%s\n--\n%s\n", qUtf8Printable(snapshot.EmbedCode),
                qUtf8Printable(snapshot.UploadInstructions));
    if (views.failedInjections.isEmpty())
        return Completed;
    // Written last, so a script sees it at the end of standard error.
    std::fflush(stdout);
    printError(QStringLiteral("vidlark-cli: metadata injection failed for %1 of the videos: %2")
                   .arg(views.failedInjections.size())
                   .arg(views.failedInjections.join(QStringLiteral(", "))));
    return InjectionsFailed;
}
