#pragma once

#include <QList>
#include <QString>
#include <stdexcept>

#include "generate/GenerationContext.h"

class FileWorkPlan;
struct OutputFile;

// A run writes into folders a user may also keep the run's own inputs in: an intro picture in the
// output folder, a video in the scratch folder. A file the run writes never takes the place of
// one it reads; where the two would be one file (the same name, a hard link, a folder reached
// twice), the run stops before it writes anything and names both.
class InputGuard {
  public:
    // The refusal, with the text the user is shown.
    class Refusal : public std::runtime_error {
      public:
        explicit Refusal(const QString& message);
        QString message() const { return m_message; }

      private:
        QString m_message;
    };

    // Raises Refusal when two of `files` would be one file (an output folder that is the scratch
    // folder), and for the first input that a step of `plan`, a file of `files`, a thumbnail or
    // the deletion of an earlier run's file would replace. Reads nothing but the files' identities
    // (and a caption file already in its output place, which may stay when it is written as it is).
    static void check(const GenerationContext& ctx, const FileWorkPlan& plan,
                      const QList<OutputFile>& files);
    // The paths of every file the run reads that the user chose, and the skin.
    static QStringList inputPaths(const GenerationContext& ctx);
};
