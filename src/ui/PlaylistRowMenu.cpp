#include "ui/PlaylistRowMenu.h"

namespace {

// The entries name the row's file, whose "&" a menu would otherwise take for the mark of an
// access key (and hide).
QString literal(const QString& text) {
    return QString(text).replace(u'&', QStringLiteral("&&"));
}

}  // namespace

PlaylistRowMenu::PlaylistRowMenu(QWidget* parent) : QMenu(QStringLiteral("Video"), parent) {
    setObjectName(QStringLiteral("mnuMenuVideo"));
    m_entries.moveUp = entry(QStringLiteral("mnuMoveUpVideo"));
    m_entries.moveDown = entry(QStringLiteral("mnuMoveDownVideo"));
    addSeparator();
    m_entries.remove = entry(QStringLiteral("mnuRemoveVideo"));
    addSeparator();
    m_entries.addCaptions = entry(QStringLiteral("mnuAddCaptions"));
    m_entries.editCaptions = entry(QStringLiteral("mnuEditCaptions"));
    m_entries.removeCaptions = entry(QStringLiteral("mnuRemoveCaptions"));
    connect(this, &QMenu::aboutToShow, this, &PlaylistRowMenu::markKeys);
}

QAction* PlaylistRowMenu::entry(const QString& name) {
    QAction* action = addAction(QString());
    action->setObjectName(name);
    return action;
}

void PlaylistRowMenu::openFor(const PlaylistEditorModel::RowMenu& row, const QPoint& global) {
    m_entries.moveUp->setText(literal(row.moveUp));
    m_entries.moveDown->setText(literal(row.moveDown));
    m_entries.remove->setText(literal(row.remove));
    m_entries.addCaptions->setText(literal(row.addCaptions));
    // Both caption commands keep their place in the menu and are only disabled without tracks.
    m_entries.editCaptions->setText(row.editCaptions.isEmpty()
                                        ? QStringLiteral("Caption languages and labels...")
                                        : literal(row.editCaptions));
    m_entries.editCaptions->setEnabled(!row.editCaptions.isEmpty());
    m_entries.removeCaptions->setText(row.removeCaptions.isEmpty()
                                          ? QStringLiteral("Remove captions")
                                          : literal(row.removeCaptions));
    m_entries.removeCaptions->setEnabled(!row.removeCaptions.isEmpty());
    popup(global);
}

// The first of the letter for the words before the file's name, the last for those after it.
void PlaylistRowMenu::markKeys() {
    const struct {
        QAction* entry;
        QChar letter;
        bool last;
    } keys[] = {{m_entries.moveUp, u'u', true},        {m_entries.moveDown, u'd', true},
                {m_entries.remove, u'r', false},       {m_entries.addCaptions, u'a', false},
                {m_entries.editCaptions, u'c', false}, {m_entries.removeCaptions, u'p', false}};
    for (const auto& key : keys) {
        QString text = key.entry->text();
        const qsizetype at = key.last ? text.lastIndexOf(key.letter, -1, Qt::CaseInsensitive)
                                      : text.indexOf(key.letter, 0, Qt::CaseInsensitive);
        if (at >= 0 && !QKeySequence::mnemonic(text).count())
            key.entry->setText(text.insert(at, u'&'));
    }
}
