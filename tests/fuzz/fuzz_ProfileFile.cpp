// A profile is a file the user picks, possibly from someone else: reading and applying any bytes
// must end in settings, a reported AppError or a refused value, never in a crash.
#include <QDir>
#include <cstddef>
#include <cstdint>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"
#include "settings/ProfileValueError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TestInstallation install;
    const QString path = install.path("fuzz.epe");
    TextFile::writeBytes(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller(install.paths(), dialogs, views, clock, random);
    try {
        controller.loadInstallation();
        controller.readProfile(path);
    } catch (const AppError&) {
    } catch (const ProfileValueError&) {
        // A value no setting can hold: the file is refused as a whole.
    }
    return 0;
}
