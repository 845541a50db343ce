#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "models/CaptionTracksDialogModel.h"
#include "ui/FrmAbout.h"
#include "ui/FrmAdvancedOptions.h"
#include "ui/FrmCaptionTracks.h"
#include "ui/FrmCopyCode.h"
#include "ui/FrmFileWork.h"
#include "ui/FrmHelp.h"
#include "ui/FrmHtml5Copies.h"
#include "ui/FrmInjectorOutput.h"
#include "ui/FrmMain.h"
#include "ui/FrmSocial.h"
#include "ui/FrmSplash.h"
#include "ui/FrmVideoFilesMulti.h"
#include "ui/FrmVideoFilesSingle.h"
#include "ui/FrmVideoPlayerSizes.h"

// Every window of the desktop program, built over a throw-away installation as start-up leaves
// it, for the checks that all of them must pass. A new window gets its row in factories().
struct ProgramWindows : FakeProgram {
    using Factory = std::function<std::unique_ptr<QWidget>(ProgramWindows&)>;

    // What the playlist row's caption dialog shows: two tracks.
    CaptionTracksDialogModel captionTracks{
        QStringLiteral("clip.flv"),
        {{QStringLiteral("/subs/clip.en.vtt"), QStringLiteral("en"), QStringLiteral("English")},
         {QStringLiteral("/subs/clip.srt"), QString(), QString()}}};

    static const std::map<QString, Factory>& factories() {
        static const std::map<QString, Factory> all = {
            {"frmMain", [](auto& p) { return std::make_unique<FrmMain>(p.controller); }},
            {"frmVideoFilesSingle",
             [](auto& p) { return std::make_unique<FrmVideoFilesSingle>(p.controller); }},
            {"frmVideoFilesMulti",
             [](auto& p) { return std::make_unique<FrmVideoFilesMulti>(p.controller); }},
            {"frmCopyCode", [](auto& p) { return std::make_unique<FrmCopyCode>(p.controller); }},
            {"frmVideoPlayerSizes",
             [](auto& p) { return std::make_unique<FrmVideoPlayerSizes>(p.controller); }},
            {"frmAdvancedOptions",
             [](auto& p) { return std::make_unique<FrmAdvancedOptions>(p.controller); }},
            {"frmSocial", [](auto& p) { return std::make_unique<FrmSocial>(p.controller); }},
            {"frmAbout", [](auto&) { return std::make_unique<FrmAbout>(); }},
            {"frmHelp", [](auto&) { return std::make_unique<FrmHelp>(1); }},
            {"frmFileWork",
             [](auto& p) { return std::make_unique<FrmFileWork>(nullptr, &p.dialogs); }},
            {"frmHtml5Copies", [](auto&) { return std::make_unique<FrmHtml5Copies>(); }},
            {"frmInjectorOutput",
             [](auto&) { return std::make_unique<FrmInjectorOutput>(QStringLiteral("flvmdi\n")); }},
            {"frmSplash", [](auto&) { return std::make_unique<FrmSplash>(); }},
            {"frmCaptionTracks",
             [](auto& p) { return std::make_unique<FrmCaptionTracks>(p.captionTracks); }},
        };
        return all;
    }

    static QStringList names() {
        QStringList all;
        for (const auto& [name, factory] : factories())
            all.append(name);
        return all;
    }

    std::unique_ptr<QWidget> make(const QString& name) { return factories().at(name)(*this); }
};
