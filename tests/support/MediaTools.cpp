#include "MediaTools.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <algorithm>

namespace MediaTools {

namespace {

QByteArray run(const QString& program, const QStringList& args, QString* error = nullptr) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        if (error)
            *error = program + QStringLiteral(" failed: ") +
                     QString::fromUtf8(process.readAllStandardError());
        return {};
    }
    return process.readAllStandardOutput();
}

}  // namespace

bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty();
}

QString ffmpeg(const QStringList& args) {
    QString error;
    run(QStringLiteral("ffmpeg"),
        QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")} + args,
        &error);
    return error;
}

QStringList testPicture(const QString& size, double seconds) {
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("testsrc=size=%1:rate=15:duration=%2").arg(size).arg(seconds)};
}

QStringList testSound(int sampleRate, double seconds) {
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2")
                .arg(sampleRate)
                .arg(seconds)};
}

Probe probe(const QString& path) {
    const QJsonObject json =
        QJsonDocument::fromJson(
            run(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral(
                     "format=duration:stream=codec_type,codec_name,pix_fmt,width,height"),
                 QStringLiteral("-of"), QStringLiteral("json"), path}))
            .object();
    Probe result;
    result.duration =
        json[QStringLiteral("format")][QStringLiteral("duration")].toString().toDouble();
    for (const QJsonValue& value : json[QStringLiteral("streams")].toArray()) {
        const QJsonObject stream = value.toObject();
        const QString codec = stream[QStringLiteral("codec_name")].toString();
        if (stream[QStringLiteral("codec_type")] == QLatin1String("audio")) {
            result.audioCodec = codec;
        } else if (stream[QStringLiteral("codec_type")] == QLatin1String("video")) {
            result.videoCodec = codec;
            result.pixelFormat = stream[QStringLiteral("pix_fmt")].toString();
            result.width = stream[QStringLiteral("width")].toInt();
            result.height = stream[QStringLiteral("height")].toInt();
        }
    }
    return result;
}

double playedSeconds(const QString& path) {
    const QByteArray lines =
        run(QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
             QStringLiteral("packet=pts_time,duration_time"), QStringLiteral("-of"),
             QStringLiteral("csv=p=0"), path});
    double end = 0;
    for (const QByteArray& line : lines.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        if (fields.size() >= 2)
            end = std::max(end, fields[0].toDouble() + fields[1].toDouble());
    }
    return end;
}

QStringList packetHashes(const QString& path, const QString& kind) {
    const QByteArray lines =
        run(QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
             kind + QStringLiteral(":0"), QStringLiteral("-show_packets"),
             QStringLiteral("-show_data_hash"), QStringLiteral("sha256"),
             QStringLiteral("-show_entries"), QStringLiteral("packet=data_hash"),
             QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
    QStringList hashes = QString::fromUtf8(lines).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& hash : hashes)
        hash = hash.trimmed();
    return hashes;
}

QList<double> packetTimes(const QString& path, const QString& kind) {
    const QByteArray lines =
        run(QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
             kind + QStringLiteral(":0"), QStringLiteral("-show_entries"),
             QStringLiteral("packet=pts_time"), QStringLiteral("-of"), QStringLiteral("csv=p=0"),
             path});
    QList<double> times;
    for (const QByteArray& line : lines.split('\n')) {
        if (!line.trimmed().isEmpty())
            times.append(line.trimmed().toDouble());
    }
    return times;
}

QStringList topLevelBoxes(const QString& path) {
    QFile file(path);
    QStringList names;
    if (!file.open(QIODevice::ReadOnly))
        return names;
    for (qint64 at = 0; at + 8 <= file.size();) {
        file.seek(at);
        const QByteArray header = file.read(16);
        quint64 size = qFromBigEndian<quint32>(header.constData());
        if (size == 1 && header.size() == 16)
            size = qFromBigEndian<quint64>(header.constData() + 8);
        else if (size == 0)
            size = quint64(file.size() - at);  // the box runs to the end of the file
        names.append(QString::fromLatin1(header.mid(4, 4)));
        if (size < 8)
            break;
        at += qint64(size);
    }
    return names;
}

}  // namespace MediaTools
