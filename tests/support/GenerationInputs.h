#pragma once

#include <QString>

#include "FakeClockRandom.h"
#include "OutputFolder.h"
#include "generate/GenerationContext.h"

// Everything a generation step reads, held together with a scripted random source.
struct GenerationInputs {
    GenerationSnapshot snapshot;
    ProjectSettings settings;
    AdvancedOptions advanced;
    SingleVideo single;
    Playlist playlist;
    FakeRandom random;

    GenerationContext context(const QString& skinName, const QString& outputFolder,
                              const AppPaths& paths = AppPaths()) {
        return {snapshot, settings, advanced, single, playlist, skinName, outputFolder, paths};
    }
};

// A writer's inputs and a fresh output folder to write into.
struct WriterRun : GenerationInputs, OutputFolder {
    QString skinName = QStringLiteral("Skin-30-float");

    WriterRun() { snapshot.GenerationTag = QStringLiteral("a0732"); }
    GenerationContext ctx() { return context(skinName, outputFolder()); }
};
