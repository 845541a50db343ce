#pragma once

#include <QString>

// The file a copy is written to before it takes its target's name: hidden, in the target's own
// folder (so the rename cannot cross file systems), and removed unless it was committed. The
// target is never opened, so until the commit it stays exactly as it was.
class SideFile {
  public:
    // Creates the empty side file; throws ConversionError naming the target when the folder does
    // not take it.
    explicit SideFile(const QString& target);
    ~SideFile();
    SideFile(const SideFile&) = delete;
    SideFile& operator=(const SideFile&) = delete;

    const QString& path() const { return m_path; }
    // Renames the side file over the target in one step; throws ConversionError on failure.
    void commit();

  private:
    QString m_target;
    QString m_path;
    bool m_committed = false;
};
