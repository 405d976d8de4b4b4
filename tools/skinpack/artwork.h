#pragma once
// Our own skins, drawn in code: the default skin built into the program, the
// skins of the "skiny" folder with their previews, and the engine's built-in
// pictures.

#include "archive_writer.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

namespace SkinPack {
struct TTheme {
    QString FileName;        // archive name without ".skn"
    QString SkinName;
    QColor Caption;          // active caption, middle tone
    QColor CaptionInactive;
    QColor Face;             // button face
    QColor Window;           // edit and list background
    QColor Accent;           // selection, progress, focus
    QColor Text;
    QColor CaptionText;
    QColor CaptionTextInactive;
    int Radius = 3;          // rounding of buttons and window corners
    bool Glossy = false;     // a light band over captions and buttons
    bool ChunkProgress = false;
    bool PaneTabs = false;   // tabs over the separate pane picture
    bool TileCaption = false;
    bool SunkenCombo = true; // combo box drawn from the sunken edge and button
    bool MdiButtons = true;
    bool OwnTrack = true;
};

struct TSkinArt {
    QList<TEntry> Bitmaps;   // in archive order
    QByteArray Ini;
    QString IniName = QStringLiteral("skin.ini");
    QList<TEntry> Entries() const;  // the INI first, then the bitmaps
};

// The program's default skin and the skins of the "skiny" folder.
TTheme DefaultTheme();
QList<TTheme> FolderThemes();

TSkinArt DrawSkin(const TTheme& theme);
QByteArray PackSkin(const TSkinArt& art);
// A small window in the skin, as the skin chooser shows it.
QImage DrawPreview(const QByteArray& archive, const QString& title);

// Built-in pictures of the engine.
QImage DrawTrackBitmap(bool vertical);
QImage DrawMenuGlyphs();
QByteArray BmpBytes(const QImage& image);

// Writes every skin, preview and built-in picture.
bool BuildAll(const QString& skinDir, const QString& resourceDir);
} // namespace SkinPack
