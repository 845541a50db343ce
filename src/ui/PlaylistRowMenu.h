#pragma once

#include <QMenu>

#include "models/PlaylistEditorModel.h"

// mnuMenuVideo, the row menu of the playlist grid. Its entries are captioned from the row it
// opens on, as the editor words them: a file's name shows as it is, and each entry's access key
// sits on a letter of its own words.
class PlaylistRowMenu : public QMenu {
    Q_OBJECT

  public:
    struct Entries {
        QAction* moveUp;          // mnuMoveUpVideo
        QAction* moveDown;        // mnuMoveDownVideo
        QAction* remove;          // mnuRemoveVideo
        QAction* addCaptions;     // mnuAddCaptions
        QAction* editCaptions;    // mnuEditCaptions
        QAction* removeCaptions;  // mnuRemoveCaptions
    };

    explicit PlaylistRowMenu(QWidget* parent);

    const Entries& entries() const { return m_entries; }
    // Captions the entries for the row and pops the menu up at `global`.
    void openFor(const PlaylistEditorModel::RowMenu& row, const QPoint& global);

  private:
    QAction* entry(const QString& name);
    void markKeys();

    Entries m_entries{};
};
