#include "generate/GenerationDriver.h"

#include <exception>
#include <functional>
#include <optional>

#include "formats/ActionScriptWriter.h"
#include "formats/ConfigXmlWriter.h"
#include "formats/FlashEmbedScriptWriter.h"
#include "formats/Html5PlaylistScriptWriter.h"
#include "formats/Html5SingleScriptWriter.h"
#include "formats/StylesheetWriter.h"
#include "generate/CoreScriptWriter.h"
#include "generate/EmbedCodeBuilder.h"
#include "generate/FileWorkRunner.h"
#include "generate/GenerationContext.h"
#include "generate/InputGuard.h"
#include "generate/OutputAssembly.h"
#include "generate/RunDecisions.h"
#include "generate/ScratchCopies.h"
#include "generate/SnapshotReader.h"
#include "generate/TestPageWriter.h"
#include "generate/UploadInstructions.h"
#include "generate/WriterInputs.h"
#include "media/CaptionFileError.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/FileWorkPlan.h"
#include "platform/OutputFile.h"
#include "platform/Views.h"

namespace {

// What ended a stage: an error shown with the common message, or a caption file refused with a
// message of its own (it names the file and the line to mend).
struct Failure {
    std::optional<AppError> error;
    QString refusal;
};

// Runs one stage of the run; its failure is handed back instead of raised, so the stage decides
// what it means for the run.
std::optional<Failure> attempt(const std::function<void()>& stage) {
    try {
        stage();
    } catch (const CaptionFileError& refused) {
        return Failure{std::nullopt, refused.message()};
    } catch (const InputGuard::Refusal& refused) {
        return Failure{std::nullopt, refused.message()};
    } catch (const AppError& error) {
        return Failure{error, {}};
    } catch (const std::exception& error) {
        return Failure{AppError(AppError::InternalError, QString::fromLocal8Bit(error.what())), {}};
    }
    return std::nullopt;
}

void report(const Failure& failure, Dialogs& dialogs) {
    if (failure.error)
        dialogs.reportError(*failure.error);
    else
        dialogs.error(failure.refusal);
}

}  // namespace

GenerationDriver::Outcome GenerationDriver::run(const GenerationContext& ctx, const RunState& state,
                                                qint16 playerWidth, qint16 playerHeight,
                                                const Clock& clock, Dialogs& dialogs,
                                                Views& views) {
    Q_ASSERT(&ctx.snapshot == &state.snapshot);
    views.setBusy(true);
    FileWorkPlan plan;
    QList<OutputFile> files;
    int stoppedAt = FileWorkRunner::Completed;
    Outcome outcome = Outcome::Failed;
    std::optional<Failure> failure = attempt([&] {
        SnapshotReader::read(state.snapshot, {ctx.settings, ctx.advanced, ctx.playlist, playerWidth,
                                              playerHeight, ctx.skinName, clock});
    });
    if (!failure) {
        outcome = Outcome::SourceMissing;
        failure = attempt([&] {
            plan = OutputAssembly::plan(ctx);
            plan.checkSources();
            OutputAssembly::checkCaptions(plan);
        });
    }
    if (!failure) {
        outcome = Outcome::Failed;
        failure = attempt([&] { files = prepare(ctx, state); });
    }
    if (!failure) {
        outcome = Outcome::SourceMissing;
        failure = attempt([&] { InputGuard::check(ctx, plan, files); });
    }
    if (!failure) {
        outcome = Outcome::Failed;
        failure = attempt([&] { stoppedAt = generate(ctx, state, plan, files, views); });
    }
    if (failure) {
        views.setBusy(false);
        report(*failure, dialogs);
        return outcome;
    }
    if (stoppedAt != FileWorkRunner::Completed) {
        views.setBusy(false);
        dialogs.inform(FileWorkRunner::cancelMessage(plan, stoppedAt), QStringLiteral("Cancelled"));
        return Outcome::Cancelled;
    }
    views.showCodeWindow(ctx.snapshot.EmbedCode, ctx.snapshot.UploadInstructions);
    views.setBusy(false);
    return Outcome::Completed;
}

QList<OutputFile> GenerationDriver::prepare(const GenerationContext& ctx, const RunState& state) {
    RunDecisions::decide(state.snapshot, ctx.isPlaylist(), state.random);
    state.snapshot.EmbedCode = EmbedCodeBuilder::build(ctx);
    return outputFiles(ctx);
}

int GenerationDriver::generate(const GenerationContext& ctx, const RunState& state,
                               const FileWorkPlan& plan, const QList<OutputFile>& files,
                               Views& views) {
    ScratchCopies::removeEarlier(ctx);
    OutputFile::writeAll(files);
    const int stoppedAt = OutputAssembly::assemble(ctx, plan, views);
    if (stoppedAt == FileWorkRunner::Completed)
        state.snapshot.UploadInstructions = UploadInstructions::build(ctx);
    return stoppedAt;
}

QList<OutputFile> GenerationDriver::outputFiles(const GenerationContext& ctx) {
    const TestPageWriter::Input pages = WriterInputs::testPages(ctx);
    return playerFiles(ctx) + coreScriptFiles(ctx) +
           QList<OutputFile>{TestPageWriter::onlineTestPageFile(pages),
                             TestPageWriter::localTestPageFile(pages)};
}

QList<OutputFile> GenerationDriver::playerFiles(const GenerationContext& ctx) {
    const ConfigXmlWriter::Input config = WriterInputs::configXml(ctx);
    QList<OutputFile> files{ConfigXmlWriter::configXml(config),
                            ConfigXmlWriter::testConfigXml(config)};
    if (!ctx.snapshot.UseHtml5)
        return files;
    if (!ctx.isPlaylist())
        return files << Html5SingleScriptWriter::html5SingleScript(WriterInputs::html5Script(ctx));
    return files << Html5PlaylistScriptWriter::html5PlaylistScript(WriterInputs::html5Script(ctx))
                 << StylesheetWriter::playerStylesheet(WriterInputs::stylesheet(ctx));
}

// The core script with the scripts it loads, in the order its lines name them; code.txt follows.
QList<OutputFile> GenerationDriver::coreScriptFiles(const GenerationContext& ctx) {
    const CoreScriptWriter::Input core = WriterInputs::coreScript(ctx);
    QList<OutputFile> files{
        CoreScriptWriter::coreScript(core),
        FlashEmbedScriptWriter::flashEmbedScript(WriterInputs::flashEmbedScript(ctx))};
    if (const std::optional<OutputFile> action =
            ActionScriptWriter::actionScript(WriterInputs::actionScript(ctx)))
        files << *action;
    if (ctx.settings.ShowEmbedCode)
        files << CoreScriptWriter::codeTxt(core);
    return files;
}
