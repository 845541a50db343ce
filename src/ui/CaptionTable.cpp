#include "ui/CaptionTable.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QSignalBlocker>

namespace {

enum Column { FileColumn, LanguageColumn, LabelColumn };

}  // namespace

CaptionTable::CaptionTable(QWidget* parent, int visibleTracks) : QTableWidget(0, 3, parent) {
    setObjectName(QStringLiteral("grdCaptions"));
    setHorizontalHeaderLabels({QStringLiteral("Caption file"),
                               QStringLiteral("Language (en, pt-BR)"), QStringLiteral("Label")});
    // The file takes the room the two short values and their headings leave.
    horizontalHeader()->setSectionResizeMode(FileColumn, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(LanguageColumn, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(LabelColumn, QHeaderView::ResizeToContents);
    verticalHeader()->setVisible(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVisibleTracks(visibleTracks);
    connect(this, &QTableWidget::itemChanged, this, &CaptionTable::edited);
}

void CaptionTable::setVisibleTracks(int tracks) {
    m_visibleTracks = tracks;
    setFixedHeight(horizontalHeader()->sizeHint().height() +
                   tracks * verticalHeader()->defaultSectionSize() + 4);
}

void CaptionTable::showTracks(const CaptionTracks& tracks) {
    const QSignalBlocker blocker(this);
    const int current = currentRow();
    setRowCount(static_cast<int>(tracks.size()));
    for (int row = 0; row < tracks.size(); ++row) {
        auto* file = new QTableWidgetItem(QFileInfo(tracks[row].path).fileName());
        file->setToolTip(tracks[row].path);
        file->setFlags(file->flags() & ~Qt::ItemIsEditable);
        setItem(row, FileColumn, file);
        setItem(row, LanguageColumn, new QTableWidgetItem(tracks[row].language));
        setItem(row, LabelColumn, new QTableWidgetItem(tracks[row].label));
    }
    if (current >= 0 && current < tracks.size())
        setCurrentCell(current, currentColumn());
}

void CaptionTable::edited(QTableWidgetItem* item) {
    if (item->column() == LanguageColumn)
        emit languageEdited(item->row(), item->text());
    else if (item->column() == LabelColumn)
        emit labelEdited(item->row(), item->text());
}
