#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/AppPaths.h"

// A throw-away application folder: swfs/ with empty skin files, config/ with the two
// configuration files, ruffle/ with two stand-ins for the emulator's files, temp/ and an output
// folder beside it.
class TestInstallation {
  public:
    explicit TestInstallation(const QStringList& skins = {"Skin-30-dark", "Skin-40-light"},
                              const QStringList& sizes = {"480x270", "640x360 Widescreen"},
                              const QStringList& advanced = {"5", " 0 ", "4", "250", "11",
                                                             "No Flash here", "No HTML5 video"});

    // For runs that go all the way: the advanced options, SWFObject and the injector of the
    // build's own application folder.
    void useBuiltSupportFiles();

    QString appFolder() const;     // no final separator
    AppPaths paths() const;        // everything in appFolder(), as a portable folder has it
    QString outputFolder() const;  // ends in the separator
    QString path(const QString& relative) const;

  private:
    QTemporaryDir m_dir;
};
