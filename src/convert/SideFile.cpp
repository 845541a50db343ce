#include "convert/SideFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>
#include <system_error>

#include "convert/ConversionError.h"
#include "platform/SideFileName.h"

namespace {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace

SideFile::SideFile(const QString& target) : m_target(target) {
    const QFileInfo info(target);
    // A few tries, in case another copy into the same folder drew the same name.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const QString name = SideFileName::of(
            info.fileName(),
            QStringLiteral(".%1.part")
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        QFile file(info.dir().filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_path = file.fileName();
            return;
        }
        if (!info.dir().exists())
            break;
    }
    throw ConversionError(QStringLiteral("CANNOT WRITE IN THE FOLDER OF ") + target);
}

SideFile::~SideFile() {
    if (!m_committed)
        QFile::remove(m_path);
}

void SideFile::commit() {
    std::error_code error;
    std::filesystem::rename(nativePath(m_path), nativePath(m_target), error);
    if (error)
        throw ConversionError(QStringLiteral("CANNOT WRITE ") + m_target + QStringLiteral(" (") +
                              QString::fromStdString(error.message()) + QLatin1Char(')'));
    m_committed = true;
}
