#pragma once

#include <QString>
#include <exception>
#include <string>

// An error of the program, numbered like the classic runtime errors the users and the support
// staff know ("ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.").
class AppError : public std::exception {
  public:
    enum Number {
        InvalidCall = 5,
        Overflow = 6,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        InternalError = 51,
        FileNotFound = 53,
        DiskFull = 61,
        InputPastEnd = 62,
        PermissionDenied = 70,
        PathFileAccess = 75,
        PathNotFound = 76,
    };

    // What the program was doing with the file it names.
    enum class Operation { None, Reading, Writing, Deleting, MakingFolder, Running };

    // `detail` (a path, a value) is for diagnostics; the message box shows number and description.
    explicit AppError(int number, QString detail = {});
    // An error about one file or folder, which the common message names on a line of its own,
    // after what was being done with it, so the user knows which of the many files of a run to
    // look for and what to check (can it be read, is there room to write it). `reason` is the
    // system's word for what went wrong ("No space left on device"); empty when none is known.
    static AppError naming(int number, const QString& path, Operation operation = Operation::None,
                           const QString& reason = {});
    // A copy names both ends: the fault may lie with either.
    static AppError copying(int number, const QString& from, const QString& to,
                            const QString& reason = {});

    // The system's text for an error number of the C library (`errno`), in English whatever the
    // locale, like the rest of the message: "Permission denied", "File name too long".
    static QString reasonOf(int systemError);

    int number() const { return m_number; }
    QString description() const;
    QString detail() const { return m_detail; }
    // The file or folder the message names; empty when it names none.
    QString path() const { return m_path; }
    // The line (or lines) after the classic text: the operation and its file; empty for none.
    QString naming() const { return m_naming; }
    // Why the system refused, the line after naming(); empty when no reason is known.
    QString reason() const { return m_reason; }
    const char* what() const noexcept override { return m_what.c_str(); }

    static QString describe(int number);

  private:
    int m_number;
    QString m_detail;
    QString m_path;
    QString m_naming;
    QString m_reason;
    std::string m_what;
};

// The one text every error trap shows: "Error# " + number + " " + description +
// ". Please contact support.", upper-cased as a whole; then, for an error naming a file or
// folder, a line with what was being done and the path as it is (paths are case-sensitive); then,
// when the system gave one, a line with its reason in plain words.
QString commonErrorMessage(const AppError& error);
