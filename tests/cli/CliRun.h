#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// One run of the built vidlark-cli, with what it printed.
struct CliRun {
    // -1 when the program crashed or did not end in time; `problem` then says which.
    int exitCode = -1;
    QString problem;
    QByteArray out;
    QByteArray err;        // standard error less the injector's lines
    QStringList injector;  // what the metadata injector printed ("flvmdi: ...")

    // The injector's output is streamed to standard error too; tests look at it separately.
    void separateInjectorOutput() {
        QByteArray rest;
        for (const QByteArray& line : err.split('\n')) {
            if (line.startsWith("flvmdi: "))
                injector.append(QString::fromUtf8(line));
            else
                rest += line + '\n';
        }
        rest.chop(1);
        err = rest;
    }

    // Standard error split into lines, without the line ends and without an empty last line.
    QStringList errLines() const {
        QStringList lines = QString::fromUtf8(err).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // For the failure text of a comparison: everything the run left behind.
    QByteArray describe() const {
        return "exit " + QByteArray::number(exitCode) + ' ' + problem.toUtf8() + "\nstdout:\n" +
               out + "\nstderr:\n" + err;
    }
};

inline QString cliProgram() {
    return QStringLiteral(VIDLARK_APP_DIR) + QStringLiteral("/vidlark-cli");
}

inline CliRun runCli(const QStringList& args, const QString& workingDirectory = QString()) {
    CliRun run;
    QProcess process;
    process.setProgram(cliProgram());
    process.setArguments(args);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start();
    if (!process.waitForStarted()) {
        run.problem = QStringLiteral("could not start: ") + process.errorString();
        return run;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.problem = QStringLiteral("did not end");
    } else if (process.exitStatus() == QProcess::CrashExit) {
        run.problem = QStringLiteral("crashed");
    } else {
        run.exitCode = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    run.separateInjectorOutput();
    return run;
}

// "generate" with the given options: the usual command line of the cases below.
inline CliRun runGenerate(const QStringList& options) {
    return runCli(QStringList{QStringLiteral("generate")} + options);
}
