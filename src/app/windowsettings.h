#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class QWidget;

// What the window remembers between runs: its geometry, the positions of
// its named splitters, the timescale bands and the folder of the last file
// opened. Stored as "plandeck.conf" in the user's configuration folder.
// The file is the user's to edit, so everything read from it is checked
// where it is used.
struct WindowSettings
{
    QByteArray geometry;
    // Splitter states by object name; unnamed splitters are not remembered.
    QMap<QString, QByteArray> splitters;
    QList<int> timeBands;
    QString lastFolder;

    static QString filePath();
    static WindowSettings read();
    bool write() const;

    void takeLayoutFrom(const QWidget &window);
    void applyLayoutTo(QWidget &window) const;
};
