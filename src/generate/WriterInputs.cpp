#include "generate/WriterInputs.h"

#include "formats/CaptionsAttribute.h"
#include "generate/GenerationContext.h"
#include "platform/ScratchFolder.h"

namespace {

ConfigXmlWriter::Options playerOptions(const ProjectSettings& p, const AdvancedOptions& advanced) {
    return {.videoBuffer = advanced.VideoBuffer,
            .autoPlay = p.AutoPlay,
            .autoProgress = p.AutoProgress,
            .introImageName = p.IntroImageName,
            .outroImageName = p.OutroImageName,
            .showBigPlayButton = p.ShowBigPlayButton,
            .audioLevel = p.AudioLevel,
            .playerColor = p.PlayerColor,
            .hideControlsFloatingBar = advanced.HideControlsFloatingBar,
            .isLive = p.IsLive,
            .showEmbedCode = p.ShowEmbedCode,
            .affiliateLink = p.AffiliateLink,
            .redirectUrl = p.RedirectURL,
            .actionCode = p.ActionCode};
}

ConfigXmlWriter::SingleFiles singleFiles(const SingleVideo& v) {
    return {.flv = v.FlvVideoFileName,
            .flvRtmp = v.FlvVideoFileNameRTMP,
            .mp4 = v.Mp4VideoFileName,
            .webm = v.WebmVideoFileName,
            .captions = v.Captions};
}

}  // namespace

ActionScriptWriter::Input WriterInputs::actionScript(const GenerationContext& ctx) {
    return {.outputFolder = ctx.outputFolder,
            .tag = ctx.snapshot.GenerationTag,
            .hasActionCode = ctx.snapshot.HasActionCode,
            .redirectUrl = ctx.settings.RedirectURL};
}

StylesheetWriter::Input WriterInputs::stylesheet(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    return {.outputFolder = ctx.outputFolder,
            .position = ctx.playlist.position,
            .fluidSize = ctx.settings.FluidSize,
            .playerWidth = s.PlayerWidth,
            .playerHeight = s.PlayerHeight,
            .playlistHeight = s.PlaylistHeight,
            .widthPlaylist = s.WidthPlaylist,
            .fontSize = s.PlayListFontSize};
}

FlashEmbedScriptWriter::Input WriterInputs::flashEmbedScript(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    return {.outputFolder = ctx.outputFolder,
            .tag = s.GenerationTag,
            .skinUrl = s.SkinUrl,
            .serverPath = s.ServerPath,
            .backgroundColor = s.BackgroundColor,
            .fluidSize = ctx.settings.FluidSize,
            .box = playerBox(ctx)};
}

PlayerBox::Parts WriterInputs::playerBox(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    return {.playerWidth = s.PlayerWidth,
            .playerHeight = s.PlayerHeight,
            .skinAllowance = s.SkinAllowance,
            .playlist = ctx.isPlaylist(),
            .position = ctx.playlist.position,
            .widthPlaylist = s.WidthPlaylist,
            .playlistHeight = s.PlaylistHeight};
}

Html5ScriptInput WriterInputs::html5Script(const GenerationContext& ctx) {
    const ProjectSettings& p = ctx.settings;
    return {.outputFolder = ctx.outputFolder,
            .tag = ctx.snapshot.GenerationTag,
            .serverPath = ctx.snapshot.ServerPath,
            .errorHtml5 = ctx.snapshot.ErrorHtml5,
            .playsInline = p.PlaysInline,
            .autoPlay = p.AutoPlay,
            .mutedAutoPlay = p.MutedAutoPlay,
            .fluidSize = p.FluidSize,
            .captions = CaptionsAttribute::anyTracks(ctx.isPlaylist(), ctx.single, ctx.playlist)};
}

ConfigXmlWriter::Input WriterInputs::configXml(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    return {.outputFolder = ctx.outputFolder,
            .scratchFolder = ScratchFolder::path(ctx.paths),
            .tag = s.GenerationTag,
            .videoModeCode = s.VideoModeCode,
            .skinName = ctx.skinName,
            .isRtmp = s.IsRtmp,
            .isPseudo = s.IsPseudo,
            .useHtml5 = s.UseHtml5,
            .serverPath = s.ServerPath,
            .videoPath = s.VideoPath,
            .options = playerOptions(ctx.settings, ctx.advanced),
            .box = playerBox(ctx),
            .layout = ctx.playlist.layout,
            .fontSize = s.PlayListFontSize,
            .single = singleFiles(ctx.single),
            .rows = ctx.playlist.rows};
}

CoreScriptWriter::Input WriterInputs::coreScript(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const ProjectSettings& p = ctx.settings;
    return {.outputFolder = ctx.outputFolder,
            .tag = s.GenerationTag,
            .serverPath = s.ServerPath,
            .useHtml5 = s.UseHtml5,
            .playlist = ctx.isPlaylist(),
            .position = ctx.playlist.position,
            .playerWidth = s.PlayerWidth,
            .widthPlaylist = s.WidthPlaylist,
            .fluidSize = p.FluidSize,
            .errorFlash = s.ErrorFlash,
            .hasActionCode = s.HasActionCode,
            .actionCode = p.ActionCode,
            .redirectUrl = p.RedirectURL,
            .socialShare = p.SocialShare,
            .shareUrl = p.ShareURL,
            .shareTitle = p.ShareTitle};
}

TestPageWriter::Input WriterInputs::testPages(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    return {.outputFolder = ctx.outputFolder,
            .paths = ctx.paths,
            .tag = s.GenerationTag,
            .embedCode = s.EmbedCode,
            .skinFile = s.SkinFile,
            .backgroundColor = s.BackgroundColor,
            .fluidSize = ctx.settings.FluidSize,
            .box = playerBox(ctx)};
}
