#include "generate/GenerationDriver.h"

#include <exception>
#include <functional>
#include <optional>

#include "formats/ActionScriptWriter.h"
#include "formats/ConfigXmlWriter.h"
#include "formats/FlashEmbedScriptWriter.h"
#include "formats/GenerationContext.h"
#include "formats/Html5PlaylistScriptWriter.h"
#include "formats/Html5SingleScriptWriter.h"
#include "formats/StylesheetWriter.h"
#include "generate/CoreScriptWriter.h"
#include "generate/EmbedCodeBuilder.h"
#include "generate/FileWorkRunner.h"
#include "generate/OutputAssembly.h"
#include "generate/SnapshotReader.h"
#include "generate/TestPageWriter.h"
#include "generate/UploadInstructions.h"
#include "media/CaptionFileError.h"
#include "models/Views.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/FileWorkPlan.h"

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

GenerationDriver::Outcome GenerationDriver::run(GenerationContext& ctx, qint16 playerWidth,
                                                qint16 playerHeight, const Clock& clock,
                                                Dialogs& dialogs, Views& views) {
    views.setBusy(true);
    FileWorkPlan plan;
    int stoppedAt = FileWorkRunner::Completed;
    Outcome outcome = Outcome::Failed;
    std::optional<Failure> failure = attempt([&] {
        SnapshotReader::read(ctx.snapshot, {ctx.settings, ctx.advanced, ctx.playlist, playerWidth,
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
        failure = attempt([&] { stoppedAt = generate(ctx, plan, views); });
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

int GenerationDriver::generate(GenerationContext& ctx, const FileWorkPlan& plan, Views& views) {
    writePlayerFiles(ctx);
    writeCoreScript(ctx);
    ctx.snapshot.EmbedCode = EmbedCodeBuilder::build(ctx);
    writeTestPages(ctx);
    const int stoppedAt = OutputAssembly::assemble(ctx, plan, views);
    if (stoppedAt == FileWorkRunner::Completed)
        ctx.snapshot.UploadInstructions = UploadInstructions::build(ctx);
    return stoppedAt;
}

void GenerationDriver::writePlayerFiles(GenerationContext& ctx) {
    ConfigXmlWriter::writeConfigXml(ctx);
    ConfigXmlWriter::writeTestConfigXml(ctx);
    if (!ctx.snapshot.UseHtml5)
        return;
    if (!ctx.isPlaylist()) {
        Html5SingleScriptWriter::writeHtml5SingleScript(ctx);
        return;
    }
    Html5PlaylistScriptWriter::writeHtml5PlaylistScript(ctx);
    StylesheetWriter::writePlayerStylesheet(ctx);
}

void GenerationDriver::writeCoreScript(GenerationContext& ctx) {
    CoreScriptHooks hooks;
    hooks.flashEmbedScript = [&ctx] { FlashEmbedScriptWriter::writeFlashEmbedScript(ctx); };
    hooks.actionScript = [&ctx] { ActionScriptWriter::writeShowActionScript(ctx); };
    hooks.redirectScript = [&ctx] { ActionScriptWriter::writeRedirectActionScript(ctx); };
    CoreScriptWriter::write(ctx, hooks);
}

void GenerationDriver::writeTestPages(GenerationContext& ctx) {
    TestPageWriter::writeOnlineTestPage(ctx);
    TestPageWriter::writeLocalTestPage(ctx);
}
