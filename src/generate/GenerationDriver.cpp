#include "generate/GenerationDriver.h"

#include <exception>

#include "formats/ConfigXmlWriter.h"
#include "formats/FlashEmbedScriptWriter.h"
#include "generate/CoreScriptWriter.h"
#include "generate/EmbedCodeBuilder.h"
#include "generate/GenerationContext.h"
#include "generate/SnapshotReader.h"
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
        writeFiles(ctx);
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

void GenerationDriver::writeFiles(GenerationContext& ctx) {
    ConfigXmlWriter::writeConfigXml(ctx);
    ConfigXmlWriter::writeTestConfigXml(ctx);
    CoreScriptHooks hooks;
    hooks.flashEmbedScript = [&ctx] { FlashEmbedScriptWriter::writeFlashEmbedScript(ctx); };
    CoreScriptWriter::write(ctx, hooks);
    ctx.snapshot.EmbedCode = EmbedCodeBuilder::build(ctx);
    ctx.snapshot.UploadInstructions = UploadInstructions::build(ctx);
}
