// The configuration files can be edited by hand: any bytes in either must give usable values or
// a reported AppError, never a crash.
#include <cstddef>
#include <cstdint>

#include "TestInstallation.h"
#include "appearance/PlayerSizes.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"
#include "settings/AdvancedOptionsFile.h"
#include "settings/PlayerSizesFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TestInstallation install;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TextFile::writeBytes(install.path("app/config/configsv.txt"), bytes);
    TextFile::writeBytes(install.path("app/config/configvws.txt"), bytes);
    QString problem;
    AdvancedOptionsFile::read(install.paths().config, &problem);
    try {
        PlayerSizes sizes;
        sizes.setEntries(PlayerSizesFile::readEntries(install.paths().config));
        for (int i = 0; i < sizes.entries().size(); ++i)
            sizes.select(i);
    } catch (const AppError&) {
    }
    return 0;
}
