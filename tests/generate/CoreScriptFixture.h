#pragma once

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include "GenerationInputs.h"
#include "generate/GenerationContext.h"
#include "platform/TextFile.h"

// The inputs of a core-script run, as the driver would have read them: a single video with HTML5
// off, nothing optional switched on, writing into a fresh temporary folder.
struct CoreScriptFixture : GenerationInputs {
    QTemporaryDir dir;

    CoreScriptFixture() {
        snapshot.ServerPath = QStringLiteral("http://www.example.com/videos/");
        snapshot.GenerationTag = QStringLiteral("a0709");
        snapshot.PlayerWidth = 640;
        snapshot.PlayerHeight = 360;
        snapshot.WidthPlaylist = 300;
        snapshot.ErrorFlash = QStringLiteral("Get the Flash Player to see this video.");
    }

    QString outputFolder() const { return dir.path() + QDir::separator(); }

    GenerationContext ctx() { return context(QStringLiteral("Skin-30"), outputFolder()); }

    // The driver decides this from the action code as typed.
    void setActionCode(const QString& code) {
        settings.ActionCode = code;
        snapshot.HasActionCode = !code.trimmed().isEmpty();
    }
};

// Runs a generated script in node, with a document.write that collects what the page would get
// and the given user agent. `available` is false when node is not installed.
struct NodeRun {
    bool available = false;
    bool ok = false;
    QString html;
    QString error;
};

inline NodeRun runInNode(const QByteArray& script, const QString& userAgent) {
    NodeRun run;
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        return run;
    run.available = true;
    QTemporaryDir dir;
    // The script file is Windows-1252, as the browser reads it for a page in that encoding.
    TextFile::writeBytes(dir.filePath(QStringLiteral("harness.js")),
                         "const fs = require('fs');\n"
                         "let html = '';\n"
                         "globalThis.document = { write: (s) => { html += s; } };\n"
                         "globalThis.navigator = { userAgent: process.argv[3] };\n"
                         "const src = new TextDecoder('windows-1252')"
                         ".decode(fs.readFileSync(process.argv[2]));\n"
                         "(0, eval)(src);\n"
                         "process.stdout.write(html);\n");
    TextFile::writeBytes(dir.filePath(QStringLiteral("page.js")), script);
    QProcess process;
    process.start(node, {dir.filePath(QStringLiteral("harness.js")),
                         dir.filePath(QStringLiteral("page.js")), userAgent});
    process.waitForFinished(30000);
    run.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    run.html = QString::fromUtf8(process.readAllStandardOutput());
    run.error = QString::fromUtf8(process.readAllStandardError());
    return run;
}

#define REQUIRE_NODE(run)                            \
    do {                                             \
        if (!(run).available)                        \
            QSKIP("node is not installed");          \
        QVERIFY2((run).ok, qPrintable((run).error)); \
    } while (false)
