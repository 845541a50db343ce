#include "generate/GenerationDriver.h"

#include <exception>

#include "formats/ActionScriptWriter.h"
#include "formats/ConfigXmlWriter.h"
#include "formats/FlashEmbedScriptWriter.h"
#include "formats/Html5PlaylistScriptWriter.h"
#include "formats/Html5SingleScriptWriter.h"
#include "formats/StylesheetWriter.h"
#include "generate/CoreScriptWriter.h"
#include "generate/EmbedCodeBuilder.h"
#include "generate/GenerationContext.h"
#include "generate/OutputAssembly.h"
#include "generate/SnapshotReader.h"
#include "generate/TestPageWriter.h"
#include "generate/UploadInstructions.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/Views.h"

bool GenerationDriver::run(GenerationContext& ctx, qint16 playerWidth, qint16 playerHeight,
                           const Clock& clock, Dialogs& dialogs, Views& views) {
    views.setBusy(true);
    try {
        SnapshotReader::read(ctx.snapshot, {ctx.settings, ctx.advanced, ctx.playlist, playerWidth,
                                            playerHeight, ctx.skinName, clock});
        generate(ctx, views);
    } catch (const AppError& error) {
        views.setBusy(false);
        dialogs.reportError(error);
        return false;
    } catch (const std::exception& error) {
        views.setBusy(false);
        dialogs.reportError(
            AppError(AppError::InternalError, QString::fromLocal8Bit(error.what())));
        return false;
    }
    views.showCodeWindow(ctx.snapshot.EmbedCode, ctx.snapshot.UploadInstructions);
    views.setBusy(false);
    return true;
}

void GenerationDriver::generate(GenerationContext& ctx, Views& views) {
    writePlayerFiles(ctx);
    writeCoreScript(ctx);
    ctx.snapshot.EmbedCode = EmbedCodeBuilder::build(ctx);
    writeTestPages(ctx);
    OutputAssembly::assemble(ctx, views);
    ctx.snapshot.UploadInstructions = UploadInstructions::build(ctx);
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
