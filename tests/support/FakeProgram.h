#pragma once

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/MainController.h"

// The application over a throw-away installation, started as start-up leaves it; the user's
// answers come from the scripted dialogs and the windows are the recording fake views.
struct FakeProgram {
    TestInstallation install;
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.paths(), dialogs, views, clock, random};

    FakeProgram() { controller.loadInstallation(); }
};
