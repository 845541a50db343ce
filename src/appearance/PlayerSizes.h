#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// The offered player sizes (one entry per line of config/configvws.txt: "640x360 Widescreen"),
// the selected entry, and the size in force that generation and the intro/outro images read.
class PlayerSizes {
  public:
    struct Size {
        qint16 width;
        qint16 height;
    };

    // Replaces the list (empty entries are dropped, as reading the sizes file does). The entry in
    // force stays selected where the new list still holds it; else entry 0 is selected and its
    // size taken. Error 9 when no entry is left; the list is then empty and the size stays. A
    // malformed entry 0 is passed over, so the list always shows the size in force: the first
    // well-formed entry is taken; only a list without any keeps entry 0 and the size in force.
    // False when a malformed entry 0 was passed over (show takenMessage to the user).
    bool setEntries(const QStringList& entries);

    // Makes entry `index` the selected one and takes its size. Error 9, with nothing changed, for
    // an index outside the list. A malformed entry changes nothing either: the previous entry stays
    // selected, so the list shows the size in force, and the result is false (show
    // malformedEntryMessage to the user).
    bool select(int index);

    const QStringList& entries() const { return m_entries; }
    int selectedIndex() const { return m_selected; }
    qint16 width() const { return m_size.width; }
    qint16 height() const { return m_size.height; }

    // The first blank-separated word of `entry` as width "x" height, both whole numbers from 1
    // to 32767; nothing for anything else.
    static std::optional<Size> parse(const QString& entry);
    static QString malformedEntryMessage(const QString& entry);
    // After setEntries passed over a malformed entry 0: names it and the size now in force.
    QString takenMessage() const;
    // The sizes dialog's check of a whole file text: the message for its first line that would
    // be a malformed entry, naming it by number; empty when every line is a size or empty.
    static QString firstMalformedLineMessage(const QString& text);

  private:
    QStringList m_entries;
    int m_selected = -1;
    Size m_size{480, 270};
};
